#include "win32/system_text.h"

#include "platform/code_page.h"
#include "platform/text_services.h"

namespace ordinalette::win32 {

std::string systemText(const char* utf8) {
    return platform::encodeText(platform::decodeText(utf8, platform::CodePage::utf8()),
                                platform::CodePage::system());
}

} // namespace ordinalette::win32
