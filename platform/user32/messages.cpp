// Messages, the message loop and timers: SendMessageA (synchronous), PostMessageA,
// PostQuitMessage, GetMessageA/PeekMessageA with Windows' order (posted messages, then the quit
// request, then WM_PAINT for a visible window with an update region, then due WM_TIMERs),
// DispatchMessageA (timer callbacks included), TranslateMessage, DefWindowProcA (an activated
// window takes the focus) and SetTimer/KillTimer (setting an existing id re-arms it; a timer of
// a destroyed window never fires). While the queue is empty the loop sleeps in Qt's event
// dispatcher until an event comes or the next timer is due. Not implemented: cross-thread messages,
// hooks, WM_CHAR from dead keys or input methods.
#include "user32/window_manager.h"

#include "common/codepage.h"
#include "vintorel_trace.h"

#include <QAbstractEventDispatcher>
#include <QCoreApplication>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <cstring>

using namespace vintorel::user32;

namespace {

WindowManager &wm() {
    return WindowManager::instance();
}

using Clock = std::chrono::steady_clock;

bool inFilter(UINT msg, UINT minMsg, UINT maxMsg) {
    return (minMsg == 0 && maxMsg == 0) || (msg >= minMsg && msg <= maxMsg);
}

bool hwndMatches(HWND hwnd, HWND filter) {
    if (filter == nullptr) {
        return true;
    }
    if (hwnd == filter) {
        return true;
    }
    // A filter window also receives its children's messages.
    for (WindowObject *w = wm().find(hwnd); w != nullptr && w->isChild();
         w = wm().find(w->parent)) {
        if (w->parent == filter) {
            return true;
        }
    }
    return false;
}

// A window with something to paint, for the WM_PAINT that GetMessage makes up.
HWND windowNeedingPaint(HWND filter) {
    for (HWND top : wm().topLevels()) {
        std::vector<HWND> stack{top};
        while (!stack.empty()) {
            const HWND h = stack.back();
            stack.pop_back();
            WindowObject *w = wm().find(h);
            if (w == nullptr || !(w->style & WS_VISIBLE)) {
                continue; // hidden windows and everything in them wait until shown
            }
            if (!w->update.isEmpty() && hwndMatches(h, filter)) {
                return h;
            }
            stack.insert(stack.end(), w->children.begin(), w->children.end());
        }
    }
    return nullptr;
}

bool dueTimer(MSG *out, HWND filter, bool remove) {
    const auto now = Clock::now();
    Timer *best = nullptr;
    for (Timer &t : wm().timers) {
        if (t.due <= now && (filter == nullptr || hwndMatches(t.hwnd, filter)) &&
            (best == nullptr || t.due < best->due)) {
            best = &t;
        }
    }
    if (best == nullptr) {
        return false;
    }
    *out = MSG{best->hwnd,    WM_TIMER, best->id, reinterpret_cast<LPARAM>(best->proc),
               messageTime(), {}};
    if (remove) {
        // Ticks that fell due together are one message, as on Windows.
        best->due = now + std::chrono::milliseconds(best->period);
    }
    return true;
}

bool peekInternal(MSG *msg, HWND filter, UINT minMsg, UINT maxMsg, bool remove) {
    wm().collectGarbage();
    if (wm().takePosted(msg, filter, minMsg, maxMsg, remove)) {
        return true;
    }
    if (wm().quitPosted && inFilter(WM_QUIT, minMsg, maxMsg)) {
        *msg = MSG{nullptr, WM_QUIT, static_cast<WPARAM>(wm().quitCode), 0, messageTime(), {}};
        if (remove) {
            wm().quitPosted = false;
        }
        return true;
    }
    if (inFilter(WM_PAINT, minMsg, maxMsg)) {
        if (const HWND h = windowNeedingPaint(filter)) {
            *msg = MSG{h, WM_PAINT, 0, 0, messageTime(), {}};
            return true;
        }
    }
    if (inFilter(WM_TIMER, minMsg, maxMsg) && dueTimer(msg, filter, remove)) {
        return true;
    }
    return false;
}

} // namespace

