// Painting of program windows: InvalidateRect/ValidateRect/GetUpdateRect on the update region,
// BeginPaint (WM_ERASEBKGND first when an invalidation asked for erasing; the DC clipped to the
// update region, which is then validated), EndPaint (the painted pixels shown on screen, only
// where they differ from what it shows: programs repaint unchanged readouts on every timer),
// UpdateWindow (an immediate WM_PAINT) and GetDC/ReleaseDC (a DC on the whole client area, for
// reading pixels back). A window that is not visible, itself or through an ancestor, collects
// no update region and is never painted; showing it invalidates it whole. A window of a
// CS_OWNDC class has one device context for its whole life: every BeginPaint and GetDC hands
// out that one, with the objects, colours and modes the last paint left in it.
// Built-in controls are Qt widgets and repaint themselves.
// Not implemented: window DCs with the non-client area, CS_CLASSDC, scrolling.
#include "user32/window_manager.h"
#include "vintorel_trace.h"

#include "gdi32/gdi_internal.h"

#include <algorithm>

using namespace vintorel::user32;
namespace gdi = vintorel::gdi32;

namespace {

WindowManager &wm() {
    return WindowManager::instance();
}

QRegion clientRegion(const WindowObject *wnd) {
    return QRegion(0, 0, wnd->clientWidth(), wnd->clientHeight());
}

QRegion regionOf(const WindowObject *wnd, const RECT *rect) {
    if (rect == nullptr) {
        return clientRegion(wnd);
    }
    if (rect->right <= rect->left || rect->bottom <= rect->top) {
        return QRegion();
    }
    return QRegion(rect->left, rect->top, rect->right - rect->left, rect->bottom - rect->top) &
           clientRegion(wnd);
}

RECT boundsOf(const QRegion &region) {
    const QRect r = region.boundingRect();
    if (r.isEmpty()) {
        return RECT{0, 0, 0, 0};
    }
    return RECT{r.left(), r.top(), r.left() + r.width(), r.top() + r.height()};
}

} // namespace

namespace vintorel::user32 {

void invalidateWindow(WindowObject *wnd, const QRegion &region, bool erase) {
    if (wnd == nullptr) {
        return;
    }
    if (wnd->control) {
        if (wnd->widget) {
            wnd->widget->update();
        }
        return;
    }
    const QRegion area = region & clientRegion(wnd);
    if (area.isEmpty() || !IsWindowVisible(wnd->handle)) {
        return;
    }
    wnd->update += area;
    wnd->eraseNeeded = wnd->eraseNeeded || erase;
}

HDC windowDC(WindowObject *wnd, const QRegion &clip) {
    if (!wnd->cls || !(wnd->cls->style & CS_OWNDC)) {
        return gdi::createDC(&wnd->backing, clip, wnd->handle);
    }
    if (wnd->ownDC == nullptr) {
        wnd->ownDC = gdi::createDC(&wnd->backing, clip, wnd->handle);
    } else if (gdi::DeviceContext *dc = gdi::dcOf(wnd->ownDC)) {
        gdi::finishDrawing(dc);
        dc->clip = clip;
    }
    return wnd->ownDC;
}

void releaseWindowDC(WindowObject *wnd, HDC dc) {
    if (wnd == nullptr || dc != wnd->ownDC) {
        gdi::deleteDC(dc);
    } else {
        gdi::finishDrawing(gdi::dcOf(dc));
    }
}

QRect changedArea(const QImage &before, const QImage &after, const QRect &within) {
    const QRect area = within & after.rect();
    if (area.isEmpty() || before.size() != after.size() || before.format() != after.format() ||
        after.depth() != 32) {
        return area;
    }
    int top = -1, bottom = -1, left = area.right() + 1, right = area.left() - 1;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        const auto *was = reinterpret_cast<const quint32 *>(before.constScanLine(y));
        const auto *now = reinterpret_cast<const quint32 *>(after.constScanLine(y));
        int first = area.left();
        while (first <= area.right() && was[first] == now[first]) {
            ++first;
        }
        if (first > area.right()) {
            continue;
        }
        int last = area.right();
        while (was[last] == now[last]) {
            --last;
        }
        top = top < 0 ? y : top;
        bottom = y;
        left = std::min(left, first);
        right = std::max(right, last);
    }
    return top < 0 ? QRect() : QRect(QPoint(left, top), QPoint(right, bottom));
}

