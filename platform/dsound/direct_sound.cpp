// DirectSoundCreate8 and the IDirectSound8 device object on OpenAL Soft (see direct_sound.h).
// Only the default playback device exists; every other device GUID is reported as having no
// driver. No global state: each object owns its own OpenAL device and context.
#include "dsound/direct_sound.h"

#include "dsound/buffer_spec.h"
#include "dsound/sound_buffer.h"

#include <new>

namespace vintorel::dsound {
namespace {

bool isDefaultPlayback(LPCGUID device) {
    return !device || *device == GUID_NULL || *device == DSDEVID_DefaultPlayback ||
           *device == DSDEVID_DefaultVoicePlayback;
}

} // namespace

DirectSound8::DirectSound8(std::unique_ptr<AlOutput> output) : output_(std::move(output)) {}

DirectSound8::~DirectSound8() = default;

void DirectSound8::destroyIfUnused() {
    if (refs_ == 0 && bufferRefs_ == 0)
        delete this;
}

void DirectSound8::releaseForBuffer() {
    --bufferRefs_;
    destroyIfUnused();
}

STDMETHODIMP DirectSound8::QueryInterface(REFIID riid, void **object) {
    if (!object)
        return E_POINTER;
    if (riid == IID_IUnknown || riid == IID_IDirectSound || riid == IID_IDirectSound8) {
        *object = static_cast<IDirectSound8 *>(this);
        AddRef();
        return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
}

STDMETHODIMP_(ULONG) DirectSound8::AddRef() {
    return ++refs_;
}

STDMETHODIMP_(ULONG) DirectSound8::Release() {
    if (refs_ == 0)
        return 0; // over-release: the buffers still hold the object, so stay alive
    const ULONG left = --refs_;
    destroyIfUnused();
    return left;
}

STDMETHODIMP DirectSound8::CreateSoundBuffer(LPCDSBUFFERDESC desc, LPDIRECTSOUNDBUFFER *buffer,
                                             LPUNKNOWN outer) {
    if (!buffer)
        return DSERR_INVALIDPARAM;
    *buffer = nullptr;
    if (outer)
        return DSERR_NOAGGREGATION;
    BufferSpec spec;
    if (const HRESULT hr = parseBufferDesc(desc, spec); FAILED(hr))
        return hr;
    SoundBuffer *created = nullptr;
    if (const HRESULT hr = SoundBuffer::create(*this, spec, &created); FAILED(hr))
        return hr;
    *buffer = created;
    return DS_OK;
}

STDMETHODIMP DirectSound8::GetCaps(LPDSCAPS caps) {
    if (!caps || caps->dwSize != sizeof(DSCAPS))
        return DSERR_INVALIDPARAM;
    *caps = DSCAPS{};
    caps->dwSize = sizeof(DSCAPS);
    caps->dwFlags = DSCAPS_CONTINUOUSRATE | DSCAPS_SECONDARYMONO | DSCAPS_SECONDARYSTEREO |
                    DSCAPS_SECONDARY8BIT | DSCAPS_SECONDARY16BIT;
    caps->dwMinSecondarySampleRate = DSBFREQUENCY_MIN;
    caps->dwMaxSecondarySampleRate = DSBFREQUENCY_MAX;
    return DS_OK;
}

STDMETHODIMP DirectSound8::DuplicateSoundBuffer(LPDIRECTSOUNDBUFFER original,
                                                LPDIRECTSOUNDBUFFER *duplicate) {
    if (!original || !duplicate)
        return DSERR_INVALIDPARAM;
    *duplicate = nullptr;
    return DSERR_UNSUPPORTED;
}

STDMETHODIMP DirectSound8::SetCooperativeLevel(HWND hwnd, DWORD level) {
    if (!hwnd || level < DSSCL_NORMAL || level > DSSCL_WRITEPRIMARY)
        return DSERR_INVALIDPARAM;
    window_ = hwnd;
    level_ = level;
    return DS_OK;
}

STDMETHODIMP DirectSound8::Compact() {
    return level_ >= DSSCL_PRIORITY ? DS_OK : DSERR_PRIOLEVELNEEDED;
}

STDMETHODIMP DirectSound8::GetSpeakerConfig(LPDWORD speakerConfig) {
    if (!speakerConfig)
        return DSERR_INVALIDPARAM;
    *speakerConfig = speakerConfig_;
    return DS_OK;
}

STDMETHODIMP DirectSound8::SetSpeakerConfig(DWORD speakerConfig) {
    const DWORD config = DSSPEAKER_CONFIG(speakerConfig);
    if (config < DSSPEAKER_HEADPHONE || config > DSSPEAKER_7POINT1 || (speakerConfig >> 24) != 0)
        return DSERR_INVALIDPARAM;
    // Recorded and reported back only: OpenAL Soft's configuration decides the real layout.
    speakerConfig_ = speakerConfig;
    return DS_OK;
}

STDMETHODIMP DirectSound8::Initialize(LPCGUID) {
    return DSERR_ALREADYINITIALIZED;
}

STDMETHODIMP DirectSound8::VerifyCertification(LPDWORD certified) {
    if (!certified)
        return DSERR_INVALIDPARAM;
    *certified = DS_UNCERTIFIED;
    return DS_OK;
}

} // namespace vintorel::dsound

VINTOREL_WIN32_API HRESULT WINAPI DirectSoundCreate8(LPCGUID device, LPDIRECTSOUND8 *ds,
                                                     LPUNKNOWN outer) {
    using vintorel::dsound::AlOutput;
    using vintorel::dsound::DirectSound8;
    if (!ds)
        return DSERR_INVALIDPARAM;
    *ds = nullptr;
    if (outer)
        return DSERR_NOAGGREGATION;
    if (!vintorel::dsound::isDefaultPlayback(device))
        return DSERR_NODRIVER;
    std::unique_ptr<AlOutput> output = AlOutput::openDefault();
    if (!output)
        return DSERR_NODRIVER;
    auto *object = new (std::nothrow) DirectSound8(std::move(output));
    if (!object)
        return DSERR_OUTOFMEMORY;
    *ds = object;
    return DS_OK;
}
