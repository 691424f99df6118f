#include "foldertree/shell_tree.h"

#include "platform/debug_log.h"
#include "platform/path.h"

#include <algorithm>

namespace ordinalette::foldertree {

ShellTree::ShellTree(std::shared_ptr<ShellNamespace> shellNamespace, ShellTreeObserver& observer)
    : m_namespace(std::move(shellNamespace)), m_observer(observer) {}

ShellTree::~ShellTree() = default;

// ---- Records --------------------------------------------------------------------------------

bool ShellTree::probeButton(TShellFolderItem& node) const {
    // The desktop always holds My Computer, whatever its directory holds; a folder that could
    // not be read shows nothing to open until it can be read again.
    if (node.Level() == 0)
        return true;
    return !node.unreadable && node.hasAttribute(ShellAttribute::HasSubfolder);
}

bool ShellTree::BuildRoot() {
    const auto desktop = m_namespace->specialFolderLocation(SpecialFolder::Desktop);
    const auto desktopDirectory =
        m_namespace->specialFolderLocation(SpecialFolder::DesktopDirectory);
    if (!desktop || !desktopDirectory || m_root)
        return false;
    m_observer.beginInsert(nullptr, 0, 0);
    m_root = std::make_unique<TShellFolderItem>(*m_namespace, *desktopDirectory, *desktop);
    m_observer.endInsert();
    return true;
}

void ShellTree::clear() {
    m_observer.beginReset();
    m_walk.clear();
    m_root.reset();
    m_observer.endReset();
}

void ShellTree::SetIncludeHidden(bool include) {
    if (include == m_includeHidden)
        return;
    m_includeHidden = include;
    RefreshTree();
}

TShItemIDType ShellTree::ItemType(TShellFolderItem& item) {
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
ShellTree::enumerate(const std::shared_ptr<ShellFolder>& folder, TShellFolderItem& parent) {
    auto children = folder->enumFolders(m_includeHidden);
    if (!children) {
        platform::logDebug("cannot read the folders of " + parent.DisplayName());
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

std::unique_ptr<TShellFolderItem> ShellTree::makeRecord(const std::shared_ptr<ShellFolder>& folder,
                                                        TShellFolderItem& parent,
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

int ShellTree::ReadChildren(const std::shared_ptr<ShellFolder>& folder, TShellFolderItem& parent,
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

std::shared_ptr<ShellFolder> ShellTree::folderOf(TShellFolderItem& node) {
    if (node.Level() == 0)
        return m_namespace->desktopFolder();
    const auto parentFolder = node.ParentFolder();
    return parentFolder ? parentFolder->bindToObject(node.ItemID) : nullptr;
}

void ShellTree::RefreshChildren(TShellFolderItem* node) {
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

void ShellTree::noteButton(TShellFolderItem* node) {
    const bool hadButton = node->hasButton.value_or(false);
    node->hasButton = node->Level() == 0 || !node->children.empty();
    node->probeAgain = false;
    if (hadButton != *node->hasButton)
        m_observer.changed(node);
}

void ShellTree::insertChildren(TShellFolderItem* node, std::size_t at,
                               std::vector<std::unique_ptr<TShellFolderItem>>& records) {
    auto& children = node->children;
    m_observer.beginInsert(node, at, at + records.size() - 1);
    for (auto& record : records)
        record->parent = node;
    children.insert(children.begin() + static_cast<std::ptrdiff_t>(at),
                    std::make_move_iterator(records.begin()),
                    std::make_move_iterator(records.end()));
    noteRows(*node, at);
    m_observer.endInsert();
}

void ShellTree::removeChildren(TShellFolderItem* node, std::size_t first, std::size_t last) {
    m_walk.forget(*node, first, last);
    m_observer.beginRemove(node, first, last);
    auto& children = node->children;
    children.erase(children.begin() + static_cast<std::ptrdiff_t>(first),
                   children.begin() + static_cast<std::ptrdiff_t>(last + 1));
    noteRows(*node, first);
    m_observer.endRemove();
}

void ShellTree::noteRows(const TShellFolderItem& node, std::size_t from) {
    for (std::size_t row = from; row < node.children.size(); ++row)
        node.children[row]->noteRow(row);
}

void ShellTree::dropChildren(TShellFolderItem* node) {
    if (!node->children.empty())
        removeChildren(node, 0, node->children.size() - 1);
    node->stale = true;
    node->hasButton = true;
    node->probeAgain = false;
    m_observer.changed(node);
}

void ShellTree::setNodeText(TShellFolderItem* node, std::string text) {
    node->imageIndex.reset();
    node->setDisplayName(std::move(text));
    m_observer.changed(node);
}

void ShellTree::DeviceChanged(const TDeviceChangeData& record) {
    if (record.Kind == DeviceKind::Network) {
        if (record.Event != DeviceEvent::Arrival && m_root)
            m_observer.requestSelect(m_root.get());
        RefreshTree();
        return;
    }
    if (record.Kind != DeviceKind::Media || !record.Drive)
        return;
    TShellFolderItem* drive = FindNode(*record.Drive);
    // Only the drive's own node: a mount that is gone may already have left My Computer.
    if (!drive || drive->AbsoluteID != *record.Drive)
        return;
    setNodeText(drive, record.Text);
    if (record.Event != DeviceEvent::RemoveComplete)
        return;
    m_observer.requestSelect(drive->parent);
    m_observer.requestCollapse(drive);
    dropChildren(drive);
}

// ---- Expanding and re-reading ---------------------------------------------------------------

bool ShellTree::expandNode(TShellFolderItem* node) {
    if (!node)
        return false;
    refreshIfStale(node);
    if (node->children.empty())
        return false;
    node->expanded = true;
    m_observer.requestExpand(node);
    return true;
}

void ShellTree::refreshIfStale(TShellFolderItem* node) {
    if (!node->stale)
        return;
    RefreshChildren(node);
    for (std::size_t i = 0; i < node->children.size(); ++i)
        refreshVisible(node->children[i].get());
}

void ShellTree::setExpanded(TShellFolderItem* node, bool expanded) {
    if (!node)
        return;
    node->expanded = expanded;
    if (!expanded)
        node->stale = true;
}

bool ShellTree::shown(const TShellFolderItem* node) {
    for (const TShellFolderItem* parent = node->parent; parent; parent = parent->parent) {
        if (!parent->expanded)
            return false;
    }
    return true;
}

void ShellTree::refreshVisible(TShellFolderItem* node, const TShellFolderItem* listKept) {
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

void ShellTree::RefreshTree() {
    const auto keepOpen = m_namespace->keepFoldersOpen();
    if (m_root)
        refreshVisible(m_root.get());
}

void ShellTree::refreshMountedFolders() {
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

TShellFolderItem* ShellTree::FindNode(const ItemIdList& target) {
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

TShellFolderItem* ShellTree::SelectID(const TShellFolderItem* selected, const ItemIdList& target) {
    if (selected && selected->Level() == static_cast<int>(target.size())) {
        const auto desktop = m_namespace->desktopFolder();
        const auto order =
            desktop ? desktop->compareIDs(selected->AbsoluteID, target) : std::nullopt;
        if (order && *order == 0)
            return nullptr;
    }
    return FindNode(target);
}

TShellFolderItem* ShellTree::SetPath(const TShellFolderItem* selected, const std::string& path) {
    const auto list = m_namespace->parseDisplayName(path);
    return list ? SelectID(selected, *list) : nullptr;
}

// ---- Paths and watching ---------------------------------------------------------------------

std::string ShellTree::Path(const TShellFolderItem* selected) const {
    return selected ? pathOf(*selected).value_or(std::string()) : std::string();
}

std::optional<std::string> ShellTree::pathOf(const TShellFolderItem& record) const {
    // The root's path is the desktop directory's.
    return m_namespace->pathFromIDList(record.Level() == 0 ? record.ItemID : record.AbsoluteID);
}

std::vector<std::string> ShellTree::visibleFolders() const {
    std::vector<std::string> folders;
    if (m_root)
        collectVisibleFolders(*m_root, folders);
    // While the desktop directory is gone, the folder that held it is watched instead, so that
    // the tree reads it again once it is back.
    if (const auto desktop = m_root ? pathOf(*m_root) : std::nullopt;
        desktop && !m_namespace->parseDisplayName(*desktop)) {
        if (auto parent = platform::parentFolder(*desktop))
            folders.push_back(std::move(*parent));
    }
    std::sort(folders.begin(), folders.end());
    folders.erase(std::unique(folders.begin(), folders.end()), folders.end());
    return folders;
}

void ShellTree::collectVisibleFolders(const TShellFolderItem& node,
                                      std::vector<std::string>& folders) const {
    if (auto path = pathOf(node))
        folders.push_back(std::move(*path));
    if (!node.expanded)
        return;
    for (const auto& child : node.children)
        collectVisibleFolders(*child, folders);
}

// ---- Renaming and images --------------------------------------------------------------------

int ShellTree::renameNode(TShellFolderItem* node, const std::string& name) {
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
    m_observer.changed(node);
    return platform::error::None;
}

void ShellTree::placeAmongSiblings(TShellFolderItem* node) {
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
    // The destination counts before the node is taken out.
    if (place == from || place == from + 1)
        return;
    m_observer.beginMove(parent, from, place);
    auto moved = std::move(siblings[from]);
    siblings.erase(siblings.begin() + static_cast<std::ptrdiff_t>(from));
    const std::size_t to = place > from ? place - 1 : place;
    siblings.insert(siblings.begin() + static_cast<std::ptrdiff_t>(to), std::move(moved));
    noteRows(*parent, std::min(from, to));
    m_observer.endMove();
}

bool ShellTree::showsButton(TShellFolderItem& node) const {
    if (!node.hasButton || node.probeAgain)
        node.hasButton = probeButton(node);
    node.probeAgain = false;
    return *node.hasButton;
}

int ShellTree::imageIndexOf(TShellFolderItem& record) {
    if (!record.imageIndex) {
        record.imageIndex = imageIndex(
            ItemType(record), record.Level() > 0 && record.hasAttribute(ShellAttribute::Link));
    }
    return *record.imageIndex;
}

void ShellTree::resetImages() {
    if (m_root)
        resetImages(*m_root);
}

void ShellTree::resetImages(TShellFolderItem& node) {
    node.imageIndex.reset();
    for (auto& child : node.children)
        resetImages(*child);
}

int imageIndex(TShItemIDType type, bool link) {
    return static_cast<int>(type) * 2 + (link ? 1 : 0);
}

TShItemIDType imageType(int index) {
    return static_cast<TShItemIDType>(index / 2);
}

bool imageIsLink(int index) {
    return index % 2 != 0;
}

} // namespace ordinalette::foldertree
