// The fixed texts the error window shows when an installation fails.
#pragma once

#include <string>

// The destination cannot be listed: missing, not a folder, access refused, or empty.
std::string LocateFailureText();
// The game folder cannot be created or entered.
std::string CreateFailureText();
// A game file cannot be created or written in full.
std::string SaveFailureText();
// An earlier game folder in the destination cannot be removed.
std::string RemoveFailureText();
