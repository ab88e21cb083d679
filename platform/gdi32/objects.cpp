// GDI objects: CreateSolidBrush, CreateFontIndirectA, GetStockObject, SelectObject (returns the
// object it replaces), DeleteObject (refused for stock objects and for objects still selected),
// GetObjectA/GetObjectType, and the device-context table. Not implemented: pens, regions,
// palettes, hatched or pattern brushes, font enumeration, mapping modes.
#include "common/object_counts.h"
#include "gdi32/gdi_internal.h"
#include "vintorel_trace.h"

#include <QFontDatabase>
#include <QGuiApplication>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <set>

namespace vintorel::gdi32 {

namespace {

std::set<GdiObject *> &objects() {
    // Immortal: objects the program never deletes stay reachable until the process ends.
    static auto *table = new std::set<GdiObject *>;
    return *table;
}

std::set<DeviceContext *> &contexts() {
    static auto *table = new std::set<DeviceContext *>;
    return *table;
}

template <class T> HGDIOBJ registerObject(std::unique_ptr<T> object) {
    T *raw = object.release();
    objects().insert(raw);
    return static_cast<HGDIOBJ>(static_cast<GdiObject *>(raw));
}

bool isSelectedSomewhere(HGDIOBJ object) {
    return std::any_of(contexts().begin(), contexts().end(), [object](const DeviceContext *dc) {
        return dc->brush == object || dc->font == object;
    });
}

} // namespace

GdiObject *objectOf(HGDIOBJ object) {
    auto *raw = static_cast<GdiObject *>(object);
    return objects().count(raw) ? raw : nullptr;
}

DeviceContext *dcOf(HDC dc) {
    auto *raw = reinterpret_cast<DeviceContext *>(dc);
    return contexts().count(raw) ? raw : nullptr;
}

HDC createDC(QImage *target, const QRegion &clip, HWND hwnd) {
    auto *dc = new DeviceContext;
    dc->target = target;
    dc->clip = clip;
    dc->hwnd = hwnd;
    dc->brush = GetStockObject(WHITE_BRUSH);
    dc->font = GetStockObject(SYSTEM_FONT);
    contexts().insert(dc);
    return reinterpret_cast<HDC>(dc);
}

namespace {

struct OpenPainter {
    DeviceContext *dc = nullptr;
    std::unique_ptr<QPainter> painter;
};

OpenPainter &openPainter() {
    static auto *open = new OpenPainter;
    return *open;
}

} // namespace

QPainter &painterFor(DeviceContext *dc) {
    OpenPainter &open = openPainter();
    if (open.dc != dc || !open.painter) {
        open.painter.reset(); // one painter at a time: the other DC's drawing is complete
        open.painter = std::make_unique<QPainter>(dc->target);
        open.painter->setClipRegion(dc->clip);
        open.dc = dc;
    }
    return *open.painter;
}

void finishDrawing(DeviceContext *dc) {
    OpenPainter &open = openPainter();
    if (dc != nullptr && open.dc == dc) {
        open.painter.reset();
        open.dc = nullptr;
    }
}

void finishDrawingOn(const QImage *target) {
    const OpenPainter &open = openPainter();
    if (open.dc != nullptr && open.dc->target == target) {
        finishDrawing(open.dc);
    }
}

void deleteDC(HDC handle) {
    DeviceContext *dc = dcOf(handle);
    if (dc == nullptr) {
        return;
    }
    finishDrawing(dc);
    contexts().erase(dc);
    delete dc;
}

HBITMAP createBitmap(const QImage &image) {
    auto bitmap = std::make_unique<Bitmap>();
    bitmap->image = image;
    return static_cast<HBITMAP>(registerObject(std::move(bitmap)));
}

QColor toQColor(COLORREF color) {
    return QColor(GetRValue(color), GetGValue(color), GetBValue(color));
}

QFont defaultGuiFont() {
    QFont font = QGuiApplication::font();
    font.setPixelSize(12);
    return font;
}

QFont fontFromLogFont(const LOGFONTA &lf) {
    QFont font = defaultGuiFont();
    if (lf.lfFaceName[0] != '\0') {
        font.setFamily(QString::fromLatin1(
            lf.lfFaceName, static_cast<qsizetype>(strnlen(lf.lfFaceName, LF_FACESIZE))));
    } else {
        // No face asked for: Windows' font mapper gives Arial. Its metric twins come first so
        // texts take the room they take on Windows; the desktop's font when none is installed.
        font.setFamilies({QStringLiteral("Arial"), QStringLiteral("Liberation Sans"),
                          QStringLiteral("Arimo"), QStringLiteral("Nimbus Sans"),
                          QGuiApplication::font().family()});
    }
    if (lf.lfWeight > 0) {
        font.setWeight(static_cast<QFont::Weight>(std::clamp<int>(lf.lfWeight, 1, 1000)));
    }
    font.setItalic(lf.lfItalic != 0);
    font.setUnderline(lf.lfUnderline != 0);
    font.setStrikeOut(lf.lfStrikeOut != 0);
    // A positive height is the cell height (ascent + descent), a negative one the character
    // height; Qt's pixel size is the latter, so a cell height is scaled by the font's ratio and
    // then fitted: the largest size whose whole-pixel cell is not taller than asked for.
    int pixel = 0;
    if (lf.lfHeight > 0) {
        auto cellAt = [&font](int size) {
            font.setPixelSize(size);
            const QFontMetricsF m(font);
            return static_cast<int>(std::lround(m.ascent() + m.descent()));
        };
        const int wanted = std::min<LONG>(lf.lfHeight, 4000);
        const int cell100 = cellAt(100);
        pixel = std::max(
            1, static_cast<int>(std::lround(wanted * 100.0 / (cell100 > 0 ? cell100 : 100))));
        while (pixel > 1 && cellAt(pixel) > wanted) {
            --pixel;
        }
        while (pixel < wanted && cellAt(pixel + 1) <= wanted) {
            ++pixel;
        }
    } else if (lf.lfHeight < 0) {
        pixel = -lf.lfHeight;
    } else {
        pixel = 12;
    }
    font.setPixelSize(std::max(pixel, 1));
    if (lf.lfWidth > 0) {
        // Stretch the font so its average character width is lfWidth.
        const QFontMetricsF m(font);
        const double average = m.averageCharWidth();
        if (average > 0) {
            font.setStretch(
                std::clamp(static_cast<int>(std::lround(lf.lfWidth * 100.0 / average)), 1, 4000));
        }
    }
    return font;
}

int liveObjectCount() {
    const auto made = std::count_if(objects().begin(), objects().end(),
                                    [](const GdiObject *o) { return !o->stock; });
    return static_cast<int>(made + static_cast<std::ptrdiff_t>(contexts().size()));
}

} // namespace vintorel::gdi32

