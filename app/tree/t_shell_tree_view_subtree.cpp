// TShellTreeView: expanding a whole subtree (the keypad's "*") a slice per turn of the event loop.
#include "app/tree/t_shell_tree_view.h"

namespace ordinalette::foldertree {

namespace {

// How long one turn of the event loop may spend expanding, so that input and painting go on.
constexpr std::chrono::milliseconds kStep(20);

} // namespace

void TShellTreeView::expandSubtree(const QModelIndex& node) {
    TShellFolderItem* record = recordOf(node);
    if (!record)
        return;
    expandNode(node);
    // Not a single call: a volume can hold a great many folders, and the window keeps working
    // while they are read.
    if (tree().subtreeWalk().start(*record))
        m_subtreeTimer.start();
}

void TShellTreeView::expandSubtreeStep() {
    // The view lays its rows out once for all the nodes expanded in this turn.
    scheduleDelayedItemsLayout();
    if (!m_control.closing() && tree().subtreeWalk().step(kStep))
        return;
    m_subtreeTimer.stop();
    scheduleWatchUpdate();
}

} // namespace ordinalette::foldertree
