// Loading a clip and the clip bank against the scripted decoder and a recording sound device:
// the buffer description, the read loop with its stop conditions, the refusals, the load and
// release order, and opening the device.
#include "fake_decoder.h"
#include "recording_sound.h"

#include "app/app_state.h"
#include "voice/sound.h"

#include <gtest/gtest.h>

#include <cstring>

// The sound device that DirectSoundCreate8 hands out in this test program.
namespace {
IDirectSound8 *g_deviceToCreate = nullptr;
HRESULT g_createStatus = DS_OK;
std::vector<std::string> g_createCalls;
} // namespace

VINTOREL_WIN32_API HRESULT WINAPI DirectSoundCreate8(LPCGUID device, LPDIRECTSOUND8 *ds,
                                                     LPUNKNOWN outer) {
    g_createCalls.push_back(std::string(device == nullptr ? "default" : "guid") +
                            (outer == nullptr ? "" : " aggregated"));
    *ds = SUCCEEDED(g_createStatus) ? g_deviceToCreate : nullptr;
    return g_createStatus;
}

namespace {

using Calls = std::vector<std::string>;

class ClipLoaderTest : public testing::Test {
  protected:
    void SetUp() override {
        app = AppState{};
        fakeDecoder = FakeDecoder{};
        app.sound = &device;
    }
    void TearDown() override { EXPECT_EQ(fakeDecoder.alive, 0) << "a decoder instance leaked"; }

    // A mono 16-bit clip of the given points whose file holds room for `room` points.
    FakeClip &clip(const char *name, int64_t points, uint32_t room, std::vector<int32_t> reads) {
        FakeClip c;
        c.noPoints = points;
        c.originalSize = 44 + room * 2;
        c.reads = std::move(reads);
        return fakeDecoder.clips[name] = c;
    }
    // Offsets from the buffer's start at which the reads wrote, and their counts.
    std::vector<std::pair<ptrdiff_t, int32_t>> reads(const RecordingBuffer &buffer) const {
        std::vector<std::pair<ptrdiff_t, int32_t>> out;
        for (const FakeRead &r : fakeDecoder.readCalls) {
            EXPECT_EQ(r.wavFormat, 1);
            out.emplace_back(static_cast<const BYTE *>(r.data) - buffer.memory.data(), r.count);
        }
        return out;
    }
    // Checks that the first `points` points hold the pattern and nothing after them was written.
    void expectContent(const RecordingBuffer &buffer, int64_t points, uint32_t block) {
        const size_t filled = static_cast<size_t>(points) * block;
        for (size_t i = 0; i < buffer.memory.size(); ++i) {
            const BYTE expected = i < filled ? patternByte(static_cast<int64_t>(i / block),
                                                           static_cast<uint32_t>(i % block))
                                             : kUntouched;
            ASSERT_EQ(buffer.memory[i], expected) << "byte " << i;
        }
    }

