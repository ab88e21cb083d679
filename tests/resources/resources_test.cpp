// The program's bitmaps and icon: they load by id through LoadBitmapA, LoadImageA and LoadIconA
// with the right sizes and colours, unknown ids give NULL, and the files are 16-colour Windows
// BMP and ICO files, embedded byte for byte.
#include "resources/resources.h"
#include "vintorel_test_bitmap.h"

#include <gtest/gtest.h>

#include <QBuffer>
#include <QByteArray>
#include <QImage>
#include <QImageReader>

#include <cstdint>
#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <vector>

namespace {

using Bytes = std::vector<unsigned char>;

constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kUnionBlue = RGB(1, 33, 105);
constexpr COLORREF kUnionRed = RGB(200, 16, 46);
constexpr COLORREF kRussianBlue = RGB(0, 57, 166);
constexpr COLORREF kRussianRed = RGB(213, 43, 30);
constexpr COLORREF kLipsBackground = RGB(160, 170, 190);
constexpr COLORREF kNoteBackground = RGB(150, 170, 190);
constexpr COLORREF kReceiverRed = RGB(200, 40, 30);

struct Sample {
    int x;
    int y;
    COLORREF colour;
};

struct BitmapCase {
    int id;
    const char *file;
    int width;
    int height;
    std::vector<Sample> samples;
};

// Samples include points that tell the picture from its upside-down or mirrored self.
const std::vector<BitmapCase> &bitmapCases() {
    static const std::vector<BitmapCase> cases = {
        {147,
         "flag_en.bmp",
         18,
         12,
         {{9, 6, kUnionRed}, // centre of the cross
          {8, 5, kUnionRed},
          {0, 5, kUnionRed},
          {17, 6, kUnionRed}, // horizontal arm
          {9, 0, kUnionRed},
          {8, 11, kUnionRed}, // vertical arm
          {7, 0, kWhite},
          {10, 11, kWhite},
          {0, 4, kWhite},
          {17, 7, kWhite},
          {4, 0, kUnionBlue},
          {0, 3, kUnionBlue},
          {13, 0, kUnionBlue},
          {17, 8, kUnionBlue},
          {4, 11, kUnionBlue},
          {13, 11, kUnionBlue},
          {0, 0, kUnionRed}}}, // the diagonals start in the corners
        {149,
         "flag_ru.bmp",
         18,
         12,
         {{0, 0, kWhite},
          {17, 3, kWhite},
          {0, 4, kRussianBlue},
          {17, 7, kRussianBlue},
          {0, 8, kRussianRed},
          {17, 11, kRussianRed}}},
        {126,
         "lips.bmp",
         12,
         12,
         {{0, 0, kLipsBackground},
          {11, 0, kLipsBackground},
          {0, 11, kLipsBackground},
          {11, 11, kLipsBackground},
          {3, 2, kWhite}, // the upper lip's bow ...
          {3, 9, kLipsBackground},
          {5, 9, kWhite}}}, // ... and the fuller lower lip
        {165,
         "note.bmp",
         12,
         12,
         {{0, 0, kNoteBackground},
          {11, 0, kNoteBackground},
          {0, 11, kNoteBackground},
          {11, 11, kNoteBackground},
          {6, 1, kWhite},  // top of the stem
          {3, 11, kWhite}, // bottom of the head
          {3, 0, kNoteBackground},
          {9, 5, kWhite}}}, // the flag, right of the stem
    };
    return cases;
}

HINSTANCE self() {
    return GetModuleHandleA(nullptr);
}

Bytes readResourceFile(const std::string &name) {
    std::ifstream in(std::string(VINTOREL_RESOURCE_DIR) + "/" + name, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

uint32_t le16(const Bytes &b, size_t at) {
    return b[at] | (b[at + 1] << 8);
}
uint32_t le32(const Bytes &b, size_t at) {
    return le16(b, at) | (le16(b, at + 2) << 16);
}

Bytes embeddedBytes(int type, int id) {
    const auto *res = vintorel::resources::findEmbedded(type, id);
    return res == nullptr ? Bytes{} : Bytes(res->data, res->data + res->size);
}

size_t rowBytes(int width, int bits) {
    return static_cast<size_t>((width * bits + 31) / 32 * 4);
}

// A 40-byte BITMAPINFOHEADER for a 4-bpp BI_RGB image with a full 16-colour table.
void expectInfoHeader(const Bytes &b, size_t at, int width, int heightField) {
    EXPECT_EQ(le32(b, at), 40u) << "biSize";
    EXPECT_EQ(static_cast<int32_t>(le32(b, at + 4)), width) << "biWidth";
    EXPECT_EQ(static_cast<int32_t>(le32(b, at + 8)), heightField) << "biHeight";
    EXPECT_EQ(le16(b, at + 12), 1u) << "biPlanes";
    EXPECT_EQ(le16(b, at + 14), 4u) << "biBitCount";
    EXPECT_EQ(le32(b, at + 16), 0u) << "biCompression (BI_RGB)";
    const uint32_t used = le32(b, at + 32);
    EXPECT_TRUE(used == 16 || used == 0) << "biClrUsed " << used;
    for (size_t entry = 0; entry < 16; ++entry) {
        EXPECT_EQ(b[at + 40 + entry * 4 + 3], 0) << "RGBQUAD reserved byte of entry " << entry;
    }
}

COLORREF colourOf(const QImage &image, int x, int y) {
    const QRgb px = image.pixel(x, y);
    return RGB(qRed(px), qGreen(px), qBlue(px));
}

} // namespace

TEST(ResourceBitmaps, LoadWithTheirSizeAndColours) {
    for (const BitmapCase &c : bitmapCases()) {
        SCOPED_TRACE(c.file);
        HBITMAP bitmap = LoadBitmapA(self(), MAKEINTRESOURCEA(c.id));
        ASSERT_NE(bitmap, nullptr);
        BITMAP info{};
        ASSERT_EQ(GetObjectA(bitmap, sizeof info, &info), static_cast<int>(sizeof info));
        EXPECT_EQ(info.bmWidth, c.width);
        EXPECT_EQ(info.bmHeight, c.height);
        for (const Sample &s : c.samples) {
            EXPECT_EQ(VintorelBitmapPixel(bitmap, s.x, s.y), s.colour)
                << "pixel (" << s.x << ", " << s.y << ")";
        }
        EXPECT_TRUE(DeleteObject(bitmap));
    }
}

TEST(ResourceBitmaps, LoadImageGivesTheSameBitmap) {
    for (const BitmapCase &c : bitmapCases()) {
        SCOPED_TRACE(c.file);
        auto bitmap = static_cast<HBITMAP>(
            LoadImageA(self(), MAKEINTRESOURCEA(c.id), IMAGE_BITMAP, 0, 0, LR_DEFAULTCOLOR));
        ASSERT_NE(bitmap, nullptr);
        BITMAP info{};
        ASSERT_NE(GetObjectA(bitmap, sizeof info, &info), 0);
        EXPECT_EQ(info.bmWidth, c.width);
        EXPECT_EQ(info.bmHeight, c.height);
        const Sample &s = c.samples.front();
        EXPECT_EQ(VintorelBitmapPixel(bitmap, s.x, s.y), s.colour);
        DeleteObject(bitmap);
    }
}

TEST(ResourceBitmaps, PixelHookRejectsPointsOutsideAndOtherObjects) {
    HBITMAP bitmap = LoadBitmapA(self(), MAKEINTRESOURCEA(149));
    ASSERT_NE(bitmap, nullptr);
    for (const auto &[x, y] :
         std::vector<std::pair<int, int>>{{-1, 0}, {0, -1}, {18, 0}, {0, 12}}) {
        EXPECT_EQ(VintorelBitmapPixel(bitmap, x, y), CLR_INVALID) << x << ", " << y;
    }
    HBRUSH brush = CreateSolidBrush(kWhite);
    EXPECT_EQ(VintorelBitmapPixel(reinterpret_cast<HBITMAP>(brush), 0, 0), CLR_INVALID);
    DeleteObject(brush);
    DeleteObject(bitmap);
    EXPECT_EQ(VintorelBitmapPixel(bitmap, 0, 0), CLR_INVALID) << "after DeleteObject";
    EXPECT_EQ(VintorelBitmapPixel(nullptr, 0, 0), CLR_INVALID);
}

TEST(ResourceIcon, LoadsWithBothSizes) {
    HICON icon = LoadIconA(self(), MAKEINTRESOURCEA(168));
    ASSERT_NE(icon, nullptr);
    const QList<QSize> sizes = vintorel::resources::iconOf(icon).availableSizes();
    EXPECT_TRUE(sizes.contains(QSize(32, 32)));
    EXPECT_TRUE(sizes.contains(QSize(16, 16)));
    EXPECT_NE(LoadImageA(self(), MAKEINTRESOURCEA(168), IMAGE_ICON, 0, 0, LR_DEFAULTCOLOR),
              nullptr);
}

// Both images of the icon: transparent around the dish, opaque where it is drawn.
TEST(ResourceIcon, ImagesHaveTheirMaskAndColours) {
    const Bytes ico = embeddedBytes(vintorel::resources::kIcon, 168);
    QByteArray bytes(reinterpret_cast<const char *>(ico.data()),
                     static_cast<qsizetype>(ico.size()));
    QBuffer buffer(&bytes);
    ASSERT_TRUE(buffer.open(QIODevice::ReadOnly));
    QImageReader reader(&buffer, "ico");
    ASSERT_EQ(reader.imageCount(), 2);
    struct Expected {
        int size;
        QPoint receiver; // a pixel of the red LNB
    };
    std::set<int> seen;
    for (int i = 0; i < 2; ++i) {
        ASSERT_TRUE(reader.jumpToImage(i));
        const QImage image = reader.read().convertToFormat(QImage::Format_ARGB32);
        ASSERT_FALSE(image.isNull()) << reader.errorString().toStdString();
        ASSERT_EQ(image.width(), image.height());
        seen.insert(image.width());
        const Expected e = image.width() == 32 ? Expected{32, {25, 4}} : Expected{16, {12, 1}};
        SCOPED_TRACE(e.size);
        const int last = e.size - 1;
        for (const QPoint corner : {QPoint(0, 0), QPoint(last, 0), QPoint(0, last)}) {
            EXPECT_EQ(qAlpha(image.pixel(corner)), 0) << corner.x() << ", " << corner.y();
        }
        EXPECT_EQ(qAlpha(image.pixel(e.receiver)), 255);
        EXPECT_EQ(colourOf(image, e.receiver.x(), e.receiver.y()), kReceiverRed);
    }
    EXPECT_EQ(seen, (std::set<int>{16, 32}));
}

TEST(ResourceLookup, UnknownOrMismatchedIdsGiveNull) {
    struct Case {
        const char *what;
        HANDLE (*load)();
    };
    const Case cases[] = {
        {"bitmap 999", [] { return HANDLE(LoadBitmapA(self(), MAKEINTRESOURCEA(999))); }},
        {"bitmap 0", [] { return HANDLE(LoadBitmapA(self(), MAKEINTRESOURCEA(0))); }},
        {"the icon's id as a bitmap",
         [] { return HANDLE(LoadBitmapA(self(), MAKEINTRESOURCEA(168))); }},
        {"a bitmap's id as an icon",
         [] { return HANDLE(LoadIconA(self(), MAKEINTRESOURCEA(147))); }},
        {"icon 999", [] { return HANDLE(LoadIconA(self(), MAKEINTRESOURCEA(999))); }},
        {"bitmap by name", [] { return HANDLE(LoadBitmapA(self(), "flag_en")); }},
        {"icon by name", [] { return HANDLE(LoadIconA(self(), "vintorel")); }},
        {"image 999",
         [] { return LoadImageA(self(), MAKEINTRESOURCEA(999), IMAGE_BITMAP, 0, 0, 0); }},
        {"program bitmap without the instance",
         [] { return HANDLE(LoadBitmapA(nullptr, MAKEINTRESOURCEA(147))); }},
    };
    for (const Case &c : cases) {
        SetLastError(0);
        EXPECT_EQ(c.load(), nullptr) << c.what;
    }
    SetLastError(0);
    LoadBitmapA(self(), MAKEINTRESOURCEA(999));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_RESOURCE_NAME_NOT_FOUND));
}

