// A tuner filter for tests: records every call as text ("setLnbFrequency 9750"), answers with
// configurable statuses and readings, and can hold extra references of its own. Registered
// for the tuner filter's class id through CoRegisterClassObject, as a test on Windows would.
#pragma once

#include "tuner_filter_base.h"

#include <map>
#include <optional>
#include <string>
#include <vector>

struct TunerScript {
    HRESULT createStatus = S_OK; // what CoCreateInstance answers
    HRESULT queryStatus = S_OK;  // what QueryInterface(TunerControl) answers
    // Status per operation name, optionally only for one argument ("setLnbFrequency 9750").
    std::map<std::string, HRESULT> statuses;
    int extraReferences = 0; // references the filter takes on itself at initialize
    bool applyLocked = true;
    LONG quality = 57;
    FLOAT snr = 7.534f;
};

struct TunerLog {
    std::vector<std::string> calls;
    int alive = 0;     // filters in existence
    int destroyed = 0; // filters deleted
};

class RecordingTuner final : public vintorel::TunerFilterBase {
  public:
    RecordingTuner(const TunerScript &script, TunerLog &log) : script_(script), log_(log) {
        ++log_.alive;
    }

    STDMETHODIMP setTransponderFrequency(LONG v) override {
        return call("setTransponderFrequency", v);
    }
    STDMETHODIMP setSymbolRate(LONG v) override { return call("setSymbolRate", v); }
    STDMETHODIMP setLnbFrequency(LONG v) override { return call("setLnbFrequency", v); }
    STDMETHODIMP setFec(LONG v) override { return call("setFec", v); }
    STDMETHODIMP setPolarity(LONG v) override { return call("setPolarity", v); }
    STDMETHODIMP setLnbSelection(LONG v) override { return call("setLnbSelection", v); }
    STDMETHODIMP setDiseqc(LONG v) override { return call("setDiseqc", v); }
    STDMETHODIMP initialize() override {
        for (int i = 0; i < script_.extraReferences; ++i) {
            AddRef();
        }
        return call("initialize", std::nullopt);
    }
    STDMETHODIMP applyTuning() override {
        return call("applyTuning", std::nullopt, script_.applyLocked ? S_OK : E_FAIL);
    }
    STDMETHODIMP refreshMeasurement() override { return call("refreshMeasurement", std::nullopt); }
    STDMETHODIMP getSnr(FLOAT *snr) override {
        *snr = script_.snr;
        return call("getSnr", std::nullopt);
    }
    STDMETHODIMP getQuality(LONG *quality) override {
        *quality = script_.quality;
        return call("getQuality", std::nullopt);
    }

  protected:
    HRESULT filterQueryInterface(REFIID riid, HRESULT hr) override {
        if (riid == IID_TunerControl && script_.queryStatus != S_OK) {
            return script_.queryStatus;
        }
        return hr;
    }

  private:
    ~RecordingTuner() override {
        --log_.alive;
        ++log_.destroyed;
    }

    HRESULT call(const std::string &name, std::optional<LONG> arg, HRESULT normal = S_OK) {
        std::string entry = name;
        if (arg) {
            entry += " " + std::to_string(*arg);
        }
        log_.calls.push_back(entry);
        if (auto it = script_.statuses.find(entry); it != script_.statuses.end()) {
            return it->second;
        }
        if (auto it = script_.statuses.find(name); it != script_.statuses.end()) {
            return it->second;
        }
        return normal;
    }

    const TunerScript &script_;
    TunerLog &log_;
};

// Registers a factory for RecordingTuner under the tuner filter's class id while it lives.
class RegisteredTuner {
  public:
    explicit RegisteredTuner(TunerScript script = {});
    ~RegisteredTuner();
    RegisteredTuner(const RegisteredTuner &) = delete;
    RegisteredTuner &operator=(const RegisteredTuner &) = delete;

    TunerScript script;
    TunerLog log;

  private:
    DWORD cookie_ = 0;
};
