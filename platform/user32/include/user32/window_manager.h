// Internal state of the USER32 subset: window classes, window objects behind HWNDs, the
// thread's message queue and timers. One thread only (the program's), as the program needs;
// there is no per-thread queue and no cross-thread SendMessage.
#pragma once

#include <windows.h>

#include <QImage>
#include <QPointer>
#include <QRegion>
#include <QWidget>

#include <chrono>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace vintorel::user32 {

struct WindowObject;

// Behaviour that a built-in control class (BUTTON, EDIT, ...) adds to a window: its Qt widget
// and its state. The class's window procedure reaches it through controlOf().
struct ControlImpl {
    virtual ~ControlImpl() = default;
    // The Qt widget that shows the control; parented to the parent window's widget.
    virtual QWidget *widget() = 0;
};

struct WindowClass {
    std::string name;
    UINT style = 0;
    WNDPROC proc = nullptr;
    HINSTANCE instance = nullptr;
    HICON icon = nullptr;
    HCURSOR cursor = nullptr;
    HBRUSH background = nullptr;
    int extraBytes = 0; // cbWndExtra: what each window of the class keeps for its procedure
    bool builtin = false;
    // Built-in classes make their control here, during CreateWindowEx, before WM_NCCREATE.
    std::function<std::unique_ptr<ControlImpl>(WindowObject &)> makeControl;
};

struct WindowObject {
    HWND handle = nullptr;
    std::shared_ptr<WindowClass> cls;
    WNDPROC proc = nullptr;
    HWND parent = nullptr;
    HINSTANCE instance = nullptr;
    DWORD style = 0;
    DWORD exStyle = 0;
    int id = 0;
    std::string text;  // bytes as the program gave them (Windows-1251)
    RECT windowRect{}; // top-level: screen; child: parent's client coordinates
    std::vector<HWND> children;
    bool destroying = false;
    bool dead = false;
    HFONT font = nullptr;
    // GetWindowLongPtr's values: the class's extra bytes, the program's own value, properties.
    std::vector<unsigned char> extraBytes;
    LONG_PTR userData = 0;
    std::map<std::string, HANDLE> props;

    // Top-level and generic child windows: the client area's pixels, as last painted by the
    // program, and the part still to paint.
    QImage backing;
    // What the screen shows of backing, as Qt last painted it (null until a whole paint): a
    // paint that changed nothing then costs no repaint and no transfer to the display.
    QImage shown;
    QRegion update;
    bool eraseNeeded = false;
    // The device context of a CS_OWNDC window: made on first use, kept until the window dies.
    HDC ownDC = nullptr;

    QPointer<QWidget> widget;
    std::unique_ptr<ControlImpl> control;

    bool isChild() const { return (style & WS_CHILD) != 0; }
    int clientWidth() const;
    int clientHeight() const;
};

// Non-client insets of a window with this style (left/right, top, bottom), classic metrics.
struct Insets {
    int left = 0, top = 0, right = 0, bottom = 0;
};
Insets nonClientInsets(DWORD style, DWORD exStyle, bool topLevel);

constexpr int kCaptionHeight = 19; // SM_CYCAPTION of the classic look
constexpr int kDialogFrame = 3;    // SM_CXDLGFRAME / SM_CYDLGFRAME
constexpr int kSizingFrame = 4;    // SM_CXFRAME / SM_CYFRAME
constexpr int kBorder = 1;         // SM_CXBORDER / SM_CYBORDER

struct Timer {
    HWND hwnd = nullptr;
    UINT_PTR id = 0;
    UINT period = 0;
    TIMERPROC proc = nullptr;
    std::chrono::steady_clock::time_point due;
};

class WindowManager {
  public:
    static WindowManager &instance();

    // Windows
    WindowObject *find(HWND hwnd) const; // live windows only
    WindowObject *create();              // a new object with a fresh handle
    void bury(HWND hwnd);                // after destruction: invalid from now on
    void collectGarbage();               // frees buried objects when no procedure runs
    std::vector<HWND> topLevels() const;
    std::size_t objectCount() const { return windows_.size() + graveyard_.size(); }

    // Classes
    std::shared_ptr<WindowClass> findClass(const char *name) const;
    bool addClass(std::shared_ptr<WindowClass> cls);
    bool removeClass(const char *name);

    // Queue
    void post(const MSG &msg);
    bool takePosted(MSG *out, HWND filter, UINT minMsg, UINT maxMsg, bool remove);
    void removeMessagesFor(HWND hwnd);
    bool quitPosted = false;
    int quitCode = 0;

