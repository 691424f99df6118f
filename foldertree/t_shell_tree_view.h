#pragma once

#include "foldertree/label_edit_guard.h"
#include "foldertree/shell_namespace.h"
#include "foldertree/t_sh_dir_watcher.h"
#include "foldertree/t_shell_folder_item.h"

#include <QPersistentModelIndex>
#include <QPoint>
#include <QTimer>
#include <QTreeWidget>
#include <deque>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <unordered_set>
#include <vector>

namespace ordinalette::foldertree {

// The tree of the shell namespace in which the user picks the folder to work on: the desktop
// as the one root, My Computer with its drives, the folders on the desktop, the network and
// the recycle bin, folders only. Children are read when a node expands and merged on every
// re-read, so nodes that stay keep their state.
//
// The root is built and selected by the constructor, before anyone can connect to OnChange;
// a user of the tree reads Path once after connecting.
class TShellTreeView : public QTreeWidget {
    Q_OBJECT
public:
    // A tree over the namespace of the user running the program.
    explicit TShellTreeView(QWidget* parent = nullptr);
    // A tree over a namespace whose watcher waits as timing says.
    TShellTreeView(std::shared_ptr<ShellNamespace> shellNamespace, QWidget* parent = nullptr,
                   WatchTiming timing = kTreeWatchTiming);
    ~TShellTreeView() override;

    // File-system path of the selected item, or empty when it has none: the desktop
    // directory for the root, a drive's mount point with its trailing separator, a folder
    // without one.
    std::string Path() const;
    // Selects the item of that path; nothing happens when the path names no item.
    void SetPath(const std::string& path);
    // Collapses every node; collapsed nodes keep their children.
    void FullCollapse();

    bool IncludeHidden() const { return m_includeHidden; }
    void SetIncludeHidden(bool include);

    // The window's life: destroying sets the closing flag, remembers the selection and
    // deletes every node; creating clears the flag, builds the root and selects again.
    void DestroyWnd();
    void CreateWnd();
    bool Closing() const { return m_closing; }

    // Operations of the tree, also used by its watcher's reactions.
    void BuildRoot();
    TShItemIDType ItemType(TShellFolderItem& item);
    int ReadChildren(const std::shared_ptr<ShellFolder>& folder, TShellFolderItem& parent,
                     std::vector<std::unique_ptr<TShellFolderItem>>& list);
    void RefreshChildren(QTreeWidgetItem* node);
    void RefreshTree();
    QTreeWidgetItem* FindNode(const ItemIdList& target);
    void SelectID(const ItemIdList& target);

    // Reactions to the watcher's deliveries, on the user-interface thread.
    void FoldersChanged();
    void DeviceChanged(std::unique_ptr<TDeviceChangeData> record);
    // Hands a volume change to the watcher, which delivers it once it has settled.
    void PostDeviceChange(std::unique_ptr<TDeviceChangeData> record);
    // The watcher while it runs; null once it has ended.
    const TShDirWatcher* Watcher() const { return m_watcher.get(); }
    // The folders of the visible part of the tree, sorted, which the watcher watches.
    std::vector<std::string> VisibleFolders() const;

    // The node's image: the item's icon, the open icon while selected, a link emblem over
    // both for links; asked once per record and kept.
    QIcon NodeImage(TShellFolderItem& record);
    // Forgets every node's images, collapsed ones included, so they are asked again.
    void ResetImages();
    // Expands the node and then, a few at a time while the event loop runs, every folder below
    // it that lies on the same volume and is reached without a link (the keypad's "*").
    void ExpandSubtree(QTreeWidgetItem* node);
    // Renames the node's folder to the typed text, as ending a label edit does; a refused
    // name shows the old one again. The selection stays and no change event fires.
    void RenameNode(QTreeWidgetItem* node, const QString& text);

