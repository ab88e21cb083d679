// Quality and S/N from a locked DVB frontend's statistics (see signal_quality.h). The thresholds
// are the quasi-error-free Es/N0 figures of the DVB-S and DVB-S2 standards (AWGN channel, DVB-S2
// normal frames, no pilots); a real receiver needs a little more, which only shifts the scale.
#include "components/dvbtuner/signal_quality.h"

#include <libdvbv5/dvb-frontend.h>

#include <algorithm>
#include <cmath>
#include <iterator>

namespace vintorel::dvb {

namespace {

struct Threshold {
    uint32_t modulation;
    uint32_t fec;
    double esN0Db;
};

// DVB-S: QPSK with Viterbi and Reed-Solomon (188/204), Es/N0 for QEF.
constexpr Threshold kDvbS[] = {
    {QPSK, FEC_1_2, 4.1}, {QPSK, FEC_2_3, 5.9}, {QPSK, FEC_3_4, 6.9},
    {QPSK, FEC_5_6, 7.9}, {QPSK, FEC_7_8, 8.4},
};

// DVB-S2: LDPC + BCH, normal frames.
constexpr Threshold kDvbS2[] = {
    {QPSK, FEC_2_5, -0.30},    {QPSK, FEC_1_2, 1.00},      {QPSK, FEC_3_5, 2.23},
    {QPSK, FEC_2_3, 3.10},     {QPSK, FEC_3_4, 4.03},      {QPSK, FEC_4_5, 4.68},
    {QPSK, FEC_5_6, 5.18},     {QPSK, FEC_8_9, 6.20},      {QPSK, FEC_9_10, 6.42},
    {PSK_8, FEC_3_5, 5.50},    {PSK_8, FEC_2_3, 6.62},     {PSK_8, FEC_3_4, 7.91},
    {PSK_8, FEC_5_6, 9.35},    {PSK_8, FEC_8_9, 10.69},    {PSK_8, FEC_9_10, 10.98},
    {APSK_16, FEC_2_3, 8.97},  {APSK_16, FEC_3_4, 10.21},  {APSK_16, FEC_4_5, 11.03},
    {APSK_16, FEC_5_6, 11.61}, {APSK_16, FEC_8_9, 12.89},  {APSK_16, FEC_9_10, 13.13},
    {APSK_32, FEC_3_4, 12.73}, {APSK_32, FEC_4_5, 13.64},  {APSK_32, FEC_5_6, 14.28},
    {APSK_32, FEC_8_9, 15.69}, {APSK_32, FEC_9_10, 16.05},
};

template <std::size_t N>
std::optional<double> lookUp(const Threshold (&table)[N], uint32_t modulation, uint32_t fec) {
    const auto it = std::find_if(std::begin(table), std::end(table), [&](const Threshold &t) {
        return t.modulation == modulation && t.fec == fec;
    });
    if (it == std::end(table)) {
        return std::nullopt;
    }
    return it->esN0Db;
}

double relativePercent(uint64_t value) {
    return static_cast<double>(std::min<uint64_t>(value, 65535)) / 65535.0 * 100.0;
}

} // namespace

LegacySnrUnit legacySnrUnit(uint64_t largestLockedValue) {
    if (largestLockedValue <= kLegacyTenthDbMax) {
        return LegacySnrUnit::TenthDb;
    }
    if (largestLockedValue <= kLegacyDb256Max) {
        return LegacySnrUnit::Db256;
    }
    return LegacySnrUnit::Relative;
}

double qefThresholdDb(uint32_t deliverySystem, uint32_t modulation, uint32_t innerFec) {
    if (deliverySystem == SYS_DVBS2) {
        const bool knownModulation = modulation == QPSK || modulation == PSK_8 ||
                                     modulation == APSK_16 || modulation == APSK_32;
        const uint32_t mod = knownModulation ? modulation : static_cast<uint32_t>(QPSK);
        if (const auto t = lookUp(kDvbS2, mod, innerFec)) {
            return *t;
        }
        return *lookUp(kDvbS2, mod, FEC_3_4);
    }
    if (const auto t = lookUp(kDvbS, QPSK, innerFec)) {
        return *t;
    }
    return *lookUp(kDvbS, QPSK, FEC_3_4);
}

double marginPercent(double cnrDb, double thresholdDb) {
    if (!std::isfinite(cnrDb) || !std::isfinite(thresholdDb)) {
        return 0.0;
    }
    return std::clamp((cnrDb - thresholdDb) / kQualitySpanDb * 100.0, 0.0, 100.0);
}

std::optional<double> strengthPercent(const Stat &strength) {
    switch (strength.scale) {
    case StatScale::Relative:
        return relativePercent(strength.uvalue);
    case StatScale::Decibel: {
        const double dbm = static_cast<double>(strength.svalue) / 1000.0;
        const double percent =
            (dbm - kStrengthFloorDbm) / (kStrengthCeilingDbm - kStrengthFloorDbm) * 100.0;
        return std::clamp(percent, 0.0, 100.0);
    }
    default:
        return std::nullopt;
    }
}

Shown showLocked(const LockedReading &reading) {
    std::optional<double> percent;
    std::optional<double> db;
    const Stat &cnr = reading.cnr;
    if (cnr.scale == StatScale::Decibel) {
        db = static_cast<double>(cnr.svalue) / 1000.0;
        percent = marginPercent(*db, reading.thresholdDb);
    } else if (cnr.scale == StatScale::Relative && !reading.legacyCnr) {
        percent = relativePercent(cnr.uvalue);
    } else if (cnr.scale == StatScale::Relative) {
        const auto raw = static_cast<double>(std::min<uint64_t>(cnr.uvalue, 65535));
        switch (reading.legacyUnit) {
        case LegacySnrUnit::TenthDb:
            percent = marginPercent(raw / 10.0, reading.thresholdDb);
            break;
        case LegacySnrUnit::Db256:
            percent = marginPercent(raw / 256.0, reading.thresholdDb);
            break;
        case LegacySnrUnit::Relative:
            percent = relativePercent(cnr.uvalue);
            break;
        }
    } else {
        percent = strengthPercent(reading.strength);
    }
    Shown shown;
    // Locked is never shown as "no signal": at least 1 %, so the lamp and the tone follow the lock.
    shown.quality = std::max(1L, std::lround(percent.value_or(0.0)));
    if (db) {
        shown.snr = std::isfinite(*db) ? static_cast<float>(*db) : 0.0f;
    } else {
        shown.snr = static_cast<float>(std::clamp(percent.value_or(0.0), 0.0, kMaxShownPercent));
    }
    return shown;
}

} // namespace vintorel::dvb
