// The floor for CPU and wake-ups: a program that wakes every 600 ms, like the poll timer, and
// does nothing else. Runs until it is killed.
#include <ctime>

int main() {
    timespec next{};
    clock_gettime(CLOCK_MONOTONIC, &next);
    for (;;) {
        next.tv_nsec += 600'000'000L;
        if (next.tv_nsec >= 1'000'000'000L) {
            next.tv_nsec -= 1'000'000'000L;
            ++next.tv_sec;
        }
        clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &next, nullptr);
    }
}
