#include "foldertree/posix/linux_shell_namespace.h"

#include "foldertree/posix/mount_table.h"
#include "platform/file_name.h"
#include "platform/file_system.h"
#include "platform/posix/desktop_directory.h"
#include "platform/posix/folder_entries.h"

#include <algorithm>

namespace ordinalette::foldertree {

namespace {

// Identifier kinds; their values order the desktop's children: My Computer, the folders on
// the desktop, the network, the recycle bin. Drives only ever meet drives.
enum class IdKind : std::uint8_t { Computer = 1, Folder = 2, Network = 3, Trash = 4, Drive = 5 };

enum class LocationKind { Desktop, Computer, Network, Trash, Drive, Folder };

// What an absolute list stands for: its kind and, inside the file system, its path (a drive's
// mount point without a trailing separator, except the root "/").
struct Location {
    LocationKind kind;
    std::string path;
};

ItemId makeId(IdKind kind, std::string name, std::string sortKey = {}) {
    return ItemId{static_cast<std::uint8_t>(kind), std::move(name), std::move(sortKey)};
}

IdKind kindOf(const ItemId& id) {
    return static_cast<IdKind>(id.kind);
}

// The path of an entry of a folder; the root "/" already ends in the separator.
std::string childPath(const std::string& folder, const std::string& name) {
    return folder == "/" ? "/" + name : folder + "/" + name;
}

std::optional<Location> childLocation(const Location& parent, const ItemId& id,
                                      const NamespaceRoots& roots) {
    const IdKind kind = kindOf(id);
    switch (parent.kind) {
    case LocationKind::Desktop:
        if (kind == IdKind::Computer)
            return Location{LocationKind::Computer, {}};
        if (kind == IdKind::Network)
            return Location{LocationKind::Network, {}};
        if (kind == IdKind::Trash)
            return Location{LocationKind::Trash, {}};
        if (kind == IdKind::Folder && platform::isSingleFileName(id.name))
            return Location{LocationKind::Folder, childPath(roots.desktopDirectory, id.name)};
        return std::nullopt;
    case LocationKind::Computer:
    case LocationKind::Network:
        if (kind == IdKind::Drive && id.name.starts_with('/'))
            return Location{LocationKind::Drive, id.name};
        return std::nullopt;
    case LocationKind::Drive:
    case LocationKind::Folder:
        if (kind == IdKind::Folder && platform::isSingleFileName(id.name))
            return Location{LocationKind::Folder, childPath(parent.path, id.name)};
        return std::nullopt;
    case LocationKind::Trash:
        return std::nullopt;
    }
    return std::nullopt;
}

std::optional<Location> resolve(Location location, const ItemIdList& relative,
                                const NamespaceRoots& roots) {
    for (const auto& id : relative) {
        auto child = childLocation(location, id, roots);
        if (!child)
            return std::nullopt;
        location = std::move(*child);
    }
    return location;
}

int compareIds(const ItemId& a, const ItemId& b) {
    if (a.kind != b.kind)
        return a.kind < b.kind ? -1 : 1;
    if (const int byKey = a.sortKey.compare(b.sortKey); byKey != 0)
        return byKey;
    return a.name.compare(b.name);
}

// The folder object of one location of the namespace.
class LinuxShellFolder : public ShellFolder {
public:
    LinuxShellFolder(std::shared_ptr<LinuxShellNamespace> ns, Location location)
        : m_ns(std::move(ns)), m_location(std::move(location)) {}

