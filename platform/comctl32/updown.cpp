// The up-down control (msctls_updown32) and CreateUpDownControl: two arrow buttons that step a
// position within a range and, with UDS_SETBUDDYINT, write it into the buddy window as decimal
// text (without thousands separators when UDS_NOTHOUSANDS is set, otherwise with the locale's
// groups as Windows does). The arrows read the buddy's text first, stop at the ends of the range
// (or wrap with UDS_WRAP), run backwards when the lower bound is the greater one, and repeat
// while held (the mouse captured, a timer); a press gives an edit buddy the focus and the release
// selects its text. UDS_ARROWKEYS subclasses the buddy so that its Up and Down keys step too.
// UDS_ALIGNLEFT and UDS_ALIGNRIGHT attach the control to that edge of the buddy, which moves and
// narrows by the control's default width of 16 (the control overlaps an edit box's border by 2).
// Parent notifications: WM_VSCROLL (or WM_HSCROLL for UDS_HORZ) with SB_THUMBPOSITION for each
// step and SB_ENDSCROLL when the arrow is let go. Built on user32's and gdi32's public functions
// only, as comctl32 is on Windows.
// Not implemented: UDN_DELTAPOS (WM_NOTIFY), acceleration tables, UDS_HOTTRACK, UDS_AUTOBUDDY.
#include "comctl32/classes.h"

#include <commctrl.h>

#include <QLocale>

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <cstdlib>
#include <string>

