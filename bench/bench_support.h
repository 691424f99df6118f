#pragma once

#include <chrono>
#include <functional>
#include <string>
#include <vector>

namespace ordinalette::bench {

// A fresh folder under the system's temporary directory, removed with its content at the end.
class ScratchFolder {
public:
    ScratchFolder();
    ~ScratchFolder();
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    const std::string& path() const { return m_path; }

private:
    std::string m_path;
};

// count file names of the kinds a photo folder holds: camera names in both letter cases,
// numbered names, Japanese names; the same names on every run.
std::vector<std::string> sampleFileNames(int count);

// Creates an empty file of every name in folder.
void createFiles(const std::string& folder, const std::vector<std::string>& names);

// Median wall time of runs calls of work, in milliseconds; prepare runs before each call,
// outside the measured time.
double medianMilliseconds(int runs, const std::function<void()>& work,
                          const std::function<void()>& prepare = {});

} // namespace ordinalette::bench
