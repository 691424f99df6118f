#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace ordinalette::settings {

// The naming settings as the settings file stores them.
struct StoredSettings {
    std::int32_t folderKetasu = 4;
    std::string charactor;
    bool automaticDigits = true;
    std::int32_t renbanKetasu = 0; // written only when automaticDigits is off
    std::int32_t kakuchoushi = 0;
};

// The lines of a text: a line ends at CR LF, a lone CR or a lone LF (LF CR is two ends); a NUL
// byte ends the text; lines are taken whole.
std::vector<std::string_view> splitLines(std::string_view text);

// The entries of a settings text, looked up by key: the first line whose name (the text before
// its first "=") equals the key in every byte, letter case aside, is the key's line; blanks,
// control characters and every other character belong to the name. Lines without "=" carry no
// entry.
class SettingsDocument {
public:
    explicit SettingsDocument(const std::string& text);

    // The value of the key's line: everything after the first "=", blanks included; empty when
    // no line has that key (which callers treat like an empty value).
    std::string value(std::string_view key) const;

private:
    // Owned copies, so that a copied or moved document never points into another's text.
    std::vector<std::string> m_lines;
};

// The five lines of the file, each ended by CR LF, in their fixed order.
std::string formatSettings(const StoredSettings& settings);

} // namespace ordinalette::settings
