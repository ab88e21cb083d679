// Window classes and windows: RegisterClassA, CreateWindowExA (WM_NCCREATE and WM_CREATE sent
// synchronously; null when the window was destroyed during creation), DestroyWindow (WM_DESTROY
// to the window and then its children, at once, also from inside a handler), ShowWindow (a shown
// top-level window is activated; hiding the focus window gives the focus to its parent),
// MoveWindow, EnableWindow (a disabled focus window loses the focus), text, rectangles and
// system metrics with classic Windows geometry. Not implemented: owned popups, z-order calls,
// window extra bytes, menus, MDI.
#include "user32/host_widget.h"
#include "user32/window_manager.h"
#include "vintorel_trace.h"

#include "common/codepage.h"
#include "gdi32/gdi_internal.h"
#include "resources/resources.h"

#include <QApplication>
#include <QGuiApplication>
#include <QScreen>

#include <algorithm>
#include <cstring>

using vintorel::fromCp1251;
using namespace vintorel::user32;

namespace {

WindowManager &wm() {
    return WindowManager::instance();
}

void setError(DWORD error) {
    SetLastError(error);
}

QWidget *parentWidgetFor(const WindowObject *wnd) {
    if (!wnd->isChild()) {
        return nullptr;
    }
    return widgetOf(wnd->parent);
}

// What the window manager is told about a top-level window: caption, system menu and close
// box, minimise and maximise buttons as the style has them. Its size is fixed (applyGeometry), so
// it has no sizing border and cannot be maximised unless the style asks for the maximise box.
Qt::WindowFlags topLevelFlags(DWORD style) {
    Qt::WindowFlags flags = Qt::Window | Qt::CustomizeWindowHint;
    if ((style & WS_CAPTION) == WS_CAPTION) {
        flags |= Qt::WindowTitleHint;
    } else if (!(style & (WS_DLGFRAME | WS_BORDER | WS_THICKFRAME))) {
        flags |= Qt::FramelessWindowHint;
    }
    if (style & WS_SYSMENU) {
        flags |= Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
        if (style & WS_MINIMIZEBOX) {
            flags |= Qt::WindowMinimizeButtonHint;
        }
        if (style & WS_MAXIMIZEBOX) {
            flags |= Qt::WindowMaximizeButtonHint;
        }
    }
    return flags;
}

// Client-area origin of a window in screen coordinates.
POINT clientOrigin(const WindowObject *wnd) {
    const Insets in = nonClientInsets(wnd->style, wnd->exStyle, !wnd->isChild());
    POINT p{wnd->windowRect.left + in.left, wnd->windowRect.top + in.top};
    if (wnd->isChild()) {
        if (const WindowObject *parent = wm().find(wnd->parent)) {
            const POINT po = clientOrigin(parent);
            p.x += po.x;
            p.y += po.y;
        }
    }
    return p;
}

void applyGeometry(WindowObject *wnd) {
    QWidget *w = wnd->widget;
    if (w == nullptr) {
        return;
    }
    const int cw = wnd->clientWidth();
    const int ch = wnd->clientHeight();
    if (wnd->isChild()) {
        const RECT &r = wnd->windowRect;
        w->setGeometry(r.left, r.top, r.right - r.left, r.bottom - r.top);
    } else {
        w->setFixedSize(std::max(cw, 1), std::max(ch, 1));
        // Win32's screen starts at the primary monitor's top left, wherever that is.
        w->move(primaryOrigin() + QPoint(wnd->windowRect.left, wnd->windowRect.top));
    }
}

// A window that has just become visible, and its visible children, need painting whole.
void invalidateShown(WindowObject *wnd) {
    if (wnd->control) {
        return;
    }
    invalidateWindow(wnd, QRegion(0, 0, wnd->clientWidth(), wnd->clientHeight()), true);
    for (HWND child : wnd->children) {
        if (WindowObject *c = wm().find(child); c && (c->style & WS_VISIBLE)) {
            invalidateShown(c);
        }
    }
}

void destroyRecursive(WindowObject *wnd, bool sendDestroy) {
    const HWND hwnd = wnd->handle;
    if (sendDestroy) {
        callProc(wnd, WM_DESTROY, 0, 0);
    }
    // Children get their WM_DESTROY after the parent's, as on Windows.
    const std::vector<HWND> children = wnd->children;
    for (HWND child : children) {
        if (WindowObject *c = wm().find(child); c && !c->destroying) {
            c->destroying = true;
            destroyRecursive(c, true);
        }
    }
    if (WindowObject *again = wm().find(hwnd)) {
        callProc(again, WM_NCDESTROY, 0, 0);
    }
}

void releaseWidgets(WindowObject *wnd) {
    for (HWND child : wnd->children) {
        if (WindowObject *c = wm().find(child)) {
            releaseWidgets(c);
        }
    }
    if (wnd->control) {
        QWidget *w = wnd->control->widget();
        wnd->control.reset();
        (void)w; // the control owned its widget
    } else if (wnd->widget) {
        QWidget *w = wnd->widget;
        w->hide();
        w->setParent(nullptr);
        delete w;
    }
    wnd->widget = nullptr;
}

void buryRecursive(WindowObject *wnd) {
    const std::vector<HWND> children = wnd->children;
    for (HWND child : children) {
        if (WindowObject *c = wm().find(child)) {
            buryRecursive(c);
        }
    }
    if (wnd->ownDC != nullptr) {
        vintorel::gdi32::deleteDC(wnd->ownDC);
        wnd->ownDC = nullptr;
    }
    vintorel::gdi32::finishDrawingOn(&wnd->backing); // a DC never released draws no more
    wm().removeMessagesFor(wnd->handle);
    wm().bury(wnd->handle);
}

} // namespace

