// The painted main window as pixels: the class background, the frames at every step, the lamp,
// the bar's length, the S/N text shown only with a signal, the compact view's readout, and the
// brushes and fonts the window is made with.
#include "program_fixture.h"

#include "app/layout.h"

#include <cstdio>
#include <cstring>

namespace {

constexpr COLORREF kBackground = RGB(150, 170, 190);
constexpr COLORREF kFrame = RGB(230, 230, 230);
constexpr COLORREF kBar = RGB(230, 240, 255);
constexpr COLORREF kGreen = RGB(0, 255, 0);
constexpr COLORREF kRed = RGB(255, 0, 0);

class PaintingTest : public ProgramTest {
  protected:
    void SetUp() override {
        ProgramTest::SetUp();
        ASSERT_NE(createShownWindow(), nullptr);
    }

    void TearDown() override {
        if (dc != nullptr) {
            ReleaseDC(app.mainWindow, dc);
        }
        ProgramTest::TearDown();
    }

    // Repaints the whole window as the program does after a change, and opens it for reading.
    void repaint() {
        if (dc != nullptr) {
            ReleaseDC(app.mainWindow, dc);
        }
        InvalidateRect(app.mainWindow, &app.clientRect, TRUE);
        UpdateWindow(app.mainWindow);
        dc = GetDC(app.mainWindow);
    }

    void measuring(LONG quality) { measureAt(quality, "12245  H  27500"); }

    COLORREF at(int x, int y) { return GetPixel(dc, x, y); }

    // True when some pixel of the area is neither the background nor a brush colour: text.
    bool hasText(int left, int top, int right, int bottom) {
        for (int y = top; y < bottom; ++y) {
            for (int x = left; x < right; ++x) {
                const COLORREF c = at(x, y);
                if (c != kBackground && c != kFrame && c != kBar && c != kGreen && c != kRed) {
                    return true;
                }
            }
        }
        return false;
    }

