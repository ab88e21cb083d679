// OpenAL Soft configuration for the voice tests (see wave_writer.h).
#include "wave_writer.h"

#include <cstdlib>
#include <fstream>
#include <string>
#include <unistd.h>

namespace voice_test {
namespace {

// Removes the capture folder when the test process ends.
struct CaptureFolder {
    std::filesystem::path path;
    ~CaptureFolder() {
        std::error_code ignored;
        if (!path.empty()) {
            std::filesystem::remove_all(path, ignored);
        }
    }
};
// A function's static, so that it exists when another file's static initializer asks for it.
CaptureFolder &captureFolder() {
    static CaptureFolder folder;
    return folder;
}

} // namespace

std::filesystem::path useWaveWriter() {
    std::string pattern =
        (std::filesystem::temp_directory_path() / "vintorel-voice-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) {
        return {};
    }
    const std::filesystem::path dir = pattern;
    captureFolder().path = dir;
    const std::filesystem::path capture = dir / "capture.wav";
    std::ofstream(dir / "alsoft.conf")
        << "[general]\ndrivers = wave\n[wave]\nfile = " << capture.string() << "\n";
    setenv("ALSOFT_CONF", (dir / "alsoft.conf").c_str(), 1);
    setenv("ALSOFT_DRIVERS", "wave", 1);
    return capture;
}

void useNoOutputDevice() {
    setenv("ALSOFT_DRIVERS", "vintorel-no-such-backend", 1);
    setenv("ALSOFT_CONF", "/dev/null", 1);
}

std::filesystem::path sourceDir() {
    return VINTOREL_SOURCE_DIR;
}

} // namespace voice_test
