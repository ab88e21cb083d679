// The simulated card's script (VINTOREL_SIM_SCRIPT): scripted answers for tests and demos.
// One directive a line, '#' starts a comment:
//   create fail                      creation answers REGDB_E_CLASSNOTREG
//   query fail                       no tuner control interface (E_NOINTERFACE)
//   fail OPERATION [ARGUMENT]        OPERATION answers E_FAIL (only for ARGUMENT, if given)
//   status OPERATION VALUE           OPERATION answers VALUE (decimal, or hex with 0x)
//   poll locked QUALITY SNR          the next applyTuning succeeds with these readings
//   poll unlocked                    the next applyTuning fails
// poll lines are used one per applyTuning; the last one repeats.
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

namespace vintorel::sim {

struct PollStep {
    bool locked = true;
    LONG quality = 0;
    float snr = 0.0f;
};

struct ScriptedAnswer {
    std::string operation;
    std::optional<LONG> argument; // only this argument, when set
    HRESULT status = S_OK;
};

struct Script {
    std::vector<ScriptedAnswer> answers;
    std::vector<PollStep> polls;

    // The scripted status for a call, if any (the last matching line wins).
    std::optional<HRESULT> answerFor(const std::string &operation,
                                     std::optional<LONG> argument) const;
};

// Parses a script; on an error returns false with "LINE: reason" in *error.
bool parseScript(const std::string &text, Script *script, std::string *error);

// Reads and parses the file; on an error returns false with "FILE:LINE: reason" in *error. Only
// a regular file of at most 1 MiB is read: a folder, a FIFO, a device or a larger file is
// reported as "FILE: cannot read the script: REASON".
bool loadScript(const std::string &path, Script *script, std::string *error);

} // namespace vintorel::sim
