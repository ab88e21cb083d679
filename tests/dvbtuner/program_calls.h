// The calls the program makes on its tuner for one search, in the program's order, and the
// filter's owning pointer, shared by the tests that drive the DVB filter (fake devices, the
// kernel's frontend in a VM, a real card).
#pragma once

#include "components/dvbtuner/dvb_tuner_filter.h"

#include <memory>

namespace vintorel::test {

// A filter that is released (not deleted) when the test is done with it.
struct Releaser {
    void operator()(dvb::DvbTunerFilter *filter) const { filter->Release(); }
};
using FilterPtr = std::unique_ptr<dvb::DvbTunerFilter, Releaser>;

// Band, oscillator (9750 MHz, then 5150 MHz for C band), polarity (1 = vertical), symbol rate
// and frequency; returns the first failure.
inline HRESULT search(dvb::DvbTunerFilter &filter, LONG mhz, LONG polarity, LONG ks = 27500) {
    HRESULT hr = filter.setLnbSelection(mhz > 11699 ? 1 : 0);
    if (FAILED(hr)) {
        return hr;
    }
    hr = filter.setLnbFrequency(mhz > 11699 ? 10600 : 9750);
    if (mhz < 4201) {
        hr = filter.setLnbFrequency(5150);
    }
    if (FAILED(hr)) {
        return hr;
    }
    hr = filter.setPolarity(polarity);
    if (FAILED(hr)) {
        return hr;
    }
    hr = filter.setSymbolRate(ks);
    if (FAILED(hr)) {
        return hr;
    }
    return filter.setTransponderFrequency(mhz);
}

} // namespace vintorel::test
