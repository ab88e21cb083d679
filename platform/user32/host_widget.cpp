// HostWidget: Qt events of a program window turned into posted window messages (mouse with
// client coordinates, double-clicks by Windows' rule and only for CS_DBLCLKS classes, keys to
// the focus window, or as WM_SYSKEYDOWN/WM_SYSKEYUP to the active window when nothing has the
// focus, the close box as WM_SYSCOMMAND/SC_CLOSE) and Qt's activation into Win32's. A click
// takes no focus: the window gets it from activation or SetFocus, as on Windows.
// While a window has the mouse captured (SetCapture) the mouse messages go to it, in its client
// coordinates. Painting copies the window's backing image and notes what the screen now shows.
// Not handled: non-client mouse messages, WM_CHAR from input methods, wheel and right-button
// messages.
#include "user32/host_widget.h"

#include "user32/window_manager.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

namespace vintorel::user32 {

HostWidget::HostWidget(HWND hwnd, QWidget *parent) : QWidget(parent), hwnd_(hwnd) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::NoFocus);
    setProperty("vintorelHwnd", QVariant::fromValue(reinterpret_cast<quintptr>(hwnd)));
}

void HostWidget::paintEvent(QPaintEvent *event) {
    WindowObject *wnd = WindowManager::instance().find(hwnd_);
    if (wnd == nullptr || wnd->backing.isNull()) {
        return;
    }
    QPainter painter(this);
    painter.drawImage(event->rect(), wnd->backing, event->rect());
    // Qt painted only the event's region. What the screen shows is known again after a paint
    // of the whole image, and kept up to date by every paint after it.
    if (wnd->shown.size() != wnd->backing.size()) {
        const bool whole = (QRegion(wnd->backing.rect()) - event->region()).isEmpty();
        wnd->shown = whole ? wnd->backing.copy() : QImage();
        return;
    }
    for (const QRect &r : event->region()) {
        copyPixels(wnd->shown, wnd->backing, r & wnd->backing.rect());
    }
}

bool HostWidget::ownsPoint(const QPoint &pos) const {
    return childAt(pos) == nullptr;
}

namespace {

WPARAM mouseKeys(const QMouseEvent *event) {
    WPARAM keys = 0;
    if (event->buttons() & Qt::LeftButton) {
        keys |= MK_LBUTTON;
    }
    return keys;
}

void postTo(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    PostMessageA(hwnd, msg, wParam, lParam);
}

} // namespace

bool HostWidget::mouseTarget(const QMouseEvent *event, HWND *target, LPARAM *point) const {
    const HWND capture = GetCapture();
    if (capture != nullptr && capture != hwnd_) {
        QWidget *widget = widgetOf(capture);
        if (widget == nullptr) {
            return false;
        }
        *target = capture;
        *point = pointParam(widget->mapFromGlobal(event->globalPosition()).toPoint());
        return true;
    }
    *target = hwnd_;
    *point = pointParam(event->position().toPoint());
    return capture == hwnd_ || ownsPoint(event->position().toPoint());
}

void HostWidget::mousePressEvent(QMouseEvent *event) {
    HWND target = nullptr;
    LPARAM point = 0;
    if (event->button() == Qt::LeftButton && mouseTarget(event, &target, &point)) {
        postTo(target, buttonDownMessage(target, event->globalPosition()), mouseKeys(event), point);
    }
    event->accept();
}

void HostWidget::mouseReleaseEvent(QMouseEvent *event) {
    HWND target = nullptr;
    LPARAM point = 0;
    if (event->button() == Qt::LeftButton && mouseTarget(event, &target, &point)) {
        postTo(target, WM_LBUTTONUP, mouseKeys(event), point);
    }
    event->accept();
}

void HostWidget::mouseDoubleClickEvent(QMouseEvent *event) {
    // Qt's double-click stands for the second press; whether it is one is Windows' rule.
    mousePressEvent(event);
}

void HostWidget::mouseMoveEvent(QMouseEvent *event) {
    HWND target = nullptr;
    LPARAM point = 0;
    if (mouseTarget(event, &target, &point)) {
        postTo(target, WM_MOUSEMOVE, mouseKeys(event), point);
    }
    event->accept();
}

LPARAM keyParam(const QKeyEvent *event, bool up) {
    LPARAM lp = 1; // repeat count
    lp |= static_cast<LPARAM>(event->nativeScanCode() & 0xFF) << 16;
    if (event->isAutoRepeat() || up) {
        lp |= static_cast<LPARAM>(1) << 30;
    }
    if (up) {
        lp |= static_cast<LPARAM>(1) << 31;
    }
    return lp;
}

