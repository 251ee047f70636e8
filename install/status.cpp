#include "install/status.h"

#include "platform/gui.h"
#include "platform/system.h"
#include "screens/controls.h"

void ShowStatus(const char* text) {
    plat::SetControlText(kStatusLabel, text);
    plat::Pause(kStatusPauseMs);
}
