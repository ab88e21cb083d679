// The simulated card: its script language (strict, with line numbers), its log format, and
// the scripted answers and readings.
#include "sim_card.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>

namespace {

using vintorel::sim::parseScript;
using vintorel::sim::Script;
using vintorel::sim::SimCard;
using vintorel::sim::SimOptions;

struct BadLine {
    const char *text;
    const char *error;
};

class ScriptErrorTest : public testing::TestWithParam<BadLine> {};

TEST_P(ScriptErrorTest, IsRefusedWithItsLineNumber) {
    Script script;
    std::string error;
    EXPECT_FALSE(parseScript(std::string("# comment\n\n") + GetParam().text, &script, &error));
    EXPECT_EQ(error, std::string("3: ") + GetParam().error);
}

INSTANTIATE_TEST_SUITE_P(
    Lines, ScriptErrorTest,
    testing::Values(BadLine{"explode now", "unknown directive 'explode'"},
                    BadLine{"fail setFrequency", "unknown operation 'setFrequency'"},
                    BadLine{"fail setFec six", "bad argument 'six'"},
                    BadLine{"fail", "expected 'fail OPERATION [ARGUMENT]'"},
                    BadLine{"status setFec", "expected 'status OPERATION VALUE'"},
                    BadLine{"status setFec 0xZZ", "bad status value '0xZZ'"},
                    BadLine{"status setFec 0x", "bad status value '0x'"},
                    BadLine{"poll locked 57",
                            "expected 'poll locked QUALITY SNR' or 'poll unlocked'"},
                    BadLine{"poll locked 57 snr", "bad S/N 'snr'"},
                    BadLine{"create now", "expected 'create fail'"},
                    BadLine{"query fail please", "expected 'query fail'"}));

TEST(SimScript, ParsesEveryDirective) {
    Script script;
    std::string error;
    ASSERT_TRUE(parseScript("fail setLnbFrequency 9750  # only that argument\n"
                            "status setFec 1\n"
                            "status initialize 0x80004005\n"
                            "status getSnr -2147467259\n"
                            "poll unlocked\n"
                            "poll locked 57 7.534\n",
                            &script, &error))
        << error;
    EXPECT_EQ(script.answerFor("setLnbFrequency", 9750), E_FAIL);
    EXPECT_FALSE(script.answerFor("setLnbFrequency", 5150).has_value());
    EXPECT_EQ(script.answerFor("setFec", 6), 1);
    EXPECT_EQ(script.answerFor("initialize", std::nullopt), E_FAIL);
    EXPECT_EQ(script.answerFor("getSnr", std::nullopt), E_FAIL);
    ASSERT_EQ(script.polls.size(), 2u);
    EXPECT_FALSE(script.polls[0].locked);
    EXPECT_EQ(script.polls[1].quality, 57);
    EXPECT_FLOAT_EQ(script.polls[1].snr, 7.534f);
}

class SimCardTest : public testing::Test {
  protected:
    void SetUp() override {
        dir_ =
            std::filesystem::temp_directory_path() /
            ("vintorel-sim-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
             "-" + testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::create_directories(dir_);
        options_.logPath = (dir_ / "card.log").string();
    }
    void TearDown() override { std::filesystem::remove_all(dir_); }

    void writeScript(const std::string &text) {
        options_.scriptPath = (dir_ / "card.script").string();
        std::ofstream(options_.scriptPath) << text;
    }
    std::vector<std::string> logLines() const {
        std::ifstream in(options_.logPath);
        std::vector<std::string> lines;
        for (std::string line; std::getline(in, line);) {
            lines.push_back(line);
        }
        return lines;
    }
    IBaseFilter *create(HRESULT expected = S_OK) {
        IBaseFilter *filter = nullptr;
        EXPECT_EQ(
            SimCard::create(options_, IID_TunerBaseFilter, reinterpret_cast<void **>(&filter)),
            expected);
        return filter;
    }

    std::filesystem::path dir_;
    SimOptions options_;
};

TEST_F(SimCardTest, LogsEveryCallInItsFormat) {
    IBaseFilter *filter = create();
    ASSERT_NE(filter, nullptr);
    TunerControl *tuner = nullptr;
    ASSERT_EQ(filter->QueryInterface(IID_TunerControl, reinterpret_cast<void **>(&tuner)), S_OK);
    tuner->initialize();
    tuner->setFec(6);
    tuner->setLnbSelection(1);
    tuner->applyTuning();
    LONG quality = -1;
    FLOAT snr = -1;
    tuner->refreshMeasurement();
    tuner->getQuality(&quality);
    tuner->getSnr(&snr);
    filter->AddRef();
    filter->Release();
    filter->Release();
    EXPECT_EQ(filter->Release(), 0u);
    EXPECT_EQ(logLines(), (std::vector<std::string>{
                              "create -> 0x00000000", "QueryInterface TunerControl -> 0x00000000",
                              "initialize -> 0x00000000", "setFec 6 -> 0x00000000",
                              "setLnbSelection 1 -> 0x00000000", "applyTuning -> 0x80004005",
                              "refreshMeasurement -> 0x00000000",
                              "getQuality -> 0x00000000 quality=0", "getSnr -> 0x00000000 snr=0",
                              "AddRef -> 3", "Release -> 2", "Release -> 1", "Release -> 0"}));
}

TEST_F(SimCardTest, ScriptedStatusesAndPollsAreAnswered) {
    writeScript(
        "fail setLnbFrequency 9750\nstatus setFec 1\npoll unlocked\npoll locked 57 7.534\n");
    IBaseFilter *filter = create();
    TunerControl *tuner = nullptr;
    filter->QueryInterface(IID_TunerControl, reinterpret_cast<void **>(&tuner));
    EXPECT_EQ(tuner->setLnbFrequency(9750), E_FAIL);
    EXPECT_EQ(tuner->setLnbFrequency(5150), S_OK);
    EXPECT_EQ(tuner->setFec(6), 1);
    EXPECT_EQ(tuner->applyTuning(), E_FAIL);
    LONG quality = 0;
    FLOAT snr = 0;
    for (int i = 0; i < 3; ++i) { // the last poll line repeats
        EXPECT_EQ(tuner->applyTuning(), S_OK);
        tuner->getQuality(&quality);
        tuner->getSnr(&snr);
        EXPECT_EQ(quality, 57);
        EXPECT_FLOAT_EQ(snr, 7.534f);
    }
    const auto lines = logLines();
    EXPECT_NE(std::find(lines.begin(), lines.end(), "applyTuning -> 0x80004005"), lines.end());
    EXPECT_NE(std::find(lines.begin(), lines.end(), "getSnr -> 0x00000000 snr=7.534"), lines.end());
    EXPECT_NE(std::find(lines.begin(), lines.end(), "setLnbFrequency 9750 -> 0x80004005"),
              lines.end());
    tuner->Release();
    filter->Release();
}

TEST_F(SimCardTest, CreateAndQueryFailures) {
    writeScript("create fail\n");
    EXPECT_EQ(create(REGDB_E_CLASSNOTREG), nullptr);
    EXPECT_EQ(logLines(), (std::vector<std::string>{"create -> 0x80040154"}));

    writeScript("query fail\n");
    IBaseFilter *filter = create();
    TunerControl *tuner = nullptr;
    EXPECT_EQ(filter->QueryInterface(IID_TunerControl, reinterpret_cast<void **>(&tuner)),
              E_NOINTERFACE);
    EXPECT_EQ(tuner, nullptr);
    EXPECT_EQ(filter->Release(), 0u);
}

TEST_F(SimCardTest, BadScriptRefusesCreation) {
    writeScript("poll locked 57 7.5\nexplode\n");
    testing::internal::CaptureStderr();
    EXPECT_EQ(create(E_FAIL), nullptr);
    const std::string err = testing::internal::GetCapturedStderr();
    EXPECT_NE(err.find("card.script:2: unknown directive 'explode'"), std::string::npos) << err;

    options_.scriptPath = (dir_ / "missing.script").string();
    testing::internal::CaptureStderr();
    EXPECT_EQ(create(E_FAIL), nullptr);
    EXPECT_NE(testing::internal::GetCapturedStderr().find("cannot read"), std::string::npos);
}

// Files that are not a script the card could read whole: each is reported as unreadable and
// the card refuses to start, without hanging (a FIFO without writer) or reading without end.
struct UnreadableScript {
    const char *name;
    const char *reason;
    std::function<std::string(const std::filesystem::path &dir)> make; // returns the path
};

class UnreadableScriptTest : public testing::TestWithParam<UnreadableScript> {};

TEST_P(UnreadableScriptTest, RefusesTheCard) {
    const auto dir = std::filesystem::temp_directory_path() /
                     ("vintorel-sim-unreadable-" + std::string(GetParam().name));
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
    SimOptions options;
    options.scriptPath = GetParam().make(dir);
    IBaseFilter *filter = nullptr;
    testing::internal::CaptureStderr();
    EXPECT_EQ(SimCard::create(options, IID_TunerBaseFilter, reinterpret_cast<void **>(&filter)),
              E_FAIL);
    const std::string err = testing::internal::GetCapturedStderr();
    EXPECT_EQ(filter, nullptr);
    EXPECT_NE(err.find(options.scriptPath + ": cannot read the script" + GetParam().reason),
              std::string::npos)
        << err;
    std::filesystem::remove_all(dir);
}

std::string sizedScript(const std::filesystem::path &dir, size_t bytes) {
    const auto path = dir / "big.script";
    std::ofstream(path) << std::string(bytes - 1, '#') << '\n';
    return path.string();
}

INSTANTIATE_TEST_SUITE_P(
    Files, UnreadableScriptTest,
    testing::Values(UnreadableScript{"folder", ": not a regular file",
                                     [](auto &dir) { return dir.string(); }},
                    UnreadableScript{"fifo", ": not a regular file",
                                     [](auto &dir) {
                                         const auto path = (dir / "fifo").string();
                                         EXPECT_EQ(mkfifo(path.c_str(), 0600), 0);
                                         return path;
                                     }},
                    UnreadableScript{"device", ": not a regular file",
                                     [](auto &) { return std::string("/dev/zero"); }},
                    UnreadableScript{"too_large", ": larger than 1 MiB",
                                     [](auto &dir) { return sizedScript(dir, (1u << 20) + 1); }}),
    [](const auto &test) { return std::string(test.param.name); });

TEST(SimScriptFile, OneMebibyteOfCommentsIsStillAScript) {
    const auto dir = std::filesystem::temp_directory_path() / "vintorel-sim-large-script";
    std::filesystem::create_directories(dir);
    Script script;
    std::string error;
    EXPECT_TRUE(vintorel::sim::loadScript(sizedScript(dir, 1u << 20), &script, &error)) << error;
    std::filesystem::remove_all(dir);
}

} // namespace
