// Device-free rules of the DVB tuner filter: VINTOREL_TUNER parsing, echoing a bad value
// safely, the frontend's ranges and the DiSEqC switch command.
#include "components/dvbtuner/dvb_settings.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace vintorel::dvb {
namespace {

struct VariableCase {
    const char *value;
    std::optional<FrontendAddress> expected;
};

TEST(TunerVariable, AcceptsTheDocumentedFormsAndNothingElse) {
    const VariableCase cases[] = {
        {nullptr, FrontendAddress{0, 0}},
        {"", FrontendAddress{0, 0}},
        {"dvb", FrontendAddress{0, 0}},
        {"dvb:1", FrontendAddress{1, 0}},
        {"dvb:1.0", FrontendAddress{1, 0}},
        {"dvb:2.3", FrontendAddress{2, 3}},
        {"dvb:255.255", FrontendAddress{255, 255}},
        {"dvb:", std::nullopt},
        {"dvb:x", std::nullopt},
        {"dvb:1.", std::nullopt},
        {"dvb:.1", std::nullopt},
        {"dvb:-1", std::nullopt},
        {"dvb:+1", std::nullopt},
        {"dvb:1.2.3", std::nullopt},
        {"dvb:256", std::nullopt},
        {"dvb:1.256", std::nullopt},
        {"dvb:99999999999999999999", std::nullopt},
        {"dvb:1 ", std::nullopt},
        {" dvb", std::nullopt},
        {"DVB", std::nullopt},
        {"sim", std::nullopt},
        {"dvb1", std::nullopt},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.value == nullptr ? "(unset)" : c.value);
        EXPECT_EQ(parseTunerVariable(c.value), c.expected);
    }
}

TEST(TunerVariable, PathNamesAdapterAndFrontend) {
    EXPECT_EQ(frontendPath({0, 0}), "/dev/dvb/adapter0/frontend0");
    EXPECT_EQ(frontendPath({12, 3}), "/dev/dvb/adapter12/frontend3");
}

TEST(TunerVariable, EchoedValueIsPrintableAndBounded) {
    EXPECT_EQ(printableValue(nullptr), "(unset)");
    EXPECT_EQ(printableValue("dvb:\x1b[2J\n"), "dvb:?[2J?");
    const std::string longValue(500, 'a');
    const std::string shown = printableValue(longValue.c_str());
    EXPECT_LT(shown.size(), 80u);
    EXPECT_TRUE(shown.ends_with("..."));
}

TEST(FrontendLimits, ReportedRangesNarrowTheDefaults) {
    struct Case {
        uint32_t fmin, fmax, srmin, srmax;
        Limits expected;
    };
    const Case cases[] = {
        // Nothing reported: L band and 1..45 MS/s.
        {0, 0, 0, 0, {950'000, 2'150'000, 1'000'000, 45'000'000}},
        // A narrower card.
        {950'000, 2'050'000, 2'000'000, 30'000'000, {950'000, 2'050'000, 2'000'000, 30'000'000}},
        // A card claiming more symbol rate than a satellite carrier uses keeps the 45 MS/s cap.
        {950'000, 2'150'000, 256'000, 67'500'000, {950'000, 2'150'000, 1'000'000, 45'000'000}},
        // Range answered in Hz.
        {950'000'000, 2'150'000'000u, 0, 0, {950'000, 2'150'000, 1'000'000, 45'000'000}},
        // Only the maximum filled in.
        {0, 2'050'000, 0, 0, {950'000, 2'050'000, 1'000'000, 45'000'000}},
        // Inverted range: ignored.
        {2'150'000, 950'000, 0, 0, {950'000, 2'150'000, 1'000'000, 45'000'000}},
    };
    for (const auto &c : cases) {
        const Limits l = limitsFromFrontend(c.fmin, c.fmax, c.srmin, c.srmax);
        EXPECT_EQ(l.ifMinKHz, c.expected.ifMinKHz);
        EXPECT_EQ(l.ifMaxKHz, c.expected.ifMaxKHz);
        EXPECT_EQ(l.symbolRateMin, c.expected.symbolRateMin);
        EXPECT_EQ(l.symbolRateMax, c.expected.symbolRateMax);
    }
}

TEST(Plan, IncompleteUntilEveryValueIsSet) {
    ProgramSettings settings;
    settings.frequencyMHz = 11000;
    settings.symbolRateKs = 27500;
    settings.oscillatorMHz = 9750;
    settings.polarity = 0;
    EXPECT_EQ(makePlan(settings, {}).problem, PlanProblem::Incomplete);
    settings.band = 0;
    const PlanResult result = makePlan(settings, {});
    ASSERT_TRUE(result.plan);
    EXPECT_EQ(result.plan->ifKHz, 1'250'000u);
}

TEST(Diseqc, CommittedSwitchCommandCarriesPortPolarisationAndBand) {
    struct Case {
        int port;
        bool voltage18, tone;
        uint8_t data;
    };
    const Case cases[] = {
        {0, false, false, 0xF0}, {0, true, false, 0xF2},  {0, false, true, 0xF1},
        {1, true, true, 0xF7},   {2, false, false, 0xF8}, {3, true, true, 0xFF},
    };
    for (const auto &c : cases) {
        const auto command = committedSwitchCommand(c.port, c.voltage18, c.tone);
        EXPECT_EQ(command[0], 0xE0);
        EXPECT_EQ(command[1], 0x10);
        EXPECT_EQ(command[2], 0x38);
        EXPECT_EQ(command[3], c.data) << "port " << c.port;
    }
}

} // namespace
} // namespace vintorel::dvb
