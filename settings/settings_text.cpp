#include "settings/settings_text.h"

#include "platform/integer_text.h"

#include <algorithm>

namespace ordinalette::settings {

namespace {

char asciiLower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

// The keys are ASCII words, so only the case of ASCII letters is set aside. Every other byte
// must be the same: a full-width letter, a soft hyphen, a control character or a byte-order mark
// makes another name, in every locale and in every build alike.
bool sameKey(std::string_view name, std::string_view key) {
    return name.size() == key.size() &&
           std::equal(name.begin(), name.end(), key.begin(),
                      [](char a, char b) { return asciiLower(a) == asciiLower(b); });
}

} // namespace

std::vector<std::string_view> splitLines(std::string_view text) {
    text = text.substr(0, text.find('\0'));
    std::vector<std::string_view> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t end = text.find_first_of("\r\n", start);
        if (end == std::string_view::npos) {
            lines.push_back(text.substr(start));
            break;
        }
        lines.push_back(text.substr(start, end - start));
        // CR LF is one line end; LF CR are two.
        start = end + (text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n' ? 2 : 1);
    }
    return lines;
}

SettingsDocument::SettingsDocument(const std::string& text) {
    for (const std::string_view line : splitLines(text))
        m_lines.emplace_back(line);
}

std::string SettingsDocument::value(std::string_view key) const {
    for (const std::string_view line : m_lines) {
        const std::size_t equals = line.find('=');
        if (equals != std::string_view::npos && sameKey(line.substr(0, equals), key))
            return std::string(line.substr(equals + 1));
    }
    return {};
}

std::string formatSettings(const StoredSettings& settings) {
    using platform::decimalText;
    std::string text;
    text += "FolderKetasu=" + decimalText(settings.folderKetasu) + "\r\n";
    text += "Charactor=" + settings.charactor + "\r\n";
    text += settings.automaticDigits ? "Auto=True\r\n" : "Auto=False\r\n";
    text += "RenbanKetasu=" +
            (settings.automaticDigits ? std::string() : decimalText(settings.renbanKetasu)) +
            "\r\n";
    text += "Kakuchoushi=" + decimalText(settings.kakuchoushi) + "\r\n";
    return text;
}

} // namespace ordinalette::settings
