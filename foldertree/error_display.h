#pragma once

#include <exception>
#include <functional>

namespace ordinalette::foldertree {

// How the application shows an error that leaves a reaction the tree runs for its watcher:
// the application sets it once; while none is set such errors are dropped.
using ErrorDisplay = std::function<void(const std::exception&)>;

void SetErrorDisplay(ErrorDisplay display);
void DisplayError(const std::exception& error);

} // namespace ordinalette::foldertree
