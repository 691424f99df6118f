#include "foldertree/tests/tree_records.h"

namespace ordinalette::foldertree::testing {

TShellFolderItem* childNamed(TShellFolderItem* node, const std::string& name) {
    for (const auto& child : node->children) {
        if (child->DisplayName() == name)
            return child.get();
    }
    return nullptr;
}

std::vector<std::string> childNames(TShellFolderItem* node) {
    std::vector<std::string> names;
    for (const auto& child : node->children)
        names.push_back(child->DisplayName());
    return names;
}

} // namespace ordinalette::foldertree::testing
