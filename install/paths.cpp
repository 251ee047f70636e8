#include "install/paths.h"

#include "app/shared_state.h"

std::string InstallFolder() {
    if (InstallLocation.empty()) return InstallLocation;
    const char last = InstallLocation.back();
    if (last == '\\' || last == '/') return InstallLocation;
    return InstallLocation + '\\';
}

std::string GamePath() { return InstallFolder() + GameFolder + '\\'; }
