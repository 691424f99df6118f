#include "win32/shell_tree_view.h"

#include "foldertree/win32/system_icons.h"
#include "form/scoped_state.h"

namespace ordinalette::win32 {

using foldertree::TShellFolderItem;

namespace {

// The property of the control that names its view.
constexpr char kViewProperty[] = "OrdinaletteShellTreeView";

// Orders the children of a node as the tree has them after a move.
int CALLBACK byRow(LPARAM a, LPARAM b, LPARAM) {
    return reinterpret_cast<const TShellFolderItem*>(a)->row() -
           reinterpret_cast<const TShellFolderItem*>(b)->row();
}

} // namespace

ShellTreeView::ShellTreeView(HWND treeView,
                             std::shared_ptr<foldertree::ShellNamespace> shellNamespace)
    : m_window(treeView), m_tree(std::move(shellNamespace), *this),
      m_later(std::make_unique<MessageHandOver>()) {
    SetPropA(m_window, kViewProperty, this);
    // Labels are edited in place; texts and notifications are those of the system's code page.
    const LONG_PTR style = GetWindowLongPtrA(m_window, GWL_STYLE);
    SetWindowLongPtrA(m_window, GWL_STYLE, style | TVS_EDITLABELS);
    SendMessageA(m_window, TVM_SETUNICODEFORMAT, FALSE, 0);
    SendMessageA(m_window, TVM_SETIMAGELIST, TVSIL_NORMAL,
                 reinterpret_cast<LPARAM>(foldertree::systemSmallImageList()));
    buildRoot();
}

ShellTreeView::~ShellTreeView() {
    // The control may outlive the view; it keeps no item that points to a record.
    beginReset();
    RemovePropA(m_window, kViewProperty);
}

bool ShellTreeView::dispatchNotify(const NMHDR& header, LRESULT& result) {
    auto* view = static_cast<ShellTreeView*>(GetPropA(header.hwndFrom, kViewProperty));
    return view && view->handleNotify(header, result);
}

void ShellTreeView::buildRoot() {
    if (m_control.buildRoot())
        selectNode(m_tree.root());
}

// ---- Items of the control -------------------------------------------------------------------

HTREEITEM ShellTreeView::itemOf(const TShellFolderItem* record) const {
    const auto found = m_nodes.find(record);
    return found == m_nodes.end() ? nullptr : found->second.item;
}

TShellFolderItem* ShellTreeView::recordOf(HWND treeView, HTREEITEM item) {
    TVITEMA data{};
    data.mask = TVIF_PARAM | TVIF_HANDLE;
    data.hItem = item;
    if (!item || !SendMessageA(treeView, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&data)))
        return nullptr;
    return reinterpret_cast<TShellFolderItem*>(data.lParam);
}

TShellFolderItem* ShellTreeView::selectedRecord() const {
    const auto selected =
        reinterpret_cast<HTREEITEM>(SendMessageA(m_window, TVM_GETNEXTITEM, TVGN_CARET, 0));
    return recordOf(m_window, selected);
}

void ShellTreeView::insertItem(TShellFolderItem* record, HTREEITEM parent, HTREEITEM after) {
    // Text, images and expand button are asked for when the control needs them.
    TVINSERTSTRUCTA insert{};
    insert.hParent = parent;
    insert.hInsertAfter = after;
    insert.item.mask = TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE | TVIF_CHILDREN | TVIF_PARAM;
    insert.item.pszText = LPSTR_TEXTCALLBACKA;
    insert.item.iImage = I_IMAGECALLBACK;
    insert.item.iSelectedImage = I_IMAGECALLBACK;
    insert.item.cChildren = I_CHILDRENCALLBACK;
    insert.item.lParam = reinterpret_cast<LPARAM>(record);
    const auto item = reinterpret_cast<HTREEITEM>(
        SendMessageA(m_window, TVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&insert)));
    if (item)
        m_nodes[record] = Node{item};
}

void ShellTreeView::forget(const TShellFolderItem& record) {
    m_nodes.erase(&record);
    if (&record == m_editing)
        m_editing = nullptr;
    for (const auto& child : record.children)
        forget(*child);
}

// ---- What the tree reports ------------------------------------------------------------------

void ShellTreeView::beginInsert(TShellFolderItem* parent, std::size_t first, std::size_t last) {
    m_insertParent = parent;
    m_insertFirst = first;
    m_insertLast = last;
}

