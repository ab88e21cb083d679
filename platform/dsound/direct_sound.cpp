// DirectSoundCreate8 and the IDirectSound8 device object on OpenAL Soft (see direct_sound.h).
// Only the default playback device exists; every other device GUID is reported as having no
// driver. No global state: each object owns its own OpenAL device, context and worker thread.
#include "dsound/direct_sound.h"

#include "common/object_counts.h"
#include "dsound/buffer_spec.h"
#include "dsound/sound_buffer.h"
#include "vintorel_trace.h"

#include <algorithm>
#include <atomic>
#include <new>

namespace vintorel::dsound {
namespace {

std::atomic<int> g_devices{0};

bool isDefaultPlayback(LPCGUID device) {
    return !device || *device == GUID_NULL || *device == DSDEVID_DefaultPlayback ||
           *device == DSDEVID_DefaultVoicePlayback;
}

} // namespace

int deviceCount() {
    return g_devices;
}

DirectSound8::DirectSound8(std::unique_ptr<AlOutput> output) : output_(std::move(output)) {
    ++g_devices;
    worker_ = std::thread([this] { run(); });
}

DirectSound8::~DirectSound8() {
    --g_devices;
    {
        std::lock_guard<std::recursive_mutex> guard(mutex_);
        stopping_ = true;
    }
    wake_.notify_all();
    worker_.join();
}

void DirectSound8::addBuffer(SoundBuffer *buffer) {
    buffers_.push_back(buffer);
}

void DirectSound8::removeBuffer(SoundBuffer *buffer) {
    buffers_.erase(std::remove(buffers_.begin(), buffers_.end(), buffer), buffers_.end());
    changed_ = true;
    wake_.notify_all();
}

void DirectSound8::playStateChanged() {
    changed_ = true;
    wake_.notify_all();
}

void DirectSound8::run() {
    const bool made = output_->createContext();
    std::unique_lock<std::recursive_mutex> lock(mutex_);
    if (made) {
        for (SoundBuffer *buffer : buffers_) {
            buffer->attach();
        }
        ready_ = true;
        while (!stopping_) {
            sleepWhileSilent(lock);
        }
    } else {
        failed_ = true;
        for (SoundBuffer *buffer : buffers_) {
            buffer->dropPendingPlay();
        }
        wake_.wait(lock, [this] { return stopping_; });
    }
    lock.unlock();
    output_->leaveThread();
}

namespace {

std::chrono::steady_clock::time_point secondsFromNow(double seconds) {
    return std::chrono::steady_clock::now() +
           std::chrono::duration_cast<std::chrono::steady_clock::duration>(
               std::chrono::duration<double>(seconds));
}

} // namespace

// One mixing update and a little more: the mixer's own step, the resolution of what it reports.
double DirectSound8::updateSeconds() const {
    return static_cast<double>(output_->updateFrames()) /
               static_cast<double>(output_->mixFrequency()) +
           0.005;
}

// One round of the worker: pause the output when nothing plays, otherwise wake it and sleep
// until the last playing buffer should have ended (or until a buffer starts or stops) and look
// again. Waking the output is done here rather than in Play: it starts a mixer thread or talks
// to the sound server, which the program's thread should not wait for, and a condition
// variable's wake-up adds only microseconds to the start of the sound.
void DirectSound8::sleepWhileSilent(std::unique_lock<std::recursive_mutex> &lock) {
    reopenIfLost(lock);
    bool playing = false;
    bool endless = false;
    double longest = 0.0;
    for (SoundBuffer *buffer : buffers_) {
        if (!buffer->isPlaying()) {
            continue;
        }
        playing = true;
        if (buffer->isLooping()) {
            endless = true;
        } else {
            longest = std::max(longest, buffer->secondsLeft());
        }
    }
    changed_ = false;
    const auto woken = [this] { return stopping_ || changed_; };
    if (playing && output_->paused()) {
        // Without the lock, so the program's buffer calls never wait for the output; only
        // this thread pauses and resumes it.
        lock.unlock();
        output_->resume();
        lock.lock();
        if (changed_ || stopping_) {
            return;
        }
    }
    if (!playing) {
        if (!output_->paused() && output_->canPause()) {
            // What the mixer wrote last is still on its way to the speaker: let it out first.
            // The latency counts what is queued now, which can be one update less than when
            // the last sound's end was written (the mixer tops the queue up an update at a
            // time), and a sound server's figure is interpolated between its timing reports:
            // one update more for each.
            const double drain = output_->latencySeconds() + 2.0 * updateSeconds();
            if (wake_.wait_until(lock, secondsFromNow(drain), woken)) {
                return;
            }
            output_->pause();
        }
        wake_.wait(lock, woken);
    } else if (endless) {
        wake_.wait(lock, woken);
    } else {
        // The mixer marks a source stopped on the update after its end: allow one update more.
        wake_.wait_until(lock, secondsFromNow(longest + updateSeconds()), woken);
    }
}

// Run by the worker at every round, that is whenever a buffer starts or stops. The new device
// is opened without the lock (it may talk to a sound server); the buffers are moved with it.
// Until that succeeds, sounds asked for are silent (or, while no context exists, kept for it).
void DirectSound8::reopenIfLost(std::unique_lock<std::recursive_mutex> &lock) {
    if (output_->hasContext() && output_->connected()) {
        return;
    }
    const auto now = std::chrono::steady_clock::now();
    if (lastReopen_ != std::chrono::steady_clock::time_point{} &&
        now - lastReopen_ < std::chrono::seconds(1)) {
        return;
    }
    lastReopen_ = now;
    lock.unlock();
    std::unique_ptr<AlOutput> fresh = AlOutput::openDefault();
    lock.lock();
    if (!fresh || stopping_) {
        return;
    }
    ready_ = false;
    for (SoundBuffer *buffer : buffers_) {
        buffer->detach();
    }
    output_ = std::move(fresh);
    if (!output_->createContext()) {
        return; // tried again on a later round
    }
    for (SoundBuffer *buffer : buffers_) {
        buffer->attach();
    }
    ready_ = true;
}

void DirectSound8::destroyIfUnused() {
    if (refs_ == 0 && bufferRefs_ == 0) {
        delete this;
    }
}

void DirectSound8::releaseForBuffer() {
    --bufferRefs_;
    destroyIfUnused();
}

STDMETHODIMP DirectSound8::QueryInterface(REFIID riid, void **object) {
    if (!object) {
        return E_POINTER;
    }
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
    if (refs_ == 0) {
        return 0; // over-release: the buffers still hold the object, so stay alive
    }
    const ULONG left = --refs_;
    destroyIfUnused();
    return left;
}

STDMETHODIMP DirectSound8::CreateSoundBuffer(LPCDSBUFFERDESC desc, LPDIRECTSOUNDBUFFER *buffer,
                                             LPUNKNOWN outer) {
    VINTOREL_TRACE(DSOUND, "CreateSoundBuffer %lu bytes",
                   desc ? static_cast<unsigned long>(desc->dwBufferBytes) : 0UL);
    if (!buffer) {
        return DSERR_INVALIDPARAM;
    }
    *buffer = nullptr;
    if (outer) {
        return DSERR_NOAGGREGATION;
    }
    BufferSpec spec;
    if (const HRESULT hr = parseBufferDesc(desc, spec); FAILED(hr)) {
        return hr;
    }
    SoundBuffer *created = nullptr;
    std::lock_guard<std::recursive_mutex> guard(mutex_);
    if (const HRESULT hr = SoundBuffer::create(*this, spec, &created); FAILED(hr)) {
        return hr;
    }
    *buffer = created;
    return DS_OK;
}

STDMETHODIMP DirectSound8::GetCaps(LPDSCAPS caps) {
    if (!caps || caps->dwSize != sizeof(DSCAPS)) {
        return DSERR_INVALIDPARAM;
    }
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
    if (!original || !duplicate) {
        return DSERR_INVALIDPARAM;
    }
    *duplicate = nullptr;
    return DSERR_UNSUPPORTED;
}

STDMETHODIMP DirectSound8::SetCooperativeLevel(HWND hwnd, DWORD level) {
    if (!hwnd || level < DSSCL_NORMAL || level > DSSCL_WRITEPRIMARY) {
        return DSERR_INVALIDPARAM;
    }
    window_ = hwnd;
    level_ = level;
    return DS_OK;
}

STDMETHODIMP DirectSound8::Compact() {
    return level_ >= DSSCL_PRIORITY ? DS_OK : DSERR_PRIOLEVELNEEDED;
}

STDMETHODIMP DirectSound8::GetSpeakerConfig(LPDWORD speakerConfig) {
    if (!speakerConfig) {
        return DSERR_INVALIDPARAM;
    }
    *speakerConfig = speakerConfig_;
    return DS_OK;
}

STDMETHODIMP DirectSound8::SetSpeakerConfig(DWORD speakerConfig) {
    // The documented configurations run from DSSPEAKER_DIRECTOUT (0) to
    // DSSPEAKER_5POINT1_SURROUND (9); the geometry byte goes with stereo only.
    constexpr DWORD kLastConfig = 9;
    if (DSSPEAKER_CONFIG(speakerConfig) > kLastConfig || (speakerConfig >> 24) != 0) {
        return DSERR_INVALIDPARAM;
    }
    // Accepted and ignored, as on Windows since Vista: the layout is the system's setting
    // (here OpenAL Soft's configuration), so GetSpeakerConfig goes on reporting it.
    return DS_OK;
}

STDMETHODIMP DirectSound8::Initialize(LPCGUID) {
    return DSERR_ALREADYINITIALIZED;
}

STDMETHODIMP DirectSound8::VerifyCertification(LPDWORD certified) {
    if (!certified) {
        return DSERR_INVALIDPARAM;
    }
    *certified = DS_UNCERTIFIED;
    return DS_OK;
}

} // namespace vintorel::dsound

