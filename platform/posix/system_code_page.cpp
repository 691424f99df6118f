#include "platform/posix/system_code_page.h"

#include <cctype>
#include <langinfo.h>
#include <optional>
#include <unicode/ucnv.h>

namespace ordinalette::platform {

namespace {

// "UTF-8", "utf8" and "UTF_8" all name one codeset.
std::string normalisedCodeset(std::string_view codeset) {
    std::string name;
    for (const char c : codeset) {
        if (c != '-' && c != '_')
            name += static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    }
    return name;
}

// The multi-byte codesets of the C library's locales besides UTF-8, with the shapes of their
// characters as the encodings define them, under the names ICU converts them by.
std::optional<CodePage> legacyMultiByte(const std::string& name) {
    using Form = CodePage::CharacterForm;
    const auto bytes = [](std::initializer_list<std::pair<int, int>> ranges) {
        return CodePage::byteSet(ranges);
    };
    const CodePage::ByteSet euc = bytes({{0xA1, 0xFE}});
    if (name == "EUCJP") {
        return CodePage::multiByte("EUC-JP",
                                   {Form{bytes({{0x8E, 0x8E}}), bytes({{0xA1, 0xDF}})},
                                    Form{bytes({{0x8F, 0x8F}}), euc, euc}, Form{euc, euc}});
    }
    if (name == "EUCKR")
        return CodePage::multiByte("EUC-KR", {Form{euc, euc}});
    if (name == "GB2312")
        return CodePage::multiByte("GB2312", {Form{euc, euc}});
    if (name == "EUCTW") {
        return CodePage::multiByte(
            "EUC-TW",
            {Form{bytes({{0x8E, 0x8E}}), bytes({{0xA1, 0xB0}}), euc, euc}, Form{euc, euc}});
    }
    const CodePage::ByteSet gbkLead = bytes({{0x81, 0xFE}});
    const CodePage::ByteSet gbkTrail = bytes({{0x40, 0x7E}, {0x80, 0xFE}});
    if (name == "GBK")
        return CodePage::multiByte("GBK", {Form{gbkLead, gbkTrail}});
    if (name == "GB18030") {
        const CodePage::ByteSet digit = bytes({{0x30, 0x39}});
        return CodePage::multiByte("GB18030",
                                   {Form{gbkLead, digit, gbkLead, digit}, Form{gbkLead, gbkTrail}});
    }
    const CodePage::ByteSet big5Trail = bytes({{0x40, 0x7E}, {0xA1, 0xFE}});
    if (name == "BIG5")
        return CodePage::multiByte("BIG5", {Form{bytes({{0xA1, 0xF9}}), big5Trail}});
    if (name == "BIG5HKSCS")
        return CodePage::multiByte("BIG5-HKSCS", {Form{bytes({{0x87, 0xFE}}), big5Trail}});
    return std::nullopt;
}

// Whether ICU converts the codeset one byte to one character.
bool icuConvertsSingleBytes(const std::string& codeset) {
    UErrorCode status = U_ZERO_ERROR;
    const icu::LocalUConverterPointer converter(ucnv_open(codeset.c_str(), &status));
    return U_SUCCESS(status) && ucnv_getMaxCharSize(converter.getAlias()) == 1;
}

} // namespace

CodePage codePageOfCodeset(std::string_view codeset) {
    const std::string name = normalisedCodeset(codeset);
    // The plain C locale says nothing about names beyond ASCII; the names on a Linux system are
    // UTF-8 in practice, and Qt shows them so, so the list and the tree read them the same way.
    if (name == "UTF8" || name == "ANSIX3.41968" || name.empty())
        return CodePage::utf8();
    if (name == "SHIFTJIS" || name == "SJIS" || name == "CP932" || name == "WINDOWS31J")
        return CodePage::cp932();
    if (auto multiByte = legacyMultiByte(name))
        return *multiByte;
    const std::string converterName(codeset);
    if (icuConvertsSingleBytes(converterName))
        return CodePage::singleByte(converterName);
    return CodePage::singleByte("ISO-8859-1");
}

CodePage CodePage::system() {
    const char* codeset = nl_langinfo(CODESET);
    return codePageOfCodeset(codeset ? codeset : "");
}

} // namespace ordinalette::platform