    std::optional<std::vector<ItemIdList>> enumFolders(bool includeHidden) override {
        std::vector<ItemIdList> children;
        switch (m_location.kind) {
        case LocationKind::Desktop:
            children.push_back({makeId(IdKind::Computer, "computer")});
            children.push_back({makeId(IdKind::Network, "network")});
            children.push_back({makeId(IdKind::Trash, "trash")});
            // The fixed items never depend on the desktop directory, which may be gone or
            // unreadable for a while.
            appendFolders(m_location.path, includeHidden, children);
            break;
        case LocationKind::Computer:
            for (const auto& mount : m_ns->drives())
                children.push_back({makeId(IdKind::Drive, mount.mountPoint, mount.mountPoint)});
            break;
        case LocationKind::Network:
            for (const auto& mount : networkDrives())
                children.push_back({makeId(IdKind::Drive, mount.mountPoint, mount.mountPoint)});
            break;
        case LocationKind::Trash:
            break;
        case LocationKind::Drive:
            // Without its volume the mount point is a folder of another volume.
            if (!m_ns->isMounted(m_location.path) ||
                !appendFolders(m_location.path, includeHidden, children))
                return std::nullopt;
            break;
        case LocationKind::Folder:
            if (!appendFolders(m_location.path, includeHidden, children))
                return std::nullopt;
            break;
        }
        // Handed out in the folder's own order, so that the tree finds them sorted already.
        std::sort(children.begin(), children.end(), [](const ItemIdList& a, const ItemIdList& b) {
            return compareIds(a.front(), b.front()) < 0;
        });
        return children;
    }

    std::optional<int> compareIDs(const ItemIdList& a, const ItemIdList& b) override {
        const std::size_t common = std::min(a.size(), b.size());
        for (std::size_t i = 0; i < common; ++i) {
            if (const int result = compareIds(a[i], b[i]); result != 0)
                return result;
        }
        return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
    }

    ShellAttribute getAttributesOf(const ItemIdList& item, ShellAttribute mask) override {
        // A folder's own subfolders are probed through an open handle of the folder; a probe
        // that finds nothing asks again by path, in case the handle's folder has moved.
        if (item.size() == 1 && kindOf(item.front()) == IdKind::Folder &&
            isFileSystem(m_location.kind) && platform::isSingleFileName(item.front().name)) {
            if (const auto handle = m_ns->folderHandle(m_location.path)) {
                const auto found = folderAttributes(platform::probeFolder(
                    *handle, item.front().name, hasAny(mask, ShellAttribute::HasSubfolder)));
                if (found != ShellAttribute::None)
                    return found & mask;
            }
        }
        const auto location = resolve(m_location, item, m_ns->roots());
        return location ? attributes(*location, mask) & mask : ShellAttribute::None;
    }

    std::optional<std::string> getDisplayNameOf(const ItemIdList& item) override {
        const auto location = resolve(m_location, item, m_ns->roots());
        if (!location)
            return std::nullopt;
        switch (location->kind) {
        case LocationKind::Desktop:
            return m_ns->fixedName(u"デスクトップ");
        case LocationKind::Computer:
            return m_ns->fixedName(u"コンピュータ");
        case LocationKind::Network:
            return m_ns->fixedName(u"ネットワーク");
        case LocationKind::Trash:
            return m_ns->fixedName(u"ごみ箱");
        case LocationKind::Drive:
            return driveName(location->path);
        case LocationKind::Folder:
            return item.back().name;
        }
        return std::nullopt;
    }

    std::shared_ptr<ShellFolder> bindToObject(const ItemIdList& item) override {
        auto location = resolve(m_location, item, m_ns->roots());
        if (!location || (isFileSystem(location->kind) && !m_ns->isFolder(location->path)) ||
            (location->kind == LocationKind::Drive && !m_ns->isMounted(location->path)))
            return nullptr;
        return std::make_shared<LinuxShellFolder>(m_ns, std::move(*location));
    }

