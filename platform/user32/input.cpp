// Mouse and keyboard input as Windows has it: a press becomes WM_LBUTTONDBLCLK instead of
// WM_LBUTTONDOWN only for a window whose class has CS_DBLCLKS, when it is the second press on the
// same window within the double-click time and a few pixels of the first (and the third press
// starts over); the cursor position (SetCursorPos/GetCursorPos) and SendInput with left-button,
// move and key events, which Qt then delivers as if a person had clicked or typed: a press
// activates an inactive window and gives the focus to a control that takes it on a click; keys
// go to the widget that has the keys in the active window.
// SetCapture sends the mouse messages to one window until ReleaseCapture or another SetCapture,
// which tell it by WM_CAPTURECHANGED, or until it is destroyed.
// Not implemented: other buttons, the wheel, modifier state and scan codes in SendInput, capture
// over other programs' windows, swapped buttons, changing the double-click time.
#include "user32/host_widget.h"
#include "user32/window_manager.h"

#include <QApplication>
#include <QCursor>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPointer>
#include <QScreen>

#include <chrono>
#include <cstdlib>

namespace vintorel::user32 {

namespace {

constexpr UINT kDoubleClickTime = 500; // Windows' default, in milliseconds
constexpr int kDoubleClickSize = 4;    // SM_CXDOUBLECLK / SM_CYDOUBLECLK

// The press a second one may make a double-click with.
struct LastPress {
    HWND hwnd = nullptr;
    QPointF at;
    std::chrono::steady_clock::time_point time;
};

LastPress &lastPress() {
    static LastPress press;
    return press;
}

bool guiReady() {
    return qobject_cast<QApplication *>(QCoreApplication::instance()) != nullptr;
}

} // namespace

QPoint primaryOrigin() {
    if (qobject_cast<QGuiApplication *>(QCoreApplication::instance()) != nullptr) {
        if (const QScreen *screen = QGuiApplication::primaryScreen()) {
            return screen->geometry().topLeft();
        }
    }
    return QPoint(0, 0);
}

UINT buttonDownMessage(HWND hwnd, const QPointF &global) {
    LastPress &last = lastPress();
    const auto now = std::chrono::steady_clock::now();
    const WindowObject *wnd = WindowManager::instance().find(hwnd);
    const bool wantsDoubleClicks = wnd != nullptr && wnd->cls && (wnd->cls->style & CS_DBLCLKS);
    if (wantsDoubleClicks && last.hwnd == hwnd &&
        now - last.time < std::chrono::milliseconds(kDoubleClickTime) &&
        std::abs(global.x() - last.at.x()) < kDoubleClickSize / 2 &&
        std::abs(global.y() - last.at.y()) < kDoubleClickSize / 2) {
        last = LastPress{};
        return WM_LBUTTONDBLCLK;
    }
    last = LastPress{hwnd, global, now};
    return WM_LBUTTONDOWN;
}

} // namespace vintorel::user32

using namespace vintorel::user32;

namespace {

POINT &cursor() {
    static POINT position{};
    return position;
}

// The widget under a point of the screen and the point in its coordinates, found through the
// windows' own rectangles (the newest top-level window first), so that it does not depend on
// where a window manager put the frame. Null outside every client area.
QWidget *widgetAt(POINT screen, QPoint *local) {
    const std::vector<HWND> tops = WindowManager::instance().topLevels();
    for (auto it = tops.rbegin(); it != tops.rend(); ++it) {
        WindowObject *wnd = WindowManager::instance().find(*it);
        if (wnd == nullptr || !(wnd->style & WS_VISIBLE) || wnd->widget == nullptr) {
            continue;
        }
        const RECT &r = wnd->windowRect;
        if (screen.x < r.left || screen.x >= r.right || screen.y < r.top || screen.y >= r.bottom) {
            continue;
        }
        POINT client = screen;
        ScreenToClient(*it, &client);
        const QPoint inClient(client.x, client.y);
        if (!QRect(0, 0, wnd->clientWidth(), wnd->clientHeight()).contains(inClient)) {
            return nullptr; // the frame or the caption
        }
        QWidget *top = wnd->widget;
        if (QWidget *child = top->childAt(inClient)) {
            *local = child->mapFrom(top, inClient);
            return child;
        }
        *local = inClient;
        return top;
    }
    return nullptr;
}

void sendButton(QEvent::Type type, QWidget *target, QPoint local) {
    const Qt::MouseButtons held =
        type == QEvent::MouseButtonPress ? Qt::MouseButtons(Qt::LeftButton) : Qt::NoButton;
    QMouseEvent event(type, QPointF(local), target->mapToGlobal(QPointF(local)), Qt::LeftButton,
                      held, QGuiApplication::keyboardModifiers());
    QApplication::sendEvent(target, &event);
}

// What a press does before the widget sees it: the window under it is activated when it is
// not the active one (WA_CLICKACTIVE), and the first widget from the one pressed up to its window
// that takes the focus on a click gets it, as Qt gives it on a person's click.
void pressEffects(QWidget *target, QPoint local) {
    const HWND top = topLevelOf(hwndOfWidget(target));
    if (top != nullptr && GetActiveWindow() != top) {
        if (QWidget *window = widgetOf(top)) {
            window->activateWindow();
        }
        activateWindow(top, true, true);
    }
    for (QWidget *w = target; w != nullptr; w = w->parentWidget()) {
        if (w->isEnabled() && (w->focusPolicy() & Qt::ClickFocus) == Qt::ClickFocus &&
            w->rect().contains(local)) {
            w->setFocus(Qt::MouseFocusReason);
            break;
        }
        if (w->isWindow() || w->hasFocus()) {
            break;
        }
        local += w->pos();
    }
}

// A key typed: to the widget that has the keys in the active window.
void sendKey(const KEYBDINPUT &ki) {
    const bool up = (ki.dwFlags & KEYEVENTF_KEYUP) != 0;
    QString text;
    if ((ki.wVk >= '0' && ki.wVk <= '9') || ki.wVk == VK_SPACE || ki.wVk == VK_ESCAPE ||
        ki.wVk == VK_RETURN || ki.wVk == VK_BACK) {
        text = QChar(ki.wVk == VK_RETURN ? u'\r' : static_cast<char16_t>(ki.wVk));
    } else if (ki.wVk >= 'A' && ki.wVk <= 'Z') {
        text = QChar(static_cast<char16_t>(ki.wVk - 'A' + 'a'));
    }
    QWidget *window = widgetOf(GetActiveWindow());
    QWidget *target = window ? (window->focusWidget() ? window->focusWidget() : window)
                             : QApplication::focusWidget();
    if (target == nullptr) {
        return;
    }
    QKeyEvent event(up ? QEvent::KeyRelease : QEvent::KeyPress, qtKeyFromVirtualKey(ki.wVk),
                    QGuiApplication::keyboardModifiers(), text);
    QApplication::sendEvent(target, &event);
}

// The widget that took the last press gets the release, wherever the cursor is then.
QPointer<QWidget> &pressedWidget() {
    static QPointer<QWidget> widget;
    return widget;
}

} // namespace

