#pragma once

#include "app/tree/label_edit_guard.h"
#include "app/tree/shell_tree_model.h"
#include "foldertree/shell_namespace.h"
#include "foldertree/shell_tree.h"
#include "foldertree/shell_tree_control.h"
#include "foldertree/t_sh_dir_watcher.h"
#include "foldertree/t_shell_folder_item.h"

#include <QPersistentModelIndex>
#include <QPoint>
#include <QTimer>
#include <QTreeView>
#include <exception>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace ordinalette::foldertree {

// The tree of the shell namespace in which the user picks the folder to work on: the view of a
// ShellTreeModel over the ShellTree that holds the nodes, reads and merges them. The view shows
// them, selects on the release of a click, renames a folder when its label is edited, and keeps the
// model current through its watcher.
//
// The root is built and selected by the constructor, before anyone can connect to OnChange;
// a user of the tree reads Path once after connecting.
class TShellTreeView : public QTreeView {
    Q_OBJECT
public:
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

    bool IncludeHidden() const { return tree().IncludeHidden(); }
    void SetIncludeHidden(bool include) { tree().SetIncludeHidden(include); }

    // The window's life: destroying sets the closing flag, remembers the selection and
    // deletes every node; creating clears the flag, builds the root and selects again.
    void DestroyWnd();
    void CreateWnd();
    bool closing() const { return m_control.closing(); }

    // The nodes as a Qt model, and the nodes themselves with their reading and finding.
    ShellTreeModel& shellModel() const { return *m_model; }
    ShellTree& tree() const { return m_model->tree(); }
    ShellNamespace& shellNamespace() const { return tree().shellNamespace(); }
    // The root, expanded with its first child, and selected.
    void BuildRoot();
    // Re-reads the open part of the tree.
    void RefreshTree();
    // The root; invalid when there is none.
    QModelIndex rootNode() const { return m_model->index(0, 0); }

    // Reactions to the watcher's deliveries, on the user-interface thread.
    void FoldersChanged();
    void DeviceChanged(std::unique_ptr<TDeviceChangeData> record);
    // The mount table changed, and these mount points came or went: what the tree shows is
    // read again, and the folders at or below them are watched anew.
    void MountsChanged(const std::vector<std::string>& mountPoints);
    // Hands a volume change to the watcher, which delivers it once it has settled.
    void PostDeviceChange(std::unique_ptr<TDeviceChangeData> record);
    // The watcher while it runs; null once it has ended.
    const TShDirWatcher* watcher() const { return m_watcher.get(); }
    // The folders of the visible part of the tree, sorted, which the watcher watches.
    std::vector<std::string> visibleFolders() const { return tree().visibleFolders(); }

    // The image of an image index: the item's icon, the open icon while selected, a link
    // emblem over both for links; made once per index and kept.
    QIcon nodeImage(int imageIndex);
    // Forgets every node's images, collapsed ones included, so they are asked again.
    void resetImages();
    // Expands the node and then, a few at a time while the event loop runs, every folder below
    // it that lies on the same volume and is reached without a link (the keypad's "*").
    void expandSubtree(const QModelIndex& node);
    // Renames the node's folder to the typed text, as ending a label edit does; a refused
    // name shows the old one again. The selection stays and no change event fires.
    void renameNode(const QModelIndex& node, const QString& text);
    // Puts the node's label into editing, where it may be edited.
    using QTreeView::edit;

    // The record of a node; null for none.
    static TShellFolderItem* recordOf(const QModelIndex& node) {
        return ShellTreeModel::recordOf(node);
    }

Q_SIGNALS:
    // Fires on every change of the selected node, by the user or by the program.
    void OnChange();
    // An error the user is to be told of: a refused rename, or a reaction to the watcher that
    // failed (watching has then ended).
    void errorRaised(const std::exception& error);

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
    // Dotted lines that join each node to its parent and siblings, and a plus or minus box on
    // the nodes that show an expand button (ShowLines, ShowButtons).
    void drawBranches(QPainter* painter, const QRect& rect,
                      const QModelIndex& index) const override;
    // Lays the rows out, the first visible folder kept where it was before folders came or went.
    void doItemsLayout() override;

private:
    // A label may be edited for a valid item that can be renamed, not the root, not while a
    // click is pending.
    bool canEditLabel(const QModelIndex& node);
    void startEditing(const QModelIndex& node);
    // Expands a node that shows an expand button, reading its children first.
    void expandNode(const QModelIndex& node);
    void onExpanded(const QModelIndex& node);
    void onCollapsed(const QModelIndex& node);
    // Moves a selection inside rows about to be deleted to the node that holds them.
    void onNodesAboutToBeDeleted(const QModelIndex& parent, int first, int last);
    // Rows are about to come or go below parent: a scrolled view remembers its first visible
    // folder, to keep it where it is once the rows are laid out again.
    void keepFirstVisible(const QModelIndex& parent);
    void collapseAll(const QModelIndex& node);
    void expandSubtreeStep();
    // Gives the watcher the visible folders once the current change of the tree is done.
    void scheduleWatchUpdate();
    // Selects a node unless the selection may not change now (a click pending, closing).
    void selectNode(const QModelIndex& node);
    bool onLabelOrIcon(const QModelIndex& node, const QPoint& pos) const;
    bool onExpandButton(const QModelIndex& node, const QPoint& pos) const;
    void setDropHighlight(const QModelIndex& node);
    void raise(const std::exception& error) { Q_EMIT errorRaised(error); }

    ShellTreeModel* m_model;
    // The window's life, the pending click and renaming, as every front end has them.
    ShellTreeControl m_control;
    QPersistentModelIndex m_dropHighlight;
    QPersistentModelIndex m_firstVisible; // kept in place at the next layout
    std::unique_ptr<TShDirWatcher> m_watcher;
    bool m_renaming = false;
    QTimer m_editTimer;
    QPersistentModelIndex m_editCandidate;
    QPersistentModelIndex m_editing;
    LabelEditGuard m_labelEdit{this};
    std::optional<std::pair<QPersistentModelIndex, QString>> m_pendingRename;
    // The image of each image index.
    std::map<int, QIcon> m_images;
    bool m_watchUpdatePending = false;
    // Drives the tree's subtree walk, a slice per turn of the event loop.
    QTimer m_subtreeTimer;
};

} // namespace ordinalette::foldertree
