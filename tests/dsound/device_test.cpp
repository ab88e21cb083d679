// The device object: creation (which devices, aggregation, bad arguments), interface
// identity and reference counts, cooperative levels, caps, and that buffers keep the device
// alive in whatever order things are released.
#include "support.h"
#include "under_wine.h"

#include <gtest/gtest.h>

using namespace dsound_test;

namespace {

HWND fakeWindow() {
    return reinterpret_cast<HWND>(static_cast<uintptr_t>(0x1234));
}

struct CreateCase {
    const char *name;
    const GUID *device;
    HRESULT expected;
    const char *wine = nullptr; // how Wine differs, where it does (the case is skipped there)
};

class CreateDevice : public ::testing::TestWithParam<CreateCase> {};

TEST_P(CreateDevice, OpensOnlyTheDefaultPlaybackDevice) {
    const CreateCase &c = GetParam();
    if (underWine() && c.wine) {
        GTEST_SKIP() << c.wine;
    }
    IDirectSound8 *ds = reinterpret_cast<IDirectSound8 *>(0x1);
    EXPECT_EQ(DirectSoundCreate8(c.device, &ds, nullptr), c.expected);
    if (c.expected == DS_OK) {
        ASSERT_NE(ds, nullptr);
        EXPECT_EQ(ds->Release(), 0u);
    } else {
        EXPECT_EQ(ds, nullptr);
    }
}

const GUID kOtherDevice = {0x12345678, 0x1111, 0x2222, {1, 2, 3, 4, 5, 6, 7, 8}};

INSTANTIATE_TEST_SUITE_P(
    Devices, CreateDevice,
    ::testing::Values(CreateCase{"Null", nullptr, DS_OK},
                      CreateCase{"DefaultPlayback", &DSDEVID_DefaultPlayback, DS_OK},
                      CreateCase{"DefaultVoicePlayback", &DSDEVID_DefaultVoicePlayback, DS_OK},
                      CreateCase{"GuidNull", &GUID_NULL, DS_OK},
                      CreateCase{"DefaultCapture", &DSDEVID_DefaultCapture, DSERR_NODRIVER},
                      CreateCase{"OtherDevice", &kOtherDevice, DSERR_NODRIVER,
                                 "Wine says DSERR_INVALIDPARAM; Windows: not shown"}),
    [](const auto &test) { return std::string(test.param.name); });

TEST(DirectSoundCreate8, RefusesAggregationAndMissingOutPointer) {
    EXPECT_EQ(DirectSoundCreate8(nullptr, nullptr, nullptr), DSERR_INVALIDPARAM);
    // Wine aggregates; Windows refuses with CLASS_E_NOAGGREGATION, which is DSERR_NOAGGREGATION
    // (Wine's dsound tests, IDirectSound_tests, "COM aggregation").
    if (underWine()) {
        GTEST_SKIP() << "Wine accepts an outer IUnknown";
    }
    auto outerDevice = openDevice();
    IDirectSound8 *ds = reinterpret_cast<IDirectSound8 *>(0x1);
    EXPECT_EQ(DirectSoundCreate8(nullptr, &ds, outerDevice.get()), DSERR_NOAGGREGATION);
    EXPECT_EQ(ds, nullptr);
}

TEST(DirectSoundDevice, AnswersItsInterfacesWithOneIdentity) {
    auto ds = openDevice();
    // COM's identity rule: asked for IUnknown through any of its interfaces, the object gives
    // the same pointer (which need not be the interface's own).
    IUnknown *identity = nullptr;
    ASSERT_EQ(ds->QueryInterface(IID_IUnknown, reinterpret_cast<void **>(&identity)), S_OK);
    for (const IID *iid : {&IID_IDirectSound, &IID_IDirectSound8}) {
        IUnknown *face = nullptr;
        ASSERT_EQ(ds->QueryInterface(*iid, reinterpret_cast<void **>(&face)), S_OK);
        IUnknown *again = nullptr;
        ASSERT_EQ(face->QueryInterface(IID_IUnknown, reinterpret_cast<void **>(&again)), S_OK);
        EXPECT_EQ(again, identity);
        again->Release();
        face->Release();
    }
    identity->Release();
    void *object = reinterpret_cast<void *>(0x1);
    EXPECT_EQ(ds->QueryInterface(IID_IDirectSoundBuffer, &object), E_NOINTERFACE);
    EXPECT_EQ(object, nullptr);
    // Wine says E_INVALIDARG; COM's rule for a null out pointer is E_POINTER; Windows: not shown.
    if (!underWine()) {
        EXPECT_EQ(ds->QueryInterface(IID_IUnknown, nullptr), E_POINTER);
    }

    EXPECT_EQ(ds->AddRef(), 2u);
    EXPECT_EQ(ds->Release(), 1u);
}

TEST(DirectSoundDevice, CooperativeLevels) {
    auto ds = openDevice();
    for (DWORD level : {DSSCL_NORMAL, DSSCL_PRIORITY, DSSCL_EXCLUSIVE, DSSCL_WRITEPRIMARY}) {
        EXPECT_EQ(ds->SetCooperativeLevel(fakeWindow(), level), DS_OK) << level;
    }
    // Wine takes any level and any window without a look; the documentation allows only the
    // four levels and the application's window, and names DSERR_INVALIDPARAM for the rest
    // (what Windows does is not shown).
    if (!underWine()) {
        for (DWORD level : {0u, 5u, 0xFFFFFFFFu}) {
            EXPECT_EQ(ds->SetCooperativeLevel(fakeWindow(), level), DSERR_INVALIDPARAM) << level;
        }
        EXPECT_EQ(ds->SetCooperativeLevel(nullptr, DSSCL_NORMAL), DSERR_INVALIDPARAM);
    }

    // Compact needs at least the priority level.
    ASSERT_EQ(ds->SetCooperativeLevel(fakeWindow(), DSSCL_NORMAL), DS_OK);
    EXPECT_EQ(ds->Compact(), DSERR_PRIOLEVELNEEDED);
    ASSERT_EQ(ds->SetCooperativeLevel(fakeWindow(), DSSCL_PRIORITY), DS_OK);
    EXPECT_EQ(ds->Compact(), DS_OK);
}

TEST(DirectSoundDevice, CapsSpeakersAndDuplicates) {
    auto ds = openDevice();
    DSCAPS caps{};
    EXPECT_EQ(ds->GetCaps(&caps), DSERR_INVALIDPARAM); // dwSize not set
    EXPECT_EQ(ds->GetCaps(nullptr), DSERR_INVALIDPARAM);
    caps.dwSize = sizeof caps;
    ASSERT_EQ(ds->GetCaps(&caps), DS_OK);
    EXPECT_EQ(caps.dwSize, sizeof caps);
    EXPECT_TRUE(caps.dwFlags & DSCAPS_SECONDARY16BIT);
    EXPECT_TRUE(caps.dwFlags & DSCAPS_SECONDARYSTEREO);
    EXPECT_EQ(caps.dwMinSecondarySampleRate, DWORD{DSBFREQUENCY_MIN});
    EXPECT_EQ(caps.dwMaxSecondarySampleRate, DWORD{DSBFREQUENCY_MAX});

    // The layout is the system's: SetSpeakerConfig takes any documented configuration (0 is
    // DSSPEAKER_DIRECTOUT) and changes nothing, as on Windows since Vista.
    DWORD speakers = 0;
    ASSERT_EQ(ds->GetSpeakerConfig(&speakers), DS_OK);
    EXPECT_EQ(DSSPEAKER_CONFIG(speakers), DSSPEAKER_STEREO);
    for (DWORD config : {DWORD{DSSPEAKER_HEADPHONE}, DWORD{0}}) {
        EXPECT_EQ(ds->SetSpeakerConfig(config), DS_OK) << config;
        DWORD after = 0;
        ASSERT_EQ(ds->GetSpeakerConfig(&after), DS_OK);
        EXPECT_EQ(after, speakers) << config;
    }
    if (!underWine()) { // Wine takes any value; the documentation names DSERR_INVALIDPARAM
        EXPECT_EQ(ds->SetSpeakerConfig(0xFF), DSERR_INVALIDPARAM);
    }
    EXPECT_EQ(ds->GetSpeakerConfig(nullptr), DSERR_INVALIDPARAM);

#ifndef _WIN32
    // Our layer does not duplicate buffers (Windows and Wine do: Wine's dsound.c
    // test_duplicate); it refuses and hands back nothing. A duplicate would share one OpenAL
    // buffer and its staging bytes between buffers that lock, upload and attach on their own,
    // and the program never asks for one.
    const WAVEFORMATEX format = pcmFormat(1, 16, 22050);
    auto buffer = createBuffer(*ds, format, 2048);
    IDirectSoundBuffer *duplicate = reinterpret_cast<IDirectSoundBuffer *>(0x1);
    EXPECT_EQ(ds->DuplicateSoundBuffer(buffer.get(), &duplicate), DSERR_UNSUPPORTED);
    EXPECT_EQ(duplicate, nullptr);
#endif
}

TEST(DirectSoundDevice, BuffersOutliveTheDeviceInterface) {
    // Windows too reports 0 for the last Release with buffers alive (Wine's dsound tests,
    // test_dsound, "release with buffer"); Wine then frees the buffers with the device.
    if (underWine()) {
        GTEST_SKIP() << "Wine frees the buffers with the device";
    }
    IDirectSound8 *ds = nullptr;
    ASSERT_EQ(DirectSoundCreate8(nullptr, &ds, nullptr), DS_OK);
    const WAVEFORMATEX format = pcmFormat(1, 16, 22050);
    auto first = createBuffer(*ds, format, 22050);
    auto second = createBuffer(*ds, format, 22050);
    // The program's reference goes first, as on Windows the count it sees reaches 0...
    EXPECT_EQ(ds->Release(), 0u);
    // ...but the buffers still work, since they keep the device open.
    fillSine(*first, format, 440.0, 0.2);
    ASSERT_EQ(first->Play(0, 0, DSBPLAY_LOOPING), DS_OK);
    EXPECT_TRUE(status(*first) & DSBSTATUS_PLAYING);
    first.reset();
    EXPECT_EQ(second->Play(0, 0, 0), DS_OK);
    second.reset(); // closes the device (checked for leaks and use-after-free by ASan)
}

TEST(DirectSoundDevice, TwoDevicesInOneProcessKeepTheirOwnContexts) {
    auto a = openDevice();
    auto b = openDevice();
    const WAVEFORMATEX format = pcmFormat(1, 16, 22050);
    auto onA = createBuffer(*a, format, 22050);
    auto onB = createBuffer(*b, format, 22050);
    fillSine(*onA, format, 440.0, 0.2);
    fillSine(*onB, format, 880.0, 0.2);
    ASSERT_EQ(onA->Play(0, 0, DSBPLAY_LOOPING), DS_OK);
    ASSERT_EQ(onB->Play(0, 0, DSBPLAY_LOOPING), DS_OK);
    EXPECT_TRUE(status(*onA) & DSBSTATUS_PLAYING);
    EXPECT_TRUE(status(*onB) & DSBSTATUS_PLAYING);
    ASSERT_EQ(onA->Stop(), DS_OK);
    EXPECT_FALSE(status(*onA) & DSBSTATUS_PLAYING);
    EXPECT_TRUE(status(*onB) & DSBSTATUS_PLAYING);
    // Releasing in the "wrong" order, device first, must not disturb the other device (Wine
    // frees a device's buffers with it, so there the buffer goes first).
    if (underWine()) {
        onA.reset();
    }
    a.reset();
    onA.reset();
    EXPECT_TRUE(status(*onB) & DSBSTATUS_PLAYING);
}

} // namespace
