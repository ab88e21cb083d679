// The simulated card as an in-process server module: DllGetClassObject hands out a class
// factory for the tuner filter's class id; each object reads VINTOREL_SIM_LOG,
// VINTOREL_SIM_SCRIPT and VINTOREL_SIM_SEED when it is made. On Windows the module also
// registers itself (registration.cpp) and its exports are listed in vintorel_tuner_sim.def.
#include "sim_card.h"

#if defined(_WIN32)
#define VINTOREL_EXPORT extern "C"
#else
#define VINTOREL_EXPORT extern "C" __attribute__((visibility("default")))
#endif

VINTOREL_EXPORT HRESULT DllGetClassObject(REFCLSID clsid, REFIID riid, void **object) {
    return vintorel::tunerFilterClassObject(
        clsid, riid, object, [](REFIID iid, void **out) -> HRESULT {
            vintorel::sim::SimOptions options;
            if (!vintorel::sim::optionsFromEnvironment(&options)) {
                return E_FAIL;
            }
            return vintorel::sim::SimCard::create(options, iid, out);
        });
}

VINTOREL_EXPORT HRESULT DllCanUnloadNow(void) {
    return vintorel::canUnloadServer();
}
