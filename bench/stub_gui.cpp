// A window system that shows nothing, for measuring the installation's work on the Win32 file layer
// alone: every operation succeeds at once and keeps nothing.
#include "platform/dialogs.h"
#include "platform/gui.h"

namespace plat {

bool StartGui() { return true; }
void StopGui() {}
bool OpenWindow(int, const std::string&, int, int) { return true; }
void CloseWindow(int) {}
bool WindowExists(int) { return true; }
void SetWindowGround(int, Rgb) {}
void CreateImageControl(int, int, int, int, int, int) {}
void CreateLabel(int, int, int, int, int, const std::string&) {}
void CreateButton(int, int, int, int, int, const std::string&) {}
void CreateTextField(int, int, int, int, int, const std::string&) {}
void CreateProgressBar(int, int, int, int, int, int, int) {}
void CreateFolderList(int, int, int, int, int, const std::string&) {}
void OpenScrollContainer(int, int, int, int, int, int, int, int) {}
void CloseScrollContainer() {}
void SetControlColour(int, int, Rgb) {}
void SetControlText(int, const std::string&) {}
std::string GetControlText(int) { return {}; }
void EnableControl(int, bool) {}
void ShowControl(int, bool) {}
void SetProgressValue(int, int) {}
int WaitForEvent(int) { return kEventNone; }
int LastEventControl() { return 0; }
bool DecodeImage(int, const unsigned char*, std::size_t) { return true; }
int ImageWidth(int) { return 0; }
int ImageHeight(int) { return 0; }
bool SetDefaultFont(const std::string&, int) { return true; }

std::string PickFolder(const std::string&, const std::string&) { return {}; }
void ShowMessageBox(const std::string&, const std::string&) {}

}  // namespace plat
