#include "platform/file_name.h"

#include <climits>
#include <unistd.h>

namespace ordinalette::platform {

namespace {

// The longest name the folder's file system takes, in bytes; NAME_MAX when it does not say.
std::size_t maxNameLength(std::string_view folderPath) {
    if (folderPath.find('\0') != std::string_view::npos)
        return NAME_MAX;
    const long length = pathconf(std::string(folderPath).c_str(), _PC_NAME_MAX);
    return length > 0 ? static_cast<std::size_t>(length) : NAME_MAX;
}

} // namespace

bool isSingleFileName(std::string_view name) {
    return !name.empty() && name != "." && name != ".." &&
           name.find_first_of(std::string_view("/\0", 2)) == std::string_view::npos;
}

std::string fileNameIdentity(std::string_view name) {
    return std::string(name);
}

FileNameRules::FileNameRules(std::string_view folderPath)
    : m_maxNameLength(maxNameLength(folderPath)) {}

FileNameFault FileNameRules::check(std::string_view name) const {
    if (!isSingleFileName(name))
        return FileNameFault::Invalid;
    return name.size() > m_maxNameLength ? FileNameFault::TooLong : FileNameFault::None;
}

} // namespace ordinalette::platform
