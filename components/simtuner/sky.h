// The simulated sky: four satellites with a handful of transponders each, including the four
// of the default satellite list, as the receiving chain of a simulated dish sees them.
#pragma once

#include <windows.h>

#include <span>

namespace vintorel::sim {

enum class Modulation { Qpsk, Psk8 };

// Code rates as numerator/denominator.
struct CodeRate {
    int num;
    int den;
};

struct Transponder {
    LONG frequencyMHz;
    LONG polarity;   // 0 horizontal, 1 vertical
    LONG symbolRate; // kS/s
    Modulation modulation;
    CodeRate rate;
};

struct Satellite {
    const char *name;
    double longitudeEast;    // degrees
    double carrierToNoiseDb; // C/N with the dish exactly on the satellite (80 cm dish)
    std::span<const Transponder> transponders;
};

std::span<const Satellite> sky();

// C/N (Es/N0) in dB below which a receiver cannot lock to this modulation and code rate
// (quasi-error-free figures of DVB-S for QPSK and of DVB-S2 for 8PSK).
double lockThresholdDb(Modulation modulation, CodeRate rate);

} // namespace vintorel::sim
