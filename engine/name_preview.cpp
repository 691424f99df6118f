#include "engine/name_preview.h"

#include "engine/in_out_error.h"
#include "platform/file_name.h"
#include "platform/path.h"

#include <algorithm>
#include <functional>
#include <unordered_set>
#include <utility>

namespace ordinalette::engine {

namespace {

// The listed names, found by their hash: one sorted array instead of a node per name, since a
// list may hold a hundred thousand names and the preview must open at once.
class ListedNames {
public:
    explicit ListedNames(std::span<const std::string> names) : m_names(names) {
        m_byHash.reserve(names.size());
        for (std::size_t i = 0; i < names.size(); ++i)
            m_byHash.emplace_back(hash(names[i]), i);
        std::sort(m_byHash.begin(), m_byHash.end());
    }

    bool contains(std::string_view name) const {
        const std::size_t wanted = hash(name);
        for (auto it = std::lower_bound(m_byHash.begin(), m_byHash.end(), Entry{wanted, 0});
             it != m_byHash.end() && it->first == wanted; ++it) {
            if (m_names[it->second] == name)
                return true;
        }
        return false;
    }

private:
    using Entry = std::pair<std::size_t, std::size_t>; // hash of a name, its index
    static std::size_t hash(std::string_view name) { return std::hash<std::string_view>{}(name); }

    std::span<const std::string> m_names;
    std::vector<Entry> m_byHash;
};

// The names, in the file system's own form, of the folder's entries that are not listed: files
// of other types, hidden and "system" entries, folders. One enumeration, no query per entry.
std::unordered_set<std::string> unlistedEntryNames(platform::FileSystem& fileSystem,
                                                   std::string_view folderPath,
                                                   std::span<const std::string> names) {
    const ListedNames listed(names);
    std::unordered_set<std::string> unlisted;
    const int error =
        fileSystem.enumerate(platform::joinPath(folderPath, "*"),
                             platform::EnumerationFilter{platform::Attribute::None, false},
                             [&](const platform::DirectoryEntry& entry) {
                                 if (!listed.contains(entry.name))
                                     unlisted.insert(platform::fileNameIdentity(entry.name));
                             });
    if (error != platform::error::None)
        throw EInOutError(error);
    return unlisted;
}

NameMark markOf(platform::FileNameFault fault) {
    switch (fault) {
    case platform::FileNameFault::Invalid:
        return NameMark::InvalidName;
    case platform::FileNameFault::TooLong:
        return NameMark::TooLong;
    case platform::FileNameFault::None:
        break;
    }
    return NameMark::None;
}

} // namespace

std::vector<PreviewedName>
previewNewNames(platform::FileSystem& fileSystem, std::string_view folderPath,
                std::span<const std::string> names, std::string_view prefix, int width,
                ExtensionCase extensionCase, const platform::CodePage& codePage) {
    if (names.empty())
        return {};
    const std::unordered_set<std::string> unlisted =
        unlistedEntryNames(fileSystem, folderPath, names);
    const platform::FileNameRules rules(folderPath);
    std::vector<PreviewedName> previews;
    previews.reserve(names.size());
    for (std::size_t i = 0; i < names.size(); ++i) {
        PreviewedName& preview = previews.emplace_back();
        preview.name = newFileName(prefix, static_cast<std::int64_t>(i) + 1, width, names[i],
                                   extensionCase, codePage);
        preview.mark = markOf(rules.check(preview.name));
        if (preview.mark == NameMark::None && !unlisted.empty() &&
            unlisted.contains(platform::fileNameIdentity(preview.name)))
            preview.mark = NameMark::Taken;
    }
    return previews;
}

} // namespace ordinalette::engine
