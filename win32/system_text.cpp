#include "win32/system_text.h"

#include "platform/code_page.h"
#include "platform/text_services.h"

namespace ordinalette::win32 {

std::string systemText(const char* utf8) {
    return systemText(platform::decodeText(utf8, platform::CodePage::utf8()));
}

std::string systemText(std::u16string_view text) {
    return platform::encodeText(text, platform::CodePage::system());
}

std::u16string fromSystemText(std::string_view bytes) {
    return platform::decodeText(bytes, platform::CodePage::system());
}

} // namespace ordinalette::win32
