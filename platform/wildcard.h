#pragma once

#include "platform/code_page.h"

#include <string>
#include <string_view>

namespace ordinalette::platform {

// Windows wildcard matching of a whole name: "*" matches any run of characters, "?" exactly one
// character, letter case of ASCII letters is ignored, and a mask ending in ".*" also matches a
// name without a dot ("*.*" matches every name). Characters are stepped over with the code page,
// so a trail byte is never taken for a wildcard or a letter. The mask keeps its own copy of the
// text; the code page must outlive it.
class WildcardMask {
public:
    WildcardMask(std::string_view mask, const CodePage& codePage);

    bool matches(std::string_view name) const;

private:
    bool matchesExactly(std::string_view name, std::string_view mask) const;
    bool sameCharacter(std::string_view name, std::size_t namePos, std::size_t nameLength,
                       std::string_view mask, std::size_t maskPos, std::size_t maskLength) const;

    std::string m_mask;
    const CodePage& m_codePage;
    bool m_matchesEverything;
};

} // namespace ordinalette::platform
