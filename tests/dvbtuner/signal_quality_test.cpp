// The reading rules: the old SNR call's unit, the threshold table and its fallbacks, the
// margin-to-quality scale and the strength scale, all clamped to 0..100.
#include "components/dvbtuner/signal_quality.h"

#include <libdvbv5/dvb-frontend.h>

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace vintorel::dvb {
namespace {

TEST(LegacySnr, TheLargestLockedValueTellsTheUnit) {
    struct Case {
        uint64_t largest;
        LegacySnrUnit unit;
    };
    const Case cases[] = {
        {0, LegacySnrUnit::TenthDb},       {400, LegacySnrUnit::TenthDb},
        {401, LegacySnrUnit::Db256},       {10'240, LegacySnrUnit::Db256},
        {10'241, LegacySnrUnit::Relative}, {65'535, LegacySnrUnit::Relative},
    };
    for (const auto &c : cases) {
        EXPECT_EQ(legacySnrUnit(c.largest), c.unit) << c.largest;
    }
}

TEST(Threshold, TableAndFallbacks) {
    struct Case {
        uint32_t system, modulation, fec;
        double expected;
    };
    const Case cases[] = {
        {SYS_DVBS, QPSK, FEC_1_2, 4.1},        {SYS_DVBS, QPSK, FEC_2_3, 5.9},
        {SYS_DVBS, QPSK, FEC_3_4, 6.9},        {SYS_DVBS, QPSK, FEC_5_6, 7.9},
        {SYS_DVBS, QPSK, FEC_7_8, 8.4},        {SYS_DVBS, QPSK, FEC_AUTO, 6.9}, // unknown rate: 3/4
        {SYS_DVBS, QPSK, FEC_9_10, 6.9},                                        // not a DVB-S rate
        {SYS_DVBS2, QPSK, FEC_1_2, 1.00},      {SYS_DVBS2, QPSK, FEC_9_10, 6.42},
        {SYS_DVBS2, PSK_8, FEC_2_3, 6.62},     {SYS_DVBS2, PSK_8, FEC_9_10, 10.98},
        {SYS_DVBS2, APSK_16, FEC_3_4, 10.21},  {SYS_DVBS2, APSK_32, FEC_9_10, 16.05},
        {SYS_DVBS2, PSK_8, FEC_AUTO, 7.91},    // unknown rate: 3/4 of the modulation
        {SYS_DVBS2, QAM_AUTO, FEC_AUTO, 4.03}, // nothing known: QPSK 3/4
        {SYS_DVBS2, PSK_8, FEC_1_2, 7.91},     // no 8PSK 1/2 in DVB-S2
    };
    for (const auto &c : cases) {
        EXPECT_DOUBLE_EQ(qefThresholdDb(c.system, c.modulation, c.fec), c.expected)
            << "system " << c.system << " modulation " << c.modulation << " fec " << c.fec;
    }
}

TEST(Quality, MarginScaleIsClamped) {
    struct Case {
        double cnr, threshold;
        long expected;
    };
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const Case cases[] = {
        {6.9, 6.9, 0},   {5.0, 6.9, 0},   {11.9, 6.9, 50}, {16.9, 6.9, 100}, {40.0, 6.9, 100},
        {9.24, 6.9, 23}, {-30.0, 1.0, 0}, {nan, 6.9, 0},   {12.0, nan, 0},   {1e300, 6.9, 100},
    };
    for (const auto &c : cases) {
        EXPECT_EQ(std::lround(marginPercent(c.cnr, c.threshold)), c.expected)
            << c.cnr << " dB over " << c.threshold;
    }
}

TEST(Quality, StrengthScales) {
    struct Case {
        Stat stat;
        std::optional<double> expected;
    };
    const Case cases[] = {
        {{StatScale::Relative, 0, 0}, 0},
        {{StatScale::Relative, 0, 32'768}, 50.0008},
        {{StatScale::Relative, 0, 65'535}, 100},
        {{StatScale::Relative, 0, 900'000}, 100},
        {{StatScale::Decibel, -75'000, 0}, 0},
        {{StatScale::Decibel, -50'000, 0}, 50},
        {{StatScale::Decibel, -25'000, 0}, 100},
        {{StatScale::Decibel, -95'000, 0}, 0},
        {{StatScale::Decibel, 5'000, 0}, 100},
        {{StatScale::Counter, 0, 3}, std::nullopt},
        {{StatScale::NotAvailable, 0, 0}, std::nullopt},
    };
    for (const auto &c : cases) {
        const auto percent = strengthPercent(c.stat);
        ASSERT_EQ(percent.has_value(), c.expected.has_value());
        if (percent) {
            EXPECT_NEAR(*percent, *c.expected, 0.01);
        }
    }
}

} // namespace
} // namespace vintorel::dvb
