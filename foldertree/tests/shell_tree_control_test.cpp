#include "foldertree/shell_tree_control.h"
#include "foldertree/tests/recorder.h"
#include "foldertree/tests/scratch_namespace.h"
#include "foldertree/tests/tree_records.h"
#include "platform/error_number.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace ordinalette::foldertree {
namespace {

using testing::childNames;
using Names = std::vector<std::string>;

class ShellTreeControlTest : public ::testing::Test {
protected:
    ShellTreeControlTest() { EXPECT_TRUE(control.CreateWnd()); }
    // The node of the scratch folder, its ancestors expanded.
    TShellFolderItem* openScratch() {
        return tree.FindNode(*scratch.shellNamespace()->parseDisplayName(scratch.folder()));
    }

    testing::ScratchNamespace scratch;
    testing::Recorder seen;
    ShellTree tree{scratch.shellNamespace(), seen};
    ShellTreeControl control{tree};
};

TEST_F(ShellTreeControlTest, TheWindowsLifeKeepsTheSelectionAndAPendingClickHoldsTheTree) {
    ASSERT_TRUE(tree.root()->expanded);
    EXPECT_TRUE(tree.root()->children.front()->expanded) << "My Computer";
    control.DestroyWnd(openScratch());
    EXPECT_TRUE(control.closing());
    EXPECT_FALSE(control.maySelect());
    EXPECT_EQ(tree.root(), nullptr);

    ASSERT_TRUE(control.CreateWnd());
    EXPECT_TRUE(control.maySelect());
    TShellFolderItem* selected = control.takeSavedSelection(tree.root());
    ASSERT_NE(selected, nullptr);
    EXPECT_EQ(selected, openScratch());
    EXPECT_EQ(control.takeSavedSelection(selected), nullptr) << "remembered once";
    // Without a selection the root is remembered, which is selected again already.
    control.DestroyWnd(nullptr);
    control.CreateWnd();
    EXPECT_EQ(control.takeSavedSelection(tree.root()), nullptr);

    // A click waiting for its release holds the selection and the nodes.
    scratch.makeDir("first");
    TShellFolderItem* folder = openScratch();
    ASSERT_TRUE(tree.expandNode(folder));
    scratch.makeDir("new");
    control.setClickState(ClickState::LeftPending);
    EXPECT_FALSE(control.maySelect());
    EXPECT_FALSE(control.FoldersChanged());
    EXPECT_EQ(childNames(folder), Names{"first"});
    control.setClickState(ClickState::None);
    EXPECT_TRUE(control.FoldersChanged());
    EXPECT_EQ(childNames(folder), (Names{"first", "new"}));
}

TEST_F(ShellTreeControlTest, ALabelRenamesItsFolderAndARefusalSaysWhy) {
    scratch.makeDir("old");
    scratch.makeDir("taken");
    TShellFolderItem* folder = openScratch();
    tree.expandNode(folder);
    TShellFolderItem* old = folder->children.front().get();
    EXPECT_FALSE(control.canEditLabel(tree.root()));
    EXPECT_TRUE(control.canEditLabel(old));
    control.setClickState(ClickState::LeftPending);
    EXPECT_FALSE(control.canEditLabel(old));
    control.setClickState(ClickState::None);

    EXPECT_EQ(control.renameLabel(*old, u"old"), platform::error::None);
    EXPECT_EQ(control.renameLabel(*old, u"taken"), platform::error::AlreadyExists);
    EXPECT_EQ(control.renameLabel(*old, u"x\xD800"), platform::error::PathNotFound)
        << "no code page holds a lone surrogate";
    EXPECT_EQ(childNames(folder), (Names{"old", "taken"}));
    EXPECT_EQ(renameFailureText(u"old", platform::error::AlreadyExists),
              "フォルダ old の名前を変更できません\nI/O エラー (183)");
    EXPECT_EQ(renameFailureText(u"old", platform::error::PathNotFound),
              "フォルダ old の名前を変更できません\n不正なファイル名です");

    EXPECT_EQ(control.renameLabel(*old, u"new"), platform::error::None);
    EXPECT_EQ(childNames(folder), (Names{"new", "taken"}));
    EXPECT_EQ(tree.pathOf(*old), scratch / "new");
}

} // namespace
} // namespace ordinalette::foldertree
