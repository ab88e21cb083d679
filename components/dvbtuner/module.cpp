// The in-process server module for the Linux DVB tuner card filter: the two entry points the
// platform's COM runtime looks up. The module stays loaded for the life of the process;
// DllCanUnloadNow says whether it still holds objects.
#include "components/dvbtuner/dvb_tuner_filter.h"

#include <cstdlib>
#include <new>

#define VINTOREL_EXPORT extern "C" __attribute__((visibility("default")))

VINTOREL_EXPORT HRESULT DllGetClassObject(REFCLSID clsid, REFIID riid, void **object) {
    return vintorel::tunerFilterClassObject(clsid, riid, object, [](REFIID iid, void **out) {
        // Read at creation, so that the frontend is the one named when the program starts.
        return vintorel::dvb::createDvbTunerFilter(std::getenv("VINTOREL_TUNER"), iid, out);
    });
}

VINTOREL_EXPORT HRESULT DllCanUnloadNow(void) {
    return vintorel::canUnloadServer();
}
