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
    // The plain C locale says nothing about names beyond ASCII; the names on a Linux system are
    // UTF-8 in practice, and Qt shows them so, so the list and the tree read them the same way.
    if (name == "ANSIX3.41968" || name.empty())
        return utf8();
    return singleByte(codeset);
}

} // namespace ordinalette::platform
