#pragma once

#include "platform/code_page.h"

#include <string>
#include <string_view>
#include <vector>

namespace ordinalette::form {

// One entry of a file-type filter: the text the user sees and the wildcard mask behind it.
struct FilterEntry {
    std::string text;
    std::string mask;
    bool operator==(const FilterEntry&) const = default;
};

// The filter a filter list holds before it is given one (UTF-8).
inline constexpr char kDefaultFilter[] = "すべてのファイル (*.*)|*.*";
// The mask of a filter list without entries.
inline constexpr char kAllFilesMask[] = "*.*";

// Splits a filter string "text|mask|text|mask..." into entries; a text with no mask after it
// is dropped. The search for "|" never takes the trail byte of a double-byte character.
std::vector<FilterEntry> parseFilterString(std::string_view filter,
                                           const platform::CodePage& codePage);

// The entry a filter list's mask is read from: the selected one, or the last one while none
// is selected (the list then selects it). -1 for a list without entries.
int entryOfMask(int selected, std::size_t entryCount);

} // namespace ordinalette::form
