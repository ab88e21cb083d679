// Fuzz target for the clip decoder library: the input is written to a temporary file, opened,
// its record and header read, all of its points read in pieces of varying size and in both
// formats with a bounded number of calls, then closed. Any broken promise of OptimFROG.h
// (a count out of range, more points than the record announced, a read after the end that is
// not 0, a header that disagrees with the record) aborts; the sanitizers catch the rest,
// including a read that writes past the exactly sized buffer.
#include "OptimFROG.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#if defined(_WIN32)
#include <process.h>
#define FUZZ_GETPID _getpid
#else
#include <unistd.h>
#define FUZZ_GETPID getpid
#endif

namespace {

// The input file's name, made once. Kept in a plain array, which has no destructor, so the
// exit handler that removes the file can still read it.
const char *inputPath() {
    static char path[1024] = {};
    if (path[0] == '\0') {
        const std::string p = (std::filesystem::temp_directory_path() /
                               ("vintorel_fuzz_clip_" + std::to_string(FUZZ_GETPID()) + ".vcl"))
                                  .string();
        std::snprintf(path, sizeof path, "%s", p.c_str());
        std::atexit([] { std::remove(inputPath()); });
    }
    return path;
}

void check(bool condition, const char *what) {
    if (!condition) {
        std::fprintf(stderr, "fuzz_clipdecoder: %s\n", what);
        std::abort();
    }
}

uint32_t le32(const uint8_t *p) {
    return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) |
           (static_cast<uint32_t>(p[2]) << 16) | (static_cast<uint32_t>(p[3]) << 24);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    const char *path = inputPath();
    FILE *file = std::fopen(path, "wb");
    if (file == nullptr) {
        return 0;
    }
    if (size > 0) {
        std::fwrite(data, 1, size, file);
    }
    std::fclose(file);

    void *instance = OptimFROG_createInstance();
    if (instance == nullptr) {
        return 0;
    }
    const condBOOL md5 = (size > 0 && (data[size - 1] & 1u)) ? 1 : 0;
    if (OptimFROG_open(instance, path, md5)) {
        OptimFROG_Info info;
        check(OptimFROG_getInfo(instance, &info) != 0, "getInfo failed on an open clip");
        check(info.channels >= 1 && info.channels <= 8, "channels out of range");
        check(info.bitspersample == 8 || info.bitspersample == 16 || info.bitspersample == 24,
              "bits per sample out of range");
        check(info.noPoints >= 0, "negative number of points");
        const uint32_t blockAlign = info.channels * (info.bitspersample / 8);
        check(info.blockAlign == blockAlign, "block align");
        check(static_cast<uint64_t>(info.originalSize) ==
                  44u + static_cast<uint64_t>(info.noPoints) * blockAlign,
              "uncompressed size is not 44 + PCM bytes");
        uint8_t head[44];
        check(OptimFROG_readHead(instance, nullptr, 0) == 44, "header size");
        check(OptimFROG_readHead(instance, head, sizeof head) == 44, "header copy");
        check(std::memcmp(head, "RIFF", 4) == 0 && le32(head + 4) == info.originalSize - 8 &&
                  le32(head + 40) == info.originalSize - 44,
              "header disagrees with the record");

        static const int32_t pieces[] = {1, 7, 4096, 333, 2, 1500, 65, 4095};
        int64_t total = 0;
        bool ended = false;
        for (int call = 0; call < 48 && !ended; ++call) {
            const int32_t want = pieces[call % 8];
            const bool wavFormat = call % 3 != 2;
            const size_t pointBytes = wavFormat ? blockAlign : info.channels * 4u;
            std::vector<uint8_t> buffer(static_cast<size_t>(want) * pointBytes);
            const int32_t got = OptimFROG_read(instance, buffer.data(), want, wavFormat ? 1 : 0);
            check(got >= 0 && got <= want, "read count out of range");
            total += got;
            check(total <= info.noPoints, "more points than the record announced");
            if (got == 0) {
                check(OptimFROG_read(instance, buffer.data(), want, 1) == 0,
                      "a read after the end did not return 0");
                ended = true;
            }
        }
        OptimFROG_close(instance);
    }
    OptimFROG_destroyInstance(instance);
    return 0;
}
