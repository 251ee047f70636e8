// Top-level windows in numbered slots, the controls recorded for each, the event queue and the wait
// that pumps the message loop.
#include "platform/win32/win32_internal.h"
// Windows headers after windows.h, which the ones below assume.
#include <commctrl.h>
#include <ole2.h>

#include <algorithm>
#include <deque>
#include <map>

#include "platform/gui.h"

namespace plat::win32 {
namespace {

constexpr wchar_t kWindowClass[] = L"KestrowinWindow";

// A top-level window: no minimise or maximise box, no sizing border.
constexpr DWORD kWindowStyle = WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
constexpr DWORD kWindowExStyle = 0;

struct Window {
    HWND hwnd = nullptr;
    Ground ground;
    HWND last_focus = nullptr;  // restored when the window is activated again, as dialogs do
    std::vector<Control> controls;
};

struct Event {
    HWND window;
    int code;
    int control;
};

struct State {
    std::map<int, Window> slots;
    int current_slot = -1;
    HWND open_inner = nullptr;
    std::deque<Event> events;
    int last_control = 0;
    bool ole_started = false;
    int dpi = USER_DEFAULT_SCREEN_DPI;
    bool fine_clock = false;  // while the system clock ticks every millisecond for us
    // While HandleMessage dispatches a mouse or key message: when the user gave that input.
    bool handling_input = false;
    DWORD input_time = 0;
};

State& TheState() {
    static State state;
    return state;
}

Window* WindowOf(HWND hwnd) {
    for (auto& [slot, window] : TheState().slots) {
        if (window.hwnd == hwnd) return &window;
    }
    return nullptr;
}

Window* CurrentRecord() {
    State& s = TheState();
    auto found = s.slots.find(s.current_slot);
    return found == s.slots.end() ? nullptr : &found->second;
}

Control* ControlOf(Window* window, HWND hwnd) {
    if (window == nullptr || hwnd == nullptr) return nullptr;
    for (Control& control : window->controls) {
        if (control.hwnd == hwnd) return &control;
    }
    return nullptr;
}

// A control raises nothing while it, or the window holding it, cannot take input: a click already
// queued may arrive after the core has disabled or hidden the control, or while a modal dialog has
// disabled the window. Nor does input the user gave before the control became usable: while the core
// works without handling messages (the installation), clicks wait in the queue and would otherwise
// reach a button that was disabled when they were made.
void RaiseControlEvent(HWND root, const Control& control) {
    if (!IsWindowEnabled(root) || !IsWindowEnabled(control.hwnd) || !IsWindowVisible(control.hwnd)) return;
    State& s = TheState();
    if (s.handling_input && static_cast<LONG>(s.input_time - control.usable_since) < 0) return;
    s.events.push_back({root, kEventControl, control.number});
}

void DropEventsOf(HWND window) {
    auto& events = TheState().events;
    for (auto it = events.begin(); it != events.end();) {
        it = it->window == window ? events.erase(it) : it + 1;
    }
}

void OnCommand(WPARAM wparam, LPARAM lparam) {
    // BN_CLICKED and STN_CLICKED are both 0. Commands from menus or accelerators carry no control.
    if (HIWORD(wparam) != BN_CLICKED || lparam == 0) return;
    HWND sender = reinterpret_cast<HWND>(lparam);
    HWND root = GetAncestor(sender, GA_ROOT);
    Control* control = ControlOf(WindowOf(root), sender);
    if (control == nullptr || (control->kind != Kind::Button && control->kind != Kind::Image)) return;
    if (LOWORD(wparam) != static_cast<WORD>(control->number)) return;
    RaiseControlEvent(root, *control);
}

void OnNotify(LPARAM lparam) {
    const NMHDR* header = reinterpret_cast<const NMHDR*>(lparam);
    if (header == nullptr || header->code != static_cast<UINT>(NM_CLICK)) return;
    HWND root = GetAncestor(header->hwndFrom, GA_ROOT);
    Window* window = WindowOf(root);
    if (window == nullptr) return;
    for (const Control& control : window->controls) {
        if (control.kind == Kind::FolderList &&
            (control.hwnd == header->hwndFrom || IsChild(control.hwnd, header->hwndFrom))) {
            RaiseControlEvent(root, control);
            return;
        }
    }
}

// Returns the brush of a label or picture, or null for a control that keeps the platform's colours.
HBRUSH ColourStatic(HDC dc, HWND hwnd, const Ground& parent_ground) {
    Control* control = ControlOf(WindowOf(GetAncestor(hwnd, GA_ROOT)), hwnd);
    if (control == nullptr || (control->kind != Kind::Label && control->kind != Kind::Image)) return nullptr;
    const Ground& ground = control->background.IsSet() ? control->background : parent_ground;
    SetTextColor(dc, control->has_text_colour ? control->text_colour : GetSysColor(COLOR_WINDOWTEXT));
    SetBkColor(dc, ground.Colour());
    return ground.Brush();
}

LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
    Window* window = WindowOf(hwnd);
    if (window == nullptr) return DefWindowProcW(hwnd, message, wparam, lparam);
    LRESULT result = 0;
    if (HandleControlMessage(message, wparam, lparam, window->ground, &result)) return result;
    switch (message) {
    case WM_CLOSE:
        // The core decides whether and when a window closes; the request is only reported.
        TheState().events.push_back({hwnd, kEventClose, 0});
        return 0;
    case WM_ERASEBKGND:
        window->ground.Fill(reinterpret_cast<HDC>(wparam), hwnd);
        return 1;
    case WM_ACTIVATE:
        if (LOWORD(wparam) == WA_INACTIVE) {
            HWND focus = GetFocus();
            if (focus != nullptr && IsChild(hwnd, focus)) window->last_focus = focus;
        } else if (window->last_focus != nullptr && IsChild(hwnd, window->last_focus) &&
                   IsWindowEnabled(window->last_focus) && IsWindowVisible(window->last_focus)) {
            SetFocus(window->last_focus);
            return 0;
        }
        break;
    default:
        break;
    }
    return DefWindowProcW(hwnd, message, wparam, lparam);
}

// Enter activates the focused button. Enter and Escape are kept from IsDialogMessage, which would turn
// them into IDOK and IDCANCEL commands carrying the handle of whichever control has the number 1 or 2.
bool HandleEnterOrEscape(const MSG& message, HWND root) {
    if (message.message != WM_KEYDOWN || (message.wParam != VK_RETURN && message.wParam != VK_ESCAPE)) {
        return false;
    }
    const bool repeated = (message.lParam & (1L << 30)) != 0;  // a held key repeats; one press is one click
    if (message.wParam == VK_RETURN && !repeated) {
        Control* control = ControlOf(WindowOf(root), GetFocus());
        if (control != nullptr && control->kind == Kind::Button) RaiseControlEvent(root, *control);
    }
    return true;
}

bool IsInput(UINT message) {
    return (message >= WM_KEYFIRST && message <= WM_KEYLAST) ||
           (message >= WM_MOUSEFIRST && message <= WM_MOUSELAST);
}

void Dispatch(MSG& message) {
    HWND root = message.hwnd == nullptr ? nullptr : GetAncestor(message.hwnd, GA_ROOT);
    if (root != nullptr && WindowOf(root) != nullptr) {
        if (HandleEnterOrEscape(message, root)) return;
        // Tab and Shift+Tab between the controls, Space on buttons: the keyboard of a dialog.
        if (IsDialogMessageW(root, &message)) return;
    }
    TranslateMessage(&message);
    DispatchMessageW(&message);
}

void HandleMessage(MSG& message) {
    State& s = TheState();
    s.handling_input = IsInput(message.message);
    s.input_time = message.time;
    Dispatch(message);
    s.handling_input = false;
}

class Stopwatch {
public:
    Stopwatch() {
        QueryPerformanceFrequency(&frequency_);
        QueryPerformanceCounter(&start_);
    }
    long long ElapsedMs() const {
        LARGE_INTEGER now;
        QueryPerformanceCounter(&now);
        return (now.QuadPart - start_.QuadPart) * 1000 / frequency_.QuadPart;
    }

private:
    LARGE_INTEGER frequency_;
    LARGE_INTEGER start_;
};

// The system's clock ticks every 15.6 ms unless asked otherwise, and a wait lasts at least until the next
// tick: the 5 ms event wait would take three times as long. The request goes to ntdll, which every process
// has loaded, rather than through winmm's timeBeginPeriod, which makes the same request: winmm is not among
// the DLLs the system always takes from System32, and it brings OLE and more in with it before the first
// window stands.
using TimerResolutionFunction = LONG(NTAPI*)(ULONG, BOOLEAN, PULONG);
constexpr ULONG kOneMillisecond = 10000;  // in the 100 ns units of the system clock

TimerResolutionFunction TimerResolution() {
    return SystemFunction<TimerResolutionFunction>(L"ntdll.dll", "NtSetTimerResolution");
}

void MakeClockFine(State& s) {
    ULONG actual = 0;
    auto set_resolution = TimerResolution();
    s.fine_clock = set_resolution != nullptr && set_resolution(kOneMillisecond, TRUE, &actual) >= 0;
}

void RestoreClock(State& s) {
    if (!s.fine_clock) return;
    ULONG actual = 0;
    TimerResolution()(kOneMillisecond, FALSE, &actual);
    s.fine_clock = false;
}

// The system's DPI, which is what this DPI-aware program draws at: from user32 where it says so
// (Windows 10 1607 on), else from the screen's device context.
int SystemDpi() {
    using GetDpiForSystemFunction = UINT(WINAPI*)();
    if (auto get_dpi = SystemFunction<GetDpiForSystemFunction>(L"user32.dll", "GetDpiForSystem")) {
        return static_cast<int>(get_dpi());
    }
    HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    return dpi > 0 ? dpi : USER_DEFAULT_SCREEN_DPI;
}

int TakeEvent() {
    State& s = TheState();
    const Event event = s.events.front();
    s.events.pop_front();
    if (event.code == kEventControl) s.last_control = event.control;
    return event.code;
}

}  // namespace

