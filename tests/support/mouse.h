// Clicks as a person makes them: the cursor moved to a point of the screen and the left button
// pressed and released through SendInput, so the system decides what the window gets.
#pragma once

#include <windows.h>

// Clicks `times` times in a row at this point of the screen.
inline void clickAt(POINT screen, int times = 1) {
    SetCursorPos(screen.x, screen.y);
    for (int i = 0; i < times; ++i) {
        INPUT press[2] = {};
        press[0].type = press[1].type = INPUT_MOUSE;
        press[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
        press[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
        SendInput(2, press, sizeof(INPUT));
    }
}

// The middle of a window, in screen coordinates.
inline POINT middleOf(HWND hwnd) {
    RECT r{};
    GetWindowRect(hwnd, &r);
    return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}
