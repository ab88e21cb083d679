// The tuner card filter for a Linux DVB-S/S2 card: the program's TunerControl calls mapped
// onto one libdvbv5 frontend. It keeps the program's values and refuses those no card can
// take, tunes only when they changed (DVB-S first, DVB-S2 when the card has it and DVB-S finds
// no lock), and answers signal readings from the card's statistics. It is used from the
// program's one UI thread and never blocks longer than a DiSEqC exchange (about 30 ms).
// It does not scan, read transport streams or drive motors.
#pragma once

#include "components/common/tuner_filter_base.h"
#include "components/dvbtuner/dvb_frontend.h"
#include "components/dvbtuner/dvb_settings.h"

#include <chrono>
#include <functional>
#include <memory>
#include <optional>
#include <string>

namespace vintorel::dvb {

class DvbTunerFilter final : public TunerFilterBase {
  public:
    using Clock = std::function<std::chrono::steady_clock::time_point()>;
    using Reporter = std::function<void(const std::string &line)>;

    // How long one delivery system gets to lock before the other is tried.
    static constexpr std::chrono::milliseconds kLockWindow{1500};

    // Starts with one reference. The reporter receives one-line messages for the user
    // (default: "vintorel: ..." on stderr).
    explicit DvbTunerFilter(FrontendAddress address, Clock clock = {}, Reporter reporter = {});

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

  private:
    ~DvbTunerFilter() override;

    HRESULT tune(const TuningPlan &plan, uint32_t system);
    void report(const std::string &line);
    const Limits &limits() const;

    FrontendAddress address_;
    Clock clock_;
    Reporter reporter_;
    std::unique_ptr<Frontend> frontend_;
    ProgramSettings settings_;

    std::optional<TuningPlan> tunedPlan_;
    std::optional<TuningPlan> lnbPlan_; // what the LNB supply, switch and tone were last set to
    uint32_t system_ = 0;
    std::chrono::steady_clock::time_point tunedAt_{};
    bool lockedSinceTune_ = false;
    Snapshot snapshot_;
    std::string lastReport_;
};

// What the module's class factory does: reads the frontend from VINTOREL_TUNER's value and
// hands out the filter, or fails (E_INVALIDARG) with one line naming the variable.
HRESULT createDvbTunerFilter(const char *tunerVariable, REFIID riid, void **object,
                             const DvbTunerFilter::Reporter &reporter = {});

} // namespace vintorel::dvb
