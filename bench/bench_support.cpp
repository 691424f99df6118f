#include "bench/bench_support.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fcntl.h>
#include <random>
#include <stdexcept>
#include <unistd.h>
#include <utility>

namespace ordinalette::bench {

std::vector<std::string> sampleFileNames(int count) {
    static const char* const kJapanese[] = {"\xE5\x86\x99\xE7\x9C\x9F", "\xE6\x97\x85\xE8\xA1\x8C",
                                            "\xE3\x82\xA2\xE3\x83\xAB\xE3\x83\x90\xE3\x83\xA0"};
    std::vector<std::string> names;
    names.reserve(static_cast<std::size_t>(count));
    char buffer[64];
    for (int i = 0; i < count; ++i) {
        switch (i % 5) {
        case 0:
            std::snprintf(buffer, sizeof buffer, "IMG_%06d.JPG", i);
            break;
        case 1:
            std::snprintf(buffer, sizeof buffer, "dsc%06d.jpg", i);
            break;
        case 2:
            std::snprintf(buffer, sizeof buffer, "Photo (%d).png", i);
            break;
        case 3:
            std::snprintf(buffer, sizeof buffer, "%s_%d.jpg", kJapanese[i % 3], i);
            break;
        default:
            std::snprintf(buffer, sizeof buffer, "scan-%x.Tiff", i * 7919);
            break;
        }
        names.emplace_back(buffer);
    }
    // The file system's order should not come out of creation order.
    std::shuffle(names.begin(), names.end(), std::mt19937(12345));
    return names;
}

void createFiles(const std::string& folder, const std::vector<std::string>& names) {
    for (const std::string& name : names) {
        const int fd = open((folder + "/" + name).c_str(), O_WRONLY | O_CREAT | O_EXCL, 0644);
        if (fd < 0)
            throw std::runtime_error("cannot create " + name);
        close(fd);
    }
}

double millisecondsOf(const std::function<void()>& work) {
    const auto start = std::chrono::steady_clock::now();
    work();
    const auto end = std::chrono::steady_clock::now();
    return std::chrono::duration<double, std::milli>(end - start).count();
}

void takeTurns(int runs, const std::function<void()>& a, const std::function<void()>& b) {
    for (int run = 0; run < runs; ++run) {
        if (run % 2 == 0) {
            a();
            b();
        } else {
            b();
            a();
        }
    }
}

double median(std::vector<double> times) {
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

double medianMilliseconds(int runs, const std::function<void()>& work) {
    std::vector<double> times;
    for (int run = 0; run < runs; ++run)
        times.push_back(millisecondsOf(work));
    return median(std::move(times));
}

} // namespace ordinalette::bench
