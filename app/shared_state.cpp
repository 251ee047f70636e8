#include "app/shared_state.h"

int WizardStep = 0;
int LeaveStep = 0;
int StepFailed = 0;
int LastEvent = 0;
int ErrorDismissed = 0;
int FontLoaded = 0;
int WindowOpenFailures = 0;

std::string DefaultLocation;
std::string InstallLocation;
std::string LineBreak;
std::string ErrorText;

void ResetSharedState() {
    WizardStep = 0;
    LeaveStep = 0;
    StepFailed = 0;
    LastEvent = 0;
    ErrorDismissed = 0;
    FontLoaded = 0;
    WindowOpenFailures = 0;
    DefaultLocation.clear();
    InstallLocation.clear();
    LineBreak.clear();
    ErrorText.clear();
}
