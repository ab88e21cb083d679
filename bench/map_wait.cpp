// Start-up time to a mapped window: starts the given program and prints the milliseconds from
// just before exec until the X server maps its first top-level window (a MapNotify on the
// root window), then ends the program. Usage: map_wait PROGRAM [ARGUMENT...]
#include <X11/Xlib.h>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <sys/wait.h>
#include <unistd.h>

int main(int argc, char **argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: map_wait PROGRAM [ARGUMENT...]\n");
        return 2;
    }
    Display *display = XOpenDisplay(nullptr);
    if (!display) {
        std::fprintf(stderr, "map_wait: no X display\n");
        return 2;
    }
    XSelectInput(display, DefaultRootWindow(display), SubstructureNotifyMask);
    XSync(display, False);
    const auto start = std::chrono::steady_clock::now();
    const pid_t child = fork();
    if (child == 0) {
        execvp(argv[1], argv + 1);
        _exit(127);
    }
    int status = 0;
    for (;;) {
        while (XPending(display) == 0) {
            if (waitpid(child, &status, WNOHANG) == child) {
                std::fprintf(stderr, "map_wait: %s ended without a window\n", argv[1]);
                return 1;
            }
            usleep(200);
        }
        XEvent event;
        XNextEvent(display, &event);
        if (event.type == MapNotify && !event.xmap.override_redirect) {
            break;
        }
    }
    const auto elapsed = std::chrono::steady_clock::now() - start;
    std::printf("%.1f\n", std::chrono::duration<double, std::milli>(elapsed).count());
    kill(child, SIGTERM);
    waitpid(child, &status, 0);
    XCloseDisplay(display);
    return 0;
}
