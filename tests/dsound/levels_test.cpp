// The pure conversions from DirectSound controls to OpenAL source parameters.
#include "dsound/levels.h"

#include <dsound.h>
#include <gtest/gtest.h>

#include <cmath>

using namespace vintorel::dsound;

namespace {

TEST(Levels, VolumeIsHundredthsOfADecibel) {
    const struct {
        LONG volume;
        float gain;
    } cases[] = {{DSBVOLUME_MAX, 1.0f},
                 {-600, 0.5012f},
                 {-2000, 0.1f},
                 {-4000, 0.01f},
                 {-9999, 1.0e-5f},
                 {DSBVOLUME_MIN, 0.0f},
                 {DSBVOLUME_MIN - 5, 0.0f},
                 {10, 1.0f}};
    for (const auto &c : cases) {
        EXPECT_NEAR(volumeToGain(c.volume), c.gain, c.gain * 1e-3f + 1e-7f) << c.volume;
    }
}

TEST(Levels, PanPlacesTheSourceOnAFrontHalfCircle) {
    const SourcePosition centre = panToPosition(DSBPAN_CENTER);
    EXPECT_FLOAT_EQ(centre.x, 0.0f);
    EXPECT_FLOAT_EQ(centre.z, -1.0f);
    EXPECT_NEAR(panToPosition(DSBPAN_RIGHT).x, 1.0f, 1e-3f);
    EXPECT_NEAR(panToPosition(DSBPAN_LEFT).x, -1.0f, 1e-3f);
    // Within the range one can hear, every step moves the sound.
    EXPECT_LT(panToPosition(-600).x, panToPosition(-300).x);
    EXPECT_LT(panToPosition(-300).x, 0.0f);
    EXPECT_LT(panToPosition(-2000).x, panToPosition(-600).x);
    float previous = -2.0f;
    for (LONG pan = DSBPAN_LEFT; pan <= DSBPAN_RIGHT; pan += 250) {
        const SourcePosition p = panToPosition(pan);
        EXPECT_GE(p.x, previous) << pan; // never moves back towards the left
        EXPECT_NEAR(p.x, -panToPosition(-pan).x, 1e-6f) << pan;
        EXPECT_NEAR(p.x * p.x + p.z * p.z, 1.0f, 1e-5f) << pan;
        EXPECT_LE(p.z, 1e-6f) << pan; // never behind the listener
        previous = p.x;
    }
}

TEST(Levels, FrequencyIsPitchAgainstTheBufferRate) {
    EXPECT_FLOAT_EQ(frequencyToPitch(22050, 22050), 1.0f);
    EXPECT_FLOAT_EQ(frequencyToPitch(44100, 22050), 2.0f);
    EXPECT_FLOAT_EQ(frequencyToPitch(11025, 22050), 0.5f);
    EXPECT_FLOAT_EQ(frequencyToPitch(8000, 0), 1.0f);
}

} // namespace
