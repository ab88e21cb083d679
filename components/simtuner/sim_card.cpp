// The simulated card's calls: scripted answers first, otherwise success; readings from the
// script's poll lines, otherwise from the dish model for the settings last sent. It accepts
// any setting: whether the settings make sense shows in the readings, as with a real card.
#include "sim_card.h"
#include "vintorel_trace.h"

#include <cerrno>
#include <cstdarg>
#include <cstdlib>

namespace vintorel::sim {

namespace {

std::string interfaceName(REFIID riid) {
    if (riid == IID_TunerControl) {
        return "TunerControl";
    }
    if (riid == IID_TunerBaseFilter) {
        return "IBaseFilter";
    }
    if (riid == IID_IUnknown) {
        return "IUnknown";
    }
    return trace::GuidText(riid).text;
}

unsigned hex(HRESULT hr) {
    return static_cast<unsigned>(hr);
}

std::FILE *openLog(const std::string &path) {
    if (path.empty()) {
        return nullptr;
    }
    // Binary: the same bytes (LF line ends) on every system, so logs compare as they are.
    std::FILE *file = std::fopen(path.c_str(), "ab");
    if (file == nullptr) {
        std::fprintf(stderr, "vintorel: cannot open the simulated card's log %s\n", path.c_str());
    }
    return file;
}

} // namespace

bool optionsFromEnvironment(SimOptions *options) {
    if (const char *log = std::getenv("VINTOREL_SIM_LOG")) {
        options->logPath = log;
    }
    if (const char *script = std::getenv("VINTOREL_SIM_SCRIPT")) {
        options->scriptPath = script;
    }
    if (const char *seed = std::getenv("VINTOREL_SIM_SEED"); seed != nullptr && *seed != '\0') {
        char *end = nullptr;
        errno = 0;
        const unsigned long long value = std::strtoull(seed, &end, 10);
        if (errno != 0 || *end != '\0' || value > 0xFFFFFFFFull || seed[0] == '-') {
            std::fprintf(stderr,
                         "vintorel: VINTOREL_SIM_SEED=%s is not a number from 0 to 4294967295\n",
                         seed);
            return false;
        }
        options->seed = static_cast<uint32_t>(value);
    }
    if (const char *sweep = std::getenv("VINTOREL_SIM_SWEEP"); sweep != nullptr && *sweep != '\0') {
        char *end = nullptr;
        errno = 0;
        const double seconds = std::strtod(sweep, &end);
        if (errno != 0 || *end != '\0' || !(seconds >= 1.0 && seconds <= 3600.0)) {
            std::fprintf(stderr,
                         "vintorel: VINTOREL_SIM_SWEEP=%s is not a period of 1 to 3600 seconds\n",
                         sweep);
            return false;
        }
        options->motion.periodSeconds = seconds;
    }
    return true;
}

HRESULT SimCard::create(const SimOptions &options, REFIID riid, void **object) {
    *object = nullptr;
    std::FILE *logFile = openLog(options.logPath);
    auto logCreate = [logFile](HRESULT hr) {
        if (logFile != nullptr) {
            std::fprintf(logFile, "create -> 0x%08X\n", hex(hr));
            std::fflush(logFile);
        }
    };
    Script script;
    if (!options.scriptPath.empty()) {
        std::string error;
        if (!loadScript(options.scriptPath, &script, &error)) {
            std::fprintf(stderr, "vintorel: simulated card script %s\n", error.c_str());
            logCreate(E_FAIL);
            if (logFile != nullptr) {
                std::fclose(logFile);
            }
            return E_FAIL;
        }
    }
    if (const auto scripted = script.answerFor("create", std::nullopt);
        scripted && *scripted != S_OK) {
        logCreate(*scripted);
        if (logFile != nullptr) {
            std::fclose(logFile);
        }
        return *scripted;
    }
    auto *card = new SimCard(std::move(script), logFile, options);
    const HRESULT hr = card->QueryInterface(riid, object);
    logCreate(hr);
    // Trade the creation reference for the handed-out one (none if the interface was refused,
    // and then the card is gone).
    const bool handedOut = SUCCEEDED(hr);
    card->Release();
    if (handedOut) {
        card->creating_ = false;
    }
    return hr;
}

SimCard::SimCard(Script script, std::FILE *log, const SimOptions &options)
    : script_(std::move(script)), log_(log), motion_(options.motion),
      noise_(options.seed ? *options.seed : std::random_device{}()), clock_(options.clock) {}

double SimCard::secondsSinceTuning() const {
    if (clock_) {
        return clock_();
    }
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - tunedAt_).count();
}

CardSettings SimCard::settings() const {
    CardSettings s;
    s.frequencyMHz = frequencyMHz;
    s.symbolRate = symbolRate;
    s.lnbFrequency = lnbFrequency;
    s.polarity = polarity;
    s.lnbSelection = lnbSelection;
    return s;
}

