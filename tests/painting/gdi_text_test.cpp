// GDI text on Qt: TextOutA and DrawTextA draw exactly the bytes counted, fill the character
// cells in OPAQUE mode only, clip to their rectangle and to the area being painted, centre and
// wrap lines, treat '&' prefixes as Windows does; fonts made from LOGFONTA have the cell height
// and average width asked for. Checked on the pixels of a plain window's backing image.
// Also built for Windows and run under Wine (tests/windows); the points that look at our own
// Qt font or the text-call recorder are Linux only.
#ifndef _WIN32
#include "gdi32/gdi_internal.h"
#include "text_calls.h"

#include <QFontMetricsF>
#endif

#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <functional>
#include <vector>

namespace {

constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kBackground = RGB(0, 0, 255);
constexpr COLORREF kInk = RGB(200, 0, 0);
constexpr int kWidth = 400;
constexpr int kHeight = 200;

std::function<void(HDC)> paintHandler; // what the test window draws on WM_PAINT

LRESULT CALLBACK testWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_PAINT) {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(hwnd, &ps);
        if (paintHandler) {
            paintHandler(dc);
        }
        EndPaint(hwnd, &ps);
        return 0;
    }
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}

HFONT makeFont(LONG height, LONG width, LONG weight) {
    LOGFONTA lf{};
    lf.lfHeight = height;
    lf.lfWidth = width;
    lf.lfWeight = weight;
    return CreateFontIndirectA(&lf);
}

class GdiTextTest : public testing::Test {
  protected:
    void SetUp() override {
        WNDCLASSA wc{};
        wc.lpfnWndProc = testWindowProc;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = "GdiTextTestWindow";
        RegisterClassA(&wc);
        window = CreateWindowExA(0, "GdiTextTestWindow", "text", WS_POPUP, 0, 0, kWidth, kHeight,
                                 nullptr, nullptr, wc.hInstance, nullptr);
        ASSERT_NE(window, nullptr);
        ShowWindow(window, SW_SHOWNA); // a hidden window is never painted
        ValidateRect(window, nullptr);
        dc = GetDC(window);
        ASSERT_NE(dc, nullptr);
        white = CreateSolidBrush(kWhite);
        clear();
        SetBkColor(dc, kBackground);
        SetTextColor(dc, kInk);
    }

    void TearDown() override {
        SelectObject(dc, GetStockObject(SYSTEM_FONT));
        ReleaseDC(window, dc);
        for (HFONT f : fonts) {
            DeleteObject(f);
        }
        DeleteObject(white);
        DestroyWindow(window);
        paintHandler = nullptr;
    }

    void clear() {
        RECT all{0, 0, kWidth, kHeight};
        FillRect(dc, &all, white);
    }

    HFONT font(LONG height, LONG width = 0, LONG weight = 400) {
        fonts.push_back(makeFont(height, width, weight));
        SelectObject(dc, fonts.back());
        return fonts.back();
    }

    std::vector<COLORREF> snapshot() {
        std::vector<COLORREF> pixels;
        pixels.reserve(kWidth * kHeight);
        for (int y = 0; y < kHeight; ++y) {
            for (int x = 0; x < kWidth; ++x) {
                pixels.push_back(GetPixel(dc, x, y));
            }
        }
        return pixels;
    }

    // The box around every pixel that is no longer white; left > right when there is none.
    RECT changedArea() {
        RECT box{kWidth, kHeight, -1, -1};
        for (int y = 0; y < kHeight; ++y) {
            for (int x = 0; x < kWidth; ++x) {
                if (GetPixel(dc, x, y) != kWhite) {
                    box = RECT{std::min<LONG>(box.left, x), std::min<LONG>(box.top, y),
                               std::max<LONG>(box.right, x), std::max<LONG>(box.bottom, y)};
                }
            }
        }
        return box;
    }

