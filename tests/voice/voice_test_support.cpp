// Helpers for the voice tests that run the program's window (see voice_test_support.h).
#include "voice_test_support.h"

#include "wave_writer.h"

#include <cstdint>
#include <cstring>
#include <fstream>
#include <iterator>

namespace voice_test {

const std::vector<std::string> &clipNames() {
    static const std::vector<std::string> names = {
        "0ru", "1ru", "2ru", "3ru", "4ru", "5ru", "6ru", "7ru", "8ru", "9ru", "0en",
        "1en", "2en", "3en", "4en", "5en", "6en", "7en", "8en", "9en", "tone"};
    return names;
}

IDirectSoundBuffer *&clipSlot(int order) {
    if (order < 10) {
        return app.clipRu[order];
    }
    if (order < 20) {
        return app.clipEn[order - 10];
    }
    return app.clipTone;
}

void copyClips(const std::filesystem::path &folder, const std::string &except) {
    std::filesystem::create_directories(folder / "Data");
    for (const std::string &name : clipNames()) {
        if (name != except) {
            std::filesystem::copy_file(sourceDir() / "Data" / (name + ".vcl"),
                                       folder / "Data" / (name + ".vcl"),
                                       std::filesystem::copy_options::overwrite_existing);
        }
    }
}

Pcm readPcm(const std::filesystem::path &wav) {
    std::ifstream in(wav, std::ios::binary);
    const std::vector<unsigned char> file((std::istreambuf_iterator<char>(in)),
                                          std::istreambuf_iterator<char>());
    Pcm pcm;
    if (file.size() < 12 || std::memcmp(file.data(), "RIFF", 4) != 0) {
        return pcm;
    }
    auto le = [&](size_t at, int bytes) {
        uint32_t v = 0;
        for (int i = bytes - 1; i >= 0; --i) {
            v = v << 8 | file[at + static_cast<size_t>(i)];
        }
        return v;
    };
    size_t pos = 12;
    while (pos + 8 <= file.size()) {
        const size_t size = le(pos + 4, 4);
        if (std::memcmp(&file[pos], "fmt ", 4) == 0 && pos + 24 <= file.size()) {
            pcm.channels = static_cast<int>(le(pos + 10, 2));
            pcm.rate = static_cast<int>(le(pos + 12, 4));
            pcm.bits = static_cast<int>(le(pos + 22, 2));
        } else if (std::memcmp(&file[pos], "data", 4) == 0) {
            const size_t end = std::min(file.size(), pos + 8 + size);
            pcm.data.assign(file.begin() + static_cast<ptrdiff_t>(pos + 8),
                            file.begin() + static_cast<ptrdiff_t>(end));
        }
        pos += 8 + size + (size & 1);
    }
    return pcm;
}

} // namespace voice_test
