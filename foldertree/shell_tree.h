#pragma once

#include "foldertree/shell_namespace.h"
#include "foldertree/t_shell_folder_item.h"

#include <QAbstractItemModel>
#include <QIcon>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace ordinalette::foldertree {

// The shell namespace as a tree of records, free of any widget: the desktop as the one root, the
// items below it read when a node is about to show its children and merged on every re-read, so
// that nodes that stay keep their records, caches and expansion. A view shows it and tells it
// which nodes it expanded and collapsed; the model asks the view to expand a node when a walk to
// a target passes through it.
//
// Children are read through fetchMore when a node without children is about to show them, and
// by expandNode, which also merges the children of a node collapsed since it was read. Whether a
// node shows an expand button is known from its last reading, and otherwise probed only when a view
// paints that row, so a folder of many thousands of subfolders costs one listing to expand.
class ShellTreeModel : public QAbstractItemModel {
    Q_OBJECT
public:
    explicit ShellTreeModel(std::shared_ptr<ShellNamespace> shellNamespace,
                            QObject* parent = nullptr);
    ~ShellTreeModel() override;

    QModelIndex index(int row, int column, const QModelIndex& parent = {}) const override;
    QModelIndex parent(const QModelIndex& child) const override;
    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    // Whether the node shows an expand button. One not asked for yet (showsButton) counts as
    // having one, as a file-system model counts every folder: views ask this of every row they
    // lay out, not only of those they paint.
    bool hasChildren(const QModelIndex& parent = {}) const override;
    // Whether the node shows an expand button, probed now when it is not known yet or a re-read
    // of the tree asked for it again.
    bool showsButton(const QModelIndex& index) const;
    bool canFetchMore(const QModelIndex& parent) const override;
    // Reads the node's children afresh and merges them.
    void fetchMore(const QModelIndex& parent) override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

    // The record of an index of this model; null for none.
    static TShellFolderItem* recordOf(const QModelIndex& index);
    QModelIndex indexOf(const TShellFolderItem* node) const;
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
    // The display name as the node shows it.
    QString nodeText(TShellFolderItem& record) const;

    // Renames the node's folder to a name in the namespace's code page; on success the node
    // takes its new place among its siblings and its children are read again. The error number
    // of a failure, platform::error::None on success.
    int renameNode(TShellFolderItem* node, const std::string& name);
    // Gives the node another text, as a volume change does; its image is asked again.
    void setNodeText(TShellFolderItem* node, std::string text);
    // Deletes the node's children and gives it the expand button.
    void dropChildren(TShellFolderItem* node);

    // Where the images of the nodes come from; asked once per record and kept.
    using ImageSource = std::function<QIcon(TShellFolderItem&)>;
    void setImageSource(ImageSource source) { m_imageSource = std::move(source); }
    // Forgets every node's image, collapsed ones included, so that they are asked again.
    void resetImages();

Q_SIGNALS:
    // A walk to a target passes through the node: the view expands it.
    void expandRequested(const QModelIndex& index);
    // The rows are about to be deleted; a view moves a selection inside them to the parent first.
    void nodesAboutToBeDeleted(const QModelIndex& parent, int first, int last);

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
    std::unique_ptr<TShellFolderItem> m_root;
    bool m_includeHidden = true;
    TShVirtuaItems m_virtualItems{TShItemIDType::itBitBucket, TShItemIDType::itNetWork,
                                  TShItemIDType::itVirtual};
    ImageSource m_imageSource;
};

} // namespace ordinalette::foldertree
