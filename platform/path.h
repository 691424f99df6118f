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

// folder + separator + name: exactly one separator inserted, whatever folder ends in.
std::string joinPath(std::string_view folder, std::string_view name);

} // namespace ordinalette::platform
