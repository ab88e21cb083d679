// Rules of the Linux DVB tuner filter that need no device: where the card's frontend is
// (VINTOREL_TUNER), which of the program's values a card can take, and what the program's LNB
// settings mean on the cable (intermediate frequency, LNB voltage, 22 kHz tone, DiSEqC switch
// command), and how long one acquisition attempt lasts. It does not talk to libdvbv5 or the
// kernel; dvb_frontend.h does.
#pragma once

#include <array>
#include <chrono>
#include <cstdint>
#include <optional>
#include <string>

namespace vintorel::dvb {

// /dev/dvb/adapterA/frontendF.
struct FrontendAddress {
    int adapter = 0;
    int frontend = 0;
    bool operator==(const FrontendAddress &) const = default;
};

// VINTOREL_TUNER: unset or empty, "dvb", "dvb:A" or "dvb:A.F" (decimal, 0..255 each).
// Anything else is refused (nullopt): the module was chosen for a value it cannot serve.
std::optional<FrontendAddress> parseTunerVariable(const char *value);
std::string frontendPath(FrontendAddress address);
// A value made safe to echo in a one-line message (printable ASCII, bounded length).
std::string printableValue(const char *value);

// What the card can take. Frequencies of the intermediate band in kHz, symbol rates in S/s.
struct Limits {
    uint32_t ifMinKHz = 950'000;
    uint32_t ifMaxKHz = 2'150'000;
    uint32_t symbolRateMin = 1'000'000;
    uint32_t symbolRateMax = 45'000'000;
};
// The frontend's own ranges (from FE_GET_INFO) narrowed to what a satellite card can take;
// zeros (not reported) keep the defaults.
Limits limitsFromFrontend(uint32_t frequencyMinKHz, uint32_t frequencyMaxKHz,
                          uint32_t symbolRateMin, uint32_t symbolRateMax);

// The program's values, each checked on its own.
bool isValidPolarity(long value); // 0 horizontal, 1 vertical
bool isValidBand(long value);     // 0 low band, 1 high band
bool isValidOscillator(long mhz); // any LNB local oscillator 1..30000 MHz
bool isValidFrequency(long mhz);  // 1..30000 MHz
// 1..1000000 kS/s: anything a card could be asked for (the card's own range comes later).
bool isPlausibleSymbolRate(long kSymbolsPerSecond);
// Within the card's range.
bool isValidSymbolRate(long kSymbolsPerSecond, const Limits &limits);
// The program's FEC code: 1..5 = DVB-S 1/2, 2/3, 3/4, 5/6, 7/8; 6 = automatic (what the
// program always sends). Returns the kernel's fe_code_rate value, nullopt when refused.
std::optional<uint32_t> innerFecFromProgram(long fec);
// The program's DiSEqC code: 0 = no command; 1..4 = committed switch input 1..4 (port 0..3).
// Returns the port, -1 for none, nullopt when refused.
std::optional<int> diseqcPortFromProgram(long diseqc);

// |transponder - oscillator| in kHz; C-band (5150) gives an inverted spectrum, same magnitude.
uint32_t intermediateFrequencyKHz(long frequencyMHz, long oscillatorMHz);
bool isIntermediateFrequencyInRange(uint32_t ifKHz, const Limits &limits);

// Everything the card needs for one transponder.
struct TuningPlan {
    uint32_t ifKHz = 0;
    uint32_t symbolRate = 0; // S/s
    uint32_t innerFec = 0;   // fe_code_rate
    bool voltage18 = false;  // 18 V selects horizontal, 13 V vertical
    bool toneOn = false;     // 22 kHz selects the high band
    int diseqcPort = -1;     // -1: no DiSEqC command
    bool operator==(const TuningPlan &) const = default;
};

// The values as the program last set them.
struct ProgramSettings {
    std::optional<long> frequencyMHz;
    std::optional<long> symbolRateKs;
    std::optional<long> oscillatorMHz;
    std::optional<long> polarity;
    std::optional<long> band;
    long fec = 6;
    long diseqc = 0;
    bool operator==(const ProgramSettings &) const = default;
};

enum class PlanProblem { None, Incomplete, IntermediateFrequency, SymbolRate, Other };
struct PlanResult {
    std::optional<TuningPlan> plan;
    PlanProblem problem = PlanProblem::None;
};
PlanResult makePlan(const ProgramSettings &settings, const Limits &limits);

// How long one acquisition attempt (one delivery system, one modulation) gets to lock before
// the next is tried. Demodulators search carrier offsets in steps of a fraction of the symbol
// rate and need a fixed number of symbols per step, so a low rate needs longer:
// 2.5 s + 2.5 s x (1 MS/s / rate), rounded to 100 ms (2.6 s at 27.5 MS/s, 5 s at 1 MS/s).
// Drivers report no acquisition time to user space, so this is the same for every card.
std::chrono::milliseconds lockWindow(uint32_t symbolRate);

// DiSEqC 1.0 "write to port group 0" (committed switches) for the given input.
std::array<uint8_t, 4> committedSwitchCommand(int port, bool voltage18, bool toneOn);

} // namespace vintorel::dvb
