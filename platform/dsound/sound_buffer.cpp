// Secondary sound buffers on OpenAL sources (see sound_buffer.h). A buffer that is not playing
// keeps its play position itself (startFrame_) and hands it to the source on the next Play,
// so Stop keeps the position as in DirectSound while the AL source is simply stopped.
// Does not write a mixer, resampler or format converter: OpenAL Soft does all of that.
#include "dsound/sound_buffer.h"
#include "vintorel_trace.h"

#include "common/object_counts.h"
#include "dsound/direct_sound.h"
#include "dsound/levels.h"

#include <AL/alext.h>

#include <algorithm>
#include <atomic>
#include <cstring>
#include <mutex>
#include <new>

namespace vintorel::dsound {
namespace {

std::atomic<int> g_buffers{0};

ALenum alFormatFor(const WAVEFORMATEX &format) {
    if (format.nChannels == 1) {
        return format.wBitsPerSample == 8 ? AL_FORMAT_MONO8 : AL_FORMAT_MONO16;
    }
    return format.wBitsPerSample == 8 ? AL_FORMAT_STEREO8 : AL_FORMAT_STEREO16;
}

HRESULT fromAlError(ALenum error) {
    switch (error) {
    case AL_NO_ERROR:
        return DS_OK;
    case AL_OUT_OF_MEMORY:
        return DSERR_OUTOFMEMORY;
    default:
        return DSERR_GENERIC;
    }
}

using Guard = std::lock_guard<std::recursive_mutex>;

// OpenAL Soft's buffer mapping flags (AL_SOFTX_map_buffer; not in the installed headers).
constexpr ALuint kMapReadBit = 0x1;
constexpr ALuint kMapPersistentBit = 0x4;

} // namespace

SoundBuffer::OwnerRef::OwnerRef(DirectSound8 &owner) : owner_(owner) {
    owner_.retainForBuffer();
}

SoundBuffer::OwnerRef::~OwnerRef() {
    owner_.releaseForBuffer();
}

HRESULT SoundBuffer::create(DirectSound8 &owner, const BufferSpec &spec, SoundBuffer **buffer) {
    *buffer = nullptr;
    SoundBuffer *created = nullptr;
    try {
        created = new SoundBuffer(owner, spec);
    } catch (const std::bad_alloc &) {
        return DSERR_OUTOFMEMORY;
    }
    if (owner.ready()) {
        if (const HRESULT hr = created->attach(); FAILED(hr)) {
            created->Release();
            return hr;
        }
    }
    *buffer = created;
    return DS_OK;
}

SoundBuffer::SoundBuffer(DirectSound8 &owner, const BufferSpec &spec)
    : owner_(owner), flags_(spec.flags), format_(spec.format), alFormat_(alFormatFor(spec.format)),
      bytes_(spec.bytes), data_(spec.bytes, spec.format.wBitsPerSample == 8 ? BYTE{0x80} : BYTE{0}),
      frequency_(spec.format.nSamplesPerSec) {
    owner.addBuffer(this);
    ++g_buffers;
}

int soundBufferCount() {
    return g_buffers;
}

SoundBuffer::~SoundBuffer() {
    --g_buffers;
    // The AL objects go before owner_ lets the device close.
    Guard guard(owner_.get().lock());
    if (attached()) {
        makeCurrent();
        alSourceStop(source_);
        alSourcei(source_, AL_BUFFER, 0);
        alDeleteSources(1, &source_);
    }
    if (alBuffer_) {
        makeCurrent();
        alDeleteBuffers(1, &alBuffer_);
    }
    owner_.get().removeBuffer(this);
}

void SoundBuffer::makeCurrent() const {
    owner_.get().output().makeCurrent();
}

HRESULT SoundBuffer::attach() {
    makeCurrent();
    alGetError();
    ALuint source = 0;
    alGenSources(1, &source);
    if (alGetError() != AL_NO_ERROR) {
        return DSERR_ALLOCATED; // OpenAL has no voice left
    }
    alGenBuffers(1, &alBuffer_);
    if (const ALenum error = alGetError(); error != AL_NO_ERROR) {
        alBuffer_ = 0;
        alDeleteSources(1, &source);
        return fromAlError(error);
    }
    source_ = source;
    // Plain playback: no distance attenuation, placed relative to the listener.
    alSourcei(source_, AL_SOURCE_RELATIVE, AL_TRUE);
    alSourcef(source_, AL_ROLLOFF_FACTOR, 0.0f);
    const SourcePosition position = panToPosition(pan_);
    alSource3f(source_, AL_POSITION, position.x, position.y, position.z);
    if (format_.nChannels == 2 && owner_.get().output().directChannels()) {
        alSourcei(source_, AL_DIRECT_CHANNELS_SOFT, AL_TRUE); // left to left, right to right
    }
    if (volume_ != DSBVOLUME_MAX) {
        alSourcef(source_, AL_GAIN, volumeToGain(volume_));
    }
    if (frequency_ != format_.nSamplesPerSec) {
        alSourcef(source_, AL_PITCH, frequencyToPitch(frequency_, format_.nSamplesPerSec));
    }
    alSourcei(source_, AL_LOOPING, looping_ ? AL_TRUE : AL_FALSE);
    if (const ALenum error = alGetError(); error != AL_NO_ERROR) {
        return fromAlError(error);
    }
    // Nothing is uploaded for a buffer that was never written: silence needs no samples until
    // it is played.
    HRESULT hr = DS_OK;
    if (uploaded_ || pendingPlay_) {
        uploaded_ = false;
        hr = upload();
    }
    if (pendingPlay_ && SUCCEEDED(hr)) {
        pendingPlay_ = false;
        alSourcei(source_, AL_SAMPLE_OFFSET, static_cast<ALint>(startFrame_));
        alSourcePlay(source_);
        startFrame_ = 0;
    }
    return hr;
}

void SoundBuffer::detach() {
    if (!attached()) {
        return;
    }
    if (!restoreStaging()) {
        // The samples could not be read back: the buffer goes on as silence.
        uploaded_ = false;
        try {
            data_.assign(bytes_, format_.wBitsPerSample == 8 ? BYTE{0x80} : BYTE{0});
            staged_ = true;
        } catch (const std::bad_alloc &) {
        }
    }
    makeCurrent();
    alSourceStop(source_);
    alSourcei(source_, AL_BUFFER, 0);
    alDeleteSources(1, &source_);
    alDeleteBuffers(1, &alBuffer_);
    source_ = 0;
    alBuffer_ = 0;
    pendingPlay_ = false;
}

HRESULT SoundBuffer::upload() {
    if (!attached()) {
        uploaded_ = true; // handed over by attach()
        return DS_OK;
    }
    if (data_.size() < bytes_) {
        return DSERR_OUTOFMEMORY; // the samples are gone (see detach)
    }
    makeCurrent();
    alGetError();
    // OpenAL refuses new data for a buffer attached to a source, so detach, fill, reattach,
    // and let a playing source go on from where it was.
    const bool playing = isPlaying();
    ALint frame = 0;
    if (playing) {
        alGetSourcei(source_, AL_SAMPLE_OFFSET, &frame);
        alSourceStop(source_);
    }
    alSourcei(source_, AL_BUFFER, 0);
    const auto wholeFrames = static_cast<ALsizei>(frames() * format_.nBlockAlign);
    const auto rate = static_cast<ALsizei>(format_.nSamplesPerSec);
    const AlMapping &mapping = owner_.get().output().mapping();
    if (mapping) {
        mapping.storage(alBuffer_, alFormat_, data_.data(), wholeFrames, rate,
                        kMapReadBit | kMapPersistentBit);
    } else {
        alBufferData(alBuffer_, alFormat_, data_.data(), wholeFrames, rate);
    }
    const ALenum dataError = alGetError();
    alSourcei(source_, AL_BUFFER, dataError == AL_NO_ERROR ? static_cast<ALint>(alBuffer_) : 0);
    if (playing && dataError == AL_NO_ERROR) {
        alSourcei(source_, AL_SAMPLE_OFFSET, frame);
        alSourcePlay(source_);
    }
    if (dataError != AL_NO_ERROR) {
        return fromAlError(dataError);
    }
    uploaded_ = true;
    if (mapping) { // OpenAL can give the samples back: keep them once, there
        data_.clear();
        data_.shrink_to_fit();
        staged_ = false;
    }
    return fromAlError(alGetError());
}

// Brings the samples back from OpenAL into the staging bytes before a Lock hands them out.
bool SoundBuffer::restoreStaging() {
    if (staged_) {
        return true;
    }
    try {
        data_.assign(bytes_, format_.wBitsPerSample == 8 ? BYTE{0x80} : BYTE{0});
    } catch (const std::bad_alloc &) {
        return false;
    }
    makeCurrent();
    const AlMapping &mapping = owner_.get().output().mapping();
    const auto wholeFrames = static_cast<ALsizei>(frames() * format_.nBlockAlign);
    const void *samples = mapping.map(alBuffer_, 0, wholeFrames, kMapReadBit | kMapPersistentBit);
    if (!samples) {
        data_.clear();
        return false;
    }
    std::memcpy(data_.data(), samples, static_cast<size_t>(wholeFrames));
    mapping.unmap(alBuffer_);
    staged_ = true;
    return true;
}

bool SoundBuffer::isPlaying() const {
    if (!attached()) {
        return pendingPlay_;
    }
    makeCurrent();
    ALint state = AL_STOPPED;
    alGetSourcei(source_, AL_SOURCE_STATE, &state);
    return state == AL_PLAYING;
}

double SoundBuffer::secondsLeft() const {
    const DWORD left = frames() - std::min(frames(), playFrame());
    return static_cast<double>(left) / static_cast<double>(frequency_);
}

DWORD SoundBuffer::playFrame() const {
    if (!attached() || !isPlaying()) {
        return startFrame_;
    }
    ALint frame = 0;
    alGetSourcei(source_, AL_SAMPLE_OFFSET, &frame);
    return frame > 0 ? static_cast<DWORD>(frame) % frames() : 0;
}

DWORD SoundBuffer::writeLeadBytes() const {
    // Data already handed to the mixer: one update of the device, at this buffer's rate.
    const AlOutput &output = owner_.get().output();
    const unsigned long long frames =
        (static_cast<unsigned long long>(output.updateFrames()) * frequency_ +
         static_cast<unsigned long long>(output.mixFrequency()) - 1) /
        static_cast<unsigned long long>(output.mixFrequency());
    return static_cast<DWORD>(
        std::min<unsigned long long>(frames * format_.nBlockAlign, size() - format_.nBlockAlign));
}

STDMETHODIMP SoundBuffer::QueryInterface(REFIID riid, void **object) {
    if (!object) {
        return E_POINTER;
    }
    if (riid == IID_IUnknown || riid == IID_IDirectSoundBuffer) {
        *object = static_cast<IDirectSoundBuffer *>(this);
        AddRef();
        return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
}

STDMETHODIMP_(ULONG) SoundBuffer::AddRef() {
    return ++refs_;
}

STDMETHODIMP_(ULONG) SoundBuffer::Release() {
    const ULONG left = --refs_;
    if (left == 0) {
        delete this;
    }
    return left;
}

STDMETHODIMP SoundBuffer::GetCaps(LPDSBCAPS caps) {
    if (!caps || caps->dwSize != sizeof(DSBCAPS)) {
        return DSERR_INVALIDPARAM;
    }
    caps->dwFlags = flags_ | DSBCAPS_LOCSOFTWARE;
    caps->dwBufferBytes = size();
    caps->dwUnlockTransferRate = 0;
    caps->dwPlayCpuOverhead = 0;
    return DS_OK;
}

STDMETHODIMP SoundBuffer::GetCurrentPosition(LPDWORD playCursor, LPDWORD writeCursor) {
    Guard guard(owner_.get().lock());
    const DWORD play = playFrame() * format_.nBlockAlign;
    if (playCursor) {
        *playCursor = play;
    }
    if (writeCursor) {
        *writeCursor = isPlaying() ? (play + writeLeadBytes()) % size() : play;
    }
    return DS_OK;
}

STDMETHODIMP SoundBuffer::GetFormat(LPWAVEFORMATEX format, DWORD sizeAllocated,
                                    LPDWORD sizeWritten) {
    if (!format && !sizeWritten) {
        return DSERR_INVALIDPARAM;
    }
    if (format) {
        if (sizeAllocated < sizeof(WAVEFORMATEX)) {
            return DSERR_INVALIDPARAM;
        }
        std::memcpy(format, &format_, sizeof(WAVEFORMATEX));
    }
    if (sizeWritten) {
        *sizeWritten = sizeof(WAVEFORMATEX);
    }
    return DS_OK;
}

STDMETHODIMP SoundBuffer::GetVolume(LPLONG volume) {
    if (!volume) {
        return DSERR_INVALIDPARAM;
    }
    if (!(flags_ & DSBCAPS_CTRLVOLUME)) {
        return DSERR_CONTROLUNAVAIL;
    }
    *volume = volume_;
    return DS_OK;
}

STDMETHODIMP SoundBuffer::GetPan(LPLONG pan) {
    if (!pan) {
        return DSERR_INVALIDPARAM;
    }
    if (!(flags_ & DSBCAPS_CTRLPAN)) {
        return DSERR_CONTROLUNAVAIL;
    }
    *pan = pan_;
    return DS_OK;
}

STDMETHODIMP SoundBuffer::GetFrequency(LPDWORD frequency) {
    if (!frequency) {
        return DSERR_INVALIDPARAM;
    }
    if (!(flags_ & DSBCAPS_CTRLFREQUENCY)) {
        return DSERR_CONTROLUNAVAIL;
    }
    *frequency = frequency_;
    return DS_OK;
}

STDMETHODIMP SoundBuffer::GetStatus(LPDWORD status) {
    Guard guard(owner_.get().lock());
    if (!status) {
        return DSERR_INVALIDPARAM;
    }
    *status = 0;
    if (isPlaying()) {
        *status = DSBSTATUS_PLAYING | (looping_ ? DSBSTATUS_LOOPING : 0);
    }
    return DS_OK;
}

STDMETHODIMP SoundBuffer::Initialize(LPDIRECTSOUND, LPCDSBUFFERDESC) {
    return DSERR_ALREADYINITIALIZED;
}

STDMETHODIMP SoundBuffer::Lock(DWORD offset, DWORD bytes, LPVOID *audioPtr1, LPDWORD audioBytes1,
                               LPVOID *audioPtr2, LPDWORD audioBytes2, DWORD flags) {
    VINTOREL_TRACE(DSOUND, "Lock %p offset %lu bytes %lu", static_cast<void *>(this),
                   static_cast<unsigned long>(offset), static_cast<unsigned long>(bytes));
    Guard guard(owner_.get().lock());
    if (!audioPtr1 || !audioBytes1) {
        return DSERR_INVALIDPARAM;
    }
    if (flags & ~(DSBLOCK_FROMWRITECURSOR | DSBLOCK_ENTIREBUFFER)) {
        return DSERR_INVALIDPARAM;
    }
    if (locked_) {
        return DSERR_INVALIDCALL;
    }
    if (flags & DSBLOCK_FROMWRITECURSOR) {
        GetCurrentPosition(nullptr, &offset);
    }
    if (flags & DSBLOCK_ENTIREBUFFER) {
        bytes = size();
    }
    if (offset >= size() || bytes == 0 || bytes > size()) {
        return DSERR_INVALIDPARAM;
    }

    const DWORD first = std::min(bytes, size() - offset);
    // Without somewhere to put a second part the lock stops at the end of the buffer, as
    // documented for Lock; the caller sees the shorter count in *audioBytes1.
    const DWORD second = audioPtr2 && audioBytes2 ? bytes - first : 0;
    if (!restoreStaging()) {
        return DSERR_OUTOFMEMORY;
    }

    lock_ = {data_.data() + offset, first, second != 0 ? data_.data() : nullptr, second};
    locked_ = true;
    *audioPtr1 = lock_.ptr1;
    *audioBytes1 = lock_.bytes1;
    if (audioPtr2) {
        *audioPtr2 = lock_.ptr2;
    }
    if (audioBytes2) {
        *audioBytes2 = lock_.bytes2;
    }
    return DS_OK;
}

STDMETHODIMP SoundBuffer::Unlock(LPVOID audioPtr1, DWORD audioBytes1, LPVOID audioPtr2,
                                 DWORD audioBytes2) {
    VINTOREL_TRACE(DSOUND, "Unlock %p", static_cast<void *>(this));
    Guard guard(owner_.get().lock());
    if (!locked_) {
        return DSERR_INVALIDCALL;
    }
    if (audioPtr1 != lock_.ptr1 || audioBytes1 > lock_.bytes1) {
        return DSERR_INVALIDPARAM;
    }
    if (audioPtr2 ? (audioPtr2 != lock_.ptr2 || audioBytes2 > lock_.bytes2) : audioBytes2 != 0) {
        return DSERR_INVALIDPARAM;
    }
    locked_ = false;
    lock_ = {};
    return upload();
}

STDMETHODIMP SoundBuffer::Play(DWORD, DWORD priority, DWORD flags) {
    VINTOREL_TRACE(DSOUND, "Play %p flags %#lx", static_cast<void *>(this),
                   static_cast<unsigned long>(flags));
    Guard guard(owner_.get().lock());
    // Priorities and voice management flags belong to deferred-location buffers, which this
    // platform does not create.
    if (priority != 0 || (flags & ~DSBPLAY_LOOPING)) {
        return DSERR_INVALIDPARAM;
    }
    DirectSound8 &owner = owner_.get();
    looping_ = (flags & DSBPLAY_LOOPING) != 0;
    if (!attached()) {
        // Kept until the output is ready, then started by attach(); a failed output stays silent.
        pendingPlay_ = !owner.failed();
        return DS_OK;
    }
    makeCurrent();
    alGetError();
    alSourcei(source_, AL_LOOPING, looping_ ? AL_TRUE : AL_FALSE);
    if (!isPlaying()) {
        if (!uploaded_) { // never written: play its silence
            if (const HRESULT hr = upload(); FAILED(hr)) {
                return hr;
            }
        }
        owner.playStateChanged();
        alSourcei(source_, AL_SAMPLE_OFFSET, static_cast<ALint>(startFrame_));
        alSourcePlay(source_);
        startFrame_ = 0;
    }
    return fromAlError(alGetError());
}

STDMETHODIMP SoundBuffer::SetCurrentPosition(DWORD newPosition) {
    VINTOREL_TRACE(DSOUND, "SetCurrentPosition %p %lu", static_cast<void *>(this),
                   static_cast<unsigned long>(newPosition));
    Guard guard(owner_.get().lock());
    if (newPosition >= size()) {
        return DSERR_INVALIDPARAM;
    }
    const DWORD frame = newPosition / format_.nBlockAlign;
    if (attached() && isPlaying()) {
        alSourcei(source_, AL_SAMPLE_OFFSET, static_cast<ALint>(frame));
    } else {
        startFrame_ = frame;
    }
    return DS_OK;
}

STDMETHODIMP SoundBuffer::SetFormat(LPCWAVEFORMATEX) {
    return DSERR_INVALIDCALL; // only the primary buffer has a settable format
}

STDMETHODIMP SoundBuffer::SetVolume(LONG volume) {
    VINTOREL_TRACE(DSOUND, "SetVolume %p %ld", static_cast<void *>(this),
                   static_cast<long>(volume));
    Guard guard(owner_.get().lock());
    if (!(flags_ & DSBCAPS_CTRLVOLUME)) {
        return DSERR_CONTROLUNAVAIL;
    }
    if (volume < DSBVOLUME_MIN || volume > DSBVOLUME_MAX) {
        return DSERR_INVALIDPARAM;
    }
    makeCurrent();
    if (attached()) {
        alSourcef(source_, AL_GAIN, volumeToGain(volume));
    }
    volume_ = volume;
    return DS_OK;
}

STDMETHODIMP SoundBuffer::SetPan(LONG pan) {
    Guard guard(owner_.get().lock());
    if (!(flags_ & DSBCAPS_CTRLPAN)) {
        return DSERR_CONTROLUNAVAIL;
    }
    if (pan < DSBPAN_LEFT || pan > DSBPAN_RIGHT) {
        return DSERR_INVALIDPARAM;
    }
    makeCurrent();
    const SourcePosition position = panToPosition(pan);
    if (attached()) {
        alSource3f(source_, AL_POSITION, position.x, position.y, position.z);
    }
    pan_ = pan;
    return DS_OK;
}

STDMETHODIMP SoundBuffer::SetFrequency(DWORD frequency) {
    Guard guard(owner_.get().lock());
    if (!(flags_ & DSBCAPS_CTRLFREQUENCY)) {
        return DSERR_CONTROLUNAVAIL;
    }
    if (frequency == DSBFREQUENCY_ORIGINAL) {
        frequency = format_.nSamplesPerSec;
    }
    if (frequency < DSBFREQUENCY_MIN || frequency > DSBFREQUENCY_MAX) {
        return DSERR_INVALIDPARAM;
    }
    makeCurrent();
    if (attached()) {
        alSourcef(source_, AL_PITCH, frequencyToPitch(frequency, format_.nSamplesPerSec));
    }
    frequency_ = frequency;
    return DS_OK;
}

STDMETHODIMP SoundBuffer::Stop() {
    VINTOREL_TRACE(DSOUND, "Stop %p", static_cast<void *>(this));
    Guard guard(owner_.get().lock());
    if (!attached()) {
        pendingPlay_ = false;
    } else if (isPlaying()) {
        const DWORD frame = playFrame();
        alSourceStop(source_);
        startFrame_ = frame;
        owner_.get().playStateChanged();
    }
    return DS_OK;
}

STDMETHODIMP SoundBuffer::Restore() {
    return DS_OK; // buffers are never lost here
}

} // namespace vintorel::dsound
