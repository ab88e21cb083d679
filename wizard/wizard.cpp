// The search wizard's steps in its two entry modes: "MODE 0" takes the transponder from the
// satellite list, "MODE 1" asks for frequency, symbol rate and polarity one step at a time.
// Every change of step is made before the old step's input is checked, and undone after the
// refusal's message box is closed. Entering the measuring step tunes the card and starts the
// two 600 ms timers; leaving it silences them by re-arming them with a very long period.
#include "wizard/wizard.h"

#include "app/app_state.h"
#include "app/cp1251.h"
#include "app/decimal.h"
#include "app/layout.h"
#include "app/messages.h"
#include "satlist/satellite_list.h"
#include "tuner/tuner.h"

#include <cstring>

namespace {

constexpr UINT kMeasureInterval = 600;
constexpr UINT kSilencedInterval = 10000000;
constexpr int kTypedLength = 5;

constexpr auto kRuBadFrequency = CP1251(u8"Пожалуйста введите допустимую частоту транспондера из "
                                        u8"диапазона 3400-4200 или 10700-15000 Mhz");
constexpr auto kRuBadSymbolRate = CP1251(u8"Пожалуйста введите допустимую символьную скорость");
constexpr auto kRuNoList =
    CP1251(u8"Чтобы получить доступ к MODE 0, необходимо создать фаил satellite.ini");
constexpr auto kRuAttention = CP1251(u8"Внимание!");

const Message kBadFrequency{
    "Please enter allowable transponder frequency a range 3400-4200 or 10700-15000 Mhz ",
    " Attention! ", kRuBadFrequency.c_str(), kRuAttention.c_str(), MB_ICONWARNING | MB_OK};
const Message kBadSymbolRate{"Please enter allowable symbol rate", "Attention!",
                             kRuBadSymbolRate.c_str(), kRuAttention.c_str(),
                             MB_ICONWARNING | MB_OK};
const Message kNoList{"To get access to MODE 0, it is necessary to create satellite.ini",
                      "Attention!", kRuNoList.c_str(), kRuAttention.c_str(), MB_OK};

void invalidateClient() {
    InvalidateRect(app.mainWindow, &app.clientRect, TRUE);
}

void readTyped(char *text) {
    GetWindowTextA(app.editBox, text, kTypedLength + 1);
}

// The "MODE 1" controls of step 0: the edit box with its arrows instead of the list.
void showManualEntryControls() {
    ShowWindow(app.satelliteCombo, SW_HIDE);
    ShowWindow(app.editBox, SW_SHOWNORMAL);
    ShowWindow(app.upDown, SW_SHOWNORMAL);
    SetWindowTextA(app.findButton, "NEXT>");
    SetWindowTextA(app.modeButton, "MODE 1");
}

void buildManualTitle() {
    char *title = app.titleLine;
    std::memcpy(title, app.freqText, 5);
    title[5] = ' ';
    title[6] = ' ';
    title[7] = app.polarity == 0 ? 'H' : 'V';
    title[8] = ' ';
    title[9] = ' ';
    std::memcpy(title + 10, app.srateText, 5);
    if (app.symbolRate < 10000) {
        title[14] = ' ';
    }
    if (app.frequencyMHz < 10000) {
        title[4] = ' ';
    }
}

void startMeasuring() {
    tuneTransponder(app.polarity, app.symbolRate, app.frequencyMHz);
    app.timersOn = 1;
    // After a failed tuning the window is gone and these start nothing.
    SetTimer(app.mainWindow, POLL_TIMER, kMeasureInterval, nullptr);
    SetTimer(app.mainWindow, ANNOUNCE_TIMER, kMeasureInterval, nullptr);
}

void stopMeasuring() {
    if (app.compactView == 1) {
        toggleCompactView();
    }
    app.quality = 0;
    app.qualityText[0] = '0';
    app.qualityText[1] = '%';
    SetTimer(app.mainWindow, POLL_TIMER, kSilencedInterval, nullptr);
    SetTimer(app.mainWindow, ANNOUNCE_TIMER, kSilencedInterval, nullptr);
}

void showMeasuringControls() {
    ShowWindow(app.aboutButton, SW_SHOWNORMAL);
    ShowWindow(app.soundStatic, SW_SHOWNORMAL);
}

void manualNext() {
    switch (app.step) {
    case STEP_FIRST_ENTRY:
        app.step = STEP_SYMBOL_RATE;
        readTyped(app.freqText);
        app.frequencyMHz = parseDecimal(app.freqText);
        if (!frequencyAllowed(app.frequencyMHz)) {
            showMessage(app.mainWindow, kBadFrequency);
            app.step = STEP_FIRST_ENTRY;
            return;
        }
        SendMessageA(app.upDown, UDM_SETRANGE32, 1000, 45000);
        SetWindowTextA(app.editBox, app.srateText);
        SetFocus(app.editBox);
        EnableWindow(app.backButton, TRUE);
        EnableWindow(app.modeButton, FALSE);
        invalidateClient();
        break;
    case STEP_SYMBOL_RATE:
        app.step = STEP_POLARITY;
        readTyped(app.srateText);
        app.symbolRate = parseDecimal(app.srateText);
        if (!symbolRateAllowed(app.symbolRate)) {
            showMessage(app.mainWindow, kBadSymbolRate);
            app.step = STEP_SYMBOL_RATE;
            return;
        }
        ShowWindow(app.editBox, SW_HIDE);
        ShowWindow(app.upDown, SW_HIDE);
        ShowWindow(app.horizontalRadio, SW_SHOWNORMAL);
        ShowWindow(app.verticalRadio, SW_SHOWNORMAL);
        invalidateClient();
        break;
    case STEP_POLARITY:
        app.step = STEP_MEASURING;
        app.polarity = SendMessageA(app.horizontalRadio, BM_GETCHECK, 0, 0) == BST_CHECKED ? 0 : 1;
        buildManualTitle();
        ShowWindow(app.horizontalRadio, SW_HIDE);
        ShowWindow(app.verticalRadio, SW_HIDE);
        ShowWindow(app.findButton, SW_HIDE);
        showMeasuringControls();
        invalidateClient();
        startMeasuring();
        break;
    default:
        break;
    }
}

void listFind() {
    if (app.step != STEP_FIRST_ENTRY) {
        return;
    }
    app.step = STEP_MEASURING;
    if (!readSelectedEntry()) {
        app.step = STEP_FIRST_ENTRY;
        if (app.entryMode == MODE_MANUAL) {
            // The list could not be read: carry on with typed values.
            showManualEntryControls();
            invalidateClient();
        }
        return;
    }
    ShowWindow(app.satelliteCombo, SW_HIDE);
    ShowWindow(app.findButton, SW_HIDE);
    showMeasuringControls();
    EnableWindow(app.backButton, TRUE);
    EnableWindow(app.modeButton, FALSE);
    invalidateClient();
    startMeasuring();
}

} // namespace

