// The window procedure: window creation and destruction in their fixed order, and the dispatch
// of keys, commands and timer ticks to their handlers. Every message handled here returns 0;
// everything else goes to DefWindowProcA unchanged.
#include "app/main_window.h"

#include "app/app_state.h"
#include "tuner/tuner.h"

namespace {

LRESULT onCreate(HWND window) {
    if (!openTuner(window)) {
        return 0; // the window is already destroyed; creation yields no window
    }
    app.gdiReady = 1;
    return 0;
}

void deleteGdiObjects() {
    DeleteObject(app.brushBar);
    DeleteObject(app.brushRed);
    DeleteObject(app.brushGreen);
    DeleteObject(app.brushFrame);
    DeleteObject(app.fontDigits);
    DeleteObject(app.fontEdit);
    DeleteObject(app.fontText);
    if (app.fontList != nullptr) {
        DeleteObject(app.fontList);
    }
}

LRESULT onDestroy(HWND window) {
    if (app.timersOn == 1) {
        KillTimer(window, ANNOUNCE_TIMER);
    }
    KillTimer(window, POLL_TIMER);
    if (app.gdiReady == 1) {
        deleteGdiObjects();
    }
    releaseTuner();
    PostQuitMessage(0);
    return 0;
}

LRESULT onKeyDown(HWND window, WPARAM key) {
    if (key == VK_ESCAPE) {
        DestroyWindow(window);
    }
    return 0;
}

LRESULT onTimer(WPARAM timerId) {
    switch (timerId) {
    default:
        break;
    }
    return 0;
}

} // namespace

LRESULT CALLBACK mainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CREATE:
        return onCreate(window);
    case WM_DESTROY:
        return onDestroy(window);
    case WM_KEYDOWN:
        return onKeyDown(window, wParam);
    case WM_TIMER:
        return onTimer(wParam);
    default:
        return DefWindowProcA(window, message, wParam, lParam);
    }
}
