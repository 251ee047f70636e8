#include <windows.h>

#include "engine3d.h"

namespace {

const wchar_t kWindowClass[] = L"KestrowinTable";
const wchar_t kTitle[] = L"Kestrowin";

E3DBall g_balls[E3D_RACK_BALLS];
int g_ballCount = 0;

// Paints into an off-screen bitmap first: drawing rails, cloth and sixteen balls straight onto the window
// flickers visibly while it is being resized.
void Paint(HWND window) {
    PAINTSTRUCT ps;
    HDC screen = BeginPaint(window, &ps);
    RECT client;
    GetClientRect(window, &client);
    const int w = client.right - client.left;
    const int h = client.bottom - client.top;
    if (w > 0 && h > 0) {
        HDC memory = CreateCompatibleDC(screen);
        HBITMAP bitmap = CreateCompatibleBitmap(screen, w, h);
        HGDIOBJ oldBitmap = SelectObject(memory, bitmap);

        HBRUSH backdrop = CreateSolidBrush(RGB(32, 28, 26));
        FillRect(memory, &client, backdrop);
        DeleteObject(backdrop);

        RECT table = {client.left + 16, client.top + 16, client.right - 16, client.bottom - 16};
        E3D_DrawTable(memory, &table);
        E3D_DrawBalls(memory, &table, g_balls, g_ballCount);

        BitBlt(screen, 0, 0, w, h, memory, 0, 0, SRCCOPY);
        SelectObject(memory, oldBitmap);
        DeleteObject(bitmap);
        DeleteDC(memory);
    }
    EndPaint(window, &ps);
}

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_PAINT:
        Paint(window);
        return 0;
    case WM_ERASEBKGND:
        return 1;
    case WM_SIZE:
        InvalidateRect(window, nullptr, FALSE);
        return 0;
    case WM_GETMINMAXINFO: {
        MINMAXINFO* limits = reinterpret_cast<MINMAXINFO*>(lParam);
        limits->ptMinTrackSize.x = 400;
        limits->ptMinTrackSize.y = 260;
        return 0;
    }
    case WM_KEYDOWN:
        if (wParam == VK_ESCAPE) DestroyWindow(window);
        return 0;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    default:
        return DefWindowProcW(window, message, wParam, lParam);
    }
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int show) {
    if (E3D_ApiVersion() != E3D_API_VERSION) {
        MessageBoxW(nullptr, L"Engine3D.dll does not match this version of Kestrowin. Please reinstall the game.",
                    kTitle, MB_OK | MB_ICONERROR);
        return 1;
    }
    g_ballCount = E3D_RackBalls(g_balls, E3D_RACK_BALLS);

    WNDCLASSEXW wc = {};
    wc.cbSize = sizeof wc;
    wc.style = CS_HREDRAW | CS_VREDRAW;
    wc.lpfnWndProc = WindowProc;
    wc.hInstance = instance;
    wc.hIcon = LoadIconW(nullptr, IDI_APPLICATION);
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.lpszClassName = kWindowClass;
    if (!RegisterClassExW(&wc)) return 1;

    RECT frame = {0, 0, 1000, 560};
    AdjustWindowRect(&frame, WS_OVERLAPPEDWINDOW, FALSE);
    HWND window = CreateWindowExW(0, kWindowClass, kTitle, WS_OVERLAPPEDWINDOW, CW_USEDEFAULT, CW_USEDEFAULT,
                                  frame.right - frame.left, frame.bottom - frame.top, nullptr, nullptr, instance,
                                  nullptr);
    if (!window) return 1;
    ShowWindow(window, show);
    UpdateWindow(window);

    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return static_cast<int>(msg.wParam);
}