    platform::Result<ItemIdList> setNameOf(const ItemIdList& item,
                                           std::string_view newName) override {
        using Renamed = platform::Result<ItemIdList>;
        // A new name must stay a name inside the same folder: no separator, not "." or "..".
        if (item.empty() || !platform::isSingleFileName(newName))
            return Renamed::failure(platform::error::PathNotFound);
        const ItemIdList parentList(item.begin(), item.end() - 1);
        const auto parent = resolve(m_location, parentList, m_ns->roots());
        const auto location = resolve(m_location, item, m_ns->roots());
        if (!parent || !location || location->kind != LocationKind::Folder)
            return Renamed::failure(platform::error::FileNotFound);
        auto& fileSystem = m_ns->fileSystem();
        const auto folder = fileSystem.openDirectory(parent->path);
        if (!folder.ok())
            return Renamed::failure(folder.error);
        if (const int failure =
                fileSystem.moveFile(folder.value, item.back().name, folder.value, newName))
            return Renamed::failure(failure);
        ItemIdList renamed = item;
        renamed.back() = m_ns->folderId(std::string(newName));
        return Renamed::success(std::move(renamed));
    }

private:
    static bool isFileSystem(LocationKind kind) {
        return kind == LocationKind::Drive || kind == LocationKind::Folder ||
               kind == LocationKind::Desktop;
    }

    bool appendFolders(const std::string& path, bool includeHidden,
                       std::vector<ItemIdList>& children) const {
        auto folders = platform::listSubfolders(path, includeHidden);
        if (!folders)
            return false;
        children.reserve(children.size() + folders->size());
        for (auto& folder : *folders)
            children.push_back({m_ns->folderId(std::move(folder.name))});
        return true;
    }

    ShellAttribute attributes(const Location& location, ShellAttribute mask) const {
        const bool wantsSubfolders = hasAny(mask, ShellAttribute::HasSubfolder);
        switch (location.kind) {
        case LocationKind::Desktop:
            return ShellAttribute::Folder | ShellAttribute::FileSystem |
                   ShellAttribute::FileSysAncestor | ShellAttribute::HasSubfolder;
        case LocationKind::Computer:
            return ShellAttribute::Folder | ShellAttribute::FileSysAncestor |
                   ShellAttribute::HasSubfolder;
        case LocationKind::Network:
            return ShellAttribute::Folder | ShellAttribute::FileSysAncestor |
                   (wantsSubfolders && !networkDrives().empty() ? ShellAttribute::HasSubfolder
                                                                : ShellAttribute::None);
        case LocationKind::Trash:
            return ShellAttribute::Folder;
        case LocationKind::Drive:
            // A drive stays a drive while its volume is unreadable or gone (media removed).
            return ShellAttribute::Folder | ShellAttribute::FileSystem |
                   ShellAttribute::FileSysAncestor |
                   (wantsSubfolders && driveHasSubfolders(location.path)
                        ? ShellAttribute::HasSubfolder
                        : ShellAttribute::None);
        case LocationKind::Folder:
            return folderAttributes(platform::probeFolder(location.path, wantsSubfolders));
        }
        return ShellAttribute::None;
    }

    // A volume whose server may stop answering is not asked: it offers its button, and only
    // opening it waits for the server.
    bool driveHasSubfolders(const std::string& mountPoint) const {
        const MountEntry* drive = m_ns->driveAt(mountPoint);
        return drive && (mayStopAnswering(drive->fsType) ||
                         platform::probeFolder(mountPoint, true).hasSubfolders);
    }

    static ShellAttribute folderAttributes(const platform::FolderProbe& probe) {
        if (!probe.isFolder)
            return ShellAttribute::None;
        return ShellAttribute::Folder | ShellAttribute::FileSystem | ShellAttribute::CanRename |
               (probe.hasSubfolders ? ShellAttribute::HasSubfolder : ShellAttribute::None) |
               (probe.isLink ? ShellAttribute::Link : ShellAttribute::None);
    }

    std::vector<DriveVolume> networkDrives() const {
        auto drives = m_ns->driveVolumes();
        std::erase_if(drives, [](const DriveVolume& drive) { return !drive.network; });
        return drives;
    }