namespace vintorel::comctl32 {

namespace {

constexpr int kDefaultWidth = 16; // a vertical up-down's width, as Windows sizes it
constexpr int kBuddyBorder = 2;   // the edge of an edit box the control overlaps

constexpr UINT_PTR kRepeatTimer = 1;
constexpr UINT kRepeatDelay = 400;   // from the press to the first repeat, ms
constexpr UINT kRepeatInterval = 80; // between repeats, ms

// The buddy's properties: the up-down that subclassed it, and the procedure it had before.
constexpr const char *kBuddyOwner = "msctls_updown32.owner";
constexpr const char *kBuddyProc = "msctls_updown32.proc";

// What each up-down keeps, behind its window's extra bytes.
struct UpDownState {
    HWND buddy = nullptr;
    int lower = 0;
    int upper = 100;
    int position = 0;
    int pressed = 0; // the arrow held with the mouse: +1 up, -1 down, 0 none
};

UpDownState *stateOf(HWND hwnd) {
    return reinterpret_cast<UpDownState *>(GetWindowLongPtrA(hwnd, 0));
}

DWORD styleOf(HWND hwnd) {
    return static_cast<DWORD>(GetWindowLongA(hwnd, GWL_STYLE));
}

bool isEdit(HWND hwnd) {
    char name[16] = {};
    if (GetClassNameA(hwnd, name, sizeof name) != 4) {
        return false;
    }
    return std::equal(name, name + 4, "EDIT", [](char a, char b) { return std::toupper(a) == b; });
}

int low(const UpDownState &u) {
    return std::min(u.lower, u.upper);
}

int high(const UpDownState &u) {
    return std::max(u.lower, u.upper);
}

// The buddy's number when it holds one, else the stored position (as Windows reads it).
bool readBuddy(HWND hwnd, const UpDownState &u, int *value) {
    if (!(styleOf(hwnd) & UDS_SETBUDDYINT) || !IsWindow(u.buddy)) {
        return false;
    }
    char text[64] = {};
    GetWindowTextA(u.buddy, text, sizeof text);
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

void setPosition(HWND hwnd, UpDownState &u, int value) {
    u.position = value;
    const DWORD style = styleOf(hwnd);
    if (!(style & UDS_SETBUDDYINT) || !IsWindow(u.buddy)) {
        return;
    }
    const std::string text =
        (style & UDS_NOTHOUSANDS) ? std::to_string(value) : QLocale().toString(value).toStdString();
    SetWindowTextA(u.buddy, text.c_str());
}

void notifyParent(HWND hwnd, WORD code, int position) {
    if (!(styleOf(hwnd) & WS_CHILD)) {
        return;
    }
    const UINT scroll = (styleOf(hwnd) & UDS_HORZ) ? WM_HSCROLL : WM_VSCROLL;
    SendMessageA(GetParent(hwnd), scroll, MAKEWPARAM(code, static_cast<WORD>(position)),
                 reinterpret_cast<LPARAM>(hwnd));
}

// Steps by one in the direction of the arrow (+1 is the up arrow) and tells the parent.
void step(HWND hwnd, int arrow) {
    UpDownState *u = stateOf(hwnd);
    if (u == nullptr || !IsWindowEnabled(hwnd)) {
        return;
    }
    int current = u->position;
    readBuddy(hwnd, *u, &current);
    // With the lower bound above the upper one the arrows run backwards.
    const int direction = (u->upper >= u->lower ? 1 : -1) * arrow;
    long long next = static_cast<long long>(current) + direction;
    if (next > high(*u) || next < low(*u)) {
        if (!(styleOf(hwnd) & UDS_WRAP)) {
            next = std::clamp<long long>(next, low(*u), high(*u));
            if (next == current) {
                return; // at the end of the range: nothing moves
            }
        } else {
            next = next > high(*u) ? low(*u) : high(*u);
        }
    }
    setPosition(hwnd, *u, static_cast<int>(next));
    notifyParent(hwnd, SB_THUMBPOSITION, u->position);
}

// The arrow under a point of the client area: the upper half is the up arrow.
int arrowAt(HWND hwnd, LPARAM point) {
    RECT client{};
    GetClientRect(hwnd, &client);
    return GET_Y_LPARAM(point) < client.bottom / 2 ? +1 : -1;
}

void paint(HWND hwnd, const UpDownState &u) {
    PAINTSTRUCT ps{};
    HDC dc = BeginPaint(hwnd, &ps);
    RECT client{};
    GetClientRect(hwnd, &client);
    const int middle = client.bottom / 2;
    const UINT inactive = IsWindowEnabled(hwnd) ? 0 : DFCS_INACTIVE;
    RECT up{client.left, client.top, client.right, middle};
    RECT down{client.left, middle, client.right, client.bottom};
    DrawFrameControl(dc, &up, DFC_SCROLL,
                     DFCS_SCROLLUP | inactive | (u.pressed > 0 ? DFCS_PUSHED : 0));
    DrawFrameControl(dc, &down, DFC_SCROLL,
                     DFCS_SCROLLDOWN | inactive | (u.pressed < 0 ? DFCS_PUSHED : 0));
    EndPaint(hwnd, &ps);
}

// The arrow is let go (or the capture taken away): no more repeats, the arrow drawn up.
void release(HWND hwnd, UpDownState &u) {
    KillTimer(hwnd, kRepeatTimer);
    if (u.pressed != 0) {
        u.pressed = 0;
        InvalidateRect(hwnd, nullptr, FALSE);
    }
}

void unsubclass(HWND buddy);

// The buddy's procedure while the up-down subclasses it: Up and Down go to the up-down.
LRESULT CALLBACK buddyProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    const auto previous = reinterpret_cast<WNDPROC>(GetPropA(hwnd, kBuddyProc));
    const auto owner = static_cast<HWND>(GetPropA(hwnd, kBuddyOwner));
    if (msg == WM_KEYDOWN && (wParam == VK_UP || wParam == VK_DOWN) && IsWindow(owner)) {
        return SendMessageA(owner, msg, wParam, lParam);
    }
    if (msg == WM_NCDESTROY) {
        unsubclass(hwnd);
    }
    return previous ? CallWindowProcA(previous, hwnd, msg, wParam, lParam)
                    : DefWindowProcA(hwnd, msg, wParam, lParam);
}

// Gives the buddy back its own procedure, when nothing subclassed it after the up-down.
void unsubclass(HWND buddy) {
    const auto previous = reinterpret_cast<WNDPROC>(GetPropA(buddy, kBuddyProc));
    if (previous == nullptr ||
        GetWindowLongPtrA(buddy, GWLP_WNDPROC) != reinterpret_cast<LONG_PTR>(buddyProc)) {
        RemovePropA(buddy, kBuddyOwner);
        return; // later subclassing keeps the chain; buddyProc passes everything on
    }
    SetWindowLongPtrA(buddy, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previous));
    RemovePropA(buddy, kBuddyProc);
    RemovePropA(buddy, kBuddyOwner);
}

void attachTo(HWND hwnd, UpDownState &u, HWND buddy) {
    if (IsWindow(u.buddy)) {
        unsubclass(u.buddy);
    }
    u.buddy = buddy;
    if (!IsWindow(buddy)) {
        return;
    }
    const DWORD style = styleOf(hwnd);
    if (style & UDS_ARROWKEYS) {
        SetPropA(buddy, kBuddyOwner, hwnd);
        if (GetPropA(buddy, kBuddyProc) == nullptr) {
            SetPropA(buddy, kBuddyProc,
                     reinterpret_cast<HANDLE>(SetWindowLongPtrA(
                         buddy, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(buddyProc))));
        }
    }
    if (!(style & (UDS_ALIGNLEFT | UDS_ALIGNRIGHT))) {
        return;
    }
    // As Windows' up-down: the buddy gives up the control's default width whatever width the
    // control was created with, and a control beside an edit box (which has a border) is two
    // pixels wider so that it overlaps that border.
    RECT r{};
    GetWindowRect(buddy, &r);
    POINT corners[2] = {{r.left, r.top}, {r.right, r.bottom}};
    ScreenToClient(GetParent(buddy), &corners[0]);
    ScreenToClient(GetParent(buddy), &corners[1]);
    r = RECT{corners[0].x, corners[0].y, corners[1].x, corners[1].y};
    int x = 0;
    int width = kDefaultWidth;
    if (style & UDS_ALIGNLEFT) {
        x = r.left;
        r.left += kDefaultWidth;
    } else {
        r.right -= kDefaultWidth;
        x = r.right;
    }
    if (isEdit(buddy)) {
        if (style & UDS_ALIGNLEFT) {
            width += kBuddyBorder;
        } else {
            x -= kBuddyBorder;
        }
    }
    MoveWindow(buddy, r.left, r.top, r.right - r.left, r.bottom - r.top, TRUE);
    MoveWindow(hwnd, x, r.top, width, r.bottom - r.top, TRUE);
}

LRESULT onMessage(HWND hwnd, UpDownState &u, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case UDM_SETRANGE:
        // Packed: the upper bound in the low word, the lower one in the high word.
        u.upper = static_cast<SHORT>(LOWORD(lParam));
        u.lower = static_cast<SHORT>(HIWORD(lParam));
        return 0;
    case UDM_GETRANGE:
        return MAKELRESULT(static_cast<WORD>(u.upper), static_cast<WORD>(u.lower));
    case UDM_SETRANGE32:
        u.lower = static_cast<int>(static_cast<INT_PTR>(wParam));
        u.upper = static_cast<int>(lParam);
        return 0;
    case UDM_GETRANGE32:
        if (wParam) {
            *reinterpret_cast<int *>(wParam) = u.lower;
        }
        if (lParam) {
            *reinterpret_cast<int *>(lParam) = u.upper;
        }
        return 0;
    case UDM_SETPOS:
    case UDM_SETPOS32: {
        const int previous = u.position;
        const int wanted =
            msg == UDM_SETPOS ? static_cast<SHORT>(LOWORD(lParam)) : static_cast<int>(lParam);
        setPosition(hwnd, u, std::clamp(wanted, low(u), high(u)));
        return previous;
    }
    case UDM_GETPOS:
    case UDM_GETPOS32: {
        int value = u.position;
        const bool fromBuddy = readBuddy(hwnd, u, &value);
        const bool error = (styleOf(hwnd) & UDS_SETBUDDYINT) && !fromBuddy;
        if (fromBuddy) {
            u.position = value;
        }
        if (msg == UDM_GETPOS) {
            return MAKELRESULT(static_cast<WORD>(u.position), error ? 1 : 0);
        }
        if (lParam) {
            *reinterpret_cast<BOOL *>(lParam) = error ? TRUE : FALSE;
        }
        return u.position;
    }
    case UDM_SETBUDDY: {
        const HWND previous = u.buddy;
        attachTo(hwnd, u, reinterpret_cast<HWND>(wParam));
        return reinterpret_cast<LRESULT>(previous);
    }
    case UDM_GETBUDDY:
        return reinterpret_cast<LRESULT>(u.buddy);
    case WM_PAINT:
        paint(hwnd, u);
        return 0;
    case WM_ENABLE:
        if (!wParam) {
            if (GetCapture() == hwnd) {
                ReleaseCapture();
            }
            release(hwnd, u);
        }
        InvalidateRect(hwnd, nullptr, FALSE);
        return 0;
    case WM_LBUTTONDOWN:
        if (!IsWindowEnabled(hwnd)) {
            return 0;
        }
        if (isEdit(u.buddy)) {
            SetFocus(u.buddy);
        }
        u.pressed = arrowAt(hwnd, lParam);
        InvalidateRect(hwnd, nullptr, FALSE);
        step(hwnd, u.pressed);
        if (stateOf(hwnd) == &u && u.pressed != 0) {
            SetCapture(hwnd);
            SetTimer(hwnd, kRepeatTimer, kRepeatDelay, nullptr);
        }
        return 0;
    case WM_TIMER:
        if (wParam == kRepeatTimer) {
            if (u.pressed == 0 || GetCapture() != hwnd) {
                release(hwnd, u);
            } else {
                SetTimer(hwnd, kRepeatTimer, kRepeatInterval, nullptr);
                step(hwnd, u.pressed);
            }
        }
        return 0;
    case WM_LBUTTONUP:
        if (GetCapture() == hwnd) {
            notifyParent(hwnd, SB_ENDSCROLL, u.position);
            if (isEdit(u.buddy)) {
                SendMessageA(u.buddy, EM_SETSEL, 0, -1);
            }
            ReleaseCapture();
        }
        release(hwnd, u);
        return 0;
    case WM_CAPTURECHANGED:
        release(hwnd, u);
        return 0;
    case WM_KEYDOWN:
        if (wParam == VK_UP || wParam == VK_DOWN) {
            step(hwnd, wParam == VK_UP ? +1 : -1);
            notifyParent(hwnd, SB_ENDSCROLL, u.position);
        }
        return 0;
    default:
        return DefWindowProcA(hwnd, msg, wParam, lParam);
    }
}

LRESULT CALLBACK upDownProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_NCCREATE) {
        SetWindowLongPtrA(hwnd, 0, reinterpret_cast<LONG_PTR>(new UpDownState));
    }
    UpDownState *u = stateOf(hwnd);
    if (u == nullptr) {
        return DefWindowProcA(hwnd, msg, wParam, lParam);
    }
    if (msg == WM_NCDESTROY) {
        if (IsWindow(u->buddy)) {
            unsubclass(u->buddy);
        }
        SetWindowLongPtrA(hwnd, 0, 0);
        delete u;
        return DefWindowProcA(hwnd, msg, wParam, lParam);
    }
    return onMessage(hwnd, *u, msg, wParam, lParam);
}

} // namespace

void registerClasses() {
    static bool done = false;
    if (done) {
        return;
    }
    WNDCLASSA wc{};
    wc.lpfnWndProc = upDownProc;
    wc.cbWndExtra = sizeof(UpDownState *);
    wc.lpszClassName = UPDOWN_CLASSA;
    done = RegisterClassA(&wc) != 0;
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
