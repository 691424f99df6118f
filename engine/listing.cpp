#include "engine/listing.h"

#include "platform/path.h"

#include <algorithm>

namespace ordinalette::engine {

namespace {

struct SortedName {
    std::string key;
    std::string name;
};

} // namespace

std::vector<std::string> listFiles(platform::FileSystem& fileSystem, std::string_view folderPath,
                                   std::string_view mask, const platform::TextCollator& collator) {
    if (folderPath.empty())
        return {};
    using namespace platform::attribute;
    const platform::EnumerationFilter filter{Hidden | System | VolumeLabel | Directory, false};
    std::vector<SortedName> found;
    // A folder that cannot be opened simply lists nothing: the error is not the user's concern.
    fileSystem.enumerate(
        platform::joinPath(folderPath, mask), filter, [&](const platform::DirectoryEntry& entry) {
            found.push_back({collator.sortKey(entry.name), std::string(entry.name)});
        });
    // The collation key is computed once per name; equal keys fall back to the bytes so that
    // the order never depends on the order the file system returned the names in.
    std::sort(found.begin(), found.end(), [](const SortedName& a, const SortedName& b) {
        if (const int byKey = a.key.compare(b.key); byKey != 0)
            return byKey < 0;
        return a.name < b.name;
    });
    std::vector<std::string> names;
    names.reserve(found.size());
    for (SortedName& entry : found)
        names.push_back(std::move(entry.name));
    return names;
}

std::string countText(std::size_t count) {
    return std::to_string(count) + (count < 2 ? "File" : "Files");
}

} // namespace ordinalette::engine
