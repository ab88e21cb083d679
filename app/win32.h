// The one header through which the program reaches the Win32 API: the system's headers on
// Windows, the platform layer's headers of the same names elsewhere.
#pragma once

#include <windows.h>

#include <commctrl.h>
#include <dshow.h>
#include <dsound.h>
#include <mmreg.h>
#include <objbase.h>
