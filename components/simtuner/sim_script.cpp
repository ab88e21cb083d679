// Parser of the simulated card's script. Strict: an unknown directive or operation, a missing
// or malformed number, or trailing words are errors reported with their line number, so a typo
// in a test script never passes silently. Not supported: includes, variables, timing.
#include "sim_script.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <sstream>

#include "regular_file.h"

namespace vintorel::sim {

namespace {

constexpr std::array<const char *, 14> kOperations = {"create",          "QueryInterface",
                                                      "initialize",      "setFec",
                                                      "setDiseqc",       "setLnbSelection",
                                                      "setLnbFrequency", "setPolarity",
                                                      "setSymbolRate",   "setTransponderFrequency",
                                                      "applyTuning",     "refreshMeasurement",
                                                      "getSnr",          "getQuality"};

bool knownOperation(const std::string &name) {
    return std::any_of(kOperations.begin(), kOperations.end(),
                       [&name](const char *op) { return name == op; });
}

bool parseInteger(const std::string &word, long long *value) {
    if (word.empty()) {
        return false;
    }
    errno = 0;
    char *end = nullptr;
    const bool hex = word.size() > 2 && word[0] == '0' && (word[1] == 'x' || word[1] == 'X');
    const long long v = hex ? static_cast<long long>(std::strtoull(word.c_str() + 2, &end, 16))
                            : std::strtoll(word.c_str(), &end, 10);
    if (errno != 0 || end == nullptr || *end != '\0' || (hex && word.size() == 2)) {
        return false;
    }
    *value = v;
    return true;
}

bool parseStatus(const std::string &word, HRESULT *status) {
    long long v = 0;
    if (!parseInteger(word, &v) || v < INT32_MIN || v > UINT32_MAX) {
        return false;
    }
    *status = static_cast<HRESULT>(static_cast<uint32_t>(v));
    return true;
}

bool parseLong(const std::string &word, LONG *value) {
    long long v = 0;
    if (!parseInteger(word, &v) || v < INT32_MIN || v > INT32_MAX) {
        return false;
    }
    *value = static_cast<LONG>(v);
    return true;
}

bool parseFloat(const std::string &word, float *value) {
    errno = 0;
    char *end = nullptr;
    const float v = std::strtof(word.c_str(), &end);
    if (word.empty() || errno != 0 || *end != '\0') {
        return false;
    }
    *value = v;
    return true;
}

// A script is a few lines; anything this large is not one (and a device such as /dev/zero
// never ends).
constexpr int64_t kMaxScriptBytes = 1 << 20;

// Reads a regular file of at most kMaxScriptBytes whole. Anything else (a folder, a FIFO, a
// device) is refused without reading from it.
bool readScriptFile(const std::string &path, std::string *text, std::string *reason) {
    std::FILE *file = nullptr;
    int64_t size = 0;
    switch (openRegularFile(path, kMaxScriptBytes, &file, &size)) {
    case RegularFile::opened:
        break;
    case RegularFile::cannotOpen:
        *reason = "cannot read the script";
        return false;
    case RegularFile::notRegular:
        *reason = "cannot read the script: not a regular file";
        return false;
    case RegularFile::tooLarge:
        *reason = "cannot read the script: larger than 1 MiB";
        return false;
    }
    // Read to the end, but never past the limit, should the file grow meanwhile.
    text->clear();
    char buffer[4096];
    size_t n = 0;
    while ((n = std::fread(buffer, 1, sizeof buffer, file)) > 0 &&
           static_cast<int64_t>(text->size() + n) <= kMaxScriptBytes) {
        text->append(buffer, n);
    }
    const bool ok = n == 0 && std::ferror(file) == 0;
    if (!ok) {
        *reason = n == 0 ? "cannot read the script" : "cannot read the script: larger than 1 MiB";
    }
    std::fclose(file);
    return ok;
}

} // namespace

std::optional<HRESULT> Script::answerFor(const std::string &operation,
                                         std::optional<LONG> argument) const {
    std::optional<HRESULT> result;
    for (const ScriptedAnswer &a : answers) {
        if (a.operation == operation && (!a.argument || (argument && *a.argument == *argument))) {
            result = a.status;
        }
    }
    return result;
}

bool parseScript(const std::string &text, Script *script, std::string *error) {
    std::istringstream lines(text);
    std::string line;
    int number = 0;
    auto fail = [&](const std::string &reason) {
        *error = std::to_string(number) + ": " + reason;
        return false;
    };
    while (std::getline(lines, line)) {
        ++number;
        if (const auto hash = line.find('#'); hash != std::string::npos) {
            line.erase(hash);
        }
        std::istringstream in(line);
        std::vector<std::string> words;
        for (std::string w; in >> w;) {
            words.push_back(w);
        }
        if (words.empty()) {
            continue;
        }
        const std::string &verb = words[0];
        if (verb == "create" || verb == "query") {
            if (words.size() != 2 || words[1] != "fail") {
                return fail("expected '" + verb + " fail'");
            }
            if (verb == "create") {
                script->answers.push_back({"create", std::nullopt, REGDB_E_CLASSNOTREG});
            } else {
                script->answers.push_back({"QueryInterface", std::nullopt, E_NOINTERFACE});
            }
        } else if (verb == "fail") {
            if (words.size() < 2 || words.size() > 3) {
                return fail("expected 'fail OPERATION [ARGUMENT]'");
            }
            if (!knownOperation(words[1])) {
                return fail("unknown operation '" + words[1] + "'");
            }
            ScriptedAnswer a{words[1], std::nullopt, E_FAIL};
            if (words.size() == 3) {
                LONG arg = 0;
                if (!parseLong(words[2], &arg)) {
                    return fail("bad argument '" + words[2] + "'");
                }
                a.argument = arg;
            }
            script->answers.push_back(a);
        } else if (verb == "status") {
            if (words.size() != 3) {
                return fail("expected 'status OPERATION VALUE'");
            }
            if (!knownOperation(words[1])) {
                return fail("unknown operation '" + words[1] + "'");
            }
            HRESULT status = S_OK;
            if (!parseStatus(words[2], &status)) {
                return fail("bad status value '" + words[2] + "'");
            }
            script->answers.push_back({words[1], std::nullopt, status});
        } else if (verb == "poll") {
            if (words.size() == 2 && words[1] == "unlocked") {
                script->polls.push_back(PollStep{false, 0, 0.0f});
            } else if (words.size() == 4 && words[1] == "locked") {
                PollStep step;
                if (!parseLong(words[2], &step.quality)) {
                    return fail("bad quality '" + words[2] + "'");
                }
                if (!parseFloat(words[3], &step.snr)) {
                    return fail("bad S/N '" + words[3] + "'");
                }
                script->polls.push_back(step);
            } else {
                return fail("expected 'poll locked QUALITY SNR' or 'poll unlocked'");
            }
        } else {
            return fail("unknown directive '" + verb + "'");
        }
    }
    return true;
}

bool loadScript(const std::string &path, Script *script, std::string *error) {
    std::string text;
    std::string reason;
    if (!readScriptFile(path, &text, &reason)) {
        *error = path + ": " + reason;
        return false;
    }
    if (!parseScript(text, script, &reason)) {
        *error = path + ":" + reason;
        return false;
    }
    return true;
}

} // namespace vintorel::sim
