// Resource loading: LoadIconA, LoadCursorA, LoadBitmapA, LoadImageA and DestroyIcon. System
// resources (IDI_APPLICATION, IDC_ARROW) are stock objects; the program's own bitmaps and icons
// are looked up by numeric id in the table of resources embedded at build time.
// Not implemented: string tables, dialogs, menus, named (non-numeric) resources.
#include "resources/resources.h"

#include "gdi32/gdi_internal.h"

#include <QBuffer>
#include <QGuiApplication>
#include <QIcon>
#include <QImage>
#include <QImageReader>

#include <map>
#include <memory>
#include <set>

namespace vintorel::resources {

namespace {

struct IconObject {
    IconObject(QIcon i, bool s) : icon(std::move(i)), shared(s) {}
    QIcon icon;
    bool shared = true;
};

std::set<IconObject *> &icons() {
    static auto *table = new std::set<IconObject *>;
    return *table;
}

// Starts with the built-in resources on first use, so they are there whichever function of this
// file a program calls first (a static initializer in a library would not be linked in).
std::map<std::pair<int, int>, Embedded> &table() {
    static auto *entries = [] {
        auto *builtins = new std::map<std::pair<int, int>, Embedded>;
        for (const Builtin &b : builtinResources()) {
            (*builtins)[{b.type, b.id}] = Embedded{b.data, b.size};
        }
        return builtins;
    }();
    return *entries;
}

bool guiReady() {
    return qobject_cast<QGuiApplication *>(QCoreApplication::instance()) != nullptr;
}

HICON newIcon(QIcon icon, bool shared) {
    auto *obj = new IconObject{std::move(icon), shared};
    icons().insert(obj);
    return reinterpret_cast<HICON>(obj);
}

HICON stockIcon(int which) {
    static std::map<int, HICON> &stock = *new std::map<int, HICON>;
    if (auto it = stock.find(which); it != stock.end()) {
        return it->second;
    }
    const HICON icon = newIcon(QIcon(), true);
    stock[which] = icon;
    return icon;
}

} // namespace

void registerEmbedded(int type, int id, const unsigned char *data, size_t size) {
    table()[{type, id}] = Embedded{data, size};
}

const Embedded *findEmbedded(int type, int id) {
    const auto it = table().find({type, id});
    return it == table().end() ? nullptr : &it->second;
}

QImage loadImage(int type, int id) {
    const Embedded *res = findEmbedded(type, id);
    if (res == nullptr) {
        return {};
    }
    QByteArray bytes(reinterpret_cast<const char *>(res->data), static_cast<qsizetype>(res->size));
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, type == kIcon ? "ico" : "bmp");
    // The format is known: no probing of every image plugin when it is built in (BMP).
    reader.setAutoDetectImageFormat(false);
    return reader.read();
}

QIcon iconOf(HICON icon) {
    auto *obj = reinterpret_cast<IconObject *>(icon);
    return icons().count(obj) ? obj->icon : QIcon();
}

} // namespace vintorel::resources

using namespace vintorel::resources;

namespace {

int numericId(LPCSTR name) {
    return IS_INTRESOURCE(name) ? static_cast<int>(reinterpret_cast<ULONG_PTR>(name)) : -1;
}

HICON loadIcon(LPCSTR name) {
    const int id = numericId(name);
    if (id < 0) {
        SetLastError(ERROR_RESOURCE_NAME_NOT_FOUND);
        return nullptr;
    }
    const Embedded *res = findEmbedded(kIcon, id);
    if (res == nullptr) {
        SetLastError(ERROR_RESOURCE_NAME_NOT_FOUND);
        return nullptr;
    }
    QIcon icon;
    if (guiReady()) {
        QByteArray bytes(reinterpret_cast<const char *>(res->data),
                         static_cast<qsizetype>(res->size));
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::ReadOnly);
        QImageReader reader(&buffer, "ico");
        reader.setAutoDetectImageFormat(false);
        for (int i = 0; i < reader.imageCount(); ++i) {
            reader.jumpToImage(i);
            const QImage image = reader.read();
            if (!image.isNull()) {
                icon.addPixmap(QPixmap::fromImage(image));
            }
        }
    }
    return newIcon(icon, true);
}

HBITMAP loadBitmap(LPCSTR name) {
    const int id = numericId(name);
    if (id < 0) {
        SetLastError(ERROR_RESOURCE_NAME_NOT_FOUND);
        return nullptr;
    }
    const QImage image = loadImage(kBitmap, id);
    if (image.isNull()) {
        SetLastError(ERROR_RESOURCE_NAME_NOT_FOUND);
        return nullptr;
    }
    return vintorel::gdi32::createBitmap(image.convertToFormat(QImage::Format_RGB32));
}

} // namespace

extern "C" {

HICON WINAPI LoadIconA(HINSTANCE instance, LPCSTR name) {
    if (instance == nullptr) {
        return numericId(name) == 32512 ? stockIcon(32512) : nullptr;
    }
    return loadIcon(name);
}

HCURSOR WINAPI LoadCursorA(HINSTANCE instance, LPCSTR name) {
    if (instance == nullptr && numericId(name) == 32512) {
        return stockIcon(-32512);
    }
    SetLastError(ERROR_RESOURCE_NAME_NOT_FOUND);
    return nullptr;
}

HBITMAP WINAPI LoadBitmapA(HINSTANCE instance, LPCSTR name) {
    if (instance == nullptr) {
        return nullptr;
    }
    return loadBitmap(name);
}

HANDLE WINAPI LoadImageA(HINSTANCE instance, LPCSTR name, UINT type, int, int, UINT) {
    if (type == IMAGE_BITMAP) {
        return LoadBitmapA(instance, name);
    }
    if (type == IMAGE_ICON) {
        return LoadIconA(instance, name);
    }
    if (type == IMAGE_CURSOR) {
        return LoadCursorA(instance, name);
    }
    return nullptr;
}

BOOL WINAPI DestroyIcon(HICON icon) {
    auto *obj = reinterpret_cast<IconObject *>(icon);
    if (!icons().count(obj)) {
        return FALSE;
    }
    if (!obj->shared) {
        icons().erase(obj);
        delete obj;
    }
    return TRUE;
}

} // extern "C"