    // The box around the pixels that are neither white nor the background colour (the glyphs).
    RECT inkArea() {
        RECT box{kWidth, kHeight, -1, -1};
        for (int y = 0; y < kHeight; ++y) {
            for (int x = 0; x < kWidth; ++x) {
                const COLORREF c = GetPixel(dc, x, y);
                if (c != kWhite && c != kBackground) {
                    box = RECT{std::min<LONG>(box.left, x), std::min<LONG>(box.top, y),
                               std::max<LONG>(box.right, x), std::max<LONG>(box.bottom, y)};
                }
            }
        }
        return box;
    }

    int calcWidth(const char *text, int count, UINT format = DT_SINGLELINE) {
        RECT r{0, 0, 1000, 100};
        DrawTextA(dc, text, count, &r, format | DT_CALCRECT);
        return r.right - r.left;
    }

    HWND window = nullptr;
    HDC dc = nullptr;
    HBRUSH white = nullptr;
    std::vector<HFONT> fonts;
};

TEST_F(GdiTextTest, TextOutDrawsOnlyTheCountedBytes) {
    font(20, 0, 600);
    TextOutA(dc, 10, 10, "W", 1);
    const std::vector<COLORREF> one = snapshot();
    clear();
    TextOutA(dc, 10, 10, "WWWWWWWW", 1);
    EXPECT_EQ(snapshot(), one);
    const RECT ink = inkArea();
    EXPECT_LE(ink.left, ink.right) << "nothing drawn";
    clear();
    EXPECT_TRUE(TextOutA(dc, 10, 10, "WWWW", 0));
    EXPECT_LT(changedArea().right, 0) << "a count of 0 draws nothing";
    EXPECT_FALSE(TextOutA(dc, 10, 10, "W", -1)) << "TextOutA has no terminated-string count";
}

// A font of the Russian character set reads the bytes as Windows-1251 on every Windows, whatever
// the system's code page: 0xC0 is the Cyrillic A, drawn as the Latin one (read in code page
// 1252 it would be an A with a grave accent, higher by the accent).
TEST_F(GdiTextTest, RussianFontReadsTheBytesAsWindows1251) {
    LOGFONTA lf{};
    lf.lfHeight = 40;
    lf.lfCharSet = RUSSIAN_CHARSET;
    fonts.push_back(CreateFontIndirectA(&lf));
    SelectObject(dc, fonts.back());
    TextOutA(dc, 10, 10, "A", 1);
    const RECT latin = inkArea();
    clear();
    TextOutA(dc, 10, 10, "\xC0", 1);
    const RECT cyrillic = inkArea();
    ASSERT_LE(latin.left, latin.right) << "nothing drawn";
    EXPECT_EQ(cyrillic.top, latin.top);
    EXPECT_EQ(cyrillic.bottom, latin.bottom);
    EXPECT_EQ(cyrillic.right - cyrillic.left, latin.right - latin.left);
}

TEST_F(GdiTextTest, OpaqueModeFillsTheCellsAndTransparentDoesNot) {
    // The cell of a text is as high as the font's lfHeight (ascent + descent).
    for (const LONG height : {20L, 22L, 26L, 100L}) {
        SCOPED_TRACE(height);
        clear();
        font(height);
        SetBkMode(dc, OPAQUE);
        TextOutA(dc, 10, 10, "  ", 2);
        const RECT cell = changedArea();
        EXPECT_EQ(cell.left, 10);
        EXPECT_EQ(cell.top, 10);
        EXPECT_EQ(cell.bottom - cell.top + 1, height);
        EXPECT_EQ(cell.right - cell.left + 1, calcWidth("  ", 2)) << "as wide as the text";
        EXPECT_EQ(GetPixel(dc, 11, 11), kBackground);
        clear();
        SetBkMode(dc, TRANSPARENT);
        TextOutA(dc, 10, 10, "  ", 2);
        EXPECT_LT(changedArea().right, 0);
    }
}

TEST_F(GdiTextTest, GlyphsTakeTheTextColour) {
    font(100, 0, 700);
    TextOutA(dc, 10, 10, "M", 1);
    int solid = 0;
    for (const COLORREF c : snapshot()) {
        solid += c == kInk ? 1 : 0;
    }
    EXPECT_GT(solid, 100);
}

