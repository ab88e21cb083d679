// Secondary buffers without listening to them: which descriptions are accepted or refused,
// what a new buffer holds and reports, Lock/Unlock regions and errors, and the controls.
#include "support.h"
#include "under_wine.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

using namespace dsound_test;

namespace {

class BufferTest : public ::testing::Test {
  protected:
    DevicePtr ds_ = openDevice();
};

// ---------------------------------------------------------------------------------------------
// Descriptions

struct DescCase {
    const char *name;
    std::function<void(DSBUFFERDESC &, WAVEFORMATEX &)> spoil;
    HRESULT expected;
    const char *wine = nullptr; // how Wine differs, where it does (the case is skipped there)
};

class InvalidDescription : public BufferTest, public ::testing::WithParamInterface<DescCase> {};

TEST_P(InvalidDescription, IsRefusedAndReturnsNoBuffer) {
    WAVEFORMATEX format = pcmFormat(2, 16, 44100);
    DSBUFFERDESC desc = bufferDesc(&format, 44100 * 4 / 10);
    if (underWine() && GetParam().wine) {
        GTEST_SKIP() << GetParam().wine;
    }
    GetParam().spoil(desc, format);
    IDirectSoundBuffer *buffer = reinterpret_cast<IDirectSoundBuffer *>(0x1);
    EXPECT_EQ(ds_->CreateSoundBuffer(&desc, &buffer, nullptr), GetParam().expected);
    EXPECT_EQ(buffer, nullptr);
}

const GUID kSome3DAlgorithm = {
    0xC2413340, 0x1C1B, 0x11D2, {0x94, 0xF5, 0, 0xC0, 0x4F, 0xC2, 0x8A, 0xCA}};

INSTANTIATE_TEST_SUITE_P(
    Descriptions, InvalidDescription,
    ::testing::Values(
        DescCase{"SizeZero", [](auto &d, auto &) { d.dwSize = 0; }, DSERR_INVALIDPARAM,
                 "Wine leaves the out pointer as it was; Windows: not shown"},
        DescCase{"SizeTooBig", [](auto &d, auto &) { d.dwSize = sizeof d + 4; },
                 DSERR_INVALIDPARAM, "Wine leaves the out pointer as it was; Windows: not shown"},
        DescCase{"NoFormat", [](auto &d, auto &) { d.lpwfxFormat = nullptr; },
                 DSERR_INVALIDPARAM},
        DescCase{"FloatFormat", [](auto &, auto &f) { f.wFormatTag = 3; }, DSERR_BADFORMAT,
                 "Wine and Windows take float (Wine's dsound.c test_secondary); "
                 "not played here, the program plays 16-bit PCM"},
        DescCase{"Extensible", [](auto &, auto &f) { f.wFormatTag = 0xFFFE; }, DSERR_BADFORMAT,
                 "Wine and Windows take WAVEFORMATEXTENSIBLE (Wine's dsound.c "
                 "test_secondary); not read here"},
        DescCase{"TwentyFourBit",
                 [](auto &, auto &f) { f = pcmFormat(2, 24, 44100); }, DSERR_BADFORMAT,
                 "Wine plays 24-bit; Windows varies by driver (Wine's dsound.c "
                 "test_secondary); OpenAL has no 24-bit format"},
        DescCase{"ZeroChannels", [](auto &, auto &f) { f.nChannels = 0; }, DSERR_INVALIDPARAM},
        DescCase{"SixChannels", [](auto &, auto &f) { f = pcmFormat(6, 16, 44100); },
                 DSERR_INVALIDPARAM, "Wine takes more than two channels as plain PCM; Windows refuses (Wine's "
                 "dsound.c perform_invalid_fmt_tests)"},
        DescCase{"BlockAlignWrong", [](auto &, auto &f) { f.nBlockAlign = 2; },
                 DSERR_INVALIDPARAM},
        DescCase{"RateZero", [](auto &, auto &f) { f = pcmFormat(2, 16, 0); },
                 DSERR_INVALIDPARAM},
        DescCase{"RateTooHigh", [](auto &, auto &f) { f = pcmFormat(2, 16, 400000); },
                 DSERR_INVALIDPARAM, "Wine takes any rate; Windows: not shown"},
        DescCase{"NoBytes", [](auto &d, auto &) { d.dwBufferBytes = 0; }, DSERR_INVALIDPARAM},
        DescCase{"BelowMinimum",
                 [](auto &d, auto &f) {
                     f = pcmFormat(1, 8, 8000);
                     d.dwBufferBytes = 3;
                 },
                 DSERR_INVALIDPARAM},
        DescCase{"AboveMaximum", [](auto &d, auto &) { d.dwBufferBytes = DSBSIZE_MAX + 1; },
                 DSERR_INVALIDPARAM},
        DescCase{"UnknownFlag", [](auto &d, auto &) { d.dwFlags |= 0x01000000; },
                 DSERR_INVALIDPARAM, "Wine ignores unknown flags; Windows: not shown"},
        DescCase{"EffectsFlag", [](auto &d, auto &) { d.dwFlags |= DSBCAPS_CTRLFX; },
                 DSERR_INVALIDPARAM,
                 "Wine and Windows have effects (Wine's dsound8.c test_effects); none here"},
        DescCase{"HardwareAndSoftware",
                 [](auto &d, auto &) { d.dwFlags |= DSBCAPS_LOCHARDWARE | DSBCAPS_LOCSOFTWARE; },
                 DSERR_INVALIDPARAM, "Wine says DSERR_UNSUPPORTED; Windows: not shown"},
        DescCase{"ThreeDStereo",
                 [](auto &d, auto &) { d.dwFlags = DSBCAPS_CTRL3D | DSBCAPS_CTRLVOLUME; },
                 DSERR_INVALIDPARAM},
        DescCase{"ThreeDWithPan",
                 [](auto &d, auto &f) {
                     f = pcmFormat(1, 16, 44100);
                     d.dwFlags = DSBCAPS_CTRL3D | DSBCAPS_CTRLPAN;
                 },
                 DSERR_INVALIDPARAM},
        DescCase{"AlgorithmWithout3D",
                 [](auto &d, auto &) { d.guid3DAlgorithm = kSome3DAlgorithm; },
                 DSERR_INVALIDPARAM,
                 "Wine ignores the algorithm; Windows' DSBUFFERDESC documentation says it "
                 "must be GUID_NULL without DSBCAPS_CTRL3D"},
        DescCase{"Primary",
                 [](auto &d, auto &) {
                     d.dwFlags = DSBCAPS_PRIMARYBUFFER;
                     d.dwBufferBytes = 0;
                     d.lpwfxFormat = nullptr;
                 },
                 DSERR_UNSUPPORTED,
                 "Wine and Windows have a primary buffer (Wine's dsound.c test_primary); "
                 "not here"},
        // A device without hardware buffers refuses one (Wine's dsound.c test_hw_buffers:
        // DSERR_INVALIDCALL when dwMaxHwMixingAllBuffers is 0, as on Windows since Vista).
        DescCase{"HardwareRequested",
                 [](auto &d, auto &) { d.dwFlags |= DSBCAPS_LOCHARDWARE; }, DSERR_INVALIDCALL,
                 "Wine says E_NOTIMPL, which that test also takes"}),
    [](const auto &test) { return std::string(test.param.name); });

TEST_F(BufferTest, CreateSoundBufferArgumentErrors) {
    WAVEFORMATEX format = pcmFormat(1, 16, 22050);
    DSBUFFERDESC desc = bufferDesc(&format, 4410);
    IDirectSoundBuffer *buffer = reinterpret_cast<IDirectSoundBuffer *>(0x1);
    EXPECT_EQ(ds_->CreateSoundBuffer(nullptr, &buffer, nullptr), DSERR_INVALIDPARAM);
    if (!underWine()) { // Wine leaves the out pointer as it was; Windows: not shown
        EXPECT_EQ(buffer, nullptr);
    }
    EXPECT_EQ(ds_->CreateSoundBuffer(&desc, nullptr, nullptr), DSERR_INVALIDPARAM);
    // Wine ignores the outer IUnknown; the documentation says it must be null and names
    // DSERR_NOAGGREGATION.
    if (underWine()) {
        GTEST_SKIP() << "Wine accepts an outer IUnknown";
    }
    buffer = reinterpret_cast<IDirectSoundBuffer *>(0x1);
    EXPECT_EQ(ds_->CreateSoundBuffer(&desc, &buffer, ds_.get()), DSERR_NOAGGREGATION);
    EXPECT_EQ(buffer, nullptr);
}

struct ValidCase {
    const char *name;
    WORD channels;
    WORD bits;
    DWORD rate;
    DWORD bytes;
    DWORD flags;
    DWORD rounded = 0;     // the size DirectSound makes of a partial block, when not bytes
    DWORD avgBytesOff = 0; // added to nAvgBytesPerSec, which is taken as given
};

class ValidDescription : public BufferTest, public ::testing::WithParamInterface<ValidCase> {};

TEST_P(ValidDescription, CreatesASilentBufferThatReportsWhatWasAsked) {
    const ValidCase &c = GetParam();
    WAVEFORMATEX format = pcmFormat(c.channels, c.bits, c.rate);
    format.nAvgBytesPerSec += c.avgBytesOff;
    format.cbSize = 22; // ignored for PCM
    auto buffer = createBuffer(*ds_, format, c.bytes, c.flags);

    WAVEFORMATEX reported{};
    DWORD written = 0;
    ASSERT_EQ(buffer->GetFormat(&reported, sizeof reported, &written), DS_OK);
    EXPECT_EQ(written, sizeof(WAVEFORMATEX));
    EXPECT_EQ(reported.wFormatTag, WAVE_FORMAT_PCM);
    EXPECT_EQ(reported.nChannels, c.channels);
    EXPECT_EQ(reported.wBitsPerSample, c.bits);
    EXPECT_EQ(reported.nSamplesPerSec, c.rate);
    EXPECT_EQ(reported.nBlockAlign, format.nBlockAlign);
    EXPECT_EQ(reported.nAvgBytesPerSec, format.nAvgBytesPerSec);
    EXPECT_EQ(reported.cbSize, 0);

    DSBCAPS caps{};
    caps.dwSize = sizeof caps;
    ASSERT_EQ(buffer->GetCaps(&caps), DS_OK);
    const DWORD size = c.rounded ? c.rounded : c.bytes;
    EXPECT_EQ(caps.dwBufferBytes, size);
    EXPECT_EQ(caps.dwFlags & 0x1E0, c.flags & 0x1E0);
    EXPECT_TRUE(caps.dwFlags & DSBCAPS_LOCSOFTWARE);

    EXPECT_EQ(status(*buffer), 0u);
    EXPECT_EQ(playCursor(*buffer), 0u);

    void *p1 = nullptr;
    DWORD n1 = 0;
    ASSERT_EQ(buffer->Lock(0, 0, &p1, &n1, nullptr, nullptr, DSBLOCK_ENTIREBUFFER), DS_OK);
    ASSERT_EQ(n1, size);
    const auto *bytes = static_cast<const unsigned char *>(p1);
    const unsigned char silence = c.bits == 8 ? 0x80 : 0x00;
    EXPECT_TRUE(std::all_of(bytes, bytes + n1, [&](unsigned char b) { return b == silence; }));
    EXPECT_EQ(buffer->Unlock(p1, n1, nullptr, 0), DS_OK);
}

INSTANTIATE_TEST_SUITE_P(
    Descriptions, ValidDescription,
    ::testing::Values(ValidCase{"Mono8", 1, 8, 8000, 8000, 0},
                      ValidCase{"Mono16", 1, 16, 22050, 4410, 0x1E0},
                      ValidCase{"Stereo8", 2, 8, 11025, 4, DSBCAPS_CTRLVOLUME},
                      ValidCase{"Stereo16", 2, 16, 44100, 17640,
                                0x1E0 | DSBCAPS_GLOBALFOCUS | DSBCAPS_GETCURRENTPOSITION2},
                      ValidCase{"Static3D", 1, 16, 48000, 9600,
                                DSBCAPS_STATIC | DSBCAPS_CTRL3D | DSBCAPS_LOCSOFTWARE},
                      // Windows takes a wrong nAvgBytesPerSec (Wine's dsound tests,
                      // perform_invalid_fmt_tests: S_OK for one byte more or less).
                      ValidCase{"AvgBytesAsGiven", 2, 16, 44100, 4000, 0, 0, 1},
                      ValidCase{"LowestRate", 1, 16, DSBFREQUENCY_MIN, 200, 0},
                      ValidCase{"PartialBlockRoundedUp", 2, 16, 44100, 4002, 0, 4004}),
    [](const auto &test) { return std::string(test.param.name); });

TEST_F(BufferTest, AcceptsTheOlderDescriptionWithoutAlgorithm) {
    WAVEFORMATEX format = pcmFormat(1, 16, 22050);
    DSBUFFERDESC1 desc{};
    desc.dwSize = sizeof desc;
    desc.dwFlags = 0x1E0;
    desc.dwBufferBytes = 4410;
    desc.lpwfxFormat = &format;
    IDirectSoundBuffer *buffer = nullptr;
    ASSERT_EQ(ds_->CreateSoundBuffer(reinterpret_cast<LPCDSBUFFERDESC>(&desc), &buffer, nullptr),
              DS_OK);
    ASSERT_NE(buffer, nullptr);
    EXPECT_EQ(buffer->Release(), 0u);
}

TEST_F(BufferTest, InterfaceAndArgumentChecks) {
    const WAVEFORMATEX format = pcmFormat(1, 16, 22050);
    auto buffer = createBuffer(*ds_, format, 4410);
    for (const IID *iid : {&IID_IUnknown, &IID_IDirectSoundBuffer}) {
        void *object = nullptr;
        ASSERT_EQ(buffer->QueryInterface(*iid, &object), S_OK);
        EXPECT_EQ(object, static_cast<IUnknown *>(buffer.get()));
        static_cast<IUnknown *>(object)->Release();
    }
    void *object = reinterpret_cast<void *>(0x1);
    EXPECT_EQ(buffer->QueryInterface(IID_IDirectSound8, &object), E_NOINTERFACE);
    EXPECT_EQ(object, nullptr);

    EXPECT_EQ(buffer->GetStatus(nullptr), DSERR_INVALIDPARAM);

    DSBCAPS caps{};
    EXPECT_EQ(buffer->GetCaps(&caps), DSERR_INVALIDPARAM); // dwSize not set

    WAVEFORMATEX small{};
    DWORD needed = 0;
    EXPECT_EQ(buffer->GetFormat(nullptr, 0, &needed), DS_OK);
    EXPECT_EQ(needed, sizeof(WAVEFORMATEX));
    EXPECT_EQ(buffer->GetFormat(&small, 16, nullptr), DSERR_INVALIDPARAM);
    EXPECT_EQ(buffer->GetFormat(nullptr, 0, nullptr), DSERR_INVALIDPARAM);
}

// ---------------------------------------------------------------------------------------------
// Lock and Unlock

constexpr DWORD kBytes = 400;

class LockTest : public BufferTest {
  protected:
    WAVEFORMATEX format_ = pcmFormat(1, 16, 8000);
    BufferPtr buffer_ = createBuffer(*ds_, format_, kBytes);
};

TEST_F(LockTest, WhatIsWrittenStaysWritten) {
    // Once the output is ready (a played buffer has finished), unlocked bytes live in OpenAL
    // alone, so the second Lock reads them back from there.
    auto probe = createBuffer(*ds_, format_, 4);
    ASSERT_EQ(probe->Play(0, 0, 0), DS_OK);
    ASSERT_TRUE(waitUntilStopped(*probe));
    void *p1 = nullptr;
    void *p2 = nullptr;
    DWORD n1 = 0;
    DWORD n2 = 0;
    ASSERT_EQ(buffer_->Lock(100, 200, &p1, &n1, &p2, &n2, 0), DS_OK);
    EXPECT_EQ(n1, 200u);
    EXPECT_EQ(p2, nullptr);
    EXPECT_EQ(n2, 0u);
    for (DWORD i = 0; i < n1; ++i) {
        static_cast<unsigned char *>(p1)[i] = static_cast<unsigned char>(i + 1);
    }
    ASSERT_EQ(buffer_->Unlock(p1, n1, p2, n2), DS_OK);

    ASSERT_EQ(buffer_->Lock(0, 0, &p1, &n1, &p2, &n2, DSBLOCK_ENTIREBUFFER), DS_OK);
    EXPECT_EQ(n1, kBytes);
    EXPECT_EQ(p2, nullptr);
    EXPECT_EQ(n2, 0u);
    const auto *all = static_cast<const unsigned char *>(p1);
    for (DWORD i = 0; i < kBytes; ++i) {
        const unsigned char expected =
            i >= 100 && i < 300 ? static_cast<unsigned char>(i - 100 + 1) : 0;
        ASSERT_EQ(all[i], expected) << "byte " << i;
    }
    EXPECT_EQ(buffer_->Unlock(p1, n1, nullptr, 0), DS_OK);
}

TEST_F(LockTest, ARegionPastTheEndWrapsToTheStart) {
    void *p1 = nullptr;
    void *p2 = nullptr;
    DWORD n1 = 0;
    DWORD n2 = 0;
    ASSERT_EQ(buffer_->Lock(kBytes - 8, 20, &p1, &n1, &p2, &n2, 0), DS_OK);
    EXPECT_EQ(n1, 8u);
    EXPECT_EQ(n2, 12u);
    ASSERT_NE(p2, nullptr);
    std::fill_n(static_cast<unsigned char *>(p1), n1, 0xAB);
    std::fill_n(static_cast<unsigned char *>(p2), n2, 0xCD);
    ASSERT_EQ(buffer_->Unlock(p1, n1, p2, n2), DS_OK);

    // The second part is the start of the same buffer.
    ASSERT_EQ(buffer_->Lock(0, 0, &p1, &n1, nullptr, nullptr, DSBLOCK_ENTIREBUFFER), DS_OK);
    const auto *all = static_cast<const unsigned char *>(p1);
    EXPECT_EQ(all[0], 0xCD);
    EXPECT_EQ(all[11], 0xCD);
    EXPECT_EQ(all[12], 0x00);
    EXPECT_EQ(all[kBytes - 9], 0x00);
    EXPECT_EQ(all[kBytes - 8], 0xAB);
    EXPECT_EQ(all[kBytes - 1], 0xAB);
    EXPECT_EQ(buffer_->Unlock(p1, n1, nullptr, 0), DS_OK);

    // An entire-buffer lock from a non-zero offset wraps as well.
    ASSERT_EQ(buffer_->Lock(40, 0, &p1, &n1, &p2, &n2, DSBLOCK_ENTIREBUFFER), DS_OK);
    EXPECT_EQ(n1, kBytes - 40);
    EXPECT_EQ(n2, 40u);
    EXPECT_EQ(buffer_->Unlock(p1, n1, p2, n2), DS_OK);
}

TEST_F(LockTest, FromWriteCursorStartsAtTheCursorOfAStoppedBuffer) {
    ASSERT_EQ(buffer_->SetCurrentPosition(120), DS_OK);
    void *p1 = nullptr;
    DWORD n1 = 0;
    void *base = nullptr;
    DWORD all = 0;
    ASSERT_EQ(buffer_->Lock(0, 0, &base, &all, nullptr, nullptr, DSBLOCK_ENTIREBUFFER), DS_OK);
    ASSERT_EQ(buffer_->Unlock(base, all, nullptr, 0), DS_OK);
    ASSERT_EQ(buffer_->Lock(0, 40, &p1, &n1, nullptr, nullptr, DSBLOCK_FROMWRITECURSOR), DS_OK);
    EXPECT_EQ(static_cast<unsigned char *>(p1) - static_cast<unsigned char *>(base), 120);
    EXPECT_EQ(n1, 40u);
    EXPECT_EQ(buffer_->Unlock(p1, n1, nullptr, 0), DS_OK);
}

struct LockCase {
    const char *name;
    DWORD offset;
    DWORD bytes;
    DWORD flags;
    bool withFirst;
    bool withSecond;
    const char *wine = nullptr; // how Wine differs, where it does (the case is skipped there)
    DWORD locked = 0;           // bytes handed out where the lock succeeds; 0: refused
};

class LockRegions : public LockTest, public ::testing::WithParamInterface<LockCase> {};

TEST_P(LockRegions, AreRefusedOrLockedAndNothingStaysLocked) {
    const LockCase &c = GetParam();
    if (underWine() && c.wine) {
        GTEST_SKIP() << c.wine;
    }
    void *p1 = nullptr;
    void *p2 = nullptr;
    DWORD n1 = 0;
    DWORD n2 = 0;
    const HRESULT hr =
        buffer_->Lock(c.offset, c.bytes, c.withFirst ? &p1 : nullptr, c.withFirst ? &n1 : nullptr,
                      c.withSecond ? &p2 : nullptr, c.withSecond ? &n2 : nullptr, c.flags);
    EXPECT_EQ(hr, c.locked ? DS_OK : DSERR_INVALIDPARAM);
    if (hr == DS_OK) {
        EXPECT_EQ(n1, c.locked);
        EXPECT_EQ(buffer_->Unlock(p1, n1, nullptr, 0), DS_OK);
    }
    ASSERT_EQ(buffer_->Lock(0, 4, &p1, &n1, nullptr, nullptr, 0), DS_OK);
    EXPECT_EQ(buffer_->Unlock(p1, n1, nullptr, 0), DS_OK);
}

INSTANTIATE_TEST_SUITE_P(
    Regions, LockRegions,
    ::testing::Values(LockCase{"OffsetAtEnd", kBytes, 4, 0, true, true},
                      LockCase{"OffsetPastEnd", 100000, 4, 0, true, true},
                      LockCase{"ZeroBytes", 0, 0, 0, true, true,
                               "Wine locks nothing; Windows: not shown"},
                      LockCase{"MoreThanTheBuffer", 0, kBytes + 2, 0, true, true},
                      LockCase{"NoFirstPointer", 0, 4, 0, false, true},
                      // Without a second pointer the lock stops at the end (Windows' Lock
                      // documentation, Remarks).
                      LockCase{"WrapWithoutSecondPart", kBytes - 4, 8, 0, true, false, nullptr, 4},
                      LockCase{"UnknownFlag", 0, 4, 0x10, true, true,
                               "Wine ignores the flag; Windows: not shown"}),
    [](const auto &test) { return std::string(test.param.name); });

TEST_F(LockTest, OneLockAtATimeAndUnlockMustMatchIt) {
    // Wine takes any Unlock (it only checks that the pointers are inside the buffer) and more
    // than one Lock; the documentation asks for the very pointers Lock gave and names
    // DSERR_INVALIDPARAM and DSERR_INVALIDCALL. Windows refuses a pointer outside the buffer
    // (Wine's ds3d.c buffer_refill, Unlock(&ptr1)); the rest is not shown.
    if (underWine()) {
        GTEST_SKIP() << "Wine does not pair Lock and Unlock; Windows: not shown";
    }
    void *p1 = nullptr;
    void *p2 = nullptr;
    DWORD n1 = 0;
    DWORD n2 = 0;
    EXPECT_EQ(buffer_->Unlock(nullptr, 0, nullptr, 0), DSERR_INVALIDCALL); // nothing locked
    ASSERT_EQ(buffer_->Lock(kBytes - 8, 16, &p1, &n1, &p2, &n2, 0), DS_OK);

    void *q1 = nullptr;
    DWORD m1 = 0;
    EXPECT_EQ(buffer_->Lock(0, 4, &q1, &m1, nullptr, nullptr, 0), DSERR_INVALIDCALL);

    auto *wrong = static_cast<unsigned char *>(p1) - 2;
    EXPECT_EQ(buffer_->Unlock(wrong, n1, p2, n2), DSERR_INVALIDPARAM);
    EXPECT_EQ(buffer_->Unlock(p1, n1 + 2, p2, n2), DSERR_INVALIDPARAM);
    EXPECT_EQ(buffer_->Unlock(p1, n1, p2, n2 + 2), DSERR_INVALIDPARAM);
    EXPECT_EQ(buffer_->Unlock(p1, n1, nullptr, 4), DSERR_INVALIDPARAM);
    // Writing less than was locked is fine.
    EXPECT_EQ(buffer_->Unlock(p1, n1 - 2, p2, 0), DS_OK);
    EXPECT_EQ(buffer_->Unlock(p1, n1, p2, n2), DSERR_INVALIDCALL);
}

// ---------------------------------------------------------------------------------------------
// Controls

struct ControlCase {
    const char *name;
    DWORD needs;
    std::function<HRESULT(IDirectSoundBuffer &, LONG)> set;
    std::function<HRESULT(IDirectSoundBuffer &, LONG &)> get;
    LONG initial;
    std::vector<LONG> valid;
    std::vector<LONG> invalid;
    const char *wineUnavailable = nullptr; // how Wine differs without the capability
};

class Controls : public BufferTest, public ::testing::WithParamInterface<ControlCase> {};

TEST_P(Controls, RangesRoundTripsAndMissingCapability) {
    const ControlCase &c = GetParam();
    const WAVEFORMATEX format = pcmFormat(1, 16, 22050);
    auto withControl = createBuffer(*ds_, format, 4410, c.needs);
    auto without = createBuffer(*ds_, format, 4410, 0x1E0 & ~c.needs);

    LONG value = 12345;
    ASSERT_EQ(c.get(*withControl, value), DS_OK);
    EXPECT_EQ(value, c.initial);
    for (LONG v : c.valid) {
        EXPECT_EQ(c.set(*withControl, v), DS_OK) << v;
        ASSERT_EQ(c.get(*withControl, value), DS_OK);
        EXPECT_EQ(value, v);
    }
    for (LONG v : c.invalid) {
        EXPECT_EQ(c.set(*withControl, v), DSERR_INVALIDPARAM) << v;
        ASSERT_EQ(c.get(*withControl, value), DS_OK);
        EXPECT_EQ(value, c.valid.back()) << "a refused value must not change the setting";
    }
    if (underWine() && c.wineUnavailable) {
        GTEST_SKIP() << c.wineUnavailable;
    }
    EXPECT_EQ(c.set(*without, c.valid.front()), DSERR_CONTROLUNAVAIL);
    EXPECT_EQ(c.get(*without, value), DSERR_CONTROLUNAVAIL);
}

INSTANTIATE_TEST_SUITE_P(
    Buffer, Controls,
    ::testing::Values(ControlCase{"Volume",
                                  DSBCAPS_CTRLVOLUME,
                                  [](IDirectSoundBuffer &b, LONG v) { return b.SetVolume(v); },
                                  [](IDirectSoundBuffer &b, LONG &v) { return b.GetVolume(&v); },
                                  DSBVOLUME_MAX,
                                  {-600, DSBVOLUME_MIN, DSBVOLUME_MAX, -2500},
                                  {1, DSBVOLUME_MIN - 1, 100000}},
                      ControlCase{"Pan",
                                  DSBCAPS_CTRLPAN,
                                  [](IDirectSoundBuffer &b, LONG v) { return b.SetPan(v); },
                                  [](IDirectSoundBuffer &b, LONG &v) { return b.GetPan(&v); },
                                  DSBPAN_CENTER,
                                  {DSBPAN_LEFT, DSBPAN_RIGHT, 0, -1200},
                                  {DSBPAN_RIGHT + 1, DSBPAN_LEFT - 1}},
                      ControlCase{"Frequency",
                                  DSBCAPS_CTRLFREQUENCY,
                                  [](IDirectSoundBuffer &b, LONG v) {
                                      return b.SetFrequency(static_cast<DWORD>(v));
                                  },
                                  [](IDirectSoundBuffer &b, LONG &v) {
                                      DWORD f = 0;
                                      const HRESULT hr = b.GetFrequency(&f);
                                      v = static_cast<LONG>(f);
                                      return hr;
                                  },
                                  22050,
                                  {DSBFREQUENCY_MIN, DSBFREQUENCY_MAX, 44100, 11025},
                                  {DSBFREQUENCY_MIN - 1, DSBFREQUENCY_MAX + 1},
                                  "Wine sets the frequency of any buffer; Windows varies "
                                  "(Wine's ds3d.c test_buffer takes both)"}),
    [](const auto &test) { return std::string(test.param.name); });

TEST_F(BufferTest, OriginalFrequencyRestoresTheFormatRate) {
    const WAVEFORMATEX format = pcmFormat(1, 16, 22050);
    auto buffer = createBuffer(*ds_, format, 4410);
    ASSERT_EQ(buffer->SetFrequency(8000), DS_OK);
    ASSERT_EQ(buffer->SetFrequency(DSBFREQUENCY_ORIGINAL), DS_OK);
    DWORD frequency = 0;
    ASSERT_EQ(buffer->GetFrequency(&frequency), DS_OK);
    EXPECT_EQ(frequency, 22050u);
}

} // namespace
