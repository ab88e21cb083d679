// The Linux DVB tuner card filter (see dvb_tuner_filter.h). Values are checked when the
// program sets them as far as they can be on their own (the intermediate frequency as soon as
// the oscillator is known), and the whole transponder again before each tune.
#include "components/dvbtuner/dvb_tuner_filter.h"

#include <libdvbv5/dvb-frontend.h>

#include <cstdio>
#include <new>

namespace vintorel::dvb {

namespace {

void printToStderr(const std::string &line) {
    std::fprintf(stderr, "vintorel: %s\n", line.c_str());
    std::fflush(stderr);
}

bool hasStrength(const Stat &strength) {
    return strength.scale == StatScale::Relative || strength.scale == StatScale::Decibel;
}

std::string mhz(uint32_t kHz) {
    return std::to_string(kHz / 1000);
}

const Limits kDefaultLimits{};

// Keeps a value the card can take; one it cannot take leaves the setting as it was.
template <typename Field> HRESULT keepIfValid(bool valid, Field &field, LONG value) {
    if (!valid) {
        return E_INVALIDARG;
    }
    field = value;
    return S_OK;
}

} // namespace

DvbTunerFilter::DvbTunerFilter(FrontendAddress address, Clock clock, Reporter reporter)
    : address_(address), clock_(clock ? std::move(clock) : Clock(std::chrono::steady_clock::now)),
      reporter_(reporter ? std::move(reporter) : Reporter(printToStderr)) {}

DvbTunerFilter::~DvbTunerFilter() = default; // the Frontend closes the device (LNB supply off)

const Limits &DvbTunerFilter::limits() const {
    return frontend_ ? frontend_->limits() : kDefaultLimits;
}

void DvbTunerFilter::report(const std::string &line) {
    // applyTuning runs every 600 ms: say a thing once, not on every call.
    if (line == lastReport_) {
        return;
    }
    lastReport_ = line;
    reporter_(line);
}

STDMETHODIMP DvbTunerFilter::initialize() {
    if (frontend_) {
        return S_OK;
    }
    std::string error;
    frontend_ = Frontend::open(address_, error);
    if (!frontend_) {
        report(error);
        return E_FAIL;
    }
    return S_OK;
}

STDMETHODIMP DvbTunerFilter::setTransponderFrequency(LONG frequencyMHz) {
    if (!isValidFrequency(frequencyMHz)) {
        return E_INVALIDARG;
    }
    if (settings_.oscillatorMHz) {
        const uint32_t ifKHz = intermediateFrequencyKHz(frequencyMHz, *settings_.oscillatorMHz);
        if (!isIntermediateFrequencyInRange(ifKHz, limits())) {
            report(std::to_string(frequencyMHz) + " MHz with a " +
                   std::to_string(*settings_.oscillatorMHz) + " MHz oscillator gives " +
                   mhz(ifKHz) + " MHz, outside the card's " + mhz(limits().ifMinKHz) + ".." +
                   mhz(limits().ifMaxKHz) + " MHz");
            return E_INVALIDARG;
        }
    }
    settings_.frequencyMHz = frequencyMHz;
    return S_OK;
}

STDMETHODIMP DvbTunerFilter::setSymbolRate(LONG symbolRate) {
    return keepIfValid(isValidSymbolRate(symbolRate, limits()), settings_.symbolRateKs, symbolRate);
}

STDMETHODIMP DvbTunerFilter::setLnbFrequency(LONG oscillatorMHz) {
    // The intermediate frequency is checked with the transponder frequency that follows:
    // the program sets the oscillator first, sometimes twice (9750, then 5150 for C band).
    return keepIfValid(isValidOscillator(oscillatorMHz), settings_.oscillatorMHz, oscillatorMHz);
}

STDMETHODIMP DvbTunerFilter::setFec(LONG fec) {
    return keepIfValid(innerFecFromProgram(fec).has_value(), settings_.fec, fec);
}

STDMETHODIMP DvbTunerFilter::setPolarity(LONG polarity) {
    return keepIfValid(isValidPolarity(polarity), settings_.polarity, polarity);
}

STDMETHODIMP DvbTunerFilter::setLnbSelection(LONG highBand) {
    return keepIfValid(isValidBand(highBand), settings_.band, highBand);
}

STDMETHODIMP DvbTunerFilter::setDiseqc(LONG diseqc) {
    return keepIfValid(diseqcPortFromProgram(diseqc).has_value(), settings_.diseqc, diseqc);
}

HRESULT DvbTunerFilter::tune(const TuningPlan &plan, uint32_t system) {
    std::string error;
    const bool lnbChanged = !lnbPlan_ || lnbPlan_->voltage18 != plan.voltage18 ||
                            lnbPlan_->toneOn != plan.toneOn ||
                            lnbPlan_->diseqcPort != plan.diseqcPort;
    if (lnbChanged) {
        if (frontend_->setLnb(plan.voltage18, plan.toneOn, plan.diseqcPort, error) != 0) {
            report(error);
            lnbPlan_.reset();
            tunedPlan_.reset();
            return E_FAIL;
        }
        lnbPlan_ = plan;
    }
    if (frontend_->tune(system, plan, error) != 0) {
        report(error);
        tunedPlan_.reset();
        return E_FAIL;
    }
    tunedPlan_ = plan;
    system_ = system;
    tunedAt_ = clock_();
    lockedSinceTune_ = false;
    lastReport_.clear();
    return S_OK;
}

STDMETHODIMP DvbTunerFilter::applyTuning() {
    if (!frontend_) {
        return E_UNEXPECTED;
    }
    const PlanResult planned = makePlan(settings_, limits());
    if (!planned.plan) {
        switch (planned.problem) {
        case PlanProblem::IntermediateFrequency:
            report("the transponder's intermediate frequency is outside the card's " +
                   mhz(limits().ifMinKHz) + ".." + mhz(limits().ifMaxKHz) + " MHz");
            return E_INVALIDARG;
        case PlanProblem::SymbolRate:
            report("the symbol rate is outside the card's " +
                   std::to_string(limits().symbolRateMin / 1000) + ".." +
                   std::to_string(limits().symbolRateMax / 1000) + " kS/s");
            return E_INVALIDARG;
        case PlanProblem::Incomplete:
            return E_UNEXPECTED;
        default:
            return E_INVALIDARG;
        }
    }
    const TuningPlan &plan = *planned.plan;
    const bool canS = frontend_->supports(SYS_DVBS);
    const bool canS2 = frontend_->supports(SYS_DVBS2);

    bool justTuned = false;
    if (!tunedPlan_ || *tunedPlan_ != plan) {
        const HRESULT hr = tune(plan, canS ? SYS_DVBS : SYS_DVBS2);
        if (FAILED(hr)) {
            return hr;
        }
        justTuned = true;
    }

    std::string error;
    Snapshot snapshot;
    if (frontend_->read(snapshot, error) != 0) {
        report(error);
        snapshot_ = Snapshot{};
        return E_FAIL;
    }
    snapshot_ = snapshot;

    const bool locked = (snapshot.status & FE_HAS_LOCK) != 0;
    if (locked) {
        lockedSinceTune_ = true;
    } else if (!justTuned && !lockedSinceTune_ && canS && canS2 &&
               clock_() - tunedAt_ >= kLockWindow) {
        // No lock within the window: the transponder may be of the other generation. Once a
        // system has locked it is kept for this transponder (the dish may just be off target).
        tune(plan, system_ == SYS_DVBS ? SYS_DVBS2 : SYS_DVBS);
    }

    if (locked) {
        return S_OK;
    }
    if ((snapshot.status & (FE_HAS_CARRIER | FE_HAS_SIGNAL)) != 0 &&
        hasStrength(snapshot.strength)) {
        return S_FALSE; // a carrier to aim at, not yet a lock
    }
    return E_FAIL;
}

STDMETHODIMP DvbTunerFilter::refreshMeasurement() {
    if (!frontend_) {
        return E_UNEXPECTED;
    }
    std::string error;
    Snapshot snapshot;
    if (frontend_->read(snapshot, error) != 0) {
        report(error);
        snapshot_ = Snapshot{};
        return E_FAIL;
    }
    snapshot_ = snapshot;
    return S_OK;
}

STDMETHODIMP DvbTunerFilter::getSnr(FLOAT *snr) {
    if (snr == nullptr) {
        return E_POINTER;
    }
    *snr = 0.0f;
    if (snapshot_.valid) {
        *snr = static_cast<FLOAT>(cnrDb(snapshot_.cnr).value_or(0.0));
    }
    return S_OK;
}

STDMETHODIMP DvbTunerFilter::getQuality(LONG *quality) {
    if (quality == nullptr) {
        return E_POINTER;
    }
    *quality = 0;
    if (!snapshot_.valid) {
        return S_OK;
    }
    if ((snapshot_.status & FE_HAS_LOCK) != 0) {
        if (const auto db = cnrDb(snapshot_.cnr)) {
            const double threshold =
                qefThresholdDb(snapshot_.deliverySystem, snapshot_.modulation, snapshot_.innerFec);
            *quality = static_cast<LONG>(qualityFromMargin(*db, threshold));
            return S_OK;
        }
    }
    if (const auto fromStrength = qualityFromStrength(snapshot_.strength)) {
        *quality = static_cast<LONG>(*fromStrength);
    }
    return S_OK;
}

HRESULT createDvbTunerFilter(const char *tunerVariable, REFIID riid, void **object,
                             const DvbTunerFilter::Reporter &reporter) {
    if (object == nullptr) {
        return E_POINTER;
    }
    *object = nullptr;
    const auto address = parseTunerVariable(tunerVariable);
    if (!address) {
        const std::string line = "VINTOREL_TUNER=\"" + printableValue(tunerVariable) +
                                 "\" does not name a DVB frontend (expected dvb, dvb:ADAPTER or "
                                 "dvb:ADAPTER.FRONTEND)";
        if (reporter) {
            reporter(line);
        } else {
            printToStderr(line);
        }
        return E_INVALIDARG;
    }
    auto *filter = new (std::nothrow) DvbTunerFilter(*address, {}, reporter);
    if (filter == nullptr) {
        return E_OUTOFMEMORY;
    }
    const HRESULT hr = filter->QueryInterface(riid, object);
    filter->Release();
    return hr;
}

} // namespace vintorel::dvb
