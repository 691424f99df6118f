#include "app/tree/shell_tree_model.h"

#include "platform/text_services.h"

namespace ordinalette::foldertree {

ShellTreeModel::ShellTreeModel(std::shared_ptr<ShellNamespace> shellNamespace, QObject* parent)
    : QAbstractItemModel(parent), m_tree(std::move(shellNamespace), *this) {}

ShellTreeModel::~ShellTreeModel() = default;

TShellFolderItem* ShellTreeModel::recordOf(const QModelIndex& index) {
    return index.isValid() ? static_cast<TShellFolderItem*>(index.internalPointer()) : nullptr;
}

QModelIndex ShellTreeModel::indexOf(const TShellFolderItem* node) const {
    if (!node)
        return {};
    return createIndex(node->row(), 0, const_cast<TShellFolderItem*>(node));
}

QModelIndex ShellTreeModel::index(int row, int column, const QModelIndex& parent) const {
    if (column != 0 || row < 0)
        return {};
    if (!parent.isValid())
        return row == 0 && m_tree.root() ? createIndex(0, 0, m_tree.root()) : QModelIndex();
    const TShellFolderItem* node = recordOf(parent);
    if (static_cast<std::size_t>(row) >= node->children.size())
        return {};
    return createIndex(row, 0, node->children[static_cast<std::size_t>(row)].get());
}

QModelIndex ShellTreeModel::parent(const QModelIndex& child) const {
    const TShellFolderItem* node = recordOf(child);
    return node ? indexOf(node->parent) : QModelIndex();
}

int ShellTreeModel::rowCount(const QModelIndex& parent) const {
    if (!parent.isValid())
        return m_tree.root() ? 1 : 0;
    return parent.column() == 0 ? static_cast<int>(recordOf(parent)->children.size()) : 0;
}

int ShellTreeModel::columnCount(const QModelIndex&) const {
    return 1;
}

bool ShellTreeModel::hasChildren(const QModelIndex& parent) const {
    const TShellFolderItem* node = recordOf(parent);
    return node ? node->hasButton.value_or(true) : m_tree.root() != nullptr;
}

bool ShellTreeModel::showsButton(const QModelIndex& index) const {
    TShellFolderItem* node = recordOf(index);
    return node ? m_tree.showsButton(*node) : m_tree.root() != nullptr;
}

bool ShellTreeModel::canFetchMore(const QModelIndex& parent) const {
    // Only a node without children: one that had some is merged when it next expands, not
    // while a view lays out its rows.
    const TShellFolderItem* node = recordOf(parent);
    return node && node->stale && node->children.empty();
}

void ShellTreeModel::fetchMore(const QModelIndex& parent) {
    m_tree.RefreshChildren(recordOf(parent));
}

QVariant ShellTreeModel::data(const QModelIndex& index, int role) const {
    TShellFolderItem* node = recordOf(index);
    if (!node)
        return {};
    switch (role) {
    case Qt::DisplayRole:
    case Qt::EditRole:
        return nodeText(*node);
    case Qt::DecorationRole:
        return m_imageSource ? QVariant(m_imageSource(m_tree.imageIndexOf(*node))) : QVariant();
    default:
        return {};
    }
}

Qt::ItemFlags ShellTreeModel::flags(const QModelIndex& index) const {
    if (!index.isValid())
        return Qt::NoItemFlags;
    // Whether a label may really be edited is decided when editing would start.
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsEditable;
}

QString ShellTreeModel::nodeText(TShellFolderItem& record) const {
    return QString::fromStdU16String(
        platform::decodeText(record.DisplayName(), m_tree.shellNamespace().codePage()));
}

void ShellTreeModel::beginInsert(TShellFolderItem* parent, std::size_t first, std::size_t last) {
    beginInsertRows(indexOf(parent), static_cast<int>(first), static_cast<int>(last));
}

void ShellTreeModel::beginRemove(TShellFolderItem* parent, std::size_t first, std::size_t last) {
    const QModelIndex parentIndex = indexOf(parent);
    Q_EMIT nodesAboutToBeDeleted(parentIndex, static_cast<int>(first), static_cast<int>(last));
    beginRemoveRows(parentIndex, static_cast<int>(first), static_cast<int>(last));
}

void ShellTreeModel::beginMove(TShellFolderItem* parent, std::size_t from, std::size_t to) {
    const QModelIndex parentIndex = indexOf(parent);
    beginMoveRows(parentIndex, static_cast<int>(from), static_cast<int>(from), parentIndex,
                  static_cast<int>(to));
}

void ShellTreeModel::changed(TShellFolderItem* node) {
    const QModelIndex index = indexOf(node);
    Q_EMIT dataChanged(index, index);
}

} // namespace ordinalette::foldertree
