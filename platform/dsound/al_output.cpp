// Opening and closing OpenAL Soft's default output for a DirectSound device object, its
// context attributes and pausing. Does not pick a device itself and does not restore a
// previously current context. A machine without sound is normal for this program (it then
// plays nothing, as DirectSound without a driver): OpenAL Soft's and ALSA's own messages about
// the outputs they could not open stay unprinted unless the user asks for them with
// ALSOFT_LOGLEVEL.
#include "dsound/al_output.h"

#include <AL/alext.h>
#include <AL/efx.h>

#include <cstdlib>
#include <cstring>
#include <dlfcn.h>

namespace vintorel::dsound {
namespace {

constexpr ALCint kNoLimiter[] = {ALC_OUTPUT_LIMITER_SOFT, ALC_FALSE};
constexpr ALCint kNoHrtf[] = {ALC_HRTF_SOFT, ALC_FALSE};

template <typename F> F alcProc(ALCdevice *device, const char *name) {
    return reinterpret_cast<F>(alcGetProcAddress(device, name));
}

// ALSA prints its errors itself unless given a handler; OpenAL Soft loads it at run time, so
// the handler is set through the same library, loaded here first and kept loaded.
void dropAlsaMessage(const char *, int, const char *, int, const char *, ...) {}

void quietUnlessAsked() {
    if (std::getenv("ALSOFT_LOGLEVEL") != nullptr) {
        return;
    }
    setenv("ALSOFT_LOGLEVEL", "0", 0);
    void *alsa = dlopen("libasound.so.2", RTLD_NOW | RTLD_LOCAL);
    if (!alsa) {
        return;
    }
    using Handler = void (*)(const char *, int, const char *, int, const char *, ...);
    if (auto setHandler =
            reinterpret_cast<int (*)(Handler)>(dlsym(alsa, "snd_lib_error_set_handler"))) {
        setHandler(dropAlsaMessage);
    }
}

} // namespace

std::unique_ptr<AlOutput> AlOutput::openDefault() {
    [[maybe_unused]] static const bool quiet = (quietUnlessAsked(), true);
    ALCdevice *device = alcOpenDevice(nullptr);
    if (!device) {
        return nullptr;
    }
    return std::unique_ptr<AlOutput>(new AlOutput(device));
}

AlOutput::AlOutput(ALCdevice *device) : device_(device) {
    if (alcIsExtensionPresent(device_, "ALC_SOFT_pause_device")) {
        pause_ = alcProc<decltype(pause_)>(device_, "alcDevicePauseSOFT");
        resume_ = alcProc<decltype(resume_)>(device_, "alcDeviceResumeSOFT");
    }
    if (alcIsExtensionPresent(device_, "ALC_SOFT_device_clock")) {
        getInteger64_ = alcProc<decltype(getInteger64_)>(device_, "alcGetInteger64vSOFT");
    }
    if (alcIsExtensionPresent(device_, "ALC_EXT_thread_local_context")) {
        setThreadContext_ = alcProc<decltype(setThreadContext_)>(device_, "alcSetThreadContext");
    }
    // Asked of an open device, the full-name query gives the backend's own device name (the
    // plain one is just "OpenAL Soft").
    const ALCchar *name = alcIsExtensionPresent(nullptr, "ALC_ENUMERATE_ALL_EXT")
                              ? alcGetString(device_, ALC_ALL_DEVICES_SPECIFIER)
                              : alcGetString(device_, ALC_DEVICE_SPECIFIER);
    const bool fileWriter = name && std::strstr(name, "Wave File Writer");
    canPause_ = pause_ && resume_ && !fileWriter;
}

AlOutput::~AlOutput() {
    if (context_) {
        if (alcGetCurrentContext() == context_) {
            alcMakeContextCurrent(nullptr);
        }
        alcDestroyContext(context_);
    }
    alcCloseDevice(device_);
}

bool AlOutput::createContext() {
    // Every buffer is its own source played straight to the output: no effect sends, no HRTF;
    // no limiter either, since a few clips at unity gain stay within full scale and the
    // limiter's gain computation would run on every update.
    // One source per buffer: 64 of each kind are plenty for a program with a few dozen clips
    // (OpenAL Soft 1.19 raises the total to 256 anyway; later versions size their voices by it).
    ALCint attributes[16];
    int n = 0;
    attributes[n++] = ALC_MONO_SOURCES;
    attributes[n++] = 64;
    attributes[n++] = ALC_STEREO_SOURCES;
    attributes[n++] = 64;
    attributes[n++] = ALC_MAX_AUXILIARY_SENDS;
    attributes[n++] = 0;
    if (alcIsExtensionPresent(device_, "ALC_SOFT_output_limiter")) {
        attributes[n++] = kNoLimiter[0];
        attributes[n++] = kNoLimiter[1];
    }
    if (alcIsExtensionPresent(device_, "ALC_SOFT_HRTF")) {
        attributes[n++] = kNoHrtf[0];
        attributes[n++] = kNoHrtf[1];
    }
    attributes[n] = 0;
    ALCcontext *context = alcCreateContext(device_, attributes);
    if (!context) {
        return false;
    }
    // The worker thread that makes the context keeps it as its own current context, leaving
    // the process-wide one (the program's thread) alone; without the extension both share it.
    if (!setThreadContext_ || !setThreadContext_(context)) {
        alcMakeContextCurrent(context);
    }

    ALCint frequency = 0;
    ALCint refresh = 0;
    alcGetIntegerv(device_, ALC_FREQUENCY, 1, &frequency);
    alcGetIntegerv(device_, ALC_REFRESH, 1, &refresh);
    if (frequency > 0) {
        mixFrequency_ = frequency;
    }
    if (refresh > 0) {
        updateFrames_ = (mixFrequency_ + refresh - 1) / refresh;
    }
    directChannels_ = alIsExtensionPresent("AL_SOFT_direct_channels") == AL_TRUE;
    if (alIsExtensionPresent("AL_SOFTX_map_buffer") == AL_TRUE) {
        mapping_.storage =
            reinterpret_cast<decltype(mapping_.storage)>(alGetProcAddress("alBufferStorageSOFT"));
        mapping_.map =
            reinterpret_cast<decltype(mapping_.map)>(alGetProcAddress("alMapBufferSOFT"));
        mapping_.unmap =
            reinterpret_cast<decltype(mapping_.unmap)>(alGetProcAddress("alUnmapBufferSOFT"));
    }
    context_ = context;
    return true;
}

void AlOutput::leaveThread() const {
    if (setThreadContext_) {
        setThreadContext_(nullptr);
    }
}

bool AlOutput::connected() const {
    if (!alcIsExtensionPresent(device_, "ALC_EXT_disconnect")) {
        return true;
    }
    ALCint connected = ALC_TRUE;
    alcGetIntegerv(device_, ALC_CONNECTED, 1, &connected);
    return connected != ALC_FALSE;
}

void AlOutput::makeCurrent() const {
    if (context_ && alcGetCurrentContext() != context_) {
        alcMakeContextCurrent(context_);
    }
}

double AlOutput::latencySeconds() const {
    if (!getInteger64_) {
        return 0.0;
    }
    ALCint64SOFT nanoseconds = 0;
    getInteger64_(device_, ALC_DEVICE_LATENCY_SOFT, 1, &nanoseconds);
    return nanoseconds > 0 ? static_cast<double>(nanoseconds) / 1e9 : 0.0;
}

void AlOutput::pause() {
    if (!canPause_ || paused_) {
        return;
    }
    pause_(device_);
    paused_ = true;
}

void AlOutput::resume() {
    if (!paused_) {
        return;
    }
    resume_(device_);
    paused_ = false;
}

} // namespace vintorel::dsound
