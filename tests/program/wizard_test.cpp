// The search wizard: every transition of both entry modes with the state of every control
// after it, the range checks and their messages, the title line, and the tuning calls that a
// completed search sends to the card.
#include "program_fixture.h"
#include "recording_sound.h"

#include <cstring>
#include <functional>

namespace {

using Calls = std::vector<std::string>;

std::string textOf(HWND hwnd) {
    char text[80] = {};
    GetWindowTextA(hwnd, text, sizeof text);
    return text;
}

// What the visibility table says for one wizard state.
struct Expected {
    bool combo, edit, upDown, find, backEnabled, radios, measuring, modeEnabled;
    const char *findText, *modeText;
};

const Expected kMode0Step0{true, false, false, true, false, false, false, true, "FIND>", "MODE 0"};
const Expected kMode0Step3{false, false, false, false, true, false, true, false, "FIND>", "MODE 0"};
const Expected kMode1Step0{false, true, true, true, false, false, false, true, "NEXT>", "MODE 1"};
const Expected kMode1Step1{false, true, true, true, true, false, false, false, "NEXT>", "MODE 1"};
const Expected kMode1Step2{false, false, false, true, true, true, false, false, "NEXT>", "MODE 1"};
const Expected kMode1Step3{false, false, false, false, true, false, true, false, "NEXT>", "MODE 1"};

class WizardTest : public ProgramTest {
  protected:
    void start() {
        ASSERT_NE(createWindow(), nullptr);
        ShowWindow(app.mainWindow, SW_SHOWNORMAL);
        tuner->log.calls.clear();
    }
    void expectControls(const Expected &e, const char *where) {
        SCOPED_TRACE(where);
        if (app.satelliteCombo != nullptr) {
            EXPECT_EQ(IsWindowVisible(app.satelliteCombo) != 0, e.combo);
        }
        EXPECT_EQ(IsWindowVisible(app.editBox) != 0, e.edit);
        EXPECT_EQ(IsWindowVisible(app.upDown) != 0, e.upDown);
        EXPECT_EQ(IsWindowVisible(app.findButton) != 0, e.find);
        EXPECT_TRUE(IsWindowVisible(app.backButton));
        EXPECT_EQ(IsWindowEnabled(app.backButton) != 0, e.backEnabled);
        EXPECT_EQ(IsWindowVisible(app.horizontalRadio) != 0, e.radios);
        EXPECT_EQ(IsWindowVisible(app.verticalRadio) != 0, e.radios);
        EXPECT_EQ(IsWindowVisible(app.aboutButton) != 0, e.measuring);
        EXPECT_EQ(IsWindowVisible(app.soundStatic) != 0, e.measuring);
        EXPECT_TRUE(IsWindowVisible(app.modeButton));
        EXPECT_EQ(IsWindowEnabled(app.modeButton) != 0, e.modeEnabled);
        EXPECT_EQ(textOf(app.findButton), e.findText);
        EXPECT_EQ(textOf(app.modeButton), e.modeText);
        EXPECT_TRUE(IsWindowVisible(app.flagStatic));
    }
    void command(int id, WORD code = BN_CLICKED) {
        EXPECT_EQ(SendMessageA(app.mainWindow, WM_COMMAND, MAKEWPARAM(id, code),
                               reinterpret_cast<LPARAM>(GetDlgItem(app.mainWindow, id))),
                  0);
    }
    void next() { command(ID_FIND_BUTTON); }
    void back() { command(ID_BACK_BUTTON); }
    void mode(WORD code = BN_CLICKED) { command(ID_MODE_BUTTON, code); }
    void type(const char *text) { SetWindowTextA(app.editBox, text); }
    void choose(int index) { SendMessageA(app.satelliteCombo, CB_SETCURSEL, index, 0); }
    std::string title() const { return std::string(app.titleLine, sizeof app.titleLine); }
    bool timerArmed(UINT_PTR id) {
        // A timer exists when killing it succeeds; put it back as it was.
        if (!KillTimer(app.mainWindow, id)) {
            return false;
        }
        SetTimer(app.mainWindow, id, 600, nullptr);
        return true;
    }
    // Goes from "MODE 1" step 0 to step 3 with these values.
    void manualSearch(const char *frequency, const char *rate, bool vertical) {
        type(frequency);
        next();
        type(rate);
        next();
        SendMessageA(vertical ? app.verticalRadio : app.horizontalRadio, BM_CLICK, 0, 0);
        next();
    }
};

TEST_F(WizardTest, StartsInListModeWithTheListAndTheFocusOnTheEditBox) {
    start();
    EXPECT_EQ(app.entryMode, 0);
    EXPECT_EQ(app.noList, 0);
    expectControls(kMode0Step0, "start");
    EXPECT_EQ(GetFocus(), app.editBox);
    EXPECT_EQ(textOf(app.editBox), "12245");
    EXPECT_EQ(SendMessageA(app.horizontalRadio, BM_GETCHECK, 0, 0), BST_CHECKED);
    EXPECT_EQ(SendMessageA(app.editBox, EM_GETLIMITTEXT, 0, 0), 5);
    EXPECT_EQ(SendMessageA(app.satelliteCombo, CB_GETCOUNT, 0, 0), 4);
    EXPECT_EQ(SendMessageA(app.satelliteCombo, CB_GETCURSEL, 0, 0), CB_ERR);
}

TEST_F(WizardTest, ManualModeGoesThroughEveryStepAndBack) {
    start();
    mode();
    expectControls(kMode1Step0, "mode 1 step 0");
    manualSearch("12245", "27500", false);
    EXPECT_EQ(app.step, 3);
    expectControls(kMode1Step3, "mode 1 step 3");
    EXPECT_EQ(tuner->log.calls,
              (Calls{"setLnbSelection 1", "setLnbFrequency 10600", "setPolarity 0",
                     "setSymbolRate 27500", "setTransponderFrequency 12245"}));
    EXPECT_EQ(title(), "12245  H  27500");
    EXPECT_EQ(app.timersOn, 1);
    EXPECT_TRUE(timerArmed(POLL_TIMER));
    EXPECT_TRUE(timerArmed(ANNOUNCE_TIMER));

    back();
    EXPECT_EQ(app.step, 2);
    expectControls(kMode1Step2, "back to step 2");
    EXPECT_EQ(app.quality, 0);
    EXPECT_EQ(app.qualityText[0], '0');
    EXPECT_EQ(app.qualityText[1], '%');
    EXPECT_EQ(app.timersOn, 1);
    back();
    EXPECT_EQ(app.step, 1);
    expectControls(kMode1Step1, "back to step 1");
    EXPECT_EQ(textOf(app.editBox), "27500");
    back();
    EXPECT_EQ(app.step, 0);
    expectControls(kMode1Step0, "back to step 0");
    EXPECT_EQ(textOf(app.editBox), "12245");
    back(); // nothing at step 0
    EXPECT_EQ(app.step, 0);
    EXPECT_TRUE(boxes->shown().empty());
}

TEST_F(WizardTest, ListModeTunesTheChosenSatelliteAndGoesBackKeepingTheChoice) {
    start();
    choose(0);
    next();
    EXPECT_EQ(app.step, 3);
    expectControls(kMode0Step3, "list step 3");
    EXPECT_EQ(title(), "Astra 1B-1H,2C ");
    EXPECT_EQ(app.frequencyMHz, 12515);
    EXPECT_EQ(app.symbolRate, 22000);
    EXPECT_EQ(app.polarity, 0);
    EXPECT_EQ(tuner->log.calls,
              (Calls{"setLnbSelection 1", "setLnbFrequency 10600", "setPolarity 0",
                     "setSymbolRate 22000", "setTransponderFrequency 12515"}));
    next(); // the find button is hidden at step 3: nothing happens
    EXPECT_EQ(tuner->log.calls.size(), 5u);
    back();
    EXPECT_EQ(app.step, 0);
    expectControls(kMode0Step0, "list back");
    EXPECT_EQ(SendMessageA(app.satelliteCombo, CB_GETCURSEL, 0, 0), 0);
    choose(2);
    next();
    EXPECT_EQ(app.frequencyMHz, 10723);
    EXPECT_EQ(tuner->log.calls.back(), "setTransponderFrequency 10723");
}

TEST_F(WizardTest, ListModeWithNothingChosenSaysSo) {
    start();
    useNoDataFolder(); // the list is not read at all when nothing is chosen
    next();
    EXPECT_EQ(app.step, 0);
    EXPECT_EQ(app.entryMode, 0);
    ASSERT_EQ(boxes->shown().size(), 1u);
    EXPECT_EQ(boxes->shown()[0].text, "Please shoose the satellite!");
    EXPECT_EQ(boxes->shown()[0].caption, "Attention!");
    EXPECT_EQ(boxes->shown()[0].type, static_cast<UINT>(MB_OK));
    expectControls(kMode0Step0, "after the message");
}

struct RangeRow {
    const char *typed;
    bool accepted;
};

class FrequencyRangeTest : public WizardTest, public testing::WithParamInterface<RangeRow> {};

TEST_P(FrequencyRangeTest, IsCheckedWithBothBoundsIncluded) {
    start();
    mode();
    type(GetParam().typed);
    next();
    if (GetParam().accepted) {
        EXPECT_EQ(app.step, 1);
        EXPECT_TRUE(boxes->shown().empty());
        expectControls(kMode1Step1, "accepted");
    } else {
        EXPECT_EQ(app.step, 0);
        ASSERT_EQ(boxes->shown().size(), 1u);
        EXPECT_EQ(boxes->shown()[0].text,
                  "Please enter allowable transponder frequency a range 3400-4200 or 10700-15000 "
                  "Mhz ");
        EXPECT_EQ(boxes->shown()[0].caption, " Attention! ");
        EXPECT_EQ(boxes->shown()[0].type, static_cast<UINT>(MB_ICONWARNING | MB_OK));
        EXPECT_EQ(textOf(app.editBox), GetParam().typed) << "the typed text stays";
        expectControls(kMode1Step0, "refused");
    }
}

INSTANTIATE_TEST_SUITE_P(Bounds, FrequencyRangeTest,
                         testing::Values(RangeRow{"3399", false}, RangeRow{"3400", true},
                                         RangeRow{"4200", true}, RangeRow{"4201", false},
                                         RangeRow{"7000", false}, RangeRow{"10699", false},
                                         RangeRow{"10700", true}, RangeRow{"15000", true},
                                         RangeRow{"15001", false}, RangeRow{"", false},
                                         RangeRow{"0", false}));

class SymbolRateRangeTest : public WizardTest, public testing::WithParamInterface<RangeRow> {};

TEST_P(SymbolRateRangeTest, IsCheckedWithBothBoundsIncluded) {
    start();
    mode();
    type("12245");
    next();
    type(GetParam().typed);
    next();
    if (GetParam().accepted) {
        EXPECT_EQ(app.step, 2);
        expectControls(kMode1Step2, "accepted");
    } else {
        EXPECT_EQ(app.step, 1);
        ASSERT_EQ(boxes->shown().size(), 1u);
        EXPECT_EQ(boxes->shown()[0].text, "Please enter allowable symbol rate");
        EXPECT_EQ(boxes->shown()[0].caption, "Attention!");
        EXPECT_EQ(boxes->shown()[0].type, static_cast<UINT>(MB_ICONWARNING | MB_OK));
        expectControls(kMode1Step1, "refused");
    }
}

INSTANTIATE_TEST_SUITE_P(Bounds, SymbolRateRangeTest,
                         testing::Values(RangeRow{"999", false}, RangeRow{"1000", true},
                                         RangeRow{"45000", true}, RangeRow{"45001", false},
                                         RangeRow{"", false}));

// A refusal's message box is open while the wizard already stands on the next step.
int g_stepDuringMessage = -1;
int recordStep(void *, HWND, const char *, const char *, UINT) {
    g_stepDuringMessage = app.step;
    return IDOK;
}

TEST_F(WizardTest, TheStepIsAdvancedBeforeTheCheckAndRestoredAfterTheMessage) {
    start();
    mode();
    type("999");
    VintorelSetMessageBoxAnswerer(recordStep, nullptr);
    next();
    VintorelSetMessageBoxAnswerer(nullptr, nullptr);
    EXPECT_EQ(g_stepDuringMessage, 1);
    EXPECT_EQ(app.step, 0);
    EXPECT_EQ(app.frequencyMHz, 999) << "stored although refused";
}

TEST_F(WizardTest, SymbolRateLeftWithBackIsShownAgain) {
    start();
    mode();
    type("12245");
    next();
    type("777");
    back();
    EXPECT_EQ(textOf(app.editBox), "12245");
    LONG lower = 0;
    LONG upper = 0;
    SendMessageA(app.upDown, UDM_GETRANGE32, reinterpret_cast<WPARAM>(&lower),
                 reinterpret_cast<LPARAM>(&upper));
    EXPECT_EQ(lower, 3400);
    EXPECT_EQ(upper, 12700);
    next();
    EXPECT_EQ(textOf(app.editBox), "777");
    SendMessageA(app.upDown, UDM_GETRANGE32, reinterpret_cast<WPARAM>(&lower),
                 reinterpret_cast<LPARAM>(&upper));
    EXPECT_EQ(lower, 1000);
    EXPECT_EQ(upper, 45000);
}

TEST_F(WizardTest, TitleLinesOfTypedSearches) {
    start();
    mode();
    manualSearch("4200", "1000", true);
    EXPECT_EQ(title(), "4200   V  1000 ");
    EXPECT_EQ(app.polarity, 1);
    EXPECT_EQ(tuner->log.calls,
              (Calls{"setLnbSelection 0", "setLnbFrequency 9750", "setLnbFrequency 5150",
                     "setPolarity 1", "setSymbolRate 1000", "setTransponderFrequency 4200"}));
}

TEST_F(WizardTest, BackFromMeasuringInTheCompactViewRestoresTheNormalViewFirst) {
    start();
    choose(1);
    next();
    SendMessageA(app.mainWindow, WM_LBUTTONDBLCLK, 0, 0);
    ASSERT_EQ(app.compactView, 1);
    back();
    EXPECT_EQ(app.compactView, 0);
    EXPECT_FALSE(IsWindowVisible(app.aboutButton));
    expectControls(kMode0Step0, "after back");
    RECT client{};
    GetClientRect(app.mainWindow, &client);
    EXPECT_EQ(client.right, 334);
}

TEST_F(WizardTest, SearchAgainAfterBackTunesAgain) {
    start();
    mode();
    manualSearch("11700", "30000", true);
    back();
    SendMessageA(app.horizontalRadio, BM_CLICK, 0, 0);
    tuner->log.calls.clear();
    next();
    EXPECT_EQ(app.step, 3);
    EXPECT_EQ(tuner->log.calls,
              (Calls{"setLnbSelection 1", "setLnbFrequency 10600", "setPolarity 0",
                     "setSymbolRate 30000", "setTransponderFrequency 11700"}));
}

TEST_F(WizardTest, ModeButtonSwitchesBackAndForthAtStepZeroOnly) {
    start();
    mode();
    EXPECT_EQ(app.entryMode, 1);
    mode();
    EXPECT_EQ(app.entryMode, 0);
    expectControls(kMode0Step0, "back to list");
    mode(1); // other notifications do nothing
    EXPECT_EQ(app.entryMode, 0);
    EXPECT_TRUE(boxes->shown().empty());
}

TEST_F(WizardTest, WithoutAListModeZeroIsRefusedEveryTime) {
    useNoDataFolder();
    boxes->willAnswer(IDNO);
    start();
    EXPECT_EQ(app.noList, 1);
    EXPECT_EQ(app.entryMode, 1);
    EXPECT_EQ(app.satelliteCombo, nullptr);
    expectControls(kMode1Step0, "no list");
    for (WORD code : {WORD{0}, WORD{BN_SETFOCUS}}) {
        mode(code);
        EXPECT_EQ(app.entryMode, 1);
        EXPECT_EQ(boxes->shown().back().text,
                  "To get access to MODE 0, it is necessary to create satellite.ini");
        EXPECT_EQ(boxes->shown().back().caption, "Attention!");
        EXPECT_EQ(boxes->shown().back().type, static_cast<UINT>(MB_OK));
    }
    EXPECT_EQ(boxes->shown().size(), 3u); // the question and two refusals
}

TEST_F(WizardTest, EveryMessageInBothLanguagesWithItsCaption) {
    struct Row {
        const char *what;
        std::function<void()> prepare, trigger;
        const char *english, *englishCaption, *russian;
        UINT type;
    };
    const char *const kAttention = "\xC2\xED\xE8\xEC\xE0\xED\xE8\xE5!"; // "Внимание!"
    const Row rows[] = {
        {"nothing chosen", [] {}, [this] { next(); }, "Please shoose the satellite!", "Attention!",
         "\xCF\xEE\xE6\xE0\xEB\xF3\xE9\xF1\xF2\xE0 \xE2\xFB\xE1\xE5\xF0\xE8\xF2\xE5 "
         "\xF1\xEF\xF3\xF2\xED\xE8\xEA!",
         MB_OK},
        {"entry's frequency", [this] { useList("[a]=3399h27500;"); },
         [this] {
             choose(0);
             next();
         },
         "Invalid parameter of transponder frequency in satellite.ini", " Attention! ",
         "\xCD\xE5\xE4\xEE\xEF\xF3\xF1\xF2\xE8\xEC\xFB\xE9 \xEF\xE0\xF0\xE0\xEC\xE5\xF2\xF0 "
         "\xF7\xE0\xF1\xF2\xEE\xF2\xFB \xF2\xF0\xE0\xED\xF1\xEF\xEE\xED\xE4\xE5\xF0\xE0 \xE2 "
         "\xF4\xE0\xE9\xEB\xE5 satellite.ini",
         MB_ICONWARNING | MB_OK},
        {"entry's symbol rate", [this] { useList("[a]=12000h999;"); },
         [this] {
             choose(0);
             next();
         },
         "Invalid parameter of symbol rate in satellite.ini", "Attention!",
         "\xCD\xE5\xE4\xEE\xEF\xF3\xF1\xF2\xE8\xEC\xFB\xE9 \xEF\xE0\xF0\xE0\xEC\xE5\xF2\xF0 "
         "\xF1\xE8\xEC\xE2\xEE\xEB\xFC\xED\xEE\xE9 \xF1\xEA\xEE\xF0\xEE\xF1\xF2\xE8 \xE2 "
         "\xF4\xE0\xE9\xEB\xE5 satellite.ini",
         MB_ICONWARNING | MB_OK},
        {"typed frequency", [] {},
         [this] {
             mode();
             type("999");
             next();
         },
         "Please enter allowable transponder frequency a range 3400-4200 or 10700-15000 Mhz ",
         " Attention! ",
         "\xCF\xEE\xE6\xE0\xEB\xF3\xE9\xF1\xF2\xE0 \xE2\xE2\xE5\xE4\xE8\xF2\xE5 "
         "\xE4\xEE\xEF\xF3\xF1\xF2\xE8\xEC\xF3\xFE \xF7\xE0\xF1\xF2\xEE\xF2\xF3 "
         "\xF2\xF0\xE0\xED\xF1\xEF\xEE\xED\xE4\xE5\xF0\xE0 \xE8\xE7 "
         "\xE4\xE8\xE0\xEF\xE0\xE7\xEE\xED\xE0 3400-4200 \xE8\xEB\xE8 10700-15000 Mhz",
         MB_ICONWARNING | MB_OK},
        {"typed symbol rate", [] {},
         [this] {
             mode();
             type("12245");
             next();
             type("999");
             next();
         },
         "Please enter allowable symbol rate", "Attention!",
         "\xCF\xEE\xE6\xE0\xEB\xF3\xE9\xF1\xF2\xE0 \xE2\xE2\xE5\xE4\xE8\xF2\xE5 "
         "\xE4\xEE\xEF\xF3\xF1\xF2\xE8\xEC\xF3\xFE \xF1\xE8\xEC\xE2\xEE\xEB\xFC\xED\xF3\xFE "
         "\xF1\xEA\xEE\xF0\xEE\xF1\xF2\xFC",
         MB_ICONWARNING | MB_OK},
        {"MODE 0 unavailable",
         [this] {
             useNoDataFolder();
             boxes->willAnswer(IDNO);
         },
         [this] { mode(); }, "To get access to MODE 0, it is necessary to create satellite.ini",
         "Attention!",
         "\xD7\xF2\xEE\xE1\xFB \xEF\xEE\xEB\xF3\xF7\xE8\xF2\xFC \xE4\xEE\xF1\xF2\xF3\xEF "
         "\xEA MODE 0, \xED\xE5\xEE\xE1\xF5\xEE\xE4\xE8\xEC\xEE \xF1\xEE\xE7\xE4\xE0\xF2\xFC "
         "\xF4\xE0\xE8\xEB satellite.ini",
         MB_OK},
    };
    for (const Row &row : rows) {
        for (const SHORT language : {SHORT{1}, SHORT{0}}) {
            SCOPED_TRACE(testing::Message() << row.what << (language == 0 ? " in Russian" : ""));
            if (IsWindow(app.mainWindow)) {
                DestroyWindow(app.mainWindow);
            }
            pumpMessages();
            app = AppState{};
            boxes.reset();
            boxes = std::make_unique<MessageBoxes>();
            useList(kDefaultListBytes);
            row.prepare();
            start();
            app.language = language;
            const size_t before = boxes->shown().size();
            row.trigger();
            ASSERT_EQ(boxes->shown().size(), before + 1);
            const MessageBoxRecord &box = boxes->shown().back();
            EXPECT_EQ(box.owner, app.mainWindow);
            EXPECT_EQ(box.text, language == 0 ? row.russian : row.english);
            EXPECT_EQ(box.caption, language == 0 ? kAttention : row.englishCaption);
            EXPECT_EQ(box.type, row.type);
        }
    }
}

// Runs the message loop, timers and all, for this long.
void CALLBACK endLoop(HWND, UINT, UINT_PTR id, DWORD) {
    KillTimer(nullptr, id);
    PostQuitMessage(0);
}
void runLoopFor(UINT milliseconds) {
    SetTimer(nullptr, 0, milliseconds, endLoop);
    MSG msg{};
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

TEST_F(WizardTest, BackSilencesTheFeedbackAndThePolls) {
    start();
    SoundLog sounds;
    std::vector<std::unique_ptr<RecordingBuffer>> clips;
    IDirectSoundBuffer **slots[21] = {&app.clipTone};
    for (int d = 0; d < 10; ++d) {
        slots[1 + d] = &app.clipEn[d];
        slots[11 + d] = &app.clipRu[d];
    }
    IDirectSoundBuffer *kept[21] = {};
    for (int i = 0; i < 21; ++i) {
        kept[i] = *slots[i];
        clips.push_back(std::make_unique<RecordingBuffer>(std::to_string(i), &sounds));
        *slots[i] = clips.back().get();
    }
    for (const BYTE voiceMode : {BYTE{0}, BYTE{1}}) {
        SCOPED_TRACE(static_cast<int>(voiceMode));
        app.voiceMode = voiceMode;
        choose(1);
        next();
        ASSERT_EQ(app.step, 3);
        app.announcePhase = 0; // a digit is spoken at the next tick
        runLoopFor(700);
        EXPECT_FALSE(sounds.calls.empty()) << "measuring sounds";
        back();
        sounds.calls.clear();
        tuner->log.calls.clear();
        runLoopFor(1300); // two measuring intervals
        EXPECT_TRUE(sounds.calls.empty());
        EXPECT_TRUE(tuner->log.calls.empty());
    }
    for (int i = 0; i < 21; ++i) {
        *slots[i] = kept[i];
    }
}

TEST_F(WizardTest, FailedTuningEndsTheProgramAndStartsNoTimer) {
    tuner->script.statuses["setPolarity"] = E_FAIL;
    start();
    choose(0);
    next();
    EXPECT_FALSE(IsWindow(app.mainWindow));
    EXPECT_EQ(boxes->shown().back().text, "Set polarity failed");
    EXPECT_EQ(app.timersOn, 1);
    MSG msg{};
    EXPECT_FALSE(PeekMessageA(&msg, nullptr, WM_TIMER, WM_TIMER, PM_NOREMOVE));
}

} // namespace
