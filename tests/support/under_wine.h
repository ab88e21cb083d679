// Whether a test built for Windows runs on Wine, which differs from Windows in a few points the
// tests name where they check them. Always false on Linux.
#pragma once

#include <windows.h>

inline bool underWine() {
#ifdef _WIN32
    const HMODULE ntdll = GetModuleHandleA("ntdll.dll");
    return ntdll != nullptr && GetProcAddress(ntdll, "wine_get_version") != nullptr;
#else
    return false;
#endif
}
