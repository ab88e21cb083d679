// Points OpenAL Soft at its wave writer for this test process (or at a backend that does not
// exist), before the first sound device is opened: OpenAL reads its configuration only once.
#pragma once

#include <filesystem>

namespace voice_test {

// Sets ALSOFT_CONF/ALSOFT_DRIVERS so that what is played goes into a WAV file; returns it.
std::filesystem::path useWaveWriter();
// Sets ALSOFT_DRIVERS to a backend name that does not exist: no output device.
void useNoOutputDevice();

// Folder of the repository (for Data/*.vcl and the clips' source WAVs).
std::filesystem::path sourceDir();

} // namespace voice_test
