// Control numbers of the wizard screens and the error window. The same number names different controls
// on different screens.
#pragma once

// Agreement screen
constexpr int kTermsBox = 0;
constexpr int kIntroLabel = 5;
constexpr int kTermsLabel = 6;
constexpr int kConsentLabel = 7;
constexpr int kDeclineButton = 2;
constexpr int kAgreeButton = 3;

// Location screen
constexpr int kPathBox = 0;
constexpr int kDefaultLabel = 5;
constexpr int kNoteLabel = 7;
constexpr int kLocationHintLabel = 8;
constexpr int kLocationField = 9;
constexpr int kChangeButton = 2;
constexpr int kLocationBackButton = 3;
constexpr int kLocationNextButton = 4;

// Verify screen
constexpr int kChosenLabel = 5;
constexpr int kVerifyPathLabel = 6;
constexpr int kAdviceLabel = 7;
constexpr int kVerifyHintLabel = 8;
constexpr int kVerifyBackButton = 3;
constexpr int kInstallButton = 4;

// Extraction screen
constexpr int kStatusLabel = 5;
constexpr int kCreatedLabel = 6;
constexpr int kGamePathLabel = 7;
constexpr int kExtractionHintLabel = 8;
constexpr int kExtractionNextButton = 3;
constexpr int kProgressBar = 10;
constexpr int kFolderList = 11;

// Finish screen
constexpr int kFinishLabel = 5;
constexpr int kFinishHintLabel = 8;
constexpr int kGameLocationButton = 2;
constexpr int kQuitButton = 3;

// Error window
constexpr int kErrorBanner = 12;
constexpr int kErrorSide = 13;
constexpr int kErrorLabel = 14;
constexpr int kErrorOkButton = 15;
