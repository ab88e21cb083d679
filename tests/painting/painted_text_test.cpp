// The texts the main window draws, seen through the text-call recorder: the prompt and label of
// every step, entry mode and language with their exact counts, and at the measuring step the
// title line, the caption, the quality digits and the S/N text with their fonts and places.
#include "program_fixture.h"
#include "text_calls.h"

#include "app/layout.h"

#include <cstdio>
#include <cstring>

namespace {

constexpr UINT kPrompt = DT_CENTER | DT_WORDBREAK | DT_TOP;
// Windows-1251 bytes of the Russian texts, written out so a wrong conversion shows.
constexpr char kFrequencyRu[] = "\xCF\xEE\xE6\xE0\xEB\xF3\xE9\xF1\xF2\xE0  \xE2\xE2\xE5\xE4\xE8"
                                "\xF2\xE5 \xF7\xE0\xF1\xF2\xEE\xF2\xF3 \xF2\xF0\xE0\xED\xF1\xEF"
                                "\xEE\xED\xE4\xE5\xF0\xE0 \xE8 \xED\xE0\xE6\xEC\xE8\xF2\xE5 Next";
constexpr char kSatelliteRu[] = "\xCF\xEE\xE6\xE0\xEB\xF3\xE9\xF1\xF2\xE0 \xE2\xFB\xE1\xE5\xF0"
                                "\xE8\xF2\xE5 \xF1\xEF\xF3\xF2\xED\xE8\xEA \xE8 \xED\xE0\xE6\xEC"
                                "\xE8\xF2\xE5 Find";
constexpr char kSymbolRateRu[] = "\xCF\xEE\xE6\xE0\xEB\xF3\xE9\xF1\xF2\xE0  \xE2\xE2\xE5\xE4\xE8"
                                 "\xF2\xE5 \xF1\xEA\xEE\xF0\xEE\xF1\xF2\xFC \xEF\xEE\xF2\xEE\xEA"
                                 "\xE0";
constexpr char kPolarityRu[] = "\xCF\xEE\xE6\xE0\xEB\xF3\xE9\xF1\xF2\xE0  \xE2\xFB\xE1\xE5\xF0"
                               "\xE8\xF2\xE5 \xEF\xEE\xEB\xFF\xF0\xE8\xE7\xE0\xF6\xE8\xFE";
constexpr char kCaptionRu[] = "\xD3\xF0\xEE\xE2\xE5\xED\xFC \xF1\xE8\xE3\xED\xE0\xEB\xE0";

class PaintedTextTest : public ProgramTest {
  protected:
    void SetUp() override {
        ProgramTest::SetUp();
        ASSERT_NE(createShownWindow(), nullptr);
    }

    // The text calls of one full repaint of the main window.
    std::vector<TextCall> paint() {
        TextCalls record;
        InvalidateRect(app.mainWindow, &app.clientRect, TRUE);
        UpdateWindow(app.mainWindow);
        return record.calls;
    }

