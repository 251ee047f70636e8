// The scroll container: a sunken box (the control with the container's number) whose only child is the
// inner area holding the controls placed in the container. Scrolling moves the inner area inside the box.
#include <algorithm>

#include "platform/gui.h"
#include "platform/win32/win32_internal.h"

namespace plat::win32 {
namespace {

constexpr wchar_t kBoxClass[] = L"KestrowinScrollBox";
constexpr wchar_t kInnerClass[] = L"KestrowinScrollArea";

// The inner area is no control of the core's; -1 keeps it from answering to any control number.
constexpr INT_PTR kInnerAreaId = -1;

struct ScrollBox {
    HWND inner = nullptr;
    int inner_width = 0;
    int inner_height = 0;
    int step = 1;
    int view_width = 0;  // the visible part of the inner area, between the scroll bars
    int view_height = 0;
    int x = 0;  // how far the inner area is scrolled
    int y = 0;
    int wheel_rest = 0;  // wheel movement short of one notch, from high-resolution wheels
    Ground ground;
};

ScrollBox* BoxOf(HWND box) { return reinterpret_cast<ScrollBox*>(GetWindowLongPtrW(box, GWLP_USERDATA)); }

int Limit(int value, int low, int high) { return value < low ? low : (value > high ? high : value); }

void ScrollTo(HWND hwnd, ScrollBox& box, int x, int y) {
    x = Limit(x, 0, std::max(0, box.inner_width - box.view_width));
    y = Limit(y, 0, std::max(0, box.inner_height - box.view_height));
    if (x == box.x && y == box.y) return;
    box.x = x;
    box.y = y;
    SetWindowPos(box.inner, nullptr, -x, -y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    SetScrollPos(hwnd, SB_HORZ, x, TRUE);
    SetScrollPos(hwnd, SB_VERT, y, TRUE);
}

bool ScrollsVertically(const ScrollBox& box) { return box.inner_height > box.view_height; }

// Moves along one axis by `delta` pixels, or to its start or end.
void ScrollBy(HWND hwnd, ScrollBox& box, bool vertical, int delta) {
    if (vertical) {
        ScrollTo(hwnd, box, box.x, box.y + delta);
    } else {
        ScrollTo(hwnd, box, box.x + delta, box.y);
    }
}

void OnScrollBar(HWND hwnd, ScrollBox& box, bool vertical, int request) {
    const int bar = vertical ? SB_VERT : SB_HORZ;
    const int page = vertical ? box.view_height : box.view_width;
    const int far_end = vertical ? box.inner_height : box.inner_width;
    switch (request) {
    case SB_LINEUP: ScrollBy(hwnd, box, vertical, -box.step); break;
    case SB_LINEDOWN: ScrollBy(hwnd, box, vertical, box.step); break;
    case SB_PAGEUP: ScrollBy(hwnd, box, vertical, -page); break;
    case SB_PAGEDOWN: ScrollBy(hwnd, box, vertical, page); break;
    case SB_TOP: ScrollBy(hwnd, box, vertical, -far_end); break;
    case SB_BOTTOM: ScrollBy(hwnd, box, vertical, far_end); break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION: {
        // The 32-bit track position; the message itself carries only 16 bits of it.
        SCROLLINFO info{};
        info.cbSize = sizeof(info);
        info.fMask = SIF_TRACKPOS;
        GetScrollInfo(hwnd, bar, &info);
        if (vertical) {
            ScrollTo(hwnd, box, box.x, info.nTrackPos);
        } else {
            ScrollTo(hwnd, box, info.nTrackPos, box.y);
        }
        break;
    }
    default: break;
    }
}

bool OnKey(HWND hwnd, ScrollBox& box, WPARAM key) {
    // Page and Home/End keys follow the vertical bar, or the horizontal one when that is the only one.
    const bool main_vertical = ScrollsVertically(box);
    switch (key) {
    case VK_UP: OnScrollBar(hwnd, box, true, SB_LINEUP); return true;
    case VK_DOWN: OnScrollBar(hwnd, box, true, SB_LINEDOWN); return true;
    case VK_LEFT: OnScrollBar(hwnd, box, false, SB_LINEUP); return true;
    case VK_RIGHT: OnScrollBar(hwnd, box, false, SB_LINEDOWN); return true;
    case VK_PRIOR: OnScrollBar(hwnd, box, main_vertical, SB_PAGEUP); return true;
    case VK_NEXT: OnScrollBar(hwnd, box, main_vertical, SB_PAGEDOWN); return true;
    case VK_HOME: OnScrollBar(hwnd, box, main_vertical, SB_TOP); return true;
    case VK_END: OnScrollBar(hwnd, box, main_vertical, SB_BOTTOM); return true;
    default: return false;
    }
}

void OnWheel(HWND hwnd, ScrollBox& box, int delta) {
    box.wheel_rest += delta;
    const int notches = box.wheel_rest / WHEEL_DELTA;
    box.wheel_rest -= notches * WHEEL_DELTA;
    // Turning the wheel away from the user (a positive delta) shows what lies above.
    ScrollBy(hwnd, box, ScrollsVertically(box), -notches * box.step);
}

// Shows a bar only where the inner area is larger than what the box can show. A bar takes room from
// the other direction, so one bar can make the other necessary.
void LayOutBars(HWND hwnd, ScrollBox& box) {
    RECT client;
    GetClientRect(hwnd, &client);
    const int full_width = client.right;
    const int full_height = client.bottom;
    const int bar_width = GetSystemMetrics(SM_CXVSCROLL);
    const int bar_height = GetSystemMetrics(SM_CYHSCROLL);
    bool horizontal = box.inner_width > full_width;
    bool vertical = box.inner_height > full_height;
    if (horizontal && !vertical) vertical = box.inner_height > full_height - bar_height;
    if (vertical && !horizontal) horizontal = box.inner_width > full_width - bar_width;
    ShowScrollBar(hwnd, SB_HORZ, horizontal);
    ShowScrollBar(hwnd, SB_VERT, vertical);

    GetClientRect(hwnd, &client);
    box.view_width = client.right;
    box.view_height = client.bottom;
    SCROLLINFO info{};
    info.cbSize = sizeof(info);
    info.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
    if (horizontal) {
        info.nMax = box.inner_width - 1;
        info.nPage = static_cast<UINT>(box.view_width);
        SetScrollInfo(hwnd, SB_HORZ, &info, TRUE);
    }
    if (vertical) {
        info.nMax = box.inner_height - 1;
        info.nPage = static_cast<UINT>(box.view_height);
        SetScrollInfo(hwnd, SB_VERT, &info, TRUE);
    }
}

LRESULT CALLBACK BoxProc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
    ScrollBox* box = BoxOf(hwnd);
    if (box == nullptr) return DefWindowProcW(hwnd, message, wparam, lparam);
    switch (message) {
    case WM_NCDESTROY:
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
        delete box;
        break;
    case WM_GETDLGCODE:
        // The arrow keys scroll here instead of moving the focus between controls.
        return DLGC_WANTARROWS;
    case WM_LBUTTONDOWN:
    case WM_NCLBUTTONDOWN:
        SetFocus(hwnd);
        break;
    case WM_KEYDOWN:
        if (OnKey(hwnd, *box, wparam)) return 0;
        break;
    case WM_VSCROLL:
    case WM_HSCROLL:
        OnScrollBar(hwnd, *box, message == WM_VSCROLL, LOWORD(wparam));
        return 0;
    case WM_MOUSEWHEEL:
        OnWheel(hwnd, *box, GET_WHEEL_DELTA_WPARAM(wparam));
        return 0;
    case WM_ERASEBKGND:
        box->ground.Fill(reinterpret_cast<HDC>(wparam), hwnd);
        return 1;
    default:
        break;
    }
    return DefWindowProcW(hwnd, message, wparam, lparam);
}

LRESULT CALLBACK InnerProc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
    HWND box_window = GetParent(hwnd);
    ScrollBox* box = box_window == nullptr ? nullptr : BoxOf(box_window);
    if (box == nullptr) return DefWindowProcW(hwnd, message, wparam, lparam);
    LRESULT result = 0;
    if (HandleControlMessage(message, wparam, lparam, box->ground, &result)) return result;
    switch (message) {
    case WM_ERASEBKGND:
        box->ground.Fill(reinterpret_cast<HDC>(wparam), hwnd);
        return 1;
    case WM_LBUTTONDOWN:
        // Labels let clicks through to here: a click anywhere in the container focuses it.
        SetFocus(box_window);
        return 0;
    default:
        break;
    }
    return DefWindowProcW(hwnd, message, wparam, lparam);
}

bool Register(const wchar_t* name, WNDPROC procedure) {
    WNDCLASSEXW window_class{};
    window_class.cbSize = sizeof(window_class);
    window_class.lpfnWndProc = procedure;
    window_class.hInstance = GetModuleHandleW(nullptr);
    window_class.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    window_class.lpszClassName = name;
    return RegisterClassExW(&window_class) != 0;
}

}  // namespace

