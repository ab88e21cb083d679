// Starting the platform in a process: one QApplication for the program's thread. The
// application never runs Qt's own event loop; GetMessageA drives it.
#include "vintorel_platform.h"

#include <QApplication>

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
}
