#pragma once

#include <string>

namespace ordinalette::foldertree {

// The label of the volume in a drive ("D:") as its file system holds it; empty when it has none
// or cannot be read. A drive without media shows no box of the system about it.
std::string volumeLabel(const std::string& driveName);

} // namespace ordinalette::foldertree
