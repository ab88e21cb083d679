// Shared plumbing of user32's built-in controls (BUTTON, EDIT, STATIC, COMBOBOX): each is a Qt
// widget owned by its window object, with Win32 state beside it. User actions in Qt reach the
// parent as posted WM_COMMAND notifications, never from inside Qt's event delivery, so a handler
// may destroy the control safely.
#pragma once

#include "user32/window_manager.h"

#include <QPointer>
#include <QWidget>

namespace vintorel::user32 {

class QtControl : public ControlImpl {
  public:
    explicit QtControl(WindowObject &wnd) : hwnd(wnd.handle) {}
    ~QtControl() override { delete w; }
    QWidget *widget() override { return w; }

    HWND hwnd;
    QPointer<QWidget> w;
};

// The control object of a window of class T, or null.
template <class T> T *controlAs(HWND hwnd) {
    WindowObject *wnd = WindowManager::instance().find(hwnd);
    return wnd ? dynamic_cast<T *>(wnd->control.get()) : nullptr;
}

// Makes the widget a child of the parent's widget; a click on it (or on its parts) gives the
// control the focus, the Tab key never does.
void adoptWidget(WindowObject &wnd, QWidget *widget);

// Notification to the parent: now (inside a Win32 call) or posted (from a Qt signal).
void sendNotification(HWND control, WORD code);
void postNotification(HWND control, WORD code);

// Applies an HFONT (or the default font for null) to a widget and repaints it at once.
void applyFont(QWidget *widget, HFONT font);

// Text conversions between the program's bytes and Qt.
QString textFromBytes(const char *text);
std::string bytesFromText(const QString &text);

// Common messages of every control (text, font, enable); returns true when handled.
bool handleCommonMessage(WindowObject *wnd, UINT msg, WPARAM wParam, LPARAM lParam,
                         LRESULT *result);

// What every control does with the messages it does not handle itself: the common ones above,
// then DefWindowProcA.
LRESULT controlDefaultProc(WindowObject *wnd, UINT msg, WPARAM wParam, LPARAM lParam);

// WM_SETTEXT's bytes kept as the window's text.
void storeText(WindowObject *wnd, LPARAM text);

// Registers one built-in class.
void addBuiltinClass(const char *name, WNDPROC proc,
                     std::function<std::unique_ptr<ControlImpl>(WindowObject &)> make,
                     UINT style = 0);

void registerButtonClass();
void registerEditClass();
void registerStaticClass();
void registerComboBoxClass();

} // namespace vintorel::user32