// Large glyphs in OPAQUE mode are copied from a picture the font keeps: the pixels are those of
// the same text drawn over its filled cell, whatever string and colours came before.
TEST_F(GdiTextTest, OpaqueLargeTextRedrawnLooksAsDrawnAfresh) {
    constexpr COLORREF kOtherInk = RGB(0, 120, 0);
    constexpr COLORREF kOtherBackground = RGB(250, 250, 0);
    struct Run {
        const char *text;
        COLORREF ink, background;
    };
    const Run runs[] = {{"57", kInk, kBackground},      {"57", kInk, kBackground},
                        {"58", kInk, kBackground},      {"57", kOtherInk, kBackground},
                        {"57", kInk, kOtherBackground}, {"9", kInk, kBackground}};
    font(100, 50, 300);
    for (const Run &run : runs) {
        SCOPED_TRACE(run.text);
        const RECT cell{10, 10, 10 + calcWidth(run.text, -1), 110};
        clear();
        SetTextColor(dc, run.ink);
        SetBkColor(dc, run.background);
        SetBkMode(dc, OPAQUE);
        TextOutA(dc, 10, 10, run.text, static_cast<int>(std::strlen(run.text)));
        const std::vector<COLORREF> copied = snapshot();
        clear();
        const HBRUSH fill = CreateSolidBrush(run.background);
        FillRect(dc, &cell, fill);
        DeleteObject(fill);
        SetBkMode(dc, TRANSPARENT);
        TextOutA(dc, 10, 10, run.text, static_cast<int>(std::strlen(run.text)));
        EXPECT_TRUE(copied == snapshot());
    }
}

TEST_F(GdiTextTest, FontsHaveTheirCellHeightWidthAndWeight) {
    struct Row {
        LONG height, width, weight;
    };
    for (const Row row : {Row{20, 0, 600}, Row{26, 20, 600}, Row{22, 14, 400}, Row{100, 50, 300}}) {
        SCOPED_TRACE(row.height);
#ifdef _WIN32
        // What Windows reports for the font: the cell and the average width asked for.
        font(row.height, row.width, row.weight);
        TEXTMETRICA tm{};
        ASSERT_TRUE(GetTextMetricsA(dc, &tm));
        EXPECT_EQ(tm.tmHeight, row.height);
        if (row.width > 0) {
            EXPECT_NEAR(tm.tmAveCharWidth, row.width, 1.5);
        }
        // The weight is the face's that Windows chose among those installed (Wine: 700 for 600,
        // 400 for 300); what holds is that a bold request gets a bold face and no other does.
        EXPECT_EQ(tm.tmWeight >= FW_SEMIBOLD, row.weight >= FW_SEMIBOLD);
#else
        LOGFONTA lf{};
        lf.lfHeight = row.height;
        lf.lfWidth = row.width;
        lf.lfWeight = row.weight;
        const QFont f = vintorel::gdi32::fontFromLogFont(lf);
        const QFontMetricsF m(f);
        EXPECT_LE(m.ascent() + m.descent(), row.height + 0.5);
        EXPECT_GE(m.ascent() + m.descent(), row.height - 4);
        if (row.width > 0) {
            EXPECT_NEAR(m.averageCharWidth(), row.width, 1.5);
        }
        EXPECT_EQ(f.weight(), row.weight);
#endif
    }
    // Twice the width asked for gives a text about twice as wide on the screen.
    font(26, 20);
    const int narrow = calcWidth("nnnnnnnnnn", 10);
    font(26, 40);
    const int wide = calcWidth("nnnnnnnnnn", 10);
    EXPECT_NEAR(static_cast<double>(wide) / narrow, 2.0, 0.25);
}

