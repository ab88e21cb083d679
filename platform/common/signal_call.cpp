// callOnSignal (see signal_call.h): one pipe per signal, read by a QSocketNotifier.
#include "common/signal_call.h"

#include <QCoreApplication>
#include <QSocketNotifier>

#include <array>
#include <csignal>
#include <fcntl.h>
#include <unistd.h>

namespace {

std::array<int, NSIG> g_wakeFds = [] {
    std::array<int, NSIG> fds{};
    fds.fill(-1);
    return fds;
}();

void onSignal(int signal) {
    const char byte = 1;
    [[maybe_unused]] const ssize_t written = write(g_wakeFds[signal], &byte, 1);
}

} // namespace

namespace vintorel::common {

bool callOnSignal(int signal, std::function<void()> function) {
    int fds[2];
    if (signal <= 0 || signal >= NSIG || g_wakeFds[signal] >= 0 ||
        pipe2(fds, O_CLOEXEC | O_NONBLOCK) != 0) {
        return false;
    }
    g_wakeFds[signal] = fds[1];
    auto *notifier = new QSocketNotifier(fds[0], QSocketNotifier::Read, qApp);
    QObject::connect(notifier, &QSocketNotifier::activated, notifier,
                     [fd = fds[0], function = std::move(function)] {
                         char drained[64];
                         while (read(fd, drained, sizeof drained) > 0) {
                         }
                         function();
                     });
    struct sigaction action {};
    action.sa_handler = onSignal;
    action.sa_flags = SA_RESTART;
    sigaction(signal, &action, nullptr);
    return true;
}

} // namespace vintorel::common
