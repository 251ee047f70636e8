// The platform's own modal dialogs. Both block the caller until the user closes them; the program's
// windows take no input meanwhile.
#pragma once

#include <string>

namespace plat {

// The platform's folder chooser: shows `prompt` above a folder tree and a box for typing a path, opens
// with `start_folder` selected, and is owned by the program's foreground window. Returns the chosen
// folder's full path as the platform gives it, or "" on cancel or when the chooser cannot be shown.
std::string PickFolder(const std::string& prompt, const std::string& start_folder);

// A message box with `title`, `text`, a single OK button and no icon. Its owner is the program's window
// in the foreground, or none when the foreground belongs to another program.
void ShowMessageBox(const std::string& title, const std::string& text);

}  // namespace plat
