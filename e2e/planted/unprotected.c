/* The control of the planting test: a program without the installer's protections that loads each DLL
   named on its command line by name alone, the way the system's own DLLs load theirs by default. Started
   from the folder of planted DLLs it must pick those up, or the test could not tell a protected program
   from one the planted DLLs never reach. */
#include <windows.h>

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE previous, LPWSTR command_line, int show) {
    (void)instance;
    (void)previous;
    (void)show;
    int count = 0;
    LPWSTR* names = CommandLineToArgvW(command_line, &count);
    int loaded = 0;
    for (int i = 0; names != NULL && i < count; ++i) {
        if (LoadLibraryW(names[i]) != NULL) ++loaded;
    }
    return loaded;
}
