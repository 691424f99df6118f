// ShellTreeView: the control's notifications, and renaming a folder by editing its label.
#include "foldertree/rename_failure.h"
#include "foldertree/win32/system_icons.h"
#include "platform/error_number.h"
#include "win32/shell_tree_view.h"

#include <cstring>
#include <utility>

namespace ordinalette::win32 {

using foldertree::IconState;
using foldertree::ShellAttribute;
using foldertree::TShellFolderItem;

namespace {

// The overlay image of the system's list that marks a link.
constexpr UINT kLinkOverlay = 2;

TShellFolderItem* recordOfItem(const TVITEMA& item) {
    return reinterpret_cast<TShellFolderItem*>(item.lParam);
}

} // namespace

bool ShellTreeView::handleNotify(const NMHDR& header, LRESULT& result) {
    if (header.hwndFrom != m_window)
        return false;
    result = 0;
    switch (header.code) {
    case TVN_GETDISPINFOA:
        fillDisplayInfo(*reinterpret_cast<NMTVDISPINFOA*>(const_cast<NMHDR*>(&header)));
        break;
    case TVN_ITEMEXPANDINGA: {
        const auto& notification = reinterpret_cast<const NMTREEVIEWA&>(header);
        TShellFolderItem* node = recordOfItem(notification.itemNew);
        if ((notification.action & TVE_EXPAND) != 0)
            result = beforeExpanding(node) ? FALSE : TRUE;
        else
            leaveFolding(node);
        break;
    }
    case TVN_ITEMEXPANDEDA:
        afterExpanding(reinterpret_cast<const NMTREEVIEWA&>(header));
        break;
    case TVN_SELCHANGEDA:
        if (!m_quiet && m_onChange)
            m_onChange();
        break;
    case TVN_KEYDOWN:
        if (reinterpret_cast<const NMTVKEYDOWN&>(header).wVKey == VK_F2) {
            const HTREEITEM selected =
                reinterpret_cast<HTREEITEM>(SendMessageA(m_window, TVM_GETNEXTITEM, TVGN_CARET, 0));
            SendMessageA(m_window, TVM_EDITLABELA, 0, reinterpret_cast<LPARAM>(selected));
        }
        break;
    case TVN_BEGINLABELEDITA: {
        TShellFolderItem* node = recordOfItem(reinterpret_cast<const NMTVDISPINFOA&>(header).item);
        m_editing = mayEditLabel(node) ? node : nullptr;
        result = m_editing ? FALSE : TRUE;
        break;
    }
    case TVN_ENDLABELEDITA: {
        // One edit renames once: Wine's control reports the end of an edit twice. The label keeps
        // showing the record's name: the control is not to take the text.
        const TVITEMA& item = reinterpret_cast<const NMTVDISPINFOA&>(header).item;
        TShellFolderItem* node = std::exchange(m_editing, nullptr);
        if (item.pszText && node && node == recordOfItem(item))
            renameNode(node, item.pszText);
        result = FALSE;
        break;
    }
    default:
        break;
    }
    return true;
}

void ShellTreeView::fillDisplayInfo(NMTVDISPINFOA& info) {
    TVITEMA& item = info.item;
    TShellFolderItem* record = recordOfItem(item);
    const auto found = m_nodes.find(record);
    if (!record || found == m_nodes.end())
        return;
    Node& node = found->second;
    if ((item.mask & TVIF_TEXT) != 0 && item.pszText && item.cchTextMax > 0) {
        const std::string& name = record->DisplayName();
        const std::size_t length = std::min(name.size(), std::size_t(item.cchTextMax - 1));
        std::memcpy(item.pszText, name.data(), length);
        item.pszText[length] = '\0';
    }
    if ((item.mask & (TVIF_IMAGE | TVIF_SELECTEDIMAGE)) != 0 && !node.imagesAsked) {
        node.imagesAsked = true;
        node.image = foldertree::smallIconIndex(record->AbsoluteID, IconState::Closed);
        node.openImage = foldertree::smallIconIndex(record->AbsoluteID, IconState::Open);
        if (record->Level() > 0 && record->hasAttribute(ShellAttribute::Link)) {
            TVITEMA overlay{};
            overlay.mask = TVIF_HANDLE | TVIF_STATE;
            overlay.hItem = node.item;
            overlay.stateMask = TVIS_OVERLAYMASK;
            overlay.state = INDEXTOOVERLAYMASK(kLinkOverlay);
            SendMessageA(m_window, TVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&overlay));
        }
    }
    item.iImage = node.image;
    item.iSelectedImage = node.openImage;
    if ((item.mask & TVIF_CHILDREN) != 0)
        item.cChildren = m_tree.showsButton(*record) ? 1 : 0;
}

// ---- Expanding and collapsing ---------------------------------------------------------------

bool ShellTreeView::beforeExpanding(TShellFolderItem* node) {
    // Children are read now unless they are fresh; a node that turns out to have none stays
    // folded and loses its button.
    if (!node)
        return false;
    m_tree.refreshIfStale(node);
    return !node->children.empty();
}

void ShellTreeView::afterExpanding(const NMTREEVIEWA& notification) {
    m_tree.setExpanded(recordOfItem(notification.itemNew),
                       (notification.itemNew.state & TVIS_EXPANDED) != 0);
    scheduleWatchUpdate();
}

// ---- Renaming in place ----------------------------------------------------------------------

bool ShellTreeView::mayEditLabel(TShellFolderItem* node) {
    // The root cannot be renamed, nor an item the shell does not let rename.
    return node && node->Level() != 0 && node->hasAttribute(ShellAttribute::CanRename);
}

void ShellTreeView::renameNode(TShellFolderItem* node, const std::string& text) {
    // Watching stops around the rename, so that the watcher's re-read cannot run in its middle.
    if (m_onWatchedFolders)
        m_onWatchedFolders({});
    const std::string oldName = node->DisplayName();
    int failure = platform::error::None;
    if (text != oldName && node->hasAttribute(ShellAttribute::CanRename))
        failure = m_tree.renameNode(node, text);
    scheduleWatchUpdate();
    if (failure == platform::error::None)
        return;
    // The control is still ending the edit: a message box now would end it a second time.
    changed(node);
    m_later->post(
        [this, message = foldertree::renameFailure(oldName, m_tree.shellNamespace().codePage(),
                                                   failure)] { reportError(message); });
}

} // namespace ordinalette::win32
