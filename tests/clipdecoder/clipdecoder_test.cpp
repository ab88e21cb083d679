// Tests of the clip decoder library (components/clipdecoder) through its seven C functions:
// the 21 committed clips against the WAV fixtures they were encoded from, reading in pieces,
// damaged, foreign and missing files, bad arguments, and 8/16/24-bit streams made here with
// libFLAC's encoder.
#include "OptimFROG.h"
#include "clip_test_support.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <ostream>
#include <random>
#include <string>
#include <vector>

#include <sys/stat.h>

using namespace cliptest;

namespace {

// The record's fields as plain, aligned values. OptimFROG_Info is packed, so its 64-bit fields
// are misaligned: GoogleTest's assertions take references, which must not bind to them.
struct Info {
    uint32_t channels, samplerate, bitspersample, bitrate, version, blockAlign, headerSize;
    int64_t noPoints;
    uint32_t originalSize, originalSizeHigh;
    int64_t compressedSize, length_ms;
    uint32_t dataSize, reserved;
};

Info plain(const OptimFROG_Info &r) {
    return Info{r.channels,       r.samplerate, r.bitspersample, r.bitrate,      r.version,
                r.blockAlign,     r.headerSize, r.noPoints,      r.originalSize, r.originalSizeHigh,
                r.compressedSize, r.length_ms,  r.dataSize,      r.reserved};
}

// Owns a decoder instance.
class Decoder {
  public:
    Decoder() : p_(OptimFROG_createInstance()) {}
    ~Decoder() { OptimFROG_destroyInstance(p_); }
    Decoder(const Decoder &) = delete;
    Decoder &operator=(const Decoder &) = delete;
    void *get() const { return p_; }

    bool open(const std::string &name, bool md5 = false) {
        return OptimFROG_open(p_, name.c_str(), md5 ? 1 : 0) != 0;
    }
    Info info() {
        OptimFROG_Info i;
        std::memset(&i, 0xAB, sizeof i);
        EXPECT_TRUE(OptimFROG_getInfo(p_, &i));
        return plain(i);
    }
    Bytes header() {
        Bytes h(64, 0xEE);
        EXPECT_EQ(OptimFROG_readHead(p_, h.data(), static_cast<uint32_t>(h.size())), 44u);
        EXPECT_TRUE(std::all_of(h.begin() + 44, h.end(), [](uint8_t b) { return b == 0xEE; }));
        h.resize(44);
        return h;
    }
    // Reads until the stream gives 0, asking `piece(call)` points per call, in WAV format or
    // as int32. The number of calls is bounded, so a decoder that never ends fails the test.
    template <typename Piece>
    Bytes readAll(Piece piece, bool wavFormat, uint32_t pointBytes, int maxCalls = 100000) {
        Bytes out;
        for (int call = 0; call < maxCalls; ++call) {
            const int32_t want = piece(call);
            // Exactly the bytes asked for plus a guard zone that must stay untouched.
            Bytes buf(static_cast<size_t>(want) * pointBytes + 16, 0x5A);
            const int32_t got = OptimFROG_read(p_, buf.data(), want, wavFormat ? 1 : 0);
            EXPECT_GE(got, 0);
            EXPECT_LE(got, want);
            if (got <= 0) {
                return out;
            }
            const size_t used = static_cast<size_t>(got) * pointBytes;
            EXPECT_TRUE(std::all_of(buf.begin() + static_cast<std::ptrdiff_t>(used), buf.end(),
                                    [](uint8_t b) { return b == 0x5A; }))
                << "the read wrote past the points it reported";
            out.insert(out.end(), buf.begin(), buf.begin() + static_cast<std::ptrdiff_t>(used));
        }
        ADD_FAILURE() << "reading did not end within " << maxCalls << " calls";
        return out;
    }
    Bytes readAll(int32_t piece, bool wavFormat, uint32_t pointBytes, int maxCalls = 100000) {
        return readAll([piece](int) { return piece; }, wavFormat, pointBytes, maxCalls);
    }
    void expectEnded(int times = 3) {
        std::array<uint8_t, 64> buf{};
        for (int i = 0; i < times; ++i) {
            EXPECT_EQ(OptimFROG_read(p_, buf.data(), 4, 1), 0);
        }
    }

