#include "platform/code_page.h"

namespace ordinalette::platform {

namespace {

bool isContinuation(unsigned char byte) {
    return (byte & 0xC0) == 0x80;
}

// Length of a well-formed UTF-8 sequence at pos, or 1 when the bytes there form none.
std::size_t utf8SequenceLength(std::string_view text, std::size_t pos) {
    const auto lead = static_cast<unsigned char>(text[pos]);
    std::size_t length = 1;
    if (lead >= 0xC2 && lead <= 0xDF)
        length = 2;
    else if (lead >= 0xE0 && lead <= 0xEF)
        length = 3;
    else if (lead >= 0xF0 && lead <= 0xF4)
        length = 4;
    if (length == 1 || pos + length > text.size())
        return 1;
    const auto second = static_cast<unsigned char>(text[pos + 1]);
    // Reject overlong forms, surrogates and code points past U+10FFFF.
    if ((lead == 0xE0 && second < 0xA0) || (lead == 0xED && second > 0x9F) ||
        (lead == 0xF0 && second < 0x90) || (lead == 0xF4 && second > 0x8F))
        return 1;
    for (std::size_t i = 1; i < length; ++i) {
        if (!isContinuation(static_cast<unsigned char>(text[pos + i])))
            return 1;
    }
    return length;
}

// Whether the bytes at pos are a whole character of that form.
bool fits(const CodePage::CharacterForm& form, std::string_view text, std::size_t pos) {
    if (text.size() - pos < form.size())
        return false;
    for (std::size_t i = 0; i < form.size(); ++i) {
        if (!form[i][static_cast<unsigned char>(text[pos + i])])
            return false;
    }
    return true;
}

} // namespace

CodePage::ByteSet CodePage::byteSet(std::initializer_list<std::pair<int, int>> ranges) {
    ByteSet bytes;
    for (const auto& [first, last] : ranges) {
        for (int byte = first; byte <= last; ++byte)
            bytes.set(static_cast<std::size_t>(byte));
    }
    return bytes;
}

CodePage CodePage::cp932() {
    return multiByte("windows-31j", {{byteSet({{0x81, 0x9F}, {0xE0, 0xFC}}),
                                      byteSet({{0x40, 0x7E}, {0x80, 0xFC}})}});
}

CodePage CodePage::doubleByte(std::string name, const ByteSet& leadBytes) {
    return multiByte(std::move(name), {{leadBytes, ByteSet().set()}});
}

CodePage CodePage::multiByte(std::string name, std::vector<CharacterForm> forms) {
    CodePage codePage(Kind::MultiByte, std::move(name));
    codePage.m_forms = std::move(forms);
    return codePage;
}

std::size_t CodePage::charLength(std::string_view text, std::size_t pos) const {
    if (pos >= text.size())
        return 0;
    switch (m_kind) {
    case Kind::MultiByte:
        for (const CharacterForm& form : m_forms) {
            if (fits(form, text, pos))
                return form.size();
        }
        return 1;
    case Kind::Utf8:
        return utf8SequenceLength(text, pos);
    case Kind::SingleByte:
        break;
    }
    return 1;
}

std::size_t CodePage::prefixLength(std::string_view text, int n) const {
    std::size_t pos = 0;
    for (int count = 0; count < n && pos < text.size(); ++count)
        pos += charLength(text, pos);
    return pos;
}

std::size_t CodePage::findLastOf(std::string_view text, std::string_view delimiters) const {
    // Characters can only be told apart from the start in a double-byte code page, so the
    // backward search walks forward and remembers the last hit.
    std::size_t found = std::string_view::npos;
    for (std::size_t pos = 0; pos < text.size(); pos += charLength(text, pos)) {
        if (charLength(text, pos) == 1 && delimiters.find(text[pos]) != std::string_view::npos)
            found = pos;
    }
    return found;
}

std::size_t CodePage::find(std::string_view text, char delimiter, std::size_t from) const {
    for (std::size_t pos = from; pos < text.size(); pos += charLength(text, pos)) {
        if (text[pos] == delimiter && charLength(text, pos) == 1)
            return pos;
    }
    return std::string_view::npos;
}

} // namespace ordinalette::platform
