#pragma once

namespace ordinalette::app {

// Routes the debug messages of the layers below the window into the logging category
// "ordinalette.platform", off unless the logging rules (QT_LOGGING_RULES) turn it on.
void routePlatformDebugLog();

} // namespace ordinalette::app