TEST_F(GdiTextTest, DrawTextCountsLikeWindows) {
    font(20);
    EXPECT_EQ(calcWidth("AB", -1), calcWidth("ABCD", 2)) << "-1 reads up to the zero";
    EXPECT_GT(calcWidth("ABCD", 4), calcWidth("ABCD", 2));
    const int ampersand = calcWidth("&", 1, DT_SINGLELINE | DT_NOPREFIX);
    EXPECT_GT(ampersand, 0);
    EXPECT_EQ(calcWidth("&&", 2), ampersand) << "&& stands for one &";
    EXPECT_EQ(calcWidth("&A", 2), calcWidth("A", 1)) << "a prefix is not drawn";
    EXPECT_GT(calcWidth("&&", 2, DT_SINGLELINE | DT_NOPREFIX), ampersand);
    // No text: a count of 0 returns 0 and leaves the rectangle alone; an empty terminated string
    // (or none) is one empty line, its height returned, and DT_CALCRECT makes the rectangle that
    // line (empty unless DT_SINGLELINE). Wine's user32 test_DrawTextCalcRect shows this.
    struct Row {
        const char *text;
        int count;
        UINT format;
        int height;
        RECT rect;
    };
    const Row rows[] = {
        {"", 0, DT_SINGLELINE, 0, {10, 10, 100, 100}},
        {"AB", 0, DT_CALCRECT, 0, {10, 10, 100, 100}},
        {"", 0, DT_CALCRECT | DT_SINGLELINE, 0, {10, 10, 100, 100}},
        {"", -1, DT_CALCRECT, 20, {10, 10, 10, 10}},
        {"", -1, DT_CALCRECT | DT_SINGLELINE, 20, {10, 10, 10, 30}},
        {nullptr, -1, DT_CALCRECT, 20, {10, 10, 10, 10}},
        {"", -1, DT_SINGLELINE, 20, {10, 10, 100, 100}},
        {nullptr, 10, DT_SINGLELINE, 0, {10, 10, 100, 100}},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(testing::Message() << row.count << " " << row.format);
        RECT r{10, 10, 100, 100};
        EXPECT_EQ(DrawTextA(dc, row.text, row.count, &r, row.format), row.height);
        EXPECT_EQ(
            std::vector<LONG>({r.left, r.top, r.right, r.bottom}),
            std::vector<LONG>({row.rect.left, row.rect.top, row.rect.right, row.rect.bottom}));
    }
    EXPECT_LT(changedArea().right, 0);
}

TEST_F(GdiTextTest, DrawTextCentresAndWrapsLines) {
    font(20);
    SetBkMode(dc, TRANSPARENT);
    RECT line{50, 20, 350, 60};
    const int height = DrawTextA(dc, "Centre", -1, &line, DT_CENTER | DT_SINGLELINE | DT_TOP);
    EXPECT_EQ(height, 20);
    const RECT ink = inkArea();
    EXPECT_NEAR(ink.left - line.left, line.right - 1 - ink.right, 4);
    EXPECT_LT(ink.top, 20 + 20);
    // In OPAQUE mode exactly the line's cell is filled: the text's width, centred.
    clear();
    SetBkMode(dc, OPAQUE);
    DrawTextA(dc, "Centre", -1, &line, DT_CENTER | DT_SINGLELINE | DT_TOP);
    const int width = calcWidth("Centre", -1);
    const RECT cell = changedArea();
    EXPECT_EQ(cell.left, (line.left + line.right - width) / 2);
    EXPECT_EQ(cell.right - cell.left + 1, width);
    EXPECT_EQ(cell.top, line.top);
    EXPECT_EQ(cell.bottom - cell.top + 1, 20);
    SetBkMode(dc, TRANSPARENT);
    clear();

    const char *prompt = "Please input transponder frequency and click next";
    RECT narrow{50, 20, 150, 190};
    const int wrapped = DrawTextA(dc, prompt, -1, &narrow, DT_CENTER | DT_WORDBREAK | DT_TOP);
    EXPECT_GE(wrapped, 3 * 20);
    EXPECT_EQ(wrapped % 20, 0);
    RECT single{50, 20, 200, 190};
    EXPECT_EQ(DrawTextA(dc, prompt, -1, &single, DT_CENTER | DT_SINGLELINE | DT_TOP), 20);
    // A word wider than the rectangle stands alone on its line, unbroken (user32
    // test_DrawTextCalcRect, "line1 line2" in a rectangle one pixel wide).
    RECT thin{0, 0, 1, 1};
    EXPECT_EQ(DrawTextA(dc, "line1 line2", -1, &thin, DT_CALCRECT | DT_WORDBREAK), 2 * 20);
    EXPECT_EQ(thin.right, std::max(calcWidth("line1", -1), calcWidth("line2", -1)));

    // Wrapped lines fit the rectangle even when nothing clips them.
    clear();
    RECT unclipped{100, 20, 250, 190};
    DrawTextA(dc, prompt, -1, &unclipped, DT_CENTER | DT_WORDBREAK | DT_TOP | DT_NOCLIP);
    const RECT lines = inkArea();
    EXPECT_GE(lines.left, 100);
    EXPECT_LT(lines.right, 250);
}

