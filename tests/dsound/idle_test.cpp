// The output sleeps while nothing plays: OpenAL Soft's mixer thread (one thread more in the
// process) runs only while a buffer sounds, and a Play wakes it. Its own executable on
// OpenAL Soft's null output, which (unlike the wave writer) may pause. Waits are bounded polls,
// never timings.
#include <dsound.h>
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <iterator>
#include <thread>

namespace {

using namespace std::chrono_literals;

const bool g_nullOutput = [] {
    setenv("ALSOFT_DRIVERS", "null", 1);
    setenv("ALSOFT_CONF", "/dev/null", 1);
    return true;
}();

int threads() {
    const auto tasks = std::filesystem::directory_iterator("/proc/self/task");
    return static_cast<int>(std::distance(begin(tasks), end(tasks)));
}

// The thread count once it has held still for 200 ms.
int settledThreads() {
    int last = threads();
    for (int still = 0, i = 0; still < 20 && i < 300; ++i) {
        std::this_thread::sleep_for(10ms);
        const int now = threads();
        still = now == last ? still + 1 : 0;
        last = now;
    }
    return last;
}

bool threadsWithin(int expected, std::chrono::milliseconds timeout) {
    for (auto end = std::chrono::steady_clock::now() + timeout;
         std::chrono::steady_clock::now() < end; std::this_thread::sleep_for(10ms)) {
        if (threads() == expected) {
            return true;
        }
    }
    return false;
}

DWORD status(IDirectSoundBuffer *buffer) {
    DWORD s = 0;
    buffer->GetStatus(&s);
    return s;
}

TEST(IdleOutput, MixesOnlyWhileABufferPlays) {
    ASSERT_TRUE(g_nullOutput);
    IDirectSound8 *ds = nullptr;
    ASSERT_EQ(DirectSoundCreate8(nullptr, &ds, nullptr), DS_OK);
    WAVEFORMATEX format{WAVE_FORMAT_PCM, 1, 8000, 16000, 2, 16, 0};
    DSBUFFERDESC desc{sizeof desc, 0x1E0, 1600, 0, &format, {}}; // 100 ms
    IDirectSoundBuffer *buffer = nullptr;
    ASSERT_EQ(ds->CreateSoundBuffer(&desc, &buffer, nullptr), DS_OK);
    const int idle = settledThreads();

    // One pass: the mixer wakes with Play and sleeps again once the pass is over.
    ASSERT_EQ(buffer->Play(0, 0, 0), DS_OK);
    EXPECT_TRUE(threadsWithin(idle + 1, 1s)) << "Play starts the mixer";
    for (int i = 0; i < 300 && status(buffer) != 0; ++i) {
        std::this_thread::sleep_for(10ms);
    }
    EXPECT_EQ(status(buffer), 0u);
    EXPECT_TRUE(threadsWithin(idle, 3s)) << "the mixer goes on after the pass ended";

    // Looping: the mixer stays past the buffer's end, and goes with Stop.
    ASSERT_EQ(buffer->Play(0, 0, DSBPLAY_LOOPING), DS_OK);
    std::this_thread::sleep_for(300ms);
    EXPECT_EQ(threads(), idle + 1);
    EXPECT_TRUE(status(buffer) & DSBSTATUS_PLAYING);
    ASSERT_EQ(buffer->Stop(), DS_OK);
    EXPECT_TRUE(threadsWithin(idle, 3s)) << "the mixer goes on after Stop";

    buffer->Release();
    ds->Release();
}

} // namespace
