// The numbered controls: creation from the platform's own classes, their font, colours, texts and states.
#include "platform/win32/win32_internal.h"
// Windows headers after windows.h, which the ones below assume.
#include <commctrl.h>

#include "platform/gui.h"
#include "platform/win32/folder_list_win32.h"

namespace plat::win32 {

Ground::Ground(Ground&& other) noexcept : brush_(other.brush_), colour_(other.colour_) {
    other.brush_ = nullptr;
}

Ground& Ground::operator=(Ground&& other) noexcept {
    if (this != &other) {
        if (brush_ != nullptr) DeleteObject(brush_);
        brush_ = other.brush_;
        colour_ = other.colour_;
        other.brush_ = nullptr;
    }
    return *this;
}

Ground::~Ground() {
    if (brush_ != nullptr) DeleteObject(brush_);
}

void Ground::Set(COLORREF colour) {
    HBRUSH brush = CreateSolidBrush(colour);
    if (brush == nullptr) return;
    if (brush_ != nullptr) DeleteObject(brush_);
    brush_ = brush;
    colour_ = colour;
}

HBRUSH Ground::Brush() const { return brush_ != nullptr ? brush_ : GetSysColorBrush(COLOR_BTNFACE); }

COLORREF Ground::Colour() const { return brush_ != nullptr ? colour_ : GetSysColor(COLOR_BTNFACE); }

void Ground::Fill(HDC dc, HWND area) const {
    RECT client;
    GetClientRect(area, &client);
    FillRect(dc, &client, Brush());
}

namespace {

// Every font ever made stays alive until StopGui: controls created before a change keep using theirs.
struct Fonts {
    std::vector<HFONT> made;
    HFONT current = nullptr;
};

Fonts& TheFonts() {
    static Fonts fonts;
    return fonts;
}

// Creates a child control whose window ID is its number, so automation finds it with GetDlgItem.
HWND MakeControl(int number, Kind kind, const wchar_t* window_class, const std::wstring& text, DWORD style,
                 DWORD ex_style, int x, int y, int width, int height) {
    HWND parent = ParentForNewControl();
    if (parent == nullptr) return nullptr;
    HWND hwnd = CreateWindowExW(ex_style, window_class, text.c_str(),
                                WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | style, Scaled(x), Scaled(y),
                                Scaled(width), Scaled(height), parent,
                                reinterpret_cast<HMENU>(static_cast<INT_PTR>(number)),
                                GetModuleHandleW(nullptr), nullptr);
    if (hwnd == nullptr) return nullptr;
    SendMessageW(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(ControlFont()), FALSE);
    RecordControl(number, kind, hwnd);
    if ((style & WS_TABSTOP) != 0 && IsInnerArea(parent)) LetTabEnter(parent);
    PaintNow(hwnd);
    return hwnd;
}

// The folder list's columns start this wide, in the core's units; the user may resize them.
constexpr int kFolderListColumnWidth = 100;

bool HasText(Kind kind) { return kind == Kind::Label || kind == Kind::Button || kind == Kind::TextField; }

}  // namespace

HFONT ControlFont() {
    HFONT current = TheFonts().current;
    return current != nullptr ? current : static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
}

void DeleteFonts() {
    for (HFONT font : TheFonts().made) DeleteObject(font);
    TheFonts() = Fonts{};
}

}  // namespace plat::win32

