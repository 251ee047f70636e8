// What the sources of the Win32 backend share: the bookkeeping of windows and controls, text
// conversion, and the hooks one concern offers another. Nothing outside platform/win32 includes it.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace plat::win32 {

// Looks a function up at run time, for those that older Windows versions lack: importing them would keep
// the program from starting there at all. A module not loaded yet comes from System32 (user32, say, is
// delay-loaded and may not be). Null when the module or the function is missing.
template <typename Function>
Function SystemFunction(const wchar_t* module, const char* name) {
    HMODULE handle = GetModuleHandleW(module);
    if (handle == nullptr) handle = LoadLibraryExW(module, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
    if (handle == nullptr) return nullptr;
    // Through the generic function pointer type, which GCC lets convert to any other without a warning.
    return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(GetProcAddress(handle, name)));
}

// UTF-8 from the core to UTF-16 for Windows and back; invalid sequences become U+FFFD.
std::wstring Widen(const std::string& text);
std::string Narrow(const std::wstring& text);

// The core breaks lines with LF CR, Windows controls with CR LF; these turn one into the other.
std::wstring ToWindowsText(const std::string& text);
std::string FromWindowsText(const std::wstring& text);

// A solid colour that fills an area, owning its brush; unset means the dialog-face colour.
class Ground {
public:
    Ground() = default;
    Ground(const Ground&) = delete;
    Ground& operator=(const Ground&) = delete;
    Ground(Ground&& other) noexcept;
    Ground& operator=(Ground&& other) noexcept;
    ~Ground();

    void Set(COLORREF colour);
    bool IsSet() const { return brush_ != nullptr; }
    HBRUSH Brush() const;
    COLORREF Colour() const;
    void Fill(HDC dc, HWND area) const;

private:
    HBRUSH brush_ = nullptr;
    COLORREF colour_ = 0;
};

enum class Kind { Image, Label, Button, TextField, ProgressBar, ScrollBox, FolderList };

struct Control {
    int number = 0;
    Kind kind = Kind::Label;
    HWND hwnd = nullptr;
    bool has_text_colour = false;
    COLORREF text_colour = 0;
    Ground background;  // unset: the ground of the window or inner area the control stands on
    DWORD usable_since = 0;  // tick count when the control was last created, enabled or shown
};

// --- window_win32.cpp ---

// The core lays everything out in pixels of a 96-DPI display. Every length it gives passes through here
// on its way to Windows, so the layout keeps its proportions and text its sharpness on any display; nothing
// else in the backend scales. Rounds to the nearest pixel, halves up.
int Scaled(int length);
// The display's pixels per inch, as known since StartGui (96 before).
int DisplayDpi();

// The window control operations address, or null when none is open.
HWND CurrentWindow();
// Starts OLE on this thread the first time it is asked for (the folder chooser needs it); OLE's DLLs
// are not loaded before a user asks for something that needs them.
void StartOleOnce();
// Where a control created now goes: the inner area of the open scroll container, else the current window.
HWND ParentForNewControl();
void SetOpenInnerArea(HWND inner);
// Remembers a control of the current window under its number.
void RecordControl(int number, Kind kind, HWND hwnd);
// The first control of the current window with `number`, or null.
Control* FindControl(int number);

// What controls tell the window or scroll container's inner area they stand on, handled alike for both:
// clicks and notifications become events, labels and pictures get their colours on `ground`. Returns true
// with `result` set when the message is answered here, false when it goes on to DefWindowProc.
bool HandleControlMessage(UINT message, WPARAM wparam, LPARAM lparam, const Ground& ground,
                          LRESULT* result);

// Paints what is pending in the window holding `hwnd` at once. The core changes controls while it works
// without handling messages (the installation), and the user must still see each change.
void PaintNow(HWND hwnd);

// --- controls_win32.cpp ---

HFONT ControlFont();
void DeleteFonts();

// --- scroll_box_win32.cpp ---

bool RegisterScrollBoxClasses();
void UnregisterScrollBoxClasses();
void SetScrollBoxGround(HWND box, COLORREF colour);
// A tab-stop control went into `inner`: Tab must now descend into the container to reach it.
void LetTabEnter(HWND inner);
bool IsInnerArea(HWND hwnd);

// --- images_win32.cpp ---

// The picture in `slot` at the size it has on this display, or null.
HBITMAP ImageBitmap(int slot);
void DeleteImages();

}  // namespace plat::win32
