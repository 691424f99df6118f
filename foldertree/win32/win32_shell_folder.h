#pragma once

#include "foldertree/shell_namespace.h"

#include <shlobj.h>
#include <wrl/client.h>

namespace ordinalette::foldertree {

// A folder of the Windows shell namespace: the folder object's own operations, with names and
// paths in the system code page. A list of several identifiers is answered by the folder that
// holds its last one.
class Win32ShellFolder : public ShellFolder {
public:
    Win32ShellFolder(Microsoft::WRL::ComPtr<IShellFolder> folder, platform::CodePage codePage)
        : m_folder(std::move(folder)), m_codePage(std::move(codePage)) {}

    std::optional<std::vector<ItemIdList>> enumFolders(bool includeHidden) override;
    std::optional<int> compareIDs(const ItemIdList& a, const ItemIdList& b) override;
    ShellAttribute getAttributesOf(const ItemIdList& item, ShellAttribute mask) override;
    std::optional<std::string> getDisplayNameOf(const ItemIdList& item) override;
    std::shared_ptr<ShellFolder> bindToObject(const ItemIdList& item) override;
    platform::Result<ItemIdList> setNameOf(const ItemIdList& item,
                                           std::string_view newName) override;

    // The folder object of a child folder, or of this folder for the empty list.
    Microsoft::WRL::ComPtr<IShellFolder> bindToShellFolder(const ItemIdList& item) const;

private:
    // The display name of a child of this folder in the given form.
    std::optional<std::string> displayName(const ItemIdList& child, SHGDNF form) const;

    Microsoft::WRL::ComPtr<IShellFolder> m_folder;
    platform::CodePage m_codePage;
};

} // namespace ordinalette::foldertree
