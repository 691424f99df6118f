#pragma once

#include "foldertree/t_shell_folder_item.h"

#include <QIcon>

class QStyle;

namespace ordinalette::foldertree {

// The image of a kind of item, open (selected) or not: from the desktop's icon theme where it
// has one, else the style's standard icon.
QIcon shellIcon(TShItemIDType type, bool open, const QStyle& style);
// The icon with the theme's link emblem (or a drawn arrow) over its lower left corner.
QIcon withLinkOverlay(const QIcon& icon, int size);

} // namespace ordinalette::foldertree
