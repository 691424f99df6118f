#pragma once

#include <string>
#include <string_view>

namespace ordinalette::platform {

// The separator between the folders of a path.
#ifdef _WIN32
inline constexpr char pathSeparator = '\\';
#else
inline constexpr char pathSeparator = '/';
#endif

// The longest file name that the file systems take: 255 bytes on Linux (NAME_MAX), 255
// characters on Windows. Nothing longer can be given to a file.
inline constexpr int maxFileNameLength = 255;

// folder + separator + name: exactly one separator inserted, whatever folder ends in.
std::string joinPath(std::string_view folder, std::string_view name);

} // namespace ordinalette::platform
