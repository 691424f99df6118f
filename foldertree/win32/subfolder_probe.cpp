#include "foldertree/win32/subfolder_probe.h"

#include <memory>
#include <string_view>
#include <windows.h>

namespace ordinalette::foldertree {

bool holdsSubfolder(const std::string& path) {
    const std::string pattern = path + (path.ends_with('\\') ? "*" : "\\*");
    WIN32_FIND_DATAA entry;
    const HANDLE search =
        FindFirstFileExA(pattern.c_str(), FindExInfoBasic, &entry, FindExSearchLimitToDirectories,
                         nullptr, FIND_FIRST_EX_LARGE_FETCH);
    if (search == INVALID_HANDLE_VALUE)
        return false;
    const std::unique_ptr<void, decltype(&FindClose)> found(search, &FindClose);
    do {
        const std::string_view name = entry.cFileName;
        // The search's limit to folders is only a hint to the file system.
        if ((entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0 && name != "." && name != "..")
            return true;
    } while (FindNextFileA(found.get(), &entry));
    return false;
}

} // namespace ordinalette::foldertree
