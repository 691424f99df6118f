#include "platform/file_name.h"

#include "platform/code_page.h"
#include "platform/text_services.h"

#include <algorithm>
#include <windows.h>

namespace ordinalette::platform {

namespace {

// Characters in one name on NTFS and FAT, and in a whole path as the ANSI functions take it.
constexpr std::size_t kMaxNameCharacters = 255;
constexpr std::size_t kMaxPathCharacters = MAX_PATH - 1;

// The ANSI code page is fixed for the life of the process.
const CodePage& systemCodePage() {
    static const CodePage codePage = CodePage::system();
    return codePage;
}

std::size_t characterCount(std::string_view text, const CodePage& codePage) {
    std::size_t count = 0;
    for (std::size_t pos = 0; pos < text.size(); pos += codePage.charLength(text, pos))
        ++count;
    return count;
}

// Control characters and <>:"/\|?* are kRefused in a name (the slashes would lead out of the
// folder); a trail byte is never one of them.
bool holdsRefusedCharacter(std::string_view name, const CodePage& codePage) {
    constexpr std::string_view kRefused = "<>:\"/\\|?*";
    for (std::size_t pos = 0; pos < name.size();) {
        const std::size_t length = codePage.charLength(name, pos);
        const auto byte = static_cast<unsigned char>(name[pos]);
        if (length == 1 && (byte < 0x20 || kRefused.find(name[pos]) != std::string_view::npos))
            return true;
        pos += length;
    }
    return false;
}

} // namespace

bool isSingleFileName(std::string_view name) {
    return !name.empty() && name != "." && name != ".." &&
           name.find('\0') == std::string_view::npos &&
           systemCodePage().findLastOf(name, "\\/") == std::string_view::npos;
}

std::string fileNameIdentity(std::string_view name) {
    return toUpperCase(name, systemCodePage());
}

// The name is joined to the folder's path with one separator; the whole must fit a path.
FileNameRules::FileNameRules(std::string_view folderPath) {
    const std::size_t taken = characterCount(folderPath, systemCodePage()) + 1;
    m_maxNameLength =
        taken >= kMaxPathCharacters ? 0 : std::min(kMaxNameCharacters, kMaxPathCharacters - taken);
}

// Windows drops blanks and dots at the end of a name, which would give the file another name
// (and leaves nothing of "." and "..").
FileNameFault FileNameRules::check(std::string_view name) const {
    if (name.empty() || name.back() == ' ' || name.back() == '.' ||
        holdsRefusedCharacter(name, systemCodePage()))
        return FileNameFault::Invalid;
    return characterCount(name, systemCodePage()) > m_maxNameLength ? FileNameFault::TooLong
                                                                    : FileNameFault::None;
}

} // namespace ordinalette::platform