namespace plat {

using win32::Kind;
using win32::kFolderListColumnWidth;
using win32::MakeControl;

void CreateImageControl(int number, int x, int y, int width, int height, int image) {
    // SS_BITMAP sizes the control to its picture: the picture shows at its natural size.
    HWND hwnd = MakeControl(number, Kind::Image, L"STATIC", L"", SS_BITMAP | SS_NOTIFY, 0, x, y, width,
                            height);
    HBITMAP bitmap = win32::ImageBitmap(image);
    if (hwnd == nullptr || bitmap == nullptr) return;
    SendMessageW(hwnd, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(bitmap));
    win32::PaintNow(hwnd);
}

void CreateLabel(int number, int x, int y, int width, int height, const std::string& text) {
    // SS_NOPREFIX: an ampersand in a text is shown, not taken as a keyboard mnemonic.
    MakeControl(number, Kind::Label, L"STATIC", win32::ToWindowsText(text), SS_LEFT | SS_NOPREFIX, 0, x, y,
                width, height);
}

void CreateButton(int number, int x, int y, int width, int height, const std::string& caption) {
    MakeControl(number, Kind::Button, L"BUTTON", win32::ToWindowsText(caption), BS_PUSHBUTTON | WS_TABSTOP, 0,
                x, y, width, height);
}

void CreateTextField(int number, int x, int y, int width, int height, const std::string& text) {
    MakeControl(number, Kind::TextField, L"EDIT", win32::ToWindowsText(text),
                ES_LEFT | ES_AUTOHSCROLL | WS_TABSTOP, WS_EX_CLIENTEDGE, x, y, width, height);
}

void CreateProgressBar(int number, int x, int y, int width, int height, int low, int high) {
    HWND hwnd = MakeControl(number, Kind::ProgressBar, PROGRESS_CLASSW, L"", 0, 0, x, y, width, height);
    if (hwnd == nullptr) return;
    SendMessageW(hwnd, PBM_SETRANGE32, static_cast<WPARAM>(low), static_cast<LPARAM>(high));
    win32::PaintNow(hwnd);
}

void CreateFolderList(int number, int x, int y, int width, int height, const std::string& folder) {
    HWND parent = win32::ParentForNewControl();
    if (parent == nullptr) return;
    HWND hwnd = CreateFolderListWindow(parent, number, win32::Scaled(x), win32::Scaled(y),
                                       win32::Scaled(width), win32::Scaled(height),
                                       win32::Scaled(kFolderListColumnWidth),
                                       win32::Widen(folder), win32::ControlFont());
    if (hwnd == nullptr) return;
    win32::RecordControl(number, Kind::FolderList, hwnd);
    win32::PaintNow(hwnd);
}

void SetControlColour(int number, int which, Rgb colour) {
    win32::Control* control = win32::FindControl(number);
    if (control == nullptr) return;
    const COLORREF value = RGB(colour.red, colour.green, colour.blue);
    if (control->kind == Kind::ScrollBox) {
        if (which == kBackgroundColour) win32::SetScrollBoxGround(control->hwnd, value);
        return;
    }
    // Buttons, the text field, the progress bar and the folder list keep the platform's colours.
    if (control->kind != Kind::Label && control->kind != Kind::Image) return;
    if (which == kTextColour) {
        control->has_text_colour = true;
        control->text_colour = value;
    } else if (which == kBackgroundColour) {
        control->background.Set(value);
    } else {
        return;
    }
    InvalidateRect(control->hwnd, nullptr, TRUE);
    win32::PaintNow(control->hwnd);
}

void SetControlText(int number, const std::string& text) {
    win32::Control* control = win32::FindControl(number);
    if (control == nullptr || !win32::HasText(control->kind)) return;
    SetWindowTextW(control->hwnd, win32::ToWindowsText(text).c_str());
    win32::PaintNow(control->hwnd);
}

std::string GetControlText(int number) {
    win32::Control* control = win32::FindControl(number);
    if (control == nullptr || !win32::HasText(control->kind)) return {};
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(control->hwnd)) + 1, L'\0');
    const int length = GetWindowTextW(control->hwnd, text.data(), static_cast<int>(text.size()));
    text.resize(static_cast<std::size_t>(length));
    return win32::FromWindowsText(text);
}

void EnableControl(int number, bool enabled) {
    win32::Control* control = win32::FindControl(number);
    if (control == nullptr) return;
    EnableWindow(control->hwnd, enabled ? TRUE : FALSE);
    if (enabled) control->usable_since = GetTickCount();
    win32::PaintNow(control->hwnd);
}

void ShowControl(int number, bool visible) {
    win32::Control* control = win32::FindControl(number);
    if (control == nullptr) return;
    ShowWindow(control->hwnd, visible ? SW_SHOW : SW_HIDE);
    if (visible) control->usable_since = GetTickCount();
    win32::PaintNow(control->hwnd);
}

void SetProgressValue(int number, int value) {
    win32::Control* control = win32::FindControl(number);
    if (control == nullptr || control->kind != Kind::ProgressBar) return;
    SendMessageW(control->hwnd, PBM_SETPOS, static_cast<WPARAM>(value), 0);
    win32::PaintNow(control->hwnd);
}

bool SetDefaultFont(const std::string& face, int points) {
    HFONT font = CreateFontW(-MulDiv(points, win32::DisplayDpi(), 72), 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE,
                             DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                             DEFAULT_PITCH | FF_DONTCARE, win32::Widen(face).c_str());
    if (font == nullptr) return false;
    win32::TheFonts().made.push_back(font);
    win32::TheFonts().current = font;
    return true;
}

}  // namespace plat
