// Each screen's controls as built: numbers, kinds, creation order, geometry, colours and state.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "app/error_window.h"
#include "app/shared_state.h"
#include "screens/controls.h"
#include "screens/frame.h"
#include "screens/screens.h"
#include "tests/harness.h"

using headless::Kind;

namespace {

struct Expected {
    int number;
    Kind kind;
    int container;
    int x, y, width, height;
    std::optional<plat::Rgb> background;
    std::optional<plat::Rgb> text_colour;
    bool enabled;
    bool visible;
};

const std::optional<plat::Rgb> kNone;
const std::optional<plat::Rgb> kGreen = ScreenGreen;
const std::optional<plat::Rgb> kWhite = TextWhite;
const std::optional<plat::Rgb> kYellow = TextYellow;
const std::optional<plat::Rgb> kBlack = TermsBlack;

bool Same(const std::optional<plat::Rgb>& a, const std::optional<plat::Rgb>& b) {
    if (a.has_value() != b.has_value()) return false;
    return !a || (a->red == b->red && a->green == b->green && a->blue == b->blue);
}

class ScreensTest : public ::testing::Test {
protected:
    void SetUp() override {
        ResetInstaller();
        LineBreak = "\n\r";
        LoadScreenAssets();
    }

    static void ExpectWindow(const std::string& caption, int width, int height, bool green) {
        const headless::Window* window = headless::WindowIn(StepWindow);
        ASSERT_NE(window, nullptr);
        EXPECT_EQ(window->caption, caption);
        EXPECT_EQ(window->width, width);
        EXPECT_EQ(window->height, height);
        EXPECT_TRUE(Same(window->ground, green ? kGreen : kNone));
    }