    HDC dc = nullptr;
};

TEST_F(PaintingTest, BackgroundAndFramesAtEveryStep) {
    struct Row {
        SHORT step;
        LONG entryMode;
    };
    for (const Row row : {Row{0, 0}, Row{0, 1}, Row{1, 1}, Row{2, 1}, Row{3, 0}}) {
        SCOPED_TRACE(testing::Message() << "step " << row.step << " mode " << row.entryMode);
        app.step = row.step;
        app.entryMode = row.entryMode;
        repaint();
        // The window frame one pixel inside the client edge, the class colour outside it.
        EXPECT_EQ(at(0, 0), kBackground);
        EXPECT_EQ(at(333, 143), kBackground);
        EXPECT_EQ(at(1, 1), kFrame);
        EXPECT_EQ(at(332, 142), kFrame);
        EXPECT_EQ(at(166, 1), kFrame);
        EXPECT_EQ(at(1, 72), kFrame);
        EXPECT_EQ(at(2, 2), kBackground);
        // The readout frame (32, 55)-(298, 85) around the controls or the readout.
        EXPECT_EQ(at(32, 55), kFrame);
        EXPECT_EQ(at(297, 84), kFrame);
        EXPECT_EQ(at(150, 55), kFrame);
        EXPECT_EQ(at(150, 84), kFrame);
        EXPECT_EQ(at(32, 70), kFrame);
        EXPECT_EQ(at(297, 70), kFrame);
        EXPECT_EQ(at(31, 70), kBackground);
        EXPECT_EQ(at(298, 70), kBackground);
        // Below the readout frame and the label, only background: the buttons are controls.
        EXPECT_EQ(at(10, 120), kBackground);
        EXPECT_EQ(at(320, 130), kBackground);
    }
}

TEST_F(PaintingTest, LampIsGreenWithASignalAndRedWithout) {
    measuring(1);
    repaint();
    EXPECT_EQ(at(265, 57), kGreen);
    EXPECT_EQ(at(280, 70), kGreen);
    EXPECT_EQ(at(295, 82), kGreen);
    EXPECT_EQ(at(296, 70), kBackground);
    measuring(0);
    repaint();
    EXPECT_EQ(at(265, 57), kRed);
    EXPECT_EQ(at(295, 82), kRed);
    measuring(-5);
    repaint();
    EXPECT_EQ(at(280, 70), kRed);
}

TEST_F(PaintingTest, BarLengthFollowsTheQuality) {
    // The bar starts at x 66 and its full scale is 8 tenths of the width: a 198-pixel span.
    struct Row {
        LONG quality;
        int length;
    };
    for (const Row row : {Row{0, 0}, Row{1, 1}, Row{50, 98}, Row{100, 197}, Row{250, 198}}) {
        SCOPED_TRACE(row.quality);
        measuring(row.quality);
        repaint();
        EXPECT_EQ(app.barRect.right, 66 + row.length);
        const int y = 80; // below the digits
        if (row.length > 0) {
            EXPECT_EQ(at(66, y), kBar);
            EXPECT_EQ(at(66 + row.length - 1, y), kBar);
            EXPECT_EQ(at(66, 57), kBar);
            EXPECT_EQ(at(66, 82), kBar);
        } else {
            EXPECT_EQ(at(66, y), kBackground);
        }
        EXPECT_EQ(at(66 + row.length, y), kBackground);
        EXPECT_EQ(at(66, 83), kBackground);
    }
}

TEST_F(PaintingTest, SnrTextOnlyWithASignal) {
    // The S/N text stands at (221, 88), below the readout frame.
    measuring(1);
    std::memcpy(app.snrText, "s/n=9.5 ", 8);
    repaint();
    EXPECT_TRUE(hasText(221, 88, 333, 108));
    measuring(0);
    repaint();
    EXPECT_FALSE(hasText(200, 86, 333, 110));
}

TEST_F(PaintingTest, ReadoutTextsAtTheMeasuringStep) {
    measuring(42);
    repaint();
    EXPECT_TRUE(hasText(33, 7, 297, 27)) << "title line";
    EXPECT_TRUE(hasText(33, 28, 297, 48)) << "caption";
    EXPECT_TRUE(hasText(35, 56, 65, 76)) << "digits left of the bar";
    app.step = 0;
    app.entryMode = 0;
    repaint();
    EXPECT_FALSE(hasText(35, 56, 65, 76)) << "no digits before measuring";
}

TEST_F(PaintingTest, CompactViewReadout) {
    measuring(100);
    toggleCompactView();
    ASSERT_EQ(app.clientRect.right, 918);
    repaint();
    // w10 91, h10 14: frame (7, 55)-(911, 126), bar from 182 to at most 728, lamp (820, 70)-
    // (898, 112), S/N text at (820, 28), digits at (20, 42).
    EXPECT_EQ(at(7, 55), kFrame);
    EXPECT_EQ(at(910, 125), kFrame);
    EXPECT_EQ(at(500, 55), kFrame);
    EXPECT_EQ(at(182, 100), kBar);
    EXPECT_EQ(at(726, 100), kBar);
    EXPECT_EQ(at(727, 100), kBackground);
    EXPECT_EQ(at(800, 100), kBackground);
    EXPECT_EQ(at(820, 70), kGreen);
    EXPECT_EQ(at(897, 111), kGreen);
    EXPECT_EQ(at(898, 111), kBackground);
    EXPECT_TRUE(hasText(820, 28, 917, 48)) << "S/N text above the lamp";
    EXPECT_TRUE(hasText(20, 42, 180, 142)) << "large digits at the left";
    measuring(0);
    repaint();
    EXPECT_EQ(at(820, 70), kRed);
    EXPECT_FALSE(hasText(820, 28, 917, 48));
    EXPECT_EQ(at(182, 100), kBackground);
}

TEST_F(PaintingTest, BrushesAndFontsOfTheWindow) {
    EXPECT_NE(app.brushFrame, nullptr);
    EXPECT_NE(app.brushBar, nullptr);
    EXPECT_NE(app.brushGreen, nullptr);
    EXPECT_NE(app.brushRed, nullptr);
    struct Row {
        HFONT font;
        LONG height, width, weight;
    };
    for (const Row row : {Row{app.fontText, 20, 0, 600}, Row{app.fontEdit, 26, 20, 600},
                          Row{app.fontList, 22, 14, 400}, Row{app.fontDigits, 100, 50, 300}}) {
        SCOPED_TRACE(row.height);
        LOGFONTA lf{};
        ASSERT_EQ(GetObjectA(row.font, sizeof lf, &lf), static_cast<int>(sizeof lf));
        EXPECT_EQ(lf.lfHeight, row.height);
        EXPECT_EQ(lf.lfWidth, row.width);
        EXPECT_EQ(lf.lfWeight, row.weight);
        EXPECT_EQ(lf.lfItalic, 0);
        EXPECT_EQ(lf.lfCharSet, RUSSIAN_CHARSET); // the texts' code page on every Windows
        EXPECT_EQ(lf.lfFaceName[0], '\0');
    }
    auto fontOf = [](HWND control) {
        return reinterpret_cast<HFONT>(SendMessageA(control, WM_GETFONT, 0, 0));
    };
    EXPECT_EQ(fontOf(app.editBox), app.fontEdit);
    EXPECT_EQ(fontOf(app.horizontalRadio), app.fontText);
    EXPECT_EQ(fontOf(app.verticalRadio), app.fontText);
    EXPECT_EQ(fontOf(app.satelliteCombo), app.fontList);
    EXPECT_EQ(fontOf(app.modeButton), nullptr) << "push buttons keep the default font";
}

// The window's class keeps one device context for the window's life, so a paint that left one
// of the window's brushes or fonts selected would keep it from being deleted at the end.
TEST_F(PaintingTest, EveryBrushAndFontIsDeletedWhateverWasPaintedLast) {
    struct Row {
        SHORT step;
        bool compact;
        LONG quality;
    };
    for (const Row row : {Row{0, false, 0}, Row{3, false, 57}, Row{3, true, 0}, Row{3, true, 57}}) {
        SCOPED_TRACE(testing::Message() << row.step << row.compact << row.quality);
        if (!IsWindow(app.mainWindow)) {
            app = AppState{};
            ASSERT_NE(createShownWindow(), nullptr);
        }
        if (row.step == 3) {
            measuring(row.quality);
        }
        if (row.compact) {
            SendMessageA(app.mainWindow, WM_LBUTTONDBLCLK, 0, 0);
        }
        repaint();
        ReleaseDC(app.mainWindow, dc);
        dc = nullptr;
        const HGDIOBJ objects[] = {app.brushFrame, app.brushBar,   app.brushGreen, app.brushRed,
                                   app.fontText,   app.fontDigits, app.fontEdit,   app.fontList};
        DestroyWindow(app.mainWindow);
        for (const HGDIOBJ object : objects) {
            EXPECT_EQ(GetObjectType(object), 0u) << object;
        }
    }
}

class PaintingWithoutListTest : public ProgramTest {};

TEST_F(PaintingWithoutListTest, NoListFontWhenTheListIsNotRead) {
    useNoDataFolder();
    boxes->willAnswer(IDNO); // do not create the list file
    ASSERT_NE(createWindow(), nullptr);
    EXPECT_EQ(app.entryMode, 1);
    EXPECT_EQ(app.fontList, nullptr);
    EXPECT_NE(app.fontText, nullptr);
    EXPECT_NE(app.fontDigits, nullptr);
}

} // namespace
