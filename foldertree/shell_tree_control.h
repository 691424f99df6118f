#pragma once

#include "foldertree/shell_tree.h"
#include "foldertree/t_shell_folder_item.h"

#include <optional>
#include <string>
#include <string_view>

namespace ordinalette::foldertree {

// Which mouse button went down on a node and waits for its release, which selects.
enum class ClickState { None, LeftPending, RightPending };

// What a tree control does beside showing its nodes, the same in every front end: the window's
// life with the selection it remembers across it, the click that holds the selection, the
// reaction to a burst of folder changes, and renaming a node's folder by its label. The view
// reports the mouse and the window and selects what this gives it.
class ShellTreeControl {
public:
    explicit ShellTreeControl(ShellTree& tree) : m_tree(tree) {}

    ClickState clickState() const { return m_clickState; }
    void setClickState(ClickState state) { m_clickState = state; }
    bool closing() const { return m_closing; }
    // Whether the program may change the selection now: not while the window is closing, nor
    // while a click waits for its release.
    bool maySelect() const { return !m_closing && m_clickState == ClickState::None; }

    // Builds the root and expands it and its first child; false when there is no root.
    bool buildRoot();
    // The window goes: closing from now on, the selected node's item (the root's when none is
    // selected) remembered, every node deleted.
    void DestroyWnd(const TShellFolderItem* selected);
    // The window is made again: no longer closing, the root built as buildRoot does.
    bool CreateWnd();
    // Once the view has selected the root again: the node of the item DestroyWnd remembered,
    // which is then forgotten; null when none was remembered or it is selected already.
    TShellFolderItem* takeSavedSelection(const TShellFolderItem* selected);

    // A burst of folder changes: the open part of the tree is read again, unless a click is
    // pending, which keeps its node. Whether it was read.
    bool FoldersChanged();

    // Whether the node's label may be edited: a valid item that can be renamed, not the root,
    // no click pending.
    bool canEditLabel(TShellFolderItem* record) const;
    // Renames the node's folder to the text typed into its label: an unchanged text renames
    // nothing (a name shown with replacement characters would otherwise take them), and one the
    // namespace's code page cannot hold is an invalid name. The error number of a failure,
    // platform::error::None otherwise.
    int renameLabel(TShellFolderItem& record, std::u16string_view typed);

private:
    ShellTree& m_tree;
    ClickState m_clickState = ClickState::None;
    bool m_closing = false;
    std::optional<ItemIdList> m_savedSelection;
};

// The message of a rename in place that failed (UTF-8): the folder as its label showed it, then
// the reason by error number.
std::string renameFailureText(std::u16string_view folder, int error);

} // namespace ordinalette::foldertree
