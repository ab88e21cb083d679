// The object-count test hook (VintorelCountObjects) and its log for outside tools: with
// VINTOREL_OBJECT_COUNTS set to a file name, every SIGUSR2 appends one line of JSON with the
// counts and the milliseconds since the platform started, written by the program's own thread
// between messages. Not done: counting anything Qt, OpenAL Soft or the components hold on their
// own (a long run's memory and descriptor figures show those).
#include "common/object_counts.h"
#include "common/signal_call.h"
#include "vintorel_test_objects.h"

#include <QElapsedTimer>
#include <QFile>

#include <csignal>

namespace vintorel::start {
void startObjectCountLog();
} // namespace vintorel::start

namespace {

void appendCounts(const QString &path, qint64 ms) {
    VintorelObjectCounts c{};
    VintorelCountObjects(&c);
    const QString line = QStringLiteral("{\"ms\":%1,\"gdiObjects\":%2,\"windows\":%3,\"timers\":%4,"
                                        "\"soundBuffers\":%5,\"comObjects\":%6,\"openFiles\":%7}\n")
                             .arg(ms)
                             .arg(c.gdiObjects)
                             .arg(c.windows)
                             .arg(c.timers)
                             .arg(c.soundBuffers)
                             .arg(c.comObjects)
                             .arg(c.openFiles);
    QFile file(path);
    if (file.open(QIODevice::Append | QIODevice::Text)) {
        file.write(line.toUtf8());
    }
}

} // namespace

extern "C" void VintorelCountObjects(VintorelObjectCounts *counts) {
    if (counts == nullptr) {
        return;
    }
    using namespace vintorel;
    counts->gdiObjects = gdi32::liveObjectCount();
    counts->windows = user32::windowCount();
    counts->timers = user32::timerCount();
    counts->soundBuffers = dsound::soundBufferCount();
    counts->comObjects =
        dsound::deviceCount() + dsound::soundBufferCount() + ole32::comObjectCount();
    counts->openFiles = kernel32::openHandleCount();
}

namespace vintorel::start {

void startObjectCountLog() {
    const QString path = qEnvironmentVariable("VINTOREL_OBJECT_COUNTS");
    if (path.isEmpty()) {
        return;
    }
    static QElapsedTimer clock;
    clock.start();
    common::callOnSignal(SIGUSR2, [path] { appendCounts(path, clock.elapsed()); });
}

} // namespace vintorel::start
