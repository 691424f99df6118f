#pragma once

#include "foldertree/win32/ole_session.h"
#include "foldertree/win32/win32_shell_namespace.h"
#include "testsupport/temp_dir.h"
#include "win32/shell_tree_view.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace ordinalette::win32 {

using Names = std::vector<std::string>;

inline constexpr char kParentClass[] = "OrdinaletteTreeTestParent";

// A top-level window that hands its tree's notifications to the tree's view, as TForm1 does.
inline LRESULT CALLBACK parentProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    LRESULT result = 0;
    if (message == WM_NOTIFY &&
        ShellTreeView::dispatchNotify(*reinterpret_cast<const NMHDR*>(lParam), result))
        return result;
    return DefWindowProcA(window, message, wParam, lParam);
}

inline ATOM registerParentClass() {
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = parentProcedure;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = kParentClass;
    return RegisterClassA(&windowClass);
}

// Runs the messages already posted to this thread.
inline void runPostedMessages() {
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
}

// Runs this thread's messages until the condition holds, looking again at least every few
// milliseconds for a condition that another thread makes hold; ctest's timeout ends a test that
// waits in vain.
template <typename Condition> void runMessagesUntil(Condition condition) {
    while (!condition()) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
        runPostedMessages();
    }
}

// A tree view in a window of its own over the shell namespace, its change events counted and
// its errors kept.
class ShellTreeViewTest : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_ole.initialised());
        INITCOMMONCONTROLSEX common{sizeof common, ICC_TREEVIEW_CLASSES};
        ASSERT_TRUE(InitCommonControlsEx(&common));
        static const ATOM parentClass = registerParentClass();
        m_parent = CreateWindowExA(0, MAKEINTATOM(parentClass), "", WS_OVERLAPPEDWINDOW, 0, 0, 300,
                                   400, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
        ASSERT_NE(m_parent, nullptr);
        m_control =
            CreateWindowExA(0, WC_TREEVIEWA, "",
                            WS_CHILD | WS_VISIBLE | TVS_HASBUTTONS | TVS_HASLINES | TVS_LINESATROOT,
                            0, 0, 300, 400, m_parent, nullptr, GetModuleHandleA(nullptr), nullptr);
        ASSERT_NE(m_control, nullptr);
        m_view = std::make_unique<ShellTreeView>(m_control, m_namespace);
        m_view->setOnChange([this] { ++m_changes; });
        m_view->setOnError([this](const std::string& message) { m_errors.push_back(message); });
    }
    void TearDown() override {
        m_view.reset();
        if (m_parent)
            DestroyWindow(m_parent);
    }

    HTREEITEM next(HTREEITEM item, UINT relation) const {
        return reinterpret_cast<HTREEITEM>(
            SendMessageA(m_control, TVM_GETNEXTITEM, relation, reinterpret_cast<LPARAM>(item)));
    }
    HTREEITEM selected() const { return next(nullptr, TVGN_CARET); }
    std::string text(HTREEITEM item) const {
        char buffer[MAX_PATH] = {};
        TVITEMA data{};
        data.mask = TVIF_HANDLE | TVIF_TEXT;
        data.hItem = item;
        data.pszText = buffer;
        data.cchTextMax = sizeof buffer;
        SendMessageA(m_control, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&data));
        return buffer;
    }
    UINT state(HTREEITEM item) const {
        return static_cast<UINT>(SendMessageA(m_control, TVM_GETITEMSTATE,
                                              reinterpret_cast<WPARAM>(item), TVIS_EXPANDED));
    }
    Names childTexts(HTREEITEM parent) const {
        Names names;
        for (HTREEITEM child = next(parent, TVGN_CHILD); child; child = next(child, TVGN_NEXT))
            names.push_back(text(child));
        return names;
    }
    HTREEITEM childNamed(HTREEITEM parent, const std::string& name) const {
        for (HTREEITEM child = next(parent, TVGN_CHILD); child; child = next(child, TVGN_NEXT)) {
            if (text(child) == name)
                return child;
        }
        return nullptr;
    }
    // Edits the item's label as the user does: the edit control gets the text, Enter ends it.
    bool editLabel(HTREEITEM item, const std::string& typed) {
        const auto edit = reinterpret_cast<HWND>(
            SendMessageA(m_control, TVM_EDITLABELA, 0, reinterpret_cast<LPARAM>(item)));
        if (!edit)
            return false;
        SetWindowTextA(edit, typed.c_str());
        SendMessageA(m_control, TVM_ENDEDITLABELNOW, FALSE, 0);
        return true;
    }
    std::string in(const std::string& name) const { return m_dir.path() + "\\" + name; }
    // The display names of a folder's subfolders, as the shell gives them.
    Names shellNames(const std::string& path) {
        const auto list = m_namespace->parseDisplayName(path);
        const auto folder = list ? m_namespace->desktopFolder()->bindToObject(*list) : nullptr;
        Names names;
        if (!folder)
            return names;
        for (const auto& child :
             folder->enumFolders(true).value_or(std::vector<foldertree::ItemIdList>{}))
            names.push_back(folder->getDisplayNameOf(child).value_or("?"));
        return names;
    }

    foldertree::OleSession m_ole;
    std::shared_ptr<foldertree::Win32ShellNamespace> m_namespace =
        std::make_shared<foldertree::Win32ShellNamespace>();
    testsupport::TempDir m_dir;
    HWND m_parent = nullptr;
    HWND m_control = nullptr;
    std::unique_ptr<ShellTreeView> m_view;
    int m_changes = 0;
    Names m_errors;
};

} // namespace ordinalette::win32
