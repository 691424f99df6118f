#include "foldertree/shell_tree_model.h"

#include "foldertree/debug_log.h"
#include "platform/text_services.h"

#include <algorithm>

namespace ordinalette::foldertree {

ShellTreeModel::ShellTreeModel(std::shared_ptr<ShellNamespace> shellNamespace, QObject* parent)
    : QAbstractItemModel(parent), m_namespace(std::move(shellNamespace)) {}

ShellTreeModel::~ShellTreeModel() = default;

// ---- The Qt model ---------------------------------------------------------------------------

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
        return row == 0 && m_root ? createIndex(0, 0, m_root.get()) : QModelIndex();
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
        return m_root ? 1 : 0;
    return parent.column() == 0 ? static_cast<int>(recordOf(parent)->children.size()) : 0;
}

int ShellTreeModel::columnCount(const QModelIndex&) const {
    return 1;
}

bool ShellTreeModel::hasChildren(const QModelIndex& parent) const {
    const TShellFolderItem* node = recordOf(parent);
    return node ? node->hasButton.value_or(true) : m_root != nullptr;
}

bool ShellTreeModel::showsButton(const QModelIndex& index) const {
    TShellFolderItem* node = recordOf(index);
    if (!node)
        return m_root != nullptr;
    if (!node->hasButton || node->probeAgain)
        node->hasButton = probeButton(*node);
    node->probeAgain = false;
    return *node->hasButton;
}

bool ShellTreeModel::canFetchMore(const QModelIndex& parent) const {
    // Only a node without children: one that had some is merged when it next expands
    // (expandNode), not while a view lays out its rows.
    const TShellFolderItem* node = recordOf(parent);
    return node && node->stale && node->children.empty();
}