// Qt gives the keys to this widget when the Win32 focus is this window, a hidden window inside
// it, or nothing (see syncQtFocus). Keys that a child control left unhandled also arrive here:
// those went to the control already, and never travel on to the parent, as on Windows.
void HostWidget::postKey(const QKeyEvent *event, bool up) {
    const UINT vk = virtualKeyFromQt(event->key());
    if (vk == 0 || window()->focusWidget() != this) {
        return;
    }
    const HWND focus = GetFocus();
    if (focus == nullptr) {
        if (const HWND active = GetActiveWindow(); active == topLevelOf(hwnd_)) {
            postTo(active, up ? WM_SYSKEYUP : WM_SYSKEYDOWN, vk, keyParam(event, up));
        }
    } else if (isSelfOrChild(topLevelOf(hwnd_), focus)) {
        postTo(focus, up ? WM_KEYUP : WM_KEYDOWN, vk, keyParam(event, up));
    }
}

void HostWidget::keyPressEvent(QKeyEvent *event) {
    postKey(event, false);
    event->accept();
}

void HostWidget::keyReleaseEvent(QKeyEvent *event) {
    postKey(event, true);
    event->accept();
}

void HostWidget::closeEvent(QCloseEvent *event) {
    // The window closes only through DestroyWindow, which the program's procedure (or
    // DefWindowProc) decides on.
    event->ignore();
    postTo(hwnd_, WM_SYSCOMMAND, SC_CLOSE, 0);
}

bool HostWidget::event(QEvent *event) {
    // Qt tells every widget of a window; the top-level one stands for the window.
    if (isWindow()) {
        if (event->type() == QEvent::WindowActivate) {
            onQtActivated(hwnd_);
        } else if (event->type() == QEvent::WindowDeactivate) {
            onQtDeactivated(hwnd_);
        }
    }
    return QWidget::event(event);
}

UINT virtualKeyFromQt(int key) {
    if (key >= Qt::Key_0 && key <= Qt::Key_9) {
        return static_cast<UINT>('0' + (key - Qt::Key_0));
    }
    if (key >= Qt::Key_A && key <= Qt::Key_Z) {
        return static_cast<UINT>('A' + (key - Qt::Key_A));
    }
    if (key >= Qt::Key_F1 && key <= Qt::Key_F24) {
        return static_cast<UINT>(VK_F1 + (key - Qt::Key_F1));
    }
    switch (key) {
    case Qt::Key_Escape:
        return VK_ESCAPE;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return VK_RETURN;
    case Qt::Key_Backspace:
        return VK_BACK;
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
        return VK_TAB;
    case Qt::Key_Space:
        return VK_SPACE;
    case Qt::Key_Shift:
        return VK_SHIFT;
    case Qt::Key_Control:
        return VK_CONTROL;
    case Qt::Key_PageUp:
        return VK_PRIOR;
    case Qt::Key_PageDown:
        return VK_NEXT;
    case Qt::Key_End:
        return VK_END;
    case Qt::Key_Home:
        return VK_HOME;
    case Qt::Key_Left:
        return VK_LEFT;
    case Qt::Key_Up:
        return VK_UP;
    case Qt::Key_Right:
        return VK_RIGHT;
    case Qt::Key_Down:
        return VK_DOWN;
    case Qt::Key_Delete:
        return VK_DELETE;
    default:
        return 0;
    }
}

int qtKeyFromVirtualKey(UINT vk) {
    if (vk >= '0' && vk <= '9') {
        return Qt::Key_0 + static_cast<int>(vk - '0');
    }
    if (vk >= 'A' && vk <= 'Z') {
        return Qt::Key_A + static_cast<int>(vk - 'A');
    }
    for (int key : {Qt::Key_Escape, Qt::Key_Return, Qt::Key_Backspace, Qt::Key_Tab, Qt::Key_Space,
                    Qt::Key_PageUp, Qt::Key_PageDown, Qt::Key_End, Qt::Key_Home, Qt::Key_Left,
                    Qt::Key_Up, Qt::Key_Right, Qt::Key_Down, Qt::Key_Delete}) {
        if (virtualKeyFromQt(key) == vk) {
            return key;
        }
    }
    return Qt::Key_unknown;
}

} // namespace vintorel::user32
