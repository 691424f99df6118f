#pragma once

#include "foldertree/shell_namespace.h"
#include "foldertree/shell_tree_observer.h"
#include "foldertree/subtree_walk.h"
#include "foldertree/t_sh_dir_watcher.h"
#include "foldertree/t_shell_folder_item.h"

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace ordinalette::foldertree {

// The shell namespace as a tree of records, free of any toolkit: the desktop as the one root, the
// items below it read when a node is about to show its children and merged on every re-read, so
// that nodes that stay keep their records, caches and expansion. Every change is told to the
// observer; a view shows the nodes and tells the tree which ones it expanded and collapsed, and
// the tree asks the view to expand a node when a walk to a target passes through it.
//
// Whether a node shows an expand button is known from its last reading, and otherwise probed
// only when a view paints that row, so a folder of many thousands of subfolders costs one listing
// to expand.
class ShellTree {
public:
    ShellTree(std::shared_ptr<ShellNamespace> shellNamespace, ShellTreeObserver& observer);
    ~ShellTree();
    ShellTree(const ShellTree&) = delete;
    ShellTree& operator=(const ShellTree&) = delete;

    TShellFolderItem* root() const { return m_root.get(); }
    ShellNamespace& shellNamespace() const { return *m_namespace; }

    bool IncludeHidden() const { return m_includeHidden; }
    void SetIncludeHidden(bool include);

    // Builds the root record; false when the desktop cannot be had and the tree stays empty.
    bool BuildRoot();
    // Deletes every node.
    void clear();

    TShItemIDType ItemType(TShellFolderItem& item);
    // Fills the list with the records of the folder's children in the folder's order, those the
    // tree does not show left out; their count, or -1 when the folder cannot be read.
    int ReadChildren(const std::shared_ptr<ShellFolder>& folder, TShellFolderItem& parent,
                     std::vector<std::unique_ptr<TShellFolderItem>>& list);
    // Reads the node's children again and merges them into the ones it has.
    void RefreshChildren(TShellFolderItem* node);
    // Re-reads the open part of the tree: every expanded node whose ancestors are expanded; the
    // other shown nodes probe their expand button again when next painted (showsButton).
    void RefreshTree();
    // Re-reads the open part of the tree as RefreshTree does, except the list of drives under
    // My Computer, which follows the drives' own arrivals and removals.
    void refreshMountedFolders();
    // The node of an absolute list, expanding every matched ancestor on the way; the root when
    // the walk does not find it; null without a root.
    TShellFolderItem* FindNode(const ItemIdList& target);

    // What a view with that node selected (null: none) selects for an absolute list: the node
    // FindNode gives; null when the selected node is that item already.
    TShellFolderItem* SelectID(const TShellFolderItem* selected, const ItemIdList& target);
    // As SelectID for the item of a full path; null also when the path names no item.
    TShellFolderItem* SetPath(const TShellFolderItem* selected, const std::string& path);
    // The file-system path of the selected node, or empty when it has none: the desktop
    // directory for the root, a drive's mount point with its trailing separator, a folder
    // without one.
    std::string Path(const TShellFolderItem* selected) const;

    // Whether the node shows an expand button, probed now when it is not known yet or a re-read
    // of the tree asked for it again.
    bool showsButton(TShellFolderItem& node) const;
    // Reads the node's children unless they are fresh and asks the view to expand it; false when
    // it turns out to have no children, which also removes its button.
    bool expandNode(TShellFolderItem* node);
    // Reads the node's children again when they were not read since it was collapsed, and with
    // them its expanded descendants, which were hidden as long.
    void refreshIfStale(TShellFolderItem* node);
    // The view expanded or collapsed the node; collapsed children are read again before they
    // show again.
    void setExpanded(TShellFolderItem* node, bool expanded);
    // Whether every ancestor of the node is expanded.
    static bool shown(const TShellFolderItem* node);

    // The file-system path of the record's item; nullopt for items outside the file system.
    std::optional<std::string> pathOf(const TShellFolderItem& record) const;
    // The folders of the visible part of the tree, sorted.
    std::vector<std::string> visibleFolders() const;

    // Renames the node's folder to a name in the namespace's code page; on success the node
    // takes its new place among its siblings and its children are read again. The error number
    // of a failure, platform::error::None on success.
    int renameNode(TShellFolderItem* node, const std::string& name);
    // Gives the node another text, as a volume change does; its image is asked again.
    void setNodeText(TShellFolderItem* node, std::string text);
    // Deletes the node's children and gives it the expand button.
    void dropChildren(TShellFolderItem* node);
    // Shows a volume change the watcher delivered: a network volume that came or went re-reads
    // the open part of the tree, the root selected first when it went; a drive's node takes the
    // record's text, and one whose volume went is collapsed and loses its children, the
    // selection moving to My Computer. A drive My Computer no longer lists changes nothing.
    void DeviceChanged(const TDeviceChangeData& record);

    // The walk that expands whole subtrees (the keypad's "*").
    SubtreeWalk& subtreeWalk() { return m_walk; }

    // The node's image index: one per kind of item and whether it is a link (imageIndex says
    // which), asked once per record and kept until resetImages or a rename.
    int imageIndexOf(TShellFolderItem& record);
    // Forgets every node's image index, collapsed ones included, so that they are asked again.
    void resetImages();

private:
    // The folder's children in its order; nullopt when it cannot be read.
    std::optional<std::vector<ItemIdList>> enumerate(const std::shared_ptr<ShellFolder>& folder,
                                                     TShellFolderItem& parent);
    // The record of a child of parent; null for an item the tree leaves out.
    std::unique_ptr<TShellFolderItem> makeRecord(const std::shared_ptr<ShellFolder>& folder,
                                                 TShellFolderItem& parent, ItemIdList child);
    // The folder object of the node's own folder; null when it cannot be had.
    std::shared_ptr<ShellFolder> folderOf(TShellFolderItem& node);
    // Whether the item shows an expand button when its children were not read: the desktop
    // always does; every other item when it has the has-subfolders attribute.
    bool probeButton(TShellFolderItem& node) const;
    // After a reading: the node shows a button exactly when it has children (the desktop
    // always).
    void noteButton(TShellFolderItem* node);
    void insertChildren(TShellFolderItem* node, std::size_t at,
                        std::vector<std::unique_ptr<TShellFolderItem>>& records);
    void removeChildren(TShellFolderItem* node, std::size_t first, std::size_t last);
    // Moves the renamed node to its place in the parent folder's order.
    void placeAmongSiblings(TShellFolderItem* node);
    // Re-reads the node and the visible nodes below it; listKept keeps its children unread.
    void refreshVisible(TShellFolderItem* node, const TShellFolderItem* listKept = nullptr);
    void collectVisibleFolders(const TShellFolderItem& node,
                               std::vector<std::string>& folders) const;
    void resetImages(TShellFolderItem& node);
    static void noteRows(const TShellFolderItem& node, std::size_t from);

    std::shared_ptr<ShellNamespace> m_namespace;
    ShellTreeObserver& m_observer;
    std::unique_ptr<TShellFolderItem> m_root;
    bool m_includeHidden = true;
    TShVirtuaItems m_virtualItems{TShItemIDType::itBitBucket, TShItemIDType::itNetWork,
                                  TShItemIDType::itVirtual};
    SubtreeWalk m_walk{*this};
};

// The image index of a kind of item, and back: each kind has one, and one more for its links.
int imageIndex(TShItemIDType type, bool link);
TShItemIDType imageType(int index);
bool imageIsLink(int index);

} // namespace ordinalette::foldertree
