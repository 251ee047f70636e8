// Journeys through the wizard with a scripted user, on the headless window system and real folders.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "app/driver.h"
#include "app/shared_state.h"
#include "screens/controls.h"
#include "screens/frame.h"
#include "tests/harness.h"
#include "tests/temp_folder.h"

using headless::Check;
using headless::Click;
using headless::CloseRequest;
using headless::Idle;
using headless::RawEvent;
using headless::Type;

namespace {

const char* kStep1 = "Kestrowin Game Installer - Step 1: Legal Agreement";
const char* kStep2 = "Kestrowin Game Installer - Step 2: Select Location";
const char* kStep3 = "Kestrowin Game Installer - Step 3: Verify Location";
const char* kStep4 = "Kestrowin Game Installer - Step 4: Extraction";

class DriverTest : public ::testing::Test {
protected:
    void SetUp() override { ResetInstaller(); }

    // Expects the window standing now to carry `caption`.
    static headless::UserAction ExpectScreen(const std::string& caption) {
        return Check([caption] {
            const headless::Window* window = headless::WindowIn(StepWindow);
            ASSERT_NE(window, nullptr);
            EXPECT_EQ(window->caption, caption);
        });
    }

    std::vector<std::string> OpenedCaptions() const {
        std::vector<std::string> captions;
        for (const std::string& entry : headless::Timeline()) {
            if (entry.rfind("open ", 0) == 0) captions.push_back(entry.substr(5));
        }
        return captions;
    }

