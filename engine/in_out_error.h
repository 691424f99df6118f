#pragma once

#include <stdexcept>
#include <string>

namespace ordinalette::engine {

// The message that names a failed input/output operation by its Windows error number.
std::string inOutErrorMessage(int code);

// A failed file operation: the platform's error number and the message chosen by it.
class EInOutError : public std::runtime_error {
public:
    explicit EInOutError(int code);

    int code() const { return m_code; }

private:
    int m_code;
};

} // namespace ordinalette::engine
