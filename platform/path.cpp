#include "platform/path.h"

namespace ordinalette::platform {

std::string joinPath(std::string_view folder, std::string_view name) {
    std::string path;
    path.reserve(folder.size() + 1 + name.size());
    path.append(folder).append(1, kPathSeparator).append(name);
    return path;
}

} // namespace ordinalette::platform
