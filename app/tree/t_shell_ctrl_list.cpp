#include "app/tree/t_shell_ctrl_list.h"

#include "app/tree/t_shell_tree_view.h"

namespace ordinalette::foldertree {

TShellCtrlList& TShellCtrlList::instance() {
    static TShellCtrlList instance;
    return instance;
}

void TShellCtrlList::AddControl(TShellTreeView* control) {
    m_controls.push_back({control, std::make_unique<DriveChanges>(control->shellNamespace())});
    if (m_monitor)
        return;
    m_monitor = std::make_unique<MountMonitor>();
    if (!m_monitor->valid())
        return;
    // The monitor's handle becomes readable on every change of the mounts; this thread reads
    // the changes, so nothing is handed between threads here.
    m_notifier = std::make_unique<QSocketNotifier>(m_monitor->waitHandle(), QSocketNotifier::Read);
    QObject::connect(m_notifier.get(), &QSocketNotifier::activated, [this] {
        if (m_monitor->takeChanges())
            mountsChanged();
    });
}

void TShellCtrlList::RemoveControl(TShellTreeView* control) {
    std::erase_if(m_controls, [&](const Watched& watched) { return watched.control == control; });
    if (!m_controls.empty())
        return;
    m_notifier.reset();
    m_monitor.reset();
}

void TShellCtrlList::mountsChanged() {
    for (auto& [control, changes] : m_controls) {
        control->MountsChanged(changes->mountPointsChanged());
        for (auto& record : changes->driveChanges())
            control->PostDeviceChange(std::move(record));
    }
}

} // namespace ordinalette::foldertree
