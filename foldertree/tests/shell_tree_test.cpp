#include "foldertree/shell_tree.h"
#include "foldertree/tests/namespace_fixture.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace ordinalette::foldertree {
namespace {

// Writes down every change the tree reports, with the parent's child count when it began and
// when it ended, so that a report made after the change (or never ended) shows.
class Recorder : public ShellTreeObserver {
public:
    std::vector<std::string> events;

    void beginInsert(TShellFolderItem* parent, std::size_t first, std::size_t last) override {
        begin("insert", parent, first, last);
    }
    void endInsert() override { end(); }
    void beginRemove(TShellFolderItem* parent, std::size_t first, std::size_t last) override {
        begin("remove", parent, first, last);
    }
    void endRemove() override { end(); }
    void beginMove(TShellFolderItem* parent, std::size_t from, std::size_t to) override {
        begin("move", parent, from, to);
    }
    void endMove() override { end(); }
    void beginReset() override { events.emplace_back("reset"); }
    void endReset() override {}
    void changed(TShellFolderItem* node) override {
        events.push_back("changed " + node->DisplayName());
    }
    void requestExpand(TShellFolderItem*) override {}
    void requestCollapse(TShellFolderItem*) override {}
    void requestSelect(TShellFolderItem*) override {}

private:
    void begin(const char* what, TShellFolderItem* parent, std::size_t first, std::size_t last) {
        m_parent = parent;
        m_event = std::string(what) + " " + std::to_string(first) + "-" + std::to_string(last) +
                  " of " + std::to_string(count());
    }
    void end() { events.push_back(m_event + " to " + std::to_string(count())); }
    std::size_t count() const { return m_parent ? m_parent->children.size() : 1; }

    TShellFolderItem* m_parent = nullptr;
    std::string m_event;
};

// A tree over the fixture's namespace, its root expanded.
class ShellTreeTest : public ::testing::Test {
protected:
    ShellTreeTest() {
        EXPECT_TRUE(tree.BuildRoot());
        tree.expandNode(tree.root());
    }
    // Finds drive d's node and expands it.
    TShellFolderItem* openDrive() {
        TShellFolderItem* drive =
            tree.FindNode(*fixture.shellNamespace()->parseDisplayName(fixture.drive("d")));
        EXPECT_TRUE(tree.expandNode(drive));
        return drive;
    }

    testing::NamespaceFixture fixture;
    Recorder seen;
    ShellTree tree{fixture.shellNamespace(), seen};
};

TEST_F(ShellTreeTest, TellsItsObserverEveryInsertRemovalMoveAndChangeAsItHappens) {
    fixture.dir().makeDir("d/b");
    fixture.dir().makeDir("d/d");
    TShellFolderItem* drive = openDrive();
    ASSERT_EQ(drive->children.size(), 2u);

    // The merge inserts the new folders where they stand and removes the one gone.
    seen.events.clear();
    fixture.dir().makeDir("d/a");
    fixture.dir().makeDir("d/c");
    std::filesystem::remove(fixture.drive("d") + "/d");
    tree.RefreshChildren(drive);
    EXPECT_EQ(seen.events, (std::vector<std::string>{"insert 0-0 of 2 to 3", "insert 2-2 of 3 to 4",
                                                     "remove 3-3 of 4 to 3"}));

    // A renamed folder moves to its new place and shows its new name.
    seen.events.clear();
    ASSERT_EQ(tree.renameNode(drive->children[0].get(), "e"), platform::error::None);
    EXPECT_EQ(seen.events, (std::vector<std::string>{"move 0-3 of 3 to 3", "changed e"}));
    EXPECT_EQ(drive->children[2]->DisplayName(), "e");

    seen.events.clear();
    tree.clear();
    EXPECT_EQ(seen.events, std::vector<std::string>{"reset"});
}

// The child of a node with that display name; null for none.
TShellFolderItem* childNamed(TShellFolderItem* node, const std::string& name) {
    for (const auto& child : node->children) {
        if (child->DisplayName() == name)
            return child.get();
    }
    return nullptr;
}

TEST_F(ShellTreeTest, ASubtreeWalkStaysOnItsVolumeAndLeavesTheNodesAReReadDeleted) {
    for (const char* name : {"d/a/deep/deeper", "d/gone/inner", "d/other/inside"})
        fixture.dir().makeDir(name);
    std::filesystem::create_directory_symlink(fixture.drive("d") + "/a",
                                              fixture.drive("d") + "/link");
    fixture.writeMountTable(
        testing::NamespaceFixture::mountLine(fixture.drive("d") + "/other", "ext4"));
    TShellFolderItem* drive = openDrive();

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
