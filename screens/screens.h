// The wizard's screen builders. Each opens a fresh window in StepWindow and creates its numbered
// controls; it returns 0 when the screen stands and 1 when its window could not be opened.
#pragma once

#include <string>

int BuildAgreementScreen();
int BuildLocationScreen();
int BuildVerifyScreen();
int BuildExtractionScreen();
int BuildFinishScreen();

// In-place actions of the screens, run by the driver.
void ChangeLocation();
void ShowInstallSuccess();
void ShowGameLocation();

// The texts the screens compose, each composed anew on every call.
std::string AgreementIntro();
std::string AgreementTerms();
std::string AgreementConsent();
std::string LocationNote();
std::string VerifyAdvice();
std::string FinishText();
std::string GameLocationMessage();

// A path longer than 70 characters shown as its first 70 characters, LineBreak, and the rest.
std::string WrapPath(const std::string& path);

// The folder chooser as the program uses it: opens at `start_folder` and returns the chosen folder with
// one trailing backslash, or "" when cancelled.
std::string ChooseFolder(const std::string& prompt, const std::string& start_folder);
