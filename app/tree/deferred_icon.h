#pragma once

#include <QIcon>
#include <QSize>
#include <functional>

namespace ordinalette::foldertree {

// An icon of one size whose images make() draws the first time one of them is asked for:
// laying out rows asks only for the icon's size, so the images are decoded once the rows are
// painted, after the window is on the screen. Copies share the images once made.
QIcon deferredIcon(QSize size, std::function<QIcon()> make);

} // namespace ordinalette::foldertree