namespace vintorel::user32 {

DWORD messageTime() {
    return GetTickCount();
}

namespace {

// A message's name for the trace, as Wine's +msg channel shows it; others by number.
const char *messageName(UINT msg, char *buffer, size_t size) {
    static constexpr struct {
        UINT msg;
        const char *name;
    } kNames[] = {
        {WM_NULL, "WM_NULL"},
        {WM_CREATE, "WM_CREATE"},
        {WM_DESTROY, "WM_DESTROY"},
        {WM_MOVE, "WM_MOVE"},
        {WM_SIZE, "WM_SIZE"},
        {WM_ACTIVATE, "WM_ACTIVATE"},
        {WM_SETFOCUS, "WM_SETFOCUS"},
        {WM_KILLFOCUS, "WM_KILLFOCUS"},
        {WM_ENABLE, "WM_ENABLE"},
        {WM_SETREDRAW, "WM_SETREDRAW"},
        {WM_SETTEXT, "WM_SETTEXT"},
        {WM_GETTEXT, "WM_GETTEXT"},
        {WM_GETTEXTLENGTH, "WM_GETTEXTLENGTH"},
        {WM_PAINT, "WM_PAINT"},
        {WM_CLOSE, "WM_CLOSE"},
        {WM_QUIT, "WM_QUIT"},
        {WM_ERASEBKGND, "WM_ERASEBKGND"},
        {WM_SHOWWINDOW, "WM_SHOWWINDOW"},
        {WM_SETCURSOR, "WM_SETCURSOR"},
        {WM_SETFONT, "WM_SETFONT"},
        {WM_GETFONT, "WM_GETFONT"},
        {WM_NCCREATE, "WM_NCCREATE"},
        {WM_NCDESTROY, "WM_NCDESTROY"},
        {WM_KEYDOWN, "WM_KEYDOWN"},
        {WM_KEYUP, "WM_KEYUP"},
        {WM_CHAR, "WM_CHAR"},
        {WM_SYSKEYDOWN, "WM_SYSKEYDOWN"},
        {WM_SYSKEYUP, "WM_SYSKEYUP"},
        {WM_COMMAND, "WM_COMMAND"},
        {WM_SYSCOMMAND, "WM_SYSCOMMAND"},
        {WM_TIMER, "WM_TIMER"},
        {WM_HSCROLL, "WM_HSCROLL"},
        {WM_VSCROLL, "WM_VSCROLL"},
        {WM_CTLCOLOREDIT, "WM_CTLCOLOREDIT"},
        {WM_CTLCOLORBTN, "WM_CTLCOLORBTN"},
        {WM_CTLCOLORSTATIC, "WM_CTLCOLORSTATIC"},
        {WM_MOUSEMOVE, "WM_MOUSEMOVE"},
        {WM_LBUTTONDOWN, "WM_LBUTTONDOWN"},
        {WM_LBUTTONUP, "WM_LBUTTONUP"},
        {WM_LBUTTONDBLCLK, "WM_LBUTTONDBLCLK"},
        {WM_RBUTTONDOWN, "WM_RBUTTONDOWN"},
        {WM_RBUTTONUP, "WM_RBUTTONUP"},
    };
    for (const auto &n : kNames) {
        if (n.msg == msg) {
            return n.name;
        }
    }
    std::snprintf(buffer, size, "0x%04x", msg);
    return buffer;
}

void writeMessageTrace(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    char number[16];
    ::vintorel::trace::line(::vintorel::trace::USER32, "message %p %s wp=%#llx lp=%#llx",
                            static_cast<void *>(hwnd), messageName(msg, number, sizeof number),
                            static_cast<unsigned long long>(wParam),
                            static_cast<unsigned long long>(lParam));
}

// One line per message delivered to a window procedure, when user32's channel is on.
inline void traceMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (::vintorel::trace::enabled & ::vintorel::trace::USER32) {
        writeMessageTrace(hwnd, msg, wParam, lParam);
    }
}

} // namespace

