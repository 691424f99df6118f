#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace ordinalette::platform {

// Reads a text as a signed 32-bit integer: leading blanks (code 32 only), then either an optional
// sign and decimal digits within the 32-bit range, or a hexadecimal form ("$", "x", "X", "0x",
// "0X" and hex digits, no sign, taken as 32-bit two's complement), and nothing after it.
// Anything else, the empty text included, is no integer.
std::optional<std::int32_t> parseIntegerText(std::string_view text);

// Writes a number as decimal digits with a leading "-" when negative; no "+", no padding.
std::string decimalText(std::int32_t value);

} // namespace ordinalette::platform
