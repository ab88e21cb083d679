// Painting of the main window: two frames, the prompt of the wizard step in the current
// language with the unit label beside the edit box, and at the measuring step the title line,
// the caption, the quality digits, the bar, the lamp and the S/N text. Brushes and fonts are
// made once at window creation; a paint only selects them.
#include "app/painting.h"

#include "app/app_state.h"
#include "app/cp1251.h"

namespace {

constexpr COLORREF kTextColor = RGB(30, 30, 60);
constexpr COLORREF kTextBackground = RGB(150, 170, 190); // the window class background
constexpr UINT kPromptFormat = DT_CENTER | DT_WORDBREAK | DT_TOP;
constexpr UINT kLineFormat = DT_CENTER | DT_SINGLELINE | DT_TOP;

// A text with the exact number of characters it is drawn with.
struct Text {
    const char *bytes;
    int count;
};

constexpr char kFrequencyEn[] = "Please input transponder frequency and click next";
constexpr auto kFrequencyRu = CP1251(u8"Пожалуйста  введите частоту транспондера и нажмите Next");
constexpr char kSatelliteEn[] = "Please choose the satellite and press Find";
constexpr auto kSatelliteRu = CP1251(u8"Пожалуйста выберите спутник и нажмите Find");
constexpr char kSymbolRateEn[] = "Please input symbol rate";
constexpr auto kSymbolRateRu = CP1251(u8"Пожалуйста  введите скорость потока");
constexpr char kPolarityEn[] = "Choose polarity";
constexpr auto kPolarityRu = CP1251(u8"Пожалуйста  выберите поляризацию");
constexpr char kCaptionEn[] = "Signal quality";
constexpr auto kCaptionRu = CP1251(u8"Уровень сигнала");
constexpr char kMhzLabel[] = "M h z";
constexpr char kSymbolRateLabel[] = "S/Rate";

static_assert(sizeof kFrequencyEn - 1 == 49 && kFrequencyRu.length == 55);
static_assert(sizeof kSatelliteEn - 1 == 42 && kSatelliteRu.length == 42);
static_assert(sizeof kSymbolRateEn - 1 == 24 && kSymbolRateRu.length == 35);
static_assert(sizeof kPolarityEn - 1 == 15 && kPolarityRu.length == 32);
static_assert(sizeof kCaptionEn - 1 == 14 && kCaptionRu.length == 15);

template <std::size_t N> constexpr Text english(const char (&text)[N]) {
    return Text{text, static_cast<int>(N - 1)};
}

template <class Russian> Text russian(const Russian &text) {
    return Text{text.c_str(), static_cast<int>(text.length)};
}

Text inLanguage(Text englishText, Text russianText) {
    return app.language == 0 ? russianText : englishText;
}

HFONT makeFont(LOGFONTA *lf, LONG height, LONG width, LONG weight) {
    lf->lfHeight = height;
    lf->lfWidth = width;
    lf->lfWeight = weight;
    return CreateFontIndirectA(lf);
}

void giveFont(HWND control, HFONT font) {
    SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), MAKELPARAM(TRUE, 0));
}

void drawPrompt(Text prompt) {
    DrawTextA(app.paintDC, prompt.bytes, prompt.count, &app.promptRect, kPromptFormat);
}

// The unit beside the edit box, in both languages.
void drawLabel(const char *label, int count) {
    const LONG w10 = app.clientRect.right / 10;
    const LONG h20 = app.clientRect.bottom / 20;
    TextOutA(app.paintDC, 7 * w10, 9 * h20, label, count);
}

void drawQualityDigits() {
    const LONG h10 = app.clientRect.bottom / 10;
    const int count = app.quality < 10 ? 1 : 2;
    if (app.compactView == 1) {
        SelectObject(app.paintDC, app.fontDigits);
        TextOutA(app.paintDC, app.clientRect.left + 20, 3 * h10, app.qualityText, count);
    } else {
        const LONG w10 = app.clientRect.right / 10;
        TextOutA(app.paintDC, w10 + 2, 4 * h10, app.qualityText, count);
    }
}

// The bar grows from its left edge towards 8 tenths of the width, the same full scale in
// both views. A quality outside 0..100 is held to the scale so the bar never runs into the
// lamp.
void drawBar() {
    const LONG span = 8 * (app.clientRect.right / 10) - app.barRect.left;
    double length = (span * static_cast<double>(0.01f)) * app.quality;
    if (length > span) {
        length = span;
    } else if (length < 0) {
        length = 0;
    }
    app.barRect.right = app.barRect.left + static_cast<LONG>(length);
    SelectObject(app.paintDC, app.brushBar);
    FillRect(app.paintDC, &app.barRect, app.brushBar);
}

