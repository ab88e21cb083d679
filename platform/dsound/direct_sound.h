// The DirectSound 8 device object: IDirectSound8 over one OpenAL Soft output. It creates
// secondary buffers, records the cooperative level and reports software-mixing caps.
// Used from one thread, like the rest of the platform layer.
// Not supported: primary buffers, DuplicateSoundBuffer, a second Initialize.
#pragma once

#include "dsound/al_output.h"

#include <dsound.h>

#include <memory>

namespace vintorel::dsound {

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

  private:
    ~DirectSound8();
    void destroyIfUnused();

    std::unique_ptr<AlOutput> output_;
    ULONG refs_ = 1;
    ULONG bufferRefs_ = 0;
    DWORD level_ = DSSCL_NORMAL;
    HWND window_ = nullptr;
    DWORD speakerConfig_ = DSSPEAKER_COMBINED(DSSPEAKER_STEREO, DSSPEAKER_GEOMETRY_WIDE);
};

} // namespace vintorel::dsound
