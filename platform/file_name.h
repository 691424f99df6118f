#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace ordinalette::platform {

// Whether a name names one entry inside its folder: not empty, neither "." nor "..", holding no
// zero byte (which would cut it short) and no path separator (on Windows either slash, found
// character by character so that a trail byte is none).
bool isSingleFileName(std::string_view name);

// The form under which the file system tells names apart, so that two names of one form cannot
// both stand in a folder: the name itself on POSIX; on Windows, whose file systems ignore letter
// case, the name in upper case.
std::string fileNameIdentity(std::string_view name);

// Why a new entry of a folder cannot take a name.
enum class FileNameFault {
    None,
    Invalid, // no single name, or holding what the file system refuses in a name
    TooLong, // longer than the folder's file system takes
};

// What the file system of one folder takes as the name of a new entry. Its limit is read once,
// so that checking the names of a whole run asks the file system nothing more.
class FileNameRules {
public:
    explicit FileNameRules(std::string_view folderPath);

    FileNameFault check(std::string_view name) const;

private:
    // Bytes on POSIX; characters on Windows, where the folder's path counts against it as well.
    std::size_t m_maxNameLength;
};

} // namespace ordinalette::platform
