// The up-down control (msctls_updown32) and CreateUpDownControl: two arrow buttons that step a
// position within a range and, with UDS_SETBUDDYINT, write it into the buddy window as decimal
// text (without thousands separators when UDS_NOTHOUSANDS is set, otherwise with the locale's
// groups as Windows does). The arrows read the buddy's text first, stop at the ends of the range
// (or wrap with UDS_WRAP), run backwards when the lower bound is the greater one, and repeat
// while held; UDS_ARROWKEYS lets the buddy's Up and Down keys step too. UDS_ALIGNLEFT and
// UDS_ALIGNRIGHT attach the control to that edge of the buddy, which moves and narrows by the
// control's default width of 16 (the control overlaps an edit box's border by 2). Parent
// notifications: WM_VSCROLL (or WM_HSCROLL for UDS_HORZ) with SB_THUMBPOSITION and SB_ENDSCROLL.
// Not implemented: UDN_DELTAPOS (WM_NOTIFY), acceleration tables, UDS_HOTTRACK.
#include "comctl32/classes.h"
#include "user32/controls.h"

#include <commctrl.h>

#include <QEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QLocale>
#include <QToolButton>
#include <QVBoxLayout>

#include <cstdlib>
#include <string>

namespace vintorel::comctl32 {

using namespace vintorel::user32;

namespace {

constexpr int kDefaultWidth = 16; // a vertical up-down's width, as Windows sizes it
constexpr int kBuddyBorder = 2;   // the edge of an edit box the control overlaps

constexpr WORD SB_THUMBPOSITION = 4;
constexpr WORD SB_ENDSCROLL = 8;

class UpDown;

// Up and Down keys of the buddy step the control (UDS_ARROWKEYS).
class ArrowKeys final : public QObject {
  public:
    ArrowKeys(HWND updown, QObject *parent) : QObject(parent), updown_(updown) {}

  protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

  private:
    HWND updown_;
};

class UpDown final : public QtControl {
  public:
    UpDown(WindowObject &wnd) : QtControl(wnd), style(wnd.style) {
        auto *panel = new QWidget;
        auto *layout = new QVBoxLayout(panel);
        layout->setContentsMargins(0, 0, 0, 0);
        layout->setSpacing(0);
        auto *up = new QToolButton(panel);
        auto *down = new QToolButton(panel);
        up->setArrowType(Qt::UpArrow);
        down->setArrowType(Qt::DownArrow);
        for (QToolButton *b : {up, down}) {
            b->setAutoRepeat(true);
            b->setAutoRepeatDelay(400);
            b->setAutoRepeatInterval(80);
            b->setFocusPolicy(Qt::NoFocus);
            b->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
            layout->addWidget(b);
        }
        w = panel;
        adoptWidget(wnd, panel);
        const HWND self = hwnd;
        QObject::connect(up, &QToolButton::clicked, panel, [self] { step(self, +1, false); });
        QObject::connect(down, &QToolButton::clicked, panel, [self] { step(self, -1, false); });
    }

    // Steps by one in the direction of the arrow; +1 is the up arrow.
    static void step(HWND hwnd, int arrow, bool synchronous);

    void clampAndWrite(int value) {
        position = value;
        writeBuddy();
    }

    int low() const { return std::min(lower, upper); }
    int high() const { return std::max(lower, upper); }

    // The buddy's number when it holds one, else the stored position (as Windows reads it).
    bool readBuddy(int *value) const {
        if (!(style & UDS_SETBUDDYINT) || !IsWindow(buddy)) {
            return false;
        }
        char text[64] = {};
        GetWindowTextA(buddy, text, sizeof text);
        std::string digits;
        for (const char *p = text; *p; ++p) {
            if (*p != ',' && *p != '.' && *p != ' ') {
                digits.push_back(*p);
            }
        }
        if (digits.empty()) {
            return false;
        }
        char *end = nullptr;
        const long v = std::strtol(digits.c_str(), &end, 10);
        if (end == nullptr || *end != '\0') {
            return false;
        }
        *value = static_cast<int>(std::clamp<long>(v, INT32_MIN, INT32_MAX));
        return true;
    }