LRESULT callProc(WindowObject *wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (wnd == nullptr || wnd->proc == nullptr) {
        return 0;
    }
    traceMessage(wnd->handle, msg, wParam, lParam);
    WindowManager &manager = WindowManager::instance();
    ++manager.procDepth;
    const LRESULT result = wnd->proc(wnd->handle, msg, wParam, lParam);
    --manager.procDepth;
    return result;
}

void waitForEvents() {
    QCoreApplication *app = QCoreApplication::instance();
    if (app == nullptr) {
        return;
    }
    // Wake up in time for the next timer; Qt's own events wake us earlier.
    auto next = Clock::time_point::max();
    for (const Timer &t : wm().timers) {
        next = std::min(next, t.due);
    }
    static QTimer *wakeup = nullptr;
    if (wakeup == nullptr) {
        wakeup = new QTimer(app);
        wakeup->setSingleShot(true);
        wakeup->setTimerType(Qt::PreciseTimer);
        QObject::connect(wakeup, &QTimer::timeout, [] {});
    }
    if (next != Clock::time_point::max()) {
        const auto ms =
            std::chrono::duration_cast<std::chrono::milliseconds>(next - Clock::now()).count();
        if (ms <= 0) {
            QCoreApplication::processEvents(QEventLoop::AllEvents);
            return;
        }
        wakeup->start(static_cast<int>(std::min<long long>(ms + 1, 24LL * 3600 * 1000)));
    } else {
        wakeup->stop();
    }
    QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents | QEventLoop::AllEvents);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

void runModalLoop(const std::function<bool()> &done) {
    while (!done()) {
        MSG msg;
        bool any = false;
        while (!done() && PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE)) {
            if (msg.message == WM_QUIT) {
                return; // the quit request stays queued for the outer loop
            }
            PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE);
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
            any = true;
        }
        if (!done() && !any) {
            waitForEvents();
        } else if (!done()) {
            QCoreApplication::processEvents(QEventLoop::AllEvents);
        }
    }
}

void notifyParent(WindowObject *control, WORD code) {
    if (control == nullptr || !control->isChild()) {
        return;
    }
    SendMessageA(control->parent, WM_COMMAND, MAKEWPARAM(static_cast<WORD>(control->id), code),
                 reinterpret_cast<LPARAM>(control->handle));
}

} // namespace vintorel::user32

extern "C" {

LRESULT WINAPI SendMessageA(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    WindowObject *wnd = wm().find(hwnd);
    if (wnd == nullptr) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return 0;
    }
    return callProc(wnd, msg, wParam, lParam);
}

LRESULT WINAPI CallWindowProcA(WNDPROC proc, HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (proc == nullptr) {
        return 0;
    }
    traceMessage(hwnd, msg, wParam, lParam);
    ++wm().procDepth;
    const LRESULT result = proc(hwnd, msg, wParam, lParam);
    --wm().procDepth;
    return result;
}

BOOL WINAPI PostMessageA(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    VINTOREL_TRACE(USER32, "PostMessageA %p %#x wp=%#llx lp=%#llx", static_cast<void *>(hwnd), msg,
                   static_cast<unsigned long long>(wParam),
                   static_cast<unsigned long long>(lParam));
    if (hwnd != nullptr && wm().find(hwnd) == nullptr) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return FALSE;
    }
    wm().post(MSG{hwnd, msg, wParam, lParam, messageTime(), {}});
    return TRUE;
}

void WINAPI PostQuitMessage(int exitCode) {
    VINTOREL_TRACE(USER32, "PostQuitMessage %d", exitCode);
    wm().quitPosted = true;
    wm().quitCode = exitCode;
}

