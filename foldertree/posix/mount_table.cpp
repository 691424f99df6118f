#include "foldertree/posix/mount_table.h"

#include "foldertree/folder_path.h"
#include "platform/debug_log.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <libmount.h>
#include <limits.h>
#include <memory>
#include <set>
#include <stdlib.h>

namespace ordinalette::foldertree {

namespace {

constexpr const char* kFsTab = "/etc/fstab";
constexpr std::string_view kShowOption = "x-gvfs-show";

struct TableRelease {
    void operator()(libmnt_table* table) const { mnt_unref_table(table); }
};
using Table = std::unique_ptr<libmnt_table, TableRelease>;

std::string text(const char* value) {
    return value ? std::string(value) : std::string();
}

bool hasOption(const std::string& options, std::string_view name) {
    return mnt_optstr_get_option(options.c_str(), std::string(name).c_str(), nullptr, nullptr) == 0;
}

// Parses a table file; the process's own table with the user-space options that libmount keeps
// apart from the kernel's. Null, with the error number in error, when it cannot be read.
Table parseTable(const std::string& path, int& error) {
    Table table(mnt_new_table());
    if (!table) {
        error = ENOMEM;
        return nullptr;
    }
    const int failed = path == kProcessMountTable ? mnt_table_parse_mtab(table.get(), nullptr)
                                                  : mnt_table_parse_file(table.get(), path.c_str());
    error = -failed;
    return failed == 0 ? std::move(table) : nullptr;
}

std::vector<MountEntry> entriesOf(libmnt_table* table) {
    std::vector<MountEntry> entries;
    libmnt_iter* iterator = mnt_new_iter(MNT_ITER_FORWARD);
    libmnt_fs* fs = nullptr;
    while (iterator && mnt_table_next_fs(table, iterator, &fs) == 0) {
        MountEntry entry{text(mnt_fs_get_target(fs)), text(mnt_fs_get_fstype(fs)),
                         text(mnt_fs_get_source(fs)), text(mnt_fs_get_options(fs))};
        if (!entry.mountPoint.starts_with('/'))
            continue;
        // A later mount on the same point hides the earlier one.
        std::erase_if(entries,
                      [&](const MountEntry& e) { return e.mountPoint == entry.mountPoint; });
        entries.push_back(std::move(entry));
    }
    mnt_free_iter(iterator);
    return entries;
}

// The mount points that /etc/fstab marks to be shown to the user.
std::set<std::string> shownInFsTab() {
    std::set<std::string> shown;
    int error = 0;
    if (const Table fsTab = parseTable(kFsTab, error)) {
        for (const auto& entry : entriesOf(fsTab.get())) {
            if (hasOption(entry.options, kShowOption))
                shown.insert(entry.mountPoint);
        }
    }
    return shown;
}

// udev writes unsafe bytes of labels as "\xHH".
std::string unescapeHex(std::string_view text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\\' && i + 3 < text.size() && text[i + 1] == 'x' &&
            std::isxdigit(static_cast<unsigned char>(text[i + 2])) &&
            std::isxdigit(static_cast<unsigned char>(text[i + 3]))) {
            out += static_cast<char>(std::stoi(std::string(text.substr(i + 2, 2)), nullptr, 16));
            i += 3;
        } else {
            out += text[i];
        }
    }
    return out;
}

// Below folder (not folder itself) and not inside a hidden folder there, where programs keep
// their own mounts (containers, portals).
bool isShownBelow(std::string_view path, std::string_view folder) {
    if (folder.empty() || path == folder || !isAtOrBelow(path, folder))
        return false;
    const std::string_view rest = path.substr(folder == "/" ? 1 : folder.size() + 1);
    return !rest.starts_with('.') && rest.find("/.") == std::string_view::npos;
}

// home is the home directory with its links resolved, as mount points are.
bool isUserPlace(const std::string& mountPoint, const UserPlaces& places, const std::string& home) {
    return mountPoint == "/mnt" || isShownBelow(mountPoint, "/mnt") ||
           isShownBelow(mountPoint, "/media") ||
           (!places.userName.empty() &&
            isShownBelow(mountPoint, "/run/media/" + places.userName)) ||
           (home != "/" && isShownBelow(mountPoint, home));
}

// Memory file systems hold the user's files as a disk does; libmount counts them as pseudo.
bool holdsFiles(const std::string& fsType) {
    return !mnt_fstype_is_pseudofs(fsType.c_str()) || fsType == "tmpfs" || fsType == "ramfs";
}

} // namespace

std::optional<std::vector<MountEntry>> readMountTable(const std::string& path) {
    int error = 0;
    const Table table = parseTable(path, error);
    if (!table) {
        platform::logDebug("cannot read the mount table " + path + ": " + std::strerror(error));
        return std::nullopt;
    }
    auto entries = entriesOf(table.get());
    if (path == kProcessMountTable) {
        const auto shown = shownInFsTab();
        for (auto& entry : entries) {
            if (shown.contains(entry.mountPoint) && !hasOption(entry.options, kShowOption))
                entry.options += (entry.options.empty() ? "" : ",") + std::string(kShowOption);
        }
    }
    return entries;
}

bool isNetworkFileSystem(std::string_view fsType) {
    return mnt_fstype_is_netfs(std::string(fsType).c_str()) != 0;
}

bool mayStopAnswering(std::string_view fsType) {
    return isNetworkFileSystem(fsType) || fsType == "fuse" || fsType == "fuseblk" ||
           fsType.starts_with("fuse.");
}

std::vector<MountEntry> drivesAmong(const std::vector<MountEntry>& table, const UserPlaces& places,
                                    const std::function<bool(const std::string&)>& isFolder) {
    std::vector<std::string> mountPoints;
    mountPoints.reserve(table.size());
    for (const auto& entry : table)
        mountPoints.push_back(entry.mountPoint);
    const std::string desktopVolume =
        volumeRootAmong(resolvedPath(places.desktopDirectory), mountPoints);
    const std::string home = resolvedPath(places.homeDirectory);
    std::vector<MountEntry> drives;
    for (const auto& entry : table) {
        const bool always = entry.mountPoint == "/" || entry.mountPoint == desktopVolume;
        const bool shown =
            holdsFiles(entry.fsType) &&
            (hasOption(entry.options, kShowOption) || isUserPlace(entry.mountPoint, places, home));
        if (always || (shown && (mayStopAnswering(entry.fsType) || isFolder(entry.mountPoint))))
            drives.push_back(entry);
    }
    return drives;
}

std::string volumeRootAmong(std::string_view path, const std::vector<std::string>& mountPoints) {
    std::string best;
    for (const auto& mountPoint : mountPoints) {
        if (isAtOrBelow(path, mountPoint) && (best.empty() || mountPoint.size() > best.size()))
            best = mountPoint;
    }
    return best;
}

std::string resolvedPath(const std::string& path) {
    std::array<char, PATH_MAX> buffer{};
    return realpath(path.c_str(), buffer.data()) ? std::string(buffer.data()) : path;
}

std::string volumeLabel(const std::string& device, const std::string& labelDirectory) {
    // A source that is no path (a tmpfs, a remote share) has no label.
    if (!device.starts_with('/'))
        return {};
    const std::string target = resolvedPath(device);
    std::error_code failure;
    for (std::filesystem::directory_iterator entry(labelDirectory, failure), end;
         !failure && entry != end; entry.increment(failure)) {
        if (resolvedPath(entry->path()) == target)
            return unescapeHex(entry->path().filename().string());
    }
    return {};
}

} // namespace ordinalette::foldertree
