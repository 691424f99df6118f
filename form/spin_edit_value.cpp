#include "form/spin_edit_value.h"

#include "platform/integer_text.h"

#include <algorithm>
#include <cstdint>

namespace ordinalette::form {

std::int32_t spinEditValue(std::string_view text, std::int32_t minValue) {
    return platform::parseIntegerText(text).value_or(minValue);
}

std::string spinEditText(std::int32_t value, std::int32_t minValue, std::int32_t maxValue) {
    if (minValue != maxValue)
        value = std::clamp(value, std::min(minValue, maxValue), maxValue);
    return platform::decimalText(value);
}

std::string steppedSpinEditText(std::string_view text, int delta, std::int32_t minValue,
                                std::int32_t maxValue) {
    const std::int64_t stepped = static_cast<std::int64_t>(spinEditValue(text, minValue)) + delta;
    return spinEditText(
        static_cast<std::int32_t>(std::clamp<std::int64_t>(stepped, INT32_MIN, INT32_MAX)),
        minValue, maxValue);
}

std::optional<std::string> spinEditTextOnLeaving(std::string_view text, std::int32_t minValue,
                                                 std::int32_t maxValue) {
    const auto typed = platform::parseIntegerText(text);
    if (typed && (*typed < minValue || *typed > maxValue))
        return spinEditText(*typed, minValue, maxValue);
    return std::nullopt;
}

bool isSpinEditInput(std::u16string_view typed, std::u16string_view decimalPoint) {
    return std::all_of(typed.begin(), typed.end(), [&](char16_t c) {
        return (c >= u'0' && c <= u'9') || c == u'+' || c == u'-' ||
               decimalPoint.find(c) != std::u16string_view::npos;
    });
}

} // namespace ordinalette::form
