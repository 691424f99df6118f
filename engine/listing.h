#pragma once

#include "platform/file_system.h"
#include "platform/text_services.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace ordinalette::engine {

// The files of a folder that a run renames, in the order of their serial numbers: every entry
// matching the mask that is not hidden, "system" or a folder, sorted without regard to case by
// the collator, names equal but for case ordered by their bytes. An empty folder path (a place
// without a file-system path) and a folder that cannot be read list nothing.
std::vector<std::string> listFiles(platform::FileSystem& fileSystem, std::string_view folderPath,
                                   std::string_view mask, const platform::TextCollator& collator);

// The count of the status bar: "0File", "1File", "2Files", ...
std::string countText(std::size_t count);

} // namespace ordinalette::engine