// Resources registered at run time join the built-in ones rather than replacing the table.
TEST(ResourceLookup, RegisteredResourcesAddToTheBuiltInOnes) {
    const Bytes flag = readResourceFile("flag_ru.bmp");
    ASSERT_FALSE(flag.empty());
    static Bytes keep; // registerEmbedded keeps the pointer
    keep = flag;
    vintorel::resources::registerEmbedded(vintorel::resources::kBitmap, 9001, keep.data(),
                                          keep.size());
    for (int id : {9001, 147, 149, 126, 165}) {
        HBITMAP bitmap = LoadBitmapA(self(), MAKEINTRESOURCEA(id));
        EXPECT_NE(bitmap, nullptr) << id;
        DeleteObject(bitmap);
    }
    EXPECT_NE(LoadIconA(self(), MAKEINTRESOURCEA(168)), nullptr);
}

TEST(ResourceFiles, BitmapsAre16ColourBottomUpBmpsEmbeddedAsIs) {
    for (const BitmapCase &c : bitmapCases()) {
        SCOPED_TRACE(c.file);
        const Bytes b = readResourceFile(c.file);
        constexpr size_t kBitsOffset = 14 + 40 + 16 * 4;
        ASSERT_GE(b.size(), kBitsOffset);
        EXPECT_EQ(b[0], 'B');
        EXPECT_EQ(b[1], 'M');
        EXPECT_EQ(le32(b, 2), b.size()) << "bfSize";
        EXPECT_EQ(le32(b, 10), kBitsOffset) << "bfOffBits";
        expectInfoHeader(b, 14, c.width, c.height); // positive height: bottom-up rows
        EXPECT_EQ(b.size(), kBitsOffset + rowBytes(c.width, 4) * static_cast<size_t>(c.height));
        EXPECT_EQ(embeddedBytes(vintorel::resources::kBitmap, c.id), b)
            << "the embedded bytes differ from the file";
    }
}

