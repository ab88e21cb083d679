// Linux-only test hook, not Win32: reports every TextOutA and DrawTextA call made on a device
// context, with the bytes, the count, the place, the format and the DC's state at that moment,
// so tests can check what a window draws without depending on the fonts installed. Never
// included by the program.
#pragma once

#include <windows.h>

enum VintorelTextFunction { VINTOREL_TEXT_OUT = 1, VINTOREL_DRAW_TEXT = 2 };

typedef struct VintorelTextCall {
    HWND window;      // the window the DC paints, NULL for a DC of no window
    int function;     // VINTOREL_TEXT_OUT or VINTOREL_DRAW_TEXT
    const char *text; // the bytes as passed; valid only during the callback
    int count;        // the count as passed (-1 for a terminated string)
    int length;       // the number of bytes the call takes from text
    int x, y;         // TextOutA: the reference point; DrawTextA: the rectangle's top left
    RECT rect;        // DrawTextA: the rectangle as passed; TextOutA: all zero
    UINT format;      // DrawTextA: the DT_* flags; TextOutA: 0
    LOGFONTA font;    // the selected font's description
    COLORREF textColor;
    COLORREF bkColor;
    int bkMode; // OPAQUE or TRANSPARENT
} VintorelTextCall;

typedef void (*VintorelTextRecorder)(void *context, const VintorelTextCall *call);

// While a recorder is installed, it is called before each text call is drawn. Pass NULL to stop.
VINTOREL_WIN32_API void VintorelSetTextRecorder(VintorelTextRecorder recorder, void *context);