BOOL WINAPI PeekMessageA(LPMSG msg, HWND hwnd, UINT minMsg, UINT maxMsg, UINT remove) {
    if (msg == nullptr) {
        return FALSE;
    }
    if (!peekInternal(msg, hwnd, minMsg, maxMsg, (remove & PM_REMOVE) != 0)) {
        // Let Qt turn pending input into messages, then look once more.
        if (QCoreApplication::instance() != nullptr) {
            QCoreApplication::processEvents(QEventLoop::AllEvents);
        }
        return peekInternal(msg, hwnd, minMsg, maxMsg, (remove & PM_REMOVE) != 0) ? TRUE : FALSE;
    }
    return TRUE;
}

BOOL WINAPI GetMessageA(LPMSG msg, HWND hwnd, UINT minMsg, UINT maxMsg) {
    if (msg == nullptr) {
        return -1;
    }
    for (;;) {
        if (peekInternal(msg, hwnd, minMsg, maxMsg, true)) {
            return msg->message == WM_QUIT ? FALSE : TRUE;
        }
        if (QCoreApplication::instance() == nullptr) {
            return -1; // nothing could ever arrive
        }
        waitForEvents();
    }
}

BOOL WINAPI TranslateMessage(const MSG *msg) {
    if (msg == nullptr || msg->message != WM_KEYDOWN) {
        return FALSE;
    }
    const UINT vk = static_cast<UINT>(msg->wParam);
    WPARAM ch = 0;
    if ((vk >= '0' && vk <= '9') || vk == VK_ESCAPE || vk == VK_RETURN || vk == VK_BACK ||
        vk == VK_SPACE || vk == VK_TAB) {
        ch = vk;
    } else if (vk >= 'A' && vk <= 'Z') {
        ch = vk - 'A' + 'a';
    }
    if (ch == 0) {
        return FALSE;
    }
    wm().post(MSG{msg->hwnd, WM_CHAR, ch, msg->lParam, msg->time, msg->pt});
    return TRUE;
}

LRESULT WINAPI DispatchMessageA(const MSG *msg) {
    if (msg == nullptr) {
        return 0;
    }
    if (msg->message == WM_TIMER && msg->lParam != 0) {
        auto proc = reinterpret_cast<TIMERPROC>(msg->lParam);
        traceMessage(msg->hwnd, WM_TIMER, msg->wParam, msg->lParam);
        ++wm().procDepth;
        proc(msg->hwnd, WM_TIMER, msg->wParam, GetTickCount());
        --wm().procDepth;
        return 0;
    }
    WindowObject *wnd = wm().find(msg->hwnd);
    if (wnd == nullptr) {
        return 0;
    }
    const LRESULT result = callProc(wnd, msg->message, msg->wParam, msg->lParam);
    if (msg->message == WM_PAINT) {
        // A procedure that did not paint must not get the same WM_PAINT forever.
        if (WindowObject *again = wm().find(msg->hwnd)) {
            if (!again->update.isEmpty()) {
                ValidateRect(msg->hwnd, nullptr);
            }
        }
    }
    return result;
}

