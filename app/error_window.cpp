#include "app/error_window.h"

#include "app/driver.h"
#include "app/shared_state.h"
#include "platform/gui.h"
#include "screens/controls.h"
#include "screens/frame.h"

namespace {

constexpr int kErrorWidth = 470;
constexpr int kErrorHeight = 295;

}  // namespace

bool BuildErrorWindow() {
    if (!plat::OpenWindow(StepWindow, "Error ...", kErrorWidth, kErrorHeight)) return false;
    plat::SetWindowGround(StepWindow, ScreenGreen);
    plat::CreateImageControl(kErrorBanner, 0, 0, 470, 47, ErrorBannerImage);
    plat::CreateImageControl(kErrorSide, 0, 47, 144, 247, ErrorSideImage);
    CreateScreenLabel(kErrorLabel, 154, 50, 306, 204, ErrorText);
    plat::CreateButton(kErrorOkButton, 258, 270, 100, 20, "OK");
    return true;
}

void WaitForErrorOk() {
    ErrorDismissed = 0;
    while (ErrorDismissed == 0) {
        LastEvent = plat::WaitForEvent(kEventTimeoutMs);
        if (LastEvent == plat::kEventClose) ShutDown();
        if (LastEvent == plat::kEventControl && plat::LastEventControl() == kErrorOkButton) {
            ErrorDismissed = 1;
        }
    }
}

void ShowStepError() {
    plat::CloseWindow(StepWindow);
    // Without a window no OK can ever come: go straight back to the location screen.
    if (BuildErrorWindow()) WaitForErrorOk();
    plat::CloseWindow(StepWindow);
    ErrorDismissed = 0;
    WizardStep = kStepLocation;
    LeaveStep = 1;
    StepFailed = 1;
}
