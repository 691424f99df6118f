#include "platform/code_page.h"

#include <cctype>
#include <langinfo.h>

namespace ordinalette::platform {

namespace {

// "UTF-8", "utf8" and "UTF_8" all name one codeset.
std::string normalisedCodeset(const char* codeset) {
    std::string name;
    for (const char* c = codeset; c && *c; ++c) {
        if (*c != '-' && *c != '_')
            name += static_cast<char>(std::toupper(static_cast<unsigned char>(*c)));
    }
    return name;
}

} // namespace

CodePage CodePage::system() {
    const char* codeset = nl_langinfo(CODESET);
    const std::string name = normalisedCodeset(codeset);
    if (name == "UTF8")
        return utf8();
    if (name == "SHIFTJIS" || name == "SJIS" || name == "CP932" || name == "WINDOWS31J")
        return cp932();
    if (name == "ANSIX3.41968" || name.empty())
        return singleByte("US-ASCII");
    return singleByte(codeset);
}

} // namespace ordinalette::platform
