// The simulated sky. Carrier-to-noise ratios are typical of an 80 cm dish in central Europe.
#include "sky.h"

#include <array>

namespace vintorel::sim {

namespace {

constexpr Modulation Q = Modulation::Qpsk;
constexpr Modulation P8 = Modulation::Psk8;

constexpr std::array<Transponder, 6> kAstra = {{
    {11494, 0, 22000, Q, {2, 3}},
    {11538, 1, 22000, Q, {5, 6}},
    {11836, 0, 27500, Q, {3, 4}},
    {12188, 0, 27500, Q, {3, 4}},
    {12515, 0, 22000, Q, {5, 6}},
    {12603, 0, 22000, P8, {2, 3}},
}};

constexpr std::array<Transponder, 5> kEutelsat36 = {{
    {11766, 0, 27500, Q, {3, 4}},
    {12015, 1, 27500, Q, {3, 4}},
    {12226, 0, 27500, Q, {3, 4}},
    {12360, 0, 26480, Q, {3, 4}},
    {12380, 1, 27500, P8, {3, 4}},
}};

constexpr std::array<Transponder, 5> kHotBird = {{
    {10723, 0, 29900, P8, {3, 4}},
    {10971, 0, 29700, Q, {2, 3}},
    {11034, 1, 27500, Q, {3, 4}},
    {11766, 0, 27500, Q, {2, 3}},
    {12597, 1, 27500, Q, {3, 4}},
}};

constexpr std::array<Transponder, 6> kSirius = {{
    {3875, 0, 27500, Q, {3, 4}}, // C band, for a C-band LNB
    {4180, 1, 14400, Q, {2, 3}}, // C band
    {11727, 1, 27500, Q, {3, 4}},
    {12073, 0, 27500, Q, {3, 4}},
    {12465, 0, 10787, Q, {3, 4}},
    {12640, 1, 27500, Q, {7, 8}},
}};

constexpr std::array<Satellite, 4> kSky = {{
    {"Astra 19.2E", 19.2, 15.5, kAstra},
    {"Eutelsat 36.0E", 36.0, 14.0, kEutelsat36},
    {"Hot Bird 13.0E", 13.0, 16.0, kHotBird},
    {"Sirius 5.0E", 5.0, 13.5, kSirius},
}};

} // namespace

std::span<const Satellite> sky() {
    return kSky;
}

double lockThresholdDb(Modulation modulation, CodeRate rate) {
    struct Row {
        Modulation modulation;
        int num, den;
        double db;
    };
    static constexpr Row kRows[] = {
        {Modulation::Qpsk, 1, 2, 4.1}, {Modulation::Qpsk, 2, 3, 5.9},
        {Modulation::Qpsk, 3, 4, 6.9}, {Modulation::Qpsk, 5, 6, 7.9},
        {Modulation::Qpsk, 7, 8, 8.4}, {Modulation::Psk8, 3, 5, 5.5},
        {Modulation::Psk8, 2, 3, 6.6}, {Modulation::Psk8, 3, 4, 7.9},
        {Modulation::Psk8, 5, 6, 9.4}, {Modulation::Psk8, 8, 9, 10.7},
    };
    for (const Row &row : kRows) {
        if (row.modulation == modulation && row.num == rate.num && row.den == rate.den) {
            return row.db;
        }
    }
    return modulation == Modulation::Qpsk ? 6.9 : 7.9;
}

} // namespace vintorel::sim