LRESULT WINAPI DefWindowProcA(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    WindowObject *wnd = wm().find(hwnd);
    if (wnd == nullptr) {
        return 0;
    }
    switch (msg) {
    case WM_NCCREATE: {
        const auto *cs = reinterpret_cast<const CREATESTRUCTA *>(lParam);
        if (cs && cs->lpszName) {
            wnd->text = cs->lpszName;
        }
        return TRUE;
    }
    case WM_CLOSE:
        DestroyWindow(hwnd);
        return 0;
    case WM_ACTIVATE:
        // An activated window takes the keys itself, unless it is minimised.
        if (LOWORD(wParam) != WA_INACTIVE && !(wnd->style & WS_MINIMIZE)) {
            SetFocus(hwnd);
        }
        return 0;
    case WM_SYSCOMMAND:
        if ((wParam & 0xFFF0) == SC_CLOSE) {
            SendMessageA(hwnd, WM_CLOSE, 0, 0);
        }
        return 0;
    case WM_ERASEBKGND: {
        HBRUSH brush = wnd->cls ? wnd->cls->background : nullptr;
        if (brush == nullptr) {
            return 0;
        }
        RECT rc;
        GetClientRect(hwnd, &rc);
        FillRect(reinterpret_cast<HDC>(wParam), &rc, brush);
        return 1;
    }
    case WM_PAINT: {
        PAINTSTRUCT ps;
        BeginPaint(hwnd, &ps);
        EndPaint(hwnd, &ps);
        return 0;
    }
    case WM_SETTEXT: {
        const char *text = reinterpret_cast<const char *>(lParam);
        wnd->text = text ? text : "";
        if (!wnd->isChild() && wnd->widget) {
            wnd->widget->setWindowTitle(vintorel::fromCp1251(wnd->text));
        }
        return TRUE;
    }
    case WM_GETTEXT: {
        char *out = reinterpret_cast<char *>(lParam);
        const size_t room = static_cast<size_t>(wParam);
        if (out == nullptr || room == 0) {
            return 0;
        }
        const size_t n = std::min(room - 1, wnd->text.size());
        std::memcpy(out, wnd->text.data(), n);
        out[n] = '\0';
        return static_cast<LRESULT>(n);
    }
    case WM_GETTEXTLENGTH:
        return static_cast<LRESULT>(wnd->text.size());
    case WM_SETFONT:
        wnd->font = reinterpret_cast<HFONT>(wParam);
        return 0;
    case WM_GETFONT:
        return reinterpret_cast<LRESULT>(wnd->font);
    default:
        return 0;
    }
}

UINT_PTR WINAPI SetTimer(HWND hwnd, UINT_PTR id, UINT elapse, TIMERPROC proc) {
    VINTOREL_TRACE(USER32, "SetTimer %p id %llu every %u ms", static_cast<void *>(hwnd),
                   static_cast<unsigned long long>(id), elapse);
    if (hwnd != nullptr && wm().find(hwnd) == nullptr) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return 0;
    }
    elapse = std::clamp<UINT>(elapse, USER_TIMER_MINIMUM, USER_TIMER_MAXIMUM);
    if (hwnd == nullptr) {
        // Thread timers get an id of their own, as on Windows.
        if (id == 0 || std::none_of(wm().timers.begin(), wm().timers.end(), [id](const Timer &t) {
                return t.hwnd == nullptr && t.id == id;
            })) {
            id = ++wm().nextThreadTimerId;
        }
    }
    const auto due = Clock::now() + std::chrono::milliseconds(elapse);
    for (Timer &t : wm().timers) {
        if (t.hwnd == hwnd && t.id == id) {
            t.period = elapse;
            t.proc = proc;
            t.due = due;
            return hwnd ? 1 : id;
        }
    }
    wm().timers.push_back(Timer{hwnd, id, elapse, proc, due});
    return hwnd ? (id != 0 ? id : 1) : id;
}

BOOL WINAPI KillTimer(HWND hwnd, UINT_PTR id) {
    VINTOREL_TRACE(USER32, "KillTimer %p id %llu", static_cast<void *>(hwnd),
                   static_cast<unsigned long long>(id));
    const size_t removed = std::erase_if(
        wm().timers, [hwnd, id](const Timer &t) { return t.hwnd == hwnd && t.id == id; });
    // A tick already in the queue is removed with its timer.
    MSG stale;
    while (wm().takePosted(&stale, hwnd, WM_TIMER, WM_TIMER, false) && stale.wParam == id) {
        wm().takePosted(&stale, hwnd, WM_TIMER, WM_TIMER, true);
    }
    return removed != 0 ? TRUE : FALSE;
}

} // extern "C"
