// ShellTreeView: the folders it has watched and its reactions to a watcher's deliveries.
#include "win32/shell_tree_view.h"

namespace ordinalette::win32 {

void ShellTreeView::scheduleWatchUpdate() {
    if (m_watchUpdatePending || !m_onWatchedFolders)
        return;
    m_watchUpdatePending = true;
    m_later->post([this] {
        m_watchUpdatePending = false;
        if (m_onWatchedFolders)
            m_onWatchedFolders(shownFolders());
    });
}

void ShellTreeView::refreshTree() {
    m_tree.RefreshTree();
    // The nodes in view ask for their expand buttons again as they are painted.
    InvalidateRect(m_window, nullptr, FALSE);
    scheduleWatchUpdate();
}

void ShellTreeView::deviceChanged(const foldertree::TDeviceChangeData& record) {
    m_tree.DeviceChanged(record);
    InvalidateRect(m_window, nullptr, FALSE);
    scheduleWatchUpdate();
}

void ShellTreeView::reportError(const std::string& message) const {
    if (m_onError)
        m_onError(message);
}

} // namespace ordinalette::win32
