#pragma once

#include <string>

namespace ordinalette::platform {

// The Japanese message that names a failed file operation by its error number
// (error_number.h): the message table of the input/output error, which every report of a
// failed file operation shows.
std::string errorMessage(int code);

} // namespace ordinalette::platform
