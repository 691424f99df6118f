#include "platform/list_order.h"

#include <algorithm>

namespace ordinalette::platform {

int compareInListOrder(std::string_view a, std::string_view b, const TextCollator& collator) {
    if (const int ignoringCase = collator.compareIgnoringCase(a, b); ignoringCase != 0)
        return ignoringCase < 0 ? -1 : 1;
    const int byBytes = a.compare(b);
    return byBytes < 0 ? -1 : byBytes > 0 ? 1 : 0;
}

void sortInListOrder(std::vector<std::string>& names, const TextCollator& collator) {
    // Each name is sorted as its collation key, a zero byte and the name itself: keys hold no
    // zero byte, so one byte comparison orders by key and, for equal keys, by the name's bytes.
    for (std::string& name : names) {
        const std::string key = collator.sortKey(name);
        std::string item;
        item.reserve(key.size() + 1 + name.size());
        item += key;
        item += '\0';
        item += name;
        name = std::move(item);
    }
    std::sort(names.begin(), names.end());
    for (std::string& item : names)
        item.erase(0, item.find('\0') + 1);
}

} // namespace ordinalette::platform
