#pragma once

#include <string_view>

namespace ordinalette::platform {

// Receives the debug messages of the layers below the window: failures the code goes on after,
// such as an entry it passes over or a folder it cannot watch. The program sets one at start-up;
// without one the messages are dropped.
using DebugLogSink = void (*)(std::string_view message);

// Sets the sink (null: none). Messages may arrive on any thread.
void setDebugLogSink(DebugLogSink sink);
// Hands a message to the sink, if one is set.
void logDebug(std::string_view message);
// Hands "<what> <path>: <the system's text for errorNumber>" to the sink, if one is set.
void logFailure(std::string_view what, std::string_view path, int errorNumber);

} // namespace ordinalette::platform