void ShellTreeModel::fetchMore(const QModelIndex& parent) {
    RefreshChildren(recordOf(parent));
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
        if (!node->image && m_imageSource)
            node->image = m_imageSource(*node);
        return node->image ? QVariant(*node->image) : QVariant();
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

// ---- Records --------------------------------------------------------------------------------

QString ShellTreeModel::nodeText(TShellFolderItem& record) const {
    return QString::fromStdU16String(
        platform::decodeText(record.DisplayName(), m_namespace->codePage()));
}

bool ShellTreeModel::probeButton(TShellFolderItem& node) const {
    // The desktop always holds My Computer, whatever its directory holds; a folder that could
    // not be read shows nothing to open until it can be read again.
    if (node.Level() == 0)
        return true;
    return !node.unreadable && node.hasAttribute(ShellAttribute::HasSubfolder);
}

bool ShellTreeModel::BuildRoot() {
    const auto desktop = m_namespace->specialFolderLocation(SpecialFolder::Desktop);
    const auto desktopDirectory =
        m_namespace->specialFolderLocation(SpecialFolder::DesktopDirectory);
    if (!desktop || !desktopDirectory || m_root)
        return false;
    beginInsertRows({}, 0, 0);
    m_root = std::make_unique<TShellFolderItem>(*m_namespace, *desktopDirectory, *desktop);
    endInsertRows();
    return true;
}

void ShellTreeModel::clear() {
    beginResetModel();
    m_root.reset();
    endResetModel();
}

void ShellTreeModel::SetIncludeHidden(bool include) {
    if (include == m_includeHidden)
        return;
    m_includeHidden = include;
    RefreshTree();
}

TShItemIDType ShellTreeModel::ItemType(TShellFolderItem& item) {
    const auto desktop = m_namespace->desktopFolder();
    if (!desktop)
        return TShItemIDType::itUnknown;
    const int level = item.Level();
    if (level == 0)
        return TShItemIDType::itDeskTop;
    if (level == 1) {
        static constexpr std::pair<SpecialFolder, TShItemIDType> kSpecial[] = {
            {SpecialFolder::Drives, TShItemIDType::itMyComputer},
            {SpecialFolder::Network, TShItemIDType::itNetWork},
            {SpecialFolder::BitBucket, TShItemIDType::itBitBucket}};
        for (const auto& [folder, type] : kSpecial) {
            const auto location = m_namespace->specialFolderLocation(folder);
            if (location && desktop->compareIDs(item.ItemID, *location) == 0)
                return type;
        }
    }
    if (!item.hasAttribute(ShellAttribute::FileSystem))
        return TShItemIDType::itVirtual;
    if (level == 2 && item.hasAttribute(ShellAttribute::FileSysAncestor))
        return TShItemIDType::itRootDrive;
    return item.hasAttribute(ShellAttribute::Folder) ? TShItemIDType::itFolder
                                                     : TShItemIDType::itFile;
}

std::optional<std::vector<ItemIdList>>
ShellTreeModel::enumerate(const std::shared_ptr<ShellFolder>& folder, TShellFolderItem& parent) {
    auto children = folder->enumFolders(m_includeHidden);
    if (!children) {
        qCDebug(lcFolderTree) << "cannot read the folders of" << nodeText(parent);
        return std::nullopt;
    }
    const auto before = [&folder](const ItemIdList& a, const ItemIdList& b) {
        const auto order = folder->compareIDs(a, b);
        return order && *order < 0;
    };
    // A folder usually enumerates in its own order; checking that costs one comparison per
    // child, sorting many more.
    if (!std::is_sorted(children->begin(), children->end(), before))
        std::sort(children->begin(), children->end(), before);
    return children;
}

std::unique_ptr<TShellFolderItem>
ShellTreeModel::makeRecord(const std::shared_ptr<ShellFolder>& folder, TShellFolderItem& parent,
                           ItemIdList child) {
    const int parentLevel = parent.Level();
    ItemIdList absolute;
    absolute.reserve(parent.AbsoluteID.size() + child.size());
    if (parentLevel != 0)
        absolute = parent.AbsoluteID;
    absolute.insert(absolute.end(), child.begin(), child.end());
    auto record = std::make_unique<TShellFolderItem>(*m_namespace, std::move(child),
                                                     std::move(absolute), folder);
    // Which items the tree leaves out: the desktop's items outside the file system, and the
    // special items and My Computer's virtual ones unless the tree's settings list them.
    bool keep = true;
    if (parentLevel == 0) {
        const TShItemIDType type = ItemType(*record);
        keep = type == TShItemIDType::itBitBucket ? m_virtualItems.contains(type)
               : type == TShItemIDType::itNetWork ? m_virtualItems.contains(type)
                                                  : type != TShItemIDType::itVirtual;
    } else if (parentLevel == 1) {
        const TShItemIDType parentType = ItemType(parent);
        if (parentType == TShItemIDType::itMyComputer)
            keep = m_virtualItems.contains(TShItemIDType::itVirtual) ||
                   ItemType(*record) != TShItemIDType::itVirtual;
        else if (parentType == TShItemIDType::itNetWork)
            keep = m_virtualItems.contains(TShItemIDType::itNetWork);
    }
    return keep ? std::move(record) : nullptr;
}

int ShellTreeModel::ReadChildren(const std::shared_ptr<ShellFolder>& folder,
                                 TShellFolderItem& parent,
                                 std::vector<std::unique_ptr<TShellFolderItem>>& list) {
    auto children = enumerate(folder, parent);
    if (!children)
        return -1;
    list.reserve(children->size());
    for (auto& child : *children) {
        if (auto record = makeRecord(folder, parent, std::move(child)))
            list.push_back(std::move(record));
    }
    return static_cast<int>(list.size());
}

std::shared_ptr<ShellFolder> ShellTreeModel::folderOf(TShellFolderItem& node) {
    if (node.Level() == 0)
        return m_namespace->desktopFolder();
    const auto parentFolder = node.ParentFolder();
    return parentFolder ? parentFolder->bindToObject(node.ItemID) : nullptr;
}

void ShellTreeModel::RefreshChildren(TShellFolderItem* node) {
    if (!node)
        return;
    const auto folder = folderOf(*node);
    const auto keepOpen = m_namespace->keepFoldersOpen();
    node->stale = false;
    node->unreadable = !folder;
    if (!folder)
        return; // nothing can be compared: the node keeps what it has
    if (node->children.empty()) {
        // A first reading has nothing to merge with.
        std::vector<std::unique_ptr<TShellFolderItem>> list;
        node->unreadable = ReadChildren(folder, *node, list) < 0;
        if (!list.empty())
            insertChildren(node, 0, list);
        noteButton(node);
        return;
    }
    auto fresh = enumerate(folder, *node);
    node->unreadable = !fresh;
    if (!fresh)
        fresh.emplace();

    // Walks the existing children and the fresh list together. Records are made only for the
    // children that are new, and those that stand before an existing child are inserted there
    // in one run.
    auto& children = node->children;
    std::size_t existing = 0;
    std::vector<std::unique_ptr<TShellFolderItem>> run;
    const auto insertRun = [&] {
        if (run.empty())
            return;
        insertChildren(node, existing, run);
        existing += run.size();
        run.clear();
    };
    for (auto& candidate : *fresh) {
        // Existing children that stand before the candidate in the folder's order are gone.
        std::size_t gone = existing;
        std::optional<int> order;
        while (gone < children.size()) {
            // The same identifiers name the same item; only others need the folder's order.
            const ItemIdList& current = children[gone]->ItemID;
            order = current == candidate ? 0 : folder->compareIDs(current, candidate);
            if (order && *order >= 0)
                break;
            ++gone;
        }
        if (const std::size_t count = gone - existing; count > 0) {
            insertRun();
            removeChildren(node, existing, existing + count - 1);
        }
        if (existing < children.size() && order && *order == 0) {
            // Equal: the existing node stays with its record, expansion, children and caches.
            insertRun();
            ++existing;
            continue;
        }
        if (auto record = makeRecord(folder, *node, std::move(candidate)))
            run.push_back(std::move(record));
    }
    insertRun();
    if (existing < children.size())
        removeChildren(node, existing, children.size() - 1);
    noteButton(node);
}

void ShellTreeModel::noteButton(TShellFolderItem* node) {
    const bool hadButton = node->hasButton.value_or(false);
    node->hasButton = node->Level() == 0 || !node->children.empty();
    node->probeAgain = false;
    if (hadButton != *node->hasButton) {
        const QModelIndex index = indexOf(node);
        Q_EMIT dataChanged(index, index);
    }
}

void ShellTreeModel::insertChildren(TShellFolderItem* node, std::size_t at,
                                    std::vector<std::unique_ptr<TShellFolderItem>>& records) {
    auto& children = node->children;
    beginInsertRows(indexOf(node), static_cast<int>(at), static_cast<int>(at + records.size() - 1));
    for (auto& record : records)
        record->parent = node;
    children.insert(children.begin() + static_cast<std::ptrdiff_t>(at),
                    std::make_move_iterator(records.begin()),
                    std::make_move_iterator(records.end()));
    noteRows(*node, at);
    endInsertRows();
}

void ShellTreeModel::removeChildren(TShellFolderItem* node, std::size_t first, std::size_t last) {
    const QModelIndex parent = indexOf(node);
    Q_EMIT nodesAboutToBeDeleted(parent, static_cast<int>(first), static_cast<int>(last));
    beginRemoveRows(parent, static_cast<int>(first), static_cast<int>(last));
    auto& children = node->children;
    children.erase(children.begin() + static_cast<std::ptrdiff_t>(first),
                   children.begin() + static_cast<std::ptrdiff_t>(last + 1));
    noteRows(*node, first);
    endRemoveRows();
}

void ShellTreeModel::noteRows(const TShellFolderItem& node, std::size_t from) {
    for (std::size_t row = from; row < node.children.size(); ++row)
        node.children[row]->noteRow(row);
}

void ShellTreeModel::dropChildren(TShellFolderItem* node) {
    if (!node->children.empty())
        removeChildren(node, 0, node->children.size() - 1);
    node->stale = true;
    node->hasButton = true;
    node->probeAgain = false;
    const QModelIndex index = indexOf(node);
    Q_EMIT dataChanged(index, index);
}

void ShellTreeModel::setNodeText(TShellFolderItem* node, std::string text) {
    node->image.reset();
    node->setDisplayName(std::move(text));
    const QModelIndex index = indexOf(node);
    Q_EMIT dataChanged(index, index);
}

// ---- Expanding and re-reading ---------------------------------------------------------------

bool ShellTreeModel::expandNode(TShellFolderItem* node) {
    if (!node)
        return false;
    refreshIfStale(node);
    if (node->children.empty())
        return false;
    node->expanded = true;
    Q_EMIT expandRequested(indexOf(node));
    return true;
}

void ShellTreeModel::refreshIfStale(TShellFolderItem* node) {
    if (!node->stale)
        return;
    RefreshChildren(node);
    for (std::size_t i = 0; i < node->children.size(); ++i)
        refreshVisible(node->children[i].get());
}

void ShellTreeModel::setExpanded(TShellFolderItem* node, bool expanded) {
    if (!node)
        return;
    node->expanded = expanded;
    if (!expanded)
        node->stale = true;
}

bool ShellTreeModel::shown(const TShellFolderItem* node) {
    for (const TShellFolderItem* parent = node->parent; parent; parent = parent->parent) {
        if (!parent->expanded)
            return false;
    }
    return true;
}

void ShellTreeModel::refreshVisible(TShellFolderItem* node, const TShellFolderItem* listKept) {
    // An expanded node is read whatever its child count, so that a folder that lost its last
    // subfolder shows the next one; an unreadable one is tried again, so that its button
    // follows what can be read. Every other shown node probes its button again once a view
    // asks for it.
    if (node->expanded || node->unreadable) {
        if (node != listKept)
            RefreshChildren(node);
    } else {
        node->probeAgain = true;
        return;
    }
    if (!node->expanded)
        return;
    for (std::size_t i = 0; i < node->children.size(); ++i)
        refreshVisible(node->children[i].get(), listKept);
}

void ShellTreeModel::RefreshTree() {
    const auto keepOpen = m_namespace->keepFoldersOpen();
    if (m_root)
        refreshVisible(m_root.get());
}

void ShellTreeModel::refreshMountedFolders() {
    if (!m_root)
        return;
    const auto keepOpen = m_namespace->keepFoldersOpen();
    const TShellFolderItem* computer = nullptr;
    for (const auto& child : m_root->children) {
        if (ItemType(*child) == TShItemIDType::itMyComputer)
            computer = child.get();
    }
    refreshVisible(m_root.get(), computer);
}

TShellFolderItem* ShellTreeModel::FindNode(const ItemIdList& target) {
    TShellFolderItem* root = m_root.get();
    if (!root)
        return nullptr;
    TShellFolderItem* parent = root;
    std::size_t index = 0;
    std::size_t matched = 0;
    std::vector<const TShellFolderItem*> comparedGreater;
    // Re-reads the parent's children; false when the current node went with the re-read.
    const auto refreshParent = [&]() {
        const TShellFolderItem* current = parent->children[index].get();
        RefreshChildren(parent);
        const auto& children = parent->children;
        const auto found = std::find_if(children.begin(), children.end(),
                                        [&](const auto& child) { return child.get() == current; });
        if (found == children.end())
            return false;
        index = static_cast<std::size_t>(found - children.begin());
        return true;
    };
    while (index < parent->children.size() && matched < target.size()) {
        TShellFolderItem* current = parent->children[index].get();
        const auto folder = current->ParentFolder();
        const auto order =
            folder ? folder->compareIDs(current->ItemID, {target[matched]}) : std::nullopt;
        if (!order)
            break;
        if (*order == 0) {
            if (++matched == target.size())
                return current;
            if (!expandNode(current) && current->children.empty())
                RefreshChildren(current);
            parent = current;
            index = 0;
            comparedGreater.clear();
        } else if (*order > 0) {
            // The target, if present, stands before: read again and walk back.
            if (std::find(comparedGreater.begin(), comparedGreater.end(), current) !=
                comparedGreater.end())
                break;
            comparedGreater.push_back(current);
            if (!refreshParent() || index == 0)
                break;
            --index;
        } else {
            if (index + 1 == parent->children.size() && !refreshParent())
                break;
            ++index;
        }
    }
    return root;
}

// ---- Paths and watching ---------------------------------------------------------------------

std::optional<std::string> ShellTreeModel::pathOf(const TShellFolderItem& record) const {
    // The root's path is the desktop directory's.
    return m_namespace->pathFromIDList(record.Level() == 0 ? record.ItemID : record.AbsoluteID);
}

std::vector<std::string> ShellTreeModel::visibleFolders() const {
    std::vector<std::string> folders;
    if (m_root)
        collectVisibleFolders(*m_root, folders);
    // While the desktop directory is gone, the folder that held it is watched instead, so that
    // the tree reads it again once it is back.
    if (const auto desktop = m_root ? pathOf(*m_root) : std::nullopt;
        desktop && !m_namespace->parseDisplayName(*desktop)) {
        if (const auto cut = desktop->find_last_of('/'); cut != std::string::npos)
            folders.push_back(cut == 0 ? "/" : desktop->substr(0, cut));
    }
    std::sort(folders.begin(), folders.end());
    folders.erase(std::unique(folders.begin(), folders.end()), folders.end());
    return folders;
}

void ShellTreeModel::collectVisibleFolders(const TShellFolderItem& node,
                                           std::vector<std::string>& folders) const {
    if (auto path = pathOf(node))
        folders.push_back(std::move(*path));
    if (!node.expanded)
        return;
    for (const auto& child : node.children)
        collectVisibleFolders(*child, folders);
}

// ---- Renaming and images --------------------------------------------------------------------

int ShellTreeModel::renameNode(TShellFolderItem* node, const std::string& name) {
    const auto parentFolder = node->ParentFolder();
    if (!parentFolder)
        return platform::error::FileNotFound;
    auto renamed = parentFolder->setNameOf(node->ItemID, name);
    if (!renamed.ok())
        return renamed.error;
    ItemIdList absolute = node->Level() == 1 ? ItemIdList{} : node->ParentID();
    absolute.insert(absolute.end(), renamed.value.begin(), renamed.value.end());
    node->rename(std::move(renamed.value), std::move(absolute));
    if (!node->children.empty())
        removeChildren(node, 0, node->children.size() - 1);
    placeAmongSiblings(node);
    RefreshChildren(node);
    const QModelIndex index = indexOf(node);
    Q_EMIT dataChanged(index, index);
    return platform::error::None;
}

void ShellTreeModel::placeAmongSiblings(TShellFolderItem* node) {
    TShellFolderItem* parent = node->parent;
    const auto folder = node->ParentFolder();
    if (!parent || !folder)
        return;
    auto& siblings = parent->children;
    const std::size_t from = static_cast<std::size_t>(node->row());
    std::size_t place = 0;
    for (; place < siblings.size(); ++place) {
        if (place == from)
            continue;
        const auto order = folder->compareIDs(siblings[place]->ItemID, node->ItemID);
        if (order && *order > 0)
            break;
    }
    // Qt counts the destination before the node is taken out.
    if (place == from || place == from + 1)
        return;
    const QModelIndex parentIndex = indexOf(parent);
    beginMoveRows(parentIndex, static_cast<int>(from), static_cast<int>(from), parentIndex,
                  static_cast<int>(place));
    auto moved = std::move(siblings[from]);
    siblings.erase(siblings.begin() + static_cast<std::ptrdiff_t>(from));
    const std::size_t to = place > from ? place - 1 : place;
    siblings.insert(siblings.begin() + static_cast<std::ptrdiff_t>(to), std::move(moved));
    noteRows(*parent, std::min(from, to));
    endMoveRows();
}

void ShellTreeModel::resetImages() {
    if (m_root)
        resetImages(*m_root);
}

void ShellTreeModel::resetImages(TShellFolderItem& node) {
    node.image.reset();
    for (auto& child : node.children)
        resetImages(*child);
}

} // namespace ordinalette::foldertree
