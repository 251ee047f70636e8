// The platform's modal dialogs: the shell's folder chooser and the message box.
#include "platform/win32/win32_internal.h"
// Windows headers after windows.h, which the ones below assume.
#include <shlobj.h>

#include "platform/dialogs.h"

namespace plat::win32 {
namespace {

// Selects the start folder as soon as the chooser stands; `data` is its path.
int CALLBACK OnChooserEvent(HWND chooser, UINT event, LPARAM, LPARAM data) {
    if (event == BFFM_INITIALIZED) SendMessageW(chooser, BFFM_SETSELECTIONW, TRUE, data);
    return 0;
}

}  // namespace
}  // namespace plat::win32

namespace plat {

std::string PickFolder(const std::string& prompt, const std::string& start_folder) {
    const std::wstring title = win32::Widen(prompt);
    const std::wstring start = win32::Widen(start_folder);
    BROWSEINFOW browse{};
    browse.hwndOwner = win32::CurrentWindow();
    browse.lpszTitle = title.c_str();
    // BIF_EDITBOX: a box to type a path into; the new style is the one that shows it beside the tree.
    browse.ulFlags = BIF_RETURNONLYFSDIRS | BIF_EDITBOX | BIF_NEWDIALOGSTYLE;
    browse.lpfn = win32::OnChooserEvent;
    browse.lParam = reinterpret_cast<LPARAM>(start.c_str());
    // The resizable style with its edit box runs on OLE in this thread.
    win32::StartOleOnce();
    PIDLIST_ABSOLUTE chosen = SHBrowseForFolderW(&browse);
    if (chosen == nullptr) return {};
    wchar_t path[MAX_PATH] = {};
    const bool has_path = SHGetPathFromIDListW(chosen, path) != FALSE;
    CoTaskMemFree(chosen);
    return has_path ? win32::Narrow(path) : std::string();
}

void ShowMessageBox(const std::string& title, const std::string& text) {
    HWND owner = GetForegroundWindow();
    DWORD owner_process = 0;
    if (owner != nullptr) GetWindowThreadProcessId(owner, &owner_process);
    UINT style = MB_OK;
    if (owner_process != GetCurrentProcessId()) {
        // Another program's window must not own our box; task-modal still disables all of ours.
        owner = nullptr;
        style |= MB_TASKMODAL;
    }
    MessageBoxW(owner, win32::ToWindowsText(text).c_str(), win32::Widen(title).c_str(), style);
}

}  // namespace plat
