// The floor of the first-window and memory figures: the least a Win32 program does to show a window. It
// registers a class, opens one top-level window of the installer's size and runs the message loop until
// the window is closed.
#include <windows.h>

namespace {

LRESULT CALLBACK FloorProc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
    if (message == WM_DESTROY) PostQuitMessage(0);
    return DefWindowProcW(hwnd, message, wparam, lparam);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    WNDCLASSW window_class{};
    window_class.lpfnWndProc = FloorProc;
    window_class.hInstance = instance;
    window_class.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    window_class.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    window_class.lpszClassName = L"KestrowinFloor";
    if (RegisterClassW(&window_class) == 0) return 1;
    HWND window = CreateWindowExW(0, L"KestrowinFloor", L"Kestrowin Floor", WS_CAPTION | WS_SYSMENU,
                                  CW_USEDEFAULT, CW_USEDEFAULT, 536, 429, nullptr, nullptr, instance,
                                  nullptr);
    if (window == nullptr) return 1;
    ShowWindow(window, SW_SHOW);
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return 0;
}
