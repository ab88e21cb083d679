// Test helpers for the DirectSound tests (see support.h), including the gtest environment
// that configures OpenAL Soft's wave writer for this process before any device is opened
// (on Linux only: built for Windows, the tests play through whatever Windows or Wine has).
#include "support.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <numbers>
#include <stdexcept>
#include <thread>
#ifndef _WIN32
#include <unistd.h>
#endif

namespace dsound_test {
namespace {

std::filesystem::path g_capturePath;

#ifndef _WIN32
// OpenAL Soft reads its configuration once per process, on first use, so this must run
// before any device is opened. The file name is per process so parallel tests don't collide.
class WaveWriterEnvironment : public ::testing::Environment {
  public:
    void SetUp() override {
        const auto base = std::filesystem::temp_directory_path();
        std::string pattern = (base / "vintorel-dsound-XXXXXX").string();
        if (!mkdtemp(pattern.data())) {
            throw std::runtime_error("cannot create a temporary folder");
        }
        dir_ = pattern;
        g_capturePath = dir_ / "capture.wav";
        const auto conf = dir_ / "alsoft.conf";
        std::ofstream out(conf);
        out << "[general]\n"
               "drivers = wave\n"
               "channels = stereo\n"
               "sample-type = int16\n"
               "frequency = 44100\n"
               "[wave]\n"
               "file = "
            << g_capturePath.string() << "\n";
        out.close();
        setenv("ALSOFT_CONF", conf.c_str(), 1);
        setenv("ALSOFT_DRIVERS", "wave", 1);
    }
    void TearDown() override {
        std::error_code ignored;
        std::filesystem::remove_all(dir_, ignored);
    }

