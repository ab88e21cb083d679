// The simulated tuner card: a filter object with the tuner control interface that accepts the
// program's settings and measures what a dish being turned past the satellite receives (see
// dish_model.h), unless a script (VINTOREL_SIM_SCRIPT) says otherwise. VINTOREL_SIM_SEED seeds
// the measurement noise, so a run can be repeated. Every call it receives can be logged to a file
// (VINTOREL_SIM_LOG), one line per call, flushed at once:  "setFec 6 -> 0x00000000", "getQuality ->
// 0x00000000 quality=57".
#pragma once

#include "dish_model.h"
#include "sim_script.h"
#include "tuner_filter_base.h"

#include <chrono>
#include <cstdio>
#include <functional>
#include <optional>
#include <random>
#include <string>

namespace vintorel::sim {

struct SimOptions {
    std::string logPath;          // empty: no log
    std::string scriptPath;       // empty: no script
    std::optional<uint32_t> seed; // empty: a different run every time
    DishMotion motion;
    // The clock of the dish's sweep: seconds since the transponder was tuned. Tests replace it.
    std::function<double()> clock;
};

// Options from VINTOREL_SIM_LOG, VINTOREL_SIM_SCRIPT, VINTOREL_SIM_SEED and VINTOREL_SIM_SWEEP
// (the dish's sweep period in seconds). A value that is not a valid number is reported on
// stderr and the card refuses to be created.
bool optionsFromEnvironment(SimOptions *options);

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
    SimCard(Script script, std::FILE *log, const SimOptions &options);
    ~SimCard() override;

    HRESULT answer(const char *operation, std::optional<LONG> argument, HRESULT normal) const;
    HRESULT setting(const char *operation, LONG value, LONG *field);
    CardSettings settings() const;
    void log(const char *format, ...) const __attribute__((format(printf, 2, 3)));

    Script script_;
    std::FILE *log_ = nullptr;
    size_t nextPoll_ = 0;
    bool creating_ = true;
    PollStep current_{false, 0, 0.0f};
    DishMotion motion_;
    std::mt19937 noise_;
    std::function<double()> clock_;
    std::chrono::steady_clock::time_point tunedAt_ = std::chrono::steady_clock::now();
    double secondsSinceTuning() const;

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
