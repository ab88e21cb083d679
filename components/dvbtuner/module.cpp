// The in-process server module for the Linux DVB tuner card filter: the two entry points the
// platform's COM runtime looks up. The module stays loaded for the life of the process.
#include "components/dvbtuner/dvb_tuner_filter.h"

#include <cstdlib>
#include <new>

#define VINTOREL_EXPORT extern "C" __attribute__((visibility("default")))

VINTOREL_EXPORT HRESULT DllGetClassObject(REFCLSID clsid, REFIID riid, void **object) {
    if (object == nullptr) {
        return E_POINTER;
    }
    *object = nullptr;
    if (clsid != CLSID_TunerCardFilter) {
        return CLASS_E_CLASSNOTAVAILABLE;
    }
    auto *factory = new (std::nothrow) vintorel::FilterClassFactory([](REFIID iid, void **out) {
        // Read at creation, so that the frontend is the one named when the program starts.
        return vintorel::dvb::createDvbTunerFilter(std::getenv("VINTOREL_TUNER"), iid, out);
    });
    if (factory == nullptr) {
        return E_OUTOFMEMORY;
    }
    const HRESULT hr = factory->QueryInterface(riid, object);
    factory->Release();
    return hr;
}

VINTOREL_EXPORT HRESULT DllCanUnloadNow(void) {
    return S_FALSE;
}
