// Turning a DVB frontend's statistics into the two numbers the program shows: the
// carrier-to-noise ratio in dB and a 0..100 quality. The quality of a locked signal is its CNR
// margin above the quasi-error-free threshold of the locked modulation and code rate; before
// lock it is the card's relative signal strength. No device access here.
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

// Rules for scales without a physical unit.
inline constexpr double kRelativeCnrFullScaleDb = 20.0; // relative 65535 reads as 20 dB
inline constexpr double kStrengthFloorDbm = -75.0;      // 0 % strength
inline constexpr double kStrengthCeilingDbm = -25.0;    // 100 % strength
inline constexpr double kQualitySpanDb = 10.0;          // threshold + 10 dB = 100 %

// CNR in dB: decibel scale as is, relative scale linearly 0..65535 -> 0..20 dB.
std::optional<double> cnrDb(const Stat &cnr);

// The quasi-error-free Es/N0 in dB for a delivery system (SYS_DVBS, SYS_DVBS2), modulation
// (QPSK, PSK_8, APSK_16, APSK_32) and code rate (FEC_*). Unknown or automatic values take the
// 3/4 rate of that system's modulation (QPSK when the modulation is unknown).
double qefThresholdDb(uint32_t deliverySystem, uint32_t modulation, uint32_t innerFec);

// 0 at the threshold, 100 at threshold + 10 dB, linear and clamped, rounded to the nearest.
long qualityFromMargin(double cnrDb, double thresholdDb);

// Strength as 0..100: relative scale linearly, decibel scale from -75 dBm (0) to -25 dBm (100).
std::optional<long> qualityFromStrength(const Stat &strength);

} // namespace vintorel::dvb
