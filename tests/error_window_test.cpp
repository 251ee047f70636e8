// The error window in the wizard: OK returns to the location screen, closing it ends the program, and
// a failure is shown afresh every time.
#include <gtest/gtest.h>

#include <string>

#include "app/shared_state.h"
#include "install/failure_texts.h"
#include "screens/controls.h"
#include "tests/harness.h"
#include "tests/temp_folder.h"

using headless::Check;
using headless::Click;
using headless::CloseRequest;
using headless::Type;

namespace {

class ErrorWindowTest : public ::testing::Test {
protected:
    void SetUp() override { ResetInstaller(); }

    static headless::UserAction ExpectErrorShowing() {
        return Check([] {
            const headless::Window* window = headless::WindowIn(StepWindow);
            ASSERT_NE(window, nullptr);
            EXPECT_EQ(window->caption, "Error ...");
            EXPECT_EQ(TextOf(kErrorLabel), LocateFailureText());
        });
    }

    TempFolder here_;
};

TEST_F(ErrorWindowTest, OkReturnsToTheLocationScreenWithTheDefaultAndARetrySucceeds) {
    const std::string missing = here_.path() + "missing/";
    headless::Script({Click(kAgreeButton), Type(kLocationField, missing), Click(kLocationNextButton),
                      Click(kInstallButton), ExpectErrorShowing(),
                      // Clicks on the pictures and the text do not end the wait.
                      Click(kErrorBanner), Click(kErrorSide), Click(kErrorLabel), headless::Idle(),
                      ExpectErrorShowing(), Click(kErrorOkButton), Check([this] {
                          EXPECT_EQ(headless::WindowIn(StepWindow)->caption,
                                    "Kestrowin Game Installer - Step 2: Select Location");
                          EXPECT_EQ(TextOf(kLocationField), here_.path());
                          EXPECT_EQ(InstallLocation, here_.path());
                      }),
                      Type(kLocationField, missing), Click(kLocationNextButton), Click(kInstallButton),
                      ExpectErrorShowing(), Click(kErrorOkButton), Click(kLocationNextButton),
                      Click(kInstallButton), Check([] { EXPECT_EQ(StepFailed, 0); }), CloseRequest()});
    EXPECT_EQ(RunInstaller(), 0);
    EXPECT_TRUE(Exists(here_.path() + "Kestrowin/Assets.zip"));
    int error_windows = 0, extraction_screens = 0;
    for (const std::string& entry : headless::Timeline()) {
        error_windows += entry == "open Error ...";
        extraction_screens += entry == "open Kestrowin Game Installer - Step 4: Extraction";
    }
    EXPECT_EQ(error_windows, 2) << "each failure builds the window anew";
    EXPECT_EQ(extraction_screens, 3) << "each attempt builds the extraction screen anew";
}

TEST_F(ErrorWindowTest, ClosingTheErrorWindowEndsTheProgram) {
    headless::Script({Click(kAgreeButton), Type(kLocationField, ""), Click(kLocationNextButton),
                      Click(kInstallButton), ExpectErrorShowing(), CloseRequest()});
    EXPECT_EQ(RunInstaller(), 0);
    EXPECT_EQ(headless::Timeline().back(), "stop");
    int location_screens = 0;
    for (const std::string& entry : headless::Timeline()) {
        location_screens += entry == "open Kestrowin Game Installer - Step 2: Select Location";
    }
    EXPECT_EQ(location_screens, 1) << "the location screen is not shown again";
}

TEST_F(ErrorWindowTest, AnErrorWindowThatCannotBeOpenedReturnsToTheLocationScreenAtOnce) {
    headless::Script({Click(kAgreeButton), Type(kLocationField, ""), Click(kLocationNextButton),
                      // The extraction screen opens; the error window after it does not.
                      Check([] { headless::FailWindowOpens(1, 1); }), Click(kInstallButton), Check([] {
                          EXPECT_EQ(headless::WindowIn(StepWindow)->caption,
                                    "Kestrowin Game Installer - Step 2: Select Location");
                          EXPECT_EQ(StepFailed, 0);
                      }),
                      CloseRequest()});
    EXPECT_EQ(RunInstaller(), 0);
}

}  // namespace
