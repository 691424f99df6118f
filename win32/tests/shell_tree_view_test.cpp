#include "win32/tests/shell_tree_view_fixture.h"

#include <algorithm>

namespace ordinalette::win32 {
namespace {

using foldertree::SpecialFolder;

TEST_F(ShellTreeViewTest, OpensOnTheDesktopWithItsItemsAndADriveListsItsFoldersWhenExpanded) {
    const HTREEITEM root = next(nullptr, TVGN_ROOT);
    ASSERT_NE(root, nullptr);
    EXPECT_EQ(selected(), root);
    EXPECT_EQ(text(root), m_namespace->desktopFolder()->getDisplayNameOf({}).value_or("?"));
    EXPECT_NE(state(root) & TVIS_EXPANDED, 0u);
    const auto desktop = m_namespace->desktopFolder();
    const auto computer = m_namespace->specialFolderLocation(SpecialFolder::Drives);
    ASSERT_TRUE(computer.has_value());
    const HTREEITEM computerItem = childNamed(root, *desktop->getDisplayNameOf(*computer));
    ASSERT_NE(computerItem, nullptr);
    EXPECT_FALSE(m_view->selectedPath().empty()) << "the desktop's path is its directory";

    // The drive that holds the test's folder, expanded as the user does, shows the shell's
    // folders of that drive in the shell's order.
    const std::string drive = m_view->volumeRootOf(m_dir.path());
    HTREEITEM driveItem = nullptr;
    for (HTREEITEM item = next(computerItem, TVGN_CHILD); item; item = next(item, TVGN_NEXT)) {
        if (m_view->tree().Path(ShellTreeView::recordOf(m_control, item)) == drive)
            driveItem = item;
    }
    ASSERT_NE(driveItem, nullptr) << drive;
    SendMessageA(m_control, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(driveItem));
    EXPECT_NE(state(driveItem) & TVIS_EXPANDED, 0u);
    EXPECT_EQ(childTexts(driveItem), shellNames(drive));
    EXPECT_EQ(m_changes, 0);
}

TEST_F(ShellTreeViewTest, SelectingAPathSelectsItsFolderWithTheChangeEvent) {
    m_dir.makeDir("outer");
    m_dir.makeDir("outer\\inner");
    m_view->selectPath(in("outer\\inner"));
    EXPECT_EQ(m_view->selectedPath(), in("outer\\inner"));
    EXPECT_EQ(text(selected()), "inner");
    EXPECT_EQ(m_changes, 1);
    const auto shown = m_view->shownFolders();
    EXPECT_NE(std::find(shown.begin(), shown.end(), in("outer")), shown.end());

    m_view->selectPath(in("missing"));
    m_view->selectPath(in("outer\\inner"));
    EXPECT_EQ(m_changes, 1) << "a path of no item, or of the selected one, changes nothing";

    m_view->collapseAll();
    EXPECT_EQ(selected(), next(nullptr, TVGN_ROOT)) << "the selection leaves the folded nodes";
    EXPECT_EQ(state(selected()) & TVIS_EXPANDED, 0u);
}

TEST_F(ShellTreeViewTest, EditingALabelRenamesTheFolderAndARefusedNameShowsTheOldOne) {
    m_dir.makeDir("old");
    m_dir.makeDir("taken");
    m_view->selectPath(in("old"));
    const int changes = m_changes;
    ASSERT_TRUE(editLabel(selected(), "renamed"));
    EXPECT_EQ(m_dir.entries(), (Names{"renamed", "taken"}));
    EXPECT_EQ(text(selected()), "renamed");
    EXPECT_EQ(m_view->selectedPath(), in("renamed"));
    EXPECT_EQ(childTexts(next(selected(), TVGN_PARENT)), (Names{"renamed", "taken"}));
    EXPECT_EQ(m_changes, changes) << "renaming is no change of the selection";

    ASSERT_TRUE(editLabel(selected(), "taken"));
    EXPECT_EQ(text(selected()), "renamed");
    EXPECT_TRUE(m_errors.empty()) << "the error waits until the edit has ended";
    runPostedMessages();
    ASSERT_EQ(m_errors.size(), 1u);
    EXPECT_NE(m_errors.front().find("renamed"), std::string::npos) << m_errors.front();

    EXPECT_FALSE(editLabel(next(nullptr, TVGN_ROOT), "desktop")) << "the root is not renamed";
}

} // namespace
} // namespace ordinalette::win32
