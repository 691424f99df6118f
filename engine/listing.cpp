#include "engine/listing.h"

#include "platform/list_order.h"
#include "platform/path.h"

namespace ordinalette::engine {

std::vector<std::string> listFiles(platform::FileSystem& fileSystem, std::string_view folderPath,
                                   std::string_view mask, const platform::TextCollator& collator) {
    if (folderPath.empty())
        return {};
    using enum platform::Attribute;
    const platform::EnumerationFilter filter{Hidden | System | VolumeLabel | Directory, false};
    std::vector<std::string> names;
    // A folder that cannot be opened simply lists nothing: the error is not the user's concern.
    static_cast<void>(fileSystem.enumerate(
        platform::joinPath(folderPath, mask), filter,
        [&](const platform::DirectoryEntry& entry) { names.emplace_back(entry.name); }));
    platform::sortInListOrder(names, collator);
    return names;
}

std::string countText(std::size_t count) {
    return std::to_string(count) + (count < 2 ? "File" : "Files");
}

} // namespace ordinalette::engine
