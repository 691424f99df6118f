#include "foldertree/win32/win32_shell_namespace.h"

#include "foldertree/win32/item_id_list.h"
#include "foldertree/win32/volume_label.h"
#include "foldertree/win32/win32_shell_folder.h"
#include "platform/text_services.h"

#include <algorithm>

namespace ordinalette::foldertree {

namespace {

int csidlOf(SpecialFolder folder) {
    switch (folder) {
    case SpecialFolder::Desktop:
        return CSIDL_DESKTOP;
    case SpecialFolder::DesktopDirectory:
        return CSIDL_DESKTOPDIRECTORY;
    case SpecialFolder::Drives:
        return CSIDL_DRIVES;
    case SpecialFolder::Network:
        return CSIDL_NETWORK;
    case SpecialFolder::BitBucket:
        return CSIDL_BITBUCKET;
    }
    return CSIDL_DESKTOP;
}

// The drive names ("C:") of the logical drives, in letter order.
std::vector<std::string> logicalDrives() {
    std::vector<std::string> drives;
    const DWORD letters = GetLogicalDrives();
    for (int letter = 0; letter < 26; ++letter) {
        if ((letters >> letter) & 1)
            drives.push_back({static_cast<char>('A' + letter), ':'});
    }
    return drives;
}

} // namespace

Win32ShellNamespace::Win32ShellNamespace() : m_codePage(platform::CodePage::system()) {
    SHGetDesktopFolder(&m_desktop);
}

std::shared_ptr<ShellFolder> Win32ShellNamespace::desktopFolder() {
    return m_desktop ? std::make_shared<Win32ShellFolder>(m_desktop, m_codePage) : nullptr;
}

std::optional<ItemIdList> Win32ShellNamespace::specialFolderLocation(SpecialFolder folder) {
    LPITEMIDLIST location = nullptr;
    if (FAILED(SHGetSpecialFolderLocation(nullptr, csidlOf(folder), &location)))
        return std::nullopt;
    const ShellItemList owned(location);
    return copyShellList(owned.get());
}

std::optional<ItemIdList> Win32ShellNamespace::parseDisplayName(std::string_view path) {
    if (!m_desktop || path.empty())
        return std::nullopt;
    const std::u16string decoded = platform::decodeText(path, m_codePage);
    std::wstring wide(decoded.begin(), decoded.end());
    // Either slash parts a path, as everywhere on Windows; the shell takes only the backslash.
    std::replace(wide.begin(), wide.end(), L'/', L'\\');
    LPITEMIDLIST parsed = nullptr;
    if (FAILED(
            m_desktop->ParseDisplayName(nullptr, nullptr, wide.data(), nullptr, &parsed, nullptr)))
        return std::nullopt;
    const ShellItemList owned(parsed);
    return copyShellList(owned.get());
}

std::optional<std::string> Win32ShellNamespace::pathFromIDList(const ItemIdList& item) {
    char path[MAX_PATH] = {};
    if (!SHGetPathFromIDListA(reinterpret_cast<PCIDLIST_ABSOLUTE>(ShellListBytes(item).get()),
                              path) ||
        path[0] == '\0')
        return std::nullopt;
    return std::string(path);
}

std::vector<DriveVolume> Win32ShellNamespace::driveVolumes() {
    if (m_drives)
        return *m_drives;
    std::vector<DriveVolume> drives;
    for (std::string& drive : logicalDrives()) {
        const bool network = GetDriveTypeA((drive + "\\").c_str()) == DRIVE_REMOTE;
        std::string label = volumeLabel(drive);
        driveIDList(drive); // remembered for when the letter goes
        drives.push_back({std::move(drive), std::move(label), network});
    }
    return m_drives.emplace(std::move(drives));
}

ItemIdList Win32ShellNamespace::driveIDList(const std::string& mountPoint) {
    // A drive's root parses whether or not its media is in; a letter whose drive went away is
    // named by the list it had when last seen.
    if (auto parsed = parseDisplayName(mountPoint + "\\"))
        return m_driveLists[mountPoint] = std::move(*parsed);
    const auto seen = m_driveLists.find(mountPoint);
    return seen != m_driveLists.end() ? seen->second : ItemIdList{};
}

std::string Win32ShellNamespace::volumeRoot(const std::string& path) {
    char root[MAX_PATH] = {};
    if (GetVolumePathNameA(path.c_str(), root, sizeof root))
        return root;
    return path.substr(0, 3);
}

std::vector<std::string> Win32ShellNamespace::mountPoints() {
    return logicalDrives();
}

} // namespace ordinalette::foldertree
