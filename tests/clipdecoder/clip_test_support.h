// Helpers for the clip decoder tests: WAV fixtures, the canonical header made independently of
// the library, FLAC streams encoded with libFLAC's encoder, temporary files, the working folder.
#pragma once

#include <FLAC/stream_encoder.h>

#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <string>
#include <vector>

#if defined(_WIN32)
#include <process.h>
#define CLIPTEST_GETPID _getpid
#else
#include <unistd.h>
#define CLIPTEST_GETPID getpid
#endif

namespace cliptest {

using Bytes = std::vector<uint8_t>;

inline Bytes readBytes(const std::filesystem::path &path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        throw std::runtime_error("cannot read " + path.string());
    }
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

inline void writeBytes(const std::filesystem::path &path, const Bytes &bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char *>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
    if (!out) {
        throw std::runtime_error("cannot write " + path.string());
    }
}

inline uint32_t le16(const uint8_t *p) {
    return static_cast<uint32_t>(p[0] | (p[1] << 8));
}
inline uint32_t le32(const uint8_t *p) {
    return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) |
           (static_cast<uint32_t>(p[2]) << 16) | (static_cast<uint32_t>(p[3]) << 24);
}

// A PCM WAV file, read by walking its chunks (so it need not be canonical).
struct Wav {
    uint32_t channels = 0;
    uint32_t sampleRate = 0;
    uint32_t bitsPerSample = 0;
    Bytes pcm;
    uint32_t blockAlign() const { return channels * (bitsPerSample / 8); }
    uint64_t points() const { return blockAlign() ? pcm.size() / blockAlign() : 0; }
};

inline Wav parseWav(const Bytes &file) {
    if (file.size() < 12 || std::memcmp(file.data(), "RIFF", 4) != 0 ||
        std::memcmp(file.data() + 8, "WAVE", 4) != 0) {
        throw std::runtime_error("not a RIFF/WAVE file");
    }
    Wav wav;
    bool haveFmt = false;
    bool haveData = false;
    size_t pos = 12;
    while (pos + 8 <= file.size()) {
        const uint8_t *chunk = file.data() + pos;
        const uint32_t size = le32(chunk + 4);
        if (pos + 8 + size > file.size()) {
            throw std::runtime_error("WAV chunk runs past the end");
        }
        if (std::memcmp(chunk, "fmt ", 4) == 0 && size >= 16) {
            if (le16(chunk + 8) != 1) {
                throw std::runtime_error("WAV is not plain PCM");
            }
            wav.channels = le16(chunk + 10);
            wav.sampleRate = le32(chunk + 12);
            wav.bitsPerSample = le16(chunk + 22);
            haveFmt = true;
        } else if (std::memcmp(chunk, "data", 4) == 0) {
            wav.pcm.assign(chunk + 8, chunk + 8 + size);
            haveData = true;
        }
        pos += 8 + size + (size & 1u);
    }
    if (!haveFmt || !haveData) {
        throw std::runtime_error("WAV without fmt or data chunk");
    }
    return wav;
}

// The canonical 44-byte header, written out field by field as the WAV format defines it.
inline Bytes canonicalHeader(uint32_t channels, uint32_t rate, uint32_t bits, uint32_t dataBytes) {
    Bytes h(44, 0);
    size_t at = 0;
    auto tag = [&](const char *t) {
        for (int i = 0; i < 4; ++i) {
            h[at++] = static_cast<uint8_t>(t[i]);
        }
    };
    auto u16 = [&](uint32_t v) {
        h[at++] = static_cast<uint8_t>(v & 0xFF);
        h[at++] = static_cast<uint8_t>((v >> 8) & 0xFF);
    };
    auto u32 = [&](uint32_t v) {
        u16(v & 0xFFFF);
        u16(v >> 16);
    };
    const uint32_t blockAlign = channels * (bits / 8);
    tag("RIFF");
    u32(36 + dataBytes);
    tag("WAVE");
    tag("fmt ");
    u32(16); // fmt chunk size
    u16(1);  // WAVE_FORMAT_PCM
    u16(channels);
    u32(rate);
    u32(rate * blockAlign); // bytes per second
    u16(blockAlign);
    u16(bits);
    tag("data");
    u32(dataBytes);
    return h;
}

// WAV-format bytes of interleaved samples, computed independently of the library.
inline Bytes wavBytes(const std::vector<int32_t> &samples, uint32_t bits) {
    Bytes out;
    for (const int32_t s : samples) {
        const auto u = static_cast<uint32_t>(s);
        if (bits == 8) {
            out.push_back(static_cast<uint8_t>(s + 128));
        } else {
            for (uint32_t b = 0; b < bits / 8; ++b) {
                out.push_back(static_cast<uint8_t>((u >> (8 * b)) & 0xFF));
            }
        }
    }
    return out;
}

// The source tree's root (where Data/ is), from the build.
inline std::filesystem::path sourceRoot() {
    return std::filesystem::path(CLIPDECODER_SOURCE_ROOT);
}

// Changes the working folder for the lifetime of the object.
class ScopedChdir {
  public:
    explicit ScopedChdir(const std::filesystem::path &dir)
        : saved_(std::filesystem::current_path()) {
        std::filesystem::current_path(dir);
    }
    ~ScopedChdir() {
        std::error_code ec;
        std::filesystem::current_path(saved_, ec);
    }
    ScopedChdir(const ScopedChdir &) = delete;
    ScopedChdir &operator=(const ScopedChdir &) = delete;

  private:
    std::filesystem::path saved_;
};

