#include "foldertree/t_shell_folder_item.h"

#include <algorithm>

namespace ordinalette::foldertree {

TShellFolderItem::TShellFolderItem(ShellNamespace& ns, ItemIdList itemId, ItemIdList absoluteId,
                                   std::shared_ptr<ShellFolder> parentFolder)
    : ItemID(std::move(itemId)), AbsoluteID(std::move(absoluteId)), m_ns(ns),
      m_parentFolder(std::move(parentFolder)) {}

int TShellFolderItem::row() const {
    if (!parent)
        return 0;
    const auto& siblings = parent->children;
    // Views ask for the row of the same nodes over and over; it changes only when siblings
    // come or go.
    if (m_rowHint >= siblings.size() || siblings[m_rowHint].get() != this) {
        const auto found =
            std::find_if(siblings.begin(), siblings.end(),
                         [this](const auto& sibling) { return sibling.get() == this; });
        m_rowHint = static_cast<std::size_t>(found - siblings.begin());
    }
    return static_cast<int>(m_rowHint);
}

const ItemIdList& TShellFolderItem::ParentID() {
    if (!m_parentId) {
        m_parentId =
            Level() <= 1 ? ItemIdList{} : ItemIdList(AbsoluteID.begin(), AbsoluteID.end() - 1);
    }
    return *m_parentId;
}

std::shared_ptr<ShellFolder> TShellFolderItem::ParentFolder() {
    if (!m_parentFolder) {
        auto desktop = m_ns.desktopFolder();
        m_parentFolder = Level() <= 1 || !desktop ? desktop : desktop->bindToObject(ParentID());
    }
    return m_parentFolder;
}

const std::string& TShellFolderItem::DisplayName() {
    if (m_displayName.empty()) {
        if (const auto folder = ParentFolder()) {
            // The root is named by the desktop's own list, not by the desktop directory's.
            if (auto name = folder->getDisplayNameOf(Level() == 0 ? AbsoluteID : ItemID))
                m_displayName = std::move(*name);
        }
    }
    return m_displayName;
}

void TShellFolderItem::rename(ItemIdList itemId, ItemIdList absoluteId) {
    ItemID = std::move(itemId);
    AbsoluteID = std::move(absoluteId);
    m_displayName.clear();
    imageIndex.reset();
}

bool TShellFolderItem::hasAttribute(ShellAttribute flag) {
    const auto folder = ParentFolder();
    return folder && hasAll(folder->getAttributesOf(ItemID, flag), flag);
}

} // namespace ordinalette::foldertree