int Scaled(int length) { return MulDiv(length, TheState().dpi, USER_DEFAULT_SCREEN_DPI); }

int DisplayDpi() { return TheState().dpi; }

bool HandleControlMessage(UINT message, WPARAM wparam, LPARAM lparam, const Ground& ground,
                          LRESULT* result) {
    switch (message) {
    case WM_CTLCOLORSTATIC:
        if (HBRUSH brush =
                ColourStatic(reinterpret_cast<HDC>(wparam), reinterpret_cast<HWND>(lparam), ground)) {
            *result = reinterpret_cast<LRESULT>(brush);
            return true;
        }
        return false;
    case WM_COMMAND:
        OnCommand(wparam, lparam);
        *result = 0;
        return true;
    case WM_NOTIFY:
        // Raised as an event; DefWindowProc still gives the notification its default answer.
        OnNotify(lparam);
        return false;
    default:
        return false;
    }
}

HWND CurrentWindow() {
    Window* window = CurrentRecord();
    return window == nullptr ? nullptr : window->hwnd;
}

void StartOleOnce() {
    if (!TheState().ole_started) TheState().ole_started = SUCCEEDED(OleInitialize(nullptr));
}

HWND ParentForNewControl() {
    HWND inner = TheState().open_inner;
    return inner != nullptr ? inner : CurrentWindow();
}

