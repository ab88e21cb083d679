// The OpenAL Soft output behind one DirectSound device object: an ALC device, opened at once,
// and its context, made later (createContext, from the device object's worker thread) since
// making it costs far more than opening the device. OpenAL Soft's own configuration
// (ALSOFT_CONF, ALSOFT_DRIVERS and its config files) chooses the backend and device; nothing here
// overrides that. The context asks only for what DirectSound buffers need: no auxiliary sends,
// no HRTF, no output limiter (clips are mixed at unity gain and cannot clip by themselves).
// The device can be paused while nothing plays, so that no mixer thread runs for silence.
// A device that lost its output says so (connected), so that its owner can open a new one.
// Does not enumerate devices, open capture devices or share a context between objects.
#pragma once

#include <AL/al.h>
#include <AL/alc.h>
#include <AL/alext.h>

#include <memory>

namespace vintorel::dsound {

// OpenAL Soft's buffer mapping (AL_SOFTX_map_buffer): the buffer's samples can be read back,
// so they need not be kept a second time outside OpenAL.
struct AlMapping {
    void(AL_APIENTRY *storage)(ALuint, ALenum, const ALvoid *, ALsizei, ALsizei, ALuint) = nullptr;
    void *(AL_APIENTRY *map)(ALuint, ALsizei, ALsizei, ALuint) = nullptr;
    void(AL_APIENTRY *unmap)(ALuint) = nullptr;
    explicit operator bool() const { return storage && map && unmap; }
};

class AlOutput {
  public:
    // The default output device, or null when OpenAL has none to give. No context yet.
    static std::unique_ptr<AlOutput> openDefault();
    ~AlOutput();
    AlOutput(const AlOutput &) = delete;
    AlOutput &operator=(const AlOutput &) = delete;

    // Makes the context and makes it current for the calling thread only. False if OpenAL
    // refuses; the output then stays without a context and everything is silent.
    bool createContext();
    bool hasContext() const { return context_ != nullptr; }
    // Detaches the context from the calling (worker) thread again.
    void leaveThread() const;
    // False once the device has lost its output for good (ALC_EXT_disconnect: a sound server
    // that went away, a card unplugged); it then plays nothing until it is opened anew.
    bool connected() const;

    // Makes this output's context current; every AL call goes through here first, since
    // several device objects may exist in one process.
    void makeCurrent() const;

    // The mixer's rate and the length of one mixing update, used to place the write cursor.
    int mixFrequency() const { return mixFrequency_; }
    int updateFrames() const { return updateFrames_; }
    bool directChannels() const { return directChannels_; }
    const AlMapping &mapping() const { return mapping_; }

    // Pausing stops OpenAL's mixer thread. Not done for outputs that record a timeline (the
    // wave file writer), where a pause would cut the silence out of the recording.
    bool canPause() const { return canPause_; }
    // How long what the mixer has written takes to be heard (ALC_SOFT_device_clock: the
    // backend's buffer, a sound server's own included); 0 where OpenAL cannot say. A pause
    // before that much time has passed after the last sound would hold its end back (a
    // PulseAudio stream is corked with it still queued) until the next sound.
    double latencySeconds() const;
    void pause();
    void resume();
    bool paused() const { return paused_; }

  private:
    explicit AlOutput(ALCdevice *device);

    ALCdevice *device_;
    ALCcontext *context_ = nullptr;
    int mixFrequency_ = 44100;
    int updateFrames_ = 1024;
    bool directChannels_ = false;
    AlMapping mapping_;
    bool canPause_ = false;
    bool paused_ = false;
    ALCboolean(ALC_APIENTRY *setThreadContext_)(ALCcontext *) = nullptr;
    void(ALC_APIENTRY *pause_)(ALCdevice *) = nullptr;
    void(ALC_APIENTRY *resume_)(ALCdevice *) = nullptr;
    void(ALC_APIENTRY *getInteger64_)(ALCdevice *, ALCenum, ALsizei, ALCint64SOFT *) = nullptr;
};

} // namespace vintorel::dsound
