// Turning a DVB frontend's statistics into the two numbers the program shows, for a locked
// signal only: a 0..100 quality and the S/N. With a carrier-to-noise ratio in dB (DVBv5
// statistics), quality is its margin above the quasi-error-free threshold of the locked
// modulation and code rate, and S/N is that dB value. Without one, quality is a relative
// reading and S/N repeats it as a percentage, never as dB. No device access here.
#pragma once

#include <cstdint>
#include <optional>

namespace vintorel::dvb {

// One statistic as the kernel reports it (struct dtv_stats), with its scale.
enum class StatScale { NotAvailable, Decibel, Relative, Counter };
struct Stat {
    StatScale scale = StatScale::NotAvailable;
    int64_t svalue = 0;  // Decibel: 0.001 dB (or dBm for strength)
    uint64_t uvalue = 0; // Relative: 0..65535
};

inline constexpr double kStrengthFloorDbm = -75.0;   // 0 % strength
inline constexpr double kStrengthCeilingDbm = -25.0; // 100 % strength
inline constexpr double kQualitySpanDb = 10.0;       // threshold + 10 dB = 100 %
inline constexpr double kMaxShownPercent = 99.9;     // what four characters of S/N can hold

// The unit of the old FE_READ_SNR answer, which has none defined: drivers use 0.1 dB,
// 1/256 dB (8.8 fixed point) or a 0..65535 relative scale. A satellite carrier stays below
// 40 dB, so the largest value a locked signal has given tells them apart: up to 400 it is
// 0.1 dB, up to 10240 (40 * 256) 1/256 dB, above that relative.
enum class LegacySnrUnit { TenthDb, Db256, Relative };
inline constexpr uint64_t kLegacyTenthDbMax = 400;
inline constexpr uint64_t kLegacyDb256Max = 10'240;
LegacySnrUnit legacySnrUnit(uint64_t largestLockedValue);

// The quasi-error-free Es/N0 in dB for a delivery system (SYS_DVBS, SYS_DVBS2), modulation
// (QPSK, PSK_8, APSK_16, APSK_32) and code rate (FEC_*). Unknown or automatic values take the
// 3/4 rate of that system's modulation (QPSK when the modulation is unknown).
double qefThresholdDb(uint32_t deliverySystem, uint32_t modulation, uint32_t innerFec);

// 0 at the threshold, 100 at threshold + 10 dB, linear and clamped.
double marginPercent(double cnrDb, double thresholdDb);

// Strength as 0..100: relative scale linearly, decibel scale from -75 dBm (0) to -25 dBm (100).
std::optional<double> strengthPercent(const Stat &strength);

// What a locked frontend reported, and how to read it.
struct LockedReading {
    Stat cnr;
    bool legacyCnr = false; // the CNR came from FE_READ_SNR (libdvbv5 files it as relative)
    LegacySnrUnit legacyUnit = LegacySnrUnit::Relative;
    Stat strength;
    double thresholdDb = 0.0;
};
struct Shown {
    long quality = 0; // 1..100 for a locked signal, so that the lamp shows the lock
    float snr = 0.0f; // dB with decibel statistics, otherwise the quality's percentage
};
// In order of preference: CNR in dB (margin); a relative CNR (its percentage); a legacy SNR
// in dB units (margin); signal strength (its percentage); nothing (1 %, the lock alone).
Shown showLocked(const LockedReading &reading);

} // namespace vintorel::dvb
