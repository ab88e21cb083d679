// Starting the platform in a process, what Windows' loader does before WinMain: one QApplication
// for the program's thread, comctl32's window classes (its DllMain on Windows), the in-process
// servers the system offers (inproc_servers.cpp, the registry on Windows). The
// application never runs Qt's own event loop; GetMessageA drives it. The caret of edit boxes
// blinks at Windows' rate; in a Wayland session with an X display, windows go to the X display;
// window images reach an X server over its socket rather than shared memory; the window list
// and the object-count log for outside tools are started when asked for (window_tree.cpp,
// object_counts.cpp). Not done here: anything the program's windows need (fontconfig is
// left to load at the first text measured: loading it ahead on a second thread gained less than
// the noise of a start-up and kept its configuration alive past Qt's own clean-up).
#include "vintorel_platform.h"

#include "comctl32/classes.h"

#include <QApplication>

namespace vintorel::user32 {
void startWindowTree(); // window_tree.cpp
} // namespace vintorel::user32
namespace vintorel::start {
void startObjectCountLog();   // object_counts.cpp
void registerInprocServers(); // inproc_servers.cpp
} // namespace vintorel::start

namespace {

// Windows' default caret blink time (GetCaretBlinkTime): on, then off, 530 ms each. Qt counts
// the whole cycle.
constexpr int kCaretCycleMs = 2 * 530;

// On X11, Qt hands the window image to the server through shared memory, and before painting
// into a region it sent that way it waits for a round trip to the server. A window that
// repaints a small readout in the same place every 600 ms pays that round trip (and a wake-up
// of Qt's X reader thread) on every paint, while sending the few changed pixels over the socket
// costs less. A user's own setting of the variable is kept.
void preferPlainImageTransfer() {
    if (!qEnvironmentVariableIsSet("QT_XCB_NO_MITSHM")) {
        qputenv("QT_XCB_NO_MITSHM", "1");
    }
}

// In a Wayland session that also offers an X display (XWayland), the program's windows go to
// the X display: there they keep what the program asks of them, as on Windows (a window placed
// where it says, such as the compact view moved to the screen's left; its frame and icon from
// the window manager), which a Wayland client is not allowed to ask for. Natively on Wayland only
// when there is no X display, or when the user chooses a platform with QT_QPA_PLATFORM
// (Qt's choice then, as outside a Wayland session, is left alone).
void preferXDisplay() {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") &&
        !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") &&
        !qEnvironmentVariableIsEmpty("DISPLAY")) {
        qputenv("QT_QPA_PLATFORM", "xcb;wayland");
    }
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
    preferPlainImageTransfer();
    preferXDisplay();
    auto *app = new QApplication(*argc, argv);
    app->setApplicationName("Vintorel");
    app->setQuitOnLastWindowClosed(false);
    QApplication::setCursorFlashTime(kCaretCycleMs);
    vintorel::comctl32::registerClasses();
    vintorel::start::registerInprocServers();
    vintorel::user32::startWindowTree();
    vintorel::start::startObjectCountLog();
}