    // "label (mount point)", or the mount point's own name when the volume has no label.
    std::string driveName(const std::string& mountPoint) const {
        const MountEntry* drive = m_ns->driveAt(mountPoint);
        std::string name = drive ? m_ns->labelOf(*drive) : std::string();
        if (name.empty())
            name = mountPoint.substr(mountPoint.find_last_of('/') + 1);
        return name.empty() ? "(" + mountPoint + ")" : name + " (" + mountPoint + ")";
    }

    std::shared_ptr<LinuxShellNamespace> m_ns;
    Location m_location;
};

} // namespace

LinuxShellNamespace::LinuxShellNamespace(NamespaceRoots roots, platform::CodePage codePage,
                                         platform::FileSystem& fileSystem)
    : m_roots(std::move(roots)), m_userName(platform::userName()), m_codePage(std::move(codePage)),
      m_collator(m_codePage), m_fileSystem(fileSystem) {}

std::shared_ptr<LinuxShellNamespace> LinuxShellNamespace::forCurrentUser() {
    return std::make_shared<LinuxShellNamespace>(
        NamespaceRoots{platform::desktopDirectory(), kProcessMountTable, platform::trashDirectory(),
                       platform::homeDirectory(), kLabelDirectory},
        platform::CodePage::system(), platform::systemFileSystem());
}

std::shared_ptr<ShellFolder> LinuxShellNamespace::desktopFolder() {
    return std::make_shared<LinuxShellFolder>(
        shared_from_this(), Location{LocationKind::Desktop, m_roots.desktopDirectory});
}

std::optional<ItemIdList> LinuxShellNamespace::specialFolderLocation(SpecialFolder folder) {
    switch (folder) {
    case SpecialFolder::Desktop:
        return ItemIdList{};
    case SpecialFolder::DesktopDirectory:
        return parseDisplayName(m_roots.desktopDirectory);
    case SpecialFolder::Drives:
        return ItemIdList{makeId(IdKind::Computer, "computer")};
    case SpecialFolder::Network:
        return ItemIdList{makeId(IdKind::Network, "network")};
    case SpecialFolder::BitBucket:
        return ItemIdList{makeId(IdKind::Trash, "trash")};
    }
    return std::nullopt;
}

std::optional<ItemIdList> LinuxShellNamespace::parseDisplayName(std::string_view path) {
    if (!path.starts_with('/'))
        return std::nullopt;
    std::vector<std::string> components;
    std::string normalised;
    std::size_t pos = 0;
    while (pos < path.size()) {
        const std::size_t end = std::min(path.find('/', pos), path.size());
        const std::string_view component = path.substr(pos, end - pos);
        pos = end + 1;
        if (component.empty())
            continue;
        if (!platform::isSingleFileName(component))
            return std::nullopt;
        components.emplace_back(component);
        normalised.append(1, '/').append(component);
    }
    if (normalised.empty())
        normalised.assign(1, '/');
    if (!m_fileSystem.attributes(normalised).ok())
        return std::nullopt;
    const std::string root = volumeRootAmong(normalised, driveMountPoints());
    if (root.empty())
        return std::nullopt;
    ItemIdList list = driveIDList(root);
    const std::size_t rootDepth =
        root == "/" ? 0 : static_cast<std::size_t>(std::count(root.begin(), root.end(), '/'));
    for (std::size_t i = rootDepth; i < components.size(); ++i)
        list.push_back(folderId(components[i]));
    return list;
}

std::optional<std::string> LinuxShellNamespace::pathFromIDList(const ItemIdList& item) {
    const auto location =
        resolve(Location{LocationKind::Desktop, m_roots.desktopDirectory}, item, m_roots);
    if (!location)
        return std::nullopt;
    switch (location->kind) {
    case LocationKind::Desktop:
    case LocationKind::Folder:
        return location->path;
    case LocationKind::Drive:
        // A drive without its volume has no path to read (as one without media).
        if (!isMounted(location->path))
            return std::nullopt;
        return location->path == "/" ? location->path : location->path + "/";
    default:
        return std::nullopt;
    }
}

const std::vector<MountEntry>& LinuxShellNamespace::drives() const {
    if (m_drives)
        return *m_drives;
    const auto table = readMountTable(m_roots.mountTable);
    // Without a readable mount table the whole file system is one drive.
    if (!table || table->empty())
        return m_drives.emplace(std::vector<MountEntry>{{"/", {}, {}, {}}});
    return m_drives.emplace(
        drivesAmong(*table, UserPlaces{m_roots.homeDirectory, m_userName, m_roots.desktopDirectory},
                    [this](const std::string& path) { return isFolder(path); }));
}

std::string LinuxShellNamespace::labelOf(const MountEntry& drive) const {
    return volumeLabel(drive.source, m_roots.labelDirectory);
}

const MountEntry* LinuxShellNamespace::driveAt(const std::string& mountPoint) const {
    const auto& mounts = drives();
    const auto found = std::find_if(mounts.begin(), mounts.end(), [&](const auto& mount) {
        return mount.mountPoint == mountPoint;
    });
    return found == mounts.end() ? nullptr : &*found;
}

std::vector<DriveVolume> LinuxShellNamespace::driveVolumes() {
    std::vector<DriveVolume> volumes;
    for (const auto& mount : drives()) {
        volumes.push_back({mount.mountPoint, labelOf(mount), isNetworkFileSystem(mount.fsType)});
    }
    return volumes;
}

std::vector<std::string> LinuxShellNamespace::driveMountPoints() const {
    std::vector<std::string> mountPoints;
    for (const auto& mount : drives())
        mountPoints.push_back(mount.mountPoint);
    return mountPoints;
}

ItemIdList LinuxShellNamespace::driveIDList(const std::string& mountPoint) {
    return {makeId(IdKind::Computer, "computer"), makeId(IdKind::Drive, mountPoint, mountPoint)};
}

std::string LinuxShellNamespace::volumeRoot(const std::string& path) {
    std::string root = volumeRootAmong(resolvedPath(path), driveMountPoints());
    if (!root.empty() && root.back() != '/')
        root += '/';
    return root;
}

std::vector<std::string> LinuxShellNamespace::mountPoints() {
    std::vector<std::string> points;
    if (const auto mounts = readMountTable(m_roots.mountTable)) {
        for (const auto& mount : *mounts)
            points.push_back(mount.mountPoint);
    }
    return points;
}

ItemId LinuxShellNamespace::folderId(std::string name) const {
    std::string key = m_collator.sortKey(name);
    return makeId(IdKind::Folder, std::move(name), std::move(key));
}

bool LinuxShellNamespace::isFolder(const std::string& path) const {
    const auto found = m_fileSystem.attributes(path);
    return found.ok() && platform::hasAny(found.value, platform::Attribute::Directory);
}

KeptFoldersOpen LinuxShellNamespace::keepFoldersOpen() {
    ++m_keepOpen;
    return KeptFoldersOpen([self = shared_from_this()] {
        if (--self->m_keepOpen == 0)
            self->m_handles.clear();
    });
}

std::shared_ptr<const platform::DirectoryHandle>
LinuxShellNamespace::folderHandle(const std::string& path) {
    constexpr std::size_t kKept = 8; // the folders being read at once; bounds open handles
    if (m_keepOpen == 0)
        return nullptr;
    const auto cached = std::find_if(m_handles.begin(), m_handles.end(),
                                     [&](const auto& entry) { return entry.first == path; });
    if (cached != m_handles.end())
        return cached->second;
    auto opened = m_fileSystem.openDirectory(path);
    if (!opened.ok())
        return nullptr;
    if (m_handles.size() == kKept)
        m_handles.erase(m_handles.begin());
    m_handles.emplace_back(path,
                           std::make_shared<platform::DirectoryHandle>(std::move(opened.value)));
    return m_handles.back().second;
}

std::string LinuxShellNamespace::fixedName(std::u16string_view text) const {
    return platform::encodeText(text, m_codePage);
}

} // namespace ordinalette::foldertree
