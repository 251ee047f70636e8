#include "app/shared_state.h"
#include "platform/dialogs.h"
#include "screens/compose.h"
#include "screens/controls.h"
#include "screens/frame.h"
#include "screens/screens.h"
#include "screens/utf8.h"

namespace {

// The chooser takes at most this many characters of a start folder.
constexpr std::size_t kStartFolderLimit = 259;

}  // namespace

std::string LocationNote() {
    return ComposeText({
        "Select the 'CHANGE' button to choose another location if needed. Please note that you",
        "may need 'Administrative Privileges' to do so depending on your security settings.",
    });
}

int BuildLocationScreen() {
    const std::string note = LocationNote();
    if (!OpenScreenFrame("Kestrowin Game Installer - Step 2: Select Location")) return 1;

    plat::OpenScrollContainer(kPathBox, 20, 147, 370, 40, 650, 24, 10);
    plat::CreateTextField(kLocationField, 0, 0, 650, 24, DefaultLocation);
    plat::CloseScrollContainer();

    CreateBanner();
    CreateScreenLabel(kDefaultLabel, 20, 125, 490, 20, "The default location is here:");
    plat::CreateButton(kChangeButton, 400, 150, 110, 20, "CHANGE");
    CreateScreenLabel(kNoteLabel, 20, 190, 490, 140, note);
    CreateScreenLabel(kLocationHintLabel, 20, 340, 490, 20,
                      "Select 'BACK' to review the software agreement or 'NEXT' to continue ...");
    plat::CreateButton(kLocationBackButton, 20, 370, 100, 20, "BACK");
    plat::CreateButton(kLocationNextButton, 410, 370, 100, 20, "NEXT");
    return 0;
}

std::string ChooseFolder(const std::string& prompt, const std::string& start_folder) {
    std::string start = start_folder.substr(0, CharacterOffset(start_folder, kStartFolderLimit));
    // A drive root keeps its backslash: "C:" alone would name the drive's current folder.
    if (CharacterCount(start) > 3 && !start.empty() && start.back() == '\\') start.pop_back();
    std::string chosen = plat::PickFolder(prompt, start);
    if (!chosen.empty() && chosen.back() != '\\') chosen += '\\';
    return chosen;
}

void ChangeLocation() {
    plat::EnableControl(kLocationBackButton, false);
    plat::EnableControl(kLocationNextButton, false);
    const std::string chosen = ChooseFolder("Choose a new location:", DefaultLocation);
    InstallLocation = chosen.empty() ? DefaultLocation : chosen;
    plat::SetControlText(kLocationField, InstallLocation);
    plat::EnableControl(kLocationBackButton, true);
    plat::EnableControl(kLocationNextButton, true);
}
