// A fake Linux DVB satellite frontend for the tests, below libdvbv5: the test binary defines
// open/close/ioctl and the libudev calls libdvbv5 makes, so libdvbv5's real code runs against
// /dev/dvb/adapterA/frontendF devices that exist only here. Every path under /dev/dvb/ is the
// fake's (an unregistered one does not exist), so the tests never reach a real card; all other
// paths and descriptors go to the C library (through AddressSanitizer's interceptors when it is
// built in). It models what a frontend answers, not a demodulator's timing.
#pragma once

#include <libdvbv5/dvb-frontend.h>

#include <cstdint>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

namespace vintorel::test {

struct FakeStat {
    uint8_t scale = FE_SCALE_NOT_AVAILABLE;
    int64_t value = 0; // svalue for decibel, uvalue otherwise
};

struct FakeFrontend {
    // What the device is.
    std::string name = "Fake DVB-S/S2 frontend";
    std::vector<uint32_t> systems{SYS_DVBS, SYS_DVBS2};
    uint32_t frequencyMinKHz = 950'000;
    uint32_t frequencyMaxKHz = 2'150'000;
    uint32_t symbolRateMin = 1'000'000;
    uint32_t symbolRateMax = 45'000'000;
    int openErrno = 0; // e.g. EACCES, EBUSY

    // What the dish sees once tuned.
    std::set<uint32_t> lockingSystems{SYS_DVBS};
    bool signalPresent = true;
    uint32_t statusWithoutLock = FE_HAS_SIGNAL | FE_HAS_CARRIER;
    uint32_t statusWithLock =
        FE_HAS_SIGNAL | FE_HAS_CARRIER | FE_HAS_VITERBI | FE_HAS_SYNC | FE_HAS_LOCK;
    bool v5Stats = true;
    FakeStat strength;
    FakeStat cnr;
    int v3Strength = -1;              // FE_READ_SIGNAL_STRENGTH answer, -1 = not supported
    int v3Snr = -1;                   // FE_READ_SNR answer, -1 = not supported
    uint32_t lockedModulation = QPSK; // the carrier's; reported once locked
    uint32_t lockedFec = FEC_3_4;
    uint32_t lockedSystem = 0;           // reported once locked; 0: the one tuned
    bool reportsLockedParameters = true; // otherwise the tuned values are echoed
    bool detectsModulation = true;       // otherwise DVB-S2 locks only when told the right one
    bool refusesAutoModulation = false;  // DVB-S2 with QAM_AUTO fails at DTV_TUNE (EINVAL)
    int failTuneErrno = 0;               // make DTV_TUNE fail
    int voltageErrno = 0;                // make FE_SET_VOLTAGE fail
    int toneErrno = 0;                   // make FE_SET_TONE fail

    // What reached the device.
    uint32_t currentSystem = 0;
    std::map<uint32_t, uint32_t> pending;            // properties since the last tune
    std::vector<std::map<uint32_t, uint32_t>> tunes; // properties of each DTV_TUNE
    std::vector<int> voltages;                       // FE_SET_VOLTAGE arguments
    std::vector<int> tones;                          // FE_SET_TONE arguments
    std::vector<std::vector<uint8_t>> diseqc;        // FE_DISEQC_SEND_MASTER_CMD messages
    int statusReads = 0;                             // FE_READ_STATUS calls
    int opens = 0;
    int writerOpens = 0; // read-write opens: each starts the frontend, as on Linux
    int closes = 0;

    int lastVoltage() const { return voltages.empty() ? -1 : voltages.back(); }
    int lastTone() const { return tones.empty() ? -1 : tones.back(); }
    uint32_t lastTuned(uint32_t command) const;
    bool locked() const;
    uint32_t status() const;
};

// The registry of fake devices; reset between tests.
class FakeDvb {
  public:
    static FakeDvb &instance();
    FakeFrontend &add(int adapter, int frontend);
    void reset();
    FakeFrontend *find(const std::string &path);
    std::map<std::string, std::unique_ptr<FakeFrontend>> &devices() { return devices_; }
    std::map<int, FakeFrontend *> &openFds() { return openFds_; }

  private:
    std::map<std::string, std::unique_ptr<FakeFrontend>> devices_;
    std::map<int, FakeFrontend *> openFds_;
};

} // namespace vintorel::test
