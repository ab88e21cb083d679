// The DVB tuner filter driven as the program drives it, through libdvbv5's real code, against
// fake frontends that record what would reach the device.
#include "components/dvbtuner/dvb_tuner_filter.h"
#include "tests/dvbtuner/fake_dvb_device.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <memory>
#include <string>
#include <vector>

namespace vintorel::dvb {
namespace {

using test::FakeDvb;
using test::FakeFrontend;
using namespace std::chrono_literals;

struct Releaser {
    void operator()(DvbTunerFilter *filter) const { filter->Release(); }
};
using FilterPtr = std::unique_ptr<DvbTunerFilter, Releaser>;

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
    // The program's order of calls for one search; returns the first failure.
    static HRESULT search(DvbTunerFilter &filter, LONG mhz, LONG polarity, LONG ks = 27500) {
        HRESULT hr = filter.setLnbSelection(mhz > 11699 ? 1 : 0);
        if (FAILED(hr)) {
            return hr;
        }
        hr = filter.setLnbFrequency(mhz > 11699 ? 10600 : 9750);
        if (mhz < 4201) {
            hr = filter.setLnbFrequency(5150);
        }
        if (FAILED(hr)) {
            return hr;
        }
        hr = filter.setPolarity(polarity);
        if (FAILED(hr)) {
            return hr;
        }
        hr = filter.setSymbolRate(ks);
        if (FAILED(hr)) {
            return hr;
        }
        return filter.setTransponderFrequency(mhz);
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

// --- Refusals ------------------------------------------------------------------------------

TEST_F(DvbFilter, FrequenciesOutsideTheIntermediateBandAreRefusedAtTheSetCall) {
    struct Case {
        LONG mhz;
        LONG oscillator;
    };
    const Case cases[] = {{4201, 9750}, {10699, 9750}, {12751, 10600}, {2000, 5150}, {9750, 9750}};
    for (const auto &c : cases) {
        auto filter = opened();
        ASSERT_EQ(filter->setLnbSelection(0), S_OK);
        ASSERT_EQ(filter->setLnbFrequency(c.oscillator), S_OK);
        ASSERT_EQ(filter->setPolarity(0), S_OK);
        ASSERT_EQ(filter->setSymbolRate(27500), S_OK);
        EXPECT_EQ(filter->setTransponderFrequency(c.mhz), E_INVALIDARG) << c.mhz;
        EXPECT_TRUE(FAILED(filter->applyTuning()));
    }
    EXPECT_TRUE(device_->tunes.empty());
    ASSERT_FALSE(messages_.empty());
    EXPECT_NE(messages_.front().find("outside the card's 950..2150 MHz"), std::string::npos)
        << messages_.front();
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
        {"symbol rate", &DvbTunerFilter::setSymbolRate, 999},
        {"symbol rate", &DvbTunerFilter::setSymbolRate, 45001},
        {"symbol rate", &DvbTunerFilter::setSymbolRate, 0},
        {"symbol rate", &DvbTunerFilter::setSymbolRate, -27500},
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
        {"symbol rate", &DvbTunerFilter::setSymbolRate, 1000},
        {"symbol rate", &DvbTunerFilter::setSymbolRate, 45000},
        {"fec", &DvbTunerFilter::setFec, 1},
        {"diseqc", &DvbTunerFilter::setDiseqc, 4},
    };
    for (const auto &c : accepted) {
        EXPECT_EQ(((*filter).*(c.set))(c.value), S_OK) << c.what << " " << c.value;
    }
}

TEST_F(DvbFilter, TheFrontendsOwnSymbolRateRangeApplies) {
    device_->symbolRateMin = 2'000'000;
    device_->symbolRateMax = 30'000'000;
    auto early = make();
    // Set before the card is known: accepted, then refused when the card says otherwise.
    ASSERT_EQ(search(*early, 11000, 0, 40000), S_OK);
    ASSERT_EQ(early->initialize(), S_OK);
    EXPECT_EQ(early->applyTuning(), E_INVALIDARG);
    EXPECT_TRUE(device_->tunes.empty());
    early.reset();

    auto filter = opened();
    EXPECT_EQ(filter->setSymbolRate(30001), E_INVALIDARG);
    EXPECT_EQ(filter->setSymbolRate(1999), E_INVALIDARG);
    EXPECT_EQ(filter->setSymbolRate(30000), S_OK);
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

TEST_F(DvbFilter, FallsBackToDvbS2WhenDvbSDoesNotLock) {
    device_->lockingSystems = {SYS_DVBS2};
    device_->lockedModulation = PSK_8;
    device_->lockedFec = FEC_2_3;
    auto filter = opened();
    ASSERT_EQ(search(*filter, 11000, 0), S_OK);

    EXPECT_NE(filter->applyTuning(), S_OK); // a carrier, no lock
    ASSERT_EQ(device_->tunes.size(), 1u);
    EXPECT_EQ(device_->lastTuned(DTV_DELIVERY_SYSTEM), static_cast<uint32_t>(SYS_DVBS));

    advance(600ms); // not yet: DVB-S gets its window
    filter->applyTuning();
    EXPECT_EQ(device_->tunes.size(), 1u);

    advance(900ms);
    filter->applyTuning();
    ASSERT_EQ(device_->tunes.size(), 2u);
    EXPECT_EQ(device_->lastTuned(DTV_DELIVERY_SYSTEM), static_cast<uint32_t>(SYS_DVBS2));
    EXPECT_EQ(device_->lastTuned(DTV_FREQUENCY), 1'250'000u);
    EXPECT_EQ(device_->lastTuned(DTV_SYMBOL_RATE), 27'500'000u);

    advance(600ms);
    EXPECT_EQ(filter->applyTuning(), S_OK);
    // Locked on DVB-S2: kept, also when the lock goes while the dish moves.
    device_->signalPresent = false;
    for (int i = 0; i < 10; ++i) {
        advance(600ms);
        EXPECT_TRUE(FAILED(filter->applyTuning()));
    }
    EXPECT_EQ(device_->tunes.size(), 2u);
}

TEST_F(DvbFilter, AlternatesSystemsWhileNothingLocks) {
    device_->lockingSystems = {};
    auto filter = opened();
    ASSERT_EQ(search(*filter, 11000, 0), S_OK);
    for (int i = 0; i < 11; ++i) { // 6 s at the program's pace
        filter->applyTuning();
        advance(600ms);
    }
    std::vector<uint32_t> systems;
    for (const auto &tune : device_->tunes) {
        systems.push_back(tune.at(DTV_DELIVERY_SYSTEM));
    }
    const std::vector<uint32_t> expected{SYS_DVBS, SYS_DVBS2, SYS_DVBS, SYS_DVBS2};
    EXPECT_EQ(systems, expected);
}

TEST_F(DvbFilter, ADvbSOnlyCardNeverTriesDvbS2) {
    device_->systems = {SYS_DVBS};
    device_->lockingSystems = {};
    auto filter = opened();
    ASSERT_EQ(search(*filter, 11000, 0), S_OK);
    for (int i = 0; i < 10; ++i) {
        filter->applyTuning();
        advance(600ms);
    }
    EXPECT_EQ(device_->tunes.size(), 1u);
}

TEST_F(DvbFilter, ADvbS2OnlyCardTunesDvbS2) {
    device_->systems = {SYS_DVBS2};
    device_->lockingSystems = {SYS_DVBS2};
    auto filter = opened();
    ASSERT_EQ(search(*filter, 11000, 0), S_OK);
    EXPECT_EQ(filter->applyTuning(), S_OK);
    EXPECT_EQ(device_->lastTuned(DTV_DELIVERY_SYSTEM), static_cast<uint32_t>(SYS_DVBS2));
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

TEST_F(DvbFilter, SignalStatusBeforeAndAfterLock) {
    struct Case {
        const char *what;
        bool locks;
        uint32_t statusWithoutLock;
        uint8_t strengthScale;
        bool succeeds;
    };
    const Case cases[] = {
        {"locked", true, 0, FE_SCALE_NOT_AVAILABLE, true},
        {"carrier and strength", false, FE_HAS_SIGNAL | FE_HAS_CARRIER, FE_SCALE_RELATIVE, true},
        {"signal and strength in dBm", false, FE_HAS_SIGNAL, FE_SCALE_DECIBEL, true},
        {"carrier, no strength", false, FE_HAS_CARRIER, FE_SCALE_NOT_AVAILABLE, false},
        {"nothing", false, 0, FE_SCALE_RELATIVE, false},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        SetUp();
        device_->lockingSystems = c.locks ? std::set<uint32_t>{SYS_DVBS} : std::set<uint32_t>{};
        device_->statusWithoutLock = c.statusWithoutLock;
        device_->strength = {c.strengthScale,
                             c.strengthScale == FE_SCALE_DECIBEL ? -50'000 : 30'000};
        auto filter = opened();
        ASSERT_EQ(search(*filter, 11000, 0), S_OK);
        const HRESULT hr = filter->applyTuning();
        EXPECT_EQ(SUCCEEDED(hr), c.succeeds) << std::hex << hr;
        if (c.locks) {
            EXPECT_EQ(hr, S_OK);
        }
    }
}

// --- Readings ----------------------------------------------------------------------------

TEST_F(DvbFilter, QualityAndSnrFromTheCardsStatistics) {
    struct Case {
        const char *what;
        std::vector<uint32_t> systems;
        bool locks;
        uint32_t modulation, fec;
        test::FakeStat cnr, strength;
        bool v5;
        int v3Strength, v3Snr;
        LONG quality;
        float snr;
    };
    const test::FakeStat none{};
    const Case cases[] = {
        {"DVB-S 3/4, 11.9 dB",
         {SYS_DVBS, SYS_DVBS2},
         true,
         QPSK,
         FEC_3_4,
         {FE_SCALE_DECIBEL, 11'900},
         none,
         true,
         -1,
         -1,
         50,
         11.9f},
        {"DVB-S, rate not reported",
         {SYS_DVBS},
         true,
         QPSK,
         FEC_AUTO,
         {FE_SCALE_DECIBEL, 11'900},
         none,
         true,
         -1,
         -1,
         50,
         11.9f},
        {"DVB-S 7/8 at the threshold",
         {SYS_DVBS},
         true,
         QPSK,
         FEC_7_8,
         {FE_SCALE_DECIBEL, 8'400},
         none,
         true,
         -1,
         -1,
         0,
         8.4f},
        {"DVB-S 1/2, strong",
         {SYS_DVBS},
         true,
         QPSK,
         FEC_1_2,
         {FE_SCALE_DECIBEL, 30'000},
         none,
         true,
         -1,
         -1,
         100,
         30.0f},
        {"below the threshold",
         {SYS_DVBS},
         true,
         QPSK,
         FEC_3_4,
         {FE_SCALE_DECIBEL, 3'000},
         none,
         true,
         -1,
         -1,
         0,
         3.0f},
        {"DVB-S2 8PSK 2/3",
         {SYS_DVBS2},
         true,
         PSK_8,
         FEC_2_3,
         {FE_SCALE_DECIBEL, 11'620},
         none,
         true,
         -1,
         -1,
         50,
         11.62f},
        {"before lock: relative strength",
         {SYS_DVBS},
         false,
         QPSK,
         FEC_AUTO,
         none,
         {FE_SCALE_RELATIVE, 32'768},
         true,
         -1,
         -1,
         50,
         0.0f},
        {"locked, no CNR: strength",
         {SYS_DVBS},
         true,
         QPSK,
         FEC_3_4,
         none,
         {FE_SCALE_RELATIVE, 6'554},
         true,
         -1,
         -1,
         10,
         0.0f},
        {"old driver: relative SNR",
         {SYS_DVBS},
         true,
         QPSK,
         FEC_3_4,
         none,
         none,
         false,
         65'535,
         32'768,
         31,
         10.0f},
        {"nothing reported", {SYS_DVBS}, true, QPSK, FEC_3_4, none, none, true, -1, -1, 0, 0.0f},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        SetUp();
        device_->systems = c.systems;
        device_->lockingSystems =
            c.locks ? std::set<uint32_t>{c.systems.front()} : std::set<uint32_t>{};
        device_->lockedModulation = c.modulation;
        device_->lockedFec = c.fec;
        device_->cnr = c.cnr;
        device_->strength = c.strength;
        device_->v5Stats = c.v5;
        device_->v3Strength = c.v3Strength;
        device_->v3Snr = c.v3Snr;
        auto filter = opened();
        ASSERT_EQ(search(*filter, 11000, 0), S_OK);
        filter->applyTuning();
        ASSERT_EQ(filter->refreshMeasurement(), S_OK);
        LONG quality = -1;
        FLOAT snr = -1.0f;
        ASSERT_EQ(filter->getQuality(&quality), S_OK);
        ASSERT_EQ(filter->getSnr(&snr), S_OK);
        EXPECT_EQ(quality, c.quality);
        EXPECT_NEAR(snr, c.snr, 0.01);
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
