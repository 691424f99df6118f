#pragma once

#include "platform/file_system.h"

#include <functional>
#include <string>
#include <string_view>

namespace ordinalette::platform {

// Creates a file under a fresh name beside path, as mkstemp does: path followed by a dot and six
// random letters or digits. create makes the file of one candidate path and must fail with
// AlreadyExists when any entry of that name exists; another name is then tried.
Result<TemporaryFile>
createUniqueFile(std::string_view besidePath,
                 const std::function<Result<FileHandle>(const std::string&)>& create);

} // namespace ordinalette::platform
