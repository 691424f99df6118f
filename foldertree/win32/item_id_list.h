#pragma once

#include "foldertree/shell_namespace.h"

#include <memory>
#include <shlobj.h>
#include <string>

namespace ordinalette::foldertree {

// Frees what the shell allocated with the task allocator.
struct TaskMemFree {
    void operator()(void* memory) const { CoTaskMemFree(memory); }
};
// An item identifier list the shell handed out, freed when it goes.
using ShellItemList = std::unique_ptr<ITEMIDLIST, TaskMemFree>;

// An item identifier list as the shell reads it, made from a list of the tree: the shell
// identifiers, each held whole (its two length bytes included) in an ItemId's name, one after the
// other and closed by the two zero bytes of the empty identifier. The bytes belong to the list
// object and go with it; the shell only reads them.
class ShellListBytes {
public:
    explicit ShellListBytes(const ItemIdList& list);

    PCUIDLIST_RELATIVE get() const { return reinterpret_cast<PCUIDLIST_RELATIVE>(m_bytes.data()); }

private:
    std::string m_bytes;
};

// The identifiers of a list the shell handed out, copied into ItemIds; none for a null list.
ItemIdList copyShellList(PCUIDLIST_RELATIVE list);

} // namespace ordinalette::foldertree
