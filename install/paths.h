// The folders the installation works on, derived from the destination the user settled on.
#pragma once

#include <string>

constexpr const char* GameFolder = "Kestrowin";

// InstallLocation with exactly the separator it needs at the end: a destination typed without one still
// names the folder itself, never a sibling beside it. An empty destination stays empty.
std::string InstallFolder();

// The game folder inside the destination, ending with a backslash.
std::string GamePath();
