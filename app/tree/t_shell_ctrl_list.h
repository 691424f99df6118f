#pragma once

#include "foldertree/posix/mount_monitor.h"
#include "foldertree/shell_namespace.h"
#include "foldertree/t_sh_dir_watcher.h"

#include <QSocketNotifier>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace ordinalette::foldertree {

class TShellTreeView;

// The process-wide registry of folder trees. While it holds a tree it watches the mounts (the
// Linux counterpart of the volume broadcasts) on the user-interface thread and hands each tree
// the drives of its namespace that came or went, as device changes to its watcher. Mounts that
// are no drives of a tree reach no tree.
class TShellCtrlList {
public:
    static TShellCtrlList& instance();

    void AddControl(TShellTreeView* control);
    void RemoveControl(TShellTreeView* control);

private:
    struct Watched {
        TShellTreeView* control;
        std::vector<DriveVolume> drives;      // as last seen
        std::vector<std::string> mountPoints; // every mount of its namespace, sorted, as last seen
    };

    TShellCtrlList() = default;
    // Has each tree re-read what it shows where a mount came or went, compares its drives with
    // the ones seen before and hands out what changed.
    void mountsChanged();
    static void handOut(TShellTreeView& control, const DriveVolume& drive, DeviceEvent event);

    std::vector<Watched> m_controls;
    std::unique_ptr<MountMonitor> m_monitor;
    std::unique_ptr<QSocketNotifier> m_notifier;
};

// The text of a drive's node after its volume arrived: the label made lower case and then its
// first letter upper case, a blank and the mount point in parentheses (" (/mnt/x)" without a
// label).
std::string arrivalText(std::string_view label, const std::string& mountPoint,
                        const platform::CodePage& codePage);

} // namespace ordinalette::foldertree
