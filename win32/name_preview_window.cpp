#include "win32/name_preview_window.h"

#include "win32/system_text.h"
#include "win32/window_class.h"

#include <algorithm>
#include <array>
#include <string>

namespace ordinalette::win32 {

namespace {

constexpr char kClassName[] = "OrdinalettePreview";
constexpr char kTitle[] = "新しい名前の一覧";
constexpr int kClientWidth = 560;
constexpr int kClientHeight = 400;
constexpr DWORD kStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU;
// Where the columns start, in dialog units of the list.
constexpr std::array<int, 2> kTabStops{{100, 200}};

void addLine(HWND list, const std::string& line) {
    SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(line.c_str()));
}

} // namespace

HWND showNamePreviewWindow(HWND owner, HFONT font, const form::NamePreviewRows& rows) {
    if (!registerWindowClass(GetModuleHandleA(nullptr), kClassName, DefWindowProcA))
        return nullptr;
    RECT frame{0, 0, kClientWidth, kClientHeight};
    AdjustWindowRectEx(&frame, kStyle, FALSE, 0);
    HWND window = CreateWindowExA(0, kClassName, systemText(kTitle).c_str(), kStyle, CW_USEDEFAULT,
                                  CW_USEDEFAULT, frame.right - frame.left, frame.bottom - frame.top,
                                  owner, nullptr, GetModuleHandleA(nullptr), nullptr);
    if (!window)
        return nullptr;
    HWND list = CreateWindowExA(
        WS_EX_CLIENTEDGE, "LISTBOX", "",
        WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_TABSTOP | LBS_USETABSTOPS | LBS_NOINTEGRALHEIGHT, 0,
        0, kClientWidth, kClientHeight, window, nullptr, GetModuleHandleA(nullptr), nullptr);
    SendMessageA(list, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    SendMessageA(list, LB_SETTABSTOPS, kTabStops.size(),
                 reinterpret_cast<LPARAM>(kTabStops.data()));
    using Column = form::NamePreviewRows::Column;
    addLine(list, systemText(form::NamePreviewRows::columnTitle(Column::CurrentName)) + '\t' +
                      systemText(form::NamePreviewRows::columnTitle(Column::NewName)) + '\t' +
                      systemText(form::NamePreviewRows::columnTitle(Column::Remark)));
    SendMessageA(list, WM_SETREDRAW, FALSE, 0);
    for (std::size_t row = 0; row < rows.count(); ++row)
        addLine(list, rows.currentName(row) + '\t' + rows.newName(row) + '\t' +
                          systemText(rows.remark(row)));
    SendMessageA(list, WM_SETREDRAW, TRUE, 0);
    // The first name the run cannot give is in view at once, below the line of titles.
    SendMessageA(list, LB_SETCURSEL, std::max(rows.firstMarkedRow(), 0) + 1, 0);
    ShowWindow(window, SW_SHOWNORMAL);
    SetFocus(list);
    return window;
}

} // namespace ordinalette::win32
