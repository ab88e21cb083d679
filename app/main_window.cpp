// The window procedure: window creation and destruction in their fixed order, and the dispatch
// of keys, commands and timer ticks to their handlers. Every message handled here returns 0;
// everything else goes to DefWindowProcA unchanged.
#include "app/main_window.h"

#include "app/app_state.h"
#include "app/layout.h"
#include "app/painting.h"
#include "app/switches.h"
#include "satlist/satellite_list.h"
#include "tuner/signal_monitor.h"
#include "tuner/tuner.h"
#include "voice/announcer.h"
#include "voice/sound.h"
#include "wizard/wizard.h"

namespace {

LRESULT onCreate(HWND window) {
    if (!openTuner(window)) {
        return 0; // the window is already destroyed; creation yields no window
    }
    createBrushes();
    createLayout(window);
    createControls(window);
    ensureListFile(window);
    if (app.noList == 0) {
        loadListBox(window);
    }
    createFonts();
    showStartControls();
    openSoundDevice(window);
    loadClipBank();
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
    releaseClipBank();
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

// Commands of the controls that have a handler; false for the others.
bool onCommand(WORD id, WORD code) {
    switch (id) {
    case ID_FIND_BUTTON:
        onFindNext(code);
        return true;
    case ID_BACK_BUTTON:
        onBack(code);
        return true;
    case ID_MODE_BUTTON:
        onModeButton(code);
        return true;
    case ID_ABOUT_BUTTON:
        showAbout(code);
        return true;
    case ID_FLAG_STATIC:
        toggleLanguage(code);
        return true;
    case ID_SOUND_STATIC:
        toggleVoiceMode(code);
        return true;
    default:
        return false;
    }
}

LRESULT onDoubleClick() {
    if (app.step == STEP_MEASURING) {
        toggleCompactView();
    }
    return 0;
}

LRESULT onTimer(WPARAM timerId) {
    switch (timerId) {
    case POLL_TIMER:
        pollTick();
        break;
    case ANNOUNCE_TIMER:
        announceTick();
        break;
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
    case WM_PAINT:
        paintWindow(window);
        return 0;
    case WM_KEYDOWN:
        return onKeyDown(window, wParam);
    case WM_COMMAND:
        if (onCommand(LOWORD(wParam), HIWORD(wParam))) {
            return 0;
        }
        return DefWindowProcA(window, message, wParam, lParam);
    case WM_TIMER:
        return onTimer(wParam);
    case WM_LBUTTONDBLCLK:
        return onDoubleClick();
    default:
        return DefWindowProcA(window, message, wParam, lParam);
    }
}
