// Linux-only services of the platform layer that are not Win32: starting the platform in a
// process (the process entry does this before WinMain) and the one test hook, which answers
// message boxes instead of showing them. Never included by the program.
#pragma once

#include <windows.h>

// Creates the Qt application for this process (once); argc/argv as given to main.
VINTOREL_WIN32_API void VintorelPlatformStart(int *argc, char **argv);

// While an answerer is installed, MessageBoxA calls it instead of showing a dialog and returns
// what it returns (IDOK, IDYES, IDNO, ...). Pass NULL to show real dialogs again.
typedef int (*VintorelMessageBoxAnswerer)(void *context, HWND owner, const char *text,
                                          const char *caption, UINT type);
VINTOREL_WIN32_API void VintorelSetMessageBoxAnswerer(VintorelMessageBoxAnswerer answerer,
                                                      void *context);
