#include "foldertree/t_shell_tree_view.h"

#include "foldertree/linux_shell_namespace.h"
#include "foldertree/shell_icons.h"
#include "foldertree/t_shell_ctrl_list.h"
#include "platform/text_services.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QStyle>
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

TShellTreeView::TShellTreeView(std::shared_ptr<ShellNamespace> shellNamespace, QWidget* parent)
    : QTreeWidget(parent), m_namespace(std::move(shellNamespace)) {
    setHeaderHidden(true);
    setColumnCount(1);
    setRootIsDecorated(false);
    setIndentation(19);
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
    connect(this, &QTreeWidget::itemExpanded, this, &TShellTreeView::onExpanded);
    connect(this, &QTreeWidget::itemCollapsed, this, &TShellTreeView::onCollapsed);
    connect(this, &QTreeWidget::itemExpanded, this, &TShellTreeView::scheduleWatchUpdate);
    connect(this, &QTreeWidget::itemCollapsed, this, &TShellTreeView::scheduleWatchUpdate);
    connect(model(), &QAbstractItemModel::rowsInserted, this, &TShellTreeView::scheduleWatchUpdate);
    connect(model(), &QAbstractItemModel::rowsRemoved, this, &TShellTreeView::scheduleWatchUpdate);
    m_watcher = new TShDirWatcher(
        {}, [this](std::unique_ptr<TDeviceChangeData> record) { DeviceChanged(std::move(record)); },
        [this] { FoldersChanged(); });
    m_watcher->SetTerminationCallback([this] { m_watcher = nullptr; });
    TShellCtrlList::Instance().AddControl(this);
    CreateWnd();
}

