#pragma once

#include "foldertree/posix/mount_table.h"
#include "foldertree/shell_namespace.h"
#include "platform/file_system.h"
#include "platform/text_services.h"

#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace ordinalette::foldertree {

// Where the namespace takes its items from; tests point these at temporary folders.
struct NamespaceRoots {
    std::string desktopDirectory; // the folders lying on the desktop; the root's path
    std::string mountTable;       // a mountinfo file: the drives and network volumes
    std::string trashDirectory;   // the recycle bin
    std::string homeDirectory;    // volumes mounted below it are drives
    std::string labelDirectory;   // the links of block devices by volume label
};

// The shell namespace over a Linux desktop: the desktop, "コンピュータ" with the mounted file
// systems that a desktop shows its user as drives, the desktop directory's folders,
// "ネットワーク" with the drives that are network file systems, and "ごみ箱". A drive whose
// volume is gone stays a drive without media: nothing is read at its mount point.
class LinuxShellNamespace : public ShellNamespace,
                            public std::enable_shared_from_this<LinuxShellNamespace> {
public:
    // Renames and existence checks go through fileSystem, so tests can make them fail.
    LinuxShellNamespace(NamespaceRoots roots, platform::CodePage codePage,
                        platform::FileSystem& fileSystem);
    // The namespace of the user running the program, in the system's code page.
    static std::shared_ptr<LinuxShellNamespace> forCurrentUser();

    std::shared_ptr<ShellFolder> desktopFolder() override;
    std::optional<ItemIdList> specialFolderLocation(SpecialFolder folder) override;
    std::optional<ItemIdList> parseDisplayName(std::string_view path) override;
    std::optional<std::string> pathFromIDList(const ItemIdList& item) override;
    std::vector<DriveVolume> driveVolumes() override;
    void mountTableChanged() override { m_drives.reset(); }
    ItemIdList driveIDList(const std::string& mountPoint) override;
    std::string volumeRoot(const std::string& path) override;
    std::vector<std::string> mountPoints() override;
    KeptFoldersOpen keepFoldersOpen() override;
    const platform::CodePage& codePage() const override { return m_codePage; }

    const NamespaceRoots& roots() const { return m_roots; }
    // The identifier of a folder entry, with its place in the folder's order.
    ItemId folderId(std::string name) const;
    platform::FileSystem& fileSystem() const { return m_fileSystem; }
    // The drives under My Computer: the mounts of the mount table that are drives, as read when
    // first asked for after a change of the mount table.
    const std::vector<MountEntry>& drives() const;
    // The label of a drive's volume as the file system holds it; empty when it has none.
    std::string labelOf(const MountEntry& drive) const;
    // The drive mounted at mountPoint, as the mount table said when last read; null for none.
    const MountEntry* driveAt(const std::string& mountPoint) const;
    bool isMounted(const std::string& mountPoint) const { return driveAt(mountPoint) != nullptr; }
    bool isFolder(const std::string& path) const;
    // An open handle of a folder from a small cache, so that probing the many entries of one
    // folder spares the walk along its path each time; null when it cannot be opened or when
    // no caller keeps folders open.
    std::shared_ptr<const platform::DirectoryHandle> folderHandle(const std::string& path);
    // A fixed display name, encoded in the namespace's code page.
    std::string fixedName(std::u16string_view text) const;

private:
    std::vector<std::string> driveMountPoints() const;

    NamespaceRoots m_roots;
    std::string m_userName; // asked once: the password database may be slow to ask
    // Kept: reading them asks the mount points, and one whose server stopped answering would
    // hold up every question about any drive.
    mutable std::optional<std::vector<MountEntry>> m_drives;
    platform::CodePage m_codePage;
    platform::TextCollator m_collator;
    platform::FileSystem& m_fileSystem;
    std::vector<std::pair<std::string, std::shared_ptr<platform::DirectoryHandle>>> m_handles;
    int m_keepOpen = 0;
};

} // namespace ordinalette::foldertree
