// The process entry on Linux: starts the platform (the Qt application), then calls the
// program's WinMain with the executable's instance, no previous instance, an empty command
// line and the normal show state, and returns its result as the exit code.
#include <windows.h>

#include "vintorel_platform.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous, LPSTR commandLine, int showCommand);

int main(int argc, char **argv) {
    VintorelPlatformStart(&argc, argv);
    char empty[] = "";
    return WinMain(GetModuleHandleA(nullptr), nullptr, empty, SW_SHOWNORMAL);
}
