// Win32 subset for Linux: the common controls the program uses (comctl32): the up-down control
// made by CreateUpDownControl, with its styles and messages, and InitCommonControls.
// Implemented in platform/comctl32. Not implemented: every other common control.
#pragma once

#include <windows.h>

#define UPDOWN_CLASSA "msctls_updown32"

#define UDS_WRAP 0x0001
#define UDS_SETBUDDYINT 0x0002
#define UDS_ALIGNRIGHT 0x0004
#define UDS_ALIGNLEFT 0x0008
#define UDS_AUTOBUDDY 0x0010
#define UDS_ARROWKEYS 0x0020
#define UDS_HORZ 0x0040
#define UDS_NOTHOUSANDS 0x0080
#define UDS_HOTTRACK 0x0100

#define UDM_SETRANGE (WM_USER + 101)
#define UDM_GETRANGE (WM_USER + 102)
#define UDM_SETPOS (WM_USER + 103)
#define UDM_GETPOS (WM_USER + 104)
#define UDM_SETBUDDY (WM_USER + 105)
#define UDM_GETBUDDY (WM_USER + 106)
#define UDM_SETRANGE32 (WM_USER + 111)
#define UDM_GETRANGE32 (WM_USER + 112)
#define UDM_SETPOS32 (WM_USER + 113)
#define UDM_GETPOS32 (WM_USER + 114)

#define UD_MAXVAL 0x7fff
#define UD_MINVAL (-UD_MAXVAL)

VINTOREL_WIN32_API void WINAPI InitCommonControls(void);
VINTOREL_WIN32_API HWND WINAPI CreateUpDownControl(DWORD style, int x, int y, int cx, int cy,
                                                   HWND parent, int id, HINSTANCE instance,
                                                   HWND buddy, int upper, int lower, int pos);
