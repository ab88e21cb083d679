// The simulated dish: every default satellite locks when the settings are right and none when
// a setting is wrong; the quality rises and falls over a sweep with its peak on the satellite;
// a seed repeats exactly.
#include "dish_model.h"
#include "sim_card.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using namespace vintorel::sim;

// The settings the program sends for a transponder (band rule of a universal/C-band LNB).
CardSettings programSettings(LONG mhz, LONG polarity, LONG rate) {
    CardSettings s;
    s.frequencyMHz = mhz;
    s.polarity = polarity;
    s.symbolRate = rate;
    s.lnbSelection = mhz > 11699 ? 1 : 0;
    s.lnbFrequency = mhz > 11699 ? 10600 : (mhz < 4201 ? 5150 : 9750);
    return s;
}

const DishMotion kSweep{3.0, 40.0};
constexpr double kOnSatellite = 10.0; // a quarter period: the pointing error is zero

struct DefaultEntry {
    LONG mhz, polarity, rate;
};

class DefaultEntryTest : public testing::TestWithParam<DefaultEntry> {};

TEST_P(DefaultEntryTest, LocksWhenTheDishPointsAtTheSatellite) {
    const DefaultEntry e = GetParam();
    std::mt19937 noise(1);
    const Reading r =
        measure(programSettings(e.mhz, e.polarity, e.rate), kSweep, kOnSatellite, noise);
    EXPECT_TRUE(r.locked);
    EXPECT_GE(r.quality, 40);
    EXPECT_LE(r.quality, 100);
    EXPECT_GT(r.snrDb, 8.0f);
    EXPECT_LT(r.snrDb, 20.0f);
}

INSTANTIATE_TEST_SUITE_P(List, DefaultEntryTest,
                         testing::Values(DefaultEntry{12515, 0, 22000},
                                         DefaultEntry{12360, 0, 26480},
                                         DefaultEntry{10723, 0, 29900},
                                         DefaultEntry{12465, 0, 10787},
                                         DefaultEntry{3875, 0, 27500}));

struct WrongSetting {
    const char *what;
    CardSettings settings;
};

CardSettings astraWith(void (*change)(CardSettings &)) {
    CardSettings s = programSettings(12515, 0, 22000);
    change(s);
    return s;
}

class WrongSettingTest : public testing::TestWithParam<WrongSetting> {};

TEST_P(WrongSettingTest, GivesNoLock) {
    std::mt19937 noise(1);
    EXPECT_FALSE(findTransponder(GetParam().settings).has_value());
    EXPECT_FALSE(measure(GetParam().settings, kSweep, kOnSatellite, noise).locked);
}

INSTANTIATE_TEST_SUITE_P(
    Settings, WrongSettingTest,
    testing::Values(
        WrongSetting{"band", astraWith([](CardSettings &s) { s.lnbSelection = 0; })},
        WrongSetting{"oscillator", astraWith([](CardSettings &s) { s.lnbFrequency = 9750; })},
        WrongSetting{"polarity", astraWith([](CardSettings &s) { s.polarity = 1; })},
        WrongSetting{"symbolRate", astraWith([](CardSettings &s) { s.symbolRate = 27500; })},
        WrongSetting{"symbolRateOffByThreePercent",
                     astraWith([](CardSettings &s) { s.symbolRate = 22660; })},
        WrongSetting{"frequencyOffBy10MHz",
                     astraWith([](CardSettings &s) { s.frequencyMHz = 12525; })},
        WrongSetting{"nothingThere", programSettings(12000, 0, 27500)},
        WrongSetting{"nothingSet", CardSettings{}}),
    [](const testing::TestParamInfo<WrongSetting> &row) { return row.param.what; });

TEST(DishModel, SmallErrorsStillLock) {
    CardSettings s = programSettings(12515, 0, 22000);
    s.frequencyMHz = 12518; // 3 MHz off, within a quarter of 22 MS/s
    s.symbolRate = 22100;   // within 2 %
    EXPECT_TRUE(findTransponder(s).has_value());
}

