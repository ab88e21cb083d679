// Listening to what was played: OpenAL Soft's wave writer records the mix to a file, which is
// read back once the device is closed and searched for the tones that were played.
#include "support.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <thread>

using namespace dsound_test;
using namespace std::chrono_literals;

namespace {

// Closes the device (which completes the file) and returns the recorded stereo mix.
Wav closeAndRead(DevicePtr &ds, std::vector<BufferPtr> &buffers) {
    buffers.clear();
    ds.reset();
    return readWav(capturePath());
}

TEST(Capture, TwoBuffersInDifferentFormatsAreMixed) {
    auto ds = openDevice();
    const WAVEFORMATEX stereo16 = pcmFormat(2, 16, 44100);
    const WAVEFORMATEX mono8 = pcmFormat(1, 8, 22050);
    std::vector<BufferPtr> buffers;
    buffers.push_back(createBuffer(*ds, stereo16, 44100 * 4 * 3 / 10)); // 0.3 s
    buffers.push_back(createBuffer(*ds, mono8, 22050 * 3 / 10));
    fillSine(*buffers[0], stereo16, 440.0, 0.4);
    fillSine(*buffers[1], mono8, 880.0, 0.4);
    for (auto &b : buffers) {
        ASSERT_EQ(b->Play(0, 0, 0), DS_OK);
    }
    for (auto &b : buffers) {
        ASSERT_TRUE(waitUntilStopped(*b));
    }

    const Wav wav = closeAndRead(ds, buffers);
    ASSERT_EQ(wav.channels, 2);
    for (int ch = 0; ch < 2; ++ch) {
        const auto signal = trimSilence(wav.channel(ch));
        ASSERT_GT(signal.size(), size_t(wav.rate / 10)) << "channel " << ch << " is silent";
        const double a440 = toneAmplitude(signal, wav.rate, 440.0);
        const double a880 = toneAmplitude(signal, wav.rate, 880.0);
        const double a660 = toneAmplitude(signal, wav.rate, 660.0);
        EXPECT_GT(a440, 0.15) << "channel " << ch;
        EXPECT_GT(a880, 0.1) << "channel " << ch;
        EXPECT_LT(a660, 0.02) << "channel " << ch;
    }
}

TEST(Capture, VolumeAndFrequencyShapeTheOutput) {
    auto ds = openDevice();
    const WAVEFORMATEX mono16 = pcmFormat(1, 16, 22050);
    std::vector<BufferPtr> buffers;
    // Half a second at 440 Hz, 6 dB down.
    buffers.push_back(createBuffer(*ds, mono16, 22050 * 2 / 2));
    fillSine(*buffers[0], mono16, 440.0, 0.4);
    ASSERT_EQ(buffers[0]->SetVolume(-600), DS_OK);
    // A second of 440 Hz played at twice its rate: half a second at 880 Hz, full volume.
    buffers.push_back(createBuffer(*ds, mono16, 22050 * 2));
    fillSine(*buffers[1], mono16, 440.0, 0.4);
    ASSERT_EQ(buffers[1]->SetFrequency(44100), DS_OK);
    for (auto &b : buffers) {
        ASSERT_EQ(b->Play(0, 0, 0), DS_OK);
    }
    for (auto &b : buffers) {
        ASSERT_TRUE(waitUntilStopped(*b));
    }

    const Wav wav = closeAndRead(ds, buffers);
    const auto signal = trimSilence(wav.channel(0));
    ASSERT_GT(signal.size(), size_t(wav.rate / 10));
    const double a440 = toneAmplitude(signal, wav.rate, 440.0);
    const double a880 = toneAmplitude(signal, wav.rate, 880.0);
    ASSERT_GT(a880, 0.05) << "the faster buffer should sound an octave up";
    EXPECT_NEAR(a440 / a880, 0.5, 0.1) << "-600 is about half the amplitude";
}

TEST(Capture, PanSetsTheLevelDifferenceBetweenTheSides) {
    const struct {
        LONG pan;
        double minDecibels; // left minus right
        double maxDecibels;
    } cases[] = {{DSBPAN_CENTER, -0.5, 0.5},
                 {-600, 4.0, 8.0},
                 {1200, -14.5, -9.5},
                 {DSBPAN_RIGHT, -200.0, -40.0}};
    for (const auto &c : cases) {
        auto ds = openDevice();
        const WAVEFORMATEX mono16 = pcmFormat(1, 16, 22050);
        std::vector<BufferPtr> buffers;
        buffers.push_back(createBuffer(*ds, mono16, 22050 * 2 / 5));
        fillSine(*buffers[0], mono16, 440.0, 0.4);
        ASSERT_EQ(buffers[0]->SetPan(c.pan), DS_OK);
        ASSERT_EQ(buffers[0]->Play(0, 0, 0), DS_OK);
        ASSERT_TRUE(waitUntilStopped(*buffers[0]));

        const Wav wav = closeAndRead(ds, buffers);
        const double left = toneAmplitude(wav.channel(0), wav.rate, 440.0);
        const double right = toneAmplitude(wav.channel(1), wav.rate, 440.0);
        ASSERT_GT(std::max(left, right), 0.01) << "pan " << c.pan << " is silent";
        const double decibels = 20.0 * std::log10(std::max(left, 1e-9) / std::max(right, 1e-9));
        EXPECT_GE(decibels, c.minDecibels) << "pan " << c.pan;
        EXPECT_LE(decibels, c.maxDecibels) << "pan " << c.pan;
    }
}

TEST(Capture, DataUnlockedWhilePlayingIsHeard) {
    auto ds = openDevice();
    const WAVEFORMATEX mono16 = pcmFormat(1, 16, 22050);
    std::vector<BufferPtr> buffers;
    buffers.push_back(createBuffer(*ds, mono16, 22050 * 2 / 5)); // 0.2 s of silence
    auto &b = *buffers[0];
    ASSERT_EQ(b.Play(0, 0, DSBPLAY_LOOPING), DS_OK);
    std::this_thread::sleep_for(100ms);
    fillSine(b, mono16, 440.0, 0.4); // Lock + Unlock while looping
    EXPECT_TRUE(status(b) & DSBSTATUS_PLAYING);
    std::this_thread::sleep_for(300ms);
    ASSERT_EQ(b.Stop(), DS_OK);

    const Wav wav = closeAndRead(ds, buffers);
    const auto signal = trimSilence(wav.channel(0));
    ASSERT_GT(signal.size(), size_t(wav.rate / 10)) << "the new data was never played";
    EXPECT_GT(toneAmplitude(signal, wav.rate, 440.0), 0.1);
}

} // namespace
