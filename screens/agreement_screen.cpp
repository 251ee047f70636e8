#include "app/shared_state.h"
#include "screens/compose.h"
#include "screens/controls.h"
#include "screens/frame.h"
#include "screens/screens.h"

std::string AgreementIntro() {
    return ComposeText({
        "Welcome! ... This will install the game onto your computer. Please read carefully the",
        "section below and press 'AGREE' to continue with the installation.",
    });
}

std::string AgreementTerms() {
    return ComposeText({
        "You must agree to ALL of the following listed below to install this software:",
        "",
        "A) You agree not to resell this game to anyone else without the expressed",
        "written consent of me, Brallowen.",
        "",
        "B) You ARE allowed to make back up copies of this game as well as install on",
        "more than one device as long as YOU are the sole user of that device.",
        "",
        "C) The software is provided 'AS IS', without warranty of any kind, expressed",
        "or implied. In no event should the author, Brallowen, be liable for any",
        "claim, damages, or other liablilties arising from or in connection with this",
        "software.",
        "",
        "If you have any questions about the above then please feel free to contact me",
        "at the following:",
        "",
        "Brallowen",
        kAuthorEmail,
        kAuthorWebsite,
        "Thank you!",
    });
}

std::string AgreementConsent() {
    return ComposeText({
        "By selecting 'AGREE', you have read and understood the terms listed above and consent",
        "to them. If not, select 'DECLINE' to quit the installation.",
    });
}

int BuildAgreementScreen() {
    const std::string intro = AgreementIntro();
    const std::string terms = AgreementTerms();
    const std::string consent = AgreementConsent();
    if (!OpenScreenFrame("Kestrowin Game Installer - Step 1: Legal Agreement")) return 1;

    plat::OpenScrollContainer(kTermsBox, 20, 165, 490, 160, 460, 330, 1);
    plat::SetControlColour(kTermsBox, plat::kBackgroundColour, BoxWhite);
    plat::CreateLabel(kTermsLabel, 5, 5, 500, 330, terms);
    plat::SetControlColour(kTermsLabel, plat::kBackgroundColour, BoxWhite);
    plat::SetControlColour(kTermsLabel, plat::kTextColour, TermsBlack);
    plat::CloseScrollContainer();

    CreateBanner();
    CreateScreenLabel(kIntroLabel, 20, 125, 490, 40, intro);
    plat::CreateButton(kDeclineButton, 20, 370, 100, 20, "DECLINE");
    plat::CreateButton(kAgreeButton, 410, 370, 100, 20, "AGREE");
    CreateScreenLabel(kConsentLabel, 20, 330, 490, 40, consent);
    return 0;
}
