#pragma once

#include "foldertree/shell_namespace.h"
#include "foldertree/shell_tree.h"
#include "foldertree/shell_tree_observer.h"
#include "foldertree/t_shell_folder_item.h"

#include <QAbstractItemModel>
#include <QIcon>
#include <functional>
#include <memory>

namespace ordinalette::foldertree {

// The nodes of a ShellTree as a Qt item model, one column, the desktop as its one top row. The
// tree reads and merges the nodes; the model turns what it hears of them into Qt's row signals.
//
// Children are read through fetchMore when a node without children is about to show them; one
// collapsed since it was read is merged when it next expands (ShellTree::expandNode).
class ShellTreeModel : public QAbstractItemModel, private ShellTreeObserver {
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
    // Whether the node shows an expand button, probed now when it is not known yet.
    bool showsButton(const QModelIndex& index) const;
    bool canFetchMore(const QModelIndex& parent) const override;
    // Reads the node's children afresh and merges them.
    void fetchMore(const QModelIndex& parent) override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

    // The record of an index of this model; null for none.
    static TShellFolderItem* recordOf(const QModelIndex& index);
    QModelIndex indexOf(const TShellFolderItem* node) const;
    ShellTree& tree() const { return m_tree; }
    // The display name as the node shows it.
    QString nodeText(TShellFolderItem& record) const;

    // Where the images of the image indexes come from.
    using ImageSource = std::function<QIcon(int imageIndex)>;
    void setImageSource(ImageSource source) { m_imageSource = std::move(source); }

Q_SIGNALS:
    // A walk to a target passes through the node: the view expands it.
    void expandRequested(const QModelIndex& index);
    // The rows are about to be deleted; a view moves a selection inside them to the parent first.
    void nodesAboutToBeDeleted(const QModelIndex& parent, int first, int last);
    // A volume change folds the node, or moves the selection to it.
    void collapseRequested(const QModelIndex& index);
    void selectRequested(const QModelIndex& index);

private:
    void beginInsert(TShellFolderItem* parent, std::size_t first, std::size_t last) override;
    void endInsert() override { endInsertRows(); }
    void beginRemove(TShellFolderItem* parent, std::size_t first, std::size_t last) override;
    void endRemove() override { endRemoveRows(); }
    void beginMove(TShellFolderItem* parent, std::size_t from, std::size_t to) override;
    void endMove() override { endMoveRows(); }
    void beginReset() override { beginResetModel(); }
    void endReset() override { endResetModel(); }
    void changed(TShellFolderItem* node) override;
    void requestExpand(TShellFolderItem* node) override { Q_EMIT expandRequested(indexOf(node)); }
    void requestCollapse(TShellFolderItem* node) override {
        Q_EMIT collapseRequested(indexOf(node));
    }
    void requestSelect(TShellFolderItem* node) override { Q_EMIT selectRequested(indexOf(node)); }

    mutable ShellTree m_tree;
    ImageSource m_imageSource;
};

} // namespace ordinalette::foldertree
