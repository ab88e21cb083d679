// voice_capture_onsets: finds where clips sound in a captured WAV.
//   voice_capture_onsets CAPTURE.wav CLIP.wav...
//   voice_capture_onsets --whole CAPTURE.wav CLIP.wav...
// For every clip it prints one line: the clip's file name, then the start times (seconds) at
// which the capture matches the clip (normalised cross-correlation above 0.7). Both signals are
// mixed to mono and brought to about 11 kHz first. 16-bit PCM and 32-bit float WAVs are read.
// --whole also checks that every clip found sounds to its end and that nothing sounds outside
// the clips found: one line per clip heard ("whole" or "cut" with the milliseconds heard of the
// clip's length) and per stretch of other sound ("fragment" with its time and length); exit 1
// when a clip is cut by more than 2 ms or a fragment is heard. Loudness is compared in 1 ms
// steps against the clip scaled to the level it was heard at, so resampling on the way does
// not matter.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
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

constexpr double kRate = 11025.0;
constexpr size_t kStep = 11; // about 1 ms at kRate

// Means of groups of samples, so that bringing a signal down to kRate does not alias.
Signal averagedDown(const Signal &s) {
    const int group = std::max(1, static_cast<int>(s.rate / kRate));
    if (group == 1) {
        return s;
    }
    Signal out{s.rate / group, {}};
    for (size_t i = 0; i + static_cast<size_t>(group) <= s.samples.size();
         i += static_cast<size_t>(group)) {
        double sum = 0;
        for (int k = 0; k < group; ++k) {
            sum += s.samples[i + static_cast<size_t>(k)];
        }
        out.samples.push_back(sum / group);
    }
    return out;
}

bool load(const char *path, std::vector<double> *out) {
    Signal s;
    if (!readWav(path, &s)) {
        std::fprintf(stderr, "cannot read %s\n", path);
        return false;
    }
    *out = resample(averagedDown(s), kRate);
    return true;
}

// Where clip r starts in capture c (energy: c's prefix sums of squares), best match of each.
std::vector<size_t> onsets(const std::vector<double> &c, const std::vector<double> &energy,
                           const std::vector<double> &r) {
    double norm = 0;
    for (double v : r) {
        norm += v * v;
    }
    norm = std::sqrt(norm);
    std::vector<size_t> found;
    const size_t m = r.size();
    size_t lag = 0;
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
    while (m > 0 && lag + m <= c.size()) {
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
            found.push_back(best);
            lag = best + m / 2;
        } else {
            ++lag;
        }
    }
    return found;
}

// Root mean square of each 1 ms step of x from sample `from` on, `steps` of them (0 past the end).
std::vector<double> loudness(const std::vector<double> &x, size_t from, size_t steps) {
    std::vector<double> out(steps, 0.0);
    for (size_t k = 0; k < steps; ++k) {
        double sum = 0;
        for (size_t i = from + k * kStep; i < from + (k + 1) * kStep && i < x.size(); ++i) {
            sum += x[i] * x[i];
        }
        out[k] = std::sqrt(sum / kStep);
    }
    return out;
}

struct Heard {
    std::string name;
    size_t start;
    const std::vector<double> *clip;
};

// The checks of --whole; returns the exit code.
int checkWhole(const std::vector<double> &c, const std::vector<Heard> &heard) {
    constexpr double kAudible = 0.004; // about -48 dBFS in a 1 ms step
    std::vector<bool> covered(c.size() / kStep + 1, false);
    int rc = 0;
    for (const Heard &h : heard) {
        const size_t steps = h.clip->size() / kStep;
        const std::vector<double> want = loudness(*h.clip, 0, steps);
        const std::vector<double> got = loudness(c, h.start, steps);
        // The level the clip was heard at, from its loud part (above half its peak), where
        // nothing else can matter.
        const double peak = steps > 0 ? *std::max_element(want.begin(), want.end()) : 0.0;
        double dot = 0, norm = 0;
        for (size_t k = 0; k < steps; ++k) {
            if (want[k] > 0.5 * peak) {
                dot += got[k] * want[k];
                norm += want[k] * want[k];
            }
        }
        const double gain = norm > 0 ? dot / norm : 1.0;
        size_t end = 0; // 1 ms steps of the clip that carry sound
        for (size_t k = 0; k < steps; ++k) {
            if (want[k] * gain > kAudible) {
                end = k + 1;
            }
        }
        // Cut where the clip is loud for 2 ms either side (the match may be a period of a
        // tone off) and the capture is not.
        size_t whole = end;
        for (size_t k = 0; k < end; ++k) {
            const double quietest = *std::min_element(want.begin() + (k < 2 ? 0 : k - 2),
                                                      want.begin() + std::min(steps, k + 3));
            if (quietest * gain > kAudible && got[k] < 0.3 * quietest * gain) {
                whole = k;
                break;
            }
        }
        for (size_t k = 0; k < end + 3 && h.start / kStep + k < covered.size(); ++k) {
            covered[h.start / kStep + k] = true;
        }
        const bool cut = whole + 2 < end;
        std::printf("%s %.3f %s %zu of %zu ms\n", h.name.c_str(),
                    static_cast<double>(h.start) / kRate, cut ? "cut" : "whole", whole, end);
        rc |= cut ? 1 : 0;
    }
    const std::vector<double> all = loudness(c, 0, c.size() / kStep);
    for (size_t k = 0; k < all.size();) {
        if (covered[k] || all[k] <= kAudible) {
            ++k;
            continue;
        }
        size_t n = 0;
        while (k + n < all.size() && !covered[k + n] && all[k + n] > kAudible) {
            ++n;
        }
        std::printf("fragment %.3f %zu ms\n", static_cast<double>(k * kStep) / kRate, n);
        rc = 1;
        k += n;
    }
    return rc;
}

} // namespace

int main(int argc, char **argv) {
    const bool whole = argc > 1 && std::strcmp(argv[1], "--whole") == 0;
    const int first = whole ? 2 : 1;
    if (argc < first + 2) {
        std::fprintf(stderr, "usage: %s [--whole] CAPTURE.wav CLIP.wav...\n", argv[0]);
        return 2;
    }
    std::vector<double> c;
    if (!load(argv[first], &c)) {
        return 2;
    }
    std::vector<double> energy(c.size() + 1, 0.0); // prefix sums of squares
    for (size_t i = 0; i < c.size(); ++i) {
        energy[i + 1] = energy[i] + c[i] * c[i];
    }
    std::vector<Heard> heard;
    std::vector<std::vector<double>> clips(static_cast<size_t>(argc - first - 1));
    for (int a = first + 1; a < argc; ++a) {
        std::vector<double> &r = clips[static_cast<size_t>(a - first - 1)];
        if (!load(argv[a], &r)) {
            return 2;
        }
        const std::string name = std::filesystem::path(argv[a]).filename().string();
        const std::vector<size_t> found = onsets(c, energy, r);
        if (!whole) {
            std::printf("%s", name.c_str());
            for (size_t at : found) {
                std::printf(" %.3f", static_cast<double>(at) / kRate);
            }
            std::printf("\n");
        }
        for (size_t at : found) {
            heard.push_back({name, at, &r});
        }
    }
    if (!whole) {
        return 0;
    }
    std::sort(heard.begin(), heard.end(),
              [](const Heard &a, const Heard &b) { return a.start < b.start; });
    return checkWhole(c, heard);
}
