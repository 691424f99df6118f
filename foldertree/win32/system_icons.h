#pragma once

#include "foldertree/shell_namespace.h"

#include <shlobj.h> // HIMAGELIST

namespace ordinalette::foldertree {

enum class IconState { Closed, Open };

// The system's small-icon image list, from which the tree view shows its nodes' images; null
// when the shell gives none.
HIMAGELIST systemSmallImageList();

// The index in that list of an item's small icon (the item named by its absolute list), or of
// the icon it shows while open; -1 when the shell gives none.
int smallIconIndex(const ItemIdList& absolute, IconState state = IconState::Closed);

} // namespace ordinalette::foldertree
