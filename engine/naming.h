#pragma once

#include "platform/code_page.h"

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace ordinalette::engine {

// How the old extension enters the new name.
enum class ExtensionCase { Lower, Upper, Unchanged };

// The case chosen by the item index of the extension-case radio group: 0 lower, 1 upper, any
// other index leaves the extension as it is.
ExtensionCase extensionCaseFromIndex(int itemIndex);

// Number of decimal digits of a file count: 0 for none, 1 for 1 to 9, 2 for 10 to 99, ...
std::int32_t digitCount(std::int64_t count);

// The folder's own name: everything after the last path separator (a character-aware search,
// so a trail byte never counts as a separator); empty for a root that ends in a separator.
std::string folderOwnName(std::string_view folderPath, const platform::CodePage& codePage);

// The part that all new names share: the first folderCharacters characters of the folder's own
// name (never half a double-byte character) followed by the separator text.
std::string namePrefix(std::string_view folderPath, int folderCharacters,
                       std::string_view separator, const platform::CodePage& codePage);

// The old name from its last dot on ("" without a dot); ".profile" is all extension.
std::string fileExtension(std::string_view fileName, const platform::CodePage& codePage);

// The serial number in decimal, padded with zeros to width; a narrower width never cuts it, and
// a width wider than any path pads to one digit more than the longest path.
std::string serialText(std::int64_t serial, int width);

// The new name of a file: prefix, padded serial number, old extension in the chosen case.
std::string newFileName(std::string_view prefix, std::int64_t serial, int width,
                        std::string_view oldName, ExtensionCase extensionCase,
                        const platform::CodePage& codePage);

// The new name that a run gives the first listed file, or "" when the list is empty.
std::string renameExample(std::string_view prefix, int width, std::span<const std::string> names,
                          ExtensionCase extensionCase, const platform::CodePage& codePage);

} // namespace ordinalette::engine
