// The tuner card filter for a Linux DVB-S/S2 card: the program's TunerControl calls mapped
// onto one libdvbv5 frontend. It keeps the program's values (refusing only those no card can
// take; a value this card cannot reach just leaves it untuned), tunes only when they changed,
// tries DVB-S and the DVB-S2 modulations in turn until one locks, succeeds in applyTuning only
// with a lock and answers signal readings from the locked signal's statistics. Reasons for
// not tuning go to the reporter once each. It is used from the program's one UI thread and
// never blocks longer than a DiSEqC exchange (about 30 ms). It does not scan, read transport
// streams or drive motors.
#pragma once

#include "components/common/tuner_filter_base.h"
#include "components/dvbtuner/dvb_frontend.h"
#include "components/dvbtuner/dvb_settings.h"

#include <chrono>
#include <functional>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace vintorel::dvb {

class DvbTunerFilter final : public TunerFilterBase {
  public:
    using Clock = std::function<std::chrono::steady_clock::time_point()>;
    using Reporter = std::function<void(const std::string &line)>;

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
    // One acquisition attempt: a delivery system and, for DVB-S2, the modulation asked for.
    struct Attempt {
        uint32_t system = 0;
        uint32_t modulation = 0;
    };
    // The attempts tried in turn while nothing locks, in order.
    std::vector<Attempt> attempts() const;

    ~DvbTunerFilter() override;

    HRESULT tune(const TuningPlan &plan);
    bool read();
    Shown shownReading() const;
    void report(const std::string &line);
    const Limits &limits() const;

    FrontendAddress address_;
    Clock clock_;
    Reporter reporter_;
    std::unique_ptr<Frontend> frontend_;
    ProgramSettings settings_;

    std::optional<TuningPlan> tunedPlan_;
    std::optional<TuningPlan> lnbPlan_; // what the LNB supply, switch and tone were last set to
    std::size_t attempt_ = 0;           // into attempts(), counting up while nothing locks
    Attempt tuned_;
    std::chrono::steady_clock::time_point tunedAt_{};
    bool lockedSinceTune_ = false;
    bool autoModulationRefused_ = false; // the driver refused QAM_AUTO for DVB-S2
    bool autoModulationLocked_ = false;  // and this one has locked with it
    bool toldNoVoltage_ = false;
    bool toldNoTone_ = false;
    uint64_t largestLegacySnr_ = 0; // of a locked signal, to tell the driver's unit
    Snapshot snapshot_;
    // When applyTuning last read the card, until the refreshMeasurement of the same poll.
    std::optional<std::chrono::steady_clock::time_point> readForPoll_;
    std::set<std::string> told_; // said for the current values
    ProgramSettings toldFor_;
};

// What the module's class factory does: reads the frontend from VINTOREL_TUNER's value and
// hands out the filter, or fails (E_INVALIDARG) with one line naming the variable.
HRESULT createDvbTunerFilter(const char *tunerVariable, REFIID riid, void **object,
                             const DvbTunerFilter::Reporter &reporter = {});

} // namespace vintorel::dvb
