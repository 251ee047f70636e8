// Process-level services: hardening of library loading at start, pauses and the end of the process.
#include "platform/system.h"
#include "platform/win32/win32_internal.h"

namespace plat {

void StartProcess() {
    using SetDefaultDllDirectoriesFunction = BOOL(WINAPI*)(DWORD);
    using SetProcessDpiAwareFunction = BOOL(WINAPI*)();

    // A setup program usually runs from the Downloads folder, where anyone may have dropped a DLL named like
    // a system one. From here on, libraries the system loads for us come from System32 only.
    // (Windows 7 has this only with update KB2533623; without it the next line still helps.)
    if (auto restrict_search = win32::SystemFunction<SetDefaultDllDirectoriesFunction>(
            L"kernel32.dll", "SetDefaultDllDirectories")) {
        restrict_search(LOAD_LIBRARY_SEARCH_SYSTEM32);
    }
    // Takes the current directory out of the search order for loads that still use the old order.
    SetDllDirectoryW(L"");
    // The system's controls and themes load these on their own, by name, when they first draw, and not
    // every loader applies the restriction above to such loads (Wine searches the program's folder for
    // them). Once a DLL is loaded, a load by name takes the loaded one.
    for (const wchar_t* name : {L"uxtheme.dll", L"dwmapi.dll", L"msimg32.dll"}) {
        LoadLibraryExW(name, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
    }

    // Unaware, the program would be drawn at 96 DPI and stretched by the system, blurred; aware of the
    // system's DPI, it scales its own layout, font and pictures once and draws them sharp. The manifest
    // says the same; this covers a loader that does not read it.
    auto set_aware = win32::SystemFunction<SetProcessDpiAwareFunction>(L"user32.dll", "SetProcessDPIAware");
    if (set_aware != nullptr) set_aware();
}

void Pause(int ms) { Sleep(ms > 0 ? static_cast<DWORD>(ms) : 0); }

void ExitProcess(int code) { ::ExitProcess(static_cast<UINT>(code)); }

}  // namespace plat
