#include "engine/listing.h"

#include "platform/path.h"

#include <algorithm>

namespace ordinalette::engine {

std::vector<std::string> listFiles(platform::FileSystem& fileSystem, std::string_view folderPath,
                                   std::string_view mask, const platform::TextCollator& collator) {
    if (folderPath.empty())
        return {};
    using enum platform::Attribute;
    const platform::EnumerationFilter filter{Hidden | System | VolumeLabel | Directory, false};
    // Each name is sorted as its collation key, a zero byte and the name itself: keys hold no
    // zero byte, so one byte comparison orders by key and, for equal keys, by the name's bytes.
    // The order then never depends on the order in which the file system returned the names,
    // and the key is computed once per name rather than at every comparison.
    std::vector<std::string> sortable;
    // A folder that cannot be opened simply lists nothing: the error is not the user's concern.
    fileSystem.enumerate(
        platform::joinPath(folderPath, mask), filter, [&](const platform::DirectoryEntry& entry) {
            std::string& item = sortable.emplace_back(collator.sortKey(entry.name));
            item += '\0';
            item += entry.name;
        });
    std::sort(sortable.begin(), sortable.end());
    std::vector<std::string> names;
    names.reserve(sortable.size());
    for (std::string& item : sortable) {
        item.erase(0, item.find('\0') + 1);
        names.push_back(std::move(item));
    }
    return names;
}

std::string countText(std::size_t count) {
    return std::to_string(count) + (count < 2 ? "File" : "Files");
}

} // namespace ordinalette::engine
