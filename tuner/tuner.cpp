// Tuner card control: creating the card's filter, its start-up settings, the tuning sequence
// and the release. Every failure shows its message (in English) and destroys the main window,
// which ends the program.
#include "tuner/tuner.h"

#include "app/app_state.h"
#include "tuner_control.h"

namespace {

// Universal Ku-band LNB: low band below 11700 MHz with a 9750 MHz oscillator, high band with
// 10600 MHz; C-band LNBs (up to 4200 MHz) use 5150 MHz.
constexpr LONG kHighBandAbove = 11699;
constexpr LONG kCBandBelow = 4201;
constexpr LONG kLowBandOscillator = 9750;
constexpr LONG kHighBandOscillator = 10600;
constexpr LONG kCBandOscillator = 5150;
constexpr LONG kStartupFec = 6;
constexpr LONG kStartupDiseqc = 0;
// The most Release calls of the shutdown's drain: a filter whose count never reaches zero must
// not hang the shutdown.
constexpr int kMaxReleases = 1 << 16;

void failAndDestroy(HWND window, const char *message) {
    MessageBoxA(window, message, "Error", MB_OK);
    DestroyWindow(window);
}

} // namespace

bool openTuner(HWND window) {
    CoInitialize(nullptr);
    if (CoCreateInstance(CLSID_TunerCardFilter, nullptr, CLSCTX_INPROC_SERVER, IID_TunerBaseFilter,
                         reinterpret_cast<void **>(&app.sourceFilter)) != S_OK) {
        failAndDestroy(window, "Cannot create filter graph manager");
        return false;
    }
    app.comReady = 1;
    if (app.sourceFilter->QueryInterface(IID_TunerControl, reinterpret_cast<void **>(&app.tuner)) !=
        S_OK) {
        DestroyWindow(window);
        return false;
    }
    if (FAILED(app.tuner->initialize())) {
        failAndDestroy(window, "Cannot initialize tuner control interface");
        return false;
    }
    if (FAILED(app.tuner->setFec(kStartupFec))) {
        failAndDestroy(window, "Set fec failed");
        return false;
    }
    if (FAILED(app.tuner->setDiseqc(kStartupDiseqc))) {
        failAndDestroy(window, "Set DiSEqC failed");
        return false;
    }
    return true;
}

void tuneTransponder(LONG polarity, LONG symbolRate, LONG frequencyMHz) {
    TunerControl *tuner = app.tuner;
    const bool highBand = frequencyMHz > kHighBandAbove;
    if (FAILED(tuner->setLnbSelection(highBand ? 1 : 0))) {
        failAndDestroy(app.mainWindow, "Set LNB selection failed");
        return;
    }
    HRESULT hr;
    if (highBand) {
        hr = tuner->setLnbFrequency(kHighBandOscillator);
    } else {
        hr = tuner->setLnbFrequency(kLowBandOscillator);
        if (frequencyMHz < kCBandBelow) {
            hr = tuner->setLnbFrequency(kCBandOscillator); // only this call's status counts
        }
    }
    if (FAILED(hr)) {
        failAndDestroy(app.mainWindow, "Set LNB frequency failed");
        return;
    }
    if (FAILED(tuner->setPolarity(polarity))) {
        failAndDestroy(app.mainWindow, "Set polarity failed");
        return;
    }
    if (FAILED(tuner->setSymbolRate(symbolRate))) {
        failAndDestroy(app.mainWindow, "Set symbol rate failed");
        return;
    }
    if (FAILED(tuner->setTransponderFrequency(frequencyMHz))) {
        failAndDestroy(app.mainWindow, "Set transponder frequency failed");
        return;
    }
}

void releaseTuner() {
    if (app.comReady == 1 && app.sourceFilter != nullptr) {
        // The filter and its tuner interface are one object with one count, and the program
        // releases it through the filter alone: once for the filter, once for the interface,
        // and once for any reference a card's driver keeps on the program's behalf. So it
        // releases until the count says the object is gone, which is when the driver lets go
        // of the card, rather than a fixed number of times.
        for (int i = 0; i < kMaxReleases && app.sourceFilter->Release() != 0; ++i) {
        }
        app.sourceFilter = nullptr;
        app.tuner = nullptr;
    }
    CoUninitialize();
}
