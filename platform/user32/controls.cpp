// Shared parts of the built-in controls: widget adoption and click focus, notifications,
// fonts, text conversion and the messages every control answers the same way.
#include "user32/controls.h"

#include "common/codepage.h"
#include "gdi32/gdi_internal.h"

#include <QEvent>
#include <QFocusEvent>
#include <QObject>

#include <cstring>

namespace vintorel::user32 {

namespace {

// A click gives a control the focus through SetFocus, as Windows' controls take it when the
// button goes down. Any other move of Qt's focus onto the control is Qt's own (Windows moves
// the focus only when asked) and is undone.
class FocusTracker final : public QObject {
  public:
    FocusTracker(HWND hwnd, QObject *parent) : QObject(parent), hwnd_(hwnd) {}

  protected:
    bool eventFilter(QObject *watched, QEvent *event) override {
        if (event->type() == QEvent::FocusIn) {
            const Qt::FocusReason reason = static_cast<QFocusEvent *>(event)->reason();
            if (reason == Qt::MouseFocusReason) {
                SetFocus(hwnd_);
            } else if (GetFocus() != hwnd_ && reason != Qt::PopupFocusReason) {
                syncQtFocus();
            }
        }
        return QObject::eventFilter(watched, event);
    }

  private:
    HWND hwnd_;
};

// Controls take the focus on a click but, unlike Qt's widgets, never by the Tab key: a window
// that is not a dialog box has no keyboard navigation.
void clickFocusOnly(QWidget *widget) {
    if (widget->focusPolicy() & Qt::TabFocus) {
        widget->setFocusPolicy(Qt::ClickFocus);
    }
}

} // namespace

void adoptWidget(WindowObject &wnd, QWidget *widget) {
    widget->setParent(widgetOf(wnd.parent));
    widget->setProperty("vintorelHwnd",
                        QVariant::fromValue(reinterpret_cast<quintptr>(wnd.handle)));
    widget->installEventFilter(new FocusTracker(wnd.handle, widget));
    clickFocusOnly(widget);
    for (QWidget *child : widget->findChildren<QWidget *>()) {
        child->installEventFilter(new FocusTracker(wnd.handle, child));
        clickFocusOnly(child);
    }
    widget->hide();
}

void sendNotification(HWND control, WORD code) {
    notifyParent(WindowManager::instance().find(control), code);
}

void postNotification(HWND control, WORD code) {
    WindowObject *wnd = WindowManager::instance().find(control);
    if (wnd == nullptr || !wnd->isChild()) {
        return;
    }
    PostMessageA(wnd->parent, WM_COMMAND, MAKEWPARAM(static_cast<WORD>(wnd->id), code),
                 reinterpret_cast<LPARAM>(control));
}

void applyFont(QWidget *widget, HFONT font) {
    if (widget == nullptr) {
        return;
    }
    if (const auto *f = gdi32::objectAs<gdi32::Font>(font)) {
        widget->setFont(f->qfont);
    } else {
        widget->setFont(gdi32::defaultGuiFont());
    }
    widget->repaint();
}

QString textFromBytes(const char *text) {
    return fromCp1251(text ? text : "");
}

std::string bytesFromText(const QString &text) {
    return toCp1251(text);
}

bool handleCommonMessage(WindowObject *wnd, UINT msg, WPARAM wParam, LPARAM lParam,
                         LRESULT *result) {
    switch (msg) {
    case WM_SETFONT:
        wnd->font = reinterpret_cast<HFONT>(wParam);
        if (wnd->widget) {
            if (const auto *f = gdi32::objectAs<gdi32::Font>(wnd->font)) {
                wnd->widget->setFont(f->qfont);
            }
            if (LOWORD(lParam)) {
                wnd->widget->repaint();
            }
        }
        *result = 0;
        return true;
    case WM_GETFONT:
        *result = reinterpret_cast<LRESULT>(wnd->font);
        return true;
    case WM_GETTEXT: {
        char *out = reinterpret_cast<char *>(lParam);
        const size_t room = static_cast<size_t>(wParam);
        if (out == nullptr || room == 0) {
            *result = 0;
            return true;
        }
        const size_t n = std::min(room - 1, wnd->text.size());
        std::memcpy(out, wnd->text.data(), n);
        out[n] = '\0';
        *result = static_cast<LRESULT>(n);
        return true;
    }
    case WM_GETTEXTLENGTH:
        *result = static_cast<LRESULT>(wnd->text.size());
        return true;
    default:
        return false;
    }
}

LRESULT controlDefaultProc(WindowObject *wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    LRESULT result = 0;
    if (handleCommonMessage(wnd, msg, wParam, lParam, &result)) {
        return result;
    }
    return DefWindowProcA(wnd->handle, msg, wParam, lParam);
}

void storeText(WindowObject *wnd, LPARAM text) {
    wnd->text = text ? reinterpret_cast<const char *>(text) : "";
}

void addBuiltinClass(const char *name, WNDPROC proc,
                     std::function<std::unique_ptr<ControlImpl>(WindowObject &)> make, UINT style) {
    auto cls = std::make_shared<WindowClass>();
    cls->name = name;
    cls->proc = proc;
    cls->style = style;
    cls->builtin = true;
    cls->makeControl = std::move(make);
    WindowManager::instance().addClass(cls);
}

} // namespace vintorel::user32