SimCard::~SimCard() {
    if (log_ != nullptr) {
        std::fclose(log_);
    }
}

void SimCard::log(const char *format, ...) const {
    const bool traced = (trace::enabled & trace::TUNER) != 0;
    if (log_ == nullptr && !traced) {
        return;
    }
    char text[512];
    va_list args;
    va_start(args, format);
    std::vsnprintf(text, sizeof text, format, args);
    va_end(args);
    if (log_ != nullptr) {
        std::fprintf(log_, "%s\n", text);
        std::fflush(log_);
    }
    if (traced) {
        trace::line(trace::TUNER, "sim %s", text);
    }
}

HRESULT SimCard::answer(const char *operation, std::optional<LONG> argument, HRESULT normal) const {
    return script_.answerFor(operation, argument).value_or(normal);
}

HRESULT SimCard::filterQueryInterface(REFIID riid, HRESULT hr) {
    if (riid == IID_TunerControl) {
        hr = answer("QueryInterface", std::nullopt, hr);
    }
    // The card's own creation asks for an interface too; only the program's calls are logged.
    if (!creating_) {
        log("QueryInterface %s -> 0x%08X", interfaceName(riid).c_str(), hex(hr));
    }
    return hr;
}

void SimCard::onAddRef(ULONG count) {
    log("AddRef -> %u", static_cast<unsigned>(count));
}

void SimCard::onRelease(ULONG count) {
    if (!creating_) {
        log("Release -> %u", static_cast<unsigned>(count));
    }
}

HRESULT SimCard::setting(const char *operation, LONG value, LONG *field) {
    const HRESULT hr = answer(operation, value, S_OK);
    if (SUCCEEDED(hr)) {
        *field = value;
        tunedAt_ = std::chrono::steady_clock::now(); // the sweep starts again at a new setting
    }
    log("%s %d -> 0x%08X", operation, static_cast<int>(value), hex(hr));
    return hr;
}

STDMETHODIMP SimCard::setTransponderFrequency(LONG v) {
    return setting("setTransponderFrequency", v, &frequencyMHz);
}
STDMETHODIMP SimCard::setSymbolRate(LONG v) {
    return setting("setSymbolRate", v, &symbolRate);
}
STDMETHODIMP SimCard::setLnbFrequency(LONG v) {
    return setting("setLnbFrequency", v, &lnbFrequency);
}
STDMETHODIMP SimCard::setFec(LONG v) {
    return setting("setFec", v, &fec);
}
STDMETHODIMP SimCard::setPolarity(LONG v) {
    return setting("setPolarity", v, &polarity);
}
STDMETHODIMP SimCard::setLnbSelection(LONG v) {
    return setting("setLnbSelection", v, &lnbSelection);
}
STDMETHODIMP SimCard::setDiseqc(LONG v) {
    return setting("setDiseqc", v, &diseqc);
}

STDMETHODIMP SimCard::initialize() {
    const HRESULT hr = answer("initialize", std::nullopt, S_OK);
    initialized = SUCCEEDED(hr);
    log("initialize -> 0x%08X", hex(hr));
    return hr;
}

STDMETHODIMP SimCard::applyTuning() {
    if (!script_.polls.empty()) {
        current_ = script_.polls[std::min(nextPoll_, script_.polls.size() - 1)];
        if (nextPoll_ < script_.polls.size()) {
            ++nextPoll_;
        }
    } else {
        const Reading r = measure(settings(), motion_, secondsSinceTuning(), noise_);
        current_ = PollStep{r.locked, r.quality, r.snrDb};
    }
    const HRESULT hr = answer("applyTuning", std::nullopt, current_.locked ? S_OK : E_FAIL);
    log("applyTuning -> 0x%08X", hex(hr));
    return hr;
}

STDMETHODIMP SimCard::refreshMeasurement() {
    const HRESULT hr = answer("refreshMeasurement", std::nullopt, S_OK);
    log("refreshMeasurement -> 0x%08X", hex(hr));
    return hr;
}

STDMETHODIMP SimCard::getSnr(FLOAT *snr) {
    HRESULT hr = answer("getSnr", std::nullopt, S_OK);
    if (snr == nullptr) {
        hr = E_POINTER;
        log("getSnr -> 0x%08X", hex(hr));
        return hr;
    }
    *snr = current_.locked ? current_.snr : 0.0f;
    log("getSnr -> 0x%08X snr=%g", hex(hr), static_cast<double>(*snr));
    return hr;
}

STDMETHODIMP SimCard::getQuality(LONG *quality) {
    HRESULT hr = answer("getQuality", std::nullopt, S_OK);
    if (quality == nullptr) {
        hr = E_POINTER;
        log("getQuality -> 0x%08X", hex(hr));
        return hr;
    }
    *quality = current_.locked ? current_.quality : 0;
    log("getQuality -> 0x%08X quality=%d", hex(hr), static_cast<int>(*quality));
    return hr;
}

} // namespace vintorel::sim
