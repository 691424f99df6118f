// TShellTreeView: the folders it gives its watcher and its reactions to the watcher's deliveries.
#include "app/tree/t_shell_tree_view.h"

#include <QTimer>

namespace ordinalette::foldertree {

void TShellTreeView::scheduleWatchUpdate() {
    if (m_watchUpdatePending)
        return;
    m_watchUpdatePending = true;
    QTimer::singleShot(0, this, [this] {
        m_watchUpdatePending = false;
        // A subtree walk gives the watcher its folders once, when it is done.
        if (m_watcher && !m_control.closing() && !m_subtreeTimer.isActive())
            m_watcher->SetFolders(visibleFolders());
    });
}

void TShellTreeView::RefreshTree() {
    tree().RefreshTree();
    // The rows in view probe their expand buttons again as they are painted.
    viewport()->update();
}

void TShellTreeView::FoldersChanged() {
    if (m_control.FoldersChanged())
        viewport()->update();
}

void TShellTreeView::DeviceChanged(std::unique_ptr<TDeviceChangeData> record) {
    tree().DeviceChanged(*record);
    viewport()->update();
}

void TShellTreeView::MountsChanged(const std::vector<std::string>& mountPoints) {
    // A volume mounted over a shown folder shows its own folders there, and one gone shows the
    // folder it covered. Drives that came or went are the device changes' to show.
    tree().refreshMountedFolders();
    viewport()->update();
    if (m_watcher)
        m_watcher->rearmBelow(mountPoints);
}

void TShellTreeView::PostDeviceChange(std::unique_ptr<TDeviceChangeData> record) {
    if (m_watcher)
        m_watcher->PostDeviceChange(std::move(record));
}

} // namespace ordinalette::foldertree
