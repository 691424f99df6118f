#include "foldertree/shell_tree.h"
#include "foldertree/tests/namespace_fixture.h"
#include "foldertree/tests/recorder.h"
#include "foldertree/tests/tree_records.h"

#include <algorithm>
#include <cstddef>
#include <filesystem>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace ordinalette::foldertree {
namespace {

using testing::childNamed;
using testing::childNames;
using Names = std::vector<std::string>;

// A tree over the Linux namespace of temporary folders, its root and My Computer expanded.
class ShellTreePosixTest : public ::testing::Test {
protected:
    ShellTreePosixTest() {
        EXPECT_TRUE(tree.BuildRoot());
        tree.expandNode(tree.root());
        tree.expandNode(computer());
    }
    TShellFolderItem* computer() const { return tree.root()->children.front().get(); }
    TShellFolderItem* driveNode(const std::string& name) const {
        return childNamed(computer(), name + " (" + fixture.drive(name) + ")");
    }
    // The count of one folder among the folders the tree watches.
    std::ptrdiff_t watchedTimes(const std::string& folder) const {
        const auto watched = tree.visibleFolders();
        return std::count(watched.begin(), watched.end(), folder);
    }

    testing::NamespaceFixture fixture;
    testing::Recorder seen;
    ShellTree tree{fixture.shellNamespace(), seen};
};

TEST_F(ShellTreePosixTest, TheFixedItemsStayWhileTheDesktopDirectoryIsAwayAndItsFoldersComeBack) {
    EXPECT_EQ(tree.ItemType(*driveNode("d")), TShItemIDType::itRootDrive);
    EXPECT_EQ(tree.ItemType(*tree.root()->children[2]), TShItemIDType::itBitBucket);
    fixture.dir().makeDir("c/home/me/Desktop/projects");
    tree.RefreshTree();
    const Names withProjects{"コンピュータ", "projects", "ネットワーク", "ごみ箱"};
    ASSERT_EQ(childNames(tree.root()), withProjects);
    const TShellFolderItem* computerKept = computer();

    std::filesystem::rename(fixture.desktop(), fixture.desktop() + ".away");
    tree.RefreshTree();
    EXPECT_EQ(childNames(tree.root()), (Names{"コンピュータ", "ネットワーク", "ごみ箱"}));
    EXPECT_EQ(computerKept, computer()); // My Computer keeps its node and its drives
    EXPECT_EQ(computer()->children.size(), 3u);
    // The folder that held the desktop directory is watched until it is back.
    EXPECT_EQ(watchedTimes(fixture.drive("c") + "/home/me"), 1);

    std::filesystem::rename(fixture.desktop() + ".away", fixture.desktop());
    tree.RefreshTree();
    EXPECT_EQ(childNames(tree.root()), withProjects);
    EXPECT_EQ(watchedTimes(fixture.drive("c") + "/home/me"), 0);
}

TEST_F(ShellTreePosixTest, ASubtreeWalkStaysOnItsVolumeAndLeavesTheNodesAReReadDeleted) {
    for (const char* name : {"d/a/deep/deeper", "d/gone/inner", "d/other/inside"})
        fixture.dir().makeDir(name);
    std::filesystem::create_directory_symlink(fixture.drive("d") + "/a",
                                              fixture.drive("d") + "/link");
    fixture.writeMountTable(
        testing::NamespaceFixture::mountLine(fixture.drive("d") + "/other", "ext4"));
    TShellFolderItem* drive =
        tree.FindNode(*fixture.shellNamespace()->parseDisplayName(fixture.drive("d")));
    ASSERT_TRUE(tree.expandNode(drive));

    ASSERT_TRUE(tree.subtreeWalk().start(*drive));
    // A re-read deletes a node the walk has queued.
    std::filesystem::remove_all(fixture.drive("d") + "/gone");
    tree.RefreshChildren(drive);
    while (tree.subtreeWalk().step(std::chrono::milliseconds(20))) {
    }
    EXPECT_TRUE(childNamed(childNamed(drive, "a"), "deep")->expanded);
    EXPECT_FALSE(childNamed(drive, "link")->expanded);
    EXPECT_FALSE(childNamed(drive, "other")->expanded);
}

} // namespace
} // namespace ordinalette::foldertree
