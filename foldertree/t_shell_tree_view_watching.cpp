// TShellTreeView: the folders it gives its watcher and its reactions to the watcher's deliveries.
#include "foldertree/t_shell_tree_view.h"

#include <QTimer>
#include <algorithm>

namespace ordinalette::foldertree {

void TShellTreeView::scheduleWatchUpdate() {
    if (m_watchUpdatePending)
        return;
    m_watchUpdatePending = true;
    QTimer::singleShot(0, this, [this] {
        m_watchUpdatePending = false;
        // A subtree walk gives the watcher its folders once, when it is done.
        if (m_watcher && !m_closing && !m_subtreeTimer.isActive())
            m_watcher->SetFolders(VisibleFolders());
    });
}

std::vector<std::string> TShellTreeView::VisibleFolders() const {
    std::vector<std::string> folders;
    if (QTreeWidgetItem* root = topLevelItem(0))
        collectVisibleFolders(root, folders);
    std::sort(folders.begin(), folders.end());
    folders.erase(std::unique(folders.begin(), folders.end()), folders.end());
    return folders;
}

void TShellTreeView::collectVisibleFolders(QTreeWidgetItem* node,
                                           std::vector<std::string>& folders) const {
    if (TShellFolderItem* record = RecordOf(node)) {
        if (auto path = pathOf(*record))
            folders.push_back(std::move(*path));
    }
    if (!node->isExpanded())
        return;
    for (int i = 0; i < node->childCount(); ++i)
        collectVisibleFolders(node->child(i), folders);
}

void TShellTreeView::FoldersChanged() {
    // A click in progress keeps its node; this burst of changes is not re-read.
    if (m_clickState == ClickState::None)
        RefreshTree();
}

void TShellTreeView::DeviceChanged(std::unique_ptr<TDeviceChangeData> record) {
    if (record->Kind == kDeviceNetwork) {
        if (record->Event != kDeviceArrival)
            selectNode(topLevelItem(0));
        RefreshTree();
        return;
    }
    if (record->Kind != kDeviceMedia || !record->Drive)
        return;
    QTreeWidgetItem* node = FindNode(*record->Drive);
    TShellFolderItem* drive = RecordOf(node);
    // Only the drive's own node: a mount that is gone may already have left My Computer.
    if (!drive || drive->AbsoluteID != *record->Drive)
        return;
    drive->Image.reset();
    drive->SetDisplayName(record->Text);
    node->setText(0, nodeText(*drive));
    if (record->Event != kDeviceRemoveComplete)
        return;
    selectNode(node->parent());
    while (node->childCount() > 0)
        deleteChild(node, node->childCount() - 1);
    node->setChildIndicatorPolicy(QTreeWidgetItem::ShowIndicator);
}

void TShellTreeView::PostDeviceChange(std::unique_ptr<TDeviceChangeData> record) {
    if (m_watcher)
        m_watcher->PostDeviceChange(std::move(record));
}

} // namespace ordinalette::foldertree
