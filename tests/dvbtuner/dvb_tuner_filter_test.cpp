// The DVB tuner filter driven as the program drives it, through libdvbv5's real code, against
// fake frontends that record what would reach the device.
#include "components/dvbtuner/dvb_tuner_filter.h"
#include "tests/dvbtuner/fake_dvb_device.h"
#include "tests/dvbtuner/program_calls.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <memory>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace vintorel::dvb {
namespace {

using test::FakeDvb;
using test::FakeFrontend;
using test::search;
using namespace std::chrono_literals;

using test::FilterPtr;

class DvbFilter : public ::testing::Test {
  protected:
    void SetUp() override {
        FakeDvb::instance().reset();
        device_ = &FakeDvb::instance().add(0, 0);
    }
    void TearDown() override { FakeDvb::instance().reset(); }

    FilterPtr make(FrontendAddress address = {}) {
        return FilterPtr(new DvbTunerFilter(
            address, [this] { return now_; },
            [this](const std::string &line) { messages_.push_back(line); }));
    }
    FilterPtr opened() {
        auto filter = make();
        EXPECT_EQ(filter->initialize(), S_OK);
        EXPECT_EQ(filter->setFec(6), S_OK);
        EXPECT_EQ(filter->setDiseqc(0), S_OK);
        return filter;
    }
    void advance(std::chrono::milliseconds step) { now_ += step; }

