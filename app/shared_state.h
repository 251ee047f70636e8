// The installer's process-wide values. They live here together so that a test can put them all back to
// their start-up state at once.
#pragma once

#include <string>

// The step the next pass of the wizard runs: 1 agreement, 2 location, 3 verify, 4 extraction, 5 finish;
// kEndWizard ends the wizard.
extern int WizardStep;
// Non-zero ends the current step's event loop.
extern int LeaveStep;
// Non-zero when the current step's screen was not built or its work failed.
extern int StepFailed;
// The code the last event wait returned.
extern int LastEvent;
// Set by the error window's wait once OK was pressed.
extern int ErrorDismissed;
// How many times in a row a screen's window could not be opened.
extern int WindowOpenFailures;
// 1 when the screen font could be made; decides whether wizard screens paint their ground green.
extern int FontLoaded;

// The current directory at start, ending with a backslash: the destination offered on entry to step 2.
extern std::string DefaultLocation;
// The destination in use, as the location field held it at NEXT.
extern std::string InstallLocation;
// The line separator of every composed text: LF then CR.
extern std::string LineBreak;
// The text the error window shows.
extern std::string ErrorText;

constexpr int kEndWizard = -1;
constexpr int kStepAgreement = 1;
constexpr int kStepLocation = 2;
constexpr int kStepVerify = 3;
constexpr int kStepExtraction = 4;
constexpr int kStepFinish = 5;

// The one window slot that holds every screen and the error window in turn.
constexpr int StepWindow = 0;
// The wait of every event loop, in milliseconds.
constexpr int kEventTimeoutMs = 5;

// Puts every value back to what it is before start-up.
void ResetSharedState();
