// Internal GDI objects and device contexts of the GDI32 subset: what an HBRUSH, HFONT, HBITMAP
// and HDC are on Qt. A device context paints with a QPainter into a window's backing image,
// clipped to the region being painted. Shared with user32 (BeginPaint, the bitmap statics).
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

// A font's cell and the strings laid out with it (text.cpp), made by the first text drawn or
// measured with the font and gone with it.
struct TextCache;

struct Font final : GdiObject {
    Font() : GdiObject(OBJ_FONT) {}
    LOGFONTA logFont{};
    QFont qfont;
    std::shared_ptr<TextCache> textCache;
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
// The painter drawing on a DC's image, clipped to the DC's area. Opening a painter costs more
// than most drawing operations, so one stays open on the DC that drew last until another DC
// draws, the DC's area or image changes, or the drawing is finished (EndPaint, ReleaseDC); a
// window and a GetDC on it can still draw in turn, as on Windows.
QPainter &painterFor(DeviceContext *dc);
// Ends the open painter if it draws for this DC (or on this image), so that its drawing is
// complete and the DC's area or the image may change.
void finishDrawing(DeviceContext *dc);
void finishDrawingOn(const QImage *target);
// Runs draw(QPainter &) on the DC's image, clipped to the DC's area; what draw changes in the
// painter (clip, font, pen) is undone afterwards.
template <class Draw> void paintOn(DeviceContext *dc, Draw &&draw) {
    if (dc == nullptr || dc->target == nullptr || dc->target->isNull()) {
        return;
    }
    QPainter &painter = painterFor(dc);
    painter.save();
    draw(painter);
    painter.restore();
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
// The height of a font's character cell, as GetTextMetrics' tmHeight gives it (the default GUI
// font's for null).
int fontCellHeight(HFONT font);

} // namespace vintorel::gdi32
