#pragma once

#include <filesystem>

namespace ordinalette::testsupport {

// Puts the process's working directory back, for tests of code that changes it.
class WorkingDirectoryGuard {
public:
    WorkingDirectoryGuard() : m_saved(std::filesystem::current_path()) {}
    ~WorkingDirectoryGuard() {
        std::error_code ignored;
        std::filesystem::current_path(m_saved, ignored);
    }
    WorkingDirectoryGuard(const WorkingDirectoryGuard&) = delete;
    WorkingDirectoryGuard& operator=(const WorkingDirectoryGuard&) = delete;

private:
    std::filesystem::path m_saved;
};

} // namespace ordinalette::testsupport