void drawLampAndSnr() {
    if (app.quality >= 1) {
        SelectObject(app.paintDC, app.brushGreen);
        FillRect(app.paintDC, &app.lampRect, app.brushGreen);
        if (app.compactView == 1) {
            SelectObject(app.paintDC, app.fontText);
        }
        TextOutA(app.paintDC, app.snrRect.left, app.snrRect.top, app.snrText, 8);
    } else {
        SelectObject(app.paintDC, app.brushRed);
        FillRect(app.paintDC, &app.lampRect, app.brushRed);
    }
}

void drawReadout() {
    // The title line holds a satellite name from the list file: drawn as it is, so an '&' in
    // a name stays an '&'.
    DrawTextA(app.paintDC, app.titleLine, 15, &app.promptRect, kLineFormat | DT_NOPREFIX);
    const Text caption = inLanguage(english(kCaptionEn), russian(kCaptionRu));
    DrawTextA(app.paintDC, caption.bytes, caption.count, &app.captionRect, kLineFormat);
    drawQualityDigits();
    drawBar();
    drawLampAndSnr();
}

void drawStepText() {
    switch (app.step) {
    case STEP_FIRST_ENTRY:
        if (app.entryMode == MODE_MANUAL) {
            drawPrompt(inLanguage(english(kFrequencyEn), russian(kFrequencyRu)));
            drawLabel(kMhzLabel, sizeof kMhzLabel - 1);
        } else if (app.entryMode == MODE_LIST) {
            drawPrompt(inLanguage(english(kSatelliteEn), russian(kSatelliteRu)));
        }
        break;
    case STEP_SYMBOL_RATE:
        drawPrompt(inLanguage(english(kSymbolRateEn), russian(kSymbolRateRu)));
        drawLabel(kSymbolRateLabel, sizeof kSymbolRateLabel - 1);
        break;
    case STEP_POLARITY:
        drawPrompt(inLanguage(english(kPolarityEn), russian(kPolarityRu)));
        break;
    case STEP_MEASURING:
        drawReadout();
        break;
    default:
        break;
    }
}

} // namespace

void createBrushes() {
    app.brushFrame = CreateSolidBrush(RGB(230, 230, 230));
    app.brushBar = CreateSolidBrush(RGB(230, 240, 255));
    app.brushGreen = CreateSolidBrush(RGB(0, 255, 0));
    app.brushRed = CreateSolidBrush(RGB(255, 0, 0));
}

void createFonts() {
    // Default face, no italic, underline or strike-out. The Russian texts are Windows-1251
    // bytes, and Windows reads the bytes given to a font in its character set's code page: with
    // the ANSI set (0) a Windows whose code page is not 1251 would show them as Latin letters.
    LOGFONTA lf{};
    lf.lfCharSet = RUSSIAN_CHARSET;
    app.fontText = makeFont(&lf, 20, 0, 600);
    app.fontEdit = makeFont(&lf, 26, 20, 600);
    if (app.entryMode == MODE_LIST) {
        app.fontList = makeFont(&lf, 22, 14, 400);
        giveFont(app.satelliteCombo, app.fontList);
    }
    app.fontDigits = makeFont(&lf, 100, 50, 300);
    giveFont(app.editBox, app.fontEdit);
    giveFont(app.horizontalRadio, app.fontText);
    giveFont(app.verticalRadio, app.fontText);
}

void paintWindow(HWND window) {
    PAINTSTRUCT ps;
    app.paintDC = BeginPaint(window, &ps);
    app.savedBrush = static_cast<HBRUSH>(SelectObject(app.paintDC, app.brushFrame));
    FrameRect(app.paintDC, &app.frameRect, app.brushFrame);
    SetBkColor(app.paintDC, kTextBackground);
    SetTextColor(app.paintDC, kTextColor);
    app.savedFont = static_cast<HFONT>(SelectObject(app.paintDC, app.fontText));
    FrameRect(app.paintDC, &app.readoutRect, app.brushFrame);
    drawStepText();
    SelectObject(app.paintDC, app.savedFont);
    SelectObject(app.paintDC, app.savedBrush);
    EndPaint(window, &ps);
}
