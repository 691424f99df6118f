#include "foldertree/shell_tree.h"
#include "foldertree/tests/recorder.h"
#include "foldertree/tests/scratch_namespace.h"
#include "foldertree/tests/tree_records.h"
#include "foldertree/tests/unreadable_folders.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <vector>

namespace ordinalette::foldertree {
namespace {

using testing::childNames;
using Names = std::vector<std::string>;

// A tree over the platform's namespace, its root expanded; its folders are all readable until a
// test names some.
class ShellTreeTest : public ::testing::Test {
protected:
    ShellTreeTest() {
        EXPECT_TRUE(tree.BuildRoot());
        tree.expandNode(tree.root());
    }
    // Finds the scratch folder's node and expands it.
    TShellFolderItem* openScratch() {
        TShellFolderItem* node =
            tree.FindNode(*scratch.shellNamespace()->parseDisplayName(scratch.folder()));
        EXPECT_TRUE(tree.expandNode(node));
        return node;
    }
    // The node of an entry of the scratch folder, its ancestors expanded; the root when the tree
    // does not show it.
    TShellFolderItem* open(const std::string& name) {
        return tree.FindNode(*scratch.shellNamespace()->parseDisplayName(scratch / name));
    }

    testing::ScratchNamespace scratch;
    std::shared_ptr<testing::UnreadableFolders> unreadable =
        std::make_shared<testing::UnreadableFolders>(scratch.shellNamespace());
    testing::Recorder seen;
    ShellTree tree{unreadable, seen};
};

TEST_F(ShellTreeTest, TellsItsObserverEveryInsertRemovalMoveAndChangeAsItHappens) {
    scratch.makeDir("b");
    scratch.makeDir("d");
    TShellFolderItem* folder = openScratch();
    ASSERT_EQ(folder->children.size(), 2u);

    // The merge inserts the new folders where they stand and removes the one gone.
    seen.events.clear();
    scratch.makeDir("a");
    scratch.makeDir("c");
    scratch.removeDir("d");
    tree.RefreshChildren(folder);
    EXPECT_EQ(seen.events, (std::vector<std::string>{"insert 0-0 of 2 to 3", "insert 2-2 of 3 to 4",
                                                     "remove 3-3 of 4 to 3"}));

    // A renamed folder moves to its new place and shows its new name.
    seen.events.clear();
    ASSERT_EQ(tree.renameNode(folder->children[0].get(), "e"), platform::error::None);
    EXPECT_EQ(seen.events, (std::vector<std::string>{"move 0-3 of 3 to 3", "changed e"}));
    EXPECT_EQ(folder->children[2]->DisplayName(), "e");

    seen.events.clear();
    tree.clear();
    EXPECT_EQ(seen.events, std::vector<std::string>{"reset"});
}

TEST_F(ShellTreeTest, FindNodeOpensTheWayToAFolderAndGivesTheRootForWhatItNeverShows) {
    scratch.makeDir("photos/2024");
    scratch.writeFile("photos/a.jpg");
    TShellFolderItem* year = open("photos/2024");
    ASSERT_NE(year, tree.root());
    EXPECT_EQ(year->DisplayName(), "2024");
    EXPECT_EQ(tree.pathOf(*year), scratch / "photos/2024");
    EXPECT_TRUE(year->parent->expanded);
    EXPECT_TRUE(year->parent->parent->expanded);
    EXPECT_EQ(open("photos/a.jpg"), tree.root());
}

TEST_F(ShellTreeTest, HiddenFoldersAreListedAndFilesNever) {
    const std::string hidden = scratch.makeHiddenDir("config");
    scratch.makeDir("Music");
    scratch.writeFile("readme.txt");
    TShellFolderItem* folder = openScratch();
    EXPECT_EQ(childNames(folder), (Names{hidden, "Music"}));
    tree.SetIncludeHidden(false);
    EXPECT_EQ(childNames(folder), Names{"Music"});
}

TEST_F(ShellTreeTest, RefreshTreeMergesChangesAndKeepsTheNodesThatStay) {
    for (const char* name : {"alpha", "beta/inner", "gamma", "delta"})
        scratch.makeDir(name);
    const TShellFolderItem* inner = open("beta/inner");
    TShellFolderItem* folder = inner->parent->parent;
    ASSERT_EQ(childNames(folder), (Names{"alpha", "beta", "delta", "gamma"}));
    const TShellFolderItem* alpha = folder->children[0].get();
    const TShellFolderItem* beta = folder->children[1].get();

    scratch.makeDir("Bar");
    scratch.makeDir("epsilon");
    scratch.removeDir("delta");
    seen.events.clear();
    tree.RefreshTree();

    EXPECT_EQ(childNames(folder), (Names{"alpha", "Bar", "beta", "epsilon", "gamma"}));
    EXPECT_EQ(folder->children[0].get(), alpha);
    EXPECT_EQ(folder->children[2].get(), beta);
    EXPECT_TRUE(beta->expanded);
    EXPECT_EQ(beta->children[0].get(), inner);
    // One row each, nothing inserted again.
    EXPECT_EQ(std::count_if(seen.events.begin(), seen.events.end(),
                            [](const std::string& event) { return event.starts_with("insert"); }),
              2);

    // Nothing changed: nothing moves.
    seen.events.clear();
    tree.RefreshTree();
    EXPECT_EQ(seen.events, Names{});
}

TEST_F(ShellTreeTest, AnExpandedFolderThatLostItsLastSubfolderShowsTheNextOne) {
    scratch.makeDir("box/first");
    TShellFolderItem* box = open("box/first")->parent;
    ASSERT_TRUE(box->expanded);

    scratch.removeDir("box/first");
    tree.RefreshTree();
    EXPECT_TRUE(box->children.empty());
    EXPECT_FALSE(tree.showsButton(*box));

    scratch.makeDir("box/second");
    tree.RefreshTree();
    EXPECT_EQ(childNames(box), Names{"second"});
    EXPECT_TRUE(tree.showsButton(*box));
}

TEST_F(ShellTreeTest, AnUnreadableFolderKeepsNoButtonUntilItCanBeReadAgain) {
    scratch.makeDir("locked/inside");
    TShellFolderItem* locked = open("locked");
    ASSERT_EQ(locked->DisplayName(), "locked");
    EXPECT_TRUE(tree.showsButton(*locked)); // the probe sees a subfolder

    unreadable->names = {"locked"};
    EXPECT_FALSE(tree.expandNode(locked));
    EXPECT_FALSE(tree.showsButton(*locked));
    tree.RefreshTree();
    EXPECT_FALSE(tree.showsButton(*locked));

    unreadable->names.clear();
    tree.RefreshTree();
    EXPECT_TRUE(tree.showsButton(*locked));
    EXPECT_TRUE(tree.expandNode(locked));
    EXPECT_EQ(childNames(locked), Names{"inside"});
}

} // namespace
} // namespace ordinalette::foldertree
