#include "app/driver.h"

#include "app/shared_state.h"
#include "install/run_install.h"
#include "platform/files.h"
#include "platform/gui.h"
#include "platform/system.h"
#include "screens/controls.h"
#include "screens/frame.h"
#include "screens/screens.h"

namespace {

using ControlHandler = void (*)(int control);

void Leave(int next_step) {
    WizardStep = next_step;
    LeaveStep = 1;
}

// Records a builder's result. A window that keeps failing to open would otherwise have the wizard
// rebuild the same screen for ever without handling a single event.
bool ScreenBuilt(int build_result) {
    StepFailed = build_result;
    if (StepFailed == 0) {
        WindowOpenFailures = 0;
        return true;
    }
    if (++WindowOpenFailures >= kWindowOpenAttempts) ShutDown();
    plat::Pause(kWindowRetryPauseMs);
    return false;
}

void RunEventLoop(ControlHandler on_control) {
    do {
        LastEvent = plat::WaitForEvent(kEventTimeoutMs);
        if (LastEvent == plat::kEventClose) Leave(kEndWizard);
        if (LastEvent == plat::kEventControl) on_control(plat::LastEventControl());
    } while (LeaveStep == 0);
}

void CloseStepWindow() {
    if (plat::WindowExists(StepWindow)) plat::CloseWindow(StepWindow);
}

void OnAgreementControl(int control) {
    if (control == kDeclineButton) Leave(kEndWizard);
    if (control == kAgreeButton) Leave(kStepLocation);
}

void OnLocationControl(int control) {
    if (control == kChangeButton) ChangeLocation();
    if (control == kLocationBackButton) Leave(kStepAgreement);
    if (control == kLocationNextButton) {
        InstallLocation = plat::GetControlText(kLocationField);
        Leave(kStepVerify);
    }
}

void OnVerifyControl(int control) {
    if (control == kVerifyBackButton) Leave(kStepLocation);
    if (control == kInstallButton) Leave(kStepExtraction);
}

void OnExtractionControl(int control) {
    if (control == kExtractionNextButton) Leave(kStepFinish);
}

void OnFinishControl(int control) {
    if (control == kGameLocationButton) ShowGameLocation();
    if (control == kQuitButton) Leave(kEndWizard);
}

void RunAgreementStep() {
    if (!ScreenBuilt(BuildAgreementScreen())) return;
    LeaveStep = 0;
    RunEventLoop(OnAgreementControl);
    CloseStepWindow();
}

void RunLocationStep() {
    if (!ScreenBuilt(BuildLocationScreen())) return;
    LeaveStep = 0;
    InstallLocation = DefaultLocation;
    RunEventLoop(OnLocationControl);
    CloseStepWindow();
}

void RunVerifyStep() {
    if (!ScreenBuilt(BuildVerifyScreen())) return;
    LeaveStep = 0;
    RunEventLoop(OnVerifyControl);
    CloseStepWindow();
}

// The installation runs between building the screen and its event loop, so no event is handled while
// it works. The window stays: the next screen replaces it, or ShutDown closes it.
void RunExtractionStep() {
    LeaveStep = 0;
    if (!ScreenBuilt(BuildExtractionScreen())) return;
    RunInstall();
    if (StepFailed != 0) return;
    ShowInstallSuccess();
    RunEventLoop(OnExtractionControl);
}

void RunFinishStep() {
    LeaveStep = 0;
    if (!ScreenBuilt(BuildFinishScreen())) return;
    RunEventLoop(OnFinishControl);
}

}  // namespace

void StartUp() {
    ResetSharedState();
    plat::StartGui();
    WizardStep = kStepAgreement;
    LineBreak = "\n\r";
    LoadScreenAssets();
    DefaultLocation = plat::CurrentDirectory();
    LeaveStep = 0;
}

void RunWizard() {
    while (WizardStep != kEndWizard) {
        switch (WizardStep) {
            case kStepAgreement: RunAgreementStep(); break;
            case kStepLocation: RunLocationStep(); break;
            case kStepVerify: RunVerifyStep(); break;
            case kStepExtraction: RunExtractionStep(); break;
            case kStepFinish: RunFinishStep(); break;
            default: WizardStep = kEndWizard; break;
        }
    }
}

void ShutDown() {
    plat::CloseAllFiles();
    plat::StopGui();
    plat::ExitProcess(0);
}
