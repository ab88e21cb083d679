// What a running process costs over a while: CPU time and wake-ups (voluntary and involuntary
// context switches) summed over all its threads, the main thread's CPU time, and its resident
// memory at the end. Threads come and go (OpenAL Soft's mixer runs only while a sound plays), so
// every thread is sampled every 10 ms and its growth added up; a thread that ends between two
// samples loses at most its last 10 ms.
// Usage: proc_sample PID SECONDS; prints "cpu_ms N wakeups N main_cpu_ms N rss_kb N".
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <thread>

namespace {

struct ThreadCount {
    unsigned long long cpuNs = 0;
    unsigned long long switches = 0;
};

bool readThread(const std::filesystem::path &task, ThreadCount &count) {
    std::ifstream schedstat(task / "schedstat");
    if (!(schedstat >> count.cpuNs)) {
        return false;
    }
    std::ifstream status(task / "status");
    std::string line;
    count.switches = 0;
    while (std::getline(status, line)) {
        if (line.rfind("voluntary_ctxt_switches:", 0) == 0 ||
            line.rfind("nonvoluntary_ctxt_switches:", 0) == 0) {
            count.switches += std::strtoull(line.substr(line.find(':') + 1).c_str(), nullptr, 10);
        }
    }
    return true;
}

long rssKb(const std::string &pid) {
    std::ifstream status("/proc/" + pid + "/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("VmRSS:", 0) == 0) {
            return std::strtol(line.substr(6).c_str(), nullptr, 10);
        }
    }
    return 0;
}

} // namespace

int main(int argc, char **argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: proc_sample PID SECONDS\n");
        return 2;
    }
    const std::string pid = argv[1];
    const auto tasks = std::filesystem::path("/proc") / pid / "task";
    const auto end =
        std::chrono::steady_clock::now() + std::chrono::duration<double>(std::atof(argv[2]));
    std::map<std::string, ThreadCount> last;
    unsigned long long cpuNs = 0;
    unsigned long long switches = 0;
    unsigned long long mainNs = 0;
    bool first = true;
    for (;;) {
        std::error_code error;
        for (const auto &task : std::filesystem::directory_iterator(tasks, error)) {
            ThreadCount now;
            if (!readThread(task.path(), now)) {
                continue;
            }
            const std::string tid = task.path().filename();
            const auto seen = last.find(tid);
            if (seen != last.end()) {
                cpuNs += now.cpuNs - seen->second.cpuNs;
                switches += now.switches - seen->second.switches;
                if (tid == pid) {
                    mainNs += now.cpuNs - seen->second.cpuNs;
                }
            } else if (!first) { // born since the last sample: all of it is in the window
                cpuNs += now.cpuNs;
                switches += now.switches;
            }
            last[tid] = now;
        }
        if (error) {
            std::fprintf(stderr, "proc_sample: process %s is gone\n", pid.c_str());
            return 1;
        }
        first = false;
        if (std::chrono::steady_clock::now() >= end) {
            break;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    std::printf("cpu_ms %.3f wakeups %llu main_cpu_ms %.3f rss_kb %ld\n", cpuNs / 1e6, switches,
                mainNs / 1e6, rssKb(pid));
    return 0;
}
