// Internal GDI objects and device contexts of the GDI32 subset: what an HBRUSH, HFONT, HBITMAP
// and HDC are on Qt. A device context paints with a QPainter into a window's backing image,
// clipped to the region being painted; the painter lives only for one drawing operation. Shared
// with user32 (BeginPaint, the bitmap statics).
#pragma once

#include <windows.h>

#include <QColor>
#include <QFont>
#include <QImage>
#include <QPainter>
#include <QRegion>

#include <memory>

namespace vintorel::gdi32 {

struct GdiObject {
    explicit GdiObject(DWORD t) : type(t) {}
    virtual ~GdiObject() = default;
    DWORD type;
    bool stock = false; // stock objects are never deleted
};

struct Brush final : GdiObject {
    Brush() : GdiObject(OBJ_BRUSH) {}
    QColor color;
    bool hollow = false;
};

struct Font final : GdiObject {
    Font() : GdiObject(OBJ_FONT) {}
    LOGFONTA logFont{};
    QFont qfont;
};

struct Bitmap final : GdiObject {
    Bitmap() : GdiObject(OBJ_BITMAP) {}
    QImage image;
};

struct DeviceContext {
    QImage *target = nullptr;
    QRegion clip;
    HWND hwnd = nullptr;
    HGDIOBJ brush = nullptr;
    HGDIOBJ font = nullptr;
    COLORREF textColor = RGB(0, 0, 0);
    COLORREF bkColor = RGB(255, 255, 255);
    int bkMode = OPAQUE;
};

HDC createDC(QImage *target, const QRegion &clip, HWND hwnd);
// Runs draw(QPainter &) on the DC's image, clipped to the DC's area. Each operation has a painter
// of its own, so several DCs on one window (a paint and a GetDC) can draw in turn, as on Windows.
template <class Draw> void paintOn(DeviceContext *dc, Draw &&draw) {
    if (dc == nullptr || dc->target == nullptr || dc->target->isNull()) {
        return;
    }
    QPainter painter(dc->target);
    painter.setClipRegion(dc->clip);
    draw(painter);
}
void deleteDC(HDC dc);
DeviceContext *dcOf(HDC dc);
GdiObject *objectOf(HGDIOBJ object);
template <class T> T *objectAs(HGDIOBJ object) {
    return dynamic_cast<T *>(objectOf(object));
}

HBITMAP createBitmap(const QImage &image);
QColor toQColor(COLORREF color);
// The Qt font a LOGFONTA describes (cell height in pixels, average width, weight).
QFont fontFromLogFont(const LOGFONTA &lf);
// The font used where a window has none selected (the platform's default GUI font).
QFont defaultGuiFont();

} // namespace vintorel::gdi32
