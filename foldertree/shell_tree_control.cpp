#include "foldertree/shell_tree_control.h"

#include "platform/error_message.h"
#include "platform/error_number.h"
#include "platform/text_services.h"

namespace ordinalette::foldertree {

bool ShellTreeControl::buildRoot() {
    if (!m_tree.BuildRoot())
        return false;
    TShellFolderItem* root = m_tree.root();
    m_tree.expandNode(root);
    if (!root->children.empty())
        m_tree.expandNode(root->children.front().get());
    return true;
}

void ShellTreeControl::DestroyWnd(const TShellFolderItem* selected) {
    m_closing = true;
    if (!selected)
        selected = m_tree.root();
    if (selected)
        m_savedSelection = selected->AbsoluteID;
    m_tree.clear();
}

bool ShellTreeControl::CreateWnd() {
    m_closing = false;
    return buildRoot();
}

TShellFolderItem* ShellTreeControl::takeSavedSelection(const TShellFolderItem* selected) {
    if (!m_savedSelection)
        return nullptr;
    const ItemIdList saved = std::move(*m_savedSelection);
    m_savedSelection.reset();
    return m_tree.SelectID(selected, saved);
}

bool ShellTreeControl::FoldersChanged() {
    if (m_clickState != ClickState::None)
        return false;
    m_tree.RefreshTree();
    return true;
}

bool ShellTreeControl::canEditLabel(TShellFolderItem* record) const {
    return record && m_clickState == ClickState::None && record->Level() != 0 &&
           record->hasAttribute(ShellAttribute::CanRename);
}

int ShellTreeControl::renameLabel(TShellFolderItem& record, std::u16string_view typed) {
    const auto& codePage = m_tree.shellNamespace().codePage();
    if (typed == platform::decodeText(record.DisplayName(), codePage) ||
        !record.hasAttribute(ShellAttribute::CanRename))
        return platform::error::None;
    const std::string name = platform::encodeText(typed, codePage);
    if (platform::decodeText(name, codePage) != typed)
        return platform::error::PathNotFound;
    return m_tree.renameNode(&record, name);
}

std::string renameFailureText(std::u16string_view folder, int error) {
    return "フォルダ " + platform::encodeText(folder, platform::CodePage::utf8()) +
           " の名前を変更できません\n" + platform::errorMessage(error);
}

} // namespace ordinalette::foldertree
