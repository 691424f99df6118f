#include "form/error_text.h"

namespace ordinalette::form {

std::string errorBoxText(std::string message) {
    // The last byte of a character of several bytes is above the dot as the character is.
    if (!message.empty() && static_cast<unsigned char>(message.back()) > '.')
        message += '.';
    return message;
}

} // namespace ordinalette::form
