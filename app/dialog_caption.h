#pragma once

class QSpacerItem;
class QWidget;

namespace ordinalette::app {

// An empty layout item as wide as a dialog must be for the window frame to show its whole
// caption: the caption in the bold title-bar font with the frame's icon and buttons on either
// side, since many frames centre the caption. Short messages would otherwise give a box so
// narrow that the frame cuts the caption.
QSpacerItem* captionSpacer(const QWidget* dialog);

} // namespace ordinalette::app
