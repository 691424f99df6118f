#include "platform/state_directory.h"

#include "platform/path.h"

#include <shlobj.h>
#include <windows.h>

namespace ordinalette::platform {

std::string runJournalDirectory() {
    char folder[MAX_PATH] = {};
    if (SHGetFolderPathA(nullptr, CSIDL_LOCAL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, folder) != S_OK)
        return {};
    return joinPath(folder, "Ordinalette");
}

} // namespace ordinalette::platform
