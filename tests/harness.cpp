#include "tests/harness.h"

#include <gtest/gtest.h>

#include "app/driver.h"
#include "app/shared_state.h"
#include "screens/controls.h"

void ResetInstaller() {
    headless::Reset();
    ResetSharedState();
}

int RunInstaller() {
    try {
        StartUp();
        RunWizard();
        ShutDown();
    } catch (const headless::ProcessExit& exit) {
        return exit.code;
    } catch (const headless::ScriptExhausted&) {
        ADD_FAILURE() << "the scripted user ran out of actions at step " << WizardStep;
    }
    return -1;
}

headless::UserAction Agree() { return headless::Click(kAgreeButton); }

std::string TextOf(int number) {
    const headless::Control* control = headless::FindControl(number);
    return control == nullptr ? std::string() : control->text;
}

std::string Repeat(char c, std::size_t count) { return std::string(count, c); }