namespace vintorel::user32 {

QWidget *widgetOf(HWND hwnd) {
    WindowObject *wnd = WindowManager::instance().find(hwnd);
    return wnd ? wnd->widget.data() : nullptr;
}

HWND hwndOfWidget(const QWidget *widget) {
    while (widget != nullptr) {
        const QVariant v = widget->property("vintorelHwnd");
        if (v.isValid()) {
            return reinterpret_cast<HWND>(v.value<quintptr>());
        }
        widget = widget->parentWidget();
    }
    return nullptr;
}

void resizeBacking(WindowObject *wnd) {
    const QSize size(std::max(wnd->clientWidth(), 1), std::max(wnd->clientHeight(), 1));
    if (wnd->backing.size() == size) {
        return;
    }
    vintorel::gdi32::finishDrawingOn(&wnd->backing);
    QImage fresh(size, QImage::Format_RGB32);
    fresh.fill(Qt::white);
    if (!wnd->backing.isNull()) {
        copyPixels(fresh, wnd->backing, fresh.rect() & wnd->backing.rect());
    }
    wnd->backing = std::move(fresh);
}

void copyPixels(QImage &to, const QImage &from, const QRect &area) {
    for (int y = area.top(); y <= area.bottom(); ++y) {
        std::memcpy(to.scanLine(y) + area.left() * 4, from.constScanLine(y) + area.left() * 4,
                    static_cast<size_t>(area.width()) * 4);
    }
}

} // namespace vintorel::user32

