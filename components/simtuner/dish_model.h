// The receiving chain of the simulated card and a dish that a person is turning: what the card
// measures for the settings the program sent, at a given time after tuning.
//  - The LNB: a universal Ku-band LNB (oscillator 9750 MHz, 10600 MHz with the 22 kHz tone for
//    the high band) unless the program set the C-band oscillator (5150 MHz), which means a C-band
//    LNB. The card tunes |frequency - oscillator set by the program|; the signal of a transponder
//    arrives at |its frequency - the LNB's real oscillator| on the polarity the voltage selects.
//  - Lock needs that intermediate frequency within a fraction of the symbol rate, the symbol
//    rate within a small tolerance, and C/N above the threshold of the transponder's modulation.
//  - The dish sweeps slowly past the satellite (pointing error A cos(2 pi t / T)), losing
//    12 (error / beam width)^2 dB; C/N carries a little noise from a seeded generator.
#pragma once

#include "sky.h"

#include <cstdint>
#include <optional>
#include <random>

namespace vintorel::sim {

struct CardSettings {
    LONG frequencyMHz = 0;
    LONG symbolRate = 0;
    LONG lnbFrequency = 0;
    LONG polarity = 0;
    LONG lnbSelection = 0;
};

struct DishMotion {
    double amplitudeDeg = 3.0;   // the sweep reaches this far to either side
    double periodSeconds = 40.0; // one full swing; the satellite is passed twice per period
};

constexpr double kBeamWidthDeg = 2.2;         // half-power beam width of an 80 cm dish at 11.7 GHz
constexpr double kFrequencyTolerance = 0.25;  // of the symbol rate
constexpr double kSymbolRateTolerance = 0.02; // relative
constexpr double kNoiseDb = 0.15;             // standard deviation of the C/N noise
constexpr double kQualitySpanDb = 10.0;       // margin above the threshold that reads 100 %

struct Reading {
    bool locked = false;
    LONG quality = 0;   // 0..100
    float snrDb = 0.0f; // C/N in dB
};

// The transponder these settings receive, or none (wrong band, oscillator, polarity, symbol
// rate or frequency).
struct Found {
    const Satellite *satellite;
    const Transponder *transponder;
};
std::optional<Found> findTransponder(const CardSettings &settings);

double pointingErrorDeg(const DishMotion &motion, double seconds);
double pointingLossDb(double errorDeg);

// What the card measures `seconds` after tuning.
Reading measure(const CardSettings &settings, const DishMotion &motion, double seconds,
                std::mt19937 &noise);

} // namespace vintorel::sim
