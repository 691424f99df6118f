#pragma once

#include <QIcon>
#include <QPixmap>

namespace ordinalette::app::images {

// The program's icon: a yellow folder above a blue arrow that points into a stack of pages, in
// each size of the hicolor theme, the 16-pixel one drawn for its grid.
QIcon mainIcon();
// Start button glyph: a green check mark and its grey disabled outline, 18 x 18 each.
QPixmap bbok();
// End button glyph: a red cross and its grey disabled outline.
QPixmap bbcancel();

} // namespace ordinalette::app::images
