#pragma once

#include <string>
#include <string_view>

namespace ordinalette::platform {

// The separator between the folders of a path.
inline constexpr char pathSeparator = '/';

// folder + separator + name: exactly one separator inserted, whatever folder ends in.
std::string joinPath(std::string_view folder, std::string_view name);

} // namespace ordinalette::platform
