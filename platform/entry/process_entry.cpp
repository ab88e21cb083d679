// The process entry on Linux: starts the platform (the Qt application), then calls the
// program's WinMain with the executable's instance, no previous instance, an empty command
// line and the normal show state, and returns its result as the exit code.
//
// The command line is the program's, which takes none: Qt gets only the program's name, so
// options such as -platform or -style among the arguments are not Qt's to take (Qt's
// environment variables still apply). Without a display Qt ends the process with qFatal, an
// abort and a core dump; here one line says that the display cannot be opened, with the X
// library's reason when it gave one, and the exit code is 1. What Qt and the libraries below it
// write while Qt starts is held back and shown only when it started.
// Not done: any reading of the arguments.
#include <windows.h>

#include "vintorel_platform.h"

#include <QByteArray>
#include <QString>
#include <QtGlobal>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include <unistd.h>

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous, LPSTR commandLine, int showCommand);

namespace {

struct HeldMessage {
    QtMsgType type;
    std::string file, function, category;
    int line;
    QString text;
};

// What is held back while Qt starts: its messages, and the standard error output, sent to a
// temporary file meanwhile (Xlib writes its reasons there directly).
struct Startup {
    std::vector<HeldMessage> messages;
    FILE *capture = nullptr;
    int standardError = -1; // the real one while it is redirected
};

Startup &startup() {
    static Startup state;
    return state;
}

std::string orEmpty(const char *text) {
    return text != nullptr ? text : "";
}

void holdStandardError() {
    Startup &s = startup();
    s.capture = std::tmpfile();
    s.standardError = s.capture != nullptr ? ::dup(STDERR_FILENO) : -1;
    if (s.standardError >= 0) {
        std::fflush(stderr);
        ::dup2(::fileno(s.capture), STDERR_FILENO);
    }
}

// Puts the real standard error back and returns what was written meanwhile.
std::string releaseStandardError() {
    Startup &s = startup();
    std::string held;
    if (s.standardError >= 0) {
        std::fflush(stderr);
        ::dup2(s.standardError, STDERR_FILENO);
        ::close(s.standardError);
        s.standardError = -1;
        char buffer[4096];
        ssize_t n = 0;
        for (off_t at = 0; (n = ::pread(::fileno(s.capture), buffer, sizeof buffer, at)) > 0;
             at += n) {
            held.append(buffer, static_cast<size_t>(n));
        }
    }
    if (s.capture != nullptr) {
        std::fclose(s.capture);
        s.capture = nullptr;
    }
    return held;
}

// The first line with text, for the reason a display was refused ("Authorization required").
std::string firstLine(const std::string &text) {
    size_t start = text.find_first_not_of(" \t\r\n");
    if (start == std::string::npos) {
        return {};
    }
    return text.substr(start, text.find_first_of("\r\n", start) - start);
}

// Qt's only fatal message while the application starts is that no platform (display) could be
// opened.
void startupMessage(QtMsgType type, const QMessageLogContext &context, const QString &text) {
    if (type != QtFatalMsg) {
        startup().messages.push_back({type, orEmpty(context.file), orEmpty(context.function),
                                      orEmpty(context.category), context.line, text});
        return;
    }
    const std::string reason = firstLine(releaseStandardError());
    const QByteArray platform = qgetenv("QT_QPA_PLATFORM");
    const QByteArray display = qgetenv("DISPLAY");
    std::string line = "vintorel: cannot open the display";
    if (!platform.isEmpty()) {
        line += " (Qt platform \"" + platform.toStdString() + "\")";
    } else if (!display.isEmpty()) {
        line += " \"" + display.toStdString() + "\"";
    } else {
        line += ": DISPLAY is not set";
    }
    if (!reason.empty()) {
        line += ": " + reason;
    }
    std::fprintf(stderr, "%s\n", line.c_str());
    std::fflush(nullptr);
    std::_Exit(1); // nothing is set up yet that an orderly exit would have to end
}

// Qt keeps argc and argv for the application's lifetime: static, like the process's own.
void startPlatform(char *programName) {
    static char fallbackName[] = "vintorel";
    static int qtArgc = 1;
    static char *qtArgv[] = {fallbackName, nullptr};
    if (programName != nullptr) {
        qtArgv[0] = programName;
    }

    const QtMessageHandler previous = qInstallMessageHandler(startupMessage);
    holdStandardError();
    VintorelPlatformStart(&qtArgc, qtArgv);
    const std::string written = releaseStandardError();
    qInstallMessageHandler(previous);
    std::fputs(written.c_str(), stderr);
    for (const HeldMessage &m : startup().messages) {
        const QMessageLogContext context(m.file.c_str(), m.line, m.function.c_str(),
                                         m.category.c_str());
        if (previous != nullptr) {
            previous(m.type, context, m.text);
        } else {
            std::fprintf(stderr, "%s\n",
                         qUtf8Printable(qFormatLogMessage(m.type, context, m.text)));
        }
    }
    startup().messages.clear();
}

} // namespace

int main(int argc, char **argv) {
    startPlatform(argc > 0 ? argv[0] : nullptr);
    char empty[] = "";
    return WinMain(GetModuleHandleA(nullptr), nullptr, empty, SW_SHOWNORMAL);
}
