// Helpers shared by the voice tests that run the program's window: the clip files copied into
// the working folder, the PCM of a clip's source WAV, and the clip slots by load order.
#pragma once

#include "app/app_state.h"

#include <filesystem>
#include <string>
#include <vector>

namespace voice_test {

// The 21 clip names in load order ("0ru" .. "9ru", "0en" .. "9en", "tone").
const std::vector<std::string> &clipNames();
// The slot that holds clip number `order` of the load order.
IDirectSoundBuffer *&clipSlot(int order);
// Copies Data/NAME.vcl of the repository into folder/Data, every clip except `except`.
void copyClips(const std::filesystem::path &folder, const std::string &except = "");

struct Pcm {
    int channels = 0;
    int rate = 0;
    int bits = 0;
    std::vector<unsigned char> data;
};
// The format and PCM bytes of a WAV file's "fmt " and "data" chunks; empty when unreadable.
Pcm readPcm(const std::filesystem::path &wav);

} // namespace voice_test
