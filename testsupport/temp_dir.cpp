#include "testsupport/temp_dir.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <stdexcept>

namespace ordinalette::testsupport {

namespace fs = std::filesystem;

TempDir::TempDir() {
    // create_directory fails on an existing name, so a fresh random name is ours alone.
    std::random_device random;
    for (int attempt = 0; attempt < 100; ++attempt) {
        const fs::path candidate =
            fs::temp_directory_path() / ("ordinalette-" + std::to_string(random()));
        std::error_code error;
        if (fs::create_directory(candidate, error)) {
            m_path = candidate.string();
            return;
        }
    }
    throw std::runtime_error("cannot create a temporary folder");
}

TempDir::~TempDir() {
    std::error_code ignored;
    // Tests may leave read-only folders behind; make them writable so removal succeeds.
    for (auto it = fs::recursive_directory_iterator(m_path, ignored);
         it != fs::recursive_directory_iterator(); it.increment(ignored)) {
        if (it->is_directory(ignored) && !it->is_symlink(ignored))
            fs::permissions(it->path(), fs::perms::owner_all, fs::perm_options::add, ignored);
    }
    fs::permissions(m_path, fs::perms::owner_all, fs::perm_options::add, ignored);
    fs::remove_all(m_path, ignored);
}

std::string TempDir::operator/(const std::string& name) const {
    return m_path + "/" + name;
}

void TempDir::writeFile(const std::string& name, const std::string& content) const {
    std::ofstream out(*this / name, std::ios::binary | std::ios::trunc);
    out << content;
    if (!out)
        throw std::runtime_error("cannot write " + name);
}

void TempDir::makeDir(const std::string& name) const {
    fs::create_directories(*this / name);
}

std::string TempDir::readFile(const std::string& name) const {
    std::ifstream in(*this / name, std::ios::binary);
    if (!in)
        throw std::runtime_error("cannot read " + name);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

bool TempDir::exists(const std::string& name) const {
    std::error_code ignored;
    return fs::symlink_status(*this / name, ignored).type() != fs::file_type::not_found;
}

std::vector<std::string> TempDir::entries(const std::string& subfolder) const {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(subfolder.empty() ? m_path : *this / subfolder))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

} // namespace ordinalette::testsupport
