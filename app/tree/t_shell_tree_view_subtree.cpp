// TShellTreeView: expanding a whole subtree (the keypad's "*") without leaving its volume.
#include "app/tree/t_shell_tree_view.h"

#include <QElapsedTimer>

namespace ordinalette::foldertree {

namespace {

// How long one turn of the event loop may spend expanding, so that input and painting go on.
constexpr qint64 kStepMilliseconds = 20;

} // namespace

void TShellTreeView::expandSubtree(const QModelIndex& node) {
    TShellFolderItem* record = recordOf(node);
    if (!record)
        return;
    expandNode(node);
    // The walk starts only from a folder of the file system, and not through a link either.
    if (!tree().pathOf(*record) ||
        (record->Level() > 0 && record->hasAttribute(ShellAttribute::Link)))
        return;
    if (m_subtreeQueue.empty()) {
        const auto mountPoints = shellNamespace().mountPoints();
        m_subtreeMountPoints = {mountPoints.begin(), mountPoints.end()};
    }
    queueChildren(node);
    // Not a single call: a volume can hold a great many folders, and the window keeps working
    // while they are read.
    m_subtreeTimer.start();
}

void TShellTreeView::expandSubtreeStep() {
    const auto keepOpen = shellNamespace().keepFoldersOpen();
    // The view lays its rows out once for all the nodes expanded in this turn.
    scheduleDelayedItemsLayout();
    QElapsedTimer step;
    step.start();
    while (!m_subtreeQueue.empty() && !step.hasExpired(kStepMilliseconds)) {
        const QModelIndex node = m_subtreeQueue.front();
        m_subtreeQueue.pop_front();
        TShellFolderItem* record = recordOf(node);
        // A node deleted by a re-read or hidden by a collapse meanwhile is left alone.
        if (!record || m_closing || !ShellTree::shown(record) || !staysOnVolume(*record))
            continue;
        expandNode(node);
        queueChildren(node);
    }
    if (m_subtreeQueue.empty()) {
        m_subtreeTimer.stop();
        scheduleWatchUpdate();
    }
}

bool TShellTreeView::staysOnVolume(TShellFolderItem& node) {
    if (node.hasAttribute(ShellAttribute::Link))
        return false;
    const auto path = tree().pathOf(node);
    return path && !m_subtreeMountPoints.contains(*path);
}

void TShellTreeView::queueChildren(const QModelIndex& node) {
    for (int i = 0; i < m_model->rowCount(node); ++i)
        m_subtreeQueue.emplace_back(m_model->index(i, 0, node));
}

} // namespace ordinalette::foldertree