    static void ExpectControls(const std::vector<Expected>& table) {
        const headless::Window* window = headless::WindowIn(StepWindow);
        ASSERT_NE(window, nullptr);
        ASSERT_EQ(window->controls.size(), table.size());
        for (std::size_t i = 0; i < table.size(); ++i) {
            const headless::Control& got = window->controls[i];
            const Expected& want = table[i];
            SCOPED_TRACE("control created in place " + std::to_string(i) + ", number " + std::to_string(want.number));
            EXPECT_EQ(got.number, want.number);
            EXPECT_EQ(got.kind, want.kind);
            EXPECT_EQ(got.container, want.container);
            EXPECT_EQ(got.x, want.x);
            EXPECT_EQ(got.y, want.y);
            EXPECT_EQ(got.width, want.width);
            EXPECT_EQ(got.height, want.height);
            EXPECT_TRUE(Same(got.background, want.background));
            EXPECT_TRUE(Same(got.text_colour, want.text_colour));
            EXPECT_EQ(got.enabled, want.enabled);
            EXPECT_EQ(got.visible, want.visible);
            EXPECT_EQ(got.font, "Arial 9");
        }
    }
};

TEST_F(ScreensTest, AgreementScreen) {
    ASSERT_EQ(BuildAgreementScreen(), 0);
    ExpectWindow("Kestrowin Game Installer - Step 1: Legal Agreement", 530, 400, true);
    ExpectControls({
        {kTermsBox, Kind::ScrollContainer, -1, 20, 165, 490, 160, kWhite, kNone, true, true},
        {kTermsLabel, Kind::Label, kTermsBox, 5, 5, 500, 330, kWhite, kBlack, true, true},
        {kBannerControl, Kind::Image, -1, 0, 0, 530, 100, kNone, kNone, true, true},
        {kIntroLabel, Kind::Label, -1, 20, 125, 490, 40, kGreen, kWhite, true, true},
        {kDeclineButton, Kind::Button, -1, 20, 370, 100, 20, kNone, kNone, true, true},
        {kAgreeButton, Kind::Button, -1, 410, 370, 100, 20, kNone, kNone, true, true},
        {kConsentLabel, Kind::Label, -1, 20, 330, 490, 40, kGreen, kWhite, true, true},
    });
    const headless::Control* box = headless::FindControl(kTermsBox);
    EXPECT_EQ(box->inner_width, 460);
    EXPECT_EQ(box->inner_height, 330);
    EXPECT_EQ(box->step, 1);
    EXPECT_EQ(headless::FindControl(kBannerControl)->image, BannerImage);
    EXPECT_EQ(TextOf(kTermsLabel), AgreementTerms());
    EXPECT_EQ(TextOf(kIntroLabel), AgreementIntro());
    EXPECT_EQ(TextOf(kConsentLabel), AgreementConsent());
    EXPECT_EQ(TextOf(kDeclineButton), "DECLINE");
    EXPECT_EQ(TextOf(kAgreeButton), "AGREE");
}

TEST_F(ScreensTest, LocationScreen) {
    DefaultLocation = "C:\\Users\\player\\Downloads\\";
    ASSERT_EQ(BuildLocationScreen(), 0);
    ExpectWindow("Kestrowin Game Installer - Step 2: Select Location", 530, 400, true);
    ExpectControls({
        {kPathBox, Kind::ScrollContainer, -1, 20, 147, 370, 40, kNone, kNone, true, true},
        {kLocationField, Kind::TextField, kPathBox, 0, 0, 650, 24, kNone, kNone, true, true},
        {kBannerControl, Kind::Image, -1, 0, 0, 530, 100, kNone, kNone, true, true},
        {kDefaultLabel, Kind::Label, -1, 20, 125, 490, 20, kGreen, kWhite, true, true},
        {kChangeButton, Kind::Button, -1, 400, 150, 110, 20, kNone, kNone, true, true},
        {kNoteLabel, Kind::Label, -1, 20, 190, 490, 140, kGreen, kWhite, true, true},
        {kLocationHintLabel, Kind::Label, -1, 20, 340, 490, 20, kGreen, kWhite, true, true},
        {kLocationBackButton, Kind::Button, -1, 20, 370, 100, 20, kNone, kNone, true, true},
        {kLocationNextButton, Kind::Button, -1, 410, 370, 100, 20, kNone, kNone, true, true},
    });
    const headless::Control* box = headless::FindControl(kPathBox);
    EXPECT_EQ(box->inner_width, 650);
    EXPECT_EQ(box->inner_height, 24);
    EXPECT_EQ(box->step, 10);
    EXPECT_EQ(TextOf(kLocationField), DefaultLocation);
    EXPECT_EQ(TextOf(kDefaultLabel), "The default location is here:");
    EXPECT_EQ(TextOf(kNoteLabel), LocationNote());
    EXPECT_EQ(TextOf(kLocationHintLabel), "Select 'BACK' to review the software agreement or 'NEXT' to continue ...");
    EXPECT_EQ(TextOf(kChangeButton), "CHANGE");
}

TEST_F(ScreensTest, VerifyScreen) {
    InstallLocation = "D:\\Games";
    ASSERT_EQ(BuildVerifyScreen(), 0);
    ExpectWindow("Kestrowin Game Installer - Step 3: Verify Location", 530, 400, true);
    ExpectControls({
        {kBannerControl, Kind::Image, -1, 0, 0, 530, 100, kNone, kNone, true, true},
        {kChosenLabel, Kind::Label, -1, 20, 125, 490, 20, kGreen, kWhite, true, true},
        {kVerifyPathLabel, Kind::Label, -1, 20, 145, 490, 40, kGreen, kYellow, true, true},
        {kAdviceLabel, Kind::Label, -1, 20, 190, 490, 150, kGreen, kWhite, true, true},
        {kVerifyHintLabel, Kind::Label, -1, 20, 345, 490, 20, kGreen, kWhite, true, true},
        {kVerifyBackButton, Kind::Button, -1, 20, 370, 100, 20, kNone, kNone, true, true},
        {kInstallButton, Kind::Button, -1, 410, 370, 100, 20, kNone, kNone, true, true},
    });
    EXPECT_EQ(TextOf(kVerifyPathLabel), "D:\\Games") << "shown as typed, no backslash added";
    EXPECT_EQ(TextOf(kChosenLabel), "You have chosen to install the game here:");
    EXPECT_EQ(TextOf(kVerifyHintLabel), "Select 'BACK' to change locations or 'INSTALL' to continue...");
    EXPECT_EQ(TextOf(kInstallButton), "INSTALL");
}

TEST_F(ScreensTest, ExtractionScreenBeforeAndAfterSuccess) {
    InstallLocation = "C:\\" + Repeat('g', 57) + "\\";  // the game path is then 71 characters
    ASSERT_EQ(BuildExtractionScreen(), 0);
    ExpectWindow("Kestrowin Game Installer - Step 4: Extraction", 530, 400, true);
    ExpectControls({
        {kProgressBar, Kind::ProgressBar, -1, 20, 140, 490, 20, kNone, kNone, true, true},
        {kBannerControl, Kind::Image, -1, 0, 0, 530, 100, kNone, kNone, true, true},
        {kStatusLabel, Kind::Label, -1, 20, 120, 490, 20, kGreen, kWhite, true, true},
        {kCreatedLabel, Kind::Label, -1, 20, 170, 490, 20, kGreen, kWhite, true, false},
        {kGamePathLabel, Kind::Label, -1, 20, 190, 490, 40, kGreen, kYellow, true, false},
        {kExtractionHintLabel, Kind::Label, -1, 240, 370, 160, 20, kGreen, kWhite, true, true},
        {kExtractionNextButton, Kind::Button, -1, 410, 370, 100, 20, kNone, kNone, false, true},
    });
    const headless::Control* bar = headless::FindControl(kProgressBar);
    EXPECT_EQ(bar->low, 0);
    EXPECT_EQ(bar->high, 100);
    EXPECT_EQ(bar->value, 1);
    EXPECT_EQ(TextOf(kStatusLabel), "");
    EXPECT_EQ(TextOf(kGamePathLabel), InstallLocation + "Kestrowin\n\r\\");
    EXPECT_EQ(TextOf(kCreatedLabel), "The following Files/Folders were created inside this location:");
    EXPECT_EQ(TextOf(kExtractionHintLabel), "Select 'NEXT' to continue ...");

    plat::SetProgressValue(kProgressBar, 100);
    ShowInstallSuccess();
    EXPECT_EQ(TextOf(kStatusLabel), "No errors! ... The game is installed and ready to play ...");
    EXPECT_TRUE(headless::FindControl(kCreatedLabel)->visible);
    EXPECT_TRUE(headless::FindControl(kGamePathLabel)->visible);
    EXPECT_TRUE(headless::FindControl(kExtractionNextButton)->enabled);
    EXPECT_EQ(headless::FindControl(kProgressBar)->value, 100);
    const headless::Control* list = headless::FindControl(kFolderList);
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(list->kind, Kind::FolderList);
    EXPECT_EQ(std::vector<int>({list->x, list->y, list->width, list->height}), std::vector<int>({20, 230, 490, 130}));
    EXPECT_EQ(headless::WindowIn(StepWindow)->controls.back().number, kFolderList);
}

TEST_F(ScreensTest, ExtractionScreenShowsTheGameFolderInsideATypedDestination) {
    InstallLocation = "D:\\Games";
    ASSERT_EQ(BuildExtractionScreen(), 0);
    EXPECT_EQ(TextOf(kGamePathLabel), "D:\\Games\\Kestrowin\\");
    InstallLocation = "/mnt/games/";
    ASSERT_EQ(BuildExtractionScreen(), 0);
    EXPECT_EQ(TextOf(kGamePathLabel), "/mnt/games/Kestrowin\\");
}

TEST_F(ScreensTest, FinishScreen) {
    ASSERT_EQ(BuildFinishScreen(), 0);
    ExpectWindow("Kestrowin Game Installer - Step 4: Extraction", 530, 400, true);
    ExpectControls({
        {kBannerControl, Kind::Image, -1, 0, 0, 530, 100, kNone, kNone, true, true},
        {kFinishLabel, Kind::Label, -1, 20, 120, 490, 250, kGreen, kWhite, true, true},
        {kFinishHintLabel, Kind::Label, -1, 260, 370, 140, 20, kGreen, kWhite, true, true},
        {kGameLocationButton, Kind::Button, -1, 20, 370, 120, 20, kNone, kNone, true, true},
        {kQuitButton, Kind::Button, -1, 410, 370, 100, 20, kNone, kNone, true, true},
    });
    EXPECT_EQ(TextOf(kFinishLabel), FinishText());
    EXPECT_EQ(TextOf(kFinishHintLabel), "Select 'QUIT' to finish ...");
    EXPECT_EQ(TextOf(kGameLocationButton), "GAME LOCATION");
    EXPECT_EQ(TextOf(kQuitButton), "QUIT");
}

TEST_F(ScreensTest, ErrorWindow) {
    ErrorText = "first line\n\r\n\rsecond line";
    ASSERT_TRUE(BuildErrorWindow());
    ExpectWindow("Error ...", 470, 295, true);
    ExpectControls({
        {kErrorBanner, Kind::Image, -1, 0, 0, 470, 47, kNone, kNone, true, true},
        {kErrorSide, Kind::Image, -1, 0, 47, 144, 247, kNone, kNone, true, true},
        {kErrorLabel, Kind::Label, -1, 154, 50, 306, 204, kGreen, kWhite, true, true},
        {kErrorOkButton, Kind::Button, -1, 258, 270, 100, 20, kNone, kNone, true, true},
    });
    EXPECT_EQ(headless::FindControl(kErrorBanner)->image, ErrorBannerImage);
    EXPECT_EQ(headless::FindControl(kErrorSide)->image, ErrorSideImage);
    EXPECT_EQ(TextOf(kErrorLabel), ErrorText);
    EXPECT_EQ(TextOf(kErrorOkButton), "OK");
}

TEST_F(ScreensTest, PicturesDecodeAtTheirSizes) {
    EXPECT_EQ(plat::ImageWidth(BannerImage), 530);
    EXPECT_EQ(plat::ImageHeight(BannerImage), 100);
    EXPECT_EQ(plat::ImageWidth(ErrorBannerImage), 470);
    EXPECT_EQ(plat::ImageHeight(ErrorBannerImage), 47);
    EXPECT_EQ(plat::ImageWidth(ErrorSideImage), 144);
    EXPECT_EQ(plat::ImageHeight(ErrorSideImage), 247);
}

TEST_F(ScreensTest, WithoutTheFontWizardScreensKeepThePlatformGroundAndTheErrorWindowIsGreen) {
    ResetInstaller();
    LineBreak = "\n\r";
    headless::FailFont(true);
    LoadScreenAssets();
    EXPECT_EQ(FontLoaded, 0);
    using Builder = int (*)();
    for (Builder build : {BuildAgreementScreen, BuildLocationScreen, BuildVerifyScreen, BuildExtractionScreen,
                          BuildFinishScreen}) {
        ASSERT_EQ(build(), 0);
        const headless::Window* window = headless::WindowIn(StepWindow);
        EXPECT_FALSE(window->ground.has_value()) << window->caption;
        EXPECT_EQ(window->controls.front().font, "") << "controls keep the platform's font";
        for (const headless::Control& control : window->controls) {
            if (control.kind == Kind::Label && control.container == -1) {
                EXPECT_TRUE(Same(control.background, kGreen)) << "label " << control.number << " on " << window->caption;
            }
        }
    }
    ASSERT_TRUE(BuildErrorWindow());
    EXPECT_TRUE(Same(headless::WindowIn(StepWindow)->ground, kGreen));
}

TEST_F(ScreensTest, BuildersReportAWindowThatCannotBeOpenedAndCreateNothing) {
    using Builder = int (*)();
    for (Builder build : {BuildAgreementScreen, BuildLocationScreen, BuildVerifyScreen, BuildExtractionScreen,
                          BuildFinishScreen}) {
        headless::FailWindowOpens(1);
        EXPECT_EQ(build(), 1);
        EXPECT_EQ(headless::WindowIn(StepWindow), nullptr);
    }
    headless::FailWindowOpens(1);
    EXPECT_FALSE(BuildErrorWindow());
}

}  // namespace
