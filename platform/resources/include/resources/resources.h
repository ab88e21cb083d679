// The program's embedded resources (bitmaps and icons by numeric id), as the resource loader
// and the bitmap statics see them.
#pragma once

#include <windows.h>

#include <QIcon>
#include <QImage>

#include <cstddef>
#include <span>

namespace vintorel::resources {

constexpr int kBitmap = 2; // RT_BITMAP
constexpr int kIcon = 14;  // RT_GROUP_ICON

struct Embedded {
    const unsigned char *data = nullptr;
    size_t size = 0;
};

// A resource embedded at build time (platform/resources/embed.cmake generates the table from
// resources/vintorel.rc). The resource table starts with these; registerEmbedded adds to or
// replaces them.
struct Builtin {
    int type;
    int id;
    const unsigned char *data;
    size_t size;
};
std::span<const Builtin> builtinResources();

void registerEmbedded(int type, int id, const unsigned char *data, size_t size);
const Embedded *findEmbedded(int type, int id);
QImage loadImage(int type, int id);
QIcon iconOf(HICON icon);

} // namespace vintorel::resources
