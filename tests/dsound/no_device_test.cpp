// DirectSoundCreate8 when OpenAL Soft has no output to open. Its own executable, because OpenAL
// reads its configuration once per process: here it is told to use a backend that doesn't
// exist, so alcOpenDevice fails.
#include <dsound.h>
#include <gtest/gtest.h>

#include <cstdlib>

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

} // namespace
