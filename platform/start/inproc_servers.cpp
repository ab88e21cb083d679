// The in-process servers this system offers, the counterpart of the registry entries that a
// card's driver setup (or regsvr32) makes on Windows: the tuner card filter's class is served by
// the module VINTOREL_TUNER chooses, read once when the platform starts:
//   sim                       the simulated card (libvintorel_tuner_sim.so)
//   dvb, dvb:ADAPTER[.FE]     a Linux DVB card through libdvbv5 (libvintorel_tuner_dvb.so)
//   none                      no card: the class is not registered
//   unset or empty            the DVB card when /dev/dvb/adapter0/frontend0 exists, else none
// Which adapter a dvb: value names is the DVB module's business. Not done: any other class.
#include "ole32/inproc_servers.h"
#include "tuner_control.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

namespace vintorel::start {

namespace {

// The module that serves the tuner filter's class, or empty when the class is not registered.
std::string tunerModuleName() {
    const char *env = std::getenv("VINTOREL_TUNER");
    const std::string choice = env ? env : "";
    if (choice == "sim") {
        return "libvintorel_tuner_sim.so";
    }
    if (choice == "dvb" || choice.rfind("dvb:", 0) == 0) {
        return "libvintorel_tuner_dvb.so";
    }
    if (choice == "none") {
        return {};
    }
    if (choice.empty()) {
        std::error_code ec;
        if (std::filesystem::exists("/dev/dvb/adapter0/frontend0", ec)) {
            return "libvintorel_tuner_dvb.so";
        }
        return {};
    }
    std::fprintf(stderr,
                 "vintorel: VINTOREL_TUNER=%s is not one of sim, dvb, dvb:ADAPTER[.FRONTEND], "
                 "none; no tuner card is available\n",
                 choice.c_str());
    return {};
}

} // namespace

void registerInprocServers() {
    const std::string module = tunerModuleName();
    if (!module.empty()) {
        ole32::registerInprocServer(CLSID_TunerCardFilter, module);
    }
}

} // namespace vintorel::start
