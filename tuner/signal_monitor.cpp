// Signal monitor: every poll asks the card to apply the tuning, reads quality and S/N when it is
// tuned, and refreshes the readout; the S/N text is formatted separately, once per announce
// cycle, into a fixed four-character field.
#include "tuner/signal_monitor.h"

#include "app/app_state.h"
#include "tuner_control.h"
#include "voice/announcer.h"

#include <cmath>
#include <cstdio>

namespace {

constexpr int kSnrNumber = 4; // characters 0..3 of snrText are the label, 4..7 the number

// The card should report 0..100. A value outside that range is held to it, so that the text
// fits qualityText and the bar, the lamp and the spoken digits all stay within their scale.
LONG heldToScale(LONG quality) {
    if (quality < 0) {
        return 0;
    }
    if (quality > 100) {
        return 100;
    }
    return quality;
}

// Decimal text without leading zeros, ended by a zero character; what follows it is kept.
void writeQualityText(LONG quality) {
    char *text = app.qualityText;
    int length = 0;
    if (quality >= 100) {
        text[length++] = static_cast<char>('0' + quality / 100);
    }
    if (quality >= 10) {
        text[length++] = static_cast<char>('0' + quality / 10 % 10);
    }
    text[length++] = static_cast<char>('0' + quality % 10);
    text[length] = '\0';
}

void setSnrNumber(char a, char b, char c, char d) {
    app.snrText[kSnrNumber] = a;
    app.snrText[kSnrNumber + 1] = b;
    app.snrText[kSnrNumber + 2] = c;
    app.snrText[kSnrNumber + 3] = d;
}

// The three leading significant digits of |value| rounded half up at the fourth, with the
// carry (9.996 gives 1, 0, 0). The float widened to double is printed with every one of its
// significant digits (a float never has more than 112), so the decision to round up is exact:
// 12.36f, which is 12.3599996..., gives 1, 2, 4 and 7.534f, 7.5339999..., gives 7, 5, 3.
void leadingDigits(double value, int digits[3]) {
    char text[160];
    std::snprintf(text, sizeof text, "%.120e", std::fabs(value));
    int d[3] = {text[0] - '0', text[2] - '0', text[3] - '0'};
    if (text[4] >= '5') {
        for (int i = 2; i >= 0; --i) {
            if (++d[i] < 10) {
                break;
            }
            d[i] = 0;
        }
        if (d[0] == 0) { // 999 carried to 1000: its leading digits are 1, 0, 0
            d[0] = 1;
        }
    }
    digits[0] = d[0];
    digits[1] = d[1];
    digits[2] = d[2];
}

} // namespace

void pollTick() {
    TunerControl *tuner = app.tuner;
    if (tuner == nullptr) {
        return;
    }
    if (FAILED(tuner->applyTuning())) {
        if (app.quality < 1) {
            return; // already cleared
        }
        app.quality = 0;
        app.qualityText[0] = '0';
        setSnrNumber(' ', ' ', ' ', ' ');
        InvalidateRect(app.mainWindow, &app.readoutRect, TRUE);
        return;
    }
    tuner->refreshMeasurement();
    tuner->getQuality(&app.quality);
    tuner->getSnr(&app.snrValue);
    app.quality = heldToScale(app.quality);
    writeQualityText(app.quality);
    InvalidateRect(app.mainWindow, &app.readoutRect, TRUE);
    playTone();
}

void formatSnr() {
    const double value = app.snrValue;
    if (!std::isfinite(value)) {
        setSnrNumber(' ', '.', ' ', ' '); // no reading to show: the look of the empty readout
    } else {
        int d[3];
        leadingDigits(value, d);
        const char first = static_cast<char>('0' + d[0]);
        const char second = static_cast<char>('0' + d[1]);
        const char third = static_cast<char>('0' + d[2]);
        if (value < 10.0) {
            setSnrNumber(first, '.', second, third);
        } else {
            setSnrNumber(first, second, '.', third);
        }
    }
    InvalidateRect(app.mainWindow, &app.snrRect, TRUE);
}
