// The Linux DVB tuner card filter (see dvb_tuner_filter.h). The setters keep any value that
// means something for some card; whether this card can reach the whole transponder is checked
// before each tune, and a transponder it cannot reach is simply not tuned (and said why, once).
#include "components/dvbtuner/dvb_tuner_filter.h"
#include "vintorel_trace.h"

#include <libdvbv5/dvb-frontend.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <new>

namespace vintorel::dvb {

namespace {

void printToStderr(const std::string &line) {
    std::fprintf(stderr, "vintorel: %s\n", line.c_str());
    std::fflush(stderr);
}

std::string mhz(uint32_t kHz) {
    return std::to_string(kHz / 1000);
}

const Limits kDefaultLimits{};

// Keeps a value that means something for some card; one that cannot leaves the setting as it was.
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
    // applyTuning runs every 600 ms: each reason is said once for the values it concerns.
    if (told_.insert(line).second) {
        reporter_(line);
    }
}

std::vector<DvbTunerFilter::Attempt> DvbTunerFilter::attempts() const {
    const bool canS = frontend_->supports(SYS_DVBS);
    const bool canS2 = frontend_->supports(SYS_DVBS2);
    // DVB-S2: the demodulator's own modulation detection first; drivers that want to be told
    // (some refuse QAM_AUTO, some accept it and never lock) get QPSK and 8PSK in turn.
    std::vector<uint32_t> modulations{QAM_AUTO, QPSK, PSK_8};
    if (autoModulationRefused_) {
        modulations = {QPSK, PSK_8};
    } else if (autoModulationLocked_) {
        modulations = {QAM_AUTO};
    }
    std::vector<Attempt> list;
    if (!canS2) {
        list.push_back({SYS_DVBS, QPSK});
        return list;
    }
    for (uint32_t modulation : modulations) {
        if (canS) {
            list.push_back({SYS_DVBS, QPSK}); // DVB-S between each, the most common still
        }
        list.push_back({SYS_DVBS2, modulation});
    }
    return list;
}

STDMETHODIMP DvbTunerFilter::initialize() {
    VINTOREL_TRACE(TUNER, "dvb initialize");
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
    VINTOREL_TRACE(TUNER, "dvb setTransponderFrequency %ld", static_cast<long>(frequencyMHz));
    // Whether the card reaches it (through the oscillator) is applyTuning's question.
    return keepIfValid(isValidFrequency(frequencyMHz), settings_.frequencyMHz, frequencyMHz);
}

STDMETHODIMP DvbTunerFilter::setSymbolRate(LONG symbolRate) {
    VINTOREL_TRACE(TUNER, "dvb setSymbolRate %ld", static_cast<long>(symbolRate));
    return keepIfValid(isPlausibleSymbolRate(symbolRate), settings_.symbolRateKs, symbolRate);
}

STDMETHODIMP DvbTunerFilter::setLnbFrequency(LONG oscillatorMHz) {
    VINTOREL_TRACE(TUNER, "dvb setLnbFrequency %ld", static_cast<long>(oscillatorMHz));
    // The program sets the oscillator first, sometimes twice (9750, then 5150 for C band).
    return keepIfValid(isValidOscillator(oscillatorMHz), settings_.oscillatorMHz, oscillatorMHz);
}

STDMETHODIMP DvbTunerFilter::setFec(LONG fec) {
    VINTOREL_TRACE(TUNER, "dvb setFec %ld", static_cast<long>(fec));
    return keepIfValid(innerFecFromProgram(fec).has_value(), settings_.fec, fec);
}

STDMETHODIMP DvbTunerFilter::setPolarity(LONG polarity) {
    VINTOREL_TRACE(TUNER, "dvb setPolarity %ld", static_cast<long>(polarity));
    return keepIfValid(isValidPolarity(polarity), settings_.polarity, polarity);
}

STDMETHODIMP DvbTunerFilter::setLnbSelection(LONG highBand) {
    VINTOREL_TRACE(TUNER, "dvb setLnbSelection %ld", static_cast<long>(highBand));
    return keepIfValid(isValidBand(highBand), settings_.band, highBand);
}

STDMETHODIMP DvbTunerFilter::setDiseqc(LONG diseqc) {
    VINTOREL_TRACE(TUNER, "dvb setDiseqc %ld", static_cast<long>(diseqc));
    return keepIfValid(diseqcPortFromProgram(diseqc).has_value(), settings_.diseqc, diseqc);
}

HRESULT DvbTunerFilter::tune(const TuningPlan &plan) {
    std::string error;
    const bool lnbChanged = !lnbPlan_ || lnbPlan_->voltage18 != plan.voltage18 ||
                            lnbPlan_->toneOn != plan.toneOn ||
                            lnbPlan_->diseqcPort != plan.diseqcPort;
    if (lnbChanged) {
        LnbNotes notes;
        if (frontend_->setLnb(plan.voltage18, plan.toneOn, plan.diseqcPort, notes, error) != 0) {
            report(error);
            lnbPlan_.reset();
            tunedPlan_.reset();
            return E_FAIL;
        }
        if (notes.noVoltage && !toldNoVoltage_) {
            toldNoVoltage_ = true;
            reporter_("the card cannot switch the LNB supply (13/18 V); tuning without it, so "
                      "the polarity must be selected by whatever powers the LNB");
        }
        if (notes.noTone && !toldNoTone_) {
            toldNoTone_ = true;
            reporter_("the card cannot switch the 22 kHz tone; tuning without it, so the LNB "
                      "band must be selected by whatever powers the LNB");
        }
        lnbPlan_ = plan;
    }
    for (;;) {
        const auto list = attempts();
        const Attempt attempt = list[attempt_ % list.size()];
        const int rc = frontend_->tune(attempt.system, attempt.modulation, plan, error);
        if (rc == 0) {
            tuned_ = attempt;
            break;
        }
        if (attempt.modulation == QAM_AUTO && (rc == -EINVAL || rc == -EOPNOTSUPP)) {
            // Told at once, unlike a driver that takes QAM_AUTO and then never locks.
            autoModulationRefused_ = true;
            continue;
        }
        report(error);
        tunedPlan_.reset();
        return E_FAIL;
    }
    tunedPlan_ = plan;
    tunedAt_ = clock_();
    lockedSinceTune_ = false;
    return S_OK;
}

bool DvbTunerFilter::read() {
    std::string error;
    Snapshot snapshot;
    if (frontend_->read(snapshot, error) != 0) {
        report(error);
        snapshot_ = Snapshot{};
        return false;
    }
    snapshot_ = snapshot;
    if ((snapshot.status & FE_HAS_LOCK) != 0 && snapshot.legacyStats &&
        snapshot.cnr.scale == StatScale::Relative) {
        largestLegacySnr_ = std::max(largestLegacySnr_, snapshot.cnr.uvalue);
    }
    return true;
}

STDMETHODIMP DvbTunerFilter::applyTuning() {
    VINTOREL_TRACE(TUNER, "dvb applyTuning");
    if (!frontend_) {
        return E_UNEXPECTED;
    }
    if (settings_ != toldFor_) {
        told_.clear(); // new values: their problems are news again
        toldFor_ = settings_;
    }
    const PlanResult planned = makePlan(settings_, limits());
    if (!planned.plan) {
        switch (planned.problem) {
        case PlanProblem::IntermediateFrequency:
            report(
                std::to_string(*settings_.frequencyMHz) + " MHz with the " +
                std::to_string(*settings_.oscillatorMHz) + " MHz oscillator is " +
                mhz(intermediateFrequencyKHz(*settings_.frequencyMHz, *settings_.oscillatorMHz)) +
                " MHz at the card, outside its range of " + mhz(limits().ifMinKHz) + ".." +
                mhz(limits().ifMaxKHz) + " MHz: not tuned");
            return E_INVALIDARG;
        case PlanProblem::SymbolRate:
            report(std::to_string(*settings_.symbolRateKs) +
                   " kS/s is outside the card's symbol rates of " +
                   std::to_string(limits().symbolRateMin / 1000) + ".." +
                   std::to_string(limits().symbolRateMax / 1000) + " kS/s: not tuned");
            return E_INVALIDARG;
        case PlanProblem::Incomplete:
            return E_UNEXPECTED;
        default:
            return E_INVALIDARG;
        }
    }
    const TuningPlan &plan = *planned.plan;

    bool justTuned = false;
    if (!tunedPlan_ || *tunedPlan_ != plan) {
        attempt_ = 0;
        if (FAILED(tune(plan))) {
            return E_FAIL;
        }
        justTuned = true;
    }
    if (!read()) {
        return E_FAIL;
    }
    readForPoll_ = clock_();
    if ((snapshot_.status & FE_HAS_LOCK) != 0) {
        lockedSinceTune_ = true;
        autoModulationLocked_ = autoModulationLocked_ || tuned_.modulation == QAM_AUTO;
        return S_OK;
    }
    // Not locked: no reading, whatever the frontend says about a carrier, since a carrier is
    // also a neighbouring satellite or the LNB's own noise. While this transponder has never
    // locked, the next attempt gets its turn once this one has had its window; once it has,
    // the attempt is kept (the dish may just be off target).
    if (!justTuned && !lockedSinceTune_ && attempts().size() > 1 &&
        clock_() - tunedAt_ >= lockWindow(plan.symbolRate)) {
        ++attempt_;
        tune(plan);
    }
    return E_FAIL;
}

STDMETHODIMP DvbTunerFilter::refreshMeasurement() {
    VINTOREL_TRACE(TUNER, "dvb refreshMeasurement");
    if (!frontend_) {
        return E_UNEXPECTED;
    }
    // A poll asks applyTuning and then this: the reading applyTuning has just taken is the
    // measurement. Reading again would only repeat the driver's work (register reads over the
    // card's I2C bus, five calls with an old driver) on the program's thread.
    const auto readAt = readForPoll_;
    readForPoll_.reset();
    if (readAt && clock_() - *readAt < std::chrono::milliseconds(100)) {
        return S_OK;
    }
    return read() ? S_OK : E_FAIL;
}

STDMETHODIMP DvbTunerFilter::getSnr(FLOAT *snr) {
    if (snr == nullptr) {
        return E_POINTER;
    }
    *snr = 0.0f;
    if (snapshot_.valid && (snapshot_.status & FE_HAS_LOCK) != 0) {
        *snr = shownReading().snr;
    }
    VINTOREL_TRACE(TUNER, "dvb getSnr %g", static_cast<double>(*snr));
    return S_OK;
}

STDMETHODIMP DvbTunerFilter::getQuality(LONG *quality) {
    if (quality == nullptr) {
        return E_POINTER;
    }
    *quality = 0;
    if (snapshot_.valid && (snapshot_.status & FE_HAS_LOCK) != 0) {
        *quality = static_cast<LONG>(shownReading().quality);
    }
    VINTOREL_TRACE(TUNER, "dvb getQuality %ld", static_cast<long>(*quality));
    return S_OK;
}

Shown DvbTunerFilter::shownReading() const {
    LockedReading reading;
    reading.cnr = snapshot_.cnr;
    reading.legacyCnr = snapshot_.legacyStats;
    reading.legacyUnit = legacySnrUnit(largestLegacySnr_);
    reading.strength = snapshot_.strength;
    reading.thresholdDb =
        qefThresholdDb(snapshot_.deliverySystem, snapshot_.modulation, snapshot_.innerFec);
    return showLocked(reading);
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
