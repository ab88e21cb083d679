// Sound figures on OpenAL Soft's null output: the time to load the 21-clip bank as the program
// does (decoder library into DirectSound buffers) against decoding the same files with plain
// libFLAC into memory, and the time from Play on a sleeping output to the first mixed update
// of the clip (its play cursor moving). Prints "name value" lines; medians of several runs.
#include "app/app_state.h"
#include "voice/sound.h"

#include <FLAC/stream_decoder.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;
constexpr int kRuns = 15;

double millisecondsSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

const char *const kClips[] = {"0ru", "1ru", "2ru", "3ru", "4ru", "5ru", "6ru",
                              "7ru", "8ru", "9ru", "0en", "1en", "2en", "3en",
                              "4en", "5en", "6en", "7en", "8en", "9en", "tone"};

FLAC__StreamDecoderWriteStatus keep(const FLAC__StreamDecoder *, const FLAC__Frame *frame,
                                    const FLAC__int32 *const buffer[], void *client) {
    auto *pcm = static_cast<std::vector<int16_t> *>(client);
    for (unsigned i = 0; i < frame->header.blocksize; ++i) {
        for (unsigned ch = 0; ch < frame->header.channels; ++ch) {
            pcm->push_back(static_cast<int16_t>(buffer[ch][i]));
        }
    }
    return FLAC__STREAM_DECODER_WRITE_STATUS_CONTINUE;
}

void ignoreError(const FLAC__StreamDecoder *, FLAC__StreamDecoderErrorStatus, void *) {}

// Plain libFLAC: every clip decoded whole into memory.
size_t decodeWithLibFlac() {
    size_t samples = 0;
    for (const char *clip : kClips) {
        std::vector<int16_t> pcm;
        FLAC__StreamDecoder *decoder = FLAC__stream_decoder_new();
        const std::string name = std::string("Data/") + clip + ".vcl";
        if (FLAC__stream_decoder_init_file(decoder, name.c_str(), keep, nullptr, ignoreError,
                                           &pcm) == FLAC__STREAM_DECODER_INIT_STATUS_OK) {
            FLAC__stream_decoder_process_until_end_of_stream(decoder);
        }
        FLAC__stream_decoder_delete(decoder);
        samples += pcm.size();
    }
    return samples;
}

void releaseClipsKeepDevice() {
    IDirectSound8 *device = app.sound;
    app.sound = nullptr;
    releaseClipBank();
    app.sound = device;
}

DWORD playCursor(IDirectSoundBuffer *clip) {
    DWORD play = 0;
    clip->GetCurrentPosition(&play, nullptr);
    return play;
}

bool playing(IDirectSoundBuffer *clip) {
    DWORD status = 0;
    clip->GetStatus(&status);
    return (status & DSBSTATUS_PLAYING) != 0;
}

} // namespace

int main() {
    setenv("ALSOFT_DRIVERS", "null", 0);
    setenv("ALSOFT_CONF", "/dev/null", 0);
    if (chdir(VINTOREL_SOURCE_DIR) != 0) {
        return 1;
    }

    app = AppState{};
    openSoundDevice(nullptr);
    if (app.sound == nullptr) {
        return 1;
    }
    // Interleaved, so that both see the same load on the machine.
    std::vector<double> flac;
    std::vector<double> bank;
    size_t samples = 0;
    for (int run = 0; run < kRuns; ++run) {
        auto start = Clock::now();
        samples = decodeWithLibFlac();
        flac.push_back(millisecondsSince(start));
        start = Clock::now();
        loadClipBank();
        bank.push_back(millisecondsSince(start));
        if (samples == 0 || app.clipTone == nullptr) {
            return 1;
        }
        if (run < kRuns - 1) {
            releaseClipsKeepDevice();
        }
    }
    std::printf("clip_bank_ms %.2f\nlibflac_ms %.2f\nclip_pcm_kib %.0f\n", median(bank),
                median(flac), static_cast<double>(samples) * 2 / 1024);

    // Play on a sleeping output until the mixer has taken the clip's first update.
    IDirectSoundBuffer *tone = app.clipTone;
    std::vector<double> latency;
    for (int run = 0; run < 11; ++run) {
        while (playing(tone)) {
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(150)); // the output goes to sleep
        const auto start = Clock::now();
        tone->Play(0, 0, 0);
        while (playCursor(tone) == 0 && playing(tone) && millisecondsSince(start) < 1000) {
            std::this_thread::sleep_for(std::chrono::microseconds(100));
        }
        if (run > 0) { // the first Play may still find the output being made
            latency.push_back(millisecondsSince(start));
        }
    }
    std::sort(latency.begin(), latency.end());
    std::printf("play_to_first_mix_ms %.1f %.1f\n", median(latency), latency.back());
    releaseClipBank();
    return 0;
}