    FakeFrontend *device_ = nullptr;
    std::chrono::steady_clock::time_point now_{};
    std::vector<std::string> messages_;
};

// --- What reaches the card for each row of the program's band table -----------------------

struct BandRow {
    LONG mhz;
    LONG polarity;
    uint32_t ifKHz;
    int voltage;
    int tone;
};

class BandTable : public DvbFilter, public ::testing::WithParamInterface<BandRow> {};

TEST_P(BandTable, IntermediateFrequencyVoltageAndTone) {
    const BandRow row = GetParam();
    auto filter = opened();
    ASSERT_EQ(search(*filter, row.mhz, row.polarity, 22000), S_OK);
    EXPECT_TRUE(SUCCEEDED(filter->applyTuning()));
    ASSERT_EQ(device_->tunes.size(), 1u);
    EXPECT_EQ(device_->lastTuned(DTV_FREQUENCY), row.ifKHz);
    EXPECT_EQ(device_->lastTuned(DTV_SYMBOL_RATE), 22'000'000u);
    EXPECT_EQ(device_->lastTuned(DTV_DELIVERY_SYSTEM), static_cast<uint32_t>(SYS_DVBS));
    EXPECT_EQ(device_->lastTuned(DTV_INNER_FEC), static_cast<uint32_t>(FEC_AUTO));
    EXPECT_EQ(device_->lastTuned(DTV_INVERSION), static_cast<uint32_t>(INVERSION_AUTO));
    EXPECT_EQ(device_->lastVoltage(), row.voltage);
    EXPECT_EQ(device_->lastTone(), row.tone);
    EXPECT_TRUE(device_->diseqc.empty());
}

std::vector<BandRow> bandRows() {
    struct Row {
        LONG mhz;
        uint32_t ifKHz;
        int tone;
    };
    const Row rows[] = {
        {3400, 1'750'000, SEC_TONE_OFF}, // C band: 9750 then 5150, inverted spectrum
        {3800, 1'350'000, SEC_TONE_OFF},
        {4200, 950'000, SEC_TONE_OFF},    // last C-band row, lowest IF
        {10700, 950'000, SEC_TONE_OFF},   // Ku low band
        {11699, 1'949'000, SEC_TONE_OFF}, // last low-band row
        {11700, 1'100'000, SEC_TONE_ON},  // first high-band row
        {12750, 2'150'000, SEC_TONE_ON},  // highest IF
    };
    std::vector<BandRow> out;
    for (const Row &r : rows) {
        out.push_back({r.mhz, 0, r.ifKHz, SEC_VOLTAGE_18, r.tone});
        out.push_back({r.mhz, 1, r.ifKHz, SEC_VOLTAGE_13, r.tone});
    }
    return out;
}

std::string rowName(const ::testing::TestParamInfo<BandRow> &row) {
    return std::to_string(row.param.mhz) + (row.param.polarity == 0 ? "H" : "V");
}

INSTANTIATE_TEST_SUITE_P(Rows, BandTable, ::testing::ValuesIn(bandRows()), rowName);

// --- Values the card cannot reach, values no card can take ---------------------------------

TEST_F(DvbFilter, ValuesTheCardCannotReachLeaveItUntunedAndAreToldOnce) {
    device_->symbolRateMin = 2'000'000;
    device_->symbolRateMax = 30'000'000;
    struct Case {
        LONG mhz, ks;
        const char *told;
    };
    const Case cases[] = {
        {12751, 27500,
         "12751 MHz with the 10600 MHz oscillator is 2151 MHz at the card, "
         "outside its range of 950..2150 MHz: not tuned"},
        {15000, 27500, "4400 MHz at the card"},
        {10699, 27500, "949 MHz at the card"},
        {4201, 27500, "5549 MHz at the card"}, // above C band: the Ku oscillator stays
        {11000, 45000, "45000 kS/s is outside the card's symbol rates of 2000..30000 kS/s"},
        {11000, 1000, "1000 kS/s is outside"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.mhz);
        messages_.clear();
        auto filter = opened();
        ASSERT_EQ(search(*filter, c.mhz, 0, c.ks), S_OK); // no setter fails: the program goes on
        for (int i = 0; i < 3; ++i) {
            EXPECT_TRUE(FAILED(filter->applyTuning()));
            advance(600ms);
        }
        EXPECT_TRUE(device_->tunes.empty());
        ASSERT_EQ(messages_.size(), 1u);
        EXPECT_NE(messages_.front().find(c.told), std::string::npos) << messages_.front();
        // A reachable transponder afterwards tunes.
        ASSERT_EQ(search(*filter, 11000, 0), S_OK);
        EXPECT_EQ(filter->applyTuning(), S_OK);
        EXPECT_EQ(device_->tunes.size(), 1u);
        filter.reset();
        SetUp();
        device_->symbolRateMin = 2'000'000;
        device_->symbolRateMax = 30'000'000;
    }
}

TEST_F(DvbFilter, ValuesNoCardCanTakeAreRefused) {
    auto filter = opened();
    struct Case {
        const char *what;
        HRESULT (DvbTunerFilter::*set)(LONG);
        LONG value;
    };
    const Case refused[] = {
        {"polarity", &DvbTunerFilter::setPolarity, 2},
        {"polarity", &DvbTunerFilter::setPolarity, -1},
        {"band", &DvbTunerFilter::setLnbSelection, 2},
        {"band", &DvbTunerFilter::setLnbSelection, -1},
        {"symbol rate", &DvbTunerFilter::setSymbolRate, 0},
        {"symbol rate", &DvbTunerFilter::setSymbolRate, -27500},
        {"symbol rate", &DvbTunerFilter::setSymbolRate, 1'000'001},
        {"fec", &DvbTunerFilter::setFec, 0},
        {"fec", &DvbTunerFilter::setFec, 7},
        {"diseqc", &DvbTunerFilter::setDiseqc, -1},
        {"diseqc", &DvbTunerFilter::setDiseqc, 5},
        {"oscillator", &DvbTunerFilter::setLnbFrequency, 0},
        {"oscillator", &DvbTunerFilter::setLnbFrequency, -9750},
        {"frequency", &DvbTunerFilter::setTransponderFrequency, 0},
        {"frequency", &DvbTunerFilter::setTransponderFrequency, -11000},
    };
    for (const auto &c : refused) {
        EXPECT_EQ(((*filter).*(c.set))(c.value), E_INVALIDARG) << c.what << " " << c.value;
    }
    const Case accepted[] = {
        {"symbol rate", &DvbTunerFilter::setSymbolRate, 999},
        {"symbol rate", &DvbTunerFilter::setSymbolRate, 45001},
        {"frequency", &DvbTunerFilter::setTransponderFrequency, 15000},
        {"fec", &DvbTunerFilter::setFec, 1},
        {"diseqc", &DvbTunerFilter::setDiseqc, 4},
    };
    for (const auto &c : accepted) {
        EXPECT_EQ(((*filter).*(c.set))(c.value), S_OK) << c.what << " " << c.value;
    }
    EXPECT_TRUE(messages_.empty());
}

TEST_F(DvbFilter, NullOutPointers) {
    auto filter = opened();
    EXPECT_EQ(filter->getSnr(nullptr), E_POINTER);
    EXPECT_EQ(filter->getQuality(nullptr), E_POINTER);
}

// --- When the card is tuned ------------------------------------------------------------------

TEST_F(DvbFilter, TunesOnlyWhenSomethingChanged) {
    auto filter = opened();
    ASSERT_EQ(search(*filter, 11000, 0), S_OK);
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(filter->applyTuning(), S_OK);
        advance(600ms);
    }
    EXPECT_EQ(device_->tunes.size(), 1u);
    EXPECT_EQ(device_->voltages.size(), 1u);

    // The same transponder searched again: nothing to do.
    ASSERT_EQ(search(*filter, 11000, 0), S_OK);
    EXPECT_EQ(filter->applyTuning(), S_OK);
    EXPECT_EQ(device_->tunes.size(), 1u);

    // Another polarity: retuned with the other voltage.
    ASSERT_EQ(search(*filter, 11000, 1), S_OK);
    EXPECT_EQ(filter->applyTuning(), S_OK);
    EXPECT_EQ(device_->tunes.size(), 2u);
    EXPECT_EQ(device_->lastVoltage(), SEC_VOLTAGE_13);

    // Another frequency in the same band and polarity: retuned, the LNB left alone.
    const auto voltagesBefore = device_->voltages.size();
    const auto tonesBefore = device_->tones.size();
    ASSERT_EQ(search(*filter, 11100, 1), S_OK);
    EXPECT_EQ(filter->applyTuning(), S_OK);
    EXPECT_EQ(device_->tunes.size(), 3u);
    EXPECT_EQ(device_->lastTuned(DTV_FREQUENCY), 1'350'000u);
    EXPECT_EQ(device_->voltages.size(), voltagesBefore);
    EXPECT_EQ(device_->tones.size(), tonesBefore);

    // Another symbol rate alone is a change too.
    ASSERT_EQ(filter->setSymbolRate(22000), S_OK);
    EXPECT_EQ(filter->applyTuning(), S_OK);
    EXPECT_EQ(device_->tunes.size(), 4u);
    EXPECT_EQ(device_->lastTuned(DTV_SYMBOL_RATE), 22'000'000u);
}

// What each tune asked for: the delivery system and, for DVB-S2, the modulation.
using Attempt = std::pair<uint32_t, uint32_t>;
std::vector<Attempt> attemptsOf(const FakeFrontend &device) {
    std::vector<Attempt> out;
    for (const auto &tune : device.tunes) {
        const uint32_t system = tune.at(DTV_DELIVERY_SYSTEM);
        out.emplace_back(system, system == SYS_DVBS2 ? tune.at(DTV_MODULATION) : 0u);
    }
    return out;
}

TEST_F(DvbFilter, AcquisitionAttemptsTakeTurnsUntilOneLocks) {
    const Attempt s{SYS_DVBS, 0}, s2Auto{SYS_DVBS2, QAM_AUTO}, s2Qpsk{SYS_DVBS2, QPSK},
        s2Psk8{SYS_DVBS2, PSK_8};
    struct Case {
        const char *what;
        std::vector<uint32_t> systems;
        std::set<uint32_t> locking;
        uint32_t carrier;
        bool detectsModulation, refusesAuto;
        std::vector<Attempt> expected;
    };
    const std::vector<uint32_t> both{SYS_DVBS, SYS_DVBS2};
    const Case cases[] = {
        {"DVB-S", both, {SYS_DVBS}, QPSK, true, false, {s}},
        {"DVB-S2, modulation found by the card",
         both,
         {SYS_DVBS2},
         PSK_8,
         true,
         false,
         {s, s2Auto}},
        {"8PSK, a card that takes QAM_AUTO but needs to be told",
         both,
         {SYS_DVBS2},
         PSK_8,
         false,
         false,
         {s, s2Auto, s, s2Qpsk, s, s2Psk8}},
        {"8PSK, a card that refuses QAM_AUTO",
         both,
         {SYS_DVBS2},
         PSK_8,
         false,
         true,
         {s, s2Qpsk, s, s2Psk8}},
        {"nothing locks",
         both,
         {},
         QPSK,
         true,
         false,
         {s, s2Auto, s, s2Qpsk, s, s2Psk8, s, s2Auto}},
        {"a DVB-S card", {SYS_DVBS}, {}, QPSK, true, false, {s}},
        {"a DVB-S2 card, QPSK to be told",
         {SYS_DVBS2},
         {SYS_DVBS2},
         QPSK,
         false,
         false,
         {s2Auto, s2Qpsk}},
    };
    const auto window = lockWindow(27'500'000);
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        SetUp();
        device_->systems = c.systems;
        device_->lockingSystems = c.locking;
        device_->lockedModulation = c.carrier;
        device_->detectsModulation = c.detectsModulation;
        device_->refusesAutoModulation = c.refusesAuto;
        auto filter = opened();
        ASSERT_EQ(search(*filter, 11000, 0), S_OK);
        HRESULT hr = E_FAIL;
        auto lastTuneAt = now_;
        std::size_t tunes = 0;
        for (int i = 0; i < 40 && hr != S_OK; ++i) { // 24 s at the program's pace
            hr = filter->applyTuning();
            if (device_->tunes.size() != tunes) {
                if (tunes != 0) { // each attempt has its whole window, and not much more
                    EXPECT_GE(now_ - lastTuneAt, window);
                    EXPECT_LT(now_ - lastTuneAt, window + 600ms);
                }
                tunes = device_->tunes.size();
                lastTuneAt = now_;
            }
            advance(600ms);
        }
        const std::vector<Attempt> tried = attemptsOf(*device_);
        EXPECT_EQ(tried, c.expected);
        EXPECT_EQ(hr == S_OK, !c.locking.empty());
        // Once locked, the attempt is kept although the lock goes while the dish moves.
        device_->signalPresent = false;
        for (int i = 0; i < 10 && hr == S_OK; ++i) {
            EXPECT_TRUE(FAILED(filter->applyTuning()));
            advance(600ms);
        }
        EXPECT_EQ(attemptsOf(*device_).size(), tried.size());
    }
}

TEST_F(DvbFilter, LowSymbolRatesGetALongerWindow) {
    device_->lockingSystems = {};
    for (const auto &[ks, window] : {std::pair{27500, 2600ms}, std::pair{1000, 5000ms}}) {
        SCOPED_TRACE(ks);
        SetUp();
        device_->lockingSystems = {};
        auto filter = opened();
        ASSERT_EQ(search(*filter, 11000, 0, ks), S_OK);
        const auto start = now_;
        while (device_->tunes.size() < 2 && now_ - start < 20s) {
            filter->applyTuning();
            advance(100ms);
        }
        EXPECT_EQ(now_ - start, window + 100ms);
    }
}

TEST_F(DvbFilter, DiseqcSwitchCommandIsSentBeforeTheTone) {
    auto filter = make();
    ASSERT_EQ(filter->initialize(), S_OK);
    ASSERT_EQ(filter->setDiseqc(2), S_OK);
    ASSERT_EQ(search(*filter, 12000, 0), S_OK);
    EXPECT_EQ(filter->applyTuning(), S_OK);
    ASSERT_EQ(device_->diseqc.size(), 1u);
    const std::vector<uint8_t> expected{0xE0, 0x10, 0x38, 0xF7}; // input 2, horizontal, high
    EXPECT_EQ(device_->diseqc.front(), expected);
    EXPECT_EQ(device_->lastTone(), SEC_TONE_ON);
}

TEST_F(DvbFilter, ATuneTheCardRefusesIsReportedOnceAndRetried) {
    device_->failTuneErrno = EIO;
    auto filter = opened();
    ASSERT_EQ(search(*filter, 11000, 0), S_OK);
    EXPECT_TRUE(FAILED(filter->applyTuning()));
    EXPECT_TRUE(FAILED(filter->applyTuning()));
    ASSERT_EQ(messages_.size(), 1u);
    EXPECT_NE(messages_.front().find("Input/output error"), std::string::npos) << messages_.front();

    device_->failTuneErrno = 0;
    EXPECT_EQ(filter->applyTuning(), S_OK);
    EXPECT_EQ(device_->tunes.size(), 1u);
}

// --- What applyTuning answers ----------------------------------------------------------------

TEST_F(DvbFilter, OnlyALockIsASignal) {
    struct Case {
        const char *what;
        bool locks;
        uint32_t statusWithoutLock;
        test::FakeStat strength;
    };
    const Case cases[] = {
        {"locked", true, 0, {}},
        {"carrier and strength",
         false,
         FE_HAS_SIGNAL | FE_HAS_CARRIER,
         {FE_SCALE_RELATIVE, 60'000}},
        {"signal and strength in dBm", false, FE_HAS_SIGNAL, {FE_SCALE_DECIBEL, -30'000}},
        {"nothing", false, 0, {FE_SCALE_RELATIVE, 30'000}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        SetUp();
        device_->lockingSystems = c.locks ? std::set<uint32_t>{SYS_DVBS} : std::set<uint32_t>{};
        device_->statusWithoutLock = c.statusWithoutLock;
        device_->strength = c.strength;
        device_->cnr = {FE_SCALE_DECIBEL, 12'000};
        auto filter = opened();
        ASSERT_EQ(search(*filter, 11000, 0), S_OK);
        EXPECT_EQ(filter->applyTuning(), c.locks ? S_OK : E_FAIL);
        // Nor does a reading taken without a lock show anything.
        ASSERT_EQ(filter->refreshMeasurement(), S_OK);
        LONG quality = -1;
        FLOAT snr = -1.0f;
        filter->getQuality(&quality);
        filter->getSnr(&snr);
        EXPECT_EQ(quality > 0, c.locks);
        EXPECT_EQ(snr > 0.0f, c.locks);
    }
}

// --- Readings ----------------------------------------------------------------------------

TEST_F(DvbFilter, QualityAndSnrFromTheCardsStatistics) {
    struct Case {
        const char *what;
        test::FakeStat cnr{};
        int v3Snr = -1; // set: the driver has only the old calls
        LONG quality = 0;
        float snr = 0.0f;
        uint32_t tuned = SYS_DVBS; // the one system the card has
        uint32_t modulation = QPSK, fec = FEC_3_4, reportedSystem = 0;
        bool reports = true;
        test::FakeStat strength{};
    };
    const Case cases[] = {
        // Decibels: quality is the margin over the locked signal's threshold, S/N in dB.
        {.what = "DVB-S 3/4", .cnr = {FE_SCALE_DECIBEL, 11'900}, .quality = 50, .snr = 11.9f},
        {.what = "rate not reported",
         .cnr = {FE_SCALE_DECIBEL, 11'900},
         .quality = 50,
         .snr = 11.9f,
         .fec = FEC_AUTO},
        {.what = "strong", .cnr = {FE_SCALE_DECIBEL, 30'000}, .quality = 100, .snr = 30.0f},
        // Locked at or below the threshold: still a lock, so never 0 % (the red lamp).
        {.what = "below the threshold",
         .cnr = {FE_SCALE_DECIBEL, 3'000},
         .quality = 1,
         .snr = 3.0f},
        {.what = "S2 8PSK 2/3",
         .cnr = {FE_SCALE_DECIBEL, 11'620},
         .quality = 50,
         .snr = 11.62f,
         .tuned = SYS_DVBS2,
         .modulation = PSK_8,
         .fec = FEC_2_3},
        // The threshold of what the card found, not of what was asked for (QAM_AUTO).
        {.what = "S2 QPSK 3/4",
         .cnr = {FE_SCALE_DECIBEL, 9'030},
         .quality = 50,
         .snr = 9.03f,
         .tuned = SYS_DVBS2},
        {.what = "S2 tuned, DVB-S found",
         .cnr = {FE_SCALE_DECIBEL, 11'900},
         .quality = 50,
         .snr = 11.9f,
         .tuned = SYS_DVBS2,
         .reportedSystem = SYS_DVBS},
        {.what = "S2, nothing reported: QPSK 3/4",
         .cnr = {FE_SCALE_DECIBEL, 9'030},
         .quality = 50,
         .snr = 9.03f,
         .tuned = SYS_DVBS2,
         .modulation = PSK_8,
         .reports = false},
        // No decibels: a relative reading, and S/N repeats it as a percentage.
        {.what = "relative CNR", .cnr = {FE_SCALE_RELATIVE, 32'768}, .quality = 50, .snr = 50.0f},
        {.what = "old call, relative", .v3Snr = 40'000, .quality = 61, .snr = 61.04f},
        {.what = "old call, full scale", .v3Snr = 65'535, .quality = 100, .snr = 99.9f},
        {.what = "old call, 0.1 dB", .v3Snr = 119, .quality = 50, .snr = 50.0f},
        {.what = "old call, 1/256 dB", .v3Snr = 3046, .quality = 50, .snr = 49.98f},
        {.what = "no CNR: strength",
         .quality = 10,
         .snr = 10.0f,
         .strength = {FE_SCALE_RELATIVE, 6'554}},
        {.what = "nothing but the lock", .quality = 1, .snr = 0.0f},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        SetUp();
        device_->systems = {c.tuned};
        device_->lockingSystems = {c.tuned};
        device_->lockedSystem = c.reportedSystem;
        device_->lockedModulation = c.modulation;
        device_->lockedFec = c.fec;
        device_->reportsLockedParameters = c.reports;
        device_->cnr = c.cnr;
        device_->strength = c.strength;
        device_->v5Stats = c.v3Snr < 0;
        device_->v3Snr = c.v3Snr;
        auto filter = opened();
        ASSERT_EQ(search(*filter, 11000, 0), S_OK);
        ASSERT_EQ(filter->applyTuning(), S_OK);
        ASSERT_EQ(filter->refreshMeasurement(), S_OK);
        LONG quality = -1;
        FLOAT snr = -1.0f;
        ASSERT_EQ(filter->getQuality(&quality), S_OK);
        ASSERT_EQ(filter->getSnr(&snr), S_OK);
        EXPECT_EQ(quality, c.quality);
        EXPECT_NEAR(snr, c.snr, 0.01);
    }
}

TEST_F(DvbFilter, ThresholdOfTheSecondOfTwoLockedTransponders) {
    // Locked before and after the retune: no change of status for libdvbv5 to notice.
    device_->cnr = {FE_SCALE_DECIBEL, 13'400};
    device_->lockedFec = FEC_1_2;
    auto filter = opened();
    ASSERT_EQ(search(*filter, 11000, 0), S_OK);
    ASSERT_EQ(filter->applyTuning(), S_OK);
    device_->lockedFec = FEC_7_8;
    ASSERT_EQ(search(*filter, 11100, 0), S_OK);
    ASSERT_EQ(filter->applyTuning(), S_OK);
    LONG quality = 0;
    filter->getQuality(&quality);
    EXPECT_EQ(quality, 50); // 7/8 needs 8.4 dB
}

TEST_F(DvbFilter, TheOldSnrUnitIsTheOneTheLargestLockedValueFits) {
    // A relative driver's weak first reading fits 1/256 dB; a strong one settles it.
    device_->v5Stats = false;
    device_->v3Snr = 3046;
    auto filter = opened();
    ASSERT_EQ(search(*filter, 11000, 0), S_OK);
    ASSERT_EQ(filter->applyTuning(), S_OK);
    LONG quality = 0;
    filter->getQuality(&quality);
    EXPECT_EQ(quality, 50);
    device_->v3Snr = 32'768;
    ASSERT_EQ(filter->applyTuning(), S_OK);
    device_->v3Snr = 3046;
    ASSERT_EQ(filter->applyTuning(), S_OK);
    filter->getQuality(&quality);
    EXPECT_EQ(quality, 5); // 3046 of 65535
}

// --- LNB supply -----------------------------------------------------------------------------

TEST_F(DvbFilter, AnLnbSupplyTheCardCannotSwitchIsToldOnceAndTunedWithout) {
    struct Case {
        const char *what;
        int voltageErrno, toneErrno;
        bool tunes;
        const char *told;
    };
    const Case cases[] = {
        {"no supply control", EOPNOTSUPP, 0, true, "cannot switch the LNB supply (13/18 V)"},
        {"no tone control", 0, EOPNOTSUPP, true, "cannot switch the 22 kHz tone"},
        {"overload", EIO, 0, false, "LNB overload"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        SetUp();
        messages_.clear();
        device_->voltageErrno = c.voltageErrno;
        device_->toneErrno = c.toneErrno;
        auto filter = opened();
        for (LONG polarity : {0, 1, 0}) {
            ASSERT_EQ(search(*filter, 12000, polarity), S_OK);
            for (int i = 0; i < 3; ++i) {
                EXPECT_EQ(filter->applyTuning(), c.tunes ? S_OK : E_FAIL);
            }
        }
        EXPECT_EQ(device_->tunes.size(), c.tunes ? 3u : 0u);
        ASSERT_EQ(messages_.size(), c.tunes ? 1u : 3u) << "once at most, or once per search";
        EXPECT_NE(messages_.front().find(c.told), std::string::npos) << messages_.front();
    }
}

TEST_F(DvbFilter, NoReadingBeforeTheFirstMeasurement) {
    auto filter = make();
    LONG quality = -1;
    FLOAT snr = -1.0f;
    EXPECT_EQ(filter->applyTuning(), E_UNEXPECTED);
    EXPECT_EQ(filter->refreshMeasurement(), E_UNEXPECTED);
    EXPECT_EQ(filter->getQuality(&quality), S_OK);
    EXPECT_EQ(filter->getSnr(&snr), S_OK);
    EXPECT_EQ(quality, 0);
    EXPECT_EQ(snr, 0.0f);
}

TEST_F(DvbFilter, APollReadsTheCardOnce) {
    device_->cnr = {FE_SCALE_DECIBEL, 12'000};
    auto filter = opened();
    ASSERT_EQ(search(*filter, 11000, 0), S_OK);
    ASSERT_EQ(filter->applyTuning(), S_OK);
    const int afterApply = device_->statusReads;
    ASSERT_EQ(filter->refreshMeasurement(), S_OK);
    EXPECT_EQ(device_->statusReads, afterApply) << "the poll's own reading is the measurement";
    // A refresh on its own, or a poll later, reads the card again.
    advance(std::chrono::milliseconds(600));
    ASSERT_EQ(filter->refreshMeasurement(), S_OK);
    EXPECT_EQ(device_->statusReads, afterApply + 1);
    ASSERT_EQ(filter->applyTuning(), S_OK);
    advance(std::chrono::milliseconds(150));
    ASSERT_EQ(filter->refreshMeasurement(), S_OK);
    EXPECT_EQ(device_->statusReads, afterApply + 3);
}

// --- Opening and closing --------------------------------------------------------------------

TEST_F(DvbFilter, InitializeFailsCleanlyWithAReason) {
    struct Case {
        const char *what;
        bool present;
        int openErrno;
        std::vector<uint32_t> systems;
        const char *reason;
    };
    const Case cases[] = {
        {"missing", false, 0, {}, "No such file or directory"},
        {"forbidden", true, EACCES, {SYS_DVBS}, "is the user in the video group?"},
        {"busy", true, EBUSY, {SYS_DVBS}, "is another program using the card?"},
        {"terrestrial", true, 0, {SYS_DVBT, SYS_DVBT2}, "is not a satellite (DVB-S/S2) frontend"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        FakeDvb::instance().reset();
        messages_.clear();
        if (c.present) {
            FakeFrontend &device = FakeDvb::instance().add(0, 0);
            device.openErrno = c.openErrno;
            device.systems = c.systems;
        }
        auto filter = make();
        EXPECT_TRUE(FAILED(filter->initialize()));
        ASSERT_EQ(messages_.size(), 1u);
        EXPECT_NE(messages_.front().find("/dev/dvb/adapter0/frontend0"), std::string::npos)
            << messages_.front();
        EXPECT_NE(messages_.front().find(c.reason), std::string::npos) << messages_.front();
        EXPECT_TRUE(FAILED(filter->applyTuning()));
        EXPECT_TRUE(FakeDvb::instance().openFds().empty()) << "a failed open leaves nothing open";
    }
}

TEST_F(DvbFilter, OpensTheNamedAdapterAndFrontend) {
    FakeFrontend &second = FakeDvb::instance().add(1, 2);
    auto filter = make({1, 2});
    ASSERT_EQ(filter->initialize(), S_OK);
    EXPECT_EQ(device_->opens, 0);
    EXPECT_GT(second.opens, 0);
    EXPECT_EQ(second.writerOpens, 1) << "the frontend is started (powered) once";
}

TEST_F(DvbFilter, ASecondUserOfTheCardIsRefused) {
    auto first = opened();
    auto second = make();
    EXPECT_TRUE(FAILED(second->initialize()));
    ASSERT_FALSE(messages_.empty());
    EXPECT_NE(messages_.back().find("busy"), std::string::npos) << messages_.back();
}

TEST_F(DvbFilter, LastReleaseClosesTheCardAndSwitchesTheLnbOff) {
    auto filter = opened();
    ASSERT_EQ(search(*filter, 11000, 0), S_OK);
    ASSERT_EQ(filter->applyTuning(), S_OK);
    filter->AddRef();
    EXPECT_EQ(filter->Release(), 1u);
    EXPECT_EQ(FakeDvb::instance().openFds().size(), 1u);
    filter.reset();
    EXPECT_TRUE(FakeDvb::instance().openFds().empty());
    EXPECT_EQ(device_->closes, device_->opens);
    EXPECT_EQ(device_->lastVoltage(), SEC_VOLTAGE_OFF);
}

} // namespace
} // namespace vintorel::dvb
