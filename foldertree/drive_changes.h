#pragma once

#include "foldertree/shell_namespace.h"
#include "foldertree/t_sh_dir_watcher.h"

#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace ordinalette::foldertree {

// What one tree's namespace showed of its mounts when last asked, and what came or went since:
// the mount points, which the tree reads again and watches anew, and the drives, each a device
// change for the tree's watcher. Mounts that are no drives of the namespace make no record.
class DriveChanges {
public:
    explicit DriveChanges(ShellNamespace& shellNamespace);

    // The mount table changed: the namespace is told, and the mount points that came or went
    // since the last call are returned, sorted.
    std::vector<std::string> mountPointsChanged();
    // A device change for every drive that came or went since the last call: a media change
    // with the drive's list and node text, or a network change.
    std::vector<std::unique_ptr<TDeviceChangeData>> driveChanges();

private:
    std::unique_ptr<TDeviceChangeData> record(const DriveVolume& drive, DeviceEvent event) const;

    ShellNamespace& m_namespace;
    std::vector<DriveVolume> m_drives;      // as last seen
    std::vector<std::string> m_mountPoints; // every mount of the namespace, sorted, as last seen
};

// The text of a drive's node after its volume arrived: the label made lower case and then its
// first letter upper case, a blank and the mount point in parentheses (" (/mnt/x)" without a
// label).
std::string arrivalText(std::string_view label, const std::string& mountPoint,
                        const platform::CodePage& codePage);

} // namespace ordinalette::foldertree