using namespace vintorel::gdi32;

extern "C" {

HBRUSH WINAPI CreateSolidBrush(COLORREF color) {
    VINTOREL_TRACE(GDI32, "CreateSolidBrush %06lx", static_cast<unsigned long>(color));
    auto brush = std::make_unique<Brush>();
    brush->color = toQColor(color);
    return static_cast<HBRUSH>(registerObject(std::move(brush)));
}

HFONT WINAPI CreateFontIndirectA(const LOGFONTA *lf) {
    VINTOREL_TRACE(GDI32, "CreateFontIndirectA height %ld width %ld weight %ld",
                   lf ? static_cast<long>(lf->lfHeight) : 0L,
                   lf ? static_cast<long>(lf->lfWidth) : 0L,
                   lf ? static_cast<long>(lf->lfWeight) : 0L);
    if (lf == nullptr) {
        return nullptr;
    }
    auto font = std::make_unique<Font>();
    font->logFont = *lf;
    if (qobject_cast<QGuiApplication *>(QCoreApplication::instance()) != nullptr) {
        font->qfont = fontFromLogFont(*lf);
    }
    return static_cast<HFONT>(registerObject(std::move(font)));
}

HGDIOBJ WINAPI GetStockObject(int index) {
    static HGDIOBJ white = nullptr, black = nullptr, hollow = nullptr, systemFont = nullptr;
    auto makeBrush = [](QColor color, bool isHollow) {
        auto brush = std::make_unique<Brush>();
        brush->color = color;
        brush->hollow = isHollow;
        brush->stock = true;
        return registerObject(std::move(brush));
    };
    switch (index) {
    case WHITE_BRUSH:
        return white ? white : (white = makeBrush(Qt::white, false));
    case BLACK_BRUSH:
        return black ? black : (black = makeBrush(Qt::black, false));
    case NULL_BRUSH:
        return hollow ? hollow : (hollow = makeBrush(Qt::transparent, true));
    case SYSTEM_FONT:
    case DEFAULT_GUI_FONT:
        if (systemFont == nullptr) {
            auto font = std::make_unique<Font>();
            font->stock = true;
            font->logFont.lfHeight = -12;
            font->logFont.lfWeight = FW_NORMAL;
            if (qobject_cast<QGuiApplication *>(QCoreApplication::instance()) != nullptr) {
                font->qfont = defaultGuiFont();
            }
            systemFont = registerObject(std::move(font));
        }
        return systemFont;
    default:
        return nullptr;
    }
}

HGDIOBJ WINAPI SelectObject(HDC handle, HGDIOBJ object) {
    VINTOREL_TRACE(GDI32, "SelectObject %p %p", static_cast<void *>(handle), object);
    DeviceContext *dc = dcOf(handle);
    GdiObject *obj = objectOf(object);
    if (dc == nullptr || obj == nullptr) {
        return nullptr;
    }
    HGDIOBJ previous = nullptr;
    if (obj->type == OBJ_BRUSH) {
        previous = dc->brush;
        dc->brush = object;
    } else if (obj->type == OBJ_FONT) {
        previous = dc->font;
        dc->font = object;
    } else {
        return nullptr;
    }
    return previous;
}

BOOL WINAPI DeleteObject(HGDIOBJ object) {
    VINTOREL_TRACE(GDI32, "DeleteObject %p", object);
    GdiObject *obj = objectOf(object);
    if (obj == nullptr || obj->stock) {
        return obj != nullptr ? TRUE : FALSE; // deleting a stock object is a harmless no-op
    }
    if (isSelectedSomewhere(object)) {
        return FALSE;
    }
    objects().erase(obj);
    delete obj;
    return TRUE;
}

DWORD WINAPI GetObjectType(HGDIOBJ object) {
    GdiObject *obj = objectOf(object);
    return obj ? obj->type : 0;
}

int WINAPI GetObjectA(HGDIOBJ object, int size, LPVOID buffer) {
    GdiObject *obj = objectOf(object);
    if (obj == nullptr) {
        return 0;
    }
    if (auto *font = dynamic_cast<Font *>(obj)) {
        if (buffer == nullptr) {
            return sizeof(LOGFONTA);
        }
        const int n = std::min<int>(size, sizeof(LOGFONTA));
        std::memcpy(buffer, &font->logFont, static_cast<size_t>(n));
        return n;
    }
    if (auto *bitmap = dynamic_cast<Bitmap *>(obj)) {
        BITMAP bm{};
        bm.bmWidth = bitmap->image.width();
        bm.bmHeight = bitmap->image.height();
        bm.bmPlanes = 1;
        bm.bmBitsPixel = 32;
        bm.bmWidthBytes = bm.bmWidth * 4;
        if (buffer == nullptr) {
            return sizeof(BITMAP);
        }
        const int n = std::min<int>(size, sizeof(BITMAP));
        std::memcpy(buffer, &bm, static_cast<size_t>(n));
        return n;
    }
    return 0;
}

} // extern "C"
