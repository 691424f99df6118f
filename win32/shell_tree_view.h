#pragma once

#include "foldertree/shell_namespace.h"
#include "foldertree/shell_tree.h"
#include "foldertree/shell_tree_observer.h"
#include "foldertree/t_sh_dir_watcher.h"
#include "foldertree/t_shell_folder_item.h"

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
// small icons. Editing a label renames the folder; F2 starts the edit.
//
// The control's parent passes every WM_NOTIFY message to handleNotify. Texts go to and come
// from the control in the namespace's code page, the system's one.
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
    // Shows an error the user is to be told of (a refused rename), in the system's code page.
    void setOnError(std::function<void(const std::string& message)> onError) {
        m_onError = std::move(onError);
    }

    // Handles a notification of the control; false for one of another control. result is what
    // the window procedure returns.
    bool handleNotify(const NMHDR& header, LRESULT& result);

    // Keeps the tree current: watches the visible folders for folder-name changes and hears of
    // volumes that come and go, delivering on this thread.
    void startWatching(foldertree::WatchTiming timing = foldertree::kTreeWatchTiming);
    // The watcher while it runs; null before startWatching and once it has ended.
    const foldertree::TShDirWatcher* watcher() const { return m_watcher.get(); }

    foldertree::ShellTree& tree() { return m_tree; }
    // The control's item of a record, and back; null for none.
    HTREEITEM itemOf(const foldertree::TShellFolderItem* record) const;
    static foldertree::TShellFolderItem* recordOf(HWND treeView, HTREEITEM item);

private:
    void beginInsert(foldertree::TShellFolderItem* parent, std::size_t first,
                     std::size_t last) override;
    void endInsert() override;
    void beginRemove(foldertree::TShellFolderItem* parent, std::size_t first,
                     std::size_t last) override;
    void endRemove() override;
    void beginMove(foldertree::TShellFolderItem* parent, std::size_t from, std::size_t to) override;
    void endMove() override;
    void beginReset() override;
    void endReset() override;
    void changed(foldertree::TShellFolderItem* node) override;
    void requestExpand(foldertree::TShellFolderItem* node) override;
    void requestCollapse(foldertree::TShellFolderItem* node) override;
    void requestSelect(foldertree::TShellFolderItem* node) override;

    HWND m_window;
    foldertree::ShellTree m_tree;
    std::unordered_map<const foldertree::TShellFolderItem*, HTREEITEM> m_items;
    std::function<void()> m_onChange;
    std::function<void(const std::string&)> m_onError;
    std::unique_ptr<foldertree::TShDirWatcher> m_watcher;
};

} // namespace ordinalette::win32
