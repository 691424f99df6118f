#include "platform/state_directory.h"

#include "platform/posix/desktop_directory.h"

#include <cstdlib>

namespace ordinalette::platform {

std::string runJournalDirectory() {
    const char* state = std::getenv("XDG_STATE_HOME");
    const std::string base =
        state && state[0] == '/' ? std::string(state) : homeDirectory() + "/.local/state";
    return base + "/ordinalette";
}

} // namespace ordinalette::platform
