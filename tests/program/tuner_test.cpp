// The tuning sequence: the LNB band rule, the order of the calls, and each step failing.
#include "program_fixture.h"

#include "tuner/tuner.h"

namespace {

using Calls = std::vector<std::string>;

class TuningTest : public ProgramTest {
  protected:
    void SetUp() override {
        ProgramTest::SetUp();
        ASSERT_NE(createWindow(), nullptr);
        tuner->log.calls.clear(); // keep only what the search sends
    }
};

struct BandRow {
    LONG frequency;
    Calls lnbCalls;
};

class BandRuleTest : public TuningTest, public testing::WithParamInterface<BandRow> {};

TEST_P(BandRuleTest, SendsTheBandOscillatorsThenPolaritySymbolRateAndFrequency) {
    const BandRow &row = GetParam();
    tuneTransponder(1, 27500, row.frequency);
    Calls expected = row.lnbCalls;
    expected.push_back("setPolarity 1");
    expected.push_back("setSymbolRate 27500");
    expected.push_back("setTransponderFrequency " + std::to_string(row.frequency));
    EXPECT_EQ(tuner->log.calls, expected);
    EXPECT_TRUE(boxes->shown().empty());
    EXPECT_TRUE(IsWindow(app.mainWindow));
}

INSTANTIATE_TEST_SUITE_P(
    Bands, BandRuleTest,
    testing::Values(
        BandRow{3400, {"setLnbSelection 0", "setLnbFrequency 9750", "setLnbFrequency 5150"}},
        BandRow{4200, {"setLnbSelection 0", "setLnbFrequency 9750", "setLnbFrequency 5150"}},
        BandRow{4201, {"setLnbSelection 0", "setLnbFrequency 9750"}},
        BandRow{10700, {"setLnbSelection 0", "setLnbFrequency 9750"}},
        BandRow{11699, {"setLnbSelection 0", "setLnbFrequency 9750"}},
        BandRow{11700, {"setLnbSelection 1", "setLnbFrequency 10600"}},
        BandRow{12245, {"setLnbSelection 1", "setLnbFrequency 10600"}},
        BandRow{15000, {"setLnbSelection 1", "setLnbFrequency 10600"}}),
    [](const testing::TestParamInfo<BandRow> &row) {
        return std::to_string(row.param.frequency) + "MHz";
    });

TEST_F(TuningTest, HorizontalTransponderInTheHighBand) {
    tuneTransponder(0, 22000, 12515);
    EXPECT_EQ(tuner->log.calls,
              (Calls{"setLnbSelection 1", "setLnbFrequency 10600", "setPolarity 0",
                     "setSymbolRate 22000", "setTransponderFrequency 12515"}));
}

TEST_F(TuningTest, OnlyTheLastOscillatorCallCountsInTheCBand) {
    tuner->script.statuses["setLnbFrequency 9750"] = E_FAIL;
    tuneTransponder(0, 27500, 3900);
    EXPECT_TRUE(boxes->shown().empty());
    EXPECT_EQ(tuner->log.calls,
              (Calls{"setLnbSelection 0", "setLnbFrequency 9750", "setLnbFrequency 5150",
                     "setPolarity 0", "setSymbolRate 27500", "setTransponderFrequency 3900"}));
}

TEST_F(TuningTest, PositiveStatusesCountAsSuccess) {
    for (const char *op : {"setLnbSelection", "setLnbFrequency", "setPolarity", "setSymbolRate",
                           "setTransponderFrequency"}) {
        tuner->script.statuses[op] = 1;
    }
    tuneTransponder(1, 27500, 12245);
    EXPECT_TRUE(boxes->shown().empty());
    EXPECT_EQ(tuner->log.calls.size(), 5u);
    EXPECT_TRUE(IsWindow(app.mainWindow));
}

struct FailingStep {
    const char *failingCall;
    LONG frequency;
    const char *message;
    Calls callsMade;
};

class FailingStepTest : public TuningTest, public testing::WithParamInterface<FailingStep> {};

TEST_P(FailingStepTest, ShowsItsMessageStopsAndEndsTheProgram) {
    const FailingStep &row = GetParam();
    tuner->script.statuses[row.failingCall] = E_FAIL;
    tuneTransponder(1, 27500, row.frequency);

    ASSERT_EQ(boxes->shown().size(), 1u);
    EXPECT_EQ(boxes->shown()[0].text, row.message);
    EXPECT_EQ(boxes->shown()[0].caption, "Error");
    EXPECT_EQ(boxes->shown()[0].type, static_cast<UINT>(MB_OK));
    EXPECT_EQ(tuner->log.calls, row.callsMade);
    EXPECT_FALSE(IsWindow(app.mainWindow));
    EXPECT_EQ(tuner->log.alive, 0);
    EXPECT_TRUE(quitRequested());
}

INSTANTIATE_TEST_SUITE_P(
    EachStep, FailingStepTest,
    testing::Values(
        FailingStep{"setLnbSelection", 12245, "Set LNB selection failed", {"setLnbSelection 1"}},
        FailingStep{"setLnbFrequency 10600",
                    12245,
                    "Set LNB frequency failed",
                    {"setLnbSelection 1", "setLnbFrequency 10600"}},
        FailingStep{"setLnbFrequency 9750",
                    10700,
                    "Set LNB frequency failed",
                    {"setLnbSelection 0", "setLnbFrequency 9750"}},
        FailingStep{"setLnbFrequency 5150",
                    3400,
                    "Set LNB frequency failed",
                    {"setLnbSelection 0", "setLnbFrequency 9750", "setLnbFrequency 5150"}},
        FailingStep{"setPolarity",
                    12245,
                    "Set polarity failed",
                    {"setLnbSelection 1", "setLnbFrequency 10600", "setPolarity 1"}},
        FailingStep{
            "setSymbolRate",
            12245,
            "Set symbol rate failed",
            {"setLnbSelection 1", "setLnbFrequency 10600", "setPolarity 1", "setSymbolRate 27500"}},
        FailingStep{"setTransponderFrequency",
                    12245,
                    "Set transponder frequency failed",
                    {"setLnbSelection 1", "setLnbFrequency 10600", "setPolarity 1",
                     "setSymbolRate 27500", "setTransponderFrequency 12245"}}),
    [](const testing::TestParamInfo<FailingStep> &row) {
        std::string name = row.param.failingCall;
        for (char &c : name) {
            if (c == ' ') {
                c = '_';
            }
        }
        return name;
    });

} // namespace
