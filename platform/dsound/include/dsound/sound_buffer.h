// A DirectSound secondary buffer on one OpenAL source and one OpenAL buffer. Lock hands out
// staging bytes kept here; Unlock uploads them whole into the OpenAL buffer and, where OpenAL
// can hand the samples back (buffer mapping), frees the staging copy, so a clip's samples are
// held once. Play, Stop, the play cursor, volume, pan and frequency map onto the source; OpenAL
// mixes the buffers. Until the device object's context exists (it is made in the background)
// the buffer keeps all of that itself and hands it to OpenAL when the context is ready: a Play
// before then starts the sound at that moment.
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

  public:
    // Called with the device object's lock held, once its context exists: makes the source
    // and buffer, uploads what was written and starts a Play that was asked for before.
    HRESULT attach();
    // Called with the device object's lock held before its output is replaced by a new one:
    // takes the samples back from OpenAL and deletes the AL objects; attach() on the new
    // output makes them again. A playing buffer is stopped.
    void detach();
    // Called with the device object's lock held when the output could not be made: a Play
    // asked for before is dropped, as the sound it would make.
    void dropPendingPlay() { pendingPlay_ = false; }
    bool isPlaying() const;
    bool isLooping() const { return looping_; }
    // Seconds until a playing, not looping buffer reaches its end at its current frequency.
    double secondsLeft() const;

  private:
    SoundBuffer(DirectSound8 &owner, const BufferSpec &spec);
    ~SoundBuffer();
    HRESULT upload();
    bool restoreStaging();
    DWORD playFrame() const;
    DWORD writeLeadBytes() const;
    DWORD size() const { return bytes_; }
    DWORD frames() const { return bytes_ / format_.nBlockAlign; }
    void makeCurrent() const;
    bool attached() const { return source_ != 0; }

    OwnerRef owner_;
    ULONG refs_ = 1;
    DWORD flags_;
    WAVEFORMATEX format_;
    ALenum alFormat_;
    DWORD bytes_;
    // The bytes Lock hands out; empty while OpenAL holds the only copy (staged_ false).
    std::vector<BYTE> data_;
    bool staged_ = true;
    bool uploaded_ = false;    // the OpenAL buffer holds what was last unlocked
    bool pendingPlay_ = false; // Play asked for before the context existed
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
