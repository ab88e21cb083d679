// Recording stand-ins for the sound device and its buffers. They keep what the program asked
// for (buffer descriptions, locks, unlocks, start requests, releases) in one ordered log, and
// can be told to refuse buffer creation or locking or to hand out a short region.
#pragma once

#include "app/win32.h"

#include <memory>
#include <string>
#include <vector>

struct SoundLog {
    std::vector<std::string> calls; // "Play 5en", "Release tone", "Lock 0 200 2", ...
};

// Guard bytes after a buffer's memory, to catch writes past the locked region.
inline constexpr size_t kGuardBytes = 64;
inline constexpr BYTE kUntouched = 0xEE;

class RecordingBuffer final : public IDirectSoundBuffer {
  public:
    RecordingBuffer(std::string clipName, SoundLog *sharedLog, DWORD bytes = 0)
        : name(std::move(clipName)), log(sharedLog), memory(bytes + kGuardBytes, kUntouched),
          size(bytes) {}

    std::string name;
    SoundLog *log;
    std::vector<BYTE> memory;
    DWORD size;
    HRESULT lockStatus = DS_OK;
    DWORD regionLimit = 0xFFFFFFFF; // at most this many bytes are handed out by Lock
    bool nullRegion = false;
    int plays = 0;
    int releases = 0;
    BYTE *lockedAt = nullptr;
    DWORD lockedBytes = 0;

    STDMETHODIMP QueryInterface(REFIID, void **object) override {
        *object = nullptr;
        return E_NOINTERFACE;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return 2; }
    STDMETHODIMP_(ULONG) Release() override {
        ++releases;
        note("Release " + name);
        return 0;
    }
    STDMETHODIMP GetCaps(LPDSBCAPS) override { return E_NOTIMPL; }
    STDMETHODIMP GetCurrentPosition(LPDWORD, LPDWORD) override { return E_NOTIMPL; }
    STDMETHODIMP GetFormat(LPWAVEFORMATEX, DWORD, LPDWORD) override { return E_NOTIMPL; }
    STDMETHODIMP GetVolume(LPLONG) override { return E_NOTIMPL; }
    STDMETHODIMP GetPan(LPLONG) override { return E_NOTIMPL; }
    STDMETHODIMP GetFrequency(LPDWORD) override { return E_NOTIMPL; }
    STDMETHODIMP GetStatus(LPDWORD) override { return E_NOTIMPL; }
    STDMETHODIMP Initialize(LPDIRECTSOUND, LPCDSBUFFERDESC) override { return E_NOTIMPL; }
    STDMETHODIMP Lock(DWORD offset, DWORD bytes, LPVOID *p1, LPDWORD n1, LPVOID *p2, LPDWORD n2,
                      DWORD flags) override {
        note("Lock " + std::to_string(offset) + " " + std::to_string(bytes) + " " +
             std::to_string(flags) + (p2 == nullptr && n2 == nullptr ? "" : " second"));
        if (FAILED(lockStatus)) {
            return lockStatus;
        }
        lockedAt = nullRegion ? nullptr : memory.data();
        lockedBytes = size < regionLimit ? size : regionLimit;
        *p1 = lockedAt;
        *n1 = lockedBytes;
        return DS_OK;
    }
    STDMETHODIMP Play(DWORD reserved, DWORD priority, DWORD flags) override {
        ++plays;
        note("Play " + name +
             (reserved == 0 && priority == 0 && flags == 0 ? "" : " with extra arguments"));
        return DS_OK;
    }
    STDMETHODIMP SetCurrentPosition(DWORD) override { return note("SetCurrentPosition"); }
    STDMETHODIMP SetFormat(LPCWAVEFORMATEX) override { return note("SetFormat"); }
    STDMETHODIMP SetVolume(LONG) override { return note("SetVolume"); }
    STDMETHODIMP SetPan(LONG) override { return note("SetPan"); }
    STDMETHODIMP SetFrequency(DWORD) override { return note("SetFrequency"); }
    STDMETHODIMP Stop() override { return note("Stop"); }
    STDMETHODIMP Unlock(LPVOID p1, DWORD n1, LPVOID p2, DWORD n2) override {
        const bool same = p1 == lockedAt && n1 == lockedBytes && p2 == nullptr && n2 == 0;
        return note(std::string("Unlock ") + (same ? "region" : "other"));
    }
    STDMETHODIMP Restore() override { return note("Restore"); }