    // Timers
    std::vector<Timer> timers;
    UINT_PTR nextThreadTimerId = 0x7FF0;

    // Focus and active window as the program sees them (GetFocus, GetActiveWindow). They are
    // the layer's own: Qt's keyboard focus follows them (syncQtFocus), not the other way round.
    HWND focus = nullptr;
    HWND active = nullptr;
    // The window the mouse is captured to (SetCapture), or null.
    HWND capture = nullptr;

    // Depth of window procedure calls on the stack; objects are freed only at depth 0.
    int procDepth = 0;

  private:
    WindowManager() = default;
    std::map<HWND, std::unique_ptr<WindowObject>> windows_;
    std::vector<std::unique_ptr<WindowObject>> graveyard_;
    std::map<std::string, std::shared_ptr<WindowClass>> classes_; // key: upper-case name
    std::deque<MSG> posted_;
    uintptr_t nextHandle_ = 0x10010;
};

// Helpers shared by the user32 files.
LRESULT callProc(WindowObject *wnd, UINT msg, WPARAM wParam, LPARAM lParam);
DWORD messageTime();
void registerBuiltinClasses(); // adds BUTTON, EDIT, ... once; defined where the controls live
void ensureBuiltinClasses();
QWidget *widgetOf(HWND hwnd);
HWND hwndOfWidget(const QWidget *widget);
void invalidateWindow(WindowObject *wnd, const QRegion &region, bool erase);
// Shows what the program painted in `region`: asks Qt to repaint the part whose pixels differ
// from what the screen shows.
void presentWindow(WindowObject *wnd, const QRegion &region);
// The bounding rectangle, within `within`, of the pixels that differ between two images of
// the same size and format (all of `within` when they are not alike).
QRect changedArea(const QImage &before, const QImage &after, const QRect &within);
// A device context on the window's client area clipped to `clip` (the window's own one for a
// CS_OWNDC class), and its release, which keeps an own DC alive.
HDC windowDC(WindowObject *wnd, const QRegion &clip);
void releaseWindowDC(WindowObject *wnd, HDC dc);
void resizeBacking(WindowObject *wnd);
// Copies the pixels of `area` from one 32-bit image to another of the same format.
void copyPixels(QImage &to, const QImage &from, const QRect &area);
// Runs the thread's queue and Qt's events until done() says so (modal loops).
void runModalLoop(const std::function<bool()> &done);
// Waits for Qt events, at most until the next timer is due.
void waitForEvents();
// Tells the desktop's window manager (X11) which frame, buttons and functions the top-level
// window's style allows; nothing elsewhere.
void describeFrame(WindowObject *wnd);
// A point in client coordinates packed as a mouse message's lParam.
inline LPARAM pointParam(const QPoint &p) {
    return MAKELPARAM(static_cast<WORD>(static_cast<short>(p.x())),
                      static_cast<WORD>(static_cast<short>(p.y())));
}
// Where Win32's screen origin (the primary monitor's top left) is on Qt's virtual desktop.
QPoint primaryOrigin();
// The message a left-button press at this global position makes for the window:
// WM_LBUTTONDBLCLK for the second press of a double-click on a CS_DBLCLKS window, otherwise
// WM_LBUTTONDOWN.
UINT buttonDownMessage(HWND hwnd, const QPointF &global);
// Sends a WM_COMMAND notification from a control to its parent.
void notifyParent(WindowObject *control, WORD code);
// Makes `top` (a top-level window, or null for none of ours) the active window as Windows
// does: WM_ACTIVATE(WA_INACTIVE) to the previous one, WM_ACTIVATE(WA_ACTIVE or WA_CLICKACTIVE)
// to the new one (whose DefWindowProc takes the focus) and, with `takeFocus`, the focus to the
// new window unless it already is inside it (to nothing when `top` is null).
void activateWindow(HWND top, bool byClick, bool takeFocus);
// Gives Qt's keyboard focus to the widget that should receive the keys for the Win32 focus:
// the focus window's widget when it shows, otherwise its top-level window's (which hands the
// keys on), or the active window's when nothing has the focus.
void syncQtFocus();
// The top-level window that `hwnd` belongs to (itself for a top-level one), null if none.
HWND topLevelOf(HWND hwnd);
// True when `hwnd` is `ancestor` or one of its descendants.
bool isSelfOrChild(HWND ancestor, HWND hwnd);
// What Qt's activation of a top-level window (by the window manager, or by a click where there
// is none) means for Win32; and its deactivation, when another window was activated.
void onQtActivated(HWND top);
void onQtDeactivated(HWND top);

} // namespace vintorel::user32