TEST_F(GdiTextTest, DrawTextClipsToItsRectangleUnlessToldNot) {
    font(26, 20);
    RECT small{20, 20, 60, 40};
    DrawTextA(dc, "Wide text over the edge", -1, &small, DT_LEFT | DT_SINGLELINE | DT_TOP);
    const RECT drawn = changedArea();
    EXPECT_GE(drawn.left, 20);
    EXPECT_GE(drawn.top, 20);
    EXPECT_LT(drawn.right, 60);
    EXPECT_LT(drawn.bottom, 40);
    clear();
    DrawTextA(dc, "Wide text over the edge", -1, &small,
              DT_LEFT | DT_SINGLELINE | DT_TOP | DT_NOCLIP);
    EXPECT_GT(changedArea().right, 100);
}

TEST_F(GdiTextTest, TextIsClippedToTheAreaBeingPainted) {
    paintHandler = [this](HDC paintDc) {
        SelectObject(paintDc, font(100, 50));
        SetBkColor(paintDc, kBackground);
        TextOutA(paintDc, 0, 0, "MMMMMMMM", 8);
        RECT all{0, 0, kWidth, kHeight};
        DrawTextA(paintDc, "MMMMMMMM", 8, &all, DT_LEFT | DT_WORDBREAK);
    };
    ValidateRect(window, nullptr);
    RECT part{40, 30, 80, 60};
    InvalidateRect(window, &part, FALSE);
    UpdateWindow(window);
    const RECT drawn = changedArea();
    EXPECT_GE(drawn.left, 40);
    EXPECT_GE(drawn.top, 30);
    EXPECT_LT(drawn.right, 80);
    EXPECT_LT(drawn.bottom, 60);
    EXPECT_LE(drawn.left, drawn.right) << "the invalidated part was painted";
}

#ifndef _WIN32 // the platform's own test hook
TEST_F(GdiTextTest, RecorderSeesTheCallsWithTheDcState) {
    TextCalls record;
    font(22, 14, 400);
    SetBkMode(dc, TRANSPARENT);
    TextOutA(dc, 5, 6, "s/n=12.3", 4);
    RECT r{1, 2, 300, 100};
    DrawTextA(dc, "abc", -1, &r, DT_CENTER);
    ASSERT_EQ(record.calls.size(), 2u);
    const TextCall &out = record.calls[0];
    EXPECT_EQ(out.window, window);
    EXPECT_EQ(out.function, VINTOREL_TEXT_OUT);
    EXPECT_EQ(out.bytes, "s/n=");
    EXPECT_EQ(out.count, 4);
    EXPECT_EQ(out.x, 5);
    EXPECT_EQ(out.y, 6);
    EXPECT_EQ(out.font.lfHeight, 22);
    EXPECT_EQ(out.font.lfWidth, 14);
    EXPECT_EQ(out.textColor, kInk);
    EXPECT_EQ(out.bkColor, kBackground);
    EXPECT_EQ(out.bkMode, TRANSPARENT);
    const TextCall &draw = record.calls[1];
    EXPECT_EQ(draw.function, VINTOREL_DRAW_TEXT);
    EXPECT_EQ(draw.bytes, "abc");
    EXPECT_EQ(draw.count, -1);
    EXPECT_EQ(draw.rect.right, 300);
    EXPECT_EQ(draw.format, static_cast<UINT>(DT_CENTER));
}

#endif

} // namespace
