// DirectSoundCreate8 when OpenAL Soft has no output to open. Its own executable, because OpenAL
// reads its configuration once per process: here it is told to use a backend that doesn't
// exist, so alcOpenDevice fails; or, in a child process, the outputs of a machine with no
// sound server and no card.
#include <dsound.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

namespace {

class NoOutputEnvironment : public ::testing::Environment {
  public:
    void SetUp() override {
        setenv("ALSOFT_DRIVERS", "vintorel-no-such-backend", 1);
        setenv("ALSOFT_CONF", "/dev/null", 1);
    }
};

[[maybe_unused]] ::testing::Environment *const g_environment =
    ::testing::AddGlobalTestEnvironment(new NoOutputEnvironment);

TEST(NoDevice, CreateReportsNoDriverAndReturnsNothing) {
    for (const GUID *device : {static_cast<const GUID *>(nullptr), &DSDEVID_DefaultPlayback}) {
        IDirectSound8 *ds = reinterpret_cast<IDirectSound8 *>(0x1);
        EXPECT_EQ(DirectSoundCreate8(device, &ds, nullptr), DSERR_NODRIVER);
        EXPECT_EQ(ds, nullptr);
    }
}

// With neither PulseAudio nor a sound card, OpenAL Soft and ALSA each have errors to print;
// the program, for which no sound is an ordinary case, prints none of them. The check runs in
// a fresh process of this test (OpenAL reads its configuration once per process), which
// VINTOREL_NO_CARD_CONFIG tells to open the output and say by its exit code what it got.
TEST(NoDevice, NoServerAndNoCardPrintNothing) {
    if (const char *config = std::getenv("VINTOREL_NO_CARD_CONFIG")) {
        setenv("ALSOFT_DRIVERS", "pulse,alsa", 1);
        setenv("PULSE_SERVER", "unix:/nonexistent/vintorel", 1);
        setenv("ALSA_CONFIG_PATH", config, 1);
        unsetenv("ALSOFT_LOGLEVEL");
        IDirectSound8 *ds = nullptr;
        _exit(DirectSoundCreate8(nullptr, &ds, nullptr) == DSERR_NODRIVER ? 0 : 1);
    }
    char config[] = "/tmp/vintorel-no-card-XXXXXX";
    const int configFd = mkstemp(config);
    ASSERT_GE(configFd, 0);
    // A default device that refers to a card that is not there, as the stock configuration does.
    const std::string noCard = "pcm.!default { @func refer name \"cards.vintorel.pcm.default\" }\n";
    ASSERT_EQ(write(configFd, noCard.data(), noCard.size()), static_cast<ssize_t>(noCard.size()));
    close(configFd);
    const std::string command =
        "VINTOREL_NO_CARD_CONFIG=" + std::string(config) + " /proc/" + std::to_string(getpid()) +
        "/exe --gtest_filter=NoDevice.NoServerAndNoCardPrintNothing 2>&1 >/dev/null";
    FILE *child = popen(command.c_str(), "r");
    ASSERT_NE(child, nullptr);
    std::string printed;
    char chunk[512];
    for (size_t n; (n = fread(chunk, 1, sizeof chunk, child)) > 0;) {
        printed.append(chunk, n);
    }
    const int status = pclose(child);
    unlink(config);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    EXPECT_EQ(printed, "");
}

} // namespace
