#include "foldertree/error_display.h"

namespace ordinalette::foldertree {

namespace {

// Set and read on the user-interface thread only.
ErrorDisplay& errorDisplay() {
    static ErrorDisplay display;
    return display;
}

} // namespace

void SetErrorDisplay(ErrorDisplay display) {
    errorDisplay() = std::move(display);
}

void DisplayError(const std::exception& error) {
    if (errorDisplay())
        errorDisplay()(error);
}

} // namespace ordinalette::foldertree
