// The DirectSound 8 device object: IDirectSound8 over one OpenAL Soft output. It creates
// secondary buffers, records the cooperative level and reports software-mixing caps and a
// stereo speaker layout (SetSpeakerConfig checks its argument and changes nothing, as on
// Windows since Vista).
// Called from the program's thread, like the rest of the platform layer; one worker thread of
// its own makes the OpenAL context in the background (creation returns at once) and then
// pauses the output whenever no buffer plays, so nothing wakes up for silence. The object's
// lock guards every buffer against that thread. When the output loses its device (the sound
// server goes away), that thread opens the default output anew while sounds are asked for, at
// most once a second, and moves every buffer over to it.
// Not supported: primary buffers, DuplicateSoundBuffer, a second Initialize.
#pragma once

#include "dsound/al_output.h"

#include <dsound.h>

#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

namespace vintorel::dsound {

class SoundBuffer;

class DirectSound8 final : public IDirectSound8 {
  public:
    explicit DirectSound8(std::unique_ptr<AlOutput> output);
    DirectSound8(const DirectSound8 &) = delete;
    DirectSound8 &operator=(const DirectSound8 &) = delete;

    STDMETHOD(QueryInterface)(REFIID riid, void **object) override;
    STDMETHOD_(ULONG, AddRef)() override;
    STDMETHOD_(ULONG, Release)() override;

    STDMETHOD(CreateSoundBuffer)
    (LPCDSBUFFERDESC desc, LPDIRECTSOUNDBUFFER *buffer, LPUNKNOWN outer) override;
    STDMETHOD(GetCaps)(LPDSCAPS caps) override;
    STDMETHOD(DuplicateSoundBuffer)
    (LPDIRECTSOUNDBUFFER original, LPDIRECTSOUNDBUFFER *duplicate) override;
    STDMETHOD(SetCooperativeLevel)(HWND hwnd, DWORD level) override;
    STDMETHOD(Compact)() override;
    STDMETHOD(GetSpeakerConfig)(LPDWORD speakerConfig) override;
    STDMETHOD(SetSpeakerConfig)(DWORD speakerConfig) override;
    STDMETHOD(Initialize)(LPCGUID device) override;
    STDMETHOD(VerifyCertification)(LPDWORD certified) override;

    // Buffers keep the object (and so the OpenAL device) alive without counting as
    // references the program holds: Release on the interface still reaches 0 as it would on
    // Windows, and the device closes once the last buffer is gone too.
    void retainForBuffer() { ++bufferRefs_; }
    void releaseForBuffer();

    const AlOutput &output() const { return *output_; }

    // Held by every buffer call; recursive since buffer methods call one another.
    std::recursive_mutex &lock() { return mutex_; }
    // With the lock held: whether the context exists (buffers then have their AL objects), and
    // whether it could not be made (everything stays silent).
    bool ready() const { return ready_; }
    bool failed() const { return failed_; }
    void addBuffer(SoundBuffer *buffer);
    void removeBuffer(SoundBuffer *buffer);
    // With the lock held, after a buffer started or stopped: lets the worker wake the output
    // or decide anew when to put it to sleep.
    void playStateChanged();

  private:
    ~DirectSound8();
    void destroyIfUnused();
    void run();
    void sleepWhileSilent(std::unique_lock<std::recursive_mutex> &lock);
    void reopenIfLost(std::unique_lock<std::recursive_mutex> &lock);
    double updateSeconds() const;

    std::unique_ptr<AlOutput> output_;
    std::recursive_mutex mutex_;
    std::condition_variable_any wake_;
    std::vector<SoundBuffer *> buffers_;
    bool ready_ = false;
    bool failed_ = false;
    bool changed_ = false;
    bool stopping_ = false;
    std::chrono::steady_clock::time_point lastReopen_{};
    std::thread worker_;
    ULONG refs_ = 1;
    ULONG bufferRefs_ = 0;
    DWORD level_ = DSSCL_NORMAL;
    HWND window_ = nullptr;
    const DWORD speakerConfig_ = DSSPEAKER_COMBINED(DSSPEAKER_STEREO, DSSPEAKER_GEOMETRY_WIDE);
};

} // namespace vintorel::dsound
