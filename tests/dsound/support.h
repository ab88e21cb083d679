// Shared helpers for the DirectSound tests: OpenAL Soft pointed at its wave writer (so no sound
// card is needed and what was played can be read back), buffer descriptions, tone buffers,
// a WAV reader and a single-frequency detector.
#pragma once

#include <dsound.h>

#include <chrono>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace dsound_test {

// Where the wave writer of this test process writes; valid once the test environment is set
// up (before the first test). Each device opened truncates it; it is complete once the device
// has been closed.
const std::filesystem::path &capturePath();

WAVEFORMATEX pcmFormat(WORD channels, WORD bits, DWORD rate);
DSBUFFERDESC bufferDesc(const WAVEFORMATEX *format, DWORD bytes, DWORD flags = 0x1E0);

// Device and buffer handles that release themselves.
struct DeviceDeleter {
    void operator()(IDirectSound8 *ds) const { ds->Release(); }
};
struct BufferDeleter {
    void operator()(IDirectSoundBuffer *b) const { b->Release(); }
};
using DevicePtr = std::unique_ptr<IDirectSound8, DeviceDeleter>;
using BufferPtr = std::unique_ptr<IDirectSoundBuffer, BufferDeleter>;

DevicePtr openDevice();
BufferPtr createBuffer(IDirectSound8 &ds, const WAVEFORMATEX &format, DWORD bytes,
                       DWORD flags = 0x1E0);

// Writes a sine of the given frequency (Hz) and amplitude (0..1 of full scale) into the
// whole buffer through Lock/Unlock; every channel gets the same signal.
void fillSine(IDirectSoundBuffer &buffer, const WAVEFORMATEX &format, double frequency,
              double amplitude);

// Polls GetStatus until the buffer no longer plays; false if it still plays after timeout.
bool waitUntilStopped(IDirectSoundBuffer &buffer,
                      std::chrono::milliseconds timeout = std::chrono::seconds(10));
DWORD playCursor(IDirectSoundBuffer &buffer);
DWORD status(IDirectSoundBuffer &buffer);
// Polls until the play cursor reaches at least the given byte; false on timeout.
bool waitForCursor(IDirectSoundBuffer &buffer, DWORD atLeast,
                   std::chrono::milliseconds timeout = std::chrono::seconds(10));

struct Wav {
    int channels = 0;
    int rate = 0;
    std::vector<float> samples; // interleaved, full scale = 1
    std::vector<float> channel(int index) const;
};
// Reads 16-bit PCM or 32-bit float WAV (plain or extensible); throws on anything else.
Wav readWav(const std::filesystem::path &path);

// The part of a signal between its first and last sample above the threshold.
std::vector<float> trimSilence(const std::vector<float> &signal, float threshold = 1e-3f);
// Amplitude of the given frequency in the signal (Goertzel), in full-scale units.
double toneAmplitude(const std::vector<float> &signal, int rate, double frequency);

} // namespace dsound_test
