#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace ordinalette::foldertree {

// One mounted file system as the mount table lists it.
struct MountEntry {
    std::string mountPoint; // absolute path, escapes resolved
    std::string fsType;     // "ext4", "nfs", "fuse.sshfs", ...
    std::string source;     // the device or remote source, escapes resolved
    std::string options;    // every option, user-space ones such as x-gvfs-show included
};

// The mount table of this process.
inline constexpr const char* kProcessMountTable = "/proc/self/mountinfo";
// Where udev keeps a link to each block device by the label of its file system.
inline constexpr const char* kLabelDirectory = "/dev/disk/by-label";

// Reads a mount table file (mountinfo or fstab form); a later mount on a point hides the
// earlier one. The process's own table also takes the user-space options of the mounts and
// the x-gvfs-show marks of /etc/fstab. nullopt when it cannot be read.
std::optional<std::vector<MountEntry>> readMountTable(const std::string& path);

// True for a network file system (nfs, cifs, sshfs and the like), not for any other FUSE one.
bool isNetworkFileSystem(std::string_view fsType);
// True for a file system served over the network or by a program (any FUSE one): its server may
// stop answering, and whoever asks it anything then waits for as long.
bool mayStopAnswering(std::string_view fsType);

// Where a Linux desktop shows its user the volumes mounted for them.
struct UserPlaces {
    std::string homeDirectory;
    std::string userName;         // the folder of /run/media that is the user's
    std::string desktopDirectory; // the volume that holds it is a drive wherever it is mounted
};
// The mounts that are drives: the root "/", the volume that holds the desktop directory (its
// links resolved), and the folder mounts that a desktop shows its user: under /media,
// /run/media/<user>, /mnt and the home directory (not inside a hidden folder there), or marked
// x-gvfs-show. Kernel pseudo file systems and container overlays are none, memory file systems
// excepted; nor is a mount of a single file (isFolder says which mount points are folders; it is
// never asked of a file system that may stop answering).
std::vector<MountEntry> drivesAmong(const std::vector<MountEntry>& table, const UserPlaces& places,
                                    const std::function<bool(const std::string&)>& isFolder);

// The mount point among mountPoints that holds path: the longest one that is path itself or a
// leading run of whole path components. Empty when none holds it. path must be absolute.
std::string volumeRootAmong(std::string_view path, const std::vector<std::string>& mountPoints);
// The path with every link resolved; the path itself when it cannot be resolved.
std::string resolvedPath(const std::string& path);
// The label of the file system on a block device, from the links of labelDirectory; empty
// when it has none or the device is no block device.
std::string volumeLabel(const std::string& device,
                        const std::string& labelDirectory = kLabelDirectory);

} // namespace ordinalette::foldertree
