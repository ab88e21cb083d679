// A DirectSound secondary buffer on one OpenAL source and one OpenAL buffer. The buffer's bytes
// live here (Lock hands them out); Unlock uploads them whole with alBufferData. Play, Stop,
// the play cursor, volume, pan and frequency map onto the source; OpenAL mixes the buffers.
// Not supported: SetFormat (primary buffers only), position notifications, 3D, effects, pan
// on stereo buffers (recorded and reported, but both channels keep their side), and more than
// one outstanding Lock. Unlocking while playing restarts the source at the same
// position, which may cost one mixing update of audio.
#pragma once

#include "dsound/buffer_spec.h"

#include <AL/al.h>
#include <dsound.h>

#include <vector>

namespace vintorel::dsound {

class DirectSound8;

class SoundBuffer final : public IDirectSoundBuffer {
  public:
    // A silent buffer as described by spec (already checked), or the DirectSound error.
    static HRESULT create(DirectSound8 &owner, const BufferSpec &spec, SoundBuffer **buffer);
    SoundBuffer(const SoundBuffer &) = delete;
    SoundBuffer &operator=(const SoundBuffer &) = delete;

    STDMETHOD(QueryInterface)(REFIID riid, void **object) override;
    STDMETHOD_(ULONG, AddRef)() override;
    STDMETHOD_(ULONG, Release)() override;

    STDMETHOD(GetCaps)(LPDSBCAPS caps) override;
    STDMETHOD(GetCurrentPosition)(LPDWORD playCursor, LPDWORD writeCursor) override;
    STDMETHOD(GetFormat)(LPWAVEFORMATEX format, DWORD sizeAllocated, LPDWORD sizeWritten) override;
    STDMETHOD(GetVolume)(LPLONG volume) override;
    STDMETHOD(GetPan)(LPLONG pan) override;
    STDMETHOD(GetFrequency)(LPDWORD frequency) override;
    STDMETHOD(GetStatus)(LPDWORD status) override;
    STDMETHOD(Initialize)(LPDIRECTSOUND directSound, LPCDSBUFFERDESC desc) override;
    STDMETHOD(Lock)
    (DWORD offset, DWORD bytes, LPVOID *audioPtr1, LPDWORD audioBytes1, LPVOID *audioPtr2,
     LPDWORD audioBytes2, DWORD flags) override;
    STDMETHOD(Play)(DWORD reserved1, DWORD priority, DWORD flags) override;
    STDMETHOD(SetCurrentPosition)(DWORD newPosition) override;
    STDMETHOD(SetFormat)(LPCWAVEFORMATEX format) override;
    STDMETHOD(SetVolume)(LONG volume) override;
    STDMETHOD(SetPan)(LONG pan) override;
    STDMETHOD(SetFrequency)(DWORD frequency) override;
    STDMETHOD(Stop)() override;
    STDMETHOD(Unlock)
    (LPVOID audioPtr1, DWORD audioBytes1, LPVOID audioPtr2, DWORD audioBytes2) override;
    STDMETHOD(Restore)() override;

  private:
    // Holds the device object for as long as the buffer exists (declared first, so it is
    // released after everything else).
    class OwnerRef {
      public:
        explicit OwnerRef(DirectSound8 &owner);
        ~OwnerRef();
        OwnerRef(const OwnerRef &) = delete;
        OwnerRef &operator=(const OwnerRef &) = delete;
        DirectSound8 &get() const { return owner_; }

      private:
        DirectSound8 &owner_;
    };

    struct LockedRegion {
        BYTE *ptr1;
        DWORD bytes1;
        BYTE *ptr2;
        DWORD bytes2;
    };

    SoundBuffer(DirectSound8 &owner, const BufferSpec &spec);
    ~SoundBuffer();
    HRESULT initAl();
    HRESULT upload();
    bool isPlaying() const;
    DWORD playFrame() const;
    DWORD writeLeadBytes() const;
    DWORD size() const { return static_cast<DWORD>(data_.size()); }
    void makeCurrent() const;

    OwnerRef owner_;
    ULONG refs_ = 1;
    DWORD flags_;
    WAVEFORMATEX format_;
    ALenum alFormat_;
    std::vector<BYTE> data_;
    ALuint source_ = 0;
    ALuint alBuffer_ = 0;
    LONG volume_ = DSBVOLUME_MAX;
    LONG pan_ = DSBPAN_CENTER;
    DWORD frequency_;
    bool looping_ = false;
    // Where the next Play starts while the source is not playing (Stop keeps the position,
    // SetCurrentPosition moves it); a finished pass leaves it at 0.
    DWORD startFrame_ = 0;
    bool locked_ = false;
    LockedRegion lock_{};
};

} // namespace vintorel::dsound
