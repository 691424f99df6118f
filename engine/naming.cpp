#include "engine/naming.h"

#include "platform/path.h"
#include "platform/text_services.h"

#include <algorithm>

namespace ordinalette::engine {

ExtensionCase extensionCaseFromIndex(int itemIndex) {
    switch (itemIndex) {
    case 0:
        return ExtensionCase::Lower;
    case 1:
        return ExtensionCase::Upper;
    default:
        return ExtensionCase::Unchanged;
    }
}

std::int32_t digitCount(std::int64_t count) {
    std::int32_t digits = 0;
    for (; count >= 1; count /= 10)
        ++digits;
    return digits;
}

std::string folderOwnName(std::string_view folderPath, const platform::CodePage& codePage) {
    const std::size_t separator =
        codePage.findLastOf(folderPath, std::string_view(&platform::kPathSeparator, 1));
    if (separator == std::string_view::npos)
        return std::string(folderPath);
    return std::string(folderPath.substr(separator + 1));
}

std::string namePrefix(std::string_view folderPath, int folderCharacters,
                       std::string_view separator, const platform::CodePage& codePage) {
    const std::string ownName = folderOwnName(folderPath, codePage);
    std::string prefix = ownName.substr(0, codePage.prefixLength(ownName, folderCharacters));
    prefix += separator;
    return prefix;
}

std::string fileExtension(std::string_view fileName, const platform::CodePage& codePage) {
    const char delimiters[] = {'.', platform::kPathSeparator};
    const std::size_t found =
        codePage.findLastOf(fileName, std::string_view(delimiters, sizeof delimiters));
    if (found == std::string_view::npos || fileName[found] != '.')
        return {};
    return std::string(fileName.substr(found));
}

std::string serialText(std::int64_t serial, int width) {
    std::string digits = std::to_string(serial);
    // A width past any path's length pads to one digit more than the longest path: the name is
    // still one that no file system takes, but no text of a billion zeros is built.
    const int padded = std::min(width, platform::kMaxPathLength + 1);
    if (padded > static_cast<int>(digits.size()))
        digits.insert(0, static_cast<std::size_t>(padded) - digits.size(), '0');
    return digits;
}

std::string newFileName(std::string_view prefix, std::int64_t serial, int width,
                        std::string_view oldName, ExtensionCase extensionCase,
                        const platform::CodePage& codePage) {
    std::string extension = fileExtension(oldName, codePage);
    if (extensionCase == ExtensionCase::Lower)
        extension = platform::toLowerCase(extension, codePage);
    else if (extensionCase == ExtensionCase::Upper)
        extension = platform::toUpperCase(extension, codePage);
    std::string name(prefix);
    name += serialText(serial, width);
    name += extension;
    return name;
}

std::string renameExample(std::string_view prefix, int width, std::span<const std::string> names,
                          ExtensionCase extensionCase, const platform::CodePage& codePage) {
    if (names.empty())
        return {};
    return newFileName(prefix, 1, width, names.front(), extensionCase, codePage);
}

} // namespace ordinalette::engine