void showStartControls() {
    if (app.noList == 1 || app.entryMode == MODE_MANUAL) {
        // No list, or a list that could not be read: typed values only for now.
        showManualEntryControls();
    }
    SendMessageA(app.editBox, EM_LIMITTEXT, kTypedLength, 0);
    SendMessageA(app.editBox, EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN, MAKELPARAM(0, 0));
    SendMessageA(app.horizontalRadio, BM_SETCHECK, BST_CHECKED, 0);
    SetFocus(app.editBox);
}

void onFindNext(WORD) {
    if (app.entryMode == MODE_MANUAL) {
        manualNext();
    } else {
        listFind();
    }
}

void onBack(WORD) {
    if (app.entryMode == MODE_MANUAL && app.step == STEP_SYMBOL_RATE) {
        app.step = STEP_FIRST_ENTRY;
        readTyped(app.srateText);
        SendMessageA(app.upDown, UDM_SETRANGE, 0, MAKELPARAM(12700, 3400));
        SetWindowTextA(app.editBox, app.freqText);
        SetFocus(app.editBox);
        EnableWindow(app.backButton, FALSE);
        EnableWindow(app.modeButton, TRUE);
        invalidateClient();
    } else if (app.entryMode == MODE_MANUAL && app.step == STEP_POLARITY) {
        app.step = STEP_SYMBOL_RATE;
        ShowWindow(app.horizontalRadio, SW_HIDE);
        ShowWindow(app.verticalRadio, SW_HIDE);
        ShowWindow(app.editBox, SW_SHOWNORMAL);
        ShowWindow(app.upDown, SW_SHOWNORMAL);
        SetFocus(app.editBox);
        invalidateClient();
    } else if (app.entryMode == MODE_MANUAL && app.step == STEP_MEASURING) {
        app.step = STEP_POLARITY;
        stopMeasuring();
        ShowWindow(app.aboutButton, SW_HIDE);
        ShowWindow(app.horizontalRadio, SW_SHOWNORMAL);
        ShowWindow(app.verticalRadio, SW_SHOWNORMAL);
        ShowWindow(app.findButton, SW_SHOWNORMAL);
        ShowWindow(app.soundStatic, SW_HIDE);
        invalidateClient();
    } else if (app.entryMode == MODE_LIST && app.step == STEP_MEASURING) {
        app.step = STEP_FIRST_ENTRY;
        stopMeasuring();
        ShowWindow(app.soundStatic, SW_HIDE);
        EnableWindow(app.modeButton, TRUE);
        EnableWindow(app.backButton, FALSE);
        ShowWindow(app.aboutButton, SW_HIDE);
        ShowWindow(app.findButton, SW_SHOWNORMAL);
        ShowWindow(app.satelliteCombo, SW_SHOWNORMAL);
        invalidateClient();
    }
}

void onModeButton(WORD code) {
    if (app.noList == 1) {
        showMessage(app.mainWindow, kNoList);
        return;
    }
    if (code != 0) {
        return;
    }
    if (app.entryMode == MODE_LIST && app.step == STEP_FIRST_ENTRY) {
        app.entryMode = MODE_MANUAL;
        showManualEntryControls();
    } else if (app.entryMode == MODE_MANUAL && app.step == STEP_FIRST_ENTRY) {
        app.entryMode = MODE_LIST;
        ShowWindow(app.editBox, SW_HIDE);
        ShowWindow(app.upDown, SW_HIDE);
        ShowWindow(app.satelliteCombo, SW_SHOWNORMAL);
        SetWindowTextA(app.findButton, "FIND>");
        SetWindowTextA(app.modeButton, "MODE 0");
    }
    invalidateClient();
}
