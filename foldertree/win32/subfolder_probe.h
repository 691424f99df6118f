#pragma once

#include <string>

namespace ordinalette::foldertree {

// Whether the folder at path holds a folder of its own, hidden ones included; read up to the
// first one found.
bool holdsSubfolder(const std::string& path);

} // namespace ordinalette::foldertree
