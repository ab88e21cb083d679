// VintorelBitmapPixel, the test hook that reads one pixel of a GDI bitmap. Reads only: it never
// converts or changes the bitmap, and it is no replacement for GetDIBits.
#include "vintorel_test_bitmap.h"

#include "gdi32/gdi_internal.h"

extern "C" {

COLORREF WINAPI VintorelBitmapPixel(HBITMAP bitmap, int x, int y) {
    const auto *object = vintorel::gdi32::objectAs<vintorel::gdi32::Bitmap>(bitmap);
    if (object == nullptr || !object->image.rect().contains(x, y)) {
        return CLR_INVALID;
    }
    const QRgb px = object->image.pixel(x, y);
    return RGB(qRed(px), qGreen(px), qBlue(px));
}

} // extern "C"
