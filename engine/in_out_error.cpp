#include "engine/in_out_error.h"

#include "platform/error_message.h"

namespace ordinalette::engine {

EInOutError::EInOutError(int code)
    : std::runtime_error(platform::errorMessage(code)), m_code(code) {}

EInOutError::EInOutError(int code, const std::string& message)
    : std::runtime_error(message), m_code(code) {}

void check(int error) {
    if (error != platform::error::None)
        throw EInOutError(error);
}

} // namespace ordinalette::engine
