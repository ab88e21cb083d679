// The DVB filter against the Linux kernel's own DVB core, with the kernel's virtual DVB-S/S2
// card (vidtv) as the driver, inside a small VM (tests/dvbtuner/vm). The VM's job puts kprobes
// on the driver's entry points (event group "vintorel"), so each test sees what reached the
// driver and from which thread: supply and tone, tunes, power-up and power-down. vidtv locks
// only on the frequencies it was loaded with (here 11362, 12188 and 11000 MHz, the last also C band
// 3900 MHz through the 5150 MHz oscillator) and reports a C/N of 33.3-34 dB there.
// Outside the VM every test skips.
#include "components/dvbtuner/dvb_tuner_filter.h"
#include "tests/dvbtuner/program_calls.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <linux/dvb/frontend.h>
#include <unistd.h>

#include <chrono>
#include <fstream>
#include <memory>
#include <regex>
#include <string>
#include <thread>
#include <vector>

namespace vintorel::dvb {
namespace {

using namespace std::chrono_literals;

constexpr const char *kTrace = "/sys/kernel/tracing/trace";
constexpr const char *kEvents = "/sys/kernel/tracing/events/vintorel";

// One call the driver received: the kprobe's name, the calling process and its one argument.
struct DriverCall {
    std::string name; // voltage, tone, tune, diseqc, burst, power_up, power_down
    int pid = 0;
    int value = -1; // voltage: SEC_VOLTAGE_*; tone: SEC_TONE_*
};

void clearDriverCalls() {
    std::ofstream(kTrace, std::ios::trunc).flush();
}

std::vector<DriverCall> driverCalls() {
    // "  comm-PID  [CPU] flags  TIME: NAME: (function+0x0/0x10 [module]) arg=VALUE"
    static const std::regex line(R"(^\s*.*-(\d+)\s+\[\d+\].*?: (\w+): \([^)]*\)(?: \w+=(\d+))?)");
    std::vector<DriverCall> calls;
    std::ifstream trace(kTrace);
    std::smatch m;
    for (std::string text; std::getline(trace, text);) {
        if (std::regex_search(text, m, line)) {
            calls.push_back({m[2], std::stoi(m[1]), m[3].matched ? std::stoi(m[3]) : -1});
        }
    }
    return calls;
}

// The values of the named calls made by this process (ours) or by any thread (the kernel's
// frontend thread tunes and powers down).
std::vector<int> values(const std::vector<DriverCall> &calls, const std::string &name,
                        bool oursOnly) {
    std::vector<int> found;
    for (const auto &call : calls) {
        if (call.name == name && (!oursOnly || call.pid == ::getpid())) {
            found.push_back(call.value);
        }
    }
    return found;
}

using test::FilterPtr;

class KernelFrontend : public ::testing::Test {
  protected:
    void SetUp() override {
        if (::access(kEvents, F_OK) != 0) {
            GTEST_SKIP() << "not in the test VM (no " << kEvents << ")";
        }
        clearDriverCalls();
    }
    FilterPtr opened() {
        FilterPtr filter(new DvbTunerFilter(
            FrontendAddress{}, [this] { return now_; },
            [this](const std::string &line) { messages_.push_back(line); }));
        EXPECT_EQ(filter->initialize(), S_OK);
        EXPECT_EQ(filter->setFec(6), S_OK);
        EXPECT_EQ(filter->setDiseqc(0), S_OK);
        return filter;
    }
    // Polls as the program does, 600 ms apart on the filter's clock (the kernel's frontend
    // thread gets real time to tune in between); returns the last applyTuning result.
    HRESULT poll(DvbTunerFilter &filter, int times, bool untilLocked) {
        HRESULT hr = E_FAIL;
        for (int i = 0; i < times; ++i) {
            hr = filter.applyTuning();
            EXPECT_EQ(filter.refreshMeasurement(), S_OK);
            if (hr == S_OK && untilLocked) {
                break;
            }
            std::this_thread::sleep_for(100ms);
            now_ += 600ms;
        }
        return hr;
    }

