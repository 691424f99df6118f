#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace ordinalette::form {

// The value rules of a spin edit, whose text (UTF-8) is the only store of its value.

// The text read by the integer-text rule; the minimum when it is none. Never clamped.
std::int32_t spinEditValue(std::string_view text, std::int32_t minValue);
// The text a value is set as: clamped to minValue..maxValue, not clamped when the two are equal.
std::string spinEditText(std::int32_t value, std::int32_t minValue, std::int32_t maxValue);
// The text one step (delta) from the value the text reads as.
std::string steppedSpinEditText(std::string_view text, int delta, std::int32_t minValue,
                                std::int32_t maxValue);
// The text that leaving the field gives: the clamped value where the text reads as a number
// outside the range, nothing where the text stays.
std::optional<std::string> spinEditTextOnLeaving(std::string_view text, std::int32_t minValue,
                                                 std::int32_t maxValue);

// Whether typed text may go into a spin edit: digits, signs and the locale's decimal point
// only; anything else is refused with a beep.
bool isSpinEditInput(std::u16string_view typed, std::u16string_view decimalPoint);

} // namespace ordinalette::form
