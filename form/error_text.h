#pragma once

#include <string>

namespace ordinalette::form {

// The text the error box shows for a message (UTF-8): the message with a "." appended when its
// last character sorts after ".".
std::string errorBoxText(std::string message);

} // namespace ordinalette::form
