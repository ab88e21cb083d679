// The fake DVB frontend and the interposed system and libudev calls (see fake_dvb_device.h).
// Fortified inline wrappers would clash with the definitions of open below.
#undef _FORTIFY_SOURCE

#include "tests/dvbtuner/fake_dvb_device.h"

#include <cerrno>
#include <cstdarg>
#include <cstring>
#include <dlfcn.h>
#include <fcntl.h>
#include <string_view>
#include <sys/ioctl.h>
#include <unistd.h>

namespace vintorel::test {

uint32_t FakeFrontend::lastTuned(uint32_t command) const {
    if (tunes.empty()) {
        return 0;
    }
    const auto it = tunes.back().find(command);
    return it == tunes.back().end() ? 0 : it->second;
}

bool FakeFrontend::locked() const {
    const uint32_t system = lastTuned(DTV_DELIVERY_SYSTEM);
    const bool modulationFits =
        system != SYS_DVBS2 || detectsModulation || lastTuned(DTV_MODULATION) == lockedModulation;
    return !tunes.empty() && signalPresent && lockingSystems.count(system) != 0 && modulationFits;
}

uint32_t FakeFrontend::status() const {
    if (tunes.empty() || !signalPresent) {
        return 0;
    }
    return locked() ? statusWithLock : statusWithoutLock;
}

FakeDvb &FakeDvb::instance() {
    // Never destroyed: descriptors may still be closed while the process exits.
    static auto *registry = new FakeDvb;
    return *registry;
}

FakeFrontend &FakeDvb::add(int adapter, int frontend) {
    const std::string path =
        "/dev/dvb/adapter" + std::to_string(adapter) + "/frontend" + std::to_string(frontend);
    auto &slot = devices_[path];
    slot = std::make_unique<FakeFrontend>();
    return *slot;
}

void FakeDvb::reset() {
    devices_.clear();
    openFds_.clear();
}

FakeFrontend *FakeDvb::find(const std::string &path) {
    const auto it = devices_.find(path);
    return it == devices_.end() ? nullptr : it->second.get();
}

} // namespace vintorel::test

using vintorel::test::FakeDvb;
using vintorel::test::FakeFrontend;