TEST(DishModel, QualityRisesAndFallsOverASweepWithItsPeakOnTheSatellite) {
    const CardSettings s = programSettings(12515, 0, 22000);
    std::vector<LONG> quality;
    int peakAt = -1;
    LONG peak = -1;
    for (int tenth = 0; tenth <= 200; ++tenth) { // half a period: far, on the satellite, far
        std::mt19937 noise(7);
        const Reading r = measure(s, kSweep, tenth / 10.0, noise);
        quality.push_back(r.quality);
        if (r.quality > peak) {
            peak = r.quality;
            peakAt = tenth;
        }
    }
    EXPECT_EQ(quality.front(), 0) << "far off the satellite at the start";
    EXPECT_EQ(quality.back(), 0) << "and far off on the other side";
    EXPECT_NEAR(peakAt, 100, 3) << "the peak is where the pointing error is zero";
    EXPECT_GT(peak, 50);
    for (int i = 1; i <= 100; ++i) {
        EXPECT_GE(quality[static_cast<size_t>(i)] + 3, quality[static_cast<size_t>(i - 1)])
            << "rising, up to noise";
    }
    for (int i = 101; i <= 200; ++i) {
        EXPECT_LE(quality[static_cast<size_t>(i)], quality[static_cast<size_t>(i - 1)] + 3)
            << "falling";
    }
}

TEST(DishModel, PointingLossFollowsTheBeam) {
    EXPECT_DOUBLE_EQ(pointingLossDb(0.0), 0.0);
    EXPECT_NEAR(pointingLossDb(kBeamWidthDeg / 2), 3.0, 1e-9)
        << "half power at half the beam width";
    EXPECT_NEAR(pointingErrorDeg(kSweep, 0.0), 3.0, 1e-9);
    EXPECT_NEAR(pointingErrorDeg(kSweep, 10.0), 0.0, 1e-9);
}

TEST(DishModel, AGivenSeedRepeatsExactly) {
    const CardSettings s = programSettings(10723, 0, 29900);
    auto run = [&](uint32_t seed) {
        std::mt19937 noise(seed);
        std::vector<float> snr;
        for (int i = 0; i < 50; ++i) {
            snr.push_back(measure(s, kSweep, 8.0 + i * 0.1, noise).snrDb);
        }
        return snr;
    };
    EXPECT_EQ(run(42), run(42));
    EXPECT_NE(run(42), run(43));
}

TEST(DishModel, TheCardMeasuresThroughTheModelWithItsClock) {
    double now = 0.0;
    SimOptions options;
    options.seed = 5;
    options.clock = [&now] { return now; };
    IBaseFilter *filter = nullptr;
    ASSERT_EQ(SimCard::create(options, IID_TunerBaseFilter, reinterpret_cast<void **>(&filter)),
              S_OK);
    TunerControl *tuner = nullptr;
    filter->QueryInterface(IID_TunerControl, reinterpret_cast<void **>(&tuner));
    tuner->setLnbSelection(1);
    tuner->setLnbFrequency(10600);
    tuner->setPolarity(0);
    tuner->setSymbolRate(22000);
    tuner->setTransponderFrequency(12515);
    EXPECT_EQ(tuner->applyTuning(), E_FAIL) << "the dish starts off the satellite";
    now = kOnSatellite;
    EXPECT_EQ(tuner->applyTuning(), S_OK);
    LONG quality = 0;
    FLOAT snr = 0;
    tuner->getQuality(&quality);
    tuner->getSnr(&snr);
    EXPECT_GT(quality, 50);
    EXPECT_GT(snr, 10.0f);
    tuner->Release();
    filter->Release();
}

} // namespace

namespace {

TEST(SimOptions, EnvironmentIsCheckedStrictly) {
    using vintorel::sim::optionsFromEnvironment;
    using vintorel::sim::SimOptions;
    struct Row {
        const char *seed;
        const char *sweep;
        bool ok;
    };
    const Row rows[] = {{"42", "20", true},      {"4294967295", nullptr, true},
                        {"-1", nullptr, false},  {"4294967296", nullptr, false},
                        {"12x", nullptr, false}, {nullptr, "0.5", false},
                        {nullptr, "abc", false}, {nullptr, "3601", false}};
    for (const Row &row : rows) {
        row.seed ? setenv("VINTOREL_SIM_SEED", row.seed, 1) : unsetenv("VINTOREL_SIM_SEED");
        row.sweep ? setenv("VINTOREL_SIM_SWEEP", row.sweep, 1) : unsetenv("VINTOREL_SIM_SWEEP");
        SimOptions options;
        testing::internal::CaptureStderr();
        EXPECT_EQ(optionsFromEnvironment(&options), row.ok)
            << (row.seed ? row.seed : "") << " " << (row.sweep ? row.sweep : "");
        testing::internal::GetCapturedStderr();
        if (row.ok && row.sweep) {
            EXPECT_DOUBLE_EQ(options.motion.periodSeconds, 20.0);
        }
    }
    unsetenv("VINTOREL_SIM_SEED");
    unsetenv("VINTOREL_SIM_SWEEP");
}

} // namespace