    // The record of a node; null for no node.
    static TShellFolderItem* RecordOf(QTreeWidgetItem* node);
    ShellNamespace& Namespace() const { return *m_namespace; }

Q_SIGNALS:
    // Fires on every change of the selected node, by the user or by the program.
    void OnChange();

protected:
    bool event(QEvent* event) override;
    bool edit(const QModelIndex& index, EditTrigger trigger, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void commitData(QWidget* editor) override;
    void closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    QItemSelectionModel::SelectionFlags selectionCommand(const QModelIndex& index,
                                                         const QEvent* event) const override;
    void drawRow(QPainter* painter, const QStyleOptionViewItem& option,
                 const QModelIndex& index) const override;

private:
    enum class ClickState { None, LeftPending, RightPending };

    QTreeWidgetItem* makeNode(std::unique_ptr<TShellFolderItem> record);
    void attach(QTreeWidgetItem* node);
    void deleteChild(QTreeWidgetItem* node, int index);
    // A label may be edited for a valid item that can be renamed, not the root, not while a
    // click is pending.
    bool canEditLabel(QTreeWidgetItem* node);
    void startEditing(QTreeWidgetItem* node);
    // After a rename: the node's children read again, its place among its siblings found.
    void reread(QTreeWidgetItem* node);
    QString nodeText(TShellFolderItem& record) const;
    // The file-system path of the record's item; nullopt for items outside the file system.
    std::optional<std::string> pathOf(const TShellFolderItem& record) const;
    void expandNode(QTreeWidgetItem* node);
    void onExpanded(QTreeWidgetItem* node);
    void readBeforeExpanding(QTreeWidgetItem* node);
    void collapseAll(QTreeWidgetItem* node);
    void expandSubtreeStep();
    // Whether a subtree walk may expand the node: a folder of the file system, no link, no
    // other volume's mount point.
    bool staysOnVolume(QTreeWidgetItem* node);
    void queueChildren(QTreeWidgetItem* node);
    void onCollapsed(QTreeWidgetItem* node);
    // Gives the watcher the visible folders once the current change of the tree is done.
    void scheduleWatchUpdate();
    void collectVisibleFolders(QTreeWidgetItem* node, std::vector<std::string>& folders) const;
    void refreshVisible(QTreeWidgetItem* node);
    // Selects a node unless the selection may not change now (a click pending, closing).
    void selectNode(QTreeWidgetItem* node);
    bool onLabelOrIcon(QTreeWidgetItem* node, const QPoint& pos) const;
    bool onExpandButton(QTreeWidgetItem* node, const QPoint& pos) const;
    void setDropHighlight(QTreeWidgetItem* node);
    QTreeWidgetItem* dropHighlight() const;

    std::shared_ptr<ShellNamespace> m_namespace;
    bool m_includeHidden = true;
    TShVirtuaItems m_virtualItems{TShItemIDType::itBitBucket, TShItemIDType::itNetWork,
                                  TShItemIDType::itVirtual};
    bool m_closing = false;
    ClickState m_clickState = ClickState::None;
    QPersistentModelIndex m_dropHighlight;
    QTreeWidgetItem* m_expanding = nullptr;
    std::optional<ItemIdList> m_savedSelection;
    std::unique_ptr<TShDirWatcher> m_watcher;
    bool m_renaming = false;
    QTimer m_editTimer;
    QPersistentModelIndex m_editCandidate;
    QPersistentModelIndex m_editing;
    LabelEditGuard m_labelEdit{this};
    std::optional<std::pair<QPersistentModelIndex, QString>> m_pendingRename;
    // The image of each kind of item (its type, whether it is a link).
    std::map<std::pair<TShItemIDType, bool>, QIcon> m_images;
    bool m_watchUpdatePending = false;
    // The nodes a subtree walk expands next, breadth first, and where it stops.
    std::deque<QPersistentModelIndex> m_subtreeQueue;
    std::unordered_set<std::string> m_subtreeMountPoints;
    QTimer m_subtreeTimer;
};

} // namespace ordinalette::foldertree
