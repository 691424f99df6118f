#include "foldertree/folder_path.h"

#include "platform/path.h"

namespace ordinalette::foldertree {

bool isAtOrBelow(std::string_view path, std::string_view folder) {
    if (path == folder)
        return true;
    if (folder.empty() || path.size() <= folder.size() || !path.starts_with(folder))
        return false;
    return folder.back() == platform::kPathSeparator ||
           path[folder.size()] == platform::kPathSeparator;
}

} // namespace ordinalette::foldertree
