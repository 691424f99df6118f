#include "app/tree/t_shell_tree_view.h"

#include "app/tree/queued_hand_over.h"
#include "app/tree/t_shell_ctrl_list.h"

#include <QApplication>
#include <QHeaderView>
#include <QScrollBar>
#include <utility>

namespace ordinalette::foldertree {

namespace {

bool isInside(QModelIndex node, const QModelIndex& ancestor) {
    for (node = node.parent(); node.isValid(); node = node.parent()) {
        if (node == ancestor)
            return true;
    }
    return false;
}

} // namespace

TShellTreeView::TShellTreeView(std::shared_ptr<ShellNamespace> shellNamespace, QWidget* parent,
                               WatchTiming timing)
    : QTreeView(parent), m_model(new ShellTreeModel(std::move(shellNamespace), this)),
      m_control(m_model->tree()) {
    setModel(m_model);
    m_model->setImageSource([this](int imageIndex) { return nodeImage(imageIndex); });
    setHeaderHidden(true);
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
    // The width follows the rows in view: measuring thousands of rows would ask each for its
    // name and image.
    header()->setResizeContentsPrecision(0);
    connect(selectionModel(), &QItemSelectionModel::currentChanged, this, [this] {
        if (!m_control.closing() && !m_renaming)
            Q_EMIT OnChange();
    });
    m_editTimer.setSingleShot(true);
    m_editTimer.setInterval(QApplication::doubleClickInterval());
    connect(&m_editTimer, &QTimer::timeout, this, [this] { startEditing(m_editCandidate); });
    connect(&m_subtreeTimer, &QTimer::timeout, this, &TShellTreeView::expandSubtreeStep);
    connect(this, &QTreeView::expanded, this, &TShellTreeView::onExpanded);
    connect(this, &QTreeView::collapsed, this, &TShellTreeView::onCollapsed);
    connect(m_model, &ShellTreeModel::expandRequested, this, &QTreeView::expand);
    connect(m_model, &ShellTreeModel::collapseRequested, this, &QTreeView::collapse);
    connect(m_model, &ShellTreeModel::selectRequested, this, &TShellTreeView::selectNode);
    connect(m_model, &ShellTreeModel::nodesAboutToBeDeleted, this,
            &TShellTreeView::onNodesAboutToBeDeleted);
    connect(m_model, &QAbstractItemModel::rowsAboutToBeInserted, this,
            &TShellTreeView::keepFirstVisible);
    connect(m_model, &QAbstractItemModel::rowsAboutToBeRemoved, this,
            &TShellTreeView::keepFirstVisible);
    // A node whose expand button came or went is laid out again.
    connect(m_model, &QAbstractItemModel::dataChanged, this,
            [this] { scheduleDelayedItemsLayout(); });
    connect(this, &QTreeView::expanded, this, &TShellTreeView::scheduleWatchUpdate);
    connect(this, &QTreeView::collapsed, this, &TShellTreeView::scheduleWatchUpdate);
    connect(m_model, &QAbstractItemModel::rowsInserted, this, &TShellTreeView::scheduleWatchUpdate);
    connect(m_model, &QAbstractItemModel::rowsRemoved, this, &TShellTreeView::scheduleWatchUpdate);
    m_watcher = std::make_unique<TShDirWatcher>(
        std::vector<std::string>{},
        [this](std::unique_ptr<TDeviceChangeData> record) { DeviceChanged(std::move(record)); },
        [this] { FoldersChanged(); }, timing, std::make_unique<QueuedHandOver>(this));
    m_watcher->setErrorCallback([this](const std::exception& error) { raise(error); });
    // A watcher that failed has ended its thread: the tree goes on without it.
    m_watcher->setTerminationCallback([this] { m_watcher.reset(); });
    TShellCtrlList::instance().AddControl(this);
    CreateWnd();
}

TShellTreeView::~TShellTreeView() {
    DestroyWnd();
    disconnect(this, nullptr, this, nullptr);
    disconnect(m_model, nullptr, this, nullptr);
    disconnect(selectionModel(), nullptr, this, nullptr);
    TShellCtrlList::instance().RemoveControl(this);
    // Ends and joins the watcher's thread; no delivery reaches the tree after this.
    m_watcher.reset();
}

// ---- Window life ---------------------------------------------------------------------------

void TShellTreeView::CreateWnd() {
    if (m_control.CreateWnd())
        selectNode(rootNode());
    selectNode(m_model->indexOf(m_control.takeSavedSelection(recordOf(currentIndex()))));
    scheduleWatchUpdate();
}

void TShellTreeView::DestroyWnd() {
    if (m_watcher)
        m_watcher->SetFolders(std::nullopt);
    m_control.DestroyWnd(recordOf(currentIndex()));
}

void TShellTreeView::BuildRoot() {
    if (m_control.buildRoot())
        selectNode(rootNode());
}

// ---- Expanding and collapsing --------------------------------------------------------------

void TShellTreeView::expandNode(const QModelIndex& node) {
    if (!node.isValid() || isExpanded(node) || !m_model->showsButton(node) || m_control.closing())
        return;
    tree().expandNode(recordOf(node));
}

void TShellTreeView::onExpanded(const QModelIndex& node) {
    // The view has already expanded the node: its children are read now unless they are fresh,
    // and a node that turns out to be empty is folded back without its button.
    TShellFolderItem* record = recordOf(node);
    if (m_control.closing() || !record)
        return;
    tree().refreshIfStale(record);
    tree().setExpanded(record, true);
    if (record->children.empty())
        collapse(node);
}

void TShellTreeView::onCollapsed(const QModelIndex& node) {
    tree().setExpanded(recordOf(node), false);
    // The selection never stays hidden inside a collapsed node.
    if (isInside(currentIndex(), node))
        selectNode(node);
}

void TShellTreeView::onNodesAboutToBeDeleted(const QModelIndex& parent, int first, int last) {
    // A deleted selection moves to the folder that held it, with the change event.
    QModelIndex selected = currentIndex();
    while (selected.isValid() && selected.parent() != parent)
        selected = selected.parent();
    if (selected.isValid() && selected.row() >= first && selected.row() <= last)
        setCurrentIndex(parent);
}

void TShellTreeView::keepFirstVisible(const QModelIndex& parent) {
    // Rows inside a collapsed node move nothing; unscrolled, the first row is the root.
    TShellFolderItem* record = recordOf(parent);
    if (m_firstVisible.isValid() || verticalScrollBar()->value() == 0 || !record ||
        !isExpanded(parent) || !ShellTree::shown(record))
        return;
    m_firstVisible = indexAt(QPoint(0, 0));
}

void TShellTreeView::doItemsLayout() {
    // A first visible folder that went itself leaves the view where the rows put it.
    const QPersistentModelIndex first = std::exchange(m_firstVisible, QPersistentModelIndex());
    QTreeView::doItemsLayout();
    if (!first.isValid() || indexAt(QPoint(0, 0)) == first)
        return;
    const int across = horizontalScrollBar()->value();
    scrollTo(first, QAbstractItemView::PositionAtTop);
    horizontalScrollBar()->setValue(across);
}

void TShellTreeView::collapseAll(const QModelIndex& node) {
    collapse(node);
    for (int i = 0; i < m_model->rowCount(node); ++i)
        collapseAll(m_model->index(i, 0, node));
}

void TShellTreeView::FullCollapse() {
    for (int i = 0; i < m_model->rowCount(); ++i)
        collapseAll(m_model->index(i, 0));
}

// ---- Finding and selecting -----------------------------------------------------------------

void TShellTreeView::selectNode(const QModelIndex& node) {
    if (!node.isValid() || !m_control.maySelect())
        return;
    setCurrentIndex(node);
    scrollTo(node);
}

std::string TShellTreeView::Path() const {
    return tree().Path(recordOf(currentIndex()));
}

void TShellTreeView::SetPath(const std::string& path) {
    selectNode(m_model->indexOf(tree().SetPath(recordOf(currentIndex()), path)));
}

} // namespace ordinalette::foldertree
