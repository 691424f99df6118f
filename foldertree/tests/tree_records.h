#pragma once

#include "foldertree/t_shell_folder_item.h"

#include <string>
#include <vector>

namespace ordinalette::foldertree::testing {

// The child of a node with that display name; null for none.
TShellFolderItem* childNamed(TShellFolderItem* node, const std::string& name);
// The display names of a node's children in order.
std::vector<std::string> childNames(TShellFolderItem* node);

} // namespace ordinalette::foldertree::testing