    TempFolder here_;
};

TEST_F(DriverTest, StartUpPreparesTheSharedValues) {
    headless::Script({Check([this] {
                          EXPECT_EQ(WizardStep, 1);
                          EXPECT_EQ(LineBreak, std::string("\x0a\x0d"));
                          EXPECT_EQ(DefaultLocation, here_.path());
                          EXPECT_EQ(FontLoaded, 1);
                          EXPECT_EQ(InstallLocation, "");
                      }),
                      Click(kDeclineButton)});
    EXPECT_EQ(RunInstaller(), 0);
}

TEST_F(DriverTest, DeclineAndCloseEndTheProgramAndTouchNothing) {
    for (const headless::UserAction& way_out : {Click(kDeclineButton), CloseRequest()}) {
        ResetInstaller();
        headless::Script({way_out});
        EXPECT_EQ(RunInstaller(), 0);
        EXPECT_EQ(OpenedCaptions(), std::vector<std::string>{kStep1});
        EXPECT_EQ(headless::WindowIn(StepWindow), nullptr) << "shutdown closes the window";
        EXPECT_TRUE(Names(here_.path()).empty());
    }
}

TEST_F(DriverTest, EventsThatNoStepHandlesChangeNothing) {
    headless::Script({Idle(), RawEvent(7), RawEvent(plat::kEventControl, 99), Click(kBannerControl),
                      Click(kIntroLabel), Check([] {
                          EXPECT_EQ(WizardStep, 1);
                          EXPECT_EQ(LeaveStep, 0);
                      }),
                      Click(kDeclineButton)});
    EXPECT_EQ(RunInstaller(), 0);
    EXPECT_EQ(headless::WindowsOpened(), 1);
}

TEST_F(DriverTest, BackAndForthBuildsEveryScreenAnew) {
    headless::Script({Agree(), ExpectScreen(kStep2), Click(kLocationBackButton), ExpectScreen(kStep1), Agree(),
                      Click(kLocationNextButton), ExpectScreen(kStep3), Click(kVerifyBackButton),
                      ExpectScreen(kStep2), CloseRequest()});
    EXPECT_EQ(RunInstaller(), 0);
    EXPECT_EQ(OpenedCaptions(), (std::vector<std::string>{kStep1, kStep2, kStep1, kStep2, kStep3, kStep2}));
    // Steps 1 to 3 close their window before the next one opens.
    const std::vector<std::string>& timeline = headless::Timeline();
    int open_windows = 0;
    for (const std::string& entry : timeline) {
        if (entry.rfind("open ", 0) == 0) EXPECT_EQ(open_windows++, 0) << "before " << entry;
        if (entry == "close") --open_windows;
    }
}

TEST_F(DriverTest, EveryEntryToStepTwoOffersTheDefaultAgain) {
    const std::string chosen = "D:\\somewhere\\else\\";
    headless::AnswerChooser([&](const std::string&, const std::string&) { return chosen; });
    headless::Script({Agree(), Click(kChangeButton), Check([&] {
                          EXPECT_EQ(TextOf(kLocationField), chosen);
                          EXPECT_EQ(InstallLocation, chosen);
                      }),
                      Click(kLocationNextButton), Check([&] { EXPECT_EQ(InstallLocation, chosen); }),
                      Click(kVerifyBackButton), Check([this] {
                          EXPECT_EQ(TextOf(kLocationField), here_.path());
                          EXPECT_EQ(InstallLocation, here_.path());
                      }),
                      Type(kLocationField, "typed"), Click(kLocationBackButton), Agree(),
                      Check([this] { EXPECT_EQ(TextOf(kLocationField), here_.path()); }), CloseRequest()});
    EXPECT_EQ(RunInstaller(), 0);
}

TEST_F(DriverTest, NextTakesTheFieldTextExactlyAsTyped) {
    for (const std::string& typed : {std::string("D:\\Games"), std::string(""), std::string("  odd / path\\ ")}) {
        ResetInstaller();
        headless::Script({Agree(), Type(kLocationField, typed), Click(kLocationNextButton), Check([&] {
                              EXPECT_EQ(InstallLocation, typed);
                              EXPECT_EQ(TextOf(kVerifyPathLabel), typed);
                          }),
                          CloseRequest()});
        EXPECT_EQ(RunInstaller(), 0);
    }
}

TEST_F(DriverTest, ChangeDisablesBackAndNextOnlyWhileTheChooserIsOpen) {
    for (const std::string& answer : {std::string("E:\\chosen\\"), std::string("")}) {
        ResetInstaller();
        headless::AnswerChooser([](const std::string& prompt, const std::string&) {
            EXPECT_EQ(prompt, "Choose a new location:");
            EXPECT_FALSE(headless::FindControl(kLocationBackButton)->enabled);
            EXPECT_FALSE(headless::FindControl(kLocationNextButton)->enabled);
            EXPECT_TRUE(headless::FindControl(kChangeButton)->enabled);
            return std::string();
        });
        headless::AnswerChooser([answer](const std::string&, const std::string&) { return answer; });
        headless::Script({Agree(), Type(kLocationField, "typed by hand"), Click(kChangeButton), Click(kChangeButton),
                          Check([&] {
                              EXPECT_TRUE(headless::FindControl(kLocationBackButton)->enabled);
                              EXPECT_TRUE(headless::FindControl(kLocationNextButton)->enabled);
                              const std::string expected = answer.empty() ? here_.path() : answer;
                              EXPECT_EQ(TextOf(kLocationField), expected) << "a cancel falls back to the default";
                              EXPECT_EQ(InstallLocation, expected);
                          }),
                          CloseRequest()});
        EXPECT_EQ(RunInstaller(), 0);
    }
}

struct ChooserCase {
    std::string default_location;
    std::string expected_start;
    std::string answer;
    std::string expected_field;
};

TEST_F(DriverTest, ChooserStartFolderAndAnswerAreTrimmedAndCompleted) {
    const std::string long_folder = "C:\\" + Repeat('x', 300) + "\\";
    const std::vector<ChooserCase> cases = {
        {"C:\\Games\\", "C:\\Games", "D:\\Play", "D:\\Play\\"},
        {"C:\\", "C:\\", "C:\\", "C:\\"},
        {long_folder, long_folder.substr(0, 259), "E:\\x\\", "E:\\x\\"},
    };
    for (const ChooserCase& c : cases) {
        ResetInstaller();
        headless::AnswerChooser([&](const std::string&, const std::string& start) {
            EXPECT_EQ(start, c.expected_start);
            return c.answer;
        });
        headless::Script({Check([&] { DefaultLocation = c.default_location; }), Agree(), Click(kChangeButton),
                          Check([&] { EXPECT_EQ(TextOf(kLocationField), c.expected_field); }), CloseRequest()});
        EXPECT_EQ(RunInstaller(), 0);
    }
}

TEST_F(DriverTest, AWindowThatFailsToOpenIsTriedAgainThenTheProgramGivesUp) {
    headless::FailWindowOpens(3);
    headless::Script({ExpectScreen(kStep1), Click(kDeclineButton)});
    EXPECT_EQ(RunInstaller(), 0);
    EXPECT_EQ(headless::WindowsOpened(), 1);
    EXPECT_EQ(OpenedCaptions(), std::vector<std::string>{kStep1});

    ResetInstaller();
    headless::FailWindowOpens(1000);
    EXPECT_EQ(RunInstaller(), 0) << "no event can ever come: the program ends";
    int attempts = 0;
    for (const std::string& entry : headless::Timeline()) attempts += entry.rfind("open-failed ", 0) == 0;
    EXPECT_EQ(attempts, kWindowOpenAttempts);
}

TEST_F(DriverTest, TheWholeRoadInstallsAndEndsOnQuit) {
    headless::Script({Agree(), Click(kLocationNextButton), Click(kInstallButton), Check([] {
                          EXPECT_EQ(headless::WindowIn(StepWindow)->caption, kStep4);
                          EXPECT_TRUE(headless::FindControl(kExtractionNextButton)->enabled);
                      }),
                      Click(kFolderList), Click(kExtractionNextButton), Click(kGameLocationButton),
                      Click(kGameLocationButton), Click(kQuitButton)});
    EXPECT_EQ(RunInstaller(), 0);
    EXPECT_EQ(Names(here_.path()), std::vector<std::string>{"Kestrowin"});
    EXPECT_EQ(Names(here_.path() + "Kestrowin").size(), 5u);
    ASSERT_EQ(headless::MessageBoxes().size(), 2u);
    EXPECT_EQ(headless::MessageBoxes()[0].title, "Game Location");
    EXPECT_EQ(headless::MessageBoxes()[0].text, headless::MessageBoxes()[1].text);
    EXPECT_NE(headless::MessageBoxes()[0].text.find("\n\r\n\r" + here_.path() + "\n\r\n\r"), std::string::npos);
}

TEST_F(DriverTest, TheFolderListShowsTheGameFolderOfARelativeDestination) {
    ASSERT_EQ(mkdir((here_.path() + "games").c_str(), 0755), 0);
    headless::Script({Agree(), Type(kLocationField, "games"), Click(kLocationNextButton), Click(kInstallButton),
                      Check([this] {
                          const headless::Control* list = headless::FindControl(kFolderList);
                          ASSERT_NE(list, nullptr);
                          EXPECT_EQ(list->text, here_.path() + "games/Kestrowin/");
                      }),
                      CloseRequest()});
    EXPECT_EQ(RunInstaller(), 0);
    EXPECT_EQ(Names(here_.path() + "games/Kestrowin").size(), 5u);
}

TEST_F(DriverTest, ACloseRequestOnStepsFourAndFiveEndsTheProgram) {
    for (bool on_finish : {false, true}) {
        ResetInstaller();
        ASSERT_EQ(chdir(here_.path().c_str()), 0);
        std::vector<headless::UserAction> road = {Agree(), Click(kLocationNextButton), Click(kInstallButton)};
        if (on_finish) road.push_back(Click(kExtractionNextButton));
        road.push_back(CloseRequest());
        headless::Script(road);
        EXPECT_EQ(RunInstaller(), 0);
        EXPECT_EQ(OpenedCaptions().back(), kStep4) << "the finish screen bears the extraction screen's caption";
        EXPECT_EQ(OpenedCaptions().size(), on_finish ? 5u : 4u);
    }
}

}  // namespace
