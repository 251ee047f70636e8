#include "app/shared_state.h"
#include "install/paths.h"
#include "platform/files.h"
#include "screens/controls.h"
#include "screens/frame.h"
#include "screens/screens.h"

int BuildExtractionScreen() {
    if (!OpenScreenFrame("Kestrowin Game Installer - Step 4: Extraction")) return 1;

    plat::CreateProgressBar(kProgressBar, 20, 140, 490, 20, 0, 100);
    plat::SetProgressValue(kProgressBar, 1);
    CreateBanner();
    CreateScreenLabel(kStatusLabel, 20, 120, 490, 20, "");
    CreateScreenLabel(kCreatedLabel, 20, 170, 490, 20,
                      "The following Files/Folders were created inside this location:");
    plat::ShowControl(kCreatedLabel, false);
    CreateScreenLabel(kGamePathLabel, 20, 190, 490, 40, WrapPath(GamePath()), TextYellow);
    plat::ShowControl(kGamePathLabel, false);
    CreateScreenLabel(kExtractionHintLabel, 240, 370, 160, 20, "Select 'NEXT' to continue ...");
    plat::CreateButton(kExtractionNextButton, 410, 370, 100, 20, "NEXT");
    plat::EnableControl(kExtractionNextButton, false);
    return 0;
}

void ShowInstallSuccess() {
    plat::SetControlText(kStatusLabel, "No errors! ... The game is installed and ready to play ...");
    plat::ShowControl(kCreatedLabel, true);
    plat::ShowControl(kGamePathLabel, true);
    // The installation left the game folder as the current directory; a destination typed as a
    // relative path would name another folder from there.
    plat::CreateFolderList(kFolderList, 20, 230, 490, 130, plat::CurrentDirectory());
    plat::EnableControl(kExtractionNextButton, true);
}
