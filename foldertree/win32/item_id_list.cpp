#include "foldertree/win32/item_id_list.h"

namespace ordinalette::foldertree {

ShellListBytes::ShellListBytes(const ItemIdList& list) {
    for (const ItemId& id : list)
        m_bytes += id.name;
    m_bytes.append(2, '\0');
}

ItemIdList copyShellList(PCUIDLIST_RELATIVE list) {
    ItemIdList ids;
    if (!list)
        return ids;
    const auto* bytes = reinterpret_cast<const char*>(list);
    for (;;) {
        USHORT size;
        memcpy(&size, bytes, sizeof size); // identifiers stand at any byte, aligned or not
        if (size < sizeof size)            // the end, or no identifier the shell would make
            return ids;
        ids.push_back(ItemId{0, std::string(bytes, size), {}});
        bytes += size;
    }
}

} // namespace ordinalette::foldertree