  private:
    void *p_;
};

const std::vector<std::string> &clipNames() {
    static const std::vector<std::string> names = [] {
        std::vector<std::string> n;
        for (const char *lang : {"en", "ru"}) {
            for (int d = 0; d <= 9; ++d) {
                n.push_back(std::to_string(d) + lang);
            }
        }
        n.push_back("tone");
        return n;
    }();
    return names;
}

Wav fixture(const std::string &name) {
    return parseWav(readBytes(sourceRoot() / "tests" / "clipdecoder" / "data" / (name + ".wav")));
}

std::filesystem::path clipPath(const std::string &name) {
    return sourceRoot() / "Data" / (name + ".vcl");
}

// A clip's name as the program writes it, with backslashes.
std::string programName(const std::string &name) {
    return "Data\\" + name + ".vcl";
}

std::vector<int32_t> fixtureSamples(const Wav &wav) {
    std::vector<int32_t> s;
    const uint32_t bytes = wav.bitsPerSample / 8;
    for (size_t i = 0; i + bytes <= wav.pcm.size(); i += bytes) {
        const uint8_t *p = wav.pcm.data() + i;
        if (bytes == 1) {
            s.push_back(static_cast<int32_t>(p[0]) - 128);
        } else if (bytes == 2) {
            s.push_back(static_cast<int16_t>(le16(p)));
        } else {
            const uint32_t u = p[0] | (p[1] << 8) | (static_cast<uint32_t>(p[2]) << 16);
            s.push_back(static_cast<int32_t>(u << 8) >> 8);
        }
    }
    return s;
}

Bytes int32Bytes(const std::vector<int32_t> &samples) {
    Bytes b(samples.size() * 4);
    if (!samples.empty()) {
        std::memcpy(b.data(), samples.data(), b.size());
    }
    return b;
}

bool isPrefix(const Bytes &prefix, const Bytes &whole) {
    return prefix.size() <= whole.size() && std::equal(prefix.begin(), prefix.end(), whole.begin());
}

// A pattern of odd piece sizes, starting with single points.
int32_t oddPiece(int call) {
    static const int32_t sizes[] = {3, 7, 1, 13, 331, 2, 4099, 17, 1021, 5};
    return call < 40 ? 1 : sizes[call % 10];
}

// ---------------------------------------------------------------------------------------------
// The 21 committed clips.

class CommittedClip : public ::testing::TestWithParam<std::string> {};

TEST_P(CommittedClip, MatchesItsWavFixture) {
    const std::string name = GetParam();
    const Wav wav = fixture(name);
    const auto fileSize = static_cast<int64_t>(std::filesystem::file_size(clipPath(name)));
    ScopedChdir chdir(sourceRoot()); // the program's working folder holds Data/

    Decoder d;
    ASSERT_NE(d.get(), nullptr);
    ASSERT_TRUE(d.open(programName(name))) << programName(name);

    const Info info = d.info();
    EXPECT_EQ(info.channels, wav.channels);
    EXPECT_EQ(info.samplerate, wav.sampleRate);
    EXPECT_EQ(info.bitspersample, wav.bitsPerSample);
    EXPECT_EQ(info.noPoints, static_cast<int64_t>(wav.points()));
    EXPECT_EQ(info.originalSize, 44u + wav.pcm.size());
    // The record's other fields, as the header documents them.
    EXPECT_EQ(info.version, OPTIMFROG_CLIPDECODER_VERSION);
    EXPECT_EQ(info.blockAlign, wav.blockAlign());
    EXPECT_EQ(info.headerSize, 44u);
    EXPECT_EQ(info.originalSizeHigh, 0u);
    EXPECT_EQ(info.compressedSize, fileSize);
    EXPECT_EQ(info.length_ms, static_cast<int64_t>(wav.points() * 1000 / wav.sampleRate));
    EXPECT_EQ(info.dataSize, wav.pcm.size());
    EXPECT_EQ(info.reserved, 0u);
    EXPECT_GT(info.bitrate, 0u);

    // As the program asks: the header size without a buffer, then the header itself.
    EXPECT_EQ(OptimFROG_readHead(d.get(), nullptr, 0), 44u);
    EXPECT_EQ(d.header(), canonicalHeader(wav.channels, wav.sampleRate, wav.bitsPerSample,
                                          static_cast<uint32_t>(wav.pcm.size())));

    // As the program reads: the whole clip in one call, into a buffer of exactly its size.
    const auto points = static_cast<int32_t>(info.noPoints);
    Bytes pcm(info.originalSize - 44u + 8u, 0x5A);
    EXPECT_EQ(OptimFROG_read(d.get(), pcm.data(), points, 1), points);
    EXPECT_TRUE(std::all_of(pcm.end() - 8, pcm.end(), [](uint8_t b) { return b == 0x5A; }));
    pcm.resize(pcm.size() - 8);
    EXPECT_TRUE(pcm == wav.pcm) << "PCM differs from the fixture";
    d.expectEnded();
    EXPECT_TRUE(OptimFROG_close(d.get()));
}

TEST_P(CommittedClip, ReadingInPiecesGivesTheSameBytes) {
    const std::string name = GetParam();
    const Wav wav = fixture(name);
    Decoder d;
    ASSERT_TRUE(d.open(clipPath(name).string()));
    const Bytes pieces = d.readAll(oddPiece, true, wav.blockAlign());
    EXPECT_TRUE(pieces == wav.pcm);
    d.expectEnded(5);
    EXPECT_TRUE(OptimFROG_close(d.get()));

    // As int32 samples, in other pieces, and again after reopening the same instance.
    ASSERT_TRUE(d.open(clipPath(name).string()));
    const Bytes ints = d.readAll(4096, false, wav.channels * 4);
    EXPECT_TRUE(ints == int32Bytes(fixtureSamples(wav)));
    d.expectEnded();
}

TEST_P(CommittedClip, Md5SignatureVerifies) {
    const std::string name = GetParam();
    Decoder d;
    ASSERT_TRUE(d.open(clipPath(name).string(), true));
    d.readAll(1000, true, 2);
    EXPECT_TRUE(OptimFROG_close(d.get()));
}

INSTANTIATE_TEST_SUITE_P(Data, CommittedClip, ::testing::ValuesIn(clipNames()),
                         [](const ::testing::TestParamInfo<std::string> &p) { return p.param; });

TEST(CommittedClips, AreMono16Bit22050AndEachDigitFitsInsideOneTick) {
    int maxVoicePeak = 0;
    for (const std::string &name : clipNames()) {
        const Wav wav = fixture(name);
        EXPECT_EQ(wav.channels, 1u) << name;
        EXPECT_EQ(wav.bitsPerSample, 16u) << name;
        EXPECT_EQ(wav.sampleRate, 22050u) << name;
        const double seconds = static_cast<double>(wav.points()) / wav.sampleRate;
        int peak = 0;
        for (const int32_t s : fixtureSamples(wav)) {
            peak = std::max(peak, s < 0 ? -s : s);
        }
        if (name == "tone") {
            EXPECT_GT(seconds, 0.08) << name;
            EXPECT_LT(seconds, 0.2) << name;
            EXPECT_LT(peak, maxVoicePeak) << "the tone should be quieter than the voice";
        } else {
            // Two digits on successive 600 ms ticks must not overlap.
            EXPECT_GT(seconds, 0.1) << name;
            EXPECT_LT(seconds, 0.55) << name;
            maxVoicePeak = std::max(maxVoicePeak, peak);
            EXPECT_GT(peak, 28000) << name << " should be normalised near full scale";
        }
    }
}

TEST(OpenName, BackslashesAndRelativeFoldersResolveAgainstTheWorkingFolder) {
    const Wav wav = fixture("5en");
    // From the build's working folder: a relative name with ".." parts, written with backslashes.
    const std::filesystem::path rel =
        std::filesystem::relative(clipPath("5en"), std::filesystem::current_path());
    std::string name = rel.generic_string();
    std::replace(name.begin(), name.end(), '/', '\\');
    Decoder d;
    ASSERT_TRUE(d.open(name)) << name;
    EXPECT_TRUE(d.readAll(100000, true, 2) == wav.pcm);

    // The program's exact name fails where there is no Data folder, and works where there is.
    const TempFile empty("nodata_dir");
    std::filesystem::create_directory(empty.path());
    {
        ScopedChdir chdir(empty.path());
        Decoder other;
        EXPECT_FALSE(other.open("Data\\5en.vcl"));
    }
    std::filesystem::remove(empty.path());
    ScopedChdir chdir(sourceRoot());
    Decoder third;
    EXPECT_TRUE(third.open("Data\\5en.vcl"));
}

// ---------------------------------------------------------------------------------------------
// Damaged, foreign and missing files.

// Where the audio frames start in a clip: after the last metadata block.
size_t audioStart(const Bytes &flac) {
    size_t pos = 4;
    while (pos + 4 <= flac.size()) {
        const bool last = (flac[pos] & 0x80) != 0;
        const size_t length = (static_cast<size_t>(flac[pos + 1]) << 16) |
                              (static_cast<size_t>(flac[pos + 2]) << 8) | flac[pos + 3];
        pos += 4 + length;
        if (last) {
            break;
        }
    }
    return pos;
}

TEST(DamagedClip, TruncatedInTheFramesYieldsAPrefixThenZero) {
    for (const char *clipName : {"7en", "4ru", "tone"}) {
        const std::string name = clipName;
        const Wav wav = fixture(name);
        const Bytes clip = readBytes(clipPath(name));
        const size_t start = audioStart(clip);
        for (const size_t cut : {start + 1, start + (clip.size() - start) / 3,
                                 start + (clip.size() - start) / 2, clip.size() - 1}) {
            Bytes truncated(clip.begin(), clip.begin() + static_cast<std::ptrdiff_t>(cut));
            const TempFile file(name + "_cut.vcl", truncated);
            for (const bool md5 : {false, true}) {
                Decoder d;
                ASSERT_TRUE(d.open(file.name(), md5)) << name << " cut at " << cut;
                EXPECT_EQ(d.info().noPoints, static_cast<int64_t>(wav.points()));
                const Bytes got = d.readAll(oddPiece, true, 2, 2000);
                EXPECT_TRUE(isPrefix(got, wav.pcm)) << name << " cut at " << cut;
                EXPECT_LT(got.size(), wav.pcm.size()) << name << " cut at " << cut;
                d.expectEnded();
                // With the MD5 check asked for, the incomplete stream fails it.
                EXPECT_EQ(OptimFROG_close(d.get()) != 0, !md5);
            }
        }
    }
}

TEST(DamagedClip, TruncatedInTheMetadataFailsToOpen) {
    const Bytes clip = readBytes(clipPath("3en"));
    for (const size_t cut : {size_t{1}, size_t{4}, size_t{10}, size_t{30}}) {
        const TempFile file("meta_cut.vcl",
                            Bytes(clip.begin(), clip.begin() + static_cast<std::ptrdiff_t>(cut)));
        Decoder d;
        EXPECT_FALSE(d.open(file.name())) << "cut at " << cut;
    }
}

TEST(DamagedClip, CorruptedFramesEndWithoutOverrunAndFailTheMd5Check) {
    const Bytes clip = readBytes(clipPath("9en"));
    const Wav wav = fixture("9en");
    const size_t start = audioStart(clip);
    std::mt19937 rng(7);
    for (int round = 0; round < 20; ++round) {
        Bytes bad = clip;
        for (int k = 0; k < 1 + round % 5; ++k) {
            bad[start + rng() % (bad.size() - start)] ^= static_cast<uint8_t>(1u + rng() % 255u);
        }
        const TempFile file("corrupt.vcl", bad);
        Decoder d;
        ASSERT_TRUE(d.open(file.name(), true));
        const Bytes got = d.readAll(oddPiece, true, 2, 5000);
        EXPECT_LE(got.size(), wav.pcm.size());
        d.expectEnded();
        if (got.size() != wav.pcm.size() || got != wav.pcm) {
            EXPECT_FALSE(OptimFROG_close(d.get())) << "round " << round;
        }
    }
}

TEST(DamagedClip, WrongMd5SignatureIsReportedByCloseOnlyWhenAsked) {
    Bytes clip = readBytes(clipPath("2ru"));
    clip[kStreamInfoMd5 + 3] ^= 0x40;
    const TempFile file("md5.vcl", clip);
    const Wav wav = fixture("2ru");
    for (const bool md5 : {false, true}) {
        Decoder d;
        ASSERT_TRUE(d.open(file.name(), md5));
        EXPECT_TRUE(d.readAll(500, true, 2) == wav.pcm);
        EXPECT_EQ(OptimFROG_close(d.get()) != 0, !md5);
    }
    // Closed before the end: no verdict.
    Decoder d;
    ASSERT_TRUE(d.open(file.name(), true));
    std::array<uint8_t, 200> buf{};
    EXPECT_EQ(OptimFROG_read(d.get(), buf.data(), 100, 1), 100);
    EXPECT_TRUE(OptimFROG_close(d.get()));
}

TEST(DamagedClip, StreamInfoTotalIsACeilingOnWhatIsDelivered) {
    Bytes clip = readBytes(clipPath("1en"));
    const Wav wav = fixture("1en");
    setTotalSamples(clip, 1000);
    const TempFile file("short_total.vcl", clip);
    Decoder d;
    ASSERT_TRUE(d.open(file.name()));
    EXPECT_EQ(d.info().noPoints, 1000);
    EXPECT_EQ(d.info().originalSize, 44u + 2000u);
    const Bytes got = d.readAll(oddPiece, true, 2);
    EXPECT_TRUE(got == Bytes(wav.pcm.begin(), wav.pcm.begin() + 2000));
    d.expectEnded();
}

TEST(DamagedClip, StreamInfoTotalBeyondTheFileGivesWhatDecodes) {
    Bytes clip = readBytes(clipPath("1en"));
    const Wav wav = fixture("1en");
    setTotalSamples(clip, wav.points() + 5000);
    const TempFile file("long_total.vcl", clip);
    Decoder d;
    ASSERT_TRUE(d.open(file.name()));
    EXPECT_TRUE(d.readAll(oddPiece, true, 2) == wav.pcm);
    d.expectEnded();
}

TEST(UnsupportedClip, WavFileWouldNotFit32BitsFailsToOpen) {
    Bytes clip = readBytes(clipPath("tone"));
    // Mono 16-bit: 2^31 - 22 points make 44 + 2^32 - 44 bytes, the largest that fits; one more
    // does not.
    const uint64_t largest = (0xFFFFFFFFull - 44) / 2;
    setTotalSamples(clip, largest);
    {
        const TempFile file("largest.vcl", clip);
        Decoder d;
        ASSERT_TRUE(d.open(file.name()));
        EXPECT_EQ(d.info().originalSize, 44u + static_cast<uint32_t>(largest * 2));
        EXPECT_EQ(d.info().noPoints, static_cast<int64_t>(largest));
        // It decodes what the file holds and then stops.
        EXPECT_EQ(d.readAll(oddPiece, true, 2).size(), fixture("tone").pcm.size());
    }
    for (const uint64_t total : {largest + 1, uint64_t{1} << 35, (uint64_t{1} << 36) - 1}) {
        setTotalSamples(clip, total);
        const TempFile file("too_big.vcl", clip);
        Decoder d;
        EXPECT_FALSE(d.open(file.name())) << total;
    }
}

TEST(ForeignFile, WavRandomBytesEmptyMissingAndFoldersFailToOpen) {
    std::mt19937 rng(1234);
    Bytes random(4096);
    for (auto &b : random) {
        b = static_cast<uint8_t>(rng());
    }
    Bytes magicThenJunk = {'f', 'L', 'a', 'C'};
    magicThenJunk.insert(magicThenJunk.end(), random.begin(), random.begin() + 200);
    // A stream of raw frames without the fLaC marker and STREAMINFO.
    const Bytes clip = readBytes(clipPath("0en"));
    const Bytes framesOnly(clip.begin() + static_cast<std::ptrdiff_t>(audioStart(clip)),
                           clip.end());

    const std::vector<std::pair<std::string, Bytes>> files = {
        {"wav", readBytes(sourceRoot() / "tests" / "clipdecoder" / "data" / "0en.wav")},
        {"random", random},
        {"empty", {}},
        {"magic_only", {'f', 'L', 'a', 'C'}},
        {"magic_junk", magicThenJunk},
        {"frames_only", framesOnly},
    };
    for (const auto &[label, content] : files) {
        const TempFile file(label + ".vcl", content);
        Decoder d;
        EXPECT_FALSE(d.open(file.name())) << label;
        OptimFROG_Info info;
        EXPECT_FALSE(OptimFROG_getInfo(d.get(), &info)) << label;
        std::array<uint8_t, 16> buf{};
        EXPECT_LT(OptimFROG_read(d.get(), buf.data(), 1, 1), 0) << label;
    }
    Decoder d;
    EXPECT_FALSE(
        d.open((std::filesystem::temp_directory_path() / "vintorel_no_such_clip.vcl").string()));
    EXPECT_FALSE(d.open("Data\\no_such_clip.vcl"));
    EXPECT_FALSE(d.open(""));
    EXPECT_FALSE(d.open(std::filesystem::temp_directory_path().string()));
    // Devices never end (or never start): only regular files are clips.
    for (const char *device : {"/dev/zero", "/dev/urandom", "/dev/null"}) {
        if (std::filesystem::exists(device)) {
            EXPECT_FALSE(d.open(device)) << device;
        }
    }
    // A failed open leaves the instance usable.
    EXPECT_TRUE(d.open(clipPath("0en").string()));
}

// Only a regular file of a sane size is a clip. A FIFO without a writer is refused at once
// instead of blocking the open for ever; a clip grown past 4 GiB is refused however well it
// starts.
TEST(ForeignFile, SpecialAndOversizedFilesAreRefusedAtOnce) {
    const TempFile fifo("fifo.vcl");
    ASSERT_EQ(::mkfifo(fifo.name().c_str(), 0644), 0);
    const TempFile folder("folder.vcl");
    std::filesystem::create_directory(folder.path());
    const TempFile huge("huge.vcl", readBytes(clipPath("0en")));
    std::error_code error;
    std::filesystem::resize_file(huge.path(), (uint64_t{1} << 32) + 1, error); // sparse
    for (const std::string &name : {fifo.name(), folder.name(), std::string("/dev/zero"),
                                    error ? std::string() : huge.name()}) {
        Decoder d;
        EXPECT_FALSE(d.open(name)) << name;
    }
    std::filesystem::remove(folder.path());
}

TEST(ForeignFile, AFailedOpenClosesTheClipOpenBefore) {
    Decoder d;
    ASSERT_TRUE(d.open(clipPath("0ru").string()));
    EXPECT_FALSE(d.open("Data\\no_such_clip.vcl"));
    OptimFROG_Info info;
    EXPECT_FALSE(OptimFROG_getInfo(d.get(), &info));
    EXPECT_FALSE(OptimFROG_close(d.get()));
}

// ---------------------------------------------------------------------------------------------
// Arguments and states.

TEST(Arguments, NullInstanceAndNullArgumentsAreRefused) {
    OptimFROG_Info info;
    std::array<uint8_t, 64> buf{};
    OptimFROG_destroyInstance(nullptr);
    EXPECT_FALSE(OptimFROG_open(nullptr, clipPath("0en").string().c_str(), 0));
    EXPECT_FALSE(OptimFROG_getInfo(nullptr, &info));
    EXPECT_EQ(OptimFROG_readHead(nullptr, nullptr, 0), 0u);
    EXPECT_EQ(OptimFROG_readHead(nullptr, buf.data(), 64), 0u);
    EXPECT_LT(OptimFROG_read(nullptr, buf.data(), 1, 1), 0);
    EXPECT_FALSE(OptimFROG_close(nullptr));

    Decoder d;
    ASSERT_NE(d.get(), nullptr);
    // Not open yet.
    EXPECT_FALSE(OptimFROG_getInfo(d.get(), &info));
    EXPECT_EQ(OptimFROG_readHead(d.get(), nullptr, 0), 0u);
    EXPECT_EQ(OptimFROG_readHead(d.get(), buf.data(), 64), 0u);
    EXPECT_LT(OptimFROG_read(d.get(), buf.data(), 1, 1), 0);
    EXPECT_FALSE(OptimFROG_close(d.get()));
    EXPECT_FALSE(OptimFROG_open(d.get(), nullptr, 0));

    ASSERT_TRUE(d.open(clipPath("0en").string()));
    EXPECT_FALSE(OptimFROG_getInfo(d.get(), nullptr));
    EXPECT_LT(OptimFROG_read(d.get(), nullptr, 10, 1), 0);
    EXPECT_LT(OptimFROG_read(d.get(), buf.data(), -1, 1), 0);
    EXPECT_LT(OptimFROG_read(d.get(), buf.data(), INT32_MIN, 0), 0);
    EXPECT_EQ(OptimFROG_read(d.get(), buf.data(), 0, 1), 0);
    EXPECT_EQ(OptimFROG_read(d.get(), nullptr, 0, 1), 0);
    // None of that moved the stream.
    const Wav wav = fixture("0en");
    EXPECT_TRUE(d.readAll(777, true, 2) == wav.pcm);
    EXPECT_TRUE(OptimFROG_close(d.get()));
    EXPECT_FALSE(OptimFROG_close(d.get()));
    EXPECT_LT(OptimFROG_read(d.get(), buf.data(), 1, 1), 0);
}

TEST(Arguments, ReadHeadWithTooSmallABufferCopiesNothing) {
    Decoder d;
    ASSERT_TRUE(d.open(clipPath("tone").string()));
    Bytes small(44, 0x77);
    EXPECT_EQ(OptimFROG_readHead(d.get(), small.data(), 43), 0u);
    EXPECT_EQ(OptimFROG_readHead(d.get(), small.data(), 0), 0u);
    EXPECT_TRUE(std::all_of(small.begin(), small.end(), [](uint8_t b) { return b == 0x77; }));
    EXPECT_EQ(OptimFROG_readHead(d.get(), small.data(), 44), 44u);
    EXPECT_EQ(std::memcmp(small.data(), "RIFF", 4), 0);
}

TEST(Arguments, DestroyingAnOpenInstanceClosesIt) {
    void *p = OptimFROG_createInstance();
    ASSERT_NE(p, nullptr);
    ASSERT_TRUE(OptimFROG_open(p, clipPath("8ru").string().c_str(), 0));
    std::array<uint8_t, 20> buf{};
    EXPECT_EQ(OptimFROG_read(p, buf.data(), 10, 1), 10);
    OptimFROG_destroyInstance(p); // LeakSanitizer would report a decoder or a file left behind
}

TEST(Arguments, SwitchingFormatBetweenReadsContinuesInPlace) {
    const Wav wav = fixture("6ru");
    const std::vector<int32_t> samples = fixtureSamples(wav);
    Decoder d;
    ASSERT_TRUE(d.open(clipPath("6ru").string()));
    size_t at = 0;
    for (int call = 0; at < samples.size(); ++call) {
        const bool wavFormat = call % 2 == 0;
        const int32_t want = 1 + (call * 37) % 500;
        Bytes buf(static_cast<size_t>(want) * 4);
        const int32_t got = OptimFROG_read(d.get(), buf.data(), want, wavFormat ? 1 : 0);
        ASSERT_GT(got, 0);
        for (int32_t i = 0; i < got; ++i) {
            const int32_t expected = samples[at + static_cast<size_t>(i)];
            int32_t value = 0;
            if (wavFormat) {
                value = static_cast<int16_t>(le16(buf.data() + 2 * i));
            } else {
                std::memcpy(&value, buf.data() + 4 * i, 4);
            }
            ASSERT_EQ(value, expected) << "point " << at + static_cast<size_t>(i);
        }
        at += static_cast<size_t>(got);
    }
    EXPECT_EQ(at, samples.size());
    d.expectEnded();
}

// ---------------------------------------------------------------------------------------------
// Streams made here: other bit depths, channel counts, unknown length.

struct MadeStream {
    uint32_t channels;
    uint32_t bits;
    uint32_t rate;
    uint32_t points;
    uint32_t blocksize;
};

void PrintTo(const MadeStream &m, std::ostream *os) {
    *os << m.channels << " ch, " << m.bits << " bit, " << m.rate << " Hz, " << m.points
        << " points, blocksize " << m.blocksize;
}

std::vector<int32_t> makeSamples(const MadeStream &m, uint32_t seed) {
    std::mt19937 rng(seed);
    const int64_t hi64 = (int64_t{1} << (m.bits - 1)) - 1;
    const auto hi = static_cast<int32_t>(hi64);
    const auto lo = static_cast<int32_t>(-hi64 - 1);
    std::vector<int32_t> s(static_cast<size_t>(m.points) * m.channels);
    for (size_t i = 0; i < s.size(); ++i) {
        const auto ch = static_cast<uint32_t>(i % m.channels);
        const double t = static_cast<double>(i / m.channels);
        // A sine per channel, some noise, and the extremes of the range now and then.
        double v = 0.6 * hi * std::sin(t * 0.01 * (ch + 1)) +
                   static_cast<double>(static_cast<int32_t>(rng() % 2001) - 1000) * hi / 40000.0;
        auto x =
            static_cast<int32_t>(std::clamp(v, static_cast<double>(lo), static_cast<double>(hi)));
        if (i % 997 == 0) {
            x = hi;
        } else if (i % 991 == 0) {
            x = lo;
        }
        s[i] = std::clamp(x, lo, hi);
    }
    return s;
}

class MadeStreamTest : public ::testing::TestWithParam<MadeStream> {};

TEST_P(MadeStreamTest, ComesOutInWavFormat) {
    const MadeStream m = GetParam();
    const std::vector<int32_t> samples = makeSamples(m, m.bits * 100 + m.channels);
    for (const bool known : {true, false}) {
        EncodeOptions o;
        o.channels = m.channels;
        o.bitsPerSample = m.bits;
        o.sampleRate = m.rate;
        o.blocksize = m.blocksize;
        o.knownLength = known;
        const TempFile file("made.vcl", encodeFlac(samples, o));
        const uint32_t blockAlign = m.channels * (m.bits / 8);
        const Bytes expected = wavBytes(samples, m.bits);

        Decoder d;
        ASSERT_TRUE(d.open(file.name())) << (known ? "known" : "unknown") << " length";
        const Info info = d.info();
        EXPECT_EQ(info.channels, m.channels);
        EXPECT_EQ(info.samplerate, m.rate);
        EXPECT_EQ(info.bitspersample, m.bits);
        EXPECT_EQ(info.noPoints, static_cast<int64_t>(m.points));
        EXPECT_EQ(info.originalSize, 44u + expected.size());
        EXPECT_EQ(info.blockAlign, blockAlign);
        EXPECT_EQ(d.header(), canonicalHeader(m.channels, m.rate, m.bits,
                                              static_cast<uint32_t>(expected.size())));
        if (m.points == 0) {
            std::array<uint8_t, 8> buf{};
            EXPECT_EQ(OptimFROG_read(d.get(), buf.data(), 1, 1), 0);
            continue;
        }
        EXPECT_TRUE(d.readAll(oddPiece, true, blockAlign) == expected);
        d.expectEnded();
        EXPECT_TRUE(OptimFROG_close(d.get()));

        ASSERT_TRUE(d.open(file.name(), true));
        EXPECT_TRUE(d.readAll(static_cast<int32_t>(m.points) + 10, false, m.channels * 4) ==
                    int32Bytes(samples));
        EXPECT_TRUE(OptimFROG_close(d.get()));
    }
}

INSTANTIATE_TEST_SUITE_P(
    Formats, MadeStreamTest,
    ::testing::Values(MadeStream{1, 8, 8000, 3000, 192}, MadeStream{2, 8, 11025, 2500, 0},
                      MadeStream{1, 16, 44100, 5000, 576}, MadeStream{8, 16, 48000, 1200, 256},
                      MadeStream{2, 24, 48000, 4000, 1152}, MadeStream{3, 24, 96000, 2049, 0},
                      MadeStream{1, 24, 22050, 1, 0}, MadeStream{2, 16, 22050, 0, 0}),
    [](const ::testing::TestParamInfo<MadeStream> &p) {
        return std::to_string(p.param.channels) + "ch_" + std::to_string(p.param.bits) + "bit_" +
               std::to_string(p.param.points) + "points";
    });

TEST(UnsupportedClip, BitDepthsOtherThan8_16_24FailToOpen) {
    for (const uint32_t bits : {4u, 12u, 20u, 32u}) {
        const MadeStream m{1, bits, 22050, 600, 0};
        EncodeOptions o;
        o.bitsPerSample = bits;
        const TempFile file("bits.vcl", encodeFlac(makeSamples(m, bits), o));
        Decoder d;
        EXPECT_FALSE(d.open(file.name())) << bits << " bits";
    }
}

TEST(DamagedClip, FramesDisagreeingWithStreamInfoStopDecoding) {
    // STREAMINFO says 24 bits, the frames say 16: nothing decodes, nothing is misread.
    Bytes clip = readBytes(clipPath("3ru"));
    setStreamInfoBits(clip, 24);
    const TempFile file("mismatch.vcl", clip);
    Decoder d;
    ASSERT_TRUE(d.open(file.name()));
    EXPECT_EQ(d.info().bitspersample, 24u);
    EXPECT_TRUE(d.readAll(oddPiece, true, 3, 200).empty());
    d.expectEnded();
}

TEST(Instances, AreIndependent) {
    const Wav a = fixture("1ru");
    const Wav b = fixture("1en");
    Decoder da;
    Decoder db;
    ASSERT_TRUE(da.open(clipPath("1ru").string()));
    ASSERT_TRUE(db.open(clipPath("1en").string()));
    Bytes ga;
    Bytes gb;
    for (int call = 0; call < 10000; ++call) {
        std::array<uint8_t, 2 * 333> buf{};
        const int32_t na = OptimFROG_read(da.get(), buf.data(), 333, 1);
        ga.insert(ga.end(), buf.begin(), buf.begin() + 2 * std::max(na, 0));
        const int32_t nb = OptimFROG_read(db.get(), buf.data(), 211, 1);
        gb.insert(gb.end(), buf.begin(), buf.begin() + 2 * std::max(nb, 0));
        if (na <= 0 && nb <= 0) {
            break;
        }
    }
    EXPECT_TRUE(ga == a.pcm);
    EXPECT_TRUE(gb == b.pcm);
}

} // namespace
