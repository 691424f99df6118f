#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace ordinalette::platform {

// One mounted file system as the kernel's mount table lists it.
struct MountEntry {
    std::string mountPoint; // absolute path, escapes resolved
    std::string fsType;     // "ext4", "nfs", "fuse.sshfs", ...
    std::string source;     // the device or remote source, escapes resolved
};

// Parses the text of /proc/<pid>/mountinfo; malformed lines are skipped.
std::vector<MountEntry> parseMountInfo(std::string_view text);
// Reads and parses a mount table file; nullopt when it cannot be read.
std::optional<std::vector<MountEntry>> readMountTable(const std::string& path);
// The mount table of this process.
inline constexpr const char* kProcessMountTable = "/proc/self/mountinfo";

// True for a file system that holds user folders: not a kernel pseudo file system and not
// mounted under the system's own trees (/proc, /sys, /dev, /run except /run/media).
bool isUserVisibleMount(const MountEntry& entry);
// True for a network file system (nfs, cifs, smb3, sshfs and any other fuse.* type).
bool isNetworkFileSystem(std::string_view fsType);

// The mount point among mountPoints that holds path: the longest one that is path itself or a
// leading run of whole path components. Empty when none holds it. path must be absolute.
std::string volumeRootAmong(std::string_view path, const std::vector<std::string>& mountPoints);
// The user-visible mounts of a mount table file; empty when it cannot be read.
std::vector<MountEntry> readUserVisibleMounts(const std::string& mountTable = kProcessMountTable);
// The label of the file system on a block device (from /dev/disk/by-label); empty when it has
// none or the device is no block device.
std::string volumeLabel(const std::string& device);

} // namespace ordinalette::platform
