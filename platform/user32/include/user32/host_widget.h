// The Qt widget behind a window of a program-registered class (the main window, or a generic
// child): it shows the client-area pixels that the program painted through BeginPaint/EndPaint
// and turns Qt's input, activation and close events into the window messages Windows would
// post. It does not draw a non-client area: the desktop's window manager provides the frame
// and caption.
#pragma once

#include <windows.h>

#include <QWidget>

class QKeyEvent;

namespace vintorel::user32 {

class HostWidget : public QWidget {
  public:
    HostWidget(HWND hwnd, QWidget *parent);

    HWND hwnd() const { return hwnd_; }

  protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void keyReleaseEvent(QKeyEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    bool event(QEvent *event) override;

  private:
    bool ownsPoint(const QPoint &pos) const;
    // Where a mouse event goes as a message, and its point there; false: nowhere.
    bool mouseTarget(const QMouseEvent *event, HWND *target, LPARAM *point) const;
    void postKey(const QKeyEvent *event, bool up);
    HWND hwnd_;
};

// WM_KEYDOWN's (or WM_KEYUP's) lParam for a Qt key event: repeat count, scan code, flags.
LPARAM keyParam(const QKeyEvent *event, bool up);

// Windows virtual-key code for a Qt key, 0 when there is none; and back.
UINT virtualKeyFromQt(int qtKey);
int qtKeyFromVirtualKey(UINT vk);

} // namespace vintorel::user32
