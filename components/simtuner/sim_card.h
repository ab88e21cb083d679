// The simulated tuner card: a filter object with the tuner control interface that accepts the
// program's settings and reports a steady locked signal, unless a script (VINTOREL_SIM_SCRIPT)
// says otherwise. Every call it receives can be logged to a file (VINTOREL_SIM_LOG), one line
// per call, flushed at once:  "setFec 6 -> 0x00000000", "getQuality -> 0x00000000 quality=57".
#pragma once

#include "sim_script.h"
#include "tuner_filter_base.h"

#include <cstdio>
#include <string>

namespace vintorel::sim {

struct SimOptions {
    std::string logPath;    // empty: no log
    std::string scriptPath; // empty: no script
};

// Options from VINTOREL_SIM_LOG and VINTOREL_SIM_SCRIPT.
SimOptions optionsFromEnvironment();

// The readings when no script says otherwise.
constexpr LONG kSteadyQuality = 75;
constexpr float kSteadySnr = 10.2f;

class SimCard final : public TunerFilterBase {
  public:
    // Makes a card and hands out the requested interface; logs "create -> STATUS". A script
    // that cannot be read or parsed is reported on stderr and the card refuses to be created.
    static HRESULT create(const SimOptions &options, REFIID riid, void **object);

    STDMETHODIMP setTransponderFrequency(LONG frequencyMHz) override;
    STDMETHODIMP setSymbolRate(LONG symbolRate) override;
    STDMETHODIMP setLnbFrequency(LONG oscillatorMHz) override;
    STDMETHODIMP setFec(LONG fec) override;
    STDMETHODIMP setPolarity(LONG polarity) override;
    STDMETHODIMP setLnbSelection(LONG highBand) override;
    STDMETHODIMP setDiseqc(LONG diseqc) override;
    STDMETHODIMP initialize() override;
    STDMETHODIMP applyTuning() override;
    STDMETHODIMP refreshMeasurement() override;
    STDMETHODIMP getSnr(FLOAT *snr) override;
    STDMETHODIMP getQuality(LONG *quality) override;

  protected:
    HRESULT filterQueryInterface(REFIID riid, HRESULT hr) override;
    void onAddRef(ULONG count) override;
    void onRelease(ULONG count) override;

  private:
    SimCard(Script script, std::FILE *log);
    ~SimCard() override;

    HRESULT answer(const char *operation, std::optional<LONG> argument, HRESULT normal) const;
    HRESULT setting(const char *operation, LONG value, LONG *field);
    void log(const char *format, ...) const __attribute__((format(printf, 2, 3)));

    Script script_;
    std::FILE *log_ = nullptr;
    size_t nextPoll_ = 0;
    bool creating_ = true;
    PollStep current_{true, kSteadyQuality, kSteadySnr};

  public:
    // The settings as the program last sent them.
    LONG frequencyMHz = 0;
    LONG symbolRate = 0;
    LONG lnbFrequency = 0;
    LONG fec = 0;
    LONG polarity = 0;
    LONG lnbSelection = 0;
    LONG diseqc = 0;
    bool initialized = false;
};

} // namespace vintorel::sim