namespace {

HRESULT createDevice(LPCGUID device, LPDIRECTSOUND8 *ds, LPUNKNOWN outer) {
    using vintorel::dsound::AlOutput;
    using vintorel::dsound::DirectSound8;
    if (!ds) {
        return DSERR_INVALIDPARAM;
    }
    *ds = nullptr;
    if (outer) {
        return DSERR_NOAGGREGATION;
    }
    if (!vintorel::dsound::isDefaultPlayback(device)) {
        return DSERR_NODRIVER;
    }
    std::unique_ptr<AlOutput> output = AlOutput::openDefault();
    if (!output) {
        return DSERR_NODRIVER;
    }
    auto *object = new (std::nothrow) DirectSound8(std::move(output));
    if (!object) {
        return DSERR_OUTOFMEMORY;
    }
    *ds = object;
    return DS_OK;
}

} // namespace

VINTOREL_WIN32_API HRESULT WINAPI DirectSoundCreate8(LPCGUID device, LPDIRECTSOUND8 *ds,
                                                     LPUNKNOWN outer) {
    const HRESULT hr = createDevice(device, ds, outer);
    VINTOREL_TRACE(DSOUND, "DirectSoundCreate8 -> %#lx device %p", static_cast<unsigned long>(hr),
                   ds ? static_cast<void *>(*ds) : nullptr);
    return hr;
}