    void writeBuddy() const {
        if (!(style & UDS_SETBUDDYINT) || !IsWindow(buddy)) {
            return;
        }
        std::string text;
        if (style & UDS_NOTHOUSANDS) {
            text = std::to_string(position);
        } else {
            text = QLocale().toString(position).toStdString();
        }
        SetWindowTextA(buddy, text.c_str());
    }

    void attachTo(HWND newBuddy) {
        buddy = newBuddy;
        WindowObject *self = WindowManager::instance().find(hwnd);
        WindowObject *b = WindowManager::instance().find(buddy);
        if (self == nullptr || b == nullptr) {
            return;
        }
        if (style & UDS_ARROWKEYS) {
            if (QLineEdit *line = editLineOf(buddy)) {
                line->installEventFilter(new ArrowKeys(hwnd, line));
            }
        }
        if (!(style & (UDS_ALIGNLEFT | UDS_ALIGNRIGHT))) {
            return;
        }
        // As Windows' up-down: the buddy gives up the control's default width whatever width
        // the control was created with, and a control beside an edit box (which has a border)
        // is two pixels wider so that it overlaps that border.
        RECT r = b->windowRect;
        int x = 0;
        int width = kDefaultWidth;
        if (style & UDS_ALIGNLEFT) {
            x = r.left;
            r.left += kDefaultWidth;
        } else {
            r.right -= kDefaultWidth;
            x = r.right;
        }
        if (editLineOf(buddy) != nullptr) {
            if (style & UDS_ALIGNLEFT) {
                width += kBuddyBorder;
            } else {
                x -= kBuddyBorder;
            }
        }
        MoveWindow(buddy, r.left, r.top, r.right - r.left, r.bottom - r.top, TRUE);
        MoveWindow(hwnd, x, r.top, width, r.bottom - r.top, TRUE);
    }

