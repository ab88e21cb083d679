// Linux-only test hook, not Win32: reads one pixel of a bitmap, so tests can check the pictures
// the resource loader made (the subset has no GetDIBits or memory device contexts). Never
// included by the program.
#pragma once

#include <windows.h>

// The colour of pixel (x, y) of a bitmap, counted from the top left as on screen; CLR_INVALID
// for a handle that is not a bitmap or a point outside it.
VINTOREL_WIN32_API COLORREF WINAPI VintorelBitmapPixel(HBITMAP bitmap, int x, int y);
