// The platform layer's one service that is not Win32: starting it in a process, which the
// process entry does before WinMain and a test's main before its tests. Never included by the
// program.
#pragma once

#include <windows.h>

// Creates the Qt application for this process (once), registers the built-in window classes
// and in-process servers; argc/argv as given to main.
VINTOREL_WIN32_API void VintorelPlatformStart(int *argc, char **argv);