// A file in the temporary folder, unique to the process, removed at the end of its scope.
class TempFile {
  public:
    explicit TempFile(const std::string &stem) {
        static int counter = 0;
        path_ = std::filesystem::temp_directory_path() /
                ("vintorel_clipdecoder_" + std::to_string(CLIPTEST_GETPID()) + "_" +
                 std::to_string(counter++) + "_" + stem);
    }
    TempFile(const std::string &stem, const Bytes &content) : TempFile(stem) {
        writeBytes(path_, content);
    }
    ~TempFile() {
        std::error_code ec;
        std::filesystem::remove(path_, ec);
    }
    TempFile(const TempFile &) = delete;
    TempFile &operator=(const TempFile &) = delete;
    const std::filesystem::path &path() const { return path_; }
    std::string name() const { return path_.string(); }

  private:
    std::filesystem::path path_;
};

// Encodes interleaved samples into a FLAC stream in memory with libFLAC's encoder. With
// knownLength false the encoder gets no seek callback, so STREAMINFO keeps a total of 0
// ("unknown") and no MD5 signature, as a piped encoder writes it.
struct EncodeOptions {
    uint32_t channels = 1;
    uint32_t bitsPerSample = 16;
    uint32_t sampleRate = 22050;
    uint32_t blocksize = 0; // 0: the encoder's default
    bool knownLength = true;
};

namespace detail {
struct Sink {
    Bytes bytes;
    size_t pos = 0;
};
inline FLAC__StreamEncoderWriteStatus sinkWrite(const FLAC__StreamEncoder *,
                                                const FLAC__byte buffer[], size_t bytes, uint32_t,
                                                uint32_t, void *client) {
    auto *sink = static_cast<Sink *>(client);
    if (sink->pos + bytes > sink->bytes.size()) {
        sink->bytes.resize(sink->pos + bytes);
    }
    std::memcpy(sink->bytes.data() + sink->pos, buffer, bytes);
    sink->pos += bytes;
    return FLAC__STREAM_ENCODER_WRITE_STATUS_OK;
}
inline FLAC__StreamEncoderSeekStatus sinkSeek(const FLAC__StreamEncoder *, FLAC__uint64 offset,
                                              void *client) {
    static_cast<Sink *>(client)->pos = static_cast<size_t>(offset);
    return FLAC__STREAM_ENCODER_SEEK_STATUS_OK;
}
inline FLAC__StreamEncoderTellStatus sinkTell(const FLAC__StreamEncoder *, FLAC__uint64 *offset,
                                              void *client) {
    *offset = static_cast<Sink *>(client)->pos;
    return FLAC__STREAM_ENCODER_TELL_STATUS_OK;
}
} // namespace detail

inline Bytes encodeFlac(const std::vector<int32_t> &interleaved, const EncodeOptions &o) {
    FLAC__StreamEncoder *enc = FLAC__stream_encoder_new();
    if (enc == nullptr) {
        throw std::runtime_error("FLAC encoder");
    }
    detail::Sink sink;
    bool ok = FLAC__stream_encoder_set_channels(enc, o.channels) &&
              FLAC__stream_encoder_set_bits_per_sample(enc, o.bitsPerSample) &&
              FLAC__stream_encoder_set_sample_rate(enc, o.sampleRate) &&
              FLAC__stream_encoder_set_compression_level(enc, 5) &&
              FLAC__stream_encoder_set_streamable_subset(enc, false);
    if (ok && o.blocksize != 0) {
        ok = FLAC__stream_encoder_set_blocksize(enc, o.blocksize);
    }
    if (ok) {
        ok = FLAC__stream_encoder_init_stream(enc, detail::sinkWrite,
                                              o.knownLength ? detail::sinkSeek : nullptr,
                                              o.knownLength ? detail::sinkTell : nullptr, nullptr,
                                              &sink) == FLAC__STREAM_ENCODER_INIT_STATUS_OK;
    }
    const auto points = static_cast<uint32_t>(interleaved.size() / o.channels);
    if (ok && points > 0) {
        ok = FLAC__stream_encoder_process_interleaved(enc, interleaved.data(), points);
    }
    ok = FLAC__stream_encoder_finish(enc) && ok;
    FLAC__stream_encoder_delete(enc);
    if (!ok) {
        throw std::runtime_error("FLAC encoding failed");
    }
    return sink.bytes;
}

// Offsets in a FLAC file whose first metadata block is STREAMINFO ("fLaC", block header, then
// STREAMINFO): the 64 bits holding rate, channels, bits and total samples, and the MD5.
constexpr size_t kStreamInfoPacked = 18;
constexpr size_t kStreamInfoMd5 = 26;

inline uint64_t getBe64(const Bytes &b, size_t at) {
    uint64_t v = 0;
    for (size_t i = 0; i < 8; ++i) {
        v = (v << 8) | b.at(at + i);
    }
    return v;
}
inline void putBe64(Bytes &b, size_t at, uint64_t v) {
    for (size_t i = 0; i < 8; ++i) {
        b.at(at + 7 - i) = static_cast<uint8_t>(v >> (8 * i));
    }
}
// Rewrites the total sample count (36 bits) in a FLAC file's STREAMINFO.
inline void setTotalSamples(Bytes &flac, uint64_t total) {
    const uint64_t mask = (uint64_t{1} << 36) - 1;
    const uint64_t packed = getBe64(flac, kStreamInfoPacked);
    putBe64(flac, kStreamInfoPacked, (packed & ~mask) | (total & mask));
}
// Rewrites bits per sample (5 bits, stored minus one) in a FLAC file's STREAMINFO.
inline void setStreamInfoBits(Bytes &flac, uint32_t bits) {
    const uint64_t mask = uint64_t{0x1F} << 36;
    const uint64_t packed = getBe64(flac, kStreamInfoPacked);
    putBe64(flac, kStreamInfoPacked, (packed & ~mask) | (uint64_t{bits - 1} << 36));
}

} // namespace cliptest