extern "C" {

HWND WINAPI SetCapture(HWND hwnd) {
    WindowManager &manager = WindowManager::instance();
    const HWND previous = GetCapture();
    if (manager.find(hwnd) == nullptr) {
        return previous;
    }
    manager.capture = hwnd;
    if (previous != nullptr && previous != hwnd) {
        SendMessageA(previous, WM_CAPTURECHANGED, 0, reinterpret_cast<LPARAM>(hwnd));
    }
    return previous;
}

BOOL WINAPI ReleaseCapture(void) {
    const HWND previous = GetCapture();
    WindowManager::instance().capture = nullptr;
    if (previous != nullptr) {
        SendMessageA(previous, WM_CAPTURECHANGED, 0, 0);
    }
    return TRUE;
}

HWND WINAPI GetCapture(void) {
    WindowManager &manager = WindowManager::instance();
    return manager.find(manager.capture) ? manager.capture : nullptr;
}

UINT WINAPI GetDoubleClickTime(void) {
    return kDoubleClickTime;
}

BOOL WINAPI GetCursorPos(LPPOINT point) {
    if (point == nullptr) {
        return FALSE;
    }
    *point = cursor();
    return TRUE;
}

BOOL WINAPI SetCursorPos(int x, int y) {
    cursor() = POINT{x, y};
    if (guiReady()) {
        QCursor::setPos(primaryOrigin() + QPoint(x, y));
    }
    return TRUE;
}

UINT WINAPI SendInput(UINT count, LPINPUT inputs, int size) {
    if (inputs == nullptr || size != static_cast<int>(sizeof(INPUT))) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    UINT done = 0;
    for (; done < count; ++done) {
        const INPUT &input = inputs[done];
        if (input.type == INPUT_KEYBOARD) {
            if (guiReady()) {
                sendKey(input.ki);
            }
            continue;
        }
        if (input.type != INPUT_MOUSE) {
            break;
        }
        const MOUSEINPUT &mi = input.mi;
        if (mi.dwFlags & MOUSEEVENTF_MOVE) {
            if (mi.dwFlags & MOUSEEVENTF_ABSOLUTE) {
                // Normalised coordinates: 0..65535 across the primary monitor.
                const auto scale = [](LONG v, int extent) {
                    return static_cast<int>((static_cast<long long>(v) * extent) / 65536);
                };
                SetCursorPos(scale(mi.dx, GetSystemMetrics(SM_CXSCREEN)),
                             scale(mi.dy, GetSystemMetrics(SM_CYSCREEN)));
            } else {
                SetCursorPos(cursor().x + mi.dx, cursor().y + mi.dy);
            }
        }
        if (!guiReady()) {
            continue;
        }
        if (mi.dwFlags & MOUSEEVENTF_LEFTDOWN) {
            QPoint local;
            if (QWidget *target = widgetAt(cursor(), &local)) {
                pressedWidget() = target;
                pressEffects(target, local);
                if (pressedWidget()) { // unless activation destroyed it
                    sendButton(QEvent::MouseButtonPress, pressedWidget(), local);
                }
            }
        }
        if (mi.dwFlags & MOUSEEVENTF_LEFTUP) {
            QPoint local;
            QWidget *under = widgetAt(cursor(), &local);
            QWidget *target = pressedWidget() ? pressedWidget().data() : under;
            pressedWidget() = nullptr;
            if (target != nullptr) {
                if (target != under) {
                    const POINT at = cursor();
                    local = target->mapFromGlobal(primaryOrigin() + QPoint(at.x, at.y));
                }
                sendButton(QEvent::MouseButtonRelease, target, local);
            }
        }
    }
    return done;
}

} // extern "C"
