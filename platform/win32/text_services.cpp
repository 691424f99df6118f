#include "platform/text_services.h"

#include <cstring>
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

bool isAnsiCodePage(const CodePage& codePage) {
    const UINT number = windowsCodePage(codePage);
    return number == CP_ACP || number == GetACP();
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

std::string fromWide(std::wstring_view wide, UINT codePage) {
    if (wide.empty())
        return {};
    const int size = static_cast<int>(wide.size());
    const int length =
        WideCharToMultiByte(codePage, 0, wide.data(), size, nullptr, 0, nullptr, nullptr);
    std::string bytes(static_cast<std::size_t>(length), '\0');
    WideCharToMultiByte(codePage, 0, wide.data(), size, bytes.data(), length, nullptr, nullptr);
    return bytes;
}

// Case mapping through the ANSI functions where the text is in the ANSI code page, as the
// system does for file names; through the wide functions for any other code page.
std::string mapCase(std::string_view text, const CodePage& codePage, bool upper) {
    std::string result(text);
    if (result.empty())
        return result;
    if (isAnsiCodePage(codePage)) {
        const auto length = static_cast<DWORD>(result.size());
        upper ? CharUpperBuffA(result.data(), length) : CharLowerBuffA(result.data(), length);
        return result;
    }
    std::wstring wide = toWide(text, windowsCodePage(codePage));
    const auto length = static_cast<DWORD>(wide.size());
    upper ? CharUpperBuffW(wide.data(), length) : CharLowerBuffW(wide.data(), length);
    return fromWide(wide, windowsCodePage(codePage));
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

int TextCollator::compare(std::string_view a, std::string_view b) const {
    const int ignoringCase = compareIgnoringCase(a, b);
    return ignoringCase != 0 ? ignoringCase : a.compare(b);
}

} // namespace ordinalette::platform