void SetOpenInnerArea(HWND inner) { TheState().open_inner = inner; }

void RecordControl(int number, Kind kind, HWND hwnd) {
    Window* window = CurrentRecord();
    if (window == nullptr) return;
    Control control;
    control.number = number;
    control.kind = kind;
    control.hwnd = hwnd;
    control.usable_since = GetTickCount();
    window->controls.push_back(std::move(control));
}

Control* FindControl(int number) {
    Window* window = CurrentRecord();
    if (window == nullptr) return nullptr;
    for (Control& control : window->controls) {
        if (control.number == number) return &control;
    }
    return nullptr;
}

void PaintNow(HWND hwnd) {
    RedrawWindow(GetAncestor(hwnd, GA_ROOT), nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
}

}  // namespace plat::win32

namespace plat {

using win32::TheState;

bool StartGui() {
    INITCOMMONCONTROLSEX classes{};
    classes.dwSize = sizeof(classes);
    classes.dwICC = ICC_STANDARD_CLASSES | ICC_PROGRESS_CLASS | ICC_LISTVIEW_CLASSES;
    if (!InitCommonControlsEx(&classes)) return false;
    TheState().dpi = win32::SystemDpi();
    win32::MakeClockFine(TheState());

    WNDCLASSEXW window_class{};
    window_class.cbSize = sizeof(window_class);
    window_class.lpfnWndProc = win32::WindowProc;
    window_class.hInstance = GetModuleHandleW(nullptr);
    window_class.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    window_class.lpszClassName = win32::kWindowClass;
    if (RegisterClassExW(&window_class) == 0) return false;
    return win32::RegisterScrollBoxClasses();
}

void StopGui() {
    while (!TheState().slots.empty()) CloseWindow(TheState().slots.begin()->first);
    TheState().events.clear();
    win32::DeleteFonts();
    win32::DeleteImages();
    win32::UnregisterScrollBoxClasses();
    UnregisterClassW(win32::kWindowClass, GetModuleHandleW(nullptr));
    if (TheState().ole_started) OleUninitialize();
    TheState().ole_started = false;
    win32::RestoreClock(TheState());
}

bool OpenWindow(int slot, const std::string& caption, int width, int height) {
    CloseWindow(slot);
    RECT frame{0, 0, win32::Scaled(width), win32::Scaled(height)};
    AdjustWindowRectEx(&frame, win32::kWindowStyle, FALSE, win32::kWindowExStyle);
    const int outer_width = frame.right - frame.left;
    const int outer_height = frame.bottom - frame.top;
    RECT work{};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    // A window larger than the work area keeps its title bar on screen.
    const int x = std::max(work.left, work.left + (work.right - work.left - outer_width) / 2);
    const int y = std::max(work.top, work.top + (work.bottom - work.top - outer_height) / 2);

    HWND hwnd = CreateWindowExW(win32::kWindowExStyle, win32::kWindowClass, win32::Widen(caption).c_str(),
                                win32::kWindowStyle, x, y, outer_width, outer_height, nullptr, nullptr,
                                GetModuleHandleW(nullptr), nullptr);
    if (hwnd == nullptr) return false;
    win32::Window& window = TheState().slots[slot];
    window.hwnd = hwnd;
    TheState().current_slot = slot;
    TheState().open_inner = nullptr;
    ShowWindow(hwnd, SW_SHOW);
    UpdateWindow(hwnd);
    SetForegroundWindow(hwnd);
    return true;
}

void CloseWindow(int slot) {
    win32::State& s = TheState();
    auto found = s.slots.find(slot);
    if (found == s.slots.end()) return;
    HWND hwnd = found->second.hwnd;
    DestroyWindow(hwnd);
    win32::DropEventsOf(hwnd);
    s.slots.erase(found);
    if (s.current_slot == slot) {
        s.current_slot = -1;
        s.open_inner = nullptr;
    }
}

bool WindowExists(int slot) { return TheState().slots.count(slot) > 0; }

void SetWindowGround(int slot, Rgb colour) {
    auto found = TheState().slots.find(slot);
    if (found == TheState().slots.end()) return;
    found->second.ground.Set(RGB(colour.red, colour.green, colour.blue));
    RedrawWindow(found->second.hwnd, nullptr, nullptr,
                 RDW_ERASE | RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
}

int WaitForEvent(int timeout_ms) {
    const win32::Stopwatch stopwatch;
    for (;;) {
        if (!TheState().events.empty()) return win32::TakeEvent();
        const long long remaining = timeout_ms - stopwatch.ElapsedMs();
        if (remaining <= 0) return kEventNone;
        // The wait comes first and returns at once when messages are already queued: while a screen
        // stands idle, each 5 ms round is then one call into the system instead of a fruitless peek
        // and a wait, which under Wine are two round trips to the wineserver.
        if (MsgWaitForMultipleObjectsEx(0, nullptr, static_cast<DWORD>(remaining), QS_ALLINPUT,
                                        MWMO_INPUTAVAILABLE) == WAIT_TIMEOUT) {
            return kEventNone;
        }
        MSG message;
        if (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            // Nobody in this program asks the loop to end; a stray WM_QUIT has nothing to stop.
            if (message.message != WM_QUIT) win32::HandleMessage(message);
        }
    }
}

int LastEventControl() { return TheState().last_control; }

}  // namespace plat