    void measuring(LONG quality) {
        measureAt(quality, "HotBird 1-6    ");
        std::memcpy(app.snrText, "s/n=11.2", 8);
    }
};

void expectPaintState(const TextCall &call, LONG fontHeight) {
    EXPECT_EQ(call.window, app.mainWindow);
    EXPECT_EQ(call.font.lfHeight, fontHeight);
    EXPECT_EQ(call.textColor, RGB(30, 30, 60));
    EXPECT_EQ(call.bkColor, RGB(150, 170, 190));
    EXPECT_EQ(call.bkMode, OPAQUE);
}

TEST_F(PaintedTextTest, PromptsAndLabelsOfEveryStep) {
    struct Row {
        SHORT step;
        LONG entryMode;
        SHORT language;
        const char *prompt;
        int count;
        const char *label; // nullptr: none
    };
    const Row rows[] = {
        {0, 1, 1, "Please input transponder frequency and click next", 49, "M h z"},
        {0, 1, 0, kFrequencyRu, 55, "M h z"},
        {0, 0, 1, "Please choose the satellite and press Find", 42, nullptr},
        {0, 0, 0, kSatelliteRu, 42, nullptr},
        {1, 1, 1, "Please input symbol rate", 24, "S/Rate"},
        {1, 1, 0, kSymbolRateRu, 35, "S/Rate"},
        {1, 0, 0, kSymbolRateRu, 35, "S/Rate"},
        {2, 1, 1, "Choose polarity", 15, nullptr},
        {2, 0, 0, kPolarityRu, 32, nullptr},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(testing::Message() << "step " << row.step << " mode " << row.entryMode
                                        << " language " << row.language);
        app.step = row.step;
        app.entryMode = row.entryMode;
        app.language = row.language;
        const std::vector<TextCall> calls = paint();
        ASSERT_EQ(calls.size(), row.label ? 2u : 1u);
        const TextCall &prompt = calls[0];
        EXPECT_EQ(prompt.function, VINTOREL_DRAW_TEXT);
        EXPECT_EQ(prompt.count, row.count);
        EXPECT_EQ(prompt.bytes, std::string(row.prompt));
        EXPECT_EQ(prompt.rect.left, 33);
        EXPECT_EQ(prompt.rect.top, 7);
        EXPECT_EQ(prompt.rect.right, 297);
        EXPECT_EQ(prompt.rect.bottom, 56);
        EXPECT_EQ(prompt.format, kPrompt);
        expectPaintState(prompt, 20);
        if (row.label) {
            const TextCall &label = calls[1];
            EXPECT_EQ(label.function, VINTOREL_TEXT_OUT);
            EXPECT_EQ(label.bytes, std::string(row.label));
            EXPECT_EQ(label.count, static_cast<int>(std::strlen(row.label)));
            EXPECT_EQ(label.x, 231);
            EXPECT_EQ(label.y, 63);
            expectPaintState(label, 20);
        }
    }
}

TEST_F(PaintedTextTest, ReadoutInBothLanguages) {
    struct Row {
        SHORT language;
        const char *caption;
        int count;
    };
    for (const Row row : {Row{1, "Signal quality", 14}, Row{0, kCaptionRu, 15}}) {
        SCOPED_TRACE(row.language);
        app.language = row.language;
        measuring(57);
        const std::vector<TextCall> calls = paint();
        ASSERT_EQ(calls.size(), 4u);
        const TextCall &title = calls[0];
        EXPECT_EQ(title.function, VINTOREL_DRAW_TEXT);
        EXPECT_EQ(title.bytes, "HotBird 1-6    ");
        EXPECT_EQ(title.count, 15);
        EXPECT_EQ(title.rect.top, 7);
        EXPECT_EQ(title.format & ~static_cast<UINT>(DT_NOPREFIX),
                  static_cast<UINT>(DT_CENTER | DT_SINGLELINE | DT_TOP));
        const TextCall &caption = calls[1];
        EXPECT_EQ(caption.bytes, std::string(row.caption));
        EXPECT_EQ(caption.count, row.count);
        EXPECT_EQ(caption.rect.left, 33);
        EXPECT_EQ(caption.rect.top, 28);
        EXPECT_EQ(caption.format, static_cast<UINT>(DT_CENTER | DT_SINGLELINE | DT_TOP));
        EXPECT_EQ(calls[2].bytes, "57");
        EXPECT_EQ(calls[3].bytes, "s/n=11.2");
        for (const TextCall &call : calls) {
            expectPaintState(call, 20);
        }
    }
}

TEST_F(PaintedTextTest, QualityDigitsInBothViews) {
    struct Row {
        LONG quality;
        const char *digits;
    };
    const Row rows[] = {{7, "7"}, {42, "42"}, {100, "10"}};
    for (const BYTE compact : {0, 1}) {
        if (compact == 1) {
            toggleCompactView();
        }
        for (const Row &row : rows) {
            SCOPED_TRACE(testing::Message()
                         << "quality " << row.quality << " compact " << +compact);
            measuring(row.quality);
            const std::vector<TextCall> calls = paint();
            ASSERT_EQ(calls.size(), 4u);
            const TextCall &digits = calls[2];
            EXPECT_EQ(digits.function, VINTOREL_TEXT_OUT);
            EXPECT_EQ(digits.bytes, std::string(row.digits));
            EXPECT_EQ(digits.count, static_cast<int>(std::strlen(row.digits)));
            if (compact == 1) {
                EXPECT_EQ(digits.x, 20);
                EXPECT_EQ(digits.y, 42);
                EXPECT_EQ(digits.font.lfHeight, 100);
                EXPECT_EQ(digits.font.lfWidth, 50);
            } else {
                EXPECT_EQ(digits.x, 35);
                EXPECT_EQ(digits.y, 56);
                EXPECT_EQ(digits.font.lfHeight, 20);
            }
            // The S/N text stands at the top left of its place, in the text font in both views.
            const TextCall &snr = calls[3];
            EXPECT_EQ(snr.bytes, "s/n=11.2");
            EXPECT_EQ(snr.count, 8);
            EXPECT_EQ(snr.x, app.snrRect.left);
            EXPECT_EQ(snr.y, app.snrRect.top);
            EXPECT_EQ(snr.font.lfHeight, 20);
        }
    }
}

TEST_F(PaintedTextTest, NoSnrTextWithoutASignal) {
    for (const BYTE compact : {0, 1}) {
        if (compact == 1) {
            toggleCompactView();
        }
        SCOPED_TRACE(+compact);
        measuring(0);
        const std::vector<TextCall> calls = paint();
        ASSERT_EQ(calls.size(), 3u);
        EXPECT_EQ(calls[2].bytes, "0");
        EXPECT_EQ(calls[2].font.lfHeight, compact == 1 ? 100 : 20);
    }
}

TEST_F(PaintedTextTest, TitleLineWithAnAmpersandIsDrawnAsItIs) {
    measuring(3);
    std::memcpy(app.titleLine, "Astra & Sirius ", 15);
    const std::vector<TextCall> calls = paint();
    ASSERT_FALSE(calls.empty());
    EXPECT_EQ(calls[0].bytes, "Astra & Sirius ");
    EXPECT_NE(calls[0].format & DT_NOPREFIX, 0u);
}

} // namespace
