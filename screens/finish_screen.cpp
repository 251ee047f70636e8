#include "app/shared_state.h"
#include "platform/dialogs.h"
#include "screens/compose.h"
#include "screens/controls.h"
#include "screens/frame.h"
#include "screens/screens.h"

std::string FinishText() {
    const std::string contact =
        std::string("E-Mail: ") + kAuthorEmail + "  Website: " + kAuthorWebsite;
    return ComposeText({
        "To play the game, just navigate to the location where you installed the game onto your",
        "hard drive. Once there, double click the game's icon ('PlayKestrowin.exe') which looks",
        "little green button with some balls inside a pool rack.",
        "",
        "Any questions, problems, or comments can be directed to Brallowen at:",
        contact,
        "Thanks for taking a look at my game and I hope you enjoy it!",
        "",
        "If needed, select 'GAME LOCATION' to remind you of the full path as to where you have",
        "installed the game to ...",
    });
}

std::string GameLocationMessage() {
    return ComposeText({
        "The full path of the game is located here:",
        "",
        InstallLocation,
        "",
        "You will need to remember this location in order to start the game ...",
    });
}

int BuildFinishScreen() {
    const std::string text = FinishText();
    if (!OpenScreenFrame("Kestrowin Game Installer - Step 4: Extraction")) return 1;

    CreateBanner();
    CreateScreenLabel(kFinishLabel, 20, 120, 490, 250, text);
    CreateScreenLabel(kFinishHintLabel, 260, 370, 140, 20, "Select 'QUIT' to finish ...");
    plat::CreateButton(kGameLocationButton, 20, 370, 120, 20, "GAME LOCATION");
    plat::CreateButton(kQuitButton, 410, 370, 100, 20, "QUIT");
    return 0;
}

void ShowGameLocation() { plat::ShowMessageBox("Game Location", GameLocationMessage()); }