namespace {

template <typename F> F realFunction(const char *name) {
    return reinterpret_cast<F>(dlsym(RTLD_NEXT, name));
}

using OpenFn = int (*)(const char *, int, ...);
using CloseFn = int (*)(int);
using IoctlFn = int (*)(int, unsigned long, ...);

int fail(int error) {
    errno = error;
    return -1;
}

bool isFakePath(const char *path) {
    return path != nullptr && std::string_view(path).starts_with("/dev/dvb/");
}

int openFake(const char *path, int flags) {
    FakeFrontend *device = FakeDvb::instance().find(path);
    if (device == nullptr) {
        return fail(ENOENT);
    }
    if (device->openErrno != 0) {
        return fail(device->openErrno);
    }
    if ((flags & O_ACCMODE) != O_RDONLY) {
        for (const auto &[fd, open] : FakeDvb::instance().openFds()) {
            if (open == device) {
                return fail(EBUSY); // one writer at a time, as the kernel has it
            }
        }
        ++device->writerOpens;
    }
    // A real descriptor keeps the number unique in the process.
    static const auto realOpen = realFunction<OpenFn>("open");
    const int fd = realOpen("/dev/null", O_RDWR | O_CLOEXEC);
    if (fd < 0) {
        return fd;
    }
    if (device->currentSystem == 0 && !device->systems.empty()) {
        device->currentSystem = device->systems.front();
    }
    ++device->opens;
    FakeDvb::instance().openFds()[fd] = device;
    return fd;
}

int openAny(const char *name, const char *path, int flags, mode_t mode) {
    if (isFakePath(path)) {
        return openFake(path, flags);
    }
    const auto real = realFunction<OpenFn>(name);
    return real(path, flags, mode);
}

void fillStat(dtv_property &property, const FakeFrontend &device,
              const vintorel::test::FakeStat &stat) {
    if (!device.v5Stats) {
        property.u.st.len = 0;
        return;
    }
    property.u.st.len = 1;
    property.u.st.stat[0].scale = stat.scale;
    if (stat.scale == FE_SCALE_DECIBEL) {
        property.u.st.stat[0].svalue = stat.value;
    } else {
        property.u.st.stat[0].uvalue = static_cast<uint64_t>(stat.value);
    }
}

int getProperties(FakeFrontend &device, dtv_properties *properties) {
    for (uint32_t i = 0; i < properties->num; ++i) {
        dtv_property &property = properties->props[i];
        switch (property.cmd) {
        case DTV_API_VERSION:
            property.u.data = 0x050b;
            break;
        case DTV_DELIVERY_SYSTEM:
            property.u.data =
                device.locked() && device.reportsLockedParameters && device.lockedSystem != 0
                    ? device.lockedSystem
                    : device.currentSystem;
            break;
        case DTV_ENUM_DELSYS:
            property.u.buffer.len = static_cast<uint32_t>(device.systems.size());
            for (std::size_t s = 0; s < device.systems.size() && s < 32; ++s) {
                property.u.buffer.data[s] = static_cast<uint8_t>(device.systems[s]);
            }
            break;
        case DTV_STAT_SIGNAL_STRENGTH:
            fillStat(property, device, device.strength);
            break;
        case DTV_STAT_CNR:
            fillStat(property, device, device.cnr);
            break;
        case DTV_STAT_PRE_ERROR_BIT_COUNT:
        case DTV_STAT_PRE_TOTAL_BIT_COUNT:
        case DTV_STAT_POST_ERROR_BIT_COUNT:
        case DTV_STAT_POST_TOTAL_BIT_COUNT:
        case DTV_STAT_ERROR_BLOCK_COUNT:
        case DTV_STAT_TOTAL_BLOCK_COUNT:
            fillStat(property, device, {});
            break;
        case DTV_MODULATION:
            property.u.data = device.locked() && device.reportsLockedParameters
                                  ? device.lockedModulation
                                  : device.lastTuned(DTV_MODULATION);
            break;
        case DTV_INNER_FEC:
            property.u.data = device.locked() && device.reportsLockedParameters
                                  ? device.lockedFec
                                  : device.lastTuned(DTV_INNER_FEC);
            break;
        default:
            property.u.data = device.lastTuned(property.cmd);
            break;
        }
    }
    return 0;
}

int setProperties(FakeFrontend &device, const dtv_properties *properties) {
    for (uint32_t i = 0; i < properties->num; ++i) {
        const dtv_property &property = properties->props[i];
        if (property.cmd == DTV_DELIVERY_SYSTEM) {
            bool known = false;
            for (uint32_t s : device.systems) {
                known = known || s == property.u.data;
            }
            if (!known) {
                return fail(EINVAL);
            }
            device.currentSystem = property.u.data;
            device.pending[DTV_DELIVERY_SYSTEM] = property.u.data;
        } else if (property.cmd == DTV_TUNE) {
            if (device.failTuneErrno != 0) {
                return fail(device.failTuneErrno);
            }
            // The kernel's own range checks before a tune.
            const uint32_t frequency = device.pending[DTV_FREQUENCY];
            const uint32_t rate = device.pending[DTV_SYMBOL_RATE];
            if (frequency < device.frequencyMinKHz || frequency > device.frequencyMaxKHz ||
                rate < device.symbolRateMin || rate > device.symbolRateMax) {
                return fail(EINVAL);
            }
            if (device.refusesAutoModulation && device.currentSystem == SYS_DVBS2 &&
                device.pending[DTV_MODULATION] == QAM_AUTO) {
                return fail(EINVAL);
            }
            device.pending[DTV_DELIVERY_SYSTEM] = device.currentSystem;
            device.tunes.push_back(device.pending);
        } else {
            device.pending[property.cmd] = property.u.data;
        }
    }
    return 0;
}

int fakeIoctl(FakeFrontend &device, unsigned long request, unsigned long argument) {
    void *pointer = reinterpret_cast<void *>(argument);
    switch (request) {
    case FE_GET_INFO: {
        auto *info = static_cast<dvb_frontend_info *>(pointer);
        std::memset(info, 0, sizeof *info);
        std::strncpy(info->name, device.name.c_str(), sizeof info->name - 1);
        const bool satellite =
            device.currentSystem == SYS_DVBS || device.currentSystem == SYS_DVBS2;
        info->type = satellite ? FE_QPSK : FE_OFDM;
        // Satellite frontends answer in kHz, others in Hz.
        info->frequency_min = satellite ? device.frequencyMinKHz : 174'000'000;
        info->frequency_max = satellite ? device.frequencyMaxKHz : 862'000'000;
        info->symbol_rate_min = device.symbolRateMin;
        info->symbol_rate_max = device.symbolRateMax;
        info->caps = static_cast<fe_caps>(FE_CAN_INVERSION_AUTO | FE_CAN_FEC_AUTO | FE_CAN_QPSK |
                                          FE_CAN_2G_MODULATION);
        return 0;
    }
    case FE_GET_PROPERTY:
        return getProperties(device, static_cast<dtv_properties *>(pointer));
    case FE_SET_PROPERTY:
        return setProperties(device, static_cast<const dtv_properties *>(pointer));
    case FE_READ_STATUS:
        ++device.statusReads;
        *static_cast<fe_status_t *>(pointer) = static_cast<fe_status_t>(device.status());
        return 0;
    case FE_READ_SIGNAL_STRENGTH:
        if (device.v3Strength < 0) {
            return fail(EOPNOTSUPP);
        }
        *static_cast<uint16_t *>(pointer) = static_cast<uint16_t>(device.v3Strength);
        return 0;
    case FE_READ_SNR:
        if (device.v3Snr < 0) {
            return fail(EOPNOTSUPP);
        }
        *static_cast<uint16_t *>(pointer) = static_cast<uint16_t>(device.v3Snr);
        return 0;
    case FE_READ_BER:
    case FE_READ_UNCORRECTED_BLOCKS:
        return fail(EOPNOTSUPP);
    case FE_SET_VOLTAGE:
        if (device.voltageErrno != 0) {
            return fail(device.voltageErrno);
        }
        device.voltages.push_back(static_cast<int>(argument));
        return 0;
    case FE_SET_TONE:
        if (device.toneErrno != 0) {
            return fail(device.toneErrno);
        }
        device.tones.push_back(static_cast<int>(argument));
        return 0;
    case FE_DISEQC_SEND_MASTER_CMD: {
        const auto *command = static_cast<const dvb_diseqc_master_cmd *>(pointer);
        device.diseqc.emplace_back(command->msg, command->msg + command->msg_len);
        return 0;
    }
    case FE_DISEQC_SEND_BURST:
        return 0;
    default:
        return fail(ENOTTY);
    }
}

} // namespace

