// The clip bank in the running program with the real decoder and DirectSound on OpenAL Soft's
// wave writer: every clip's buffer against its source WAV, a missing clip, no Data folder, and
// a tuner that fails during window creation.
#include "program_fixture.h"
#include "voice_test_support.h"
#include "wave_writer.h"

#include <cstring>

namespace {

using namespace voice_test;

const bool g_waveWriter = !useWaveWriter().empty();

class ClipBankTest : public ProgramTest {
  protected:
    void SetUp() override {
        ASSERT_TRUE(g_waveWriter);
        ProgramTest::SetUp();
    }
};

TEST_F(ClipBankTest, EverySlotHoldsItsOwnClip) {
    copyClips(folder->path());
    ASSERT_NE(createWindow(), nullptr);
    ASSERT_NE(app.sound, nullptr);
    for (int order = 0; order < 21; ++order) {
        const std::string &name = clipNames()[static_cast<size_t>(order)];
        SCOPED_TRACE(name);
        IDirectSoundBuffer *clip = clipSlot(order);
        ASSERT_NE(clip, nullptr);
        const Pcm pcm = readPcm(sourceDir() / "tests/clipdecoder/data" / (name + ".wav"));
        ASSERT_FALSE(pcm.data.empty());

        WAVEFORMATEX format{};
        DWORD written = 0;
        ASSERT_EQ(clip->GetFormat(&format, sizeof format, &written), DS_OK);
        EXPECT_EQ(format.wFormatTag, WAVE_FORMAT_PCM);
        EXPECT_EQ(format.nChannels, pcm.channels);
        EXPECT_EQ(format.nSamplesPerSec, static_cast<DWORD>(pcm.rate));
        EXPECT_EQ(format.wBitsPerSample, pcm.bits);
        EXPECT_EQ(format.nBlockAlign, pcm.channels * pcm.bits / 8);

        DSBCAPS caps{};
        caps.dwSize = sizeof caps;
        ASSERT_EQ(clip->GetCaps(&caps), DS_OK);
        EXPECT_EQ(caps.dwBufferBytes, pcm.data.size());

        void *region = nullptr;
        DWORD bytes = 0;
        ASSERT_EQ(clip->Lock(0, 0, &region, &bytes, nullptr, nullptr, DSBLOCK_ENTIREBUFFER), DS_OK);
        ASSERT_EQ(bytes, pcm.data.size());
        EXPECT_EQ(std::memcmp(region, pcm.data.data(), bytes), 0) << "decoded PCM differs";
        clip->Unlock(region, bytes, nullptr, 0);
    }
    EXPECT_TRUE(boxes->shown().empty());
    EXPECT_EQ(app.gdiReady, 1);
}

TEST_F(ClipBankTest, MissingClipLeavesOnlyItsSlotEmpty) {
    copyClips(folder->path(), "5en");
    ASSERT_NE(createWindow(), nullptr);
    for (int order = 0; order < 21; ++order) {
        EXPECT_EQ(clipSlot(order) == nullptr, order == 15)
            << clipNames()[static_cast<size_t>(order)];
    }
    EXPECT_TRUE(boxes->shown().empty());
    DestroyWindow(app.mainWindow);
    EXPECT_TRUE(quitRequested());
    for (int order = 0; order < 21; ++order) {
        EXPECT_EQ(clipSlot(order), nullptr) << "released at shutdown";
    }
    EXPECT_EQ(app.sound, nullptr);
}

TEST_F(ClipBankTest, NoDataFolderRunsSilentWithoutASoundMessage) {
    useNoDataFolder();
    boxes->willAnswer(IDNO); // the list file's own question; no other box may follow
    ASSERT_NE(createWindow(), nullptr);
    ASSERT_EQ(boxes->shown().size(), 1u);
    EXPECT_EQ(boxes->shown()[0].type & MB_TYPEMASK, static_cast<UINT>(MB_YESNO));
    EXPECT_NE(app.sound, nullptr);
    for (int order = 0; order < 21; ++order) {
        EXPECT_EQ(clipSlot(order), nullptr);
    }
    EXPECT_EQ(app.gdiReady, 1);
}

TEST_F(ClipBankTest, TunerFailingAtCreationOpensNoSound) {
    copyClips(folder->path());
    tuner->script.createStatus = REGDB_E_CLASSNOTREG;
    EXPECT_EQ(createWindow(), nullptr);
    EXPECT_EQ(app.sound, nullptr);
    for (int order = 0; order < 21; ++order) {
        EXPECT_EQ(clipSlot(order), nullptr);
    }
}

} // namespace
