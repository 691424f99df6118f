#pragma once

#include <type_traits>

namespace ordinalette::platform {

// Marks an enum class whose values are bits of one set; specialise to true to give it the set
// operators below. Another namespace's set brings them in with `using platform::operator|;`
// (and the others it uses), so that lookup by argument finds them there.
template <typename Enum> inline constexpr bool kIsFlagSet = false;

template <typename Enum>
concept FlagSet = std::is_enum_v<Enum> && kIsFlagSet<Enum>;

template <FlagSet Enum> constexpr Enum operator|(Enum a, Enum b) {
    using Bits = std::underlying_type_t<Enum>;
    return static_cast<Enum>(static_cast<Bits>(a) | static_cast<Bits>(b));
}
template <FlagSet Enum> constexpr Enum operator&(Enum a, Enum b) {
    using Bits = std::underlying_type_t<Enum>;
    return static_cast<Enum>(static_cast<Bits>(a) & static_cast<Bits>(b));
}
template <FlagSet Enum> constexpr Enum& operator|=(Enum& a, Enum b) {
    return a = a | b;
}
// Whether the set holds any of the given bits.
template <FlagSet Enum> constexpr bool hasAny(Enum set, Enum bits) {
    return (set & bits) != Enum{};
}
// Whether the set holds every one of the given bits.
template <FlagSet Enum> constexpr bool hasAll(Enum set, Enum bits) {
    return (set & bits) == bits;
}

} // namespace ordinalette::platform
