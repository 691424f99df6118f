#pragma once

#include <string>
#include <vector>

namespace ordinalette::testsupport {

// A fresh folder under the system's temporary directory, removed with everything in it when
// the object goes. Paths are byte strings, as everywhere in the program.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::string& path() const { return m_path; }
    // path() joined with a relative name.
    std::string operator/(const std::string& name) const;

    // Creates (or replaces) a file holding the given bytes; intermediate folders must exist.
    void writeFile(const std::string& name, const std::string& content = {}) const;
    void makeDir(const std::string& name) const;
    std::string readFile(const std::string& name) const;
    bool exists(const std::string& name) const;
    // Names of the entries directly inside the folder (or a subfolder), sorted by bytes.
    std::vector<std::string> entries(const std::string& subfolder = {}) const;

private:
    std::string m_path;
};

} // namespace ordinalette::testsupport
