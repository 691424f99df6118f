#include "foldertree/win32/system_icons.h"

#include "foldertree/win32/item_id_list.h"

#include <shellapi.h>

namespace ordinalette::foldertree {

namespace {

constexpr UINT kSmallIconOfList = SHGFI_SYSICONINDEX | SHGFI_PIDL | SHGFI_SMALLICON;

DWORD_PTR fileInfo(const ItemIdList& absolute, UINT flags, SHFILEINFOA& info) {
    const ShellListBytes list(absolute);
    return SHGetFileInfoA(reinterpret_cast<LPCSTR>(list.get()), 0, &info, sizeof info, flags);
}

} // namespace

HIMAGELIST systemSmallImageList() {
    SHFILEINFOA info{};
    return reinterpret_cast<HIMAGELIST>(fileInfo({}, kSmallIconOfList, info));
}

int smallIconIndex(const ItemIdList& absolute, IconState state) {
    SHFILEINFOA info{};
    const UINT flags = kSmallIconOfList | (state == IconState::Open ? SHGFI_OPENICON : 0);
    return fileInfo(absolute, flags, info) != 0 ? info.iIcon : -1;
}

} // namespace ordinalette::foldertree
