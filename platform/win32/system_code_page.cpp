#include "platform/code_page.h"

#include <windows.h>

namespace ordinalette::platform {

CodePage CodePage::system() {
    const UINT acp = GetACP();
    const std::string name = "windows-" + std::to_string(acp);
    CPINFO info{};
    if (!GetSystemMetrics(SM_DBCSENABLED) || !GetCPInfo(CP_ACP, &info) || info.MaxCharSize < 2)
        return singleByte(name);
    ByteSet leadBytes;
    // LeadByte holds up to five ranges as pairs of bytes, ended by a pair of zeros.
    for (int i = 0; i + 1 < MAX_LEADBYTES && info.LeadByte[i] != 0; i += 2) {
        for (int byte = info.LeadByte[i]; byte <= info.LeadByte[i + 1]; ++byte)
            leadBytes[byte] = true;
    }
    return acp == 932 ? cp932() : doubleByte(name, leadBytes);
}

} // namespace ordinalette::platform
