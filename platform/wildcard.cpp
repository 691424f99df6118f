#include "platform/wildcard.h"

namespace ordinalette::platform {

namespace {

char asciiUpper(char c) {
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

} // namespace

WildcardMask::WildcardMask(std::string_view mask, const CodePage& codePage)
    : m_mask(mask), m_codePage(codePage), m_matchesEverything(mask == "*" || mask == "*.*") {}

bool WildcardMask::matches(std::string_view name) const {
    if (m_matchesEverything || matchesExactly(name, m_mask))
        return true;
    const std::string_view mask = m_mask;
    return mask.ends_with(".*") && m_codePage.find(name, '.') == std::string_view::npos &&
           matchesExactly(name, mask.substr(0, mask.size() - 2));
}

bool WildcardMask::sameCharacter(std::string_view name, std::size_t namePos, std::size_t nameLength,
                                 std::string_view mask, std::size_t maskPos,
                                 std::size_t maskLength) const {
    if (nameLength != maskLength)
        return false;
    if (nameLength == 1)
        return asciiUpper(name[namePos]) == asciiUpper(mask[maskPos]);
    return name.substr(namePos, nameLength) == mask.substr(maskPos, maskLength);
}

bool WildcardMask::matchesExactly(std::string_view name, std::string_view mask) const {
    // Greedy matching with one backtrack point: the last "*" seen and the name position it has
    // swallowed up to. Enough for "*" because later stars only ever need the latest one.
    std::size_t n = 0;
    std::size_t m = 0;
    std::size_t starMask = std::string_view::npos;
    std::size_t starName = 0;
    while (n < name.size()) {
        const std::size_t nameLength = m_codePage.charLength(name, n);
        const std::size_t maskLength = m_codePage.charLength(mask, m);
        if (m < mask.size() && maskLength == 1 && mask[m] == '*') {
            starMask = ++m;
            starName = n;
        } else if (m < mask.size() && ((maskLength == 1 && mask[m] == '?') ||
                                       sameCharacter(name, n, nameLength, mask, m, maskLength))) {
            n += nameLength;
            m += maskLength;
        } else if (starMask != std::string_view::npos) {
            starName += m_codePage.charLength(name, starName);
            n = starName;
            m = starMask;
        } else {
            return false;
        }
    }
    while (m < mask.size() && mask[m] == '*')
        ++m;
    return m == mask.size();
}

} // namespace ordinalette::platform
