// Shared parts of the built-in controls: widget adoption and focus tracking, notifications,
// fonts, text conversion and the messages every control answers the same way.
#include "user32/controls.h"

#include "common/codepage.h"
#include "gdi32/gdi_internal.h"

#include <QEvent>
#include <QObject>

#include <cstring>

namespace vintorel::user32 {

namespace {

// Keeps the program's idea of the focus (GetFocus) in step with Qt's.
class FocusTracker final : public QObject {
  public:
    FocusTracker(HWND hwnd, QObject *parent) : QObject(parent), hwnd_(hwnd) {}

  protected:
    bool eventFilter(QObject *watched, QEvent *event) override {
        if (event->type() == QEvent::FocusIn) {
            WindowManager::instance().focus = hwnd_;
        }
        return QObject::eventFilter(watched, event);
    }

  private:
    HWND hwnd_;
};

} // namespace

void adoptWidget(WindowObject &wnd, QWidget *widget) {
    widget->setParent(widgetOf(wnd.parent));
    widget->setProperty("vintorelHwnd",
                        QVariant::fromValue(reinterpret_cast<quintptr>(wnd.handle)));
    widget->installEventFilter(new FocusTracker(wnd.handle, widget));
    for (QWidget *child : widget->findChildren<QWidget *>()) {
        child->installEventFilter(new FocusTracker(wnd.handle, child));
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
