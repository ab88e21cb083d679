// One opened satellite frontend, driven through libdvbv5: open and close (RAII; closing turns
// the LNB supply off), LNB voltage, 22 kHz tone and DiSEqC switch, tuning one delivery system
// and modulation, and reading status, statistics and what the driver locked to. It does not
// decide when to tune, what to try next or what the readings mean; DvbTunerFilter and
// signal_quality.h do. libdvbv5's own LNB table is not used: the program names its
// oscillator, so the intermediate frequency arrives already computed.
#pragma once

#include "components/dvbtuner/dvb_settings.h"
#include "components/dvbtuner/signal_quality.h"

#include <cstdint>
#include <memory>
#include <string>

struct dvb_v5_fe_parms;

namespace vintorel::dvb {

// One reading of the frontend.
struct Snapshot {
    bool valid = false;
    uint32_t status = 0; // fe_status_t bits
    Stat strength;
    Stat cnr;
    bool legacyStats = false; // the driver has no DVBv5 statistics: FE_READ_SNR and friends
    // Once locked, what the driver says it found; before that, what was tuned. A modulation
    // of QAM_AUTO means the driver did not say (QPSK for DVB-S).
    uint32_t deliverySystem = 0;
    uint32_t modulation = 0;
    uint32_t innerFec = 0;
};

// What setLnb could not do but tuned without.
struct LnbNotes {
    bool noVoltage = false; // the driver cannot switch the LNB supply (EOPNOTSUPP)
    bool noTone = false;    // nor the 22 kHz tone
};

class Frontend {
  public:
    // Opens /dev/dvb/adapterA/frontendF read-write and checks that it is a satellite
    // frontend. On failure returns null and sets error to a one-line reason for the user.
    static std::unique_ptr<Frontend> open(FrontendAddress address, std::string &error);
    ~Frontend();
    Frontend(const Frontend &) = delete;
    Frontend &operator=(const Frontend &) = delete;

    bool supports(uint32_t deliverySystem) const;
    const Limits &limits() const { return limits_; }
    const std::string &name() const { return name_; }

    // LNB supply (13/18 V), optional DiSEqC committed switch, then the 22 kHz tone. Returns 0
    // or a negative errno; error then holds the reason. A supply or tone the driver cannot
    // switch at all (externally powered LNBs) is not an error: notes says what was left out.
    int setLnb(bool voltage18, bool toneOn, int diseqcPort, LnbNotes &notes, std::string &error);
    // Tunes the plan on the given delivery system (SYS_DVBS or SYS_DVBS2). For DVB-S2 the
    // modulation is QAM_AUTO (the demodulator finds it), QPSK or PSK_8; all else automatic.
    int tune(uint32_t deliverySystem, uint32_t modulation, const TuningPlan &plan,
             std::string &error);
    // One status and statistics read (dvb_fe_get_stats); at the first lock after a tune, also
    // what the driver locked to.
    int read(Snapshot &snapshot, std::string &error);

  private:
    explicit Frontend(dvb_v5_fe_parms *parms);
    struct Closer {
        void operator()(dvb_v5_fe_parms *parms) const;
    };
    std::unique_ptr<dvb_v5_fe_parms, Closer> parms_;
    Limits limits_;
    std::string name_;
    uint32_t tunedSystem_ = 0;
    bool readBack_ = false; // the locked parameters were read since the last tune
};

// The last message libdvbv5 logged on this thread (its log goes here, not to the terminal).
std::string lastLibraryMessage();

} // namespace vintorel::dvb
