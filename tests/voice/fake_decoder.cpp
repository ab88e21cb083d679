// The scripted clip decoder (see fake_decoder.h).
#include "fake_decoder.h"

#include <cstring>

FakeDecoder fakeDecoder;

namespace {

struct Instance {
    const FakeClip *clip = nullptr;
    size_t nextRead = 0;
    int64_t delivered = 0;
};

} // namespace

extern "C" {

void *OptimFROG_createInstance(void) {
    fakeDecoder.calls.push_back("create");
    if (fakeDecoder.createFails) {
        return nullptr;
    }
    ++fakeDecoder.alive;
    return new Instance;
}

void OptimFROG_destroyInstance(void *instance) {
    fakeDecoder.calls.push_back("destroy");
    if (instance != nullptr) {
        --fakeDecoder.alive;
        delete static_cast<Instance *>(instance);
    }
}

condBOOL OptimFROG_open(void *instance, const char *fileName, condBOOL checkMD5) {
    fakeDecoder.calls.push_back(std::string("open ") + fileName + " " + std::to_string(checkMD5));
    const auto found = fakeDecoder.clips.find(fileName);
    if (found == fakeDecoder.clips.end()) {
        return 0;
    }
    static_cast<Instance *>(instance)->clip = &found->second;
    return 1;
}

condBOOL OptimFROG_getInfo(void *instance, OptimFROG_Info *info) {
    fakeDecoder.calls.push_back("getInfo");
    const FakeClip &clip = *static_cast<Instance *>(instance)->clip;
    OptimFROG_Info record;
    std::memset(&record, 0x5A, sizeof record); // bytes the program must not rely on
    record.channels = clip.channels;
    record.samplerate = clip.samplerate;
    record.bitspersample = clip.bitspersample;
    record.noPoints = clip.noPoints;
    record.originalSize = clip.originalSize;
    *info = record;
    return 1;
}

uint32_t OptimFROG_readHead(void *instance, void *headData, uint32_t maxSize) {
    fakeDecoder.calls.push_back("readHead " + std::string(headData ? "buffer " : "null ") +
                                std::to_string(maxSize));
    return static_cast<Instance *>(instance)->clip->headerSize;
}

int32_t OptimFROG_read(void *instance, void *data, int32_t noPoints, condBOOL wavFormat) {
    fakeDecoder.calls.push_back("read");
    fakeDecoder.readCalls.push_back({data, noPoints, wavFormat});
    auto *self = static_cast<Instance *>(instance);
    const FakeClip &clip = *self->clip;
    if (self->nextRead >= clip.reads.size()) {
        return 0;
    }
    const int32_t result = clip.reads[self->nextRead++];
    const int32_t written = result < noPoints ? result : noPoints;
    const uint32_t block = clip.bitspersample / 8 * clip.channels;
    auto *bytes = static_cast<unsigned char *>(data);
    for (int32_t p = 0; p < written; ++p) {
        for (uint32_t k = 0; k < block; ++k) {
            bytes[static_cast<size_t>(p) * block + k] = patternByte(self->delivered + p, k);
        }
    }
    if (written > 0) {
        self->delivered += written;
    }
    return result;
}

condBOOL OptimFROG_close(void *instance) {
    fakeDecoder.calls.push_back("close");
    return 1;
}

} // extern "C"
