#pragma once

#include "platform/error_number.h"

#include <stdexcept>
#include <string>
#include <utility>

namespace ordinalette::engine {

// A failed file operation: the platform's error number and the message chosen by it
// (platform/error_message.h).
class EInOutError : public std::runtime_error {
public:
    explicit EInOutError(int code);

    int code() const { return m_code; }

protected:
    // A failure whose message says more than the number's.
    EInOutError(int code, const std::string& message);

private:
    int m_code;
};

// Throws the input/output error of a failed operation; does nothing for success.
void check(int error);

// The value of a result, or the input/output error of its failure.
template <typename T> T checked(platform::Result<T> result) {
    check(result.error);
    return std::move(result.value);
}

} // namespace ordinalette::engine