  private:
    std::filesystem::path dir_;
};

[[maybe_unused]] ::testing::Environment *const g_environment =
    ::testing::AddGlobalTestEnvironment(new WaveWriterEnvironment);
#endif

uint32_t le32(const unsigned char *p) {
    return uint32_t{p[0]} | uint32_t{p[1]} << 8 | uint32_t{p[2]} << 16 | uint32_t{p[3]} << 24;
}
uint16_t le16(const unsigned char *p) {
    return static_cast<uint16_t>(p[0] | p[1] << 8);
}

} // namespace

const std::filesystem::path &capturePath() {
    return g_capturePath;
}

WAVEFORMATEX pcmFormat(WORD channels, WORD bits, DWORD rate) {
    WAVEFORMATEX f{};
    f.wFormatTag = WAVE_FORMAT_PCM;
    f.nChannels = channels;
    f.nSamplesPerSec = rate;
    f.wBitsPerSample = bits;
    f.nBlockAlign = static_cast<WORD>(channels * bits / 8);
    f.nAvgBytesPerSec = f.nBlockAlign * rate;
    return f;
}

DSBUFFERDESC bufferDesc(const WAVEFORMATEX *format, DWORD bytes, DWORD flags) {
    DSBUFFERDESC d{};
    d.dwSize = sizeof d;
    d.dwFlags = flags;
    d.dwBufferBytes = bytes;
    d.lpwfxFormat = const_cast<WAVEFORMATEX *>(format);
    d.guid3DAlgorithm = DS3DALG_DEFAULT;
    return d;
}

DevicePtr openDevice() {
    IDirectSound8 *ds = nullptr;
    const HRESULT hr = DirectSoundCreate8(nullptr, &ds, nullptr);
    if (hr != DS_OK || !ds) {
        throw std::runtime_error("DirectSoundCreate8 failed");
    }
    return DevicePtr(ds);
}

BufferPtr createBuffer(IDirectSound8 &ds, const WAVEFORMATEX &format, DWORD bytes, DWORD flags) {
    const DSBUFFERDESC desc = bufferDesc(&format, bytes, flags);
    IDirectSoundBuffer *buffer = nullptr;
    if (ds.CreateSoundBuffer(&desc, &buffer, nullptr) != DS_OK || !buffer) {
        throw std::runtime_error("CreateSoundBuffer failed");
    }
    return BufferPtr(buffer);
}

void fillSine(IDirectSoundBuffer &buffer, const WAVEFORMATEX &format, double frequency,
              double amplitude) {
    void *p1 = nullptr;
    DWORD n1 = 0;
    if (buffer.Lock(0, 0, &p1, &n1, nullptr, nullptr, DSBLOCK_ENTIREBUFFER) != DS_OK) {
        throw std::runtime_error("Lock failed");
    }
    const DWORD frames = n1 / format.nBlockAlign;
    auto *bytes = static_cast<unsigned char *>(p1);
    for (DWORD i = 0; i < frames; ++i) {
        const double v = amplitude * std::sin(2.0 * std::numbers::pi * frequency * i /
                                              static_cast<double>(format.nSamplesPerSec));
        for (WORD c = 0; c < format.nChannels; ++c) {
            if (format.wBitsPerSample == 8) {
                *bytes++ = static_cast<unsigned char>(std::lround(128.0 + v * 127.0));
            } else {
                const auto s = static_cast<int16_t>(std::lround(v * 32767.0));
                std::memcpy(bytes, &s, 2);
                bytes += 2;
            }
        }
    }
    if (buffer.Unlock(p1, n1, nullptr, 0) != DS_OK) {
        throw std::runtime_error("Unlock failed");
    }
}

DWORD status(IDirectSoundBuffer &buffer) {
    DWORD s = 0xFFFFFFFF;
    EXPECT_EQ(buffer.GetStatus(&s), DS_OK);
    return s;
}

DWORD playCursor(IDirectSoundBuffer &buffer) {
    DWORD play = 0xFFFFFFFF;
    EXPECT_EQ(buffer.GetCurrentPosition(&play, nullptr), DS_OK);
    return play;
}

bool waitUntilStopped(IDirectSoundBuffer &buffer, std::chrono::milliseconds timeout) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (status(buffer) & DSBSTATUS_PLAYING) {
        if (std::chrono::steady_clock::now() > deadline) {
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return true;
}

bool waitForCursor(IDirectSoundBuffer &buffer, DWORD atLeast, std::chrono::milliseconds timeout) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (playCursor(buffer) < atLeast) {
        if (std::chrono::steady_clock::now() > deadline) {
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    return true;
}

std::vector<float> Wav::channel(int index) const {
    std::vector<float> out;
    for (size_t i = static_cast<size_t>(index); i < samples.size();
         i += static_cast<size_t>(channels)) {
        out.push_back(samples[i]);
    }
    return out;
}

Wav readWav(const std::filesystem::path &path) {
    std::ifstream in(path, std::ios::binary);
    const std::vector<unsigned char> file((std::istreambuf_iterator<char>(in)),
                                          std::istreambuf_iterator<char>());
    if (file.size() < 12 || std::memcmp(file.data(), "RIFF", 4) != 0 ||
        std::memcmp(file.data() + 8, "WAVE", 4) != 0) {
        throw std::runtime_error("not a RIFF/WAVE file");
    }
    Wav wav;
    int tag = 0;
    int bits = 0;
    size_t pos = 12;
    while (pos + 8 <= file.size()) {
        const unsigned char *chunk = file.data() + pos;
        const size_t available = file.size() - pos - 8;
        size_t size = le32(chunk + 4);
        if (std::memcmp(chunk, "fmt ", 4) == 0) {
            if (size < 16 || size > available) {
                throw std::runtime_error("bad fmt chunk");
            }
            tag = le16(chunk + 8);
            wav.channels = le16(chunk + 10);
            wav.rate = static_cast<int>(le32(chunk + 12));
            bits = le16(chunk + 22);
            if (tag == 0xFFFE && size >= 40) {
                tag = le16(chunk + 8 + 24); // first bytes of the sub-format GUID
            }
        } else if (std::memcmp(chunk, "data", 4) == 0) {
            size = std::min(size, available); // tolerate a header that was never finished
            const unsigned char *p = chunk + 8;
            if (tag == 1 && bits == 16) {
                for (size_t i = 0; i + 2 <= size; i += 2) {
                    wav.samples.push_back(static_cast<int16_t>(le16(p + i)) / 32768.0f);
                }
            } else if (tag == 3 && bits == 32) {
                for (size_t i = 0; i + 4 <= size; i += 4) {
                    const uint32_t u = le32(p + i);
                    float f;
                    std::memcpy(&f, &u, 4);
                    wav.samples.push_back(f);
                }
            } else {
                throw std::runtime_error("unexpected WAV sample format");
            }
        }
        pos += 8 + size + (size & 1);
    }
    if (wav.channels <= 0 || wav.rate <= 0) {
        throw std::runtime_error("WAV without format");
    }
    return wav;
}

std::vector<float> trimSilence(const std::vector<float> &signal, float threshold) {
    auto loud = [threshold](float s) { return std::fabs(s) > threshold; };
    const auto first = std::find_if(signal.begin(), signal.end(), loud);
    if (first == signal.end()) {
        return {};
    }
    const auto last = std::find_if(signal.rbegin(), signal.rend(), loud).base();
    return {first, last};
}

double toneAmplitude(const std::vector<float> &signal, int rate, double frequency) {
    if (signal.empty()) {
        return 0.0;
    }
    const double w = 2.0 * std::numbers::pi * frequency / rate;
    const double coeff = 2.0 * std::cos(w);
    double s1 = 0.0;
    double s2 = 0.0;
    for (float x : signal) {
        const double s0 = x + coeff * s1 - s2;
        s2 = s1;
        s1 = s0;
    }
    const double power = s1 * s1 + s2 * s2 - coeff * s1 * s2;
    return 2.0 * std::sqrt(std::max(power, 0.0)) / static_cast<double>(signal.size());
}

} // namespace dsound_test
