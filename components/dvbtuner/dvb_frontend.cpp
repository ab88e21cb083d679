// One opened satellite frontend through libdvbv5 (see dvb_frontend.h). It keeps libdvbv5's
// log off the terminal: the last message is kept for the one-line reasons given to the user.
#include "components/dvbtuner/dvb_frontend.h"

#include <libdvbv5/dvb-fe.h>

#include <cerrno>
#include <chrono>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <thread>
#include <unistd.h>

namespace vintorel::dvb {

namespace {

thread_local std::string tlsLastMessage;

// libdvbv5's log function: remembered, never printed. It must not disturb errno, which
// libdvbv5 reads again after logging a failed call.
__attribute__((format(printf, 2, 3))) void keepLastMessage(int level, const char *format, ...) {
    const int savedErrno = errno;
    if (level <= LOG_WARNING && format != nullptr) {
        char text[256];
        va_list args;
        va_start(args, format);
        std::vsnprintf(text, sizeof text, format, args);
        va_end(args);
        std::string message(text);
        while (!message.empty() && (message.back() == '\n' || message.back() == ' ')) {
            message.pop_back();
        }
        tlsLastMessage = message;
    }
    errno = savedErrno;
}

std::string hintFor(int error) {
    switch (error) {
    case EACCES:
    case EPERM:
        return " (is the user in the video group?)";
    case EBUSY:
        return " (is another program using the card?)";
    case ENOENT:
    case ENODEV:
    case ENXIO:
        return " (no DVB card there? VINTOREL_TUNER=dvb:ADAPTER.FRONTEND picks another)";
    default:
        return {};
    }
}

std::string describe(const char *what, int negativeErrno) {
    std::string text = what;
    const std::string library = tlsLastMessage;
    if (negativeErrno < 0) {
        text += ": ";
        text += std::strerror(-negativeErrno);
    } else if (!library.empty()) {
        text += ": " + library;
    }
    return text;
}

Stat statOf(const dtv_stats *stat) {
    Stat result;
    if (stat == nullptr) {
        return result;
    }
    switch (stat->scale) {
    case FE_SCALE_DECIBEL:
        result.scale = StatScale::Decibel;
        result.svalue = stat->svalue;
        break;
    case FE_SCALE_RELATIVE:
        result.scale = StatScale::Relative;
        result.uvalue = stat->uvalue;
        break;
    case FE_SCALE_COUNTER:
        result.scale = StatScale::Counter;
        result.uvalue = stat->uvalue;
        break;
    default:
        break;
    }
    return result;
}

// Some properties exist only in some libdvbv5 versions' lists (DTV_VOLTAGE, DTV_STREAM_ID):
// set them when present so that a zero default never reaches the card.
void storeIfPresent(dvb_v5_fe_parms *parms, unsigned command, uint32_t value) {
    uint32_t current = 0;
    if (dvb_fe_retrieve_parm(parms, command, &current) == 0) {
        dvb_fe_store_parm(parms, command, value);
    }
}

} // namespace

std::string lastLibraryMessage() {
    return tlsLastMessage;
}

void Frontend::Closer::operator()(dvb_v5_fe_parms *parms) const {
    dvb_fe_close(parms);
}

Frontend::Frontend(dvb_v5_fe_parms *parms) : parms_(parms) {
    name_ = std::string(parms->info.name, strnlen(parms->info.name, sizeof parms->info.name));
}

Frontend::~Frontend() = default;

std::unique_ptr<Frontend> Frontend::open(FrontendAddress address, std::string &error) {
    const std::string path = frontendPath(address);
    // libdvbv5 reports a missing or forbidden device only through its log; open it once here
    // so that the user gets the system's own reason. Read-only: on Linux a read-write open
    // starts the frontend, and closing the last read-write descriptor puts the demodulator to
    // sleep and switches the LNB supply off again, a power cycle just before the real open.
    const int probe = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (probe < 0) {
        const int e = errno;
        error = "cannot open " + path + ": " + std::strerror(e) + hintFor(e);
        return nullptr;
    }
    ::close(probe);

    tlsLastMessage.clear();
    errno = 0;
    dvb_v5_fe_parms *parms =
        dvb_fe_open_flags(address.adapter, address.frontend, 0, 0, keepLastMessage, O_RDWR);
    if (parms == nullptr) {
        // A card another program has open for tuning refuses only this read-write open.
        const int e = errno;
        const std::string library = tlsLastMessage;
        error = "cannot open " + path + ": " +
                (library.empty() || e == EBUSY ? std::strerror(e) : library) + hintFor(e);
        return nullptr;
    }
    std::unique_ptr<Frontend> frontend(new Frontend(parms));
    const bool dvbs = frontend->supports(SYS_DVBS);
    const bool dvbs2 = frontend->supports(SYS_DVBS2);
    if (!dvbs && !dvbs2) {
        error = path + " (" + frontend->name_ + ") is not a satellite (DVB-S/S2) frontend";
        return nullptr;
    }
    // Select a satellite system now, so that the ranges read below are the satellite ones.
    const uint32_t system = dvbs ? SYS_DVBS : SYS_DVBS2;
    if (parms->current_sys != static_cast<fe_delivery_system_t>(system)) {
        tlsLastMessage.clear();
        const int rc = dvb_set_sys(parms, static_cast<fe_delivery_system_t>(system));
        if (rc != 0) {
            error = describe(("cannot select DVB-S on " + path).c_str(), rc);
            return nullptr;
        }
    }
    frontend->limits_ =
        limitsFromFrontend(parms->info.frequency_min, parms->info.frequency_max,
                           parms->info.symbol_rate_min, parms->info.symbol_rate_max);
    return frontend;
}

bool Frontend::supports(uint32_t deliverySystem) const {
    for (int i = 0; i < parms_->num_systems && i < MAX_DELIVERY_SYSTEMS; ++i) {
        if (static_cast<uint32_t>(parms_->systems[i]) == deliverySystem) {
            return true;
        }
    }
    return false;
}

int Frontend::setLnb(bool voltage18, bool toneOn, int diseqcPort, LnbNotes &notes,
                     std::string &error) {
    dvb_v5_fe_parms *parms = parms_.get();
    notes = LnbNotes{};
    tlsLastMessage.clear();
    // EOPNOTSUPP: the card has no LNB supply control (the LNB is powered and switched by
    // something else), so there is nothing to switch and the tune can go on without it.
    int rc = dvb_fe_sec_voltage(parms, 1, voltage18 ? 1 : 0);
    if (rc == -EOPNOTSUPP) {
        notes.noVoltage = true;
    } else if (rc != 0) {
        error = describe("cannot switch the LNB supply", rc) +
                (rc == -EIO ? " (LNB overload? check the cable for a short circuit)" : "");
        return rc;
    }
    if (diseqcPort >= 0) {
        // The switch listens only without the tone; it needs a few ms after each change.
        rc = dvb_fe_sec_tone(parms, SEC_TONE_OFF);
        if (rc == 0 || rc == -EOPNOTSUPP) {
            std::this_thread::sleep_for(std::chrono::milliseconds(15));
            const auto command = committedSwitchCommand(diseqcPort, voltage18, toneOn);
            rc = dvb_fe_diseqc_cmd(parms, static_cast<unsigned>(command.size()), command.data());
            std::this_thread::sleep_for(std::chrono::milliseconds(15));
        }
        if (rc != 0) {
            error = describe("cannot send the DiSEqC switch command", rc);
            return rc;
        }
    }
    rc = dvb_fe_sec_tone(parms, toneOn ? SEC_TONE_ON : SEC_TONE_OFF);
    if (rc == -EOPNOTSUPP) {
        notes.noTone = true;
    } else if (rc != 0) {
        error = describe("cannot switch the 22 kHz tone", rc);
        return rc;
    }
    return 0;
}

int Frontend::tune(uint32_t deliverySystem, uint32_t modulation, const TuningPlan &plan,
                   std::string &error) {
    dvb_v5_fe_parms *parms = parms_.get();
    tlsLastMessage.clear();
    // Always re-select: it also resets the property list that the last lock overwrote.
    int rc = dvb_set_sys(parms, static_cast<fe_delivery_system_t>(deliverySystem));
    if (rc != 0) {
        error = describe(
            deliverySystem == SYS_DVBS2 ? "cannot select DVB-S2" : "cannot select DVB-S", rc);
        return rc < 0 ? rc : -EINVAL;
    }
    dvb_fe_store_parm(parms, DTV_FREQUENCY, plan.ifKHz);
    dvb_fe_store_parm(parms, DTV_SYMBOL_RATE, plan.symbolRate);
    dvb_fe_store_parm(parms, DTV_INVERSION, INVERSION_AUTO);
    dvb_fe_store_parm(parms, DTV_INNER_FEC, plan.innerFec);
    storeIfPresent(parms, DTV_VOLTAGE, plan.voltage18 ? SEC_VOLTAGE_18 : SEC_VOLTAGE_13);
    storeIfPresent(parms, DTV_TONE, plan.toneOn ? SEC_TONE_ON : SEC_TONE_OFF);
    if (deliverySystem == SYS_DVBS2) {
        // Pilots and roll-off are detected by the demodulators; drivers that insist on a value
        // get the common ones.
        storeIfPresent(parms, DTV_MODULATION, modulation);
        storeIfPresent(parms, DTV_PILOT, PILOT_AUTO);
        storeIfPresent(parms, DTV_ROLLOFF, ROLLOFF_35);
        storeIfPresent(parms, DTV_STREAM_ID, NO_STREAM_ID_FILTER);
    }
    tlsLastMessage.clear();
    rc = dvb_fe_set_parms(parms);
    if (rc != 0) {
        error = describe("the card refused the tuning parameters", rc);
        return rc < 0 ? rc : -EINVAL;
    }
    tunedSystem_ = deliverySystem;
    readBack_ = false;
    return 0;
}

int Frontend::read(Snapshot &snapshot, std::string &error) {
    dvb_v5_fe_parms *parms = parms_.get();
    snapshot = Snapshot{};
    tlsLastMessage.clear();
    const int rc = dvb_fe_get_stats(parms);
    if (rc != 0) {
        error = describe("cannot read the card's status", rc);
        return rc < 0 ? rc : -EIO;
    }
    uint32_t status = 0;
    if (dvb_fe_retrieve_stats(parms, DTV_STATUS, &status) != 0) {
        status = 0;
    }
    snapshot.valid = true;
    snapshot.status = status;
    snapshot.strength = statOf(dvb_fe_retrieve_stats_layer(parms, DTV_STAT_SIGNAL_STRENGTH, 0));
    snapshot.cnr = statOf(dvb_fe_retrieve_stats_layer(parms, DTV_STAT_CNR, 0));
    // libdvbv5 falls back to the DVBv3 calls (and says so here) when the driver fills in no
    // DVBv5 statistics; it files their answers as relative, whatever unit the driver used.
    snapshot.legacyStats = parms->has_v5_stats == 0;

    snapshot.deliverySystem =
        tunedSystem_ != 0 ? tunedSystem_ : static_cast<uint32_t>(parms->current_sys);
    const bool locked = (status & FE_HAS_LOCK) != 0;
    if (locked && !readBack_) {
        // What the demodulator locked to: libdvbv5 reads it on a change of status only, which
        // a retune between two locked transponders does not make.
        readBack_ = dvb_fe_get_parms(parms) == 0;
    }
    uint32_t value = 0;
    if (locked && dvb_fe_retrieve_parm(parms, DTV_DELIVERY_SYSTEM, &value) == 0 &&
        (value == SYS_DVBS || value == SYS_DVBS2)) {
        snapshot.deliverySystem = value; // some DVB-S2 demodulators also lock DVB-S carriers
    }
    snapshot.modulation = QPSK;
    if (snapshot.deliverySystem == SYS_DVBS2) {
        snapshot.modulation = dvb_fe_retrieve_parm(parms, DTV_MODULATION, &value) == 0
                                  ? value
                                  : static_cast<uint32_t>(QAM_AUTO);
    }
    snapshot.innerFec = dvb_fe_retrieve_parm(parms, DTV_INNER_FEC, &value) == 0
                            ? value
                            : static_cast<uint32_t>(FEC_AUTO);
    return 0;
}

} // namespace vintorel::dvb
