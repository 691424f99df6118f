#pragma once

#include "foldertree/shell_namespace.h"

#include <map>
#include <optional>
#include <shlobj.h>
#include <string>
#include <vector>
#include <wrl/client.h>

namespace ordinalette::foldertree {

// The shell namespace of Windows, over the desktop's IShellFolder: the desktop, My Computer with
// the drives, the network neighbourhood, the recycle bin and the file system's folders, as the
// shell shows them. The calling thread must have initialised the object services (OleSession).
//
// Where the interface speaks of mounts, Windows has drive letters: the drives are the logical
// drives, each known by its drive name ("C:", no trailing separator); a volume root is the root
// of the drive that holds a path ("C:\"); the mount points where a walk stops are the drive
// names; and no folder is ever kept open, so keepFoldersOpen keeps nothing.
class Win32ShellNamespace : public ShellNamespace {
public:
    Win32ShellNamespace();

    std::shared_ptr<ShellFolder> desktopFolder() override;
    std::optional<ItemIdList> specialFolderLocation(SpecialFolder folder) override;
    std::optional<ItemIdList> parseDisplayName(std::string_view path) override;
    std::optional<std::string> pathFromIDList(const ItemIdList& item) override;
    std::vector<DriveVolume> driveVolumes() override;
    void mountTableChanged() override { m_drives.reset(); }
    ItemIdList driveIDList(const std::string& mountPoint) override;
    std::string volumeRoot(const std::string& path) override;
    std::vector<std::string> mountPoints() override;
    KeptFoldersOpen keepFoldersOpen() override { return KeptFoldersOpen(); }
    const platform::CodePage& codePage() const override { return m_codePage; }

private:
    platform::CodePage m_codePage;
    Microsoft::WRL::ComPtr<IShellFolder> m_desktop;
    std::optional<std::vector<DriveVolume>> m_drives; // as last read; see driveVolumes
    // The list of every drive seen, so that one whose letter went away is still named; a letter
    // never seen gets the empty list.
    std::map<std::string, ItemIdList> m_driveLists;
};

} // namespace ordinalette::foldertree
