// Linux-only test hook, not Win32: answers message boxes instead of showing them, so tests can
// drive every branch that asks the user. Never included by the program.
#pragma once

#include <windows.h>

// While an answerer is installed, MessageBoxA calls it instead of showing a dialog and returns
// what it returns (IDOK, IDYES, IDNO, ...). Pass NULL to show real dialogs again.
typedef int (*VintorelMessageBoxAnswerer)(void *context, HWND owner, const char *text,
                                          const char *caption, UINT type);
VINTOREL_WIN32_API void VintorelSetMessageBoxAnswerer(VintorelMessageBoxAnswerer answerer,
                                                      void *context);
