// Linked beside floor.cpp, it makes the floor import at start-up every system DLL the installer uses (the
// installer itself loads most of them later, on first use), and the target adds the installer's resources
// (whose manifest asks for the version 6 common controls): the floor plus what loading those DLLs alone
// costs at start and in memory. Nothing here is called.
#include <windows.h>
#include <commctrl.h>
#include <mmsystem.h>
#include <objbase.h>
#include <shellapi.h>

// Kept by the link (-Wl,--undefined), so that the loader must load each DLL before the entry point runs.
extern "C" const void* const kw_floor_imports[] = {
    reinterpret_cast<const void*>(&InitCommonControlsEx), reinterpret_cast<const void*>(&CoTaskMemFree),
    reinterpret_cast<const void*>(&SHGetFileInfoW), reinterpret_cast<const void*>(&timeGetTime)};
