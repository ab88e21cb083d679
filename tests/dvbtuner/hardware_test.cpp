// With a real card (label "hardware", never run by the test presets): opens the frontend that
// VINTOREL_TUNER names and, when VINTOREL_TEST_TRANSPONDER=MHz:H|V:kS/s is set (for instance
// 11538:V:22000 with the dish pointed), expects a lock within 30 seconds (by then every DVB-S
// and DVB-S2 attempt has had its turn) and sane readings.
#include "components/dvbtuner/dvb_tuner_filter.h"
#include "tests/dvbtuner/program_calls.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <sys/stat.h>
#include <thread>

namespace vintorel::dvb {
namespace {

TEST(DvbHardware, TunesTheNamedTransponder) {
    const auto address = parseTunerVariable(std::getenv("VINTOREL_TUNER"));
    ASSERT_TRUE(address) << "VINTOREL_TUNER does not name a DVB frontend";
    struct stat info {};
    if (::stat(frontendPath(*address).c_str(), &info) != 0) {
        GTEST_SKIP() << "no card at " << frontendPath(*address);
    }
    test::FilterPtr filter(new DvbTunerFilter(*address));
    ASSERT_EQ(filter->initialize(), S_OK);
    ASSERT_EQ(filter->setFec(6), S_OK);
    ASSERT_EQ(filter->setDiseqc(0), S_OK);

    const char *transponder = std::getenv("VINTOREL_TEST_TRANSPONDER");
    if (transponder == nullptr) {
        GTEST_SKIP() << "opened " << frontendPath(*address)
                     << "; set VINTOREL_TEST_TRANSPONDER=MHz:H|V:kS/s to tune";
    }
    long mhz = 0;
    char polarity = 0;
    long ks = 0;
    ASSERT_EQ(std::sscanf(transponder, "%ld:%c:%ld", &mhz, &polarity, &ks), 3);
    ASSERT_EQ(test::search(*filter, mhz, polarity == 'V' || polarity == 'v' ? 1 : 0,
                           static_cast<LONG>(ks)),
              S_OK);

    HRESULT hr = E_FAIL;
    for (int i = 0; i < 50 && hr != S_OK; ++i) {
        hr = filter->applyTuning();
        std::this_thread::sleep_for(std::chrono::milliseconds(600));
    }
    ASSERT_EQ(hr, S_OK) << "no lock on " << transponder;
    ASSERT_EQ(filter->refreshMeasurement(), S_OK);
    LONG quality = -1;
    FLOAT snr = -1.0f;
    ASSERT_EQ(filter->getQuality(&quality), S_OK);
    ASSERT_EQ(filter->getSnr(&snr), S_OK);
    EXPECT_GE(quality, 1);
    EXPECT_LE(quality, 100);
    std::printf("%s: locked, quality %d %%, S/N %.2f\n", transponder, static_cast<int>(quality),
                snr);
}

} // namespace
} // namespace vintorel::dvb
