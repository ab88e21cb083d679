// The STATIC class: text statics and SS_BITMAP statics (QLabel). A bitmap static created with
// the text "#N" shows bitmap resource N of the creating instance and takes its size;
// STM_SETIMAGE puts another bitmap in and returns the one it showed; with SS_NOTIFY a press sends
// STN_CLICKED and the second press of a double-click STN_DBLCLK (the class has CS_DBLCLKS), so a
// double-click is one click and one double-click; without it clicks fall through to the parent.
// Not implemented: icons, enhanced metafiles, SS_CENTERIMAGE/SS_REALSIZECONTROL, etched frames.
#include "user32/controls.h"

#include "gdi32/gdi_internal.h"

#include <QLabel>
#include <QMouseEvent>
#include <QPixmap>

#include <cstdlib>

namespace vintorel::user32 {

namespace {

// The label of a static with SS_NOTIFY: its button presses and releases become the static's
// own mouse messages, which its window procedure turns into notifications.
class ClickLabel final : public QLabel {
  public:
    explicit ClickLabel(HWND hwnd) : hwnd_(hwnd) {}

  protected:
    void mousePressEvent(QMouseEvent *event) override {
        if (event->button() == Qt::LeftButton) {
            PostMessageA(hwnd_, buttonDownMessage(hwnd_, event->globalPosition()), MK_LBUTTON,
                         pointParam(event->position().toPoint()));
        }
        event->accept();
    }
    void mouseReleaseEvent(QMouseEvent *event) override {
        if (event->button() == Qt::LeftButton) {
            PostMessageA(hwnd_, WM_LBUTTONUP, 0, pointParam(event->position().toPoint()));
        }
        event->accept();
    }
    // Qt's double-click stands for the second press.
    void mouseDoubleClickEvent(QMouseEvent *event) override { mousePressEvent(event); }

  private:
    HWND hwnd_;
};

class Static final : public QtControl {
  public:
    Static(WindowObject &wnd) : QtControl(wnd) {
        isBitmap = (wnd.style & SS_TYPEMASK) == SS_BITMAP;
        auto *label = new ClickLabel(hwnd);
        if (!(wnd.style & SS_NOTIFY)) {
            label->setAttribute(Qt::WA_TransparentForMouseEvents);
        }
        w = label;
        adoptWidget(wnd, label);
        if (isBitmap) {
            const std::string &text = wnd.text;
            if (text.size() > 1 && text[0] == '#') {
                const long id = std::strtol(text.c_str() + 1, nullptr, 10);
                if (id > 0 && id <= 0xFFFF) {
                    setBitmap(wnd, LoadBitmapA(wnd.instance, MAKEINTRESOURCEA(id)));
                }
            }
        } else {
            label->setText(textFromBytes(wnd.text.c_str()));
        }
    }

    QLabel *label() const { return static_cast<QLabel *>(w.data()); }

    void setBitmap(WindowObject &wnd, HBITMAP image) {
        bitmap = image;
        const auto *bm = gdi32::objectAs<gdi32::Bitmap>(image);
        if (label() == nullptr) {
            return;
        }
        if (bm == nullptr) {
            label()->clear();
            return;
        }
        label()->setPixmap(QPixmap::fromImage(bm->image));
        // A bitmap static takes the size of its bitmap.
        const int width = bm->image.width();
        const int height = bm->image.height();
        wnd.windowRect.right = wnd.windowRect.left + width;
        wnd.windowRect.bottom = wnd.windowRect.top + height;
        label()->setGeometry(wnd.windowRect.left, wnd.windowRect.top, width, height);
    }

    bool isBitmap = false;
    HBITMAP bitmap = nullptr;
};

LRESULT CALLBACK staticProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    WindowObject *wnd = WindowManager::instance().find(hwnd);
    Static *s = controlAs<Static>(hwnd);
    if (wnd == nullptr || s == nullptr) {
        return DefWindowProcA(hwnd, msg, wParam, lParam);
    }
    switch (msg) {
    case STM_SETIMAGE: {
        if (wParam != IMAGE_BITMAP || !s->isBitmap) {
            return 0;
        }
        const HBITMAP previous = s->bitmap;
        s->setBitmap(*wnd, reinterpret_cast<HBITMAP>(lParam));
        return reinterpret_cast<LRESULT>(previous);
    }
    case WM_LBUTTONDOWN:
        if (wnd->style & SS_NOTIFY) {
            sendNotification(hwnd, STN_CLICKED);
        }
        return 0;
    case WM_LBUTTONDBLCLK:
        if (wnd->style & SS_NOTIFY) {
            sendNotification(hwnd, STN_DBLCLK);
        }
        return 0;
    case STM_GETIMAGE:
        return wParam == IMAGE_BITMAP ? reinterpret_cast<LRESULT>(s->bitmap) : 0;
    case WM_SETTEXT:
        storeText(wnd, lParam);
        if (!s->isBitmap && s->label()) {
            s->label()->setText(textFromBytes(wnd->text.c_str()));
        }
        return TRUE;
    default:
        return controlDefaultProc(wnd, msg, wParam, lParam);
    }
}

} // namespace

void registerStaticClass() {
    addBuiltinClass(
        "STATIC", staticProc, [](WindowObject &wnd) { return std::make_unique<Static>(wnd); },
        CS_DBLCLKS);
}

} // namespace vintorel::user32
