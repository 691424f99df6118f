#pragma once

#include <stdexcept>
#include <string>

namespace ordinalette::form {

// An error that a control raises when it cannot do what it was asked (UTF-8 message).
class EControlError : public std::runtime_error {
public:
    explicit EControlError(const std::string& message) : std::runtime_error(message) {}
};

} // namespace ordinalette::form