void presentWindow(WindowObject *wnd, const QRegion &region) {
    if (wnd == nullptr || !wnd->widget || region.isEmpty()) {
        return;
    }
    const QRect changed = changedArea(wnd->shown, wnd->backing, region.boundingRect());
    if (!changed.isEmpty()) {
        wnd->widget->update(region & changed);
    }
}

} // namespace vintorel::user32

extern "C" {

BOOL WINAPI InvalidateRect(HWND hwnd, const RECT *rect, BOOL erase) {
    VINTOREL_TRACE(USER32, "InvalidateRect %p %s erase %d", static_cast<void *>(hwnd),
                   rect ? "rect" : "all", erase);
    if (hwnd == nullptr) {
        for (HWND top : wm().topLevels()) {
            InvalidateRect(top, nullptr, erase);
        }
        return TRUE;
    }
    WindowObject *wnd = wm().find(hwnd);
    if (wnd == nullptr) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return FALSE;
    }
    invalidateWindow(wnd, regionOf(wnd, rect), erase != FALSE);
    return TRUE;
}

BOOL WINAPI ValidateRect(HWND hwnd, const RECT *rect) {
    WindowObject *wnd = wm().find(hwnd);
    if (wnd == nullptr) {
        return FALSE;
    }
    wnd->update -= regionOf(wnd, rect);
    if (wnd->update.isEmpty()) {
        wnd->eraseNeeded = false;
    }
    return TRUE;
}

BOOL WINAPI GetUpdateRect(HWND hwnd, LPRECT rect, BOOL) {
    WindowObject *wnd = wm().find(hwnd);
    if (wnd == nullptr) {
        return FALSE;
    }
    if (rect != nullptr) {
        *rect = boundsOf(wnd->update);
    }
    return wnd->update.isEmpty() ? FALSE : TRUE;
}

HDC WINAPI BeginPaint(HWND hwnd, LPPAINTSTRUCT ps) {
    WindowObject *wnd = wm().find(hwnd);
    if (wnd == nullptr || ps == nullptr) {
        return nullptr;
    }
    *ps = PAINTSTRUCT{};
    resizeBacking(wnd);
    const QRegion area = wnd->update;
    const bool erase = wnd->eraseNeeded;
    wnd->update = QRegion();
    wnd->eraseNeeded = false;
    HDC dc = windowDC(wnd, area);
    ps->hdc = dc;
    ps->rcPaint = boundsOf(area);
    ps->fErase = TRUE;
    if (erase) {
        ps->fErase =
            SendMessageA(hwnd, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0) ? FALSE : TRUE;
    }
    return dc;
}

BOOL WINAPI EndPaint(HWND hwnd, const PAINTSTRUCT *ps) {
    if (ps == nullptr) {
        return FALSE;
    }
    QRegion area;
    if (gdi::DeviceContext *dc = gdi::dcOf(ps->hdc)) {
        area = dc->clip;
    }
    WindowObject *wnd = wm().find(hwnd);
    releaseWindowDC(wnd, ps->hdc);
    presentWindow(wnd, area);
    return TRUE;
}

BOOL WINAPI UpdateWindow(HWND hwnd) {
    WindowObject *wnd = wm().find(hwnd);
    if (wnd == nullptr) {
        return FALSE;
    }
    if (!wnd->update.isEmpty() && IsWindowVisible(hwnd)) {
        SendMessageA(hwnd, WM_PAINT, 0, 0);
    }
    return TRUE;
}

HDC WINAPI GetDC(HWND hwnd) {
    WindowObject *wnd = wm().find(hwnd);
    if (wnd == nullptr || wnd->control) {
        return nullptr;
    }
    resizeBacking(wnd);
    return windowDC(wnd, clientRegion(wnd));
}

int WINAPI ReleaseDC(HWND hwnd, HDC dc) {
    QRegion area;
    if (gdi::DeviceContext *ctx = gdi::dcOf(dc)) {
        area = ctx->clip;
    }
    WindowObject *wnd = wm().find(hwnd);
    releaseWindowDC(wnd, dc);
    presentWindow(wnd, area);
    return 1;
}

} // extern "C"
