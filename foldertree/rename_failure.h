#pragma once

#include "platform/code_page.h"

#include <string>
#include <string_view>

namespace ordinalette::foldertree {

// The message (UTF-8) of a rename in place that failed: the folder by its display name in the
// namespace's code page, then the reason by error number.
std::string renameFailure(std::string_view folderName, const platform::CodePage& codePage,
                          int error);

} // namespace ordinalette::foldertree
