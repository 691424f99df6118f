#pragma once

#include "foldertree/shell_namespace.h"
#include "foldertree/shell_tree.h"
#include "foldertree/shell_tree_observer.h"
#include "foldertree/t_sh_dir_watcher.h"
#include "foldertree/t_shell_folder_item.h"
#include "win32/message_hand_over.h"

#include <functional>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>
#include <windows.h>
// The common controls' header needs the types of windows.h before it.
#include <commctrl.h>

namespace ordinalette::win32 {

// The folder tree of the window over an existing tree-view control (WC_TREEVIEW): the control
// shows the nodes of a ShellTree, one tree item per record, and follows every change the tree
// reports. Children are read when a node is about to expand; the expand button of a node not
// read yet is asked of the tree only when the control paints it. The images are the system's
// small icons. Editing a label renames the folder; F2 starts the edit. A ShellTreeWatcher keeps
// it current.
//
// The control's parent passes every WM_NOTIFY message to dispatchNotify (or handleNotify). Texts go
// to and come from the control in the namespace's code page, the system's one.
class ShellTreeView : private foldertree::ShellTreeObserver {
public:
    // Takes over the control: gives it the system's small-icon image list, builds the root with
    // its first level, and selects it, before anyone can hear of the change.
    ShellTreeView(HWND treeView, std::shared_ptr<foldertree::ShellNamespace> shellNamespace);
    ~ShellTreeView() override;
    ShellTreeView(const ShellTreeView&) = delete;
    ShellTreeView& operator=(const ShellTreeView&) = delete;

    HWND handle() const { return m_window; }

    // File-system path of the selected item, or empty when it has none.
    std::string selectedPath() const;
    // Selects the item of that path; nothing happens when the path names no item.
    void selectPath(const std::string& path);
    // Collapses every node; collapsed nodes keep their children.
    void collapseAll();
    // The root of the volume that holds the path.
    std::string volumeRootOf(const std::string& path) const;
    // The folders of the visible part of the tree, sorted.
    std::vector<std::string> shownFolders() const;

    // Runs on every change of the selected node, by the user or by the program.
    void setOnChange(std::function<void()> onChange) { m_onChange = std::move(onChange); }
    // Shows an error the user is to be told of (UTF-8, as the error box takes it): a refused
    // rename, or a reaction to the watcher that failed (watching has then ended).
    void setOnError(std::function<void(const std::string& message)> onError) {
        m_onError = std::move(onError);
    }

    // Handles a notification of the control; false for one of another control. result is what
    // the window procedure returns.
    bool handleNotify(const NMHDR& header, LRESULT& result);
    // Hands a notification to the view of the control that sent it, if that control has one;
    // also while the view is being made, which already asks the control to show nodes.
    static bool dispatchNotify(const NMHDR& header, LRESULT& result);

    // Hears which folders are to be watched from now on: the visible ones once a change of the
    // tree is done, none while a folder is renamed in place (ShellTreeWatcher).
    void setOnWatchedFolders(std::function<void(std::vector<std::string>)> onWatchedFolders) {
        m_onWatchedFolders = std::move(onWatchedFolders);
    }
    // Reactions to a watcher's deliveries: re-reads the open part of the tree, or shows a volume
    // change; an error the user is to be told of.
    void refreshTree();
    void deviceChanged(const foldertree::TDeviceChangeData& record);
    void reportError(const std::string& message) const;

    foldertree::ShellTree& tree() { return m_tree; }
    // The control's item of a record, and back; null for none.
    HTREEITEM itemOf(const foldertree::TShellFolderItem* record) const;
    static foldertree::TShellFolderItem* recordOf(HWND treeView, HTREEITEM item);

private:
    // What the view keeps of a record shown: its item of the control and its images, indexes
    // into the system's small-icon list, asked for when first shown.
    struct Node {
        HTREEITEM item = nullptr;
        bool imagesAsked = false;
        int image = -1;
        int openImage = -1;
    };

    void beginInsert(foldertree::TShellFolderItem* parent, std::size_t first,
                     std::size_t last) override;
    void endInsert() override;
    void beginRemove(foldertree::TShellFolderItem* parent, std::size_t first,
                     std::size_t last) override;
    void endRemove() override {}
    void beginMove(foldertree::TShellFolderItem* parent, std::size_t from, std::size_t to) override;
    void endMove() override;
    void beginReset() override;
    void endReset() override {}
    void changed(foldertree::TShellFolderItem* node) override;
    void requestExpand(foldertree::TShellFolderItem* node) override;
    void requestCollapse(foldertree::TShellFolderItem* node) override;
    void requestSelect(foldertree::TShellFolderItem* node) override { selectNode(node); }

    // The root, expanded with its first child, and selected.
    void buildRoot();
    void insertItem(foldertree::TShellFolderItem* record, HTREEITEM parent, HTREEITEM after);
    // Forgets the record and every record below it.
    void forget(const foldertree::TShellFolderItem& record);
    foldertree::TShellFolderItem* selectedRecord() const;
    void selectNode(foldertree::TShellFolderItem* node);
    // A selection inside a node about to fold moves to the node, with the change event.
    void leaveFolding(foldertree::TShellFolderItem* node);
    void collapse(foldertree::TShellFolderItem* node);
    void collapseAll(foldertree::TShellFolderItem& node);

    // The control's notifications.
    void fillDisplayInfo(NMTVDISPINFOA& info);
    // Whether the node may be expanded now: its children are read first when stale.
    bool beforeExpanding(foldertree::TShellFolderItem* node);
    void afterExpanding(const NMTREEVIEWA& notification);
    bool mayEditLabel(foldertree::TShellFolderItem* node);
    // Renames the node's folder to the typed text (system code page); a refused name shows the
    // old one again and the user is told why once the control is done with the edit.
    void renameNode(foldertree::TShellFolderItem* node, const std::string& text);

    // Tells of the visible folders once the current change of the tree is done.
    void scheduleWatchUpdate();

    HWND m_window;
    foldertree::ShellTree m_tree;
    std::unordered_map<const foldertree::TShellFolderItem*, Node> m_nodes;
    // The rows the tree is about to insert, told by beginInsert.
    foldertree::TShellFolderItem* m_insertParent = nullptr;
    std::size_t m_insertFirst = 0;
    std::size_t m_insertLast = 0;
    foldertree::TShellFolderItem* m_moveParent = nullptr;
    // The node whose label is being edited.
    foldertree::TShellFolderItem* m_editing = nullptr;
    // Set while the selection changes as the view tears items down: no change event.
    bool m_quiet = false;
    std::function<void()> m_onChange;
    std::function<void(const std::string&)> m_onError;
    // Runs what must wait until the control has finished its current message.
    std::unique_ptr<MessageHandOver> m_later;
    std::function<void(std::vector<std::string>)> m_onWatchedFolders;
    bool m_watchUpdatePending = false;
};

} // namespace ordinalette::win32
