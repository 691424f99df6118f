#pragma once

#include <stdexcept>

namespace ordinalette::engine {

// A failed file operation: the platform's error number and the message chosen by it
// (platform/error_message.h).
class EInOutError : public std::runtime_error {
public:
    explicit EInOutError(int code);

    int code() const { return m_code; }

private:
    int m_code;
};

} // namespace ordinalette::engine
