// The dish model's arithmetic; see dish_model.h.
#include "dish_model.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace vintorel::sim {

namespace {

constexpr LONG kLowOscillator = 9750;
constexpr LONG kHighOscillator = 10600;
constexpr LONG kCBandOscillator = 5150;
constexpr double kPi = 3.14159265358979323846;

// The oscillator the LNB on the dish really uses for these settings.
LONG realOscillator(const CardSettings &s) {
    if (s.lnbFrequency == kCBandOscillator) {
        return kCBandOscillator;
    }
    return s.lnbSelection == 1 ? kHighOscillator : kLowOscillator;
}

// The band a universal LNB passes with its oscillator; a C-band LNB passes 3400..4200 MHz.
bool inBand(LONG oscillator, LONG frequency) {
    switch (oscillator) {
    case kCBandOscillator:
        return frequency >= 3400 && frequency <= 4200;
    case kLowOscillator:
        return frequency >= 10700 && frequency < 11700;
    default:
        return frequency >= 11700 && frequency <= 12750;
    }
}

} // namespace

std::optional<Found> findTransponder(const CardSettings &s) {
    if (s.lnbFrequency <= 0 || s.frequencyMHz <= 0 || s.symbolRate <= 0) {
        return std::nullopt;
    }
    const LONG tunedIf = std::labs(s.frequencyMHz - s.lnbFrequency);
    const LONG oscillator = realOscillator(s);
    for (const Satellite &sat : sky()) {
        for (const Transponder &t : sat.transponders) {
            if (t.polarity != s.polarity || !inBand(oscillator, t.frequencyMHz)) {
                continue;
            }
            const LONG signalIf = std::labs(t.frequencyMHz - oscillator);
            const double offsetMHz = std::abs(static_cast<double>(signalIf - tunedIf));
            const double symbolRateMHz = t.symbolRate / 1000.0;
            const double rateError =
                std::abs(static_cast<double>(s.symbolRate - t.symbolRate)) / t.symbolRate;
            if (offsetMHz <= kFrequencyTolerance * symbolRateMHz &&
                rateError <= kSymbolRateTolerance) {
                return Found{&sat, &t};
            }
        }
    }
    return std::nullopt;
}

double pointingErrorDeg(const DishMotion &motion, double seconds) {
    return motion.amplitudeDeg * std::cos(2.0 * kPi * seconds / motion.periodSeconds);
}

double pointingLossDb(double errorDeg) {
    const double ratio = errorDeg / kBeamWidthDeg;
    return 12.0 * ratio * ratio;
}

Reading measure(const CardSettings &settings, const DishMotion &motion, double seconds,
                std::mt19937 &noise) {
    Reading r;
    const std::optional<Found> found = findTransponder(settings);
    std::normal_distribution<double> jitter(0.0, kNoiseDb);
    const double n = jitter(noise); // drawn every time, so a seed repeats whatever is tuned
    if (!found) {
        return r;
    }
    const double cn =
        found->satellite->carrierToNoiseDb - pointingLossDb(pointingErrorDeg(motion, seconds)) + n;
    const double threshold =
        lockThresholdDb(found->transponder->modulation, found->transponder->rate);
    if (cn < threshold) {
        return r;
    }
    r.locked = true;
    r.snrDb = static_cast<float>(cn);
    const double percent = (cn - threshold) / kQualitySpanDb * 100.0;
    r.quality = static_cast<LONG>(std::lround(std::clamp(percent, 0.0, 100.0)));
    return r;
}

} // namespace vintorel::sim
