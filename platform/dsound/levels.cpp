// DirectSound volume, pan and frequency as OpenAL gain, position and pitch (see levels.h).
// Does not clamp or validate: the buffer checks ranges before converting.
#include "dsound/levels.h"

#include <dsound.h>

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <iterator>
#include <numbers>

namespace vintorel::dsound {

float volumeToGain(LONG volume) {
    if (volume <= DSBVOLUME_MIN) {
        return 0.0f;
    }
    if (volume >= DSBVOLUME_MAX) {
        return 1.0f;
    }
    return static_cast<float>(std::pow(10.0, static_cast<double>(volume) / 2000.0));
}

SourcePosition panToPosition(LONG pan) {
    // DirectSound lowers the side away from the pan by |pan| hundredths of a decibel. OpenAL
    // only places a mono source, so pick the angle at which OpenAL Soft's stereo panning
    // gives that difference (measured on its default stereo output: about 0.4 dB per degree
    // near the centre, the far side silent from 60 degrees on).
    struct Step {
        double decibels;
        double degrees;
    };
    static constexpr Step kLaw[] = {{0.0, 0.0},   {1.9, 5.0},   {3.9, 10.0},  {5.9, 15.0},
                                    {8.0, 20.0},  {10.2, 25.0}, {12.7, 30.0}, {15.4, 35.0},
                                    {18.6, 40.0}, {22.5, 45.0}, {27.6, 50.0}, {35.5, 55.0},
                                    {50.0, 60.0}, {100.0, 90.0}};
    const double decibels = std::min(std::abs(static_cast<double>(pan)) / 100.0, 100.0);
    double degrees = 90.0;
    for (std::size_t i = 1; i < std::size(kLaw); ++i) {
        if (decibels <= kLaw[i].decibels) {
            const Step &a = kLaw[i - 1];
            const Step &b = kLaw[i];
            degrees = a.degrees +
                      (decibels - a.decibels) / (b.decibels - a.decibels) * (b.degrees - a.degrees);
            break;
        }
    }
    const double angle = (pan < 0 ? -degrees : degrees) * std::numbers::pi / 180.0;
    return {static_cast<float>(std::sin(angle)), 0.0f, static_cast<float>(-std::cos(angle))};
}

float frequencyToPitch(DWORD frequency, DWORD sampleRate) {
    if (sampleRate == 0) {
        return 1.0f;
    }
    return static_cast<float>(static_cast<double>(frequency) / static_cast<double>(sampleRate));
}

} // namespace vintorel::dsound
