#pragma once

#include "platform/code_page.h"

#include <string_view>

namespace ordinalette::platform {

// The code page of a C library codeset as nl_langinfo(CODESET) names it: UTF-8 for UTF-8 and
// the plain C locale, CP932 for Shift_JIS, the legacy multi-byte codesets with the characters
// their charmaps define, every other codeset that ICU can convert as single-byte, and
// ISO-8859-1 for a codeset that ICU lacks, whose bytes then each stand for one character, so
// that names keep their bytes.
CodePage codePageOfCodeset(std::string_view codeset);

} // namespace ordinalette::platform
