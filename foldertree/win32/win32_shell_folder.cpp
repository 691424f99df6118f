#include "foldertree/win32/win32_shell_folder.h"

#include "foldertree/win32/item_id_list.h"
#include "foldertree/win32/subfolder_probe.h"
#include "platform/file_name.h"
#include "platform/text_services.h"

#include <shlwapi.h>

namespace ordinalette::foldertree {

using Microsoft::WRL::ComPtr;

namespace {

static_assert(static_cast<std::uint32_t>(ShellAttribute::CanRename) == SFGAO_CANRENAME &&
              static_cast<std::uint32_t>(ShellAttribute::Link) == SFGAO_LINK &&
              static_cast<std::uint32_t>(ShellAttribute::FileSysAncestor) ==
                  SFGAO_FILESYSANCESTOR &&
              static_cast<std::uint32_t>(ShellAttribute::Folder) == SFGAO_FOLDER &&
              static_cast<std::uint32_t>(ShellAttribute::FileSystem) == SFGAO_FILESYSTEM &&
              static_cast<std::uint32_t>(ShellAttribute::HasSubfolder) == SFGAO_HASSUBFOLDER);

// The Windows error number behind a failed call of the shell. A shell that answers a failed move
// with a bare E_FAIL leaves the move's own error number as the thread's last error.
int errorNumberOf(HRESULT result, DWORD lastError) {
    if (HRESULT_FACILITY(result) == FACILITY_WIN32)
        return HRESULT_CODE(result);
    if (result == E_OUTOFMEMORY)
        return platform::error::NotEnoughMemory;
    return lastError != 0 ? static_cast<int>(lastError) : platform::error::GeneralFailure;
}

std::wstring wideText(std::string_view text, const platform::CodePage& codePage) {
    const std::u16string decoded = platform::decodeText(text, codePage);
    return std::wstring(decoded.begin(), decoded.end());
}

bool isOnNetworkDrive(const std::string& path) {
    return path.starts_with("\\\\") || GetDriveTypeA(path.substr(0, 3).c_str()) == DRIVE_REMOTE;
}

// The list without its last identifier, and that identifier alone.
std::pair<ItemIdList, ItemIdList> splitLast(const ItemIdList& item) {
    return {ItemIdList(item.begin(), item.end() - 1), ItemIdList{item.back()}};
}

} // namespace

std::optional<std::vector<ItemIdList>> Win32ShellFolder::enumFolders(bool includeHidden) {
    const SHCONTF flags = SHCONTF_FOLDERS | (includeHidden ? SHCONTF_INCLUDEHIDDEN : 0);
    ComPtr<IEnumIDList> items;
    const HRESULT started = m_folder->EnumObjects(nullptr, flags, &items);
    if (FAILED(started))
        return std::nullopt;
    std::vector<ItemIdList> children;
    if (started == S_FALSE || !items) // nothing to enumerate
        return children;
    for (;;) {
        LPITEMIDLIST child = nullptr;
        ULONG fetched = 0;
        if (items->Next(1, &child, &fetched) != S_OK || fetched != 1)
            break;
        const ShellItemList owned(child);
        children.push_back(copyShellList(owned.get()));
    }
    return children;
}

std::optional<int> Win32ShellFolder::compareIDs(const ItemIdList& a, const ItemIdList& b) {
    const HRESULT result =
        m_folder->CompareIDs(0, ShellListBytes(a).get(), ShellListBytes(b).get());
    if (FAILED(result))
        return std::nullopt;
    return static_cast<short>(HRESULT_CODE(result));
}

ShellAttribute Win32ShellFolder::getAttributesOf(const ItemIdList& item, ShellAttribute mask) {
    if (item.size() > 1) {
        const auto [parent, last] = splitLast(item);
        const auto folder = bindToObject(parent);
        return folder ? folder->getAttributesOf(last, mask) : ShellAttribute::None;
    }
    const ShellListBytes list(item);
    PCUITEMID_CHILD child = list.get();
    constexpr ShellAttribute kLocalFolder = ShellAttribute::Folder | ShellAttribute::FileSystem;
    SFGAOF asked = static_cast<SFGAOF>(mask | kLocalFolder);
    if (FAILED(m_folder->GetAttributesOf(1, &child, &asked)))
        return ShellAttribute::None;
    // A shell may offer every folder's button without looking inside (Wine does): a folder of a
    // local drive is looked into. A network folder keeps the shell's answer, as its server may
    // be slow to give a better one.
    if (hasAny(mask, ShellAttribute::HasSubfolder) &&
        hasAll(static_cast<ShellAttribute>(asked), kLocalFolder | ShellAttribute::HasSubfolder)) {
        const auto path = displayName(item, SHGDN_FORPARSING);
        if (path && !isOnNetworkDrive(*path) && !holdsSubfolder(*path))
            asked &= ~SFGAOF{SFGAO_HASSUBFOLDER};
    }
    return static_cast<ShellAttribute>(asked) & mask;
}

std::optional<std::string> Win32ShellFolder::getDisplayNameOf(const ItemIdList& item) {
    if (item.size() > 1) {
        const auto [parent, last] = splitLast(item);
        const auto folder = bindToObject(parent);
        return folder ? folder->getDisplayNameOf(last) : std::nullopt;
    }
    return displayName(item, SHGDN_INFOLDER);
}

std::optional<std::string> Win32ShellFolder::displayName(const ItemIdList& child,
                                                         SHGDNF form) const {
    const ShellListBytes list(child);
    STRRET name;
    if (FAILED(m_folder->GetDisplayNameOf(list.get(), form, &name)))
        return std::nullopt;
    // Whichever of its three forms the answer takes, in the system code page; a wide string the
    // shell allocated is freed by the conversion.
    char* text = nullptr;
    if (FAILED(StrRetToStrA(&name, list.get(), &text)))
        return std::nullopt;
    const std::unique_ptr<char, TaskMemFree> owned(text);
    return std::string(text);
}

ComPtr<IShellFolder> Win32ShellFolder::bindToShellFolder(const ItemIdList& item) const {
    if (item.empty())
        return m_folder;
    ComPtr<IShellFolder> child;
    if (FAILED(m_folder->BindToObject(ShellListBytes(item).get(), nullptr, IID_PPV_ARGS(&child))))
        return nullptr;
    return child;
}

std::shared_ptr<ShellFolder> Win32ShellFolder::bindToObject(const ItemIdList& item) {
    auto folder = bindToShellFolder(item);
    return folder ? std::make_shared<Win32ShellFolder>(std::move(folder), m_codePage) : nullptr;
}

platform::Result<ItemIdList> Win32ShellFolder::setNameOf(const ItemIdList& item,
                                                         std::string_view newName) {
    using Renamed = platform::Result<ItemIdList>;
    // A new name must stay a name inside the same folder: no separator, not "." or "..".
    if (item.empty() || !platform::isSingleFileName(newName))
        return Renamed::failure(platform::error::PathNotFound);
    const auto [parent, last] = splitLast(item);
    const ComPtr<IShellFolder> folder = bindToShellFolder(parent);
    if (!folder)
        return Renamed::failure(platform::error::PathNotFound);
    const std::wstring wide = wideText(newName, m_codePage);
    LPITEMIDLIST renamed = nullptr;
    SetLastError(ERROR_SUCCESS);
    const HRESULT result = folder->SetNameOf(nullptr, ShellListBytes(last).get(), wide.c_str(),
                                             SHGDN_INFOLDER, &renamed);
    const DWORD lastError = GetLastError();
    ShellItemList child(renamed);
    if (FAILED(result))
        return Renamed::failure(errorNumberOf(result, lastError));
    // The shell's pending notices of the rename go out now, before anyone reads the folder again.
    SHChangeNotify(0, SHCNF_FLUSH, nullptr, nullptr);
    if (!child) // renamed, but the shell cannot say under which identifier
        return Renamed::failure(platform::error::FileNotFound);
    ItemIdList newList = parent;
    for (ItemId& id : copyShellList(child.get()))
        newList.push_back(std::move(id));
    return Renamed::success(std::move(newList));
}

} // namespace ordinalette::foldertree
