// The voice announcer in the running window, tick by tick: which clip each phase starts for
// each language, quality and step, the tone mode, and changes between the two digits.
#include "program_fixture.h"
#include "recording_sound.h"
#include "wave_writer.h"

#include <cstdio>
#include <cstring>
#include <limits>

namespace {

bool sameRect(const RECT &a, const RECT &b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

using Ticks = std::vector<std::string>;

const bool g_silent = (voice_test::useNoOutputDevice(), true);

class AnnouncerTest : public ProgramTest {
  protected:
    void SetUp() override {
        ASSERT_TRUE(g_silent);
        ProgramTest::SetUp();
        ASSERT_NE(createWindow(), nullptr);
        ShowWindow(app.mainWindow, SW_SHOWNORMAL); // a hidden window collects no update region
        for (int d = 0; d < 10; ++d) {
            ru.push_back(std::make_unique<RecordingBuffer>(std::to_string(d) + "ru", &log));
            en.push_back(std::make_unique<RecordingBuffer>(std::to_string(d) + "en", &log));
            app.clipRu[d] = ru.back().get();
            app.clipEn[d] = en.back().get();
        }
        app.clipTone = &tone;
        app.step = 3;
        app.voiceMode = 1;
    }
    // What the program read from the card: quality and its text, as a poll leaves them.
    void reading(LONG quality) {
        app.quality = quality;
        char text[16] = {};
        std::snprintf(text, sizeof text, "%ld", static_cast<long>(quality));
        std::memcpy(app.qualityText, text, sizeof app.qualityText); // the tests keep to 0..100
    }
    // The sounds started by each of the next n announce ticks ("" for a silent tick).
    Ticks ticks(int n) {
        Ticks out;
        for (int i = 0; i < n; ++i) {
            log.calls.clear();
            SendMessageA(app.mainWindow, WM_TIMER, ANNOUNCE_TIMER, 0);
            std::string sounds;
            for (const std::string &call : log.calls) {
                sounds += (sounds.empty() ? "" : ",") + call.substr(call.find(' ') + 1);
            }
            out.push_back(sounds);
        }
        return out;
    }

    SoundLog log;
    std::vector<std::unique_ptr<RecordingBuffer>> ru, en;
    RecordingBuffer tone{"tone", &log};
};

struct CycleCase {
    const char *name;
    SHORT language;
    BYTE voiceMode;
    SHORT step;
    LONG quality;
    Ticks cycle; // one cycle of four ticks, from phase 0
};

class AnnouncerCycleTest : public AnnouncerTest, public testing::WithParamInterface<CycleCase> {};

TEST_P(AnnouncerCycleTest, SpeaksTheLeadingDigits) {
    const CycleCase &c = GetParam();
    app.language = c.language;
    app.voiceMode = c.voiceMode;
    app.step = c.step;
    reading(c.quality);
    Ticks twoCycles = c.cycle;
    twoCycles.insert(twoCycles.end(), c.cycle.begin(), c.cycle.end());
    EXPECT_EQ(ticks(8), twoCycles);
    EXPECT_EQ(app.announcePhase, 0);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, AnnouncerCycleTest,
    testing::Values(CycleCase{"English57", 1, 1, 3, 57, {"5en", "7en", "", ""}},
                    CycleCase{"Russian57", 0, 1, 3, 57, {"5ru", "7ru", "", ""}},
                    CycleCase{"AnyNonZeroLanguageIsEnglish", 2, 1, 3, 57, {"5en", "7en", "", ""}},
                    CycleCase{"ThirtyMeasuring", 1, 1, 3, 30, {"3en", "0en", "", ""}},
                    CycleCase{"ThirtyAtAnotherStep", 1, 1, 1, 30, {"3en", "", "", ""}},
                    CycleCase{"HundredMeasuring", 0, 1, 3, 100, {"1ru", "0ru", "", ""}},
                    CycleCase{"HundredAtAnotherStep", 1, 1, 2, 100, {"1en", "", "", ""}},
                    CycleCase{"SingleDigit", 1, 1, 3, 7, {"7en", "", "", ""}},
                    CycleCase{"FiftyFive", 1, 1, 3, 55, {"5en", "5en", "", ""}},
                    CycleCase{"ZeroIsSilent", 1, 1, 3, 0, {"", "", "", ""}},
                    CycleCase{"ToneModeSpeaksNothing", 1, 0, 3, 57, {"", "", "", ""}}),
    [](const testing::TestParamInfo<CycleCase> &param) { return param.param.name; });

TEST_F(AnnouncerTest, SnrTextIsRefreshedAtTheLastPhaseInEitherMode) {
    for (BYTE mode : {BYTE{0}, BYTE{1}}) {
        SCOPED_TRACE(static_cast<int>(mode));
        app.voiceMode = mode;
        reading(57);
        std::memcpy(app.snrText + 4, " .  ", 4);
        app.snrValue = 7.534f;
        ticks(3);
        EXPECT_EQ(std::string(app.snrText, 8), "s/n= .  ");
        ValidateRect(app.mainWindow, nullptr);
        ticks(1);
        EXPECT_EQ(std::string(app.snrText, 8), "s/n=7.53");
        RECT r{};
        EXPECT_TRUE(GetUpdateRect(app.mainWindow, &r, FALSE));
        EXPECT_TRUE(sameRect(r, app.snrRect));
    }
    app.quality = 0;
    app.snrValue = 12.36f;
    ticks(4);
    EXPECT_EQ(std::string(app.snrText, 8), "s/n=12.4") << "whatever the quality";
}

TEST_F(AnnouncerTest, LanguageSwitchBetweenTheDigits) {
    reading(57);
    EXPECT_EQ(ticks(1), Ticks{"5en"});
    app.language = 0;
    EXPECT_EQ(ticks(1), Ticks{"7ru"});
}

TEST_F(AnnouncerTest, BothDigitsComeFromTheFirstTicksReading) {
    reading(57);
    EXPECT_EQ(ticks(1), Ticks{"5en"});
    reading(42);
    EXPECT_EQ(ticks(4), (Ticks{"7en", "", "", "4en"}));
    EXPECT_EQ(app.currentDigit, '4');
    EXPECT_EQ(app.pendingDigit, '2');
}

TEST_F(AnnouncerTest, FallToZeroSilencesTheSecondDigit) {
    reading(57);
    EXPECT_EQ(ticks(1), Ticks{"5en"});
    app.quality = 0; // a failed poll
    app.qualityText[0] = '0';
    EXPECT_EQ(ticks(4), (Ticks{"", "", "", ""}));
    EXPECT_EQ(app.pendingDigit, '7') << "kept until a phase-0 tick speaks again";
}

TEST_F(AnnouncerTest, EmptyClipIsSilentAndNothingElseChanges) {
    app.clipEn[7] = nullptr;
    reading(57);
    EXPECT_EQ(ticks(4), (Ticks{"5en", "", "", ""}));
    EXPECT_EQ(app.currentDigit, '7');
}

TEST_F(AnnouncerTest, PhaseAndSavedDigitCarryOverToTheNextSearch) {
    app.announcePhase = 1;
    app.pendingDigit = '4';
    reading(57);
    EXPECT_EQ(ticks(4), (Ticks{"4en", "", "", "5en"}));
}

TEST_F(AnnouncerTest, ToneFollowsEverySuccessfulPollInToneModeOnly) {
    app.voiceMode = 0;
    tuner->script.quality = 0;
    SendMessageA(app.mainWindow, WM_TIMER, POLL_TIMER, 0);
    SendMessageA(app.mainWindow, WM_TIMER, POLL_TIMER, 0);
    EXPECT_EQ(tone.plays, 2);
    app.voiceMode = 1;
    SendMessageA(app.mainWindow, WM_TIMER, POLL_TIMER, 0);
    EXPECT_EQ(tone.plays, 2);
}

} // namespace
