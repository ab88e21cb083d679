// Drawing on a device context: FillRect and FrameRect with a brush (an empty or inverted
// rectangle draws nothing), text colours and background mode, GetPixel. Everything is clipped
// to the area being painted. Not implemented: raster operations other than copy, pens, lines,
// ellipses, blitting between device contexts.
#include "gdi32/gdi_internal.h"
#include "vintorel_trace.h"

#include <cstdio>

namespace {

using namespace vintorel::gdi32;

bool brushColor(HBRUSH handle, QColor *color) {
    const Brush *brush = objectAs<Brush>(handle);
    if (brush == nullptr || brush->hollow) {
        return false;
    }
    *color = brush->color;
    return true;
}

// "(left,top)-(right,bottom)" or "null", for the trace.
struct RectText {
    char text[64];
    explicit RectText(const RECT *r) {
        if (r == nullptr) {
            std::snprintf(text, sizeof text, "null");
        } else {
            std::snprintf(text, sizeof text, "(%ld,%ld)-(%ld,%ld)", static_cast<long>(r->left),
                          static_cast<long>(r->top), static_cast<long>(r->right),
                          static_cast<long>(r->bottom));
        }
    }
};

} // namespace

extern "C" {

int WINAPI FillRect(HDC handle, const RECT *rect, HBRUSH brush) {
    VINTOREL_TRACE(GDI32, "FillRect %p %s %p", static_cast<void *>(handle), RectText(rect).text,
                   static_cast<void *>(brush));
    DeviceContext *dc = dcOf(handle);
    QColor color;
    if (dc == nullptr || rect == nullptr || !brushColor(brush, &color)) {
        return 0;
    }
    if (rect->right <= rect->left || rect->bottom <= rect->top) {
        return 1;
    }
    paintOn(dc, [&](QPainter &p) {
        p.fillRect(QRect(rect->left, rect->top, rect->right - rect->left, rect->bottom - rect->top),
                   color);
    });
    return 1;
}

int WINAPI FrameRect(HDC handle, const RECT *rect, HBRUSH brush) {
    VINTOREL_TRACE(GDI32, "FrameRect %p %s %p", static_cast<void *>(handle), RectText(rect).text,
                   static_cast<void *>(brush));
    DeviceContext *dc = dcOf(handle);
    QColor color;
    if (dc == nullptr || rect == nullptr || !brushColor(brush, &color)) {
        return 0;
    }
    if (rect->right <= rect->left || rect->bottom <= rect->top) {
        return 1;
    }
    paintOn(dc, [&](QPainter &p) {
        const int w = rect->right - rect->left;
        const int h = rect->bottom - rect->top;
        p.fillRect(QRect(rect->left, rect->top, w, 1), color);
        p.fillRect(QRect(rect->left, rect->bottom - 1, w, 1), color);
        p.fillRect(QRect(rect->left, rect->top, 1, h), color);
        p.fillRect(QRect(rect->right - 1, rect->top, 1, h), color);
    });
    return 1;
}

COLORREF WINAPI SetBkColor(HDC handle, COLORREF color) {
    VINTOREL_TRACE(GDI32, "SetBkColor %p %06lx", static_cast<void *>(handle),
                   static_cast<unsigned long>(color));
    DeviceContext *dc = dcOf(handle);
    if (dc == nullptr) {
        return CLR_INVALID;
    }
    const COLORREF previous = dc->bkColor;
    dc->bkColor = color;
    return previous;
}

COLORREF WINAPI SetTextColor(HDC handle, COLORREF color) {
    VINTOREL_TRACE(GDI32, "SetTextColor %p %06lx", static_cast<void *>(handle),
                   static_cast<unsigned long>(color));
    DeviceContext *dc = dcOf(handle);
    if (dc == nullptr) {
        return CLR_INVALID;
    }
    const COLORREF previous = dc->textColor;
    dc->textColor = color;
    return previous;
}

int WINAPI SetBkMode(HDC handle, int mode) {
    VINTOREL_TRACE(GDI32, "SetBkMode %p %d", static_cast<void *>(handle), mode);
    DeviceContext *dc = dcOf(handle);
    if (dc == nullptr || (mode != OPAQUE && mode != TRANSPARENT)) {
        return 0;
    }
    const int previous = dc->bkMode;
    dc->bkMode = mode;
    return previous;
}

COLORREF WINAPI GetPixel(HDC handle, int x, int y) {
    DeviceContext *dc = dcOf(handle);
    if (dc == nullptr || dc->target == nullptr || !dc->target->rect().contains(x, y) ||
        !dc->clip.contains(QPoint(x, y))) {
        return CLR_INVALID;
    }
    const QRgb px = dc->target->pixel(x, y);
    return RGB(qRed(px), qGreen(px), qBlue(px));
}

} // extern "C"
