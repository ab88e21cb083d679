// Rules of the Linux DVB tuner filter that need no device (see dvb_settings.h). Nothing here
// touches libdvbv5's state; only its enumerations are used.
#include "components/dvbtuner/dvb_settings.h"

#include <libdvbv5/dvb-frontend.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <string_view>

namespace vintorel::dvb {

namespace {

constexpr int kMaxDeviceNumber = 255;
constexpr long kMaxMHz = 30'000;
constexpr long kMaxSymbolRateKs = 1'000'000;

// Decimal digits only, no sign or blanks, 0..kMaxDeviceNumber.
std::optional<int> parseNumber(std::string_view text) {
    if (text.empty() || text.size() > 3) {
        return std::nullopt;
    }
    int value = 0;
    for (char c : text) {
        if (c < '0' || c > '9') {
            return std::nullopt;
        }
        value = value * 10 + (c - '0');
    }
    if (value > kMaxDeviceNumber) {
        return std::nullopt;
    }
    return value;
}

} // namespace

std::optional<FrontendAddress> parseTunerVariable(const char *value) {
    if (value == nullptr || *value == '\0') {
        return FrontendAddress{};
    }
    std::string_view text(value);
    if (text == "dvb") {
        return FrontendAddress{};
    }
    constexpr std::string_view prefix = "dvb:";
    if (!text.starts_with(prefix)) {
        return std::nullopt;
    }
    text.remove_prefix(prefix.size());
    const auto dot = text.find('.');
    const auto adapter = parseNumber(text.substr(0, dot));
    if (!adapter) {
        return std::nullopt;
    }
    if (dot == std::string_view::npos) {
        return FrontendAddress{*adapter, 0};
    }
    const auto frontend = parseNumber(text.substr(dot + 1));
    if (!frontend) {
        return std::nullopt;
    }
    return FrontendAddress{*adapter, *frontend};
}

std::string frontendPath(FrontendAddress address) {
    return "/dev/dvb/adapter" + std::to_string(address.adapter) + "/frontend" +
           std::to_string(address.frontend);
}

std::string printableValue(const char *value) {
    if (value == nullptr) {
        return "(unset)";
    }
    constexpr std::size_t kMaxShown = 64;
    std::string shown;
    for (const char *p = value; *p != '\0'; ++p) {
        if (shown.size() == kMaxShown) {
            shown += "...";
            break;
        }
        const auto c = static_cast<unsigned char>(*p);
        shown += (c >= 0x20 && c < 0x7f) ? static_cast<char>(c) : '?';
    }
    return shown;
}

Limits limitsFromFrontend(uint32_t frequencyMinKHz, uint32_t frequencyMaxKHz,
                          uint32_t symbolRateMin, uint32_t symbolRateMax) {
    Limits limits;
    // Satellite frontends report kHz. A value far beyond the L band is in Hz (a multi-standard
    // frontend answering for another delivery system): scale it rather than trust it blindly.
    auto toKHz = [](uint32_t v) { return v > 10'000'000 ? v / 1000 : v; };
    frequencyMinKHz = toKHz(frequencyMinKHz);
    frequencyMaxKHz = toKHz(frequencyMaxKHz);
    // A minimum of 0 means "not filled in", not a tuner that reaches down to DC.
    if (frequencyMinKHz == 0) {
        frequencyMinKHz = limits.ifMinKHz;
    }
    if (frequencyMaxKHz != 0 && frequencyMinKHz < frequencyMaxKHz) {
        limits.ifMinKHz = frequencyMinKHz;
        limits.ifMaxKHz = frequencyMaxKHz;
    }
    if (symbolRateMin != 0) {
        limits.symbolRateMin = std::max(limits.symbolRateMin, symbolRateMin);
    }
    if (symbolRateMax != 0) {
        limits.symbolRateMax = std::min(limits.symbolRateMax, symbolRateMax);
    }
    return limits;
}

bool isValidPolarity(long value) {
    return value == 0 || value == 1;
}
bool isValidBand(long value) {
    return value == 0 || value == 1;
}
bool isValidOscillator(long mhz) {
    return mhz > 0 && mhz <= kMaxMHz;
}
bool isValidFrequency(long mhz) {
    return mhz > 0 && mhz <= kMaxMHz;
}

bool isPlausibleSymbolRate(long kSymbolsPerSecond) {
    return kSymbolsPerSecond > 0 && kSymbolsPerSecond <= kMaxSymbolRateKs;
}

bool isValidSymbolRate(long kSymbolsPerSecond, const Limits &limits) {
    if (!isPlausibleSymbolRate(kSymbolsPerSecond)) {
        return false;
    }
    const auto rate = static_cast<uint32_t>(kSymbolsPerSecond) * 1000u;
    return rate >= limits.symbolRateMin && rate <= limits.symbolRateMax;
}

std::optional<uint32_t> innerFecFromProgram(long fec) {
    switch (fec) {
    case 1:
        return FEC_1_2;
    case 2:
        return FEC_2_3;
    case 3:
        return FEC_3_4;
    case 4:
        return FEC_5_6;
    case 5:
        return FEC_7_8;
    case 6:
        return FEC_AUTO;
    default:
        return std::nullopt;
    }
}

std::optional<int> diseqcPortFromProgram(long diseqc) {
    if (diseqc == 0) {
        return -1;
    }
    if (diseqc >= 1 && diseqc <= 4) {
        return static_cast<int>(diseqc - 1);
    }
    return std::nullopt;
}

uint32_t intermediateFrequencyKHz(long frequencyMHz, long oscillatorMHz) {
    const long difference = frequencyMHz - oscillatorMHz;
    return static_cast<uint32_t>(std::labs(difference)) * 1000u;
}

bool isIntermediateFrequencyInRange(uint32_t ifKHz, const Limits &limits) {
    return ifKHz >= limits.ifMinKHz && ifKHz <= limits.ifMaxKHz;
}

PlanResult makePlan(const ProgramSettings &settings, const Limits &limits) {
    PlanResult result;
    if (!settings.frequencyMHz || !settings.symbolRateKs || !settings.oscillatorMHz ||
        !settings.polarity || !settings.band) {
        result.problem = PlanProblem::Incomplete;
        return result;
    }
    const auto fec = innerFecFromProgram(settings.fec);
    const auto port = diseqcPortFromProgram(settings.diseqc);
    if (!fec || !port || !isValidPolarity(*settings.polarity) || !isValidBand(*settings.band) ||
        !isValidFrequency(*settings.frequencyMHz) || !isValidOscillator(*settings.oscillatorMHz)) {
        result.problem = PlanProblem::Other;
        return result;
    }
    if (!isValidSymbolRate(*settings.symbolRateKs, limits)) {
        result.problem = PlanProblem::SymbolRate;
        return result;
    }
    const uint32_t ifKHz =
        intermediateFrequencyKHz(*settings.frequencyMHz, *settings.oscillatorMHz);
    if (!isIntermediateFrequencyInRange(ifKHz, limits)) {
        result.problem = PlanProblem::IntermediateFrequency;
        return result;
    }
    TuningPlan plan;
    plan.ifKHz = ifKHz;
    plan.symbolRate = static_cast<uint32_t>(*settings.symbolRateKs) * 1000u;
    plan.innerFec = *fec;
    plan.voltage18 = *settings.polarity == 0;
    plan.toneOn = *settings.band == 1;
    plan.diseqcPort = *port;
    result.plan = plan;
    return result;
}

std::chrono::milliseconds lockWindow(uint32_t symbolRate) {
    constexpr double kBaseMs = 2500.0;
    constexpr double kPerInverseMsps = 2500.0;
    const double msps = std::max(symbolRate, 100'000u) / 1e6; // at most 27.5 s
    const double ms = kBaseMs + kPerInverseMsps / msps;
    return std::chrono::milliseconds(std::lround(ms / 100.0) * 100);
}

std::array<uint8_t, 4> committedSwitchCommand(int port, bool voltage18, bool toneOn) {
    // Framing E0 (command from master, no reply), address 10 (any LNB, switcher or SMATV),
    // command 38 (write N0), data: 1111 | position/option | polarisation | band.
    uint8_t data = 0xF0;
    data |= static_cast<uint8_t>((port & 0x3) << 2);
    data |= voltage18 ? 0x02 : 0x00;
    data |= toneOn ? 0x01 : 0x00;
    return {0xE0, 0x10, 0x38, data};
}

} // namespace vintorel::dvb