    SoundLog log;
    RecordingDevice device{&log};
};

TEST_F(ClipLoaderTest, WholeClipInOneReadWithTheDescribedBuffer) {
    FakeClip &c = clip("Data\\7en.vcl", 100, 100, {100});
    c.samplerate = 22050;
    IDirectSoundBuffer *result = loadClip("Data\\7en.vcl");
    ASSERT_EQ(device.buffers.size(), 1u);
    RecordingBuffer &buffer = *device.buffers[0];
    EXPECT_EQ(result, &buffer);

    const BufferRequest &r = device.requests[0];
    EXPECT_EQ(r.desc.dwSize, sizeof(DSBUFFERDESC));
    EXPECT_EQ(r.desc.dwFlags, 0x1E0u);
    EXPECT_EQ(r.desc.dwBufferBytes, 200u);
    EXPECT_EQ(r.desc.dwReserved, 0u);
    EXPECT_EQ(r.desc.guid3DAlgorithm, GUID_NULL);
    EXPECT_EQ(r.format.wFormatTag, WAVE_FORMAT_PCM);
    EXPECT_EQ(r.format.nChannels, 1);
    EXPECT_EQ(r.format.nSamplesPerSec, 22050u);
    EXPECT_EQ(r.format.nAvgBytesPerSec, 44100u);
    EXPECT_EQ(r.format.nBlockAlign, 2);
    EXPECT_EQ(r.format.wBitsPerSample, 16);
    EXPECT_EQ(r.format.cbSize, 0);

    EXPECT_EQ(fakeDecoder.calls, (Calls{"create", "open Data\\7en.vcl 0", "getInfo",
                                        "readHead null 0", "read", "close", "destroy"}));
    EXPECT_EQ(log.calls, (Calls{"CreateSoundBuffer", "Lock 0 200 2", "Unlock region"}));
    EXPECT_EQ(reads(buffer), (std::vector<std::pair<ptrdiff_t, int32_t>>{{0, 100}}));
    expectContent(buffer, 100, 2);
}

// The read loop: where each read lands, what it asks for, and when the loop stops.
struct ReadCase {
    const char *name;
    uint32_t channels, bits;
    int64_t points;
    uint32_t roomBytes;
    std::vector<int32_t> script;
    std::vector<std::pair<ptrdiff_t, int32_t>> expectedReads; // byte offset, count
    int64_t pointsStored;
};

class ReadLoopTest : public ClipLoaderTest, public testing::WithParamInterface<ReadCase> {};

TEST_P(ReadLoopTest, FillsTheRegionPieceAfterPiece) {
    const ReadCase &t = GetParam();
    FakeClip c;
    c.channels = t.channels;
    c.bitspersample = t.bits;
    c.noPoints = t.points;
    c.originalSize = 44 + t.roomBytes;
    c.reads = t.script;
    fakeDecoder.clips["Data\\tone.vcl"] = c;

    IDirectSoundBuffer *result = loadClip("Data\\tone.vcl");
    ASSERT_EQ(device.buffers.size(), 1u);
    EXPECT_EQ(result, device.buffers[0].get()) << "a short clip is still a clip";
    EXPECT_EQ(reads(*device.buffers[0]), t.expectedReads);
    expectContent(*device.buffers[0], t.pointsStored, t.bits / 8 * t.channels);
    EXPECT_EQ(log.calls.back(), "Unlock region");
    EXPECT_EQ(fakeDecoder.calls.back(), "destroy");
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ReadLoopTest,
    testing::Values(
        ReadCase{
            "SeveralReads", 1, 16, 100, 200, {30, 50, 20}, {{0, 100}, {60, 70}, {160, 20}}, 100},
        ReadCase{"StereoSeveralReads", 2, 16, 10, 40, {4, 6}, {{0, 10}, {16, 6}}, 10},
        ReadCase{"ZeroBeforeTheEnd", 1, 16, 100, 200, {40, 0, 60}, {{0, 100}, {80, 60}}, 40},
        ReadCase{"NegativeBeforeTheEnd", 1, 16, 100, 200, {40, -1}, {{0, 100}, {80, 60}}, 40},
        ReadCase{"FirstReadZero", 1, 16, 100, 200, {0}, {{0, 100}}, 0},
        ReadCase{"NoPointsNoRead", 1, 16, 0, 200, {50}, {}, 0},
        ReadCase{"NegativePointsNoRead", 1, 16, -5, 200, {50}, {}, 0},
        ReadCase{"BufferFullBeforeThePoints", 1, 16, 100, 100, {30, 30}, {{0, 50}, {60, 20}}, 50},
        ReadCase{"PartialPointAtTheEndIgnored", 2, 16, 10, 10, {2}, {{0, 2}}, 2},
        ReadCase{"ReadClaimingMoreThanAskedStops", 1, 8, 100, 10, {25}, {{0, 10}}, 10},
        ReadCase{"RoomForMoreThanThePoints", 1, 16, 5, 200, {5}, {{0, 100}}, 5},
        ReadCase{"EmptyBuffer", 1, 16, 5, 0, {5}, {}, 0}),
    [](const testing::TestParamInfo<ReadCase> &param) { return param.param.name; });

TEST_F(ClipLoaderTest, ShortRegionFromTheDeviceIsNeverOverrun) {
    clip("Data\\tone.vcl", 100, 100, {100});
    device.nextRegionLimit = 50; // the device hands out less than it was asked for
    loadClip("Data\\tone.vcl");
    ASSERT_EQ(device.buffers.size(), 1u);
    EXPECT_EQ(reads(*device.buffers[0]), (std::vector<std::pair<ptrdiff_t, int32_t>>{{0, 25}}));
    expectContent(*device.buffers[0], 25, 2);
}

TEST_F(ClipLoaderTest, NullRegionIsNotWritten) {
    clip("Data\\tone.vcl", 100, 100, {100});
    device.nextNullRegion = true;
    EXPECT_NE(loadClip("Data\\tone.vcl"), nullptr);
    EXPECT_TRUE(fakeDecoder.readCalls.empty());
}

// Records that are no clip: nothing is made and the decoder is closed and destroyed.
struct MalformedCase {
    const char *name;
    uint32_t channels, bits, originalSize, headerSize;
};

class MalformedClipTest : public ClipLoaderTest,
                          public testing::WithParamInterface<MalformedCase> {};

TEST_P(MalformedClipTest, GivesNoClip) {
    const MalformedCase &t = GetParam();
    FakeClip c;
    c.channels = t.channels;
    c.bitspersample = t.bits;
    c.noPoints = 10;
    c.originalSize = t.originalSize;
    c.headerSize = t.headerSize;
    c.reads = {10};
    fakeDecoder.clips["Data\\0ru.vcl"] = c;
    EXPECT_EQ(loadClip("Data\\0ru.vcl"), nullptr);
    EXPECT_TRUE(device.requests.empty());
    EXPECT_TRUE(fakeDecoder.readCalls.empty());
    EXPECT_EQ(fakeDecoder.calls.back(), "destroy");
    EXPECT_EQ(fakeDecoder.calls[fakeDecoder.calls.size() - 2], "close");
}

INSTANTIATE_TEST_SUITE_P(
    Cases, MalformedClipTest,
    testing::Values(MalformedCase{"NoChannels", 0, 16, 64, 44},
                    MalformedCase{"FewerThanEightBits", 1, 4, 64, 44},
                    MalformedCase{"HeaderLargerThanTheFile", 1, 16, 40, 44},
                    MalformedCase{"BlockTooLargeForTheFormat", 0x10000, 16, 64, 44},
                    MalformedCase{"BitsTooLargeForTheFormat", 1, 0x10008, 64, 44},
                    // Formats the sound output cannot play.
                    MalformedCase{"TwentyFourBits", 1, 24, 74, 44},
                    MalformedCase{"ThirtyTwoBits", 2, 32, 124, 44},
                    MalformedCase{"ThreeChannels", 3, 16, 104, 44},
                    MalformedCase{"SixChannels", 6, 8, 104, 44}),
    [](const testing::TestParamInfo<MalformedCase> &param) { return param.param.name; });

TEST_F(ClipLoaderTest, DeviceRefusingTheBufferGivesNoClip) {
    clip("Data\\1en.vcl", 10, 10, {10});
    device.createStatus = DSERR_OUTOFMEMORY;
    EXPECT_EQ(loadClip("Data\\1en.vcl"), nullptr);
    EXPECT_EQ(log.calls, (Calls{"CreateSoundBuffer"}));
    EXPECT_EQ(fakeDecoder.calls, (Calls{"create", "open Data\\1en.vcl 0", "getInfo",
                                        "readHead null 0", "close", "destroy"}));
}

TEST_F(ClipLoaderTest, DeviceRefusingTheLockReleasesTheBuffer) {
    clip("Data\\1en.vcl", 10, 10, {10});
    device.nextLockStatus = DSERR_INVALIDCALL;
    EXPECT_EQ(loadClip("Data\\1en.vcl"), nullptr);
    EXPECT_EQ(log.calls, (Calls{"CreateSoundBuffer", "Lock 0 20 2", "Release buffer0"}));
    EXPECT_TRUE(fakeDecoder.readCalls.empty());
    EXPECT_EQ(fakeDecoder.calls.back(), "destroy");
}

TEST_F(ClipLoaderTest, MissingFileOrNoDecoderGivesNoClip) {
    EXPECT_EQ(loadClip("Data\\2en.vcl"), nullptr);
    EXPECT_EQ(fakeDecoder.calls, (Calls{"create", "open Data\\2en.vcl 0", "destroy"}));
    fakeDecoder.calls.clear();
    fakeDecoder.createFails = true;
    clip("Data\\2en.vcl", 10, 10, {10});
    EXPECT_EQ(loadClip("Data\\2en.vcl"), nullptr);
    EXPECT_EQ(fakeDecoder.calls, (Calls{"create"}));
    EXPECT_TRUE(log.calls.empty());
}

TEST_F(ClipLoaderTest, NoDeviceNoDecoding) {
    clip("Data\\2en.vcl", 10, 10, {10});
    app.sound = nullptr;
    EXPECT_EQ(loadClip("Data\\2en.vcl"), nullptr);
    EXPECT_TRUE(fakeDecoder.calls.empty());
}

const char *const kOrder[21] = {"Data\\0ru.vcl", "Data\\1ru.vcl", "Data\\2ru.vcl", "Data\\3ru.vcl",
                                "Data\\4ru.vcl", "Data\\5ru.vcl", "Data\\6ru.vcl", "Data\\7ru.vcl",
                                "Data\\8ru.vcl", "Data\\9ru.vcl", "Data\\0en.vcl", "Data\\1en.vcl",
                                "Data\\2en.vcl", "Data\\3en.vcl", "Data\\4en.vcl", "Data\\5en.vcl",
                                "Data\\6en.vcl", "Data\\7en.vcl", "Data\\8en.vcl", "Data\\9en.vcl",
                                "Data\\tone.vcl"};

IDirectSoundBuffer *slot(int order) {
    return order < 10 ? app.clipRu[order] : order < 20 ? app.clipEn[order - 10] : app.clipTone;
}

TEST_F(ClipLoaderTest, BankLoadsInTableOrderAndSkipsAMissingFile) {
    for (const char *name : kOrder) {
        if (std::strcmp(name, "Data\\5en.vcl") != 0) {
            clip(name, 4, 4, {4});
        }
    }
    loadClipBank();
    Calls opened;
    for (const std::string &call : fakeDecoder.calls) {
        if (call.rfind("open ", 0) == 0) {
            opened.push_back(call.substr(5, call.size() - 7));
        }
    }
    EXPECT_EQ(opened, Calls(std::begin(kOrder), std::end(kOrder)));
    ASSERT_EQ(device.buffers.size(), 20u);
    size_t made = 0;
    for (int order = 0; order < 21; ++order) {
        if (order == 15) {
            EXPECT_EQ(slot(order), nullptr) << "Data\\5en.vcl is missing";
        } else {
            EXPECT_EQ(slot(order), device.buffers[made++].get()) << kOrder[order];
        }
    }

    log.calls.clear();
    releaseClipBank();
    Calls expected;
    for (size_t i = 0; i < 20; ++i) {
        expected.push_back("Release buffer" + std::to_string(i));
    }
    expected.push_back("Release device");
    EXPECT_EQ(log.calls, expected);
    for (int order = 0; order < 21; ++order) {
        EXPECT_EQ(slot(order), nullptr);
    }
    EXPECT_EQ(app.sound, nullptr);
    log.calls.clear();
    releaseClipBank(); // a second release finds nothing left
    EXPECT_TRUE(log.calls.empty());
}

TEST_F(ClipLoaderTest, PlayClipStartsOnceAndIgnoresAnEmptySlot) {
    RecordingBuffer buffer("tone", &log);
    playClip(&buffer);
    playClip(nullptr);
    EXPECT_EQ(log.calls, (Calls{"Play tone"}));
}

TEST_F(ClipLoaderTest, OpenSoundDeviceUsesTheDefaultOutputAtPriorityLevel) {
    app.sound = nullptr;
    g_createCalls.clear();
    g_deviceToCreate = &device;
    g_createStatus = DS_OK;
    const HWND window = reinterpret_cast<HWND>(0x1234);
    openSoundDevice(window);
    EXPECT_EQ(g_createCalls, (Calls{"default"}));
    EXPECT_EQ(app.sound, &device);
    EXPECT_EQ(device.cooperativeWindow, window);
    EXPECT_EQ(device.cooperativeLevel, static_cast<DWORD>(DSSCL_PRIORITY));
}

TEST_F(ClipLoaderTest, NoOutputDeviceLeavesEverySlotEmpty) {
    app.sound = nullptr;
    g_deviceToCreate = &device;
    g_createStatus = DSERR_NODRIVER;
    openSoundDevice(nullptr);
    EXPECT_EQ(app.sound, nullptr);
    EXPECT_TRUE(log.calls.empty()) << "no cooperative level on a device that isn't there";
    for (const char *name : kOrder) {
        clip(name, 4, 4, {4});
    }
    loadClipBank();
    for (int order = 0; order < 21; ++order) {
        EXPECT_EQ(slot(order), nullptr);
    }
    EXPECT_TRUE(fakeDecoder.calls.empty());
    releaseClipBank();
    EXPECT_TRUE(log.calls.empty());
}

} // namespace
