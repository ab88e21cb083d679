// Sound benchmarks: decoding the 21 clips into sound buffers (real decoder, DirectSound on
// OpenAL Soft's null output), and the work of one poll tick plus one announce tick with a
// locked card, in tone mode and in voice mode.
#include "app/app_state.h"
#include "tuner/signal_monitor.h"
#include "tuner_filter_base.h"
#include "vintorel_platform.h"
#include "voice/announcer.h"
#include "voice/sound.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <unistd.h>

namespace {

// A card that is always locked at quality 57 and S/N 7.534.
class LockedCard final : public vintorel::TunerFilterBase {
  public:
    STDMETHODIMP setTransponderFrequency(LONG) override { return S_OK; }
    STDMETHODIMP setSymbolRate(LONG) override { return S_OK; }
    STDMETHODIMP setLnbFrequency(LONG) override { return S_OK; }
    STDMETHODIMP setFec(LONG) override { return S_OK; }
    STDMETHODIMP setPolarity(LONG) override { return S_OK; }
    STDMETHODIMP setLnbSelection(LONG) override { return S_OK; }
    STDMETHODIMP setDiseqc(LONG) override { return S_OK; }
    STDMETHODIMP initialize() override { return S_OK; }
    STDMETHODIMP applyTuning() override { return S_OK; }
    STDMETHODIMP refreshMeasurement() override { return S_OK; }
    STDMETHODIMP getSnr(FLOAT *snr) override {
        *snr = 7.534f;
        return S_OK;
    }
    STDMETHODIMP getQuality(LONG *quality) override {
        *quality = 57;
        return S_OK;
    }
};

HWND makeWindow() {
    WNDCLASSA cls{};
    cls.lpfnWndProc = DefWindowProcA;
    cls.hInstance = GetModuleHandleA(nullptr);
    cls.lpszClassName = "VoiceBench";
    RegisterClassA(&cls);
    return CreateWindowExA(0, "VoiceBench", "bench", WS_OVERLAPPEDWINDOW, 0, 0, 340, 180, nullptr,
                           nullptr, cls.hInstance, nullptr);
}

void BM_LoadClipBank(benchmark::State &state) {
    app = AppState{};
    openSoundDevice(app.mainWindow);
    if (app.sound == nullptr) {
        state.SkipWithError("no sound device");
        return;
    }
    for (auto _ : state) {
        loadClipBank();
        state.PauseTiming();
        if (app.clipTone == nullptr) {
            state.SkipWithError("clips did not load");
            break;
        }
        IDirectSound8 *device = app.sound;
        app.sound = nullptr; // keep the device, release only the clips
        releaseClipBank();
        app.sound = device;
        state.ResumeTiming();
    }
    releaseClipBank();
}
BENCHMARK(BM_LoadClipBank)->Unit(benchmark::kMillisecond);

void BM_PollAndAnnounceTick(benchmark::State &state) {
    app = AppState{};
    app.mainWindow = makeWindow();
    auto *card = new LockedCard;
    app.tuner = card;
    app.step = 3;
    app.voiceMode = static_cast<BYTE>(state.range(0));
    openSoundDevice(app.mainWindow);
    loadClipBank();
    for (auto _ : state) {
        pollTick();
        announceTick();
    }
    benchmark::DoNotOptimize(app.snrText);
    releaseClipBank();
    app.tuner = nullptr;
    card->Release();
    DestroyWindow(app.mainWindow);
}
BENCHMARK(BM_PollAndAnnounceTick)->ArgName("voice")->Arg(0)->Arg(1);

} // namespace

int main(int argc, char **argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    setenv("ALSOFT_DRIVERS", "null", 0);
    setenv("ALSOFT_CONF", "/dev/null", 0);
    if (chdir(VINTOREL_SOURCE_DIR) != 0) { // the clips are read from Data/ there
        return 1;
    }
    VintorelPlatformStart(&argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
