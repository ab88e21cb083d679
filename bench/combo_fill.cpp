// Filling the satellite combo box: the time to add 1,000, 10,000 and 32,767 (the list's cap)
// strings to a combo box made as the program makes it (drop-down, 600-pixel extent), on Qt's
// offscreen display. Prints one "entries milliseconds" line per size, the median of 3 fills.
#include "vintorel_platform.h"

#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

double fillMilliseconds(HWND parent, int entries) {
    HWND combo = CreateWindowExA(0, "COMBOBOX", "",
                                 WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_HSCROLL | CBS_DROPDOWN, 10,
                                 56, 264, 100, parent, nullptr, GetModuleHandleA(nullptr), nullptr);
    SendMessageA(combo, CB_SETHORIZONTALEXTENT, 600, 0);
    std::vector<std::string> names;
    names.reserve(static_cast<size_t>(entries));
    for (int i = 0; i < entries; ++i) {
        names.push_back("Satellite " + std::to_string(i) + "   " + std::to_string(i % 180) + ".0e");
    }
    const auto start = std::chrono::steady_clock::now();
    for (const std::string &name : names) {
        SendMessageA(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name.c_str()));
    }
    const auto elapsed = std::chrono::steady_clock::now() - start;
    DestroyWindow(combo);
    return std::chrono::duration<double, std::milli>(elapsed).count();
}

} // namespace

int main(int argc, char **argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    VintorelPlatformStart(&argc, argv);
    HWND parent = CreateWindowExA(0, "STATIC", "bench", WS_DLGFRAME | WS_VISIBLE, 0, 0, 340, 169,
                                  nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    for (int entries : {1000, 10000, 32767}) {
        std::vector<double> runs;
        for (int run = 0; run < 3; ++run) {
            runs.push_back(fillMilliseconds(parent, entries));
        }
        std::sort(runs.begin(), runs.end());
        std::printf("%d %.1f\n", entries, runs[1]);
        std::fflush(stdout);
    }
    DestroyWindow(parent);
    return 0;
}