extern "C" {

ATOM WINAPI RegisterClassA(const WNDCLASSA *wc) {
    ensureBuiltinClasses();
    if (wc == nullptr || wc->lpszClassName == nullptr || wc->lpfnWndProc == nullptr) {
        setError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    auto cls = std::make_shared<WindowClass>();
    cls->name = wc->lpszClassName;
    cls->style = wc->style;
    cls->proc = wc->lpfnWndProc;
    cls->instance = wc->hInstance;
    cls->icon = wc->hIcon;
    cls->cursor = wc->hCursor;
    cls->background = wc->hbrBackground;
    cls->extraBytes = std::max(wc->cbWndExtra, 0);
    if (!wm().addClass(cls)) {
        setError(ERROR_CLASS_ALREADY_EXISTS);
        return 0;
    }
    static ATOM nextAtom = 0xC000;
    return nextAtom++;
}

BOOL WINAPI UnregisterClassA(LPCSTR className, HINSTANCE) {
    const auto cls = wm().findClass(className);
    if (!cls || cls->builtin) {
        setError(ERROR_CANNOT_FIND_WND_CLASS);
        return FALSE;
    }
    return wm().removeClass(className) ? TRUE : FALSE;
}

HWND WINAPI CreateWindowExA(DWORD exStyle, LPCSTR className, LPCSTR windowName, DWORD style, int x,
                            int y, int width, int height, HWND parent, HMENU menu,
                            HINSTANCE instance, LPVOID param) {
    ensureBuiltinClasses();
    const auto cls = wm().findClass(className);
    if (!cls) {
        setError(ERROR_CANNOT_FIND_WND_CLASS);
        return nullptr;
    }
    if ((style & WS_CHILD) && wm().find(parent) == nullptr) {
        setError(ERROR_INVALID_WINDOW_HANDLE);
        return nullptr;
    }
    if (!(style & (WS_CHILD | WS_POPUP))) {
        // Overlapped windows always have a caption, as on Windows.
        style |= WS_CAPTION | WS_CLIPSIBLINGS;
    }
    if (!(style & WS_CHILD)) {
        if (x == CW_USEDEFAULT) {
            x = 40;
            y = 40;
        }
        if (width == CW_USEDEFAULT) {
            width = 640;
            height = 480;
        }
    }

    WindowObject *wnd = wm().create();
    const HWND hwnd = wnd->handle;
    wnd->cls = cls;
    wnd->proc = cls->proc;
    wnd->extraBytes.assign(static_cast<size_t>(cls->extraBytes), 0);
    wnd->parent = (style & WS_CHILD) ? parent : nullptr;
    wnd->instance = instance;
    wnd->style = style & ~WS_VISIBLE;
    wnd->exStyle = exStyle;
    wnd->id = (style & WS_CHILD) ? static_cast<int>(reinterpret_cast<intptr_t>(menu)) : 0;
    wnd->text = windowName ? windowName : "";
    wnd->windowRect = RECT{x, y, x + std::max(width, 0), y + std::max(height, 0)};
    if (wnd->isChild()) {
        wm().find(parent)->children.push_back(hwnd);
    }

    if (cls->makeControl) {
        wnd->control = cls->makeControl(*wnd);
        wnd->widget = wnd->control ? wnd->control->widget() : nullptr;
    } else {
        wnd->widget = new HostWidget(hwnd, parentWidgetFor(wnd));
        // Hidden until ShowWindow, even when its parent is shown later (Qt would show it then).
        wnd->widget->hide();
        resizeBacking(wnd);
    }
    if (wnd->widget) {
        wnd->widget->setProperty("vintorelHwnd",
                                 QVariant::fromValue(reinterpret_cast<quintptr>(hwnd)));
        if (!wnd->isChild()) {
            wnd->widget->setWindowFlags(topLevelFlags(wnd->style));
            wnd->widget->setWindowTitle(fromCp1251(wnd->text));
            if (cls->icon != nullptr) {
                wnd->widget->setWindowIcon(vintorel::resources::iconOf(cls->icon));
            }
        }
        wnd->widget->setEnabled(!(style & WS_DISABLED));
        applyGeometry(wnd);
        describeFrame(wnd);
    }

    CREATESTRUCTA cs{};
    cs.lpCreateParams = param;
    cs.hInstance = instance;
    cs.hMenu = menu;
    cs.hwndParent = parent;
    cs.cx = width;
    cs.cy = height;
    cs.x = x;
    cs.y = y;
    cs.style = static_cast<LONG>(style);
    cs.lpszName = windowName;
    cs.lpszClass = className;
    cs.dwExStyle = exStyle;

    if (!callProc(wnd, WM_NCCREATE, 0, reinterpret_cast<LPARAM>(&cs))) {
        if (wm().find(hwnd)) {
            DestroyWindow(hwnd);
        }
        return nullptr;
    }
    if (wm().find(hwnd) == nullptr) {
        return nullptr;
    }
    const LRESULT created = callProc(wm().find(hwnd), WM_CREATE, 0, reinterpret_cast<LPARAM>(&cs));
    if (wm().find(hwnd) == nullptr) {
        return nullptr; // destroyed while it was being created
    }
    if (created == -1) {
        DestroyWindow(hwnd);
        return nullptr;
    }
    wnd = wm().find(hwnd);
    callProc(wnd, WM_SIZE, 0, MAKELPARAM(wnd->clientWidth(), wnd->clientHeight()));
    if ((wnd = wm().find(hwnd)) == nullptr) {
        return nullptr;
    }
    callProc(wnd, WM_MOVE, 0, 0);
    if (wm().find(hwnd) == nullptr) {
        return nullptr;
    }
    if (style & WS_VISIBLE) {
        ShowWindow(hwnd, SW_SHOW);
    }
    VINTOREL_TRACE(USER32, "CreateWindowExA class %s text \"%s\" style %#lx id %lld -> %p",
                   IS_INTRESOURCE(className) ? "#atom" : className, windowName ? windowName : "",
                   static_cast<unsigned long>(style),
                   static_cast<long long>(reinterpret_cast<intptr_t>(menu)),
                   static_cast<void *>(wm().find(hwnd) ? hwnd : nullptr));
    return wm().find(hwnd) ? hwnd : nullptr;
}

BOOL WINAPI DestroyWindow(HWND hwnd) {
    VINTOREL_TRACE(USER32, "DestroyWindow %p", static_cast<void *>(hwnd));
    WindowObject *wnd = wm().find(hwnd);
    if (wnd == nullptr) {
        setError(ERROR_INVALID_WINDOW_HANDLE);
        return FALSE;
    }
    if (wnd->destroying) {
        return TRUE;
    }
    wnd->destroying = true;
    if (wnd->widget) {
        wnd->widget->hide();
    }
    wnd->style &= ~WS_VISIBLE;
    // A dead window neither has the focus, nor is active, nor has the mouse; nothing is told.
    if (isSelfOrChild(hwnd, wm().capture)) {
        wm().capture = nullptr;
    }
    if (isSelfOrChild(hwnd, wm().focus)) {
        wm().focus = nullptr;
    }
    if (wm().active == hwnd) {
        wm().active = nullptr;
    }
    destroyRecursive(wnd, true);
    if ((wnd = wm().find(hwnd)) == nullptr) {
        return TRUE;
    }
    if (wnd->isChild()) {
        if (WindowObject *parent = wm().find(wnd->parent)) {
            std::erase(parent->children, hwnd);
        }
    }
    releaseWidgets(wnd);
    buryRecursive(wnd);
    return TRUE;
}

BOOL WINAPI IsWindow(HWND hwnd) {
    return wm().find(hwnd) != nullptr ? TRUE : FALSE;
}

BOOL WINAPI IsWindowVisible(HWND hwnd) {
    for (WindowObject *wnd = wm().find(hwnd); wnd != nullptr; wnd = wm().find(wnd->parent)) {
        if (!(wnd->style & WS_VISIBLE)) {
            return FALSE;
        }
        if (!wnd->isChild()) {
            return TRUE;
        }
    }
    return FALSE;
}

BOOL WINAPI IsWindowEnabled(HWND hwnd) {
    WindowObject *wnd = wm().find(hwnd);
    return (wnd && !(wnd->style & WS_DISABLED)) ? TRUE : FALSE;
}

BOOL WINAPI ShowWindow(HWND hwnd, int cmdShow) {
    VINTOREL_TRACE(USER32, "ShowWindow %p %d", static_cast<void *>(hwnd), cmdShow);
    WindowObject *wnd = wm().find(hwnd);
    if (wnd == nullptr) {
        return FALSE;
    }
    const BOOL wasVisible = (wnd->style & WS_VISIBLE) ? TRUE : FALSE;
    const bool show = cmdShow != SW_HIDE;
    if (show == static_cast<bool>(wasVisible)) {
        return wasVisible;
    }
    callProc(wnd, WM_SHOWWINDOW, show ? TRUE : FALSE, 0);
    if ((wnd = wm().find(hwnd)) == nullptr) {
        return wasVisible;
    }
    if (show) {
        wnd->style |= WS_VISIBLE;
    } else {
        wnd->style &= ~WS_VISIBLE;
        // Hiding the focus window (or what holds it) gives the focus to the parent, or to
        // nothing for a top-level window; a hidden active window is active no more. Done
        // before Qt hides the widget, so that Qt does not pass the keys on to a sibling.
        if (!wnd->isChild() && wm().active == hwnd) {
            activateWindow(nullptr, false, true);
        }
        if (isSelfOrChild(hwnd, wm().focus)) {
            SetFocus(wnd->isChild() ? wnd->parent : nullptr);
        }
        if ((wnd = wm().find(hwnd)) == nullptr) {
            return wasVisible;
        }
    }
    if (wnd->widget) {
        if (show) {
            if (!wnd->isChild()) {
                wnd->widget->show();
                if (cmdShow != SW_SHOWNOACTIVATE && cmdShow != SW_SHOWNA &&
                    cmdShow != SW_SHOWMINNOACTIVE) {
                    wnd->widget->activateWindow();
                    wnd->widget->raise();
                    activateWindow(hwnd, false, true);
                    if ((wnd = wm().find(hwnd)) == nullptr) {
                        return wasVisible;
                    }
                }
            } else {
                wnd->widget->show();
            }
        } else {
            wnd->widget->hide();
        }
    }
    if (show) {
        invalidateShown(wnd);
    } else {
        wnd->update = QRegion();
        wnd->eraseNeeded = false;
    }
    if (wnd->isChild()) {
        // What the child covered or uncovers is the parent's to repaint.
        if (WindowObject *parent = wm().find(wnd->parent); parent && !parent->control) {
            const RECT &r = wnd->windowRect;
            invalidateWindow(parent, QRegion(r.left, r.top, r.right - r.left, r.bottom - r.top),
                             true);
        }
    }
    return wasVisible;
}

BOOL WINAPI EnableWindow(HWND hwnd, BOOL enable) {
    VINTOREL_TRACE(USER32, "EnableWindow %p %d", static_cast<void *>(hwnd), enable);
    WindowObject *wnd = wm().find(hwnd);
    if (wnd == nullptr) {
        return FALSE;
    }
    const BOOL wasDisabled = (wnd->style & WS_DISABLED) ? TRUE : FALSE;
    if (enable) {
        wnd->style &= ~WS_DISABLED;
    } else {
        wnd->style |= WS_DISABLED;
        // A disabled window cannot keep the focus; nothing has it then, and the keys reach
        // the active window as system keys.
        if (wm().focus == hwnd) {
            SetFocus(nullptr);
        }
        if ((wnd = wm().find(hwnd)) == nullptr) {
            return wasDisabled;
        }
    }
    if (wnd->widget) {
        wnd->widget->setEnabled(enable != FALSE);
    }
    if (static_cast<bool>(wasDisabled) == static_cast<bool>(enable)) {
        callProc(wnd, WM_ENABLE, enable ? TRUE : FALSE, 0);
    }
    return wasDisabled;
}

HWND WINAPI GetParent(HWND hwnd) {
    WindowObject *wnd = wm().find(hwnd);
    return wnd ? wnd->parent : nullptr;
}

HWND WINAPI GetDlgItem(HWND parent, int id) {
    WindowObject *wnd = wm().find(parent);
    if (wnd == nullptr) {
        return nullptr;
    }
    for (HWND child : wnd->children) {
        if (WindowObject *c = wm().find(child); c && c->id == id) {
            return child;
        }
    }
    return nullptr;
}

int WINAPI GetDlgCtrlID(HWND hwnd) {
    WindowObject *wnd = wm().find(hwnd);
    return wnd ? wnd->id : 0;
}

HWND WINAPI FindWindowA(LPCSTR className, LPCSTR windowName) {
    for (HWND hwnd : wm().topLevels()) {
        WindowObject *wnd = wm().find(hwnd);
        if (className && !wm().findClass(className)) {
            return nullptr;
        }
        if (className && wnd->cls != wm().findClass(className)) {
            continue;
        }
        if (windowName && wnd->text != windowName) {
            continue;
        }
        return hwnd;
    }
    return nullptr;
}

BOOL WINAPI MoveWindow(HWND hwnd, int x, int y, int width, int height, BOOL repaint) {
    VINTOREL_TRACE(USER32, "MoveWindow %p (%d,%d) %dx%d repaint %d", static_cast<void *>(hwnd), x,
                   y, width, height, repaint);
    WindowObject *wnd = wm().find(hwnd);
    if (wnd == nullptr) {
        return FALSE;
    }
    const int oldW = wnd->clientWidth();
    const int oldH = wnd->clientHeight();
    const RECT oldRect = wnd->windowRect;
    wnd->windowRect = RECT{x, y, x + std::max(width, 0), y + std::max(height, 0)};
    if (!wnd->control) {
        resizeBacking(wnd);
    }
    applyGeometry(wnd);
    const bool resized = oldW != wnd->clientWidth() || oldH != wnd->clientHeight();
    if (!wnd->control && repaint) {
        const UINT redraw = wnd->cls ? (wnd->cls->style & (CS_HREDRAW | CS_VREDRAW)) : 0;
        if (resized && redraw) {
            invalidateWindow(wnd, QRegion(0, 0, wnd->clientWidth(), wnd->clientHeight()), true);
        } else {
            // Only what became newly visible needs painting.
            QRegion fresh(0, 0, wnd->clientWidth(), wnd->clientHeight());
            fresh -= QRegion(0, 0, oldW, oldH);
            invalidateWindow(wnd, fresh, true);
        }
    }
    if (wnd->isChild() && repaint && (wnd->style & WS_VISIBLE)) {
        if (WindowObject *parent = wm().find(wnd->parent); parent && !parent->control) {
            invalidateWindow(parent,
                             QRegion(oldRect.left, oldRect.top, oldRect.right - oldRect.left,
                                     oldRect.bottom - oldRect.top),
                             true);
        }
    }
    if (wnd->control && wnd->widget && repaint) {
        wnd->widget->update();
    }
    if (resized) {
        callProc(wnd, WM_SIZE, 0, MAKELPARAM(wnd->clientWidth(), wnd->clientHeight()));
    }
    if ((wnd = wm().find(hwnd)) != nullptr) {
        callProc(wnd, WM_MOVE, 0, 0);
    }
    return TRUE;
}

BOOL WINAPI GetClientRect(HWND hwnd, LPRECT rect) {
    WindowObject *wnd = wm().find(hwnd);
    if (wnd == nullptr || rect == nullptr) {
        setError(ERROR_INVALID_WINDOW_HANDLE);
        return FALSE;
    }
    *rect = RECT{0, 0, wnd->clientWidth(), wnd->clientHeight()};
    return TRUE;
}

BOOL WINAPI GetWindowRect(HWND hwnd, LPRECT rect) {
    WindowObject *wnd = wm().find(hwnd);
    if (wnd == nullptr || rect == nullptr) {
        setError(ERROR_INVALID_WINDOW_HANDLE);
        return FALSE;
    }
    *rect = wnd->windowRect;
    if (wnd->isChild()) {
        if (WindowObject *parent = wm().find(wnd->parent)) {
            const POINT o = clientOrigin(parent);
            rect->left += o.x;
            rect->right += o.x;
            rect->top += o.y;
            rect->bottom += o.y;
        }
    }
    return TRUE;
}

BOOL WINAPI AdjustWindowRect(LPRECT rect, DWORD style, BOOL) {
    if (rect == nullptr) {
        return FALSE;
    }
    // The style as given: unlike CreateWindowEx, no caption is added to an overlapped style.
    const Insets in = nonClientInsets(style, 0, !(style & WS_CHILD));
    rect->left -= in.left;
    rect->top -= in.top;
    rect->right += in.right;
    rect->bottom += in.bottom;
    return TRUE;
}

BOOL WINAPI ScreenToClient(HWND hwnd, LPPOINT point) {
    WindowObject *wnd = wm().find(hwnd);
    if (wnd == nullptr || point == nullptr) {
        return FALSE;
    }
    const POINT o = clientOrigin(wnd);
    point->x -= o.x;
    point->y -= o.y;
    return TRUE;
}

BOOL WINAPI ClientToScreen(HWND hwnd, LPPOINT point) {
    WindowObject *wnd = wm().find(hwnd);
    if (wnd == nullptr || point == nullptr) {
        return FALSE;
    }
    const POINT o = clientOrigin(wnd);
    point->x += o.x;
    point->y += o.y;
    return TRUE;
}

int WINAPI GetClassNameA(HWND hwnd, LPSTR name, int maxCount) {
    WindowObject *wnd = wm().find(hwnd);
    if (wnd == nullptr || name == nullptr || maxCount <= 0 || !wnd->cls) {
        return 0;
    }
    const std::string &cls = wnd->cls->name;
    const size_t n = std::min(static_cast<size_t>(maxCount - 1), cls.size());
    std::memcpy(name, cls.data(), n);
    name[n] = '\0';
    return static_cast<int>(n);
}

int WINAPI GetSystemMetrics(int index) {
    QRect screen(0, 0, 1024, 768);
    if (qobject_cast<QGuiApplication *>(QCoreApplication::instance()) != nullptr) {
        if (const QScreen *s = QGuiApplication::primaryScreen()) {
            screen = s->geometry();
        }
    }
    switch (index) {
    case SM_CXSCREEN:
        return screen.width();
    case SM_CYSCREEN:
        return screen.height();
    case SM_CXVSCROLL:
        return 16;
    case SM_CYCAPTION:
        return kCaptionHeight;
    case SM_CXBORDER:
    case SM_CYBORDER:
        return kBorder;
    case SM_CXDLGFRAME:
    case SM_CYDLGFRAME:
        return kDialogFrame;
    case SM_CXICON:
    case SM_CYICON:
        return 32;
    case SM_CXDOUBLECLK:
    case SM_CYDOUBLECLK:
        return 4;
    case SM_CXSMICON:
    case SM_CYSMICON:
        return 16;
    default:
        return 0;
    }
}

BOOL WINAPI SetWindowTextA(HWND hwnd, LPCSTR text) {
    VINTOREL_TRACE(USER32, "SetWindowTextA %p \"%s\"", static_cast<void *>(hwnd), text ? text : "");
    return SendMessageA(hwnd, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text)) ? TRUE : FALSE;
}

int WINAPI GetWindowTextA(HWND hwnd, LPSTR text, int maxCount) {
    if (text == nullptr || maxCount <= 0) {
        return 0;
    }
    text[0] = '\0';
    return static_cast<int>(SendMessageA(hwnd, WM_GETTEXT, static_cast<WPARAM>(maxCount),
                                         reinterpret_cast<LPARAM>(text)));
}

int WINAPI GetWindowTextLengthA(HWND hwnd) {
    return static_cast<int>(SendMessageA(hwnd, WM_GETTEXTLENGTH, 0, 0));
}

BOOL WINAPI SetRect(LPRECT rect, int left, int top, int right, int bottom) {
    if (rect == nullptr) {
        return FALSE;
    }
    *rect = RECT{left, top, right, bottom};
    return TRUE;
}

BOOL WINAPI IsRectEmpty(const RECT *rect) {
    return (rect == nullptr || rect->right <= rect->left || rect->bottom <= rect->top) ? TRUE
                                                                                       : FALSE;
}

BOOL WINAPI PtInRect(const RECT *rect, POINT point) {
    return (rect != nullptr && point.x >= rect->left && point.x < rect->right &&
            point.y >= rect->top && point.y < rect->bottom)
               ? TRUE
               : FALSE;
}

} // extern "C"