  private:
    HRESULT note(const std::string &call) {
        if (log != nullptr) {
            log->calls.push_back(call);
        }
        return DS_OK;
    }
};

// What the program described for one buffer, copied out at creation.
struct BufferRequest {
    DSBUFFERDESC desc;
    WAVEFORMATEX format;
};

class RecordingDevice final : public IDirectSound8 {
  public:
    explicit RecordingDevice(SoundLog *sharedLog) : log(sharedLog) {}

    SoundLog *log;
    HRESULT createStatus = DS_OK;
    std::vector<BufferRequest> requests;
    std::vector<std::unique_ptr<RecordingBuffer>> buffers;
    // Applied to the next buffer made: its lock status and region limit.
    HRESULT nextLockStatus = DS_OK;
    DWORD nextRegionLimit = 0xFFFFFFFF;
    bool nextNullRegion = false;
    HWND cooperativeWindow = nullptr;
    DWORD cooperativeLevel = 0;
    int releases = 0;

    STDMETHODIMP QueryInterface(REFIID, void **object) override {
        *object = nullptr;
        return E_NOINTERFACE;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return 2; }
    STDMETHODIMP_(ULONG) Release() override {
        ++releases;
        log->calls.push_back("Release device");
        return 0;
    }
    STDMETHODIMP CreateSoundBuffer(LPCDSBUFFERDESC desc, LPDIRECTSOUNDBUFFER *buffer,
                                   LPUNKNOWN outer) override {
        BufferRequest request{*desc, {}};
        if (desc->lpwfxFormat != nullptr) {
            request.format = *desc->lpwfxFormat;
        }
        requests.push_back(request);
        log->calls.push_back("CreateSoundBuffer" + std::string(outer ? " aggregated" : ""));
        *buffer = nullptr;
        if (FAILED(createStatus)) {
            return createStatus;
        }
        auto made = std::make_unique<RecordingBuffer>("buffer" + std::to_string(buffers.size()),
                                                      log, desc->dwBufferBytes);
        made->lockStatus = nextLockStatus;
        made->regionLimit = nextRegionLimit;
        made->nullRegion = nextNullRegion;
        *buffer = made.get();
        buffers.push_back(std::move(made));
        return DS_OK;
    }
    STDMETHODIMP GetCaps(LPDSCAPS) override { return E_NOTIMPL; }
    STDMETHODIMP DuplicateSoundBuffer(LPDIRECTSOUNDBUFFER, LPDIRECTSOUNDBUFFER *) override {
        return E_NOTIMPL;
    }
    STDMETHODIMP SetCooperativeLevel(HWND window, DWORD level) override {
        cooperativeWindow = window;
        cooperativeLevel = level;
        log->calls.push_back("SetCooperativeLevel " + std::to_string(level));
        return DSERR_PRIOLEVELNEEDED; // a refusal that the program is to ignore
    }
    STDMETHODIMP Compact() override { return E_NOTIMPL; }
    STDMETHODIMP GetSpeakerConfig(LPDWORD) override { return E_NOTIMPL; }
    STDMETHODIMP SetSpeakerConfig(DWORD) override { return E_NOTIMPL; }
    STDMETHODIMP Initialize(LPCGUID) override { return E_NOTIMPL; }
    STDMETHODIMP VerifyCertification(LPDWORD) override { return E_NOTIMPL; }
};