TEST(ResourceFiles, IconHasA32And16Pixel16ColourImageWithMasks) {
    const Bytes b = readResourceFile("vintorel.ico");
    ASSERT_GE(b.size(), 6u + 2 * 16);
    EXPECT_EQ(le16(b, 0), 0u) << "reserved";
    EXPECT_EQ(le16(b, 2), 1u) << "type (icon)";
    ASSERT_EQ(le16(b, 4), 2u) << "image count";
    std::set<int> sizes;
    for (size_t i = 0; i < 2; ++i) {
        const size_t entry = 6 + i * 16;
        const int size = b[entry];
        SCOPED_TRACE(size);
        sizes.insert(size);
        EXPECT_EQ(b[entry + 1], size) << "square";
        EXPECT_EQ(b[entry + 2], 16) << "colour count";
        EXPECT_EQ(le16(b, entry + 4), 1u) << "planes";
        EXPECT_EQ(le16(b, entry + 6), 4u) << "bits per pixel";
        const uint32_t length = le32(b, entry + 8);
        const uint32_t offset = le32(b, entry + 12);
        const size_t expected = 40 + 16 * 4 + (rowBytes(size, 4) + rowBytes(size, 1)) * size;
        EXPECT_EQ(length, expected) << "colour image and AND mask";
        ASSERT_LE(static_cast<size_t>(offset) + length, b.size());
        expectInfoHeader(b, offset, size, 2 * size); // height counts image and mask
    }
    EXPECT_EQ(sizes, (std::set<int>{16, 32}));
    EXPECT_EQ(embeddedBytes(vintorel::resources::kIcon, 168), b)
        << "the embedded bytes differ from the file";
}

// The desktop copies of the icon: square, transparent around the dish, opaque on it.
TEST(ResourceFiles, DesktopIconPngs) {
    for (int size : {16, 32, 48, 64, 128, 256}) {
        SCOPED_TRACE(size);
        const QString path = QString("%1/icons/hicolor/%2x%2/apps/vintorel.png")
                                 .arg(VINTOREL_RESOURCE_DIR)
                                 .arg(size);
        const QImage image(path);
        ASSERT_FALSE(image.isNull()) << path.toStdString();
        EXPECT_EQ(image.size(), QSize(size, size));
        EXPECT_EQ(qAlpha(image.pixel(0, 0)), 0);
        EXPECT_EQ(qAlpha(image.pixel(size - 1, size - 1)), 0);
        EXPECT_EQ(qAlpha(image.pixel(size / 2, size / 2)), 255);
    }
}
