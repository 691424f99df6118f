#pragma once

#include "platform/code_page.h"
#include "platform/error_number.h"
#include "platform/flag_set.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace ordinalette::foldertree {

// One identifier of a shell item within its parent. kind and name are the namespace's own;
// sortKey caches the item's place in its folder's order so that comparing stays cheap.
struct ItemId {
    std::uint8_t kind = 0;
    std::string name;
    std::string sortKey;

    bool operator==(const ItemId& other) const { return kind == other.kind && name == other.name; }
};

// An item identifier list: from the desktop to the item (absolute) or within a folder
// (relative). The desktop's own absolute list is the empty list.
using ItemIdList = std::vector<ItemId>;

// Attribute flags of shell items, with the shell's values.
enum class ShellAttribute : std::uint32_t {
    None = 0,
    CanRename = 0x10,
    Link = 0x10000,
    FileSysAncestor = 0x10000000,
    Folder = 0x20000000,
    FileSystem = 0x40000000,
    HasSubfolder = 0x80000000,
};
using platform::operator|;
using platform::operator&;
using platform::hasAll;
using platform::hasAny;

// The special locations of the namespace.
enum class SpecialFolder { Desktop, DesktopDirectory, Drives, Network, BitBucket };

// A folder object: enumerates, compares, describes, binds to and renames its children. Every
// operation also accepts a relative list of several identifiers, naming an item deeper down.
class ShellFolder {
public:
    virtual ~ShellFolder() = default;

    // The folder's subfolders as one-identifier relative lists, hidden ones only when asked;
    // nullopt when the folder cannot be enumerated.
    virtual std::optional<std::vector<ItemIdList>> enumFolders(bool includeHidden) = 0;
    // <0, 0 or >0 as a stands before, equals or stands after b; nullopt when they cannot be
    // compared.
    virtual std::optional<int> compareIDs(const ItemIdList& a, const ItemIdList& b) = 0;
    // The item's attributes within mask; none for a failed query.
    virtual ShellAttribute getAttributesOf(const ItemIdList& item, ShellAttribute mask) = 0;
    // The item's display name within this folder, in the namespace's code page.
    virtual std::optional<std::string> getDisplayNameOf(const ItemIdList& item) = 0;
    // The folder object of a child folder; null when it cannot be had.
    virtual std::shared_ptr<ShellFolder> bindToObject(const ItemIdList& item) = 0;
    // Renames a child to newName (namespace code page); its new relative list, or the error
    // number of the failure (platform/error_number.h).
    virtual platform::Result<ItemIdList> setNameOf(const ItemIdList& item,
                                                   std::string_view newName) = 0;
};

// A mounted volume that the namespace shows as a drive.
struct DriveVolume {
    std::string mountPoint; // without a trailing separator, except the root "/"
    std::string label;      // as the file system holds it; empty when it has none
    bool network = false;   // a network file system: also listed under the network
};

// While it lives, folders opened to probe their entries may stay open; when the last one goes
// they are closed. Moved, never copied.
class KeptFoldersOpen {
public:
    KeptFoldersOpen() = default;
    explicit KeptFoldersOpen(std::function<void()> release) : m_release(std::move(release)) {}
    KeptFoldersOpen(KeptFoldersOpen&& other) noexcept : m_release(std::move(other.m_release)) {
        other.m_release = nullptr;
    }
    KeptFoldersOpen& operator=(KeptFoldersOpen&&) = delete;
    ~KeptFoldersOpen() {
        if (m_release)
            m_release();
    }

private:
    std::function<void()> m_release;
};

// The shell namespace as the folder tree sees it.
class ShellNamespace {
public:
    virtual ~ShellNamespace() = default;

    virtual std::shared_ptr<ShellFolder> desktopFolder() = 0;
    virtual std::optional<ItemIdList> specialFolderLocation(SpecialFolder folder) = 0;
    // The absolute list of an existing file or folder named by a full path.
    virtual std::optional<ItemIdList> parseDisplayName(std::string_view path) = 0;
    // The file-system path of an absolute list: a drive's root with its trailing separator,
    // every other folder without one; nullopt for items outside the file system.
    virtual std::optional<std::string> pathFromIDList(const ItemIdList& item) = 0;
    // The drives mounted as last seen: kept, and read again only after mountTableChanged.
    virtual std::vector<DriveVolume> driveVolumes() = 0;
    // The mount table changed: the drives are read again when next asked for.
    virtual void mountTableChanged() = 0;
    // The absolute list of the drive mounted at mountPoint, mounted or not.
    virtual ItemIdList driveIDList(const std::string& mountPoint) = 0;
    // The mount point of the drive that holds a path, its links resolved, as Path reads it
    // ("/", "/media/usb/").
    virtual std::string volumeRoot(const std::string& path) = 0;
    // Every path at which a file system is mounted, the system's own ones included, without a
    // trailing separator (except "/"): where a walk that stays on one volume stops.
    virtual std::vector<std::string> mountPoints() = 0;
    // While the returned object lives, folders opened to probe their entries may stay open, so
    // that reading thousands of entries of one folder is cheap; none stays open after it (an
    // open folder would keep its volume from being unmounted).
    virtual KeptFoldersOpen keepFoldersOpen() = 0;
    // The code page of display names and paths.
    virtual const platform::CodePage& codePage() const = 0;
};

} // namespace ordinalette::foldertree

template <>
inline constexpr bool ordinalette::platform::kIsFlagSet<ordinalette::foldertree::ShellAttribute> =
    true;
