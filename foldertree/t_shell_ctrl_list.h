#pragma once

#include "platform/change_notification.h"
#include "platform/mount_table.h"

#include <QObject>
#include <memory>
#include <thread>
#include <vector>

namespace ordinalette::foldertree {

class TShellTreeView;

// The process-wide registry of folder trees. While it holds a tree it watches the mount table
// (the Linux counterpart of the volume broadcasts) and hands every mount that appears or
// disappears to each tree's watcher as a device change.
class TShellCtrlList {
public:
    static TShellCtrlList& instance();

    void AddControl(TShellTreeView* control);
    void RemoveControl(TShellTreeView* control);

private:
    class MountMonitor;

    TShellCtrlList() = default;
    // Compares the mount table with the one seen before and hands out what changed.
    void mountsChanged();
    void handOut(const platform::MountEntry& mount, std::uint32_t event);

    std::vector<TShellTreeView*> m_controls;
    std::unique_ptr<MountMonitor> m_monitor;
    std::vector<platform::MountEntry> m_mounts;
};

} // namespace ordinalette::foldertree
