// Keyboard focus and window activation with Windows' rules: SetFocus activates the window's
// top-level window first (its WM_ACTIVATE, whose DefWindowProc focuses the window itself);
// WM_KILLFOCUS and WM_SETFOCUS are sent; a disabled or minimised window cannot take the focus;
// Qt's activation of a window (the user coming back to it) is a Win32 activation only when the
// window was not active already. The layer's focus is the truth: Qt's keyboard focus is put
// where the keys must go (syncQtFocus), and a click gives a control the focus only because
// Windows' controls take it on the button press.
// Not implemented: activation of another window when the active one is hidden or destroyed,
// WM_NCACTIVATE, WM_MOUSEACTIVATE, WM_ACTIVATEAPP, focus hooks.
#include "user32/window_manager.h"
#include "vintorel_trace.h"

#include <QApplication>
#include <QGuiApplication>

using namespace vintorel::user32;

namespace {

WindowManager &wm() {
    return WindowManager::instance();
}

// Changes the focus window and sends the messages, as Windows' set_focus_window does.
HWND setFocusWindow(HWND hwnd) {
    const HWND previous = wm().find(wm().focus) ? wm().focus : nullptr;
    if (previous == hwnd) {
        return previous;
    }
    wm().focus = hwnd;
    syncQtFocus();
    if (WindowObject *old = wm().find(previous)) {
        callProc(old, WM_KILLFOCUS, reinterpret_cast<WPARAM>(hwnd), 0);
        if (wm().focus != hwnd) {
            return previous; // changed by the message
        }
    }
    if (WindowObject *wnd = wm().find(hwnd)) {
        callProc(wnd, WM_SETFOCUS, reinterpret_cast<WPARAM>(previous), 0);
    }
    return previous;
}

// Whether the window shows as far as its top-level window, which itself may still be hidden.
bool showsInItsWindow(const WindowObject *wnd) {
    for (; wnd != nullptr && wnd->isChild(); wnd = wm().find(wnd->parent)) {
        if (!(wnd->style & WS_VISIBLE) || (wnd->style & WS_DISABLED)) {
            return false;
        }
    }
    return wnd != nullptr;
}

} // namespace

namespace vintorel::user32 {

HWND topLevelOf(HWND hwnd) {
    WindowObject *wnd = wm().find(hwnd);
    while (wnd != nullptr && wnd->isChild()) {
        wnd = wm().find(wnd->parent);
    }
    return wnd ? wnd->handle : nullptr;
}

bool isSelfOrChild(HWND ancestor, HWND hwnd) {
    for (WindowObject *wnd = wm().find(hwnd); wnd != nullptr; wnd = wm().find(wnd->parent)) {
        if (wnd->handle == ancestor) {
            return true;
        }
        if (!wnd->isChild()) {
            break;
        }
    }
    return false;
}

void syncQtFocus() {
    if (qobject_cast<QApplication *>(QCoreApplication::instance()) == nullptr) {
        return;
    }
    WindowObject *focus = wm().find(wm().focus);
    QWidget *target = nullptr;
    if (focus != nullptr && focus->widget && showsInItsWindow(focus)) {
        target = focus->widget;
    } else if (focus != nullptr) {
        // A hidden focus window still gets the keys: its top-level window passes them on.
        target = widgetOf(topLevelOf(focus->handle));
    } else {
        // Nothing has the focus: the active window gets the keys as system keys.
        target = widgetOf(wm().active);
    }
    if (target == nullptr) {
        return;
    }
    QWidget *top = target->window();
    if (top->focusWidget() != target || (top->isActiveWindow() && !target->hasFocus())) {
        target->setFocus(Qt::OtherFocusReason);
    }
}

void activateWindow(HWND top, bool byClick, bool takeFocus) {
    const HWND previous = wm().find(wm().active) ? wm().active : nullptr;
    if (previous == top) {
        return;
    }
    if (WindowObject *old = wm().find(previous)) {
        callProc(old, WM_ACTIVATE, MAKEWPARAM(WA_INACTIVE, (old->style & WS_MINIMIZE) ? 1 : 0),
                 reinterpret_cast<LPARAM>(top));
    }
    wm().active = top;
    if (WindowObject *wnd = wm().find(top)) {
        callProc(
            wnd, WM_ACTIVATE,
            MAKEWPARAM(byClick ? WA_CLICKACTIVE : WA_ACTIVE, (wnd->style & WS_MINIMIZE) ? 1 : 0),
            reinterpret_cast<LPARAM>(previous));
    }
    if (takeFocus && wm().active == top) {
        const HWND focus = wm().find(wm().focus) ? wm().focus : nullptr;
        if (focus == nullptr || top == nullptr || topLevelOf(focus) != top) {
            setFocusWindow(top);
        }
    }
    syncQtFocus();
}

void onQtActivated(HWND top) {
    if (wm().active != top) {
        activateWindow(top, QGuiApplication::mouseButtons() != Qt::NoButton, true);
    }
    // Before Qt gives the keys back to the widget that last had them in this window.
    syncQtFocus();
}

void onQtDeactivated(HWND top) {
    if (wm().active == top) {
        activateWindow(nullptr, false, true);
    }
}

} // namespace vintorel::user32

extern "C" {

HWND WINAPI SetFocus(HWND hwnd) {
    VINTOREL_TRACE(USER32, "SetFocus %p", static_cast<void *>(hwnd));
    const HWND previous = wm().find(wm().focus) ? wm().focus : nullptr;
    if (hwnd == nullptr) {
        return previous != nullptr ? setFocusWindow(nullptr) : nullptr;
    }
    if (wm().find(hwnd) == nullptr) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return nullptr;
    }
    if (hwnd == previous) {
        return previous;
    }
    for (WindowObject *wnd = wm().find(hwnd); wnd != nullptr; wnd = wm().find(wnd->parent)) {
        if (wnd->style & (WS_MINIMIZE | WS_DISABLED)) {
            return nullptr;
        }
        if (!wnd->isChild()) {
            break;
        }
    }
    const HWND top = topLevelOf(hwnd);
    if (top != wm().active) {
        activateWindow(top, false, false);
        if (wm().find(hwnd) == nullptr || wm().active != top) {
            return nullptr;
        }
    }
    return setFocusWindow(hwnd);
}

HWND WINAPI GetFocus(void) {
    return wm().find(wm().focus) ? wm().focus : nullptr;
}

HWND WINAPI GetActiveWindow(void) {
    return wm().find(wm().active) ? wm().active : nullptr;
}

} // extern "C"