// The interposed C library calls.
extern "C" {

int __open_2(const char *path, int flags);
int __open64_2(const char *path, int flags);

int open(const char *path, int flags, ...) {
    mode_t mode = 0;
    if ((flags & O_CREAT) != 0 || (flags & O_TMPFILE) == O_TMPFILE) {
        va_list args;
        va_start(args, flags);
        mode = static_cast<mode_t>(va_arg(args, int));
        va_end(args);
    }
    return openAny("open", path, flags, mode);
}

int open64(const char *path, int flags, ...) {
    mode_t mode = 0;
    if ((flags & O_CREAT) != 0 || (flags & O_TMPFILE) == O_TMPFILE) {
        va_list args;
        va_start(args, flags);
        mode = static_cast<mode_t>(va_arg(args, int));
        va_end(args);
    }
    return openAny("open64", path, flags, mode);
}

int __open_2(const char *path, int flags) {
    return openAny("open", path, flags, 0);
}
int __open64_2(const char *path, int flags) {
    return openAny("open64", path, flags, 0);
}

int close(int fd) {
    static const auto realClose = realFunction<CloseFn>("close");
    auto &fds = FakeDvb::instance().openFds();
    if (const auto it = fds.find(fd); it != fds.end()) {
        ++it->second->closes;
        fds.erase(it);
    }
    return realClose(fd);
}

int ioctl(int fd, unsigned long request, ...) noexcept {
    va_list args;
    va_start(args, request);
    const unsigned long argument = va_arg(args, unsigned long);
    va_end(args);
    auto &fds = FakeDvb::instance().openFds();
    const auto it = fds.find(fd);
    if (it != fds.end()) {
        return fakeIoctl(*it->second, request, argument);
    }
    static const auto realIoctl = realFunction<IoctlFn>("ioctl");
    return realIoctl(fd, request, argument);
}

} // extern "C"
