#pragma once

#include <string>

namespace ordinalette::platform {

// The folder that keeps the journals of the program's rename runs: $XDG_STATE_HOME/ordinalette
// (an absolute XDG_STATE_HOME only, as the XDG rules ask), else ~/.local/state/ordinalette; on
// Windows "Ordinalette" in the user's local application data folder. It may not exist yet.
std::string runJournalDirectory();

} // namespace ordinalette::platform