    std::chrono::steady_clock::time_point now_{};
    std::vector<std::string> messages_;
};

// One search per row, the filter opened for it and released after: what the driver received
// and what the program is told.
TEST_F(KernelFrontend, SearchesReachTheDriverAsTheyShould) {
    constexpr int kNone = -1;
    struct Row {
        LONG mhz, polarity, ks;
        bool locks;
        int voltage, tone; // what our process sets before tuning (kNone: not tuned)
        const char *message;
    };
    const Row rows[] = {
        {11362, 0, 27500, true, SEC_VOLTAGE_18, SEC_TONE_OFF, ""},
        {12188, 1, 27500, true, SEC_VOLTAGE_13, SEC_TONE_ON, ""},
        {3900, 0, 27500, true, SEC_VOLTAGE_18, SEC_TONE_OFF, ""},   // C band, 1250 MHz at the card
        {11400, 0, 27500, false, SEC_VOLTAGE_18, SEC_TONE_OFF, ""}, // nothing there: the search
        {12760, 1, 27500, false, kNone, kNone,
         "12760 MHz with the 10600 MHz oscillator is 2160 MHz at the card, outside its range of "
         "51..2150 MHz: not tuned"},
        {11362, 0, 800, false, kNone, kNone,
         "800 kS/s is outside the card's symbol rates of 1000..45000 kS/s: not tuned"},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(std::to_string(row.mhz) + " MHz, " + std::to_string(row.ks) + " kS/s");
        clearDriverCalls();
        messages_.clear();
        {
            FilterPtr filter = opened();
            ASSERT_EQ(test::search(*filter, row.mhz, row.polarity, row.ks), S_OK);
            // Ten polls are 6 s on the filter's clock, into the search's second attempt.
            const HRESULT hr = poll(*filter, 10, row.locks);
            EXPECT_EQ(hr == S_OK, row.locks);
            LONG quality = -1;
            FLOAT snr = -1.0f;
            ASSERT_EQ(filter->getQuality(&quality), S_OK);
            ASSERT_EQ(filter->getSnr(&snr), S_OK);
            if (row.locks) {
                // 34 dB is far above any DVB-S/S2 threshold; S/N is the C/N the driver reports.
                EXPECT_EQ(quality, 100);
                EXPECT_GE(snr, 33.3f);
                EXPECT_LE(snr, 34.0f);
            } else {
                EXPECT_EQ(quality, 0);
                EXPECT_EQ(snr, 0.0f);
            }
            const auto calls = driverCalls();
            // The frontend was powered up once: the look at the device before libdvbv5's open
            // must not start (and stop) it.
            EXPECT_EQ(values(calls, "power_up", false).size(), 1u);
            EXPECT_TRUE(values(calls, "power_down", false).empty());
            const auto tunes = values(calls, "tune", false).size();
            if (row.voltage == kNone) {
                EXPECT_EQ(tunes, 0u);
                EXPECT_TRUE(values(calls, "voltage", true).empty());
            } else {
                // The supply and tone are set once, not again for each attempt of the search.
                EXPECT_EQ(values(calls, "voltage", true), std::vector<int>{row.voltage});
                EXPECT_EQ(values(calls, "tone", true), std::vector<int>{row.tone});
                // Locked, nothing is tuned again. Without a lock the kernel's frontend thread
                // also retunes by itself (its zigzag), so only "tuned" is certain there.
                if (row.locks) {
                    EXPECT_EQ(tunes, 1u);
                } else {
                    EXPECT_GE(tunes, 1u);
                }
            }
        }
        // Released: the program turns the supply off itself, then the kernel powers down.
        const auto calls = driverCalls();
        const auto ours = values(calls, "voltage", true);
        ASSERT_FALSE(ours.empty());
        EXPECT_EQ(ours.back(), SEC_VOLTAGE_OFF);
        std::vector<std::string> expected;
        if (*row.message != '\0') {
            expected.emplace_back(row.message);
        }
        EXPECT_EQ(messages_, expected);
    }
    // Let the kernel's frontend thread finish powering down before the next test.
    std::this_thread::sleep_for(200ms);
}

// Leaving a locked transponder for an empty one: the first poll after the change must not show
// the old lock (the driver still holds it until its thread has tuned), and coming back locks.
TEST_F(KernelFrontend, NoStaleLockAfterRetuning) {
    FilterPtr filter = opened();
    ASSERT_EQ(test::search(*filter, 11362, 0), S_OK);
    ASSERT_EQ(poll(*filter, 10, true), S_OK);
    ASSERT_EQ(filter->setTransponderFrequency(11400), S_OK);
    for (int i = 0; i < 3; ++i) {
        EXPECT_NE(filter->applyTuning(), S_OK) << "poll " << i;
        LONG quality = -1;
        ASSERT_EQ(filter->getQuality(&quality), S_OK);
        EXPECT_EQ(quality, 0) << "poll " << i;
        std::this_thread::sleep_for(100ms);
        now_ += 600ms;
    }
    ASSERT_EQ(filter->setTransponderFrequency(11362), S_OK);
    EXPECT_EQ(poll(*filter, 10, true), S_OK);
    EXPECT_TRUE(messages_.empty());
}

// Another program tuning the card: ours says so and leaves that program's tuning alone.
TEST_F(KernelFrontend, ACardInUseIsReportedBusy) {
    const int other = ::open("/dev/dvb/adapter0/frontend0", O_RDWR | O_CLOEXEC);
    ASSERT_GE(other, 0);
    {
        FilterPtr filter(new DvbTunerFilter(
            FrontendAddress{}, {}, [this](const std::string &l) { messages_.push_back(l); }));
        EXPECT_EQ(filter->initialize(), E_FAIL);
    }
    ::close(other);
    ASSERT_EQ(messages_.size(), 1u);
    EXPECT_EQ(messages_[0], "cannot open /dev/dvb/adapter0/frontend0: Device or resource busy "
                            "(is another program using the card?)");
    EXPECT_TRUE(values(driverCalls(), "voltage", true).empty());
}

} // namespace
} // namespace vintorel::dvb
