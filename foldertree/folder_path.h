#pragma once

#include <string_view>

namespace ordinalette::foldertree {

// Whether path is folder itself or lies below it: folder followed by a path separator and more,
// whole components only. A root ("/", "C:\") ends in its separator already.
bool isAtOrBelow(std::string_view path, std::string_view folder);

} // namespace ordinalette::foldertree
