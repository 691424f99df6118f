#include "platform/path.h"

#include "platform/code_page.h"

namespace ordinalette::platform {

namespace {

// What separates the folders of a path: Windows takes a slash as well as a backslash.
#ifdef _WIN32
constexpr std::string_view kSeparators = "\\/";
#else
constexpr std::string_view kSeparators = "/";
#endif

} // namespace

std::string joinPath(std::string_view folder, std::string_view name) {
    std::string path;
    path.reserve(folder.size() + 1 + name.size());
    path.append(folder).append(1, kPathSeparator).append(name);
    return path;
}

std::optional<std::string> parentFolder(std::string_view path) {
    // Character by character: in a double-byte code page a trail byte can be a backslash.
    const std::size_t separator = CodePage::system().findLastOf(path, kSeparators);
    if (separator == std::string_view::npos || separator + 1 == path.size())
        return std::nullopt;
    std::string parent(path.substr(0, separator));
    if (parent.empty() || parent.back() == ':')
        parent += kPathSeparator; // "/" or "C:\"
    return parent;
}

} // namespace ordinalette::platform