bool RegisterScrollBoxClasses() { return Register(kBoxClass, BoxProc) && Register(kInnerClass, InnerProc); }

void UnregisterScrollBoxClasses() {
    UnregisterClassW(kBoxClass, GetModuleHandleW(nullptr));
    UnregisterClassW(kInnerClass, GetModuleHandleW(nullptr));
}

void SetScrollBoxGround(HWND box_window, COLORREF colour) {
    ScrollBox* box = BoxOf(box_window);
    if (box == nullptr) return;
    box->ground.Set(colour);
    RedrawWindow(box_window, nullptr, nullptr, RDW_ERASE | RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
}

void LetTabEnter(HWND inner) {
    // Dialog navigation descends into a window marked as control parent instead of stopping at it.
    for (HWND hwnd : {inner, GetParent(inner)}) {
        SetWindowLongPtrW(hwnd, GWL_EXSTYLE, GetWindowLongPtrW(hwnd, GWL_EXSTYLE) | WS_EX_CONTROLPARENT);
    }
}

bool IsInnerArea(HWND hwnd) {
    wchar_t name[64];
    return GetClassNameW(hwnd, name, 64) > 0 && lstrcmpW(name, kInnerClass) == 0;
}

}  // namespace plat::win32

namespace plat {

void OpenScrollContainer(int number, int x, int y, int width, int height, int inner_width,
                         int inner_height, int step) {
    HWND parent = win32::ParentForNewControl();
    if (parent == nullptr) return;
    HINSTANCE instance = GetModuleHandleW(nullptr);
    HWND hwnd = CreateWindowExW(WS_EX_CLIENTEDGE, win32::kBoxClass, L"",
                                WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS | WS_TABSTOP,
                                win32::Scaled(x), win32::Scaled(y), win32::Scaled(width), win32::Scaled(height),
                                parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(number)), instance,
                                nullptr);
    if (hwnd == nullptr) return;
    auto* box = new win32::ScrollBox;
    box->inner_width = win32::Scaled(inner_width);
    box->inner_height = win32::Scaled(inner_height);
    box->step = win32::Scaled(step);
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(box));
    box->inner = CreateWindowExW(0, win32::kInnerClass, L"", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, 0, 0,
                                 box->inner_width, box->inner_height, hwnd,
                                 reinterpret_cast<HMENU>(win32::kInnerAreaId), instance, nullptr);
    win32::RecordControl(number, win32::Kind::ScrollBox, hwnd);
    if (box->inner == nullptr) return;
    win32::LayOutBars(hwnd, *box);
    win32::SetOpenInnerArea(box->inner);
    win32::PaintNow(hwnd);
}

void CloseScrollContainer() { win32::SetOpenInnerArea(nullptr); }

}  // namespace plat
