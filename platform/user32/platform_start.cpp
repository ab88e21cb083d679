// Starting the platform in a process: one QApplication for the program's thread. The
// application never runs Qt's own event loop; GetMessageA drives it. Qt's font configuration
// (fontconfig, where Qt uses it) is loaded on a second thread while Qt starts, and the caret of
// edit boxes blinks at Windows' rate. Not done here: anything the program's windows need.
#include "vintorel_platform.h"

#include <QApplication>

#include <dlfcn.h>

#include <thread>

namespace {

// Windows' default caret blink time (GetCaretBlinkTime): on, then off, 530 ms each. Qt counts
// the whole cycle.
constexpr int kCaretCycleMs = 2 * 530;

// Qt's font database reads fontconfig's configuration and caches at the first text measured,
// in the middle of window creation. fontconfig's initialisation is thread-safe (since 2.11) and
// done once per process, so it can run beside Qt's own start-up; Qt then finds it done. Looked
// up at run time: Qt brings fontconfig into the process where it uses it, and nothing happens
// where it does not.
std::thread loadFontConfiguration() {
    using FcInit = int (*)();
    const auto init = reinterpret_cast<FcInit>(dlsym(RTLD_DEFAULT, "FcInit"));
    if (init == nullptr) {
        return {};
    }
    return std::thread([init] { init(); });
}

} // namespace

extern "C" void VintorelPlatformStart(int *argc, char **argv) {
    if (QCoreApplication::instance() != nullptr) {
        return;
    }
    static int fallbackArgc = 1;
    static char name[] = "vintorel";
    static char *fallbackArgv[] = {name, nullptr};
    if (argc == nullptr || argv == nullptr) {
        argc = &fallbackArgc;
        argv = fallbackArgv;
    }
    std::thread fonts = loadFontConfiguration();
    auto *app = new QApplication(*argc, argv);
    if (fonts.joinable()) {
        fonts.join(); // before the first text is measured, so that it is loaded only once
    }
    app->setApplicationName("Vintorel");
    app->setQuitOnLastWindowClosed(false);
    QApplication::setCursorFlashTime(kCaretCycleMs);
}
