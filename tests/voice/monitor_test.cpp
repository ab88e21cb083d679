// The signal monitor in the running window: what a poll reads, writes, invalidates and sounds,
// the failed polls, the quality text for every width (and for readings beyond 0..100), and the
// S/N text for the values the four-character field can and cannot show.
#include "program_fixture.h"
#include "recording_sound.h"
#include "wave_writer.h"

#include "tuner/signal_monitor.h"

#include <cmath>
#include <limits>

namespace {

bool sameRect(const RECT &a, const RECT &b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

using Calls = std::vector<std::string>;

const bool g_silent = (voice_test::useNoOutputDevice(), true);

class MonitorTest : public ProgramTest {
  protected:
    void SetUp() override {
        ASSERT_TRUE(g_silent);
        ProgramTest::SetUp();
        ASSERT_NE(createWindow(), nullptr);
        ShowWindow(app.mainWindow, SW_SHOWNORMAL);
        pumpMessages();
        app.clipTone = &tone;
        settle();
    }
    void poll() { SendMessageA(app.mainWindow, WM_TIMER, POLL_TIMER, 0); }
    // Forgets what was invalidated and what the card was asked.
    void settle() {
        ValidateRect(app.mainWindow, nullptr);
        tuner->log.calls.clear();
    }
    bool invalidated(const RECT &expected) {
        RECT r{};
        return GetUpdateRect(app.mainWindow, &r, FALSE) && sameRect(r, expected);
    }
    bool nothingInvalidated() {
        RECT r{};
        return !GetUpdateRect(app.mainWindow, &r, FALSE);
    }
    std::string qualityBytes() const { return std::string(app.qualityText, 4); }
    std::string snr() const { return std::string(app.snrText, 8); }

    SoundLog log;
    RecordingBuffer tone{"tone", &log};
};

TEST_F(MonitorTest, SuccessfulPollReadsShowsAndSoundsTheTone) {
    ASSERT_FALSE(IsRectEmpty(&app.readoutRect));
    poll();
    EXPECT_EQ(tuner->log.calls,
              (Calls{"applyTuning", "refreshMeasurement", "getQuality", "getSnr"}));
    EXPECT_EQ(app.quality, 57);
    EXPECT_EQ(qualityBytes(), std::string("57\0\0", 4));
    EXPECT_EQ(app.snrValue, 7.534f);
    EXPECT_EQ(snr(), "s/n= .  ") << "the S/N text waits for the announcer";
    EXPECT_TRUE(invalidated(app.readoutRect));
    EXPECT_EQ(log.calls, (Calls{"Play tone"}));

    formatSnr();
    EXPECT_EQ(snr(), "s/n=7.53");

    app.voiceMode = 1;
    poll();
    EXPECT_EQ(tone.plays, 1) << "no tone in voice mode";
}

TEST_F(MonitorTest, FailedPollClearsTheReadoutOnce) {
    poll();
    formatSnr();
    settle();
    tuner->script.applyLocked = false;
    poll();
    EXPECT_EQ(tuner->log.calls, (Calls{"applyTuning"}));
    EXPECT_EQ(app.quality, 0);
    EXPECT_EQ(qualityBytes(), std::string("07\0\0", 4)) << "only the first character changes";
    EXPECT_EQ(snr(), "s/n=    ");
    EXPECT_EQ(app.snrValue, 7.534f) << "the last reading is kept for the next formatting";
    EXPECT_TRUE(invalidated(app.readoutRect));
    EXPECT_EQ(tone.plays, 1) << "no tone after a failed poll";

    settle();
    poll();
    EXPECT_EQ(qualityBytes(), std::string("07\0\0", 4));
    EXPECT_EQ(snr(), "s/n=    ");
    EXPECT_TRUE(nothingInvalidated());
    EXPECT_EQ(tone.plays, 1);

    formatSnr();
    EXPECT_EQ(snr(), "s/n=7.53") << "the last successful S/N comes back";
}

TEST_F(MonitorTest, FailedPollAtZeroChangesNothing) {
    tuner->script.applyLocked = false;
    poll();
    EXPECT_EQ(qualityBytes(), std::string("0  \0", 4));
    EXPECT_EQ(snr(), "s/n= .  ");
    EXPECT_TRUE(nothingInvalidated());
    EXPECT_EQ(tone.plays, 0);
}

TEST_F(MonitorTest, SuccessfulPollReportingZeroStillRepaintsAndSounds) {
    tuner->script.quality = 0;
    poll();
    EXPECT_EQ(app.quality, 0);
    EXPECT_EQ(qualityBytes(), std::string("0\0 \0", 4));
    EXPECT_TRUE(invalidated(app.readoutRect));
    EXPECT_EQ(tone.plays, 1);
}

TEST_F(MonitorTest, QualityTextFitsForEveryReading) {
    struct Case {
        LONG reported, shown;
        const char *text;
    };
    // Readings beyond 0..100 are held to that scale, so the text never needs a fifth byte.
    const Case cases[] = {
        {57, 57, "57"},    {100, 100, "100"}, {7, 7, "7"},
        {10, 10, "10"},    {99, 99, "99"},    {1, 1, "1"},
        {101, 100, "100"}, {250, 100, "100"}, {std::numeric_limits<LONG>::max(), 100, "100"},
        {-1, 0, "0"},      {-99, 0, "0"},     {std::numeric_limits<LONG>::min(), 0, "0"}};
    for (const Case &c : cases) {
        SCOPED_TRACE(c.reported);
        tuner->script.quality = c.reported;
        settle();
        poll();
        EXPECT_EQ(app.quality, c.shown);
        EXPECT_STREQ(app.qualityText, c.text);
        EXPECT_TRUE(invalidated(app.readoutRect));
    }
    tuner->script.quality = 100;
    poll();
    EXPECT_EQ(qualityBytes(), std::string("100\0", 4));
}

TEST_F(MonitorTest, OtherTimerIdsAreIgnored) {
    for (UINT_PTR id : {UINT_PTR{0}, UINT_PTR{115}, UINT_PTR{117}, UINT_PTR{123}, UINT_PTR{125}}) {
        SendMessageA(app.mainWindow, WM_TIMER, id, 0);
    }
    EXPECT_TRUE(tuner->log.calls.empty());
    EXPECT_TRUE(nothingInvalidated());
    EXPECT_EQ(app.announcePhase, 0);
    EXPECT_EQ(tone.plays, 0);
}

TEST_F(MonitorTest, SnrTextForEveryKindOfValue) {
    struct Case {
        float value;
        const char *number;
    };
    const float inf = std::numeric_limits<float>::infinity();
    const Case cases[] = {
        {7.534f, "7.53"},        {12.36f, "12.4"},        {10.0f, "10.0"},    {9.5f, "9.50"},
        {0.0f, "0.00"},          {99.94f, "99.9"},        {9.996f, "1.00"},   {0.5f, "5.00"},
        {9.9996f, "1.00"},       {100.0f, "10.0"},        {-3.2f, "3.20"},    {-0.0f, "0.00"},
        {1.125f, "1.13"},        {1.135f, "1.13"},        {2.675f, "2.67"},   {0.0625f, "6.25"},
        {99.95f, "99.9"},        {99.96f, "10.0"},        {12.35f, "12.4"},   {12.345f, "12.3"},
        {-45.67f, "4.57"},       {3.4028235e38f, "34.0"}, {1.0e-45f, "1.40"}, {1234.5f, "12.3"},
        {std::nanf(""), " .  "}, {inf, " .  "},           {-inf, " .  "}};
    for (const Case &c : cases) {
        SCOPED_TRACE(testing::Message() << "S/N " << c.value);
        app.snrValue = c.value;
        settle();
        formatSnr();
        EXPECT_EQ(snr(), std::string("s/n=") + c.number);
        EXPECT_TRUE(invalidated(app.snrRect));
    }
}

TEST_F(MonitorTest, SnrNumberKeepsTheRussianLabel) {
    const char russian[] = "\xF1/\xF8=";
    std::memcpy(app.snrText, russian, 4);
    app.snrValue = 7.534f;
    formatSnr();
    EXPECT_EQ(snr(), std::string(russian) + "7.53");
    EXPECT_EQ(app.snrText[8], '\0');
}

} // namespace
