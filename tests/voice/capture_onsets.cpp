// voice_capture_onsets: finds where clips sound in a captured WAV.
//   voice_capture_onsets CAPTURE.wav CLIP.wav...
// For every clip it prints one line: the clip's file name, then the start times (seconds) at
// which the capture matches the clip (normalised cross-correlation above 0.7). Both signals are
// mixed to mono and brought to about 11 kHz first. 16-bit PCM and 32-bit float WAVs are read.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

namespace {

struct Signal {
    int rate = 0;
    std::vector<double> samples; // mono
};

uint32_t le(const std::vector<unsigned char> &f, size_t at, int bytes) {
    uint32_t v = 0;
    for (int i = bytes - 1; i >= 0; --i) {
        v = v << 8 | f[at + static_cast<size_t>(i)];
    }
    return v;
}

bool readWav(const char *path, Signal *out) {
    std::ifstream in(path, std::ios::binary);
    const std::vector<unsigned char> f((std::istreambuf_iterator<char>(in)),
                                       std::istreambuf_iterator<char>());
    if (f.size() < 12 || std::memcmp(f.data(), "RIFF", 4) != 0) {
        return false;
    }
    int tag = 0, channels = 0, bits = 0;
    size_t pos = 12;
    while (pos + 8 <= f.size()) {
        size_t size = le(f, pos + 4, 4);
        if (std::memcmp(&f[pos], "fmt ", 4) == 0 && pos + 24 <= f.size()) {
            tag = static_cast<int>(le(f, pos + 8, 2));
            channels = static_cast<int>(le(f, pos + 10, 2));
            out->rate = static_cast<int>(le(f, pos + 12, 4));
            bits = static_cast<int>(le(f, pos + 22, 2));
            if (tag == 0xFFFE && pos + 34 <= f.size()) {
                tag = static_cast<int>(le(f, pos + 32, 2));
            }
        } else if (std::memcmp(&f[pos], "data", 4) == 0 && channels > 0) {
            size = std::min(size, f.size() - pos - 8); // a writer killed early leaves no size
            const size_t width = static_cast<size_t>(bits / 8);
            const size_t frames = size / (width * static_cast<size_t>(channels));
            for (size_t i = 0; i < frames; ++i) {
                double sum = 0;
                for (int c = 0; c < channels; ++c) {
                    const size_t at =
                        pos + 8 +
                        (i * static_cast<size_t>(channels) + static_cast<size_t>(c)) * width;
                    if (tag == 1 && bits == 16) {
                        sum += static_cast<int16_t>(le(f, at, 2)) / 32768.0;
                    } else if (tag == 3 && bits == 32) {
                        const uint32_t u = le(f, at, 4);
                        float v;
                        std::memcpy(&v, &u, 4);
                        sum += v;
                    } else {
                        return false;
                    }
                }
                out->samples.push_back(sum / channels);
            }
        }
        pos += 8 + size + (size & 1);
    }
    return out->rate > 0;
}

// Linear resampling to the given rate.
std::vector<double> resample(const Signal &s, double rate) {
    const double step = s.rate / rate;
    std::vector<double> out;
    for (double t = 0; t + 1 < static_cast<double>(s.samples.size()); t += step) {
        const size_t i = static_cast<size_t>(t);
        const double frac = t - static_cast<double>(i);
        out.push_back(s.samples[i] * (1 - frac) + s.samples[i + 1] * frac);
    }
    return out;
}

} // namespace

int main(int argc, char **argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: %s CAPTURE.wav CLIP.wav...\n", argv[0]);
        return 2;
    }
    Signal capture;
    if (!readWav(argv[1], &capture)) {
        std::fprintf(stderr, "cannot read %s\n", argv[1]);
        return 2;
    }
    const double rate = 11025.0;
    // Average groups of samples before resampling the capture down, against aliasing.
    const int group = std::max(1, static_cast<int>(capture.rate / rate));
    Signal averaged{capture.rate / group, {}};
    for (size_t i = 0; i + static_cast<size_t>(group) <= capture.samples.size();
         i += static_cast<size_t>(group)) {
        double sum = 0;
        for (int k = 0; k < group; ++k) {
            sum += capture.samples[i + static_cast<size_t>(k)];
        }
        averaged.samples.push_back(sum / group);
    }
    const std::vector<double> c = resample(averaged, rate);
    std::vector<double> energy(c.size() + 1, 0.0); // prefix sums of squares
    for (size_t i = 0; i < c.size(); ++i) {
        energy[i + 1] = energy[i] + c[i] * c[i];
    }
    for (int a = 2; a < argc; ++a) {
        Signal clip;
        if (!readWav(argv[a], &clip)) {
            std::fprintf(stderr, "cannot read %s\n", argv[a]);
            return 2;
        }
        Signal clipAveraged{clip.rate, clip.samples};
        const int clipGroup = std::max(1, static_cast<int>(clip.rate / rate));
        if (clipGroup > 1) {
            clipAveraged.rate = clip.rate / clipGroup;
            clipAveraged.samples.clear();
            for (size_t i = 0; i + static_cast<size_t>(clipGroup) <= clip.samples.size();
                 i += static_cast<size_t>(clipGroup)) {
                double sum = 0;
                for (int k = 0; k < clipGroup; ++k) {
                    sum += clip.samples[i + static_cast<size_t>(k)];
                }
                clipAveraged.samples.push_back(sum / clipGroup);
            }
        }
        const std::vector<double> r = resample(clipAveraged, rate);
        double norm = 0;
        for (double v : r) {
            norm += v * v;
        }
        norm = std::sqrt(norm);
        std::printf("%s", std::filesystem::path(argv[a]).filename().c_str());
        const size_t m = r.size();
        size_t lag = 0;
        while (m > 0 && lag + m <= c.size()) {
            auto ncc = [&](size_t at) {
                const double e = energy[at + m] - energy[at];
                if (e <= 1e-12 || norm <= 0) {
                    return 0.0;
                }
                double dot = 0;
                for (size_t i = 0; i < m; ++i) {
                    dot += c[at + i] * r[i];
                }
                return dot / (norm * std::sqrt(e));
            };
            if (ncc(lag) > 0.7) {
                size_t best = lag;
                double bestValue = ncc(lag);
                for (size_t at = lag + 1; at < lag + m / 2 && at + m <= c.size(); ++at) {
                    const double v = ncc(at);
                    if (v > bestValue) {
                        bestValue = v;
                        best = at;
                    }
                }
                std::printf(" %.3f", static_cast<double>(best) / rate);
                lag = best + m / 2;
            } else {
                ++lag;
            }
        }
        std::printf("\n");
    }
    return 0;
}
