// Starting the platform in a process: one QApplication for the program's thread. The
// application never runs Qt's own event loop; GetMessageA drives it. The caret of edit boxes
// blinks at Windows' rate. Not done here: anything the program's windows need (fontconfig is
// left to load at the first text measured: loading it ahead on a second thread gained less than
// the noise of a start-up and kept its configuration alive past Qt's own clean-up).
#include "vintorel_platform.h"

#include <QApplication>

namespace {

// Windows' default caret blink time (GetCaretBlinkTime): on, then off, 530 ms each. Qt counts
// the whole cycle.
constexpr int kCaretCycleMs = 2 * 530;

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
    auto *app = new QApplication(*argc, argv);
    app->setApplicationName("Vintorel");
    app->setQuitOnLastWindowClosed(false);
    QApplication::setCursorFlashTime(kCaretCycleMs);
}
