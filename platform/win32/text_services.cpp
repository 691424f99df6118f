#include "platform/text_services.h"

#include <windows.h>

namespace ordinalette::platform {

namespace {

// The Windows code page number behind a CodePage: the ANSI code page for the system's own.
UINT windowsCodePage(const CodePage& codePage) {
    if (codePage.kind() == CodePage::Kind::Utf8)
        return CP_UTF8;
    if (codePage.name() == "windows-31j")
        return 932;
    if (codePage.name().starts_with("windows-"))
        return static_cast<UINT>(std::stoul(codePage.name().substr(8)));
    return CP_ACP;
}

std::wstring toWide(std::string_view bytes, UINT codePage) {
    if (bytes.empty())
        return {};
    const int size = static_cast<int>(bytes.size());
    const int length = MultiByteToWideChar(codePage, 0, bytes.data(), size, nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    MultiByteToWideChar(codePage, 0, bytes.data(), size, wide.data(), length);
    return wide;
}

// The text in the code page. With usedDefault, characters are never replaced by look-alikes, and
// usedDefault tells whether any character had no code (not for UTF-8, which codes every one).
std::string fromWide(std::wstring_view wide, UINT codePage, BOOL* usedDefault = nullptr) {
    if (wide.empty())
        return {};
    const int size = static_cast<int>(wide.size());
    const DWORD flags = usedDefault ? WC_NO_BEST_FIT_CHARS : 0;
    const int length =
        WideCharToMultiByte(codePage, flags, wide.data(), size, nullptr, 0, nullptr, usedDefault);
    std::string bytes(static_cast<std::size_t>(length), '\0');
    WideCharToMultiByte(codePage, flags, wide.data(), size, bytes.data(), length, nullptr,
                        usedDefault);
    return bytes;
}

// Maps each character with the system's case mapping, as CharLowerBuffA and CharUpperBuffA do,
// but keeps the bytes of every character whose case does not change: written back, a character
// can take another code of itself (0xED 0x40 would come back as 0xFA 0x5C in code page 932).
std::string mapCase(std::string_view text, const CodePage& codePage, bool upper) {
    const UINT number = windowsCodePage(codePage);
    std::string result;
    for (std::size_t pos = 0; pos < text.size();) {
        const std::string_view character = text.substr(pos, codePage.charLength(text, pos));
        pos += character.size();
        const std::wstring original = toWide(character, number);
        std::wstring mapped = original;
        const auto length = static_cast<DWORD>(mapped.size());
        upper ? CharUpperBuffW(mapped.data(), length) : CharLowerBuffW(mapped.data(), length);
        if (mapped == original) {
            result += character;
            continue;
        }
        BOOL usedDefault = FALSE;
        const std::string written =
            fromWide(mapped, number, number == CP_UTF8 ? nullptr : &usedDefault);
        result += usedDefault || written.empty() ? std::string(character) : written;
    }
    return result;
}

} // namespace

std::u16string decodeText(std::string_view bytes, const CodePage& codePage) {
    const std::wstring wide = toWide(bytes, windowsCodePage(codePage));
    return {wide.begin(), wide.end()};
}

std::string encodeText(std::u16string_view text, const CodePage& codePage) {
    return fromWide(std::wstring(text.begin(), text.end()), windowsCodePage(codePage));
}

std::string toLowerCase(std::string_view text, const CodePage& codePage) {
    return mapCase(text, codePage, false);
}

std::string toUpperCase(std::string_view text, const CodePage& codePage) {
    return mapCase(text, codePage, true);
}

// CompareStringA and LCMapStringA work in the ANSI code page and the user's locale, which is
// where Windows keeps file names; nothing needs to be held between calls.
struct TextCollator::Impl {};

TextCollator::TextCollator(const CodePage&) : m_impl(std::make_unique<Impl>()) {}

TextCollator::~TextCollator() = default;

std::string TextCollator::sortKey(std::string_view text) const {
    // Sort keys of the user's locale compare by bytes exactly as CompareStringA compares texts.
    const int size = static_cast<int>(text.size());
    const DWORD flags = LCMAP_SORTKEY | NORM_IGNORECASE;
    const int length = LCMapStringA(LOCALE_USER_DEFAULT, flags, text.data(), size, nullptr, 0);
    std::string key(static_cast<std::size_t>(length), '\0');
    LCMapStringA(LOCALE_USER_DEFAULT, flags, text.data(), size, key.data(), length);
    if (!key.empty() && key.back() == '\0')
        key.pop_back();
    return key;
}

int TextCollator::compareIgnoringCase(std::string_view a, std::string_view b) const {
    const int result =
        CompareStringA(LOCALE_USER_DEFAULT, NORM_IGNORECASE, a.data(), static_cast<int>(a.size()),
                       b.data(), static_cast<int>(b.size()));
    return result - CSTR_EQUAL;
}

} // namespace ordinalette::platform
