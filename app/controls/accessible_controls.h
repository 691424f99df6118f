#pragma once

namespace ordinalette::app {

// Lets assistive technology read the window's own controls as what they show: the status bar
// its text, the progress bar its position and range. Installed once, by the first such control.
void installControlAccessibility();

} // namespace ordinalette::app
