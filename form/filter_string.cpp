#include "form/filter_string.h"

namespace ordinalette::form {

std::vector<FilterEntry> parseFilterString(std::string_view filter,
                                           const platform::CodePage& codePage) {
    std::vector<FilterEntry> entries;
    std::string_view rest = filter;
    for (std::size_t bar = codePage.find(rest, '|'); bar != std::string_view::npos;
         bar = codePage.find(rest, '|')) {
        FilterEntry entry{std::string(rest.substr(0, bar)), {}};
        rest.remove_prefix(bar + 1);
        const std::size_t maskEnd = codePage.find(rest, '|');
        entry.mask = std::string(rest.substr(0, maskEnd));
        rest.remove_prefix(maskEnd == std::string_view::npos ? rest.size() : maskEnd + 1);
        entries.push_back(std::move(entry));
    }
    return entries;
}

int entryOfMask(int selected, std::size_t entryCount) {
    if (entryCount == 0)
        return -1;
    return selected < 0 ? static_cast<int>(entryCount) - 1 : selected;
}

} // namespace ordinalette::form
