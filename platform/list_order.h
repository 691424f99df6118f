#pragma once

#include "platform/text_services.h"

#include <string>
#include <string_view>
#include <vector>

namespace ordinalette::platform {

// The order of the file list: without regard to case by the collator, names that still compare
// equal by their bytes, so that the order never depends on the order in which the file system
// returned the names. <0, 0, >0.
int compareInListOrder(std::string_view a, std::string_view b, const TextCollator& collator);

// Sorts names into the list's order, computing each name's collation key once rather than at
// every comparison.
void sortInListOrder(std::vector<std::string>& names, const TextCollator& collator);

} // namespace ordinalette::platform