TShellTreeView::~TShellTreeView() {
    DestroyWnd();
    disconnect(this, nullptr, this, nullptr);
    disconnect(model(), nullptr, this, nullptr);
    TShellCtrlList::Instance().RemoveControl(this);
    if (m_watcher) {
        m_watcher->SetTerminationCallback(nullptr);
        m_watcher->StopWatching();
    }
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
    if (!children)
        return 0;
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
    std::sort(list.begin(), list.end(), [&folder](const auto& a, const auto& b) {
        const auto order = folder->compareIDs(a->ItemID, b->ItemID);
        return order && *order < 0;
    });
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
    if (node->isExpanded() || node->childCount() > 0)
        RefreshChildren(node);
    else
        attach(node);
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

void TShellTreeView::SetShVirtuaItems(TShVirtuaItems items) {
    if (items == m_virtualItems)
        return;
    m_virtualItems = items;
    RefreshTree();
}

// ---- Watching ------------------------------------------------------------------------------

void TShellTreeView::scheduleWatchUpdate() {
    if (m_watchUpdatePending)
        return;
    m_watchUpdatePending = true;
    QTimer::singleShot(0, this, [this] {
        m_watchUpdatePending = false;
        if (m_watcher && !m_closing)
            m_watcher->SetFolders(VisibleFolders());
    });
}

std::vector<std::string> TShellTreeView::VisibleFolders() const {
    std::vector<std::string> folders;
    if (QTreeWidgetItem* root = topLevelItem(0))
        collectVisibleFolders(root, folders);
    std::sort(folders.begin(), folders.end());
    folders.erase(std::unique(folders.begin(), folders.end()), folders.end());
    return folders;
}

void TShellTreeView::collectVisibleFolders(QTreeWidgetItem* node,
                                           std::vector<std::string>& folders) const {
    if (TShellFolderItem* record = RecordOf(node)) {
        if (auto path = m_namespace->pathFromIDList(record->Level() == 0 ? record->ItemID
                                                                         : record->AbsoluteID))
            folders.push_back(std::move(*path));
    }
    if (!node->isExpanded())
        return;
    for (int i = 0; i < node->childCount(); ++i)
        collectVisibleFolders(node->child(i), folders);
}

void TShellTreeView::FoldersChanged() {
    // A click in progress keeps its node; this burst of changes is not re-read.
    if (m_clickState == ClickState::None)
        RefreshTree();
}

void TShellTreeView::DeviceChanged(std::unique_ptr<TDeviceChangeData> record) {
    if (record->Kind == kDeviceNetwork) {
        if (record->Event != kDeviceArrival)
            selectNode(topLevelItem(0));
        RefreshTree();
        return;
    }
    if (record->Kind != kDeviceMedia || !record->Drive)
        return;
    QTreeWidgetItem* node = FindNode(*record->Drive);
    TShellFolderItem* drive = RecordOf(node);
    // Only the drive's own node: a mount that is gone may already have left My Computer.
    if (!drive || drive->AbsoluteID != *record->Drive)
        return;
    drive->Image.reset();
    drive->SetDisplayName(record->Text);
    node->setText(0, nodeText(*drive));
    if (record->Event != kDeviceRemoveComplete)
        return;
    selectNode(node->parent());
    while (node->childCount() > 0)
        deleteChild(node, node->childCount() - 1);
    node->setChildIndicatorPolicy(QTreeWidgetItem::ShowIndicator);
}

void TShellTreeView::PostDeviceChange(std::unique_ptr<TDeviceChangeData> record) {
    if (m_watcher)
        m_watcher->PostDeviceChange(std::move(record));
}

// ---- Images ---------------------------------------------------------------------------------

QIcon TShellTreeView::NodeImage(TShellFolderItem& record) {
    if (record.Image)
        return *record.Image;
    // Images are made once per kind of item and shared by every record of that kind.
    const auto kind =
        std::make_pair(ItemType(record), record.Level() > 0 && record.HasAttribute(kAttrLink));
    auto cached = m_images.find(kind);
    if (cached == m_images.end()) {
        const int size = style()->pixelMetric(QStyle::PM_SmallIconSize, nullptr, this);
        const auto image = [&](bool open) {
            const QIcon icon = shellIcon(kind.first, open, *style());
            return kind.second ? withLinkOverlay(icon, size) : icon;
        };
        // The selected node shows the open image.
        QIcon shown;
        shown.addPixmap(image(false).pixmap(size, size), QIcon::Normal);
        shown.addPixmap(image(true).pixmap(size, size), QIcon::Selected);
        cached = m_images.emplace(kind, shown).first;
    }
    record.Image = cached->second;
    return cached->second;
}

void TShellTreeView::ResetImages() {
    m_images.clear();
    for (QTreeWidgetItemIterator it(this); *it; ++it) {
        TShellFolderItem* record = RecordOf(*it);
        if (!record)
            break;
        record->Image.reset();
    }
    viewport()->update();
}

bool TShellTreeView::event(QEvent* event) {
    switch (event->type()) {
    case QEvent::StyleChange:
    case QEvent::PaletteChange:
    case QEvent::ThemeChange:
        // The images follow the new settings once the change has settled.
        QMetaObject::invokeMethod(this, &TShellTreeView::ResetImages, Qt::QueuedConnection);
        break;
    default:
        break;
    }
    return QTreeWidget::event(event);
}

// ---- Renaming in place ----------------------------------------------------------------------

bool TShellTreeView::canEditLabel(QTreeWidgetItem* node) {
    TShellFolderItem* record = RecordOf(node);
    return record && m_clickState == ClickState::None && record->Level() != 0 &&
           record->HasAttribute(kAttrCanRename);
}

void TShellTreeView::startEditing(QTreeWidgetItem* node) {
    if (canEditLabel(node) && state() != EditingState)
        editItem(node);
}

bool TShellTreeView::edit(const QModelIndex& index, EditTrigger trigger, QEvent* event) {
    if (!canEditLabel(itemFromIndex(index)) || !QTreeWidget::edit(index, trigger, event))
        return false;
    m_editing = index;
    return true;
}

void TShellTreeView::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_F2) {
        startEditing(currentItem());
        event->accept();
        return;
    }
    QTreeWidget::keyPressEvent(event);
}

void TShellTreeView::commitData(QWidget* editor) {
    // The label takes the typed text first; the folder is renamed once the editor is closed.
    QTreeWidget::commitData(editor);
    if (QTreeWidgetItem* node = itemFromIndex(m_editing))
        m_pendingRename = {m_editing, node->text(0)};
}

