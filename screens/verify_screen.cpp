#include "app/shared_state.h"
#include "screens/compose.h"
#include "screens/controls.h"
#include "screens/frame.h"
#include "screens/screens.h"
#include "screens/utf8.h"

namespace {

// The most characters of a path shown on its first line.
constexpr std::size_t kWrapWidth = 70;

}  // namespace

std::string WrapPath(const std::string& path) {
    const std::size_t cut = CharacterOffset(path, kWrapWidth);
    if (cut >= path.size()) return path;
    return path.substr(0, cut) + LineBreak + path.substr(cut);
}

std::string VerifyAdvice() {
    return ComposeText({
        "If this is correct, select 'INSTALL' to continue. If not, select 'BACK' to change.",
        "",
        "You will need about 9MB. of free disk space in order to install the game.",
    });
}

int BuildVerifyScreen() {
    const std::string path_text = WrapPath(InstallLocation);
    const std::string advice = VerifyAdvice();
    if (!OpenScreenFrame("Kestrowin Game Installer - Step 3: Verify Location")) return 1;

    CreateBanner();
    CreateScreenLabel(kChosenLabel, 20, 125, 490, 20, "You have chosen to install the game here:");
    CreateScreenLabel(kVerifyPathLabel, 20, 145, 490, 40, path_text, TextYellow);
    CreateScreenLabel(kAdviceLabel, 20, 190, 490, 150, advice);
    CreateScreenLabel(kVerifyHintLabel, 20, 345, 490, 20,
                      "Select 'BACK' to change locations or 'INSTALL' to continue...");
    plat::CreateButton(kVerifyBackButton, 20, 370, 100, 20, "BACK");
    plat::CreateButton(kInstallButton, 410, 370, 100, 20, "INSTALL");
    return 0;
}
