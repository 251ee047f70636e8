#include "app/driver.h"
#include "platform/system.h"

int main() {
    plat::StartProcess();
    StartUp();
    RunWizard();
    ShutDown();
}
