#include "foldertree/t_shell_tree_view.h"

#include "foldertree/debug_log.h"
#include "foldertree/linux_shell_namespace.h"
#include "foldertree/t_shell_ctrl_list.h"
#include "platform/text_services.h"

#include <QApplication>
#include <QHeaderView>
#include <QTimer>
#include <algorithm>

namespace ordinalette::foldertree {

namespace {

// A node of the tree; it owns its record, so deleting a node (or its parent) frees it.
class ShellNode : public QTreeWidgetItem {
public:
    static constexpr int kType = QTreeWidgetItem::UserType + 1;
    explicit ShellNode(std::unique_ptr<TShellFolderItem> record)
        : QTreeWidgetItem(kType), m_record(std::move(record)) {
        m_record->Node = this;
        // Whether a label may really be edited is decided when editing would start.
        setFlags(flags() | Qt::ItemIsEditable);
    }
    TShellFolderItem* record() const { return m_record.get(); }

    // The image is asked of the tree only when the view first needs it.
    QVariant data(int column, int role) const override {
        if (role == Qt::DecorationRole && column == 0) {
            if (auto* tree = qobject_cast<TShellTreeView*>(treeWidget()))
                return tree->NodeImage(*m_record);
        }
        return QTreeWidgetItem::data(column, role);
    }

private:
    std::unique_ptr<TShellFolderItem> m_record;
};

bool isInside(QTreeWidgetItem* node, QTreeWidgetItem* ancestor) {
    for (QTreeWidgetItem* parent = node ? node->parent() : nullptr; parent;
         parent = parent->parent()) {
        if (parent == ancestor)
            return true;
    }
    return false;
}

} // namespace

TShellTreeView::TShellTreeView(QWidget* parent)
    : TShellTreeView(LinuxShellNamespace::forCurrentUser(), parent) {}

TShellTreeView::TShellTreeView(std::shared_ptr<ShellNamespace> shellNamespace, QWidget* parent,
                               WatchTiming timing)
    : QTreeWidget(parent), m_namespace(std::move(shellNamespace)) {
    setHeaderHidden(true);
    setColumnCount(1);
    setRootIsDecorated(false);
    setIndentation(19);
    // The system's small icons are 16 pixels at every screen density: the rows, like the
    // window around the tree, are laid out in pixels.
    setIconSize(QSize(16, 16));
    setSelectionMode(QAbstractItemView::SingleSelection);
    setUniformRowHeights(true);
    setExpandsOnDoubleClick(false);
    setFocusPolicy(Qt::ClickFocus);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    header()->setStretchLastSection(false);
    connect(this, &QTreeWidget::currentItemChanged, this, [this] {
        if (!m_closing && !m_renaming)
            Q_EMIT OnChange();
    });
    m_editTimer.setSingleShot(true);
    m_editTimer.setInterval(QApplication::doubleClickInterval());
    connect(&m_editTimer, &QTimer::timeout, this,
            [this] { startEditing(itemFromIndex(m_editCandidate)); });
    connect(&m_subtreeTimer, &QTimer::timeout, this, &TShellTreeView::expandSubtreeStep);
    connect(this, &QTreeWidget::itemExpanded, this, &TShellTreeView::onExpanded);
    connect(this, &QTreeWidget::itemCollapsed, this, &TShellTreeView::onCollapsed);
    connect(this, &QTreeWidget::itemExpanded, this, &TShellTreeView::scheduleWatchUpdate);
    connect(this, &QTreeWidget::itemCollapsed, this, &TShellTreeView::scheduleWatchUpdate);
    connect(model(), &QAbstractItemModel::rowsInserted, this, &TShellTreeView::scheduleWatchUpdate);
    connect(model(), &QAbstractItemModel::rowsRemoved, this, &TShellTreeView::scheduleWatchUpdate);
    m_watcher = std::make_unique<TShDirWatcher>(
        std::vector<std::string>{},
        [this](std::unique_ptr<TDeviceChangeData> record) { DeviceChanged(std::move(record)); },
        [this] { FoldersChanged(); }, timing);
    // A watcher that failed has ended its thread: the tree goes on without it.
    m_watcher->SetTerminationCallback([this] { m_watcher.reset(); });
    TShellCtrlList::Instance().AddControl(this);
    CreateWnd();
}

TShellTreeView::~TShellTreeView() {
    DestroyWnd();
    disconnect(this, nullptr, this, nullptr);
    disconnect(model(), nullptr, this, nullptr);
    TShellCtrlList::Instance().RemoveControl(this);
    // Ends and joins the watcher's thread; no delivery reaches the tree after this.
    m_watcher.reset();
}

TShellFolderItem* TShellTreeView::RecordOf(QTreeWidgetItem* node) {
    return node && node->type() == ShellNode::kType ? static_cast<ShellNode*>(node)->record()
                                                    : nullptr;
}

// ---- Window life ---------------------------------------------------------------------------

void TShellTreeView::CreateWnd() {
    m_closing = false;
    BuildRoot();
    if (m_savedSelection) {
        const ItemIdList saved = std::move(*m_savedSelection);
        m_savedSelection.reset();
        SelectID(saved);
    }
    scheduleWatchUpdate();
}

void TShellTreeView::DestroyWnd() {
    m_closing = true;
    if (m_watcher)
        m_watcher->SetFolders(std::nullopt);
    setUpdatesEnabled(false);
    TShellFolderItem* selected = RecordOf(currentItem());
    if (!selected)
        selected = RecordOf(topLevelItem(0));
    if (selected)
        m_savedSelection = selected->AbsoluteID;
    clear();
    setUpdatesEnabled(true);
}

// ---- Nodes and records ---------------------------------------------------------------------

QString TShellTreeView::nodeText(TShellFolderItem& record) const {
    return QString::fromStdU16String(
        platform::decodeText(record.DisplayName(), m_namespace->codePage()));
}

QTreeWidgetItem* TShellTreeView::makeNode(std::unique_ptr<TShellFolderItem> record) {
    auto* node = new ShellNode(std::move(record));
    node->setText(0, nodeText(*node->record()));
    attach(node);
    return node;
}

void TShellTreeView::attach(QTreeWidgetItem* node) {
    TShellFolderItem* record = RecordOf(node);
    record->Node = node;
    // The desktop always holds My Computer, whatever its directory holds.
    node->setChildIndicatorPolicy(record->Level() == 0 || record->HasAttribute(kAttrHasSubfolder)
                                      ? QTreeWidgetItem::ShowIndicator
                                      : QTreeWidgetItem::DontShowIndicatorWhenChildless);
}

void TShellTreeView::BuildRoot() {
    const auto desktop = m_namespace->specialFolderLocation(SpecialFolder::Desktop);
    const auto desktopDirectory =
        m_namespace->specialFolderLocation(SpecialFolder::DesktopDirectory);
    if (!desktop || !desktopDirectory)
        return;
    setUpdatesEnabled(false);
    QTreeWidgetItem* root =
        makeNode(std::make_unique<TShellFolderItem>(*m_namespace, *desktopDirectory, *desktop));
    addTopLevelItem(root);
    setUpdatesEnabled(true);
    expandNode(root);
    if (QTreeWidgetItem* first = root->child(0))
        expandNode(first);
    selectNode(root);
}

TShItemIDType TShellTreeView::ItemType(TShellFolderItem& item) {
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
    if (!item.HasAttribute(kAttrFileSystem))
        return TShItemIDType::itVirtual;
    if (level == 2 && item.HasAttribute(kAttrFileSysAncestor))
        return TShItemIDType::itRootDrive;
    return item.HasAttribute(kAttrFolder) ? TShItemIDType::itFolder : TShItemIDType::itFile;
}

int TShellTreeView::ReadChildren(const std::shared_ptr<ShellFolder>& folder,
                                 TShellFolderItem& parent,
                                 std::vector<std::unique_ptr<TShellFolderItem>>& list) {
    const auto children = folder->enumFolders(m_includeHidden);
    if (!children) {
        qCDebug(lcFolderTree) << "cannot read the folders of" << nodeText(parent);
        return 0;
    }
    const int parentLevel = parent.Level();
    const TShItemIDType parentType = parentLevel == 1 ? ItemType(parent) : TShItemIDType::itUnknown;
    list.reserve(children->size());
    for (const auto& child : *children) {
        ItemIdList absolute = parentLevel == 0 ? child : parent.AbsoluteID;
        if (parentLevel != 0)
            absolute.insert(absolute.end(), child.begin(), child.end());
        auto record =
            std::make_unique<TShellFolderItem>(*m_namespace, child, std::move(absolute), folder);
        bool keep = true;
        if (parentLevel == 0) {
            const TShItemIDType type = ItemType(*record);
            keep = type == TShItemIDType::itBitBucket ? m_virtualItems.contains(type)
                   : type == TShItemIDType::itNetWork ? m_virtualItems.contains(type)
                                                      : type != TShItemIDType::itVirtual;
        } else if (parentType == TShItemIDType::itMyComputer) {
            keep = m_virtualItems.contains(TShItemIDType::itVirtual) ||
                   ItemType(*record) != TShItemIDType::itVirtual;
        } else if (parentType == TShItemIDType::itNetWork) {
            keep = m_virtualItems.contains(TShItemIDType::itNetWork);
        }
        if (keep)
            list.push_back(std::move(record));
    }
    const auto before = [&folder](const auto& a, const auto& b) {
        const auto order = folder->compareIDs(a->ItemID, b->ItemID);
        return order && *order < 0;
    };
    // A folder usually enumerates in its own order; checking that costs one comparison per
    // child, sorting many more.
    if (!std::is_sorted(list.begin(), list.end(), before))
        std::sort(list.begin(), list.end(), before);
    return static_cast<int>(list.size());
}

void TShellTreeView::RefreshChildren(QTreeWidgetItem* node) {
    TShellFolderItem* record = RecordOf(node);
    if (!record)
        return;
    std::shared_ptr<ShellFolder> folder;
    if (record->Level() == 0)
        folder = m_namespace->desktopFolder();
    else if (const auto parentFolder = record->ParentFolder())
        folder = parentFolder->bindToObject(record->ItemID);
    if (!folder)
        return;
    const auto keepOpen = m_namespace->keepFoldersOpen();
    std::vector<std::unique_ptr<TShellFolderItem>> fresh;
    ReadChildren(folder, *record, fresh);

    QList<QTreeWidgetItem*> appended;
    int existing = 0;
    for (auto& candidate : fresh) {
        // Existing children that stand before the candidate in the folder's order are gone.
        std::optional<int> order;
        while (existing < node->childCount()) {
            TShellFolderItem* current = RecordOf(node->child(existing));
            order = current ? folder->compareIDs(current->ItemID, candidate->ItemID) : std::nullopt;
            if (order && *order >= 0)
                break;
            deleteChild(node, existing);
        }
        if (existing == node->childCount()) {
            appended.append(makeNode(std::move(candidate)));
            continue;
        }
        if (*order > 0)
            node->insertChild(existing, makeNode(std::move(candidate)));
        // Equal: the existing node stays with its record, expansion, children and caches.
        ++existing;
    }
    while (node->childCount() > existing)
        deleteChild(node, node->childCount() - 1);
    if (!appended.isEmpty())
        node->addChildren(appended);
}

void TShellTreeView::deleteChild(QTreeWidgetItem* node, int index) {
    // A deleted selection moves to the folder that held it, with the change event.
    QTreeWidgetItem* child = node->child(index);
    if (currentItem() == child || isInside(currentItem(), child))
        setCurrentItem(node);
    delete node->takeChild(index);
}

// ---- Expanding and collapsing --------------------------------------------------------------

void TShellTreeView::expandNode(QTreeWidgetItem* node) {
    if (!node || node->isExpanded() ||
        (node->childCount() == 0 && node->childIndicatorPolicy() != QTreeWidgetItem::ShowIndicator))
        return;
    m_expanding = node;
    readBeforeExpanding(node);
    if (node->childCount() > 0)
        expandItem(node);
    m_expanding = nullptr;
}

void TShellTreeView::onExpanded(QTreeWidgetItem* node) {
    // The tree control has already expanded the node: read it now, and fold it back when it
    // turns out to be empty.
    if (node == m_expanding)
        return;
    readBeforeExpanding(node);
    if (node->childCount() == 0 && node->isExpanded())
        collapseItem(node);
}

void TShellTreeView::readBeforeExpanding(QTreeWidgetItem* node) {
    if (m_closing)
        return;
    RefreshChildren(node);
    if (node->childCount() == 0)
        node->setChildIndicatorPolicy(QTreeWidgetItem::DontShowIndicatorWhenChildless);
}

void TShellTreeView::onCollapsed(QTreeWidgetItem* node) {
    // The selection never stays hidden inside a collapsed node.
    if (isInside(currentItem(), node))
        selectNode(node);
}

void TShellTreeView::collapseAll(QTreeWidgetItem* node) {
    collapseItem(node);
    for (int i = 0; i < node->childCount(); ++i)
        collapseAll(node->child(i));
}

void TShellTreeView::FullCollapse() {
    for (int i = 0; i < topLevelItemCount(); ++i)
        collapseAll(topLevelItem(i));
}

void TShellTreeView::refreshVisible(QTreeWidgetItem* node) {
    // A node without children is never left expanded (expanding an empty folder folds it
    // back), so only nodes with children need the tree control's expansion lookup, which costs
    // a search among the node's siblings.
    if (node->childCount() == 0) {
        attach(node);
        return;
    }
    RefreshChildren(node);
    if (!node->isExpanded())
        return;
    for (int i = 0; i < node->childCount(); ++i)
        refreshVisible(node->child(i));
}

void TShellTreeView::RefreshTree() {
    const auto keepOpen = m_namespace->keepFoldersOpen();
    if (QTreeWidgetItem* root = topLevelItem(0))
        refreshVisible(root);
}

void TShellTreeView::SetIncludeHidden(bool include) {
    if (include == m_includeHidden)
        return;
    m_includeHidden = include;
    RefreshTree();
}

// ---- Finding and selecting -----------------------------------------------------------------

QTreeWidgetItem* TShellTreeView::FindNode(const ItemIdList& target) {
    QTreeWidgetItem* root = topLevelItem(0);
    if (!root)
        return nullptr;
    QTreeWidgetItem* parent = root;
    int index = 0;
    std::size_t matched = 0;
    std::vector<QTreeWidgetItem*> comparedGreater;
    // Re-reads the parent's children; false when the current node went with the re-read.
    const auto refreshParent = [&]() {
        const QPersistentModelIndex current(indexFromItem(parent->child(index)));
        RefreshChildren(parent);
        if (!current.isValid())
            return false;
        index = current.row();
        return true;
    };
    while (index < parent->childCount() && matched < target.size()) {
        TShellFolderItem* record = RecordOf(parent->child(index));
        const auto folder = record ? record->ParentFolder() : nullptr;
        const auto order =
            folder ? folder->compareIDs(record->ItemID, {target[matched]}) : std::nullopt;
        if (!order)
            break;
        QTreeWidgetItem* current = parent->child(index);
        if (*order == 0) {
            if (++matched == target.size())
                return current;
            expandNode(current);
            if (current->childCount() == 0)
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
            if (index + 1 == parent->childCount() && !refreshParent())
                break;
            ++index;
        }
    }
    return root;
}

void TShellTreeView::SelectID(const ItemIdList& target) {
    TShellFolderItem* selected = RecordOf(currentItem());
    if (selected && selected->Level() == static_cast<int>(target.size())) {
        const auto desktop = m_namespace->desktopFolder();
        const auto order =
            desktop ? desktop->compareIDs(selected->AbsoluteID, target) : std::nullopt;
        if (order && *order == 0)
            return;
    }
    selectNode(FindNode(target));
}

void TShellTreeView::selectNode(QTreeWidgetItem* node) {
    if (!node || m_closing || m_clickState != ClickState::None)
        return;
    setCurrentItem(node);
    scrollToItem(node);
}

std::optional<std::string> TShellTreeView::pathOf(const TShellFolderItem& record) const {
    // The root's path is the desktop directory's.
    return m_namespace->pathFromIDList(record.Level() == 0 ? record.ItemID : record.AbsoluteID);
}

std::string TShellTreeView::Path() const {
    TShellFolderItem* record = RecordOf(currentItem());
    return record ? pathOf(*record).value_or(std::string()) : std::string();
}

void TShellTreeView::SetPath(const std::string& path) {
    if (const auto list = m_namespace->parseDisplayName(path))
        SelectID(*list);
}

} // namespace ordinalette::foldertree
