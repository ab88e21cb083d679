// Decodes clips through the clip decoder library exactly as the program does (WAV sample format,
// in pieces) and prints one line per clip: its name, format, number of points, a hash of its PCM
// and the decoder's verdict on the stream's own MD5 signature. Built for Linux and Windows, so the
// two decoders' lines can be compared as text.
//   decode_clips 'Data\0en.vcl' 'Data\tone.vcl' ...
// Exit status 1 when a clip cannot be opened or decoded whole, or its MD5 signature mismatches.
#include "OptimFROG.h"

#include <cinttypes>
#include <cstdint>
#include <cstdio>
#include <vector>

namespace {

// FNV-1a, 64 bits: enough to tell two PCM streams apart.
uint64_t fnv1a(uint64_t hash, const uint8_t *data, size_t size) {
    for (size_t i = 0; i < size; ++i) {
        hash = (hash ^ data[i]) * 0x100000001B3ull;
    }
    return hash;
}

bool decode(const char *name) {
    void *decoder = OptimFROG_createInstance();
    if (decoder == nullptr || !OptimFROG_open(decoder, name, 1)) {
        std::printf("%s cannot be opened\n", name);
        OptimFROG_destroyInstance(decoder);
        return false;
    }
    OptimFROG_Info info{};
    OptimFROG_getInfo(decoder, &info);
    uint8_t header[OPTIMFROG_HEADER_SIZE];
    OptimFROG_readHead(decoder, header, sizeof header);
    uint64_t hash = fnv1a(0xCBF29CE484222325ull, header, sizeof header);
    std::vector<uint8_t> buffer(4096 * info.blockAlign);
    int64_t points = 0;
    for (int32_t n; (n = OptimFROG_read(decoder, buffer.data(), 4096, 1)) > 0;) {
        hash = fnv1a(hash, buffer.data(), static_cast<size_t>(n) * info.blockAlign);
        points += n;
    }
    const bool md5 = OptimFROG_close(decoder) != 0;
    OptimFROG_destroyInstance(decoder);
    std::printf("%s channels=%u rate=%u bits=%u points=%" PRId64 "/%" PRId64 " wav=%016" PRIx64
                " md5=%s\n",
                name, info.channels, info.samplerate, info.bitspersample, points, info.noPoints,
                hash, md5 ? "ok" : "MISMATCH");
    return md5 && points == info.noPoints;
}

} // namespace

int main(int argc, char **argv) {
    bool ok = argc > 1;
    for (int i = 1; i < argc; ++i) {
        ok = decode(argv[i]) && ok;
    }
    return ok ? 0 : 1;
}
