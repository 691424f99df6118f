// Starts the program and a bare Qt Widgets window (bare_window) in turns on a virtual display
// of its own and times each from its exec to its window being mapped, as the X server reports
// the mapping, with the memory the process holds at that moment. Each is started in an empty
// working directory with a journal folder of its own. Needs Xvfb (scripts/install-deps display).
#include "bench/bench_support.h"

#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <poll.h>
#include <stdexcept>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>
#include <xcb/xcb.h>

namespace {

constexpr int kPairs = 5;

using Clock = std::chrono::steady_clock;

// A virtual display for as long as it lives.
class VirtualDisplay {
public:
    VirtualDisplay() {
        int pipeFds[2];
        if (pipe(pipeFds) != 0)
            throw std::runtime_error("pipe failed");
        m_pid = fork();
        if (m_pid == 0) {
            close(pipeFds[0]);
            const std::string fd = std::to_string(pipeFds[1]);
            execlp("Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-screen", "0", "1600x1200x24",
                   "-nolisten", "tcp", nullptr);
            _exit(127);
        }
        close(pipeFds[1]);
        // Xvfb writes the number of the display it took, then a line end, once it is ready.
        std::string number;
        char c = 0;
        while (read(pipeFds[0], &c, 1) == 1 && c != '\n')
            number += c;
        close(pipeFds[0]);
        if (number.empty())
            throw std::runtime_error("Xvfb did not start (scripts/install-deps display)");
        m_name = ":" + number;
    }
    ~VirtualDisplay() {
        kill(m_pid, SIGTERM);
        waitpid(m_pid, nullptr, 0);
    }
    VirtualDisplay(const VirtualDisplay&) = delete;
    VirtualDisplay& operator=(const VirtualDisplay&) = delete;

    const std::string& name() const { return m_name; }

private:
    pid_t m_pid;
    std::string m_name;
};

// A connection to the display that hears every top-level window being mapped.
class MapWatcher {
public:
    explicit MapWatcher(const std::string& display)
        : m_connection(xcb_connect(display.c_str(), nullptr)) {
        if (xcb_connection_has_error(m_connection))
            throw std::runtime_error("cannot connect to " + display);
        m_root = xcb_setup_roots_iterator(xcb_get_setup(m_connection)).data->root;
        const uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
        xcb_change_window_attributes(m_connection, m_root, XCB_CW_EVENT_MASK, &mask);
        xcb_flush(m_connection);
    }
    ~MapWatcher() { xcb_disconnect(m_connection); }
    MapWatcher(const MapWatcher&) = delete;
    MapWatcher& operator=(const MapWatcher&) = delete;

    // Waits until a window of the root is mapped.
    void waitForMap() {
        for (;;) {
            while (xcb_generic_event_t* event = xcb_poll_for_event(m_connection)) {
                const bool mapped = (event->response_type & 0x7f) == XCB_MAP_NOTIFY;
                std::free(event);
                if (mapped)
                    return;
            }
            pollfd descriptor{xcb_get_file_descriptor(m_connection), POLLIN, 0};
            poll(&descriptor, 1, -1);
            if (xcb_connection_has_error(m_connection))
                throw std::runtime_error("the display went away");
        }
    }

private:
    xcb_connection_t* m_connection;
    xcb_window_t m_root;
};

// Kilobytes of memory the process holds now.
double residentKilobytes(pid_t pid) {
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    std::string key;
    while (status >> key) {
        if (key == "VmRSS:") {
            double kilobytes = 0;
            status >> kilobytes;
            return kilobytes;
        }
    }
    return 0;
}

struct Start {
    double milliseconds;
    double kilobytes;
};

// Starts the program in a scratch folder and ends it once its window is mapped.
Start measureStart(const char* program, const std::string& display, const std::string& scratch,
                   MapWatcher& watcher) {
    const Clock::time_point before = Clock::now();
    const pid_t pid = fork();
    if (pid == 0) {
        setenv("DISPLAY", display.c_str(), 1);
        setenv("XDG_STATE_HOME", scratch.c_str(), 1);
        setenv("XDG_RUNTIME_DIR", scratch.c_str(), 1);
        unsetenv("WAYLAND_DISPLAY");
        if (chdir(scratch.c_str()) != 0)
            _exit(127);
        execl(program, program, "-platform", "xcb", nullptr);
        _exit(127);
    }
    watcher.waitForMap();
    const Start start{std::chrono::duration<double, std::milli>(Clock::now() - before).count(),
                      residentKilobytes(pid)};
    kill(pid, SIGKILL);
    waitpid(pid, nullptr, 0);
    return start;
}

} // namespace

int main() {
    char scratchTemplate[] = "/tmp/startup_bench.XXXXXX";
    const std::string scratch = mkdtemp(scratchTemplate);
    const VirtualDisplay display;
    MapWatcher watcher(display.name());
    std::vector<double> bareTimes, programTimes, bareMemory, programMemory;
    const auto measure = [&](const char* program, std::vector<double>& times,
                             std::vector<double>& memory) {
        const Start start = measureStart(program, display.name(), scratch, watcher);
        times.push_back(start.milliseconds);
        memory.push_back(start.kilobytes);
    };
    // One start of each to warm the caches, then the pairs.
    measure(ORDINALETTE_BARE_WINDOW, bareTimes, bareMemory);
    measure(ORDINALETTE_PROGRAM, programTimes, programMemory);
    bareTimes.clear(), programTimes.clear(), bareMemory.clear(), programMemory.clear();
    ordinalette::bench::takeTurns(
        kPairs, [&] { measure(ORDINALETTE_BARE_WINDOW, bareTimes, bareMemory); },
        [&] { measure(ORDINALETTE_PROGRAM, programTimes, programMemory); });
    std::filesystem::remove_all(scratch);

    using ordinalette::bench::median;
    const double bareTime = median(bareTimes), programTime = median(programTimes);
    const double bareKb = median(bareMemory), programKb = median(programMemory);
    std::printf("bare window: %.1f ms, %.1f MB; program: %.1f ms, %.1f MB (medians of %d)\n",
                bareTime, bareKb / 1024, programTime, programKb / 1024, kPairs);
    std::printf("RATIO startup %.2f\n", programTime / bareTime);
    std::printf("RATIO startup_memory %.2f\n", programKb / bareKb);
}
