#pragma once

#include "foldertree/drive_changes.h"
#include "foldertree/posix/mount_monitor.h"

#include <QSocketNotifier>
#include <memory>
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
        std::unique_ptr<DriveChanges> changes;
    };

    TShellCtrlList() = default;
    // Has each tree re-read what it shows where a mount came or went, and hands out the drives
    // that came or went.
    void mountsChanged();

    std::vector<Watched> m_controls;
    std::unique_ptr<MountMonitor> m_monitor;
    std::unique_ptr<QSocketNotifier> m_notifier;
};

} // namespace ordinalette::foldertree