    DWORD style;
    HWND buddy = nullptr;
    int lower = 0;
    int upper = 100;
    int position = 0;
};

void UpDown::step(HWND hwnd, int arrow, bool synchronous) {
    UpDown *u = controlAs<UpDown>(hwnd);
    if (u == nullptr || !IsWindowEnabled(hwnd)) {
        return;
    }
    int current = u->position;
    u->readBuddy(&current);
    // With the lower bound above the upper one the arrows run backwards.
    const int direction = (u->upper >= u->lower ? 1 : -1) * arrow;
    long long next = static_cast<long long>(current) + direction;
    if (next > u->high() || next < u->low()) {
        if (!(u->style & UDS_WRAP)) {
            next = std::clamp<long long>(next, u->low(), u->high());
            if (next == current) {
                return; // at the end of the range: nothing moves
            }
        } else {
            next = next > u->high() ? u->low() : u->high();
        }
    }
    u->clampAndWrite(static_cast<int>(next));
    WindowObject *self = WindowManager::instance().find(hwnd);
    if (self == nullptr || !self->isChild()) {
        return;
    }
    const UINT scroll = (u->style & UDS_HORZ) ? WM_HSCROLL : WM_VSCROLL;
    const WPARAM thumb = MAKEWPARAM(SB_THUMBPOSITION, static_cast<WORD>(u->position));
    if (synchronous) {
        SendMessageA(self->parent, scroll, thumb, reinterpret_cast<LPARAM>(hwnd));
        SendMessageA(self->parent, scroll, MAKEWPARAM(SB_ENDSCROLL, 0),
                     reinterpret_cast<LPARAM>(hwnd));
    } else {
        PostMessageA(self->parent, scroll, thumb, reinterpret_cast<LPARAM>(hwnd));
        PostMessageA(self->parent, scroll, MAKEWPARAM(SB_ENDSCROLL, 0),
                     reinterpret_cast<LPARAM>(hwnd));
    }
}

bool ArrowKeys::eventFilter(QObject *watched, QEvent *event) {
    if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (key == Qt::Key_Up || key == Qt::Key_Down) {
            UpDown::step(updown_, key == Qt::Key_Up ? +1 : -1, false);
            return true;
        }
    }
    return QObject::eventFilter(watched, event);
}

LRESULT CALLBACK upDownProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    WindowObject *wnd = WindowManager::instance().find(hwnd);
    UpDown *u = controlAs<UpDown>(hwnd);
    if (wnd == nullptr || u == nullptr) {
        return DefWindowProcA(hwnd, msg, wParam, lParam);
    }
    switch (msg) {
    case UDM_SETRANGE:
        // Packed: the upper bound in the low word, the lower one in the high word.
        u->upper = static_cast<SHORT>(LOWORD(lParam));
        u->lower = static_cast<SHORT>(HIWORD(lParam));
        return 0;
    case UDM_GETRANGE:
        return MAKELRESULT(static_cast<WORD>(u->upper), static_cast<WORD>(u->lower));
    case UDM_SETRANGE32:
        u->lower = static_cast<int>(static_cast<INT_PTR>(wParam));
        u->upper = static_cast<int>(lParam);
        return 0;
    case UDM_GETRANGE32:
        if (wParam) {
            *reinterpret_cast<int *>(wParam) = u->lower;
        }
        if (lParam) {
            *reinterpret_cast<int *>(lParam) = u->upper;
        }
        return 0;
    case UDM_SETPOS:
    case UDM_SETPOS32: {
        const int previous = u->position;
        const int wanted =
            msg == UDM_SETPOS ? static_cast<SHORT>(LOWORD(lParam)) : static_cast<int>(lParam);
        u->clampAndWrite(std::clamp(wanted, u->low(), u->high()));
        return previous;
    }
    case UDM_GETPOS: {
        int value = u->position;
        const bool fromBuddy = u->readBuddy(&value);
        const bool error = (u->style & UDS_SETBUDDYINT) && !fromBuddy;
        if (fromBuddy) {
            u->position = value;
        }
        return MAKELRESULT(static_cast<WORD>(u->position), error ? 1 : 0);
    }
    case UDM_GETPOS32: {
        int value = u->position;
        const bool fromBuddy = u->readBuddy(&value);
        if (fromBuddy) {
            u->position = value;
        }
        if (lParam) {
            *reinterpret_cast<BOOL *>(lParam) =
                ((u->style & UDS_SETBUDDYINT) && !fromBuddy) ? TRUE : FALSE;
        }
        return u->position;
    }
    case UDM_SETBUDDY: {
        const HWND previous = u->buddy;
        u->attachTo(reinterpret_cast<HWND>(wParam));
        return reinterpret_cast<LRESULT>(previous);
    }
    case UDM_GETBUDDY:
        return reinterpret_cast<LRESULT>(u->buddy);
    case WM_LBUTTONDOWN: {
        // The upper half is the up arrow.
        const int height = wnd->windowRect.bottom - wnd->windowRect.top;
        UpDown::step(hwnd, GET_Y_LPARAM(lParam) < height / 2 ? +1 : -1, true);
        return 0;
    }
    case WM_KEYDOWN:
        if (wParam == VK_UP || wParam == VK_DOWN) {
            UpDown::step(hwnd, wParam == VK_UP ? +1 : -1, true);
        }
        return 0;
    default:
        return controlDefaultProc(wnd, msg, wParam, lParam);
    }
}

} // namespace

void registerClasses() {
    static bool done = false;
    if (done) {
        return;
    }
    done = true;
    addBuiltinClass(UPDOWN_CLASSA, upDownProc,
                    [](WindowObject &wnd) { return std::make_unique<UpDown>(wnd); });
}

} // namespace vintorel::comctl32

extern "C" {

void WINAPI InitCommonControls(void) {
    vintorel::comctl32::registerClasses();
}

HWND WINAPI CreateUpDownControl(DWORD style, int x, int y, int cx, int cy, HWND parent, int id,
                                HINSTANCE instance, HWND buddy, int upper, int lower, int pos) {
    vintorel::comctl32::registerClasses();
    HWND hwnd =
        CreateWindowExA(0, UPDOWN_CLASSA, nullptr, style, x, y, cx, cy, parent,
                        reinterpret_cast<HMENU>(static_cast<intptr_t>(id)), instance, nullptr);
    if (hwnd == nullptr) {
        return nullptr;
    }
    SendMessageA(hwnd, UDM_SETBUDDY, reinterpret_cast<WPARAM>(buddy), 0);
    SendMessageA(hwnd, UDM_SETRANGE, 0, MAKELPARAM(upper, lower));
    SendMessageA(hwnd, UDM_SETPOS, 0, MAKELPARAM(pos, 0));
    return hwnd;
}

} // extern "C"