void TShellTreeView::closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint) {
    QTreeWidget::closeEditor(editor, hint);
    if (!m_pendingRename)
        return;
    const auto [index, text] = std::move(*m_pendingRename);
    m_pendingRename.reset();
    if (QTreeWidgetItem* node = itemFromIndex(index))
        RenameNode(node, text);
}

void TShellTreeView::RenameNode(QTreeWidgetItem* node, const QString& text) {
    TShellFolderItem* record = RecordOf(node);
    if (!record)
        return;
    // Watching stops around the rename, so the watcher's re-read cannot run in its middle.
    if (m_watcher)
        m_watcher->SetFolders(std::vector<std::string>{});
    const auto parentFolder = record->ParentFolder();
    const std::u16string typed = text.toStdU16String();
    const std::string name = platform::encodeText(typed, m_namespace->codePage());
    // An unchanged label renames nothing: a name shown with replacement characters would
    // otherwise be replaced by them. A name the code page cannot hold is refused.
    const bool changed = text != nodeText(*record);
    const bool encodable = platform::decodeText(name, m_namespace->codePage()) == typed;
    if (parentFolder && changed && encodable && record->HasAttribute(kAttrCanRename)) {
        if (auto renamed = parentFolder->setNameOf(record->ItemID, name)) {
            ItemIdList absolute = record->Level() == 1 ? ItemIdList{} : record->ParentID();
            absolute.insert(absolute.end(), renamed->begin(), renamed->end());
            record->Rename(std::move(*renamed), std::move(absolute));
            reread(node);
        }
    }
    // Renamed or not, the label shows the record's name: a refused name gives the old back.
    node->setText(0, nodeText(*record));
    scheduleWatchUpdate();
}

void TShellTreeView::reread(QTreeWidgetItem* node) {
    const bool expanded = node->isExpanded();
    while (node->childCount() > 0)
        deleteChild(node, node->childCount() - 1);
    // The renamed node takes its place in the parent folder's order; moving it is no change
    // of the selection.
    const bool selected = node == currentItem();
    m_renaming = true;
    if (QTreeWidgetItem* parent = node->parent()) {
        const auto folder = RecordOf(node)->ParentFolder();
        parent->takeChild(parent->indexOfChild(node));
        int place = 0;
        while (place < parent->childCount()) {
            TShellFolderItem* sibling = RecordOf(parent->child(place));
            const auto order = sibling && folder
                                   ? folder->compareIDs(sibling->ItemID, RecordOf(node)->ItemID)
                                   : std::nullopt;
            if (order && *order > 0)
                break;
            ++place;
        }
        parent->insertChild(place, node);
    }
    if (selected)
        setCurrentItem(node);
    m_renaming = false;
    RefreshChildren(node);
    if (expanded)
        expandNode(node);
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

std::string TShellTreeView::Path() const {
    TShellFolderItem* record = RecordOf(currentItem());
    if (!record)
        return {};
    return m_namespace->pathFromIDList(record->Level() == 0 ? record->ItemID : record->AbsoluteID)
        .value_or(std::string());
}

void TShellTreeView::SetPath(const std::string& path) {
    if (const auto list = m_namespace->parseDisplayName(path))
        SelectID(*list);
}

// ---- Mouse: a left click selects on release -------------------------------------------------

bool TShellTreeView::onLabelOrIcon(QTreeWidgetItem* node, const QPoint& pos) const {
    const QRect cell = visualItemRect(node);
    const int iconWidth = style()->pixelMetric(QStyle::PM_SmallIconSize, nullptr, this);
    const int margin = style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, this) + 1;
    const int right =
        cell.left() + iconWidth + 4 * margin + fontMetrics().horizontalAdvance(node->text(0));
    return cell.contains(pos) && pos.x() <= right;
}

bool TShellTreeView::onExpandButton(QTreeWidgetItem* node, const QPoint& pos) const {
    const QRect cell = visualItemRect(node);
    return node->parent() && pos.x() < cell.left() && pos.x() >= cell.left() - indentation();
}