void ShellTreeView::endInsert() {
    TShellFolderItem* parent = m_insertParent;
    if (!parent) {
        insertItem(m_tree.root(), TVI_ROOT, TVI_FIRST);
        return;
    }
    const HTREEITEM parentItem = itemOf(parent);
    if (!parentItem)
        return;
    HTREEITEM after =
        m_insertFirst == 0 ? TVI_FIRST : itemOf(parent->children[m_insertFirst - 1].get());
    for (std::size_t row = m_insertFirst; row <= m_insertLast; ++row) {
        insertItem(parent->children[row].get(), parentItem, after);
        after = itemOf(parent->children[row].get());
    }
}

void ShellTreeView::beginRemove(TShellFolderItem* parent, std::size_t first, std::size_t last) {
    if (!parent)
        return; // the root goes only with every node (beginReset)
    // A selection inside the rows moves to the folder that held them, with the change event.
    const TShellFolderItem* selected = selectedRecord();
    while (selected && selected->parent != parent)
        selected = selected->parent;
    if (selected) {
        const auto row = static_cast<std::size_t>(selected->row());
        if (row >= first && row <= last)
            selectNode(parent);
    }
    for (std::size_t row = first; row <= last; ++row) {
        const TShellFolderItem& child = *parent->children[row];
        const HTREEITEM item = itemOf(&child);
        forget(child);
        if (item)
            SendMessageA(m_window, TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(item));
    }
}

void ShellTreeView::beginMove(TShellFolderItem* parent, std::size_t, std::size_t) {
    m_moveParent = parent;
}

void ShellTreeView::endMove() {
    // Sorting keeps every item, its children, its state and the selection.
    TVSORTCB sort{};
    sort.hParent = itemOf(m_moveParent);
    sort.lpfnCompare = &byRow;
    if (sort.hParent)
        SendMessageA(m_window, TVM_SORTCHILDRENCB, 0, reinterpret_cast<LPARAM>(&sort));
}

void ShellTreeView::beginReset() {
    const form::ValueRollback quiet(m_quiet, true);
    SendMessageA(m_window, TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(TVI_ROOT));
    m_nodes.clear();
    m_editing = nullptr;
}

void ShellTreeView::changed(TShellFolderItem* node) {
    const auto found = m_nodes.find(node);
    if (found == m_nodes.end())
        return;
    // The control asks again for what it shows of the node.
    found->second = Node{found->second.item};
    TVITEMA item{};
    item.mask = TVIF_HANDLE | TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE | TVIF_CHILDREN;
    item.hItem = found->second.item;
    item.pszText = LPSTR_TEXTCALLBACKA;
    item.iImage = I_IMAGECALLBACK;
    item.iSelectedImage = I_IMAGECALLBACK;
    item.cChildren = I_CHILDRENCALLBACK;
    SendMessageA(m_window, TVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&item));
}

void ShellTreeView::requestExpand(TShellFolderItem* node) {
    if (const HTREEITEM item = itemOf(node))
        SendMessageA(m_window, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(item));
    m_tree.setExpanded(node, true);
    scheduleWatchUpdate();
}

void ShellTreeView::requestCollapse(TShellFolderItem* node) {
    collapse(node);
}

void ShellTreeView::collapse(TShellFolderItem* node) {
    leaveFolding(node);
    if (const HTREEITEM item = itemOf(node))
        SendMessageA(m_window, TVM_EXPAND, TVE_COLLAPSE, reinterpret_cast<LPARAM>(item));
    m_tree.setExpanded(node, false);
    scheduleWatchUpdate();
}

// ---- Selecting and the window's questions ---------------------------------------------------

void ShellTreeView::leaveFolding(TShellFolderItem* node) {
    // The control would move the selection itself, and Wine's control without a change event.
    for (const TShellFolderItem* inside = selectedRecord(); inside; inside = inside->parent) {
        if (inside->parent == node) {
            selectNode(node);
            return;
        }
    }
}

void ShellTreeView::selectNode(TShellFolderItem* node) {
    if (const HTREEITEM item = itemOf(node))
        SendMessageA(m_window, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(item));
}

std::string ShellTreeView::selectedPath() const {
    return m_tree.Path(selectedRecord());
}

void ShellTreeView::selectPath(const std::string& path) {
    selectNode(m_tree.SetPath(selectedRecord(), path));
}

void ShellTreeView::collapseAll() {
    if (TShellFolderItem* root = m_tree.root())
        collapseAll(*root);
}

void ShellTreeView::collapseAll(TShellFolderItem& node) {
    // Outermost first, so that the selection moves once, to the outermost folder that held it.
    if (node.expanded)
        collapse(&node);
    for (const auto& child : node.children)
        collapseAll(*child);
}

std::string ShellTreeView::volumeRootOf(const std::string& path) const {
    return m_tree.shellNamespace().volumeRoot(path);
}

std::vector<std::string> ShellTreeView::shownFolders() const {
    return m_tree.visibleFolders();
}

} // namespace ordinalette::win32
