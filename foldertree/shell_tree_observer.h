#pragma once

#include <cstddef>

namespace ordinalette::foldertree {

class TShellFolderItem;

// Hears of every change of a ShellTree as it happens, so that a front end's view of the nodes
// follows them. Rows are positions among a node's children; a null parent stands for the level
// above the root. Each begin is followed by its end once the nodes have changed.
class ShellTreeObserver {
public:
    virtual ~ShellTreeObserver() = default;

    virtual void beginInsert(TShellFolderItem* parent, std::size_t first, std::size_t last) = 0;
    virtual void endInsert() = 0;
    virtual void beginRemove(TShellFolderItem* parent, std::size_t first, std::size_t last) = 0;
    virtual void endRemove() = 0;
    // The child at row from moves to stand before the child now at row to.
    virtual void beginMove(TShellFolderItem* parent, std::size_t from, std::size_t to) = 0;
    virtual void endMove() = 0;
    // Every node is about to go, or has gone.
    virtual void beginReset() = 0;
    virtual void endReset() = 0;
    // The node's text, image or expand button changed.
    virtual void changed(TShellFolderItem* node) = 0;
    // A walk to a target passes through the node: the view expands it.
    virtual void requestExpand(TShellFolderItem* node) = 0;
    // A volume change folds the node: the view collapses it.
    virtual void requestCollapse(TShellFolderItem* node) = 0;
    // A volume change moves the selection to the node, unless the view may not change it now.
    virtual void requestSelect(TShellFolderItem* node) = 0;
};

} // namespace ordinalette::foldertree