void TShellTreeView::setDropHighlight(QTreeWidgetItem* node) {
    m_dropHighlight = node ? QPersistentModelIndex(indexFromItem(node)) : QPersistentModelIndex();
    viewport()->update();
}

QTreeWidgetItem* TShellTreeView::dropHighlight() const {
    return m_dropHighlight.isValid() ? itemFromIndex(m_dropHighlight) : nullptr;
}

void TShellTreeView::mousePressEvent(QMouseEvent* event) {
    const QPoint pos = event->position().toPoint();
    QTreeWidgetItem* node = itemAt(pos);
    if (event->button() == Qt::LeftButton) {
        m_clickState = ClickState::None;
        if (node && onLabelOrIcon(node, pos)) {
            setDropHighlight(node);
            m_clickState = ClickState::LeftPending;
            setFocus(Qt::MouseFocusReason);
            event->accept();
            return;
        }
        setDropHighlight(nullptr);
        if (node && onExpandButton(node, pos))
            QTreeWidget::mousePressEvent(event);
        else
            setFocus(Qt::MouseFocusReason);
        event->accept();
        return;
    }
    if (event->button() == Qt::RightButton && node && node != topLevelItem(0)) {
        setDropHighlight(node);
        m_clickState = ClickState::RightPending;
    }
    event->accept();
}

void TShellTreeView::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        // A right click whose context menu request did not come ends here.
        if (event->button() == Qt::RightButton && m_clickState == ClickState::RightPending) {
            setDropHighlight(nullptr);
            m_clickState = ClickState::None;
        }
        event->accept();
        return;
    }
    QTreeWidgetItem* target = dropHighlight();
    const bool pending = m_clickState == ClickState::LeftPending;
    m_clickState = ClickState::None;
    if (pending && RecordOf(target)) {
        // A click on the label of the node already selected edits it, unless a second click
        // follows at once (a double-click).
        const bool wasSelected = target == currentItem();
        selectNode(target);
        setDropHighlight(nullptr);
        if (wasSelected && onLabelOrIcon(target, event->position().toPoint())) {
            m_editCandidate = indexFromItem(target);
            m_editTimer.start();
        }
    }
    event->accept();
}

void TShellTreeView::mouseMoveEvent(QMouseEvent* event) {
    // No drag selection: a pending click stays pending until the release.
    if (event->buttons() == Qt::NoButton)
        QTreeWidget::mouseMoveEvent(event);
}

void TShellTreeView::mouseDoubleClickEvent(QMouseEvent* event) {
    m_editTimer.stop();
    const QPoint pos = event->position().toPoint();
    QTreeWidgetItem* node = itemAt(pos);
    if (event->button() != Qt::LeftButton || !node) {
        event->accept();
        return;
    }
    if (onExpandButton(node, pos)) {
        QTreeWidget::mousePressEvent(event);
    } else if (onLabelOrIcon(node, pos)) {
        if (node->isExpanded())
            collapseItem(node);
        else
            expandNode(node);
    }
    event->accept();
}

void TShellTreeView::contextMenuEvent(QContextMenuEvent* event) {
    // No context menu is linked to the tree: the right click only ends.
    setDropHighlight(nullptr);
    m_clickState = ClickState::None;
    event->accept();
}

QItemSelectionModel::SelectionFlags TShellTreeView::selectionCommand(const QModelIndex& index,
                                                                     const QEvent* event) const {
    if (m_closing || m_clickState != ClickState::None)
        return QItemSelectionModel::NoUpdate;
    return QTreeWidget::selectionCommand(index, event);
}

void TShellTreeView::drawRow(QPainter* painter, const QStyleOptionViewItem& option,
                             const QModelIndex& index) const {
    // While a click is pending, the pressed node shows as selected and the selection does not.
    if (!m_dropHighlight.isValid())
        return QTreeWidget::drawRow(painter, option, index);
    QStyleOptionViewItem shown(option);
    if (index == m_dropHighlight)
        shown.state |= QStyle::State_Selected;
    else
        shown.state &= ~QStyle::State_Selected;
    QTreeWidget::drawRow(painter, shown, index);
}

} // namespace ordinalette::foldertree
