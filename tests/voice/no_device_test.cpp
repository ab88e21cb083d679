// The program without a sound output device (its own process: OpenAL reads its configuration
// once): every slot stays empty, nothing is said about it, and polls and announcements stay
// silent without failing.
#include "program_fixture.h"
#include "voice_test_support.h"
#include "wave_writer.h"

namespace {

using namespace voice_test;

const bool g_noDevice = (useNoOutputDevice(), true);

class NoSoundDeviceTest : public ProgramTest {};

TEST_F(NoSoundDeviceTest, EverySlotEmptyNoMessageAndQuietTicks) {
    ASSERT_TRUE(g_noDevice);
    copyClips(folder->path());
    ASSERT_NE(createWindow(), nullptr);
    EXPECT_EQ(app.sound, nullptr);
    for (int order = 0; order < 21; ++order) {
        EXPECT_EQ(clipSlot(order), nullptr);
    }
    EXPECT_TRUE(boxes->shown().empty());
    EXPECT_EQ(app.gdiReady, 1);

    app.step = 3;
    for (BYTE mode : {BYTE{0}, BYTE{1}}) {
        app.voiceMode = mode;
        for (int i = 0; i < 4; ++i) {
            SendMessageA(app.mainWindow, WM_TIMER, POLL_TIMER, 0);
            SendMessageA(app.mainWindow, WM_TIMER, ANNOUNCE_TIMER, 0);
        }
    }
    EXPECT_EQ(app.quality, 57);
    DestroyWindow(app.mainWindow);
    EXPECT_TRUE(quitRequested());
}

} // namespace
