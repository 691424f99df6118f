#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace ordinalette::platform {

// The separator between the folders of a path.
#ifdef _WIN32
inline constexpr char kPathSeparator = '\\';
#else
inline constexpr char kPathSeparator = '/';
#endif

// The longest path that the platform's file operations take: PATH_MAX on Linux and MAX_PATH on
// Windows (the limit of the ANSI functions), each less its terminating zero. No file name of
// any file system can be longer.
#ifdef _WIN32
inline constexpr int kMaxPathLength = 259;
#else
inline constexpr int kMaxPathLength = 4095;
#endif

// folder + separator + name: exactly one separator inserted, whatever folder ends in.
std::string joinPath(std::string_view folder, std::string_view name);

// The folder that holds the entry at path ("/" or "C:\\" for one in a root); nullopt for a root
// or a bare name.
std::optional<std::string> parentFolder(std::string_view path);

} // namespace ordinalette::platform
