// A scripted stand-in for the clip decoder library's seven functions, linked into the loader
// test instead of the real library: each clip name has a record, a header size and the
// results of successive reads; every call is logged.
#pragma once

#include "OptimFROG.h"

#include <map>
#include <string>
#include <vector>

struct FakeClip {
    uint32_t channels = 1;
    uint32_t samplerate = 22050;
    uint32_t bitspersample = 16;
    int64_t noPoints = 0;
    uint32_t originalSize = 44;
    uint32_t headerSize = 44;
    // What successive reads return; once used up, reads return 0. A positive result writes
    // that many points (at most the count asked for) of the pattern below.
    std::vector<int32_t> reads;
};

struct FakeRead {
    void *data;
    int32_t count;
    unsigned char wavFormat;
};

struct FakeDecoder {
    bool createFails = false;
    std::map<std::string, FakeClip> clips; // a name not listed cannot be opened
    std::vector<std::string> calls;        // "create", "open NAME 0", "close", "destroy", ...
    std::vector<FakeRead> readCalls;
    int alive = 0;
};

extern FakeDecoder fakeDecoder;

// The byte that the fake decoder writes at byte k of point p.
inline unsigned char patternByte(int64_t point, uint32_t k) {
    return static_cast<unsigned char>((point * 7 + k + 1) & 0x7F);
}
