// TShellTreeView: expanding a whole subtree (the keypad's "*") without leaving its volume.
#include "foldertree/t_shell_tree_view.h"

#include <QElapsedTimer>

namespace ordinalette::foldertree {

namespace {

// How long one turn of the event loop may spend expanding, so that input and painting go on.
constexpr qint64 kStepMilliseconds = 20;

// Whether every ancestor of the node is expanded.
bool shown(const QTreeWidgetItem* node) {
    for (const QTreeWidgetItem* parent = node->parent(); parent; parent = parent->parent()) {
        if (!parent->isExpanded())
            return false;
    }
    return true;
}

} // namespace

void TShellTreeView::ExpandSubtree(QTreeWidgetItem* node) {
    TShellFolderItem* record = RecordOf(node);
    if (!record)
        return;
    expandNode(node);
    // The walk starts only from a folder of the file system, and not through a link either.
    if (!pathOf(*record) || (record->Level() > 0 && record->HasAttribute(kAttrLink)))
        return;
    if (m_subtreeQueue.empty()) {
        const auto mountPoints = m_namespace->mountPoints();
        m_subtreeMountPoints = {mountPoints.begin(), mountPoints.end()};
    }
    queueChildren(node);
    // Not a single call: a volume can hold a great many folders, and the window keeps working
    // while they are read.
    m_subtreeTimer.start();
}

void TShellTreeView::expandSubtreeStep() {
    const auto keepOpen = m_namespace->keepFoldersOpen();
    // The view lays its rows out once for all the nodes expanded in this turn.
    scheduleDelayedItemsLayout();
    QElapsedTimer step;
    step.start();
    while (!m_subtreeQueue.empty() && !step.hasExpired(kStepMilliseconds)) {
        QTreeWidgetItem* node = itemFromIndex(m_subtreeQueue.front());
        m_subtreeQueue.pop_front();
        // A node deleted by a re-read or hidden by a collapse meanwhile is left alone.
        if (!node || m_closing || !shown(node) || !staysOnVolume(node))
            continue;
        expandNode(node);
        queueChildren(node);
    }
    if (m_subtreeQueue.empty()) {
        m_subtreeTimer.stop();
        scheduleWatchUpdate();
    }
}

bool TShellTreeView::staysOnVolume(QTreeWidgetItem* node) {
    TShellFolderItem* record = RecordOf(node);
    if (!record || record->HasAttribute(kAttrLink))
        return false;
    const auto path = pathOf(*record);
    return path && !m_subtreeMountPoints.contains(*path);
}

void TShellTreeView::queueChildren(QTreeWidgetItem* node) {
    for (int i = 0; i < node->childCount(); ++i)
        m_subtreeQueue.emplace_back(indexFromItem(node->child(i)));
}

} // namespace ordinalette::foldertree
