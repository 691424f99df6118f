#include "foldertree/t_shell_tree_view.h"
#include "foldertree/tests/namespace_fixture.h"

#include <QSignalSpy>
#include <QTest>
#include <filesystem>
#include <gtest/gtest.h>

namespace ordinalette::foldertree {
namespace {

using testing::childNamed;
using testing::childTexts;
using testing::NamespaceFixture;

class TreeTest : public ::testing::Test {
protected:
    TreeTest() : tree(fixture.shellNamespace()) { tree.resize(400, 600); }

    QTreeWidgetItem* root() const { return tree.topLevelItem(0); }
    QTreeWidgetItem* computer() const { return root()->child(0); }
    QString driveText(const std::string& name) const {
        return QString::fromStdString(name + " (" + fixture.drive(name) + ")");
    }
    QTreeWidgetItem* driveNode(const std::string& name) const {
        return childNamed(computer(), driveText(name));
    }

    NamespaceFixture fixture;
    TShellTreeView tree;
};

TEST_F(TreeTest, BuildingTheRootSelectsTheDesktopWithMyComputerExpanded) {
    ASSERT_EQ(tree.topLevelItemCount(), 1);
    EXPECT_EQ(root()->text(0), "デスクトップ");
    EXPECT_EQ(tree.currentItem(), root());
    EXPECT_TRUE(root()->isExpanded());
    EXPECT_TRUE(computer()->isExpanded());
    EXPECT_EQ(childTexts(root()), (QStringList{"コンピュータ", "ネットワーク", "ごみ箱"}));
    EXPECT_EQ(childTexts(computer()),
              (QStringList{driveText("c"), driveText("d"), driveText("net")}));
    EXPECT_EQ(tree.ItemType(*TShellTreeView::RecordOf(driveNode("d"))), TShItemIDType::itRootDrive);
    EXPECT_EQ(tree.ItemType(*TShellTreeView::RecordOf(root()->child(2))),
              TShItemIDType::itBitBucket);
}

TEST_F(TreeTest, PathOfTheRootAVirtualItemADriveAndAFolder) {
    fixture.dir().makeDir("d/photos");
    EXPECT_EQ(tree.Path(), fixture.desktop());
    tree.setCurrentItem(computer());
    EXPECT_EQ(tree.Path(), "");
    tree.setCurrentItem(root()->child(2));
    EXPECT_EQ(tree.Path(), "");
    tree.SetPath(fixture.drive("d"));
    EXPECT_EQ(tree.Path(), fixture.drive("d") + "/");
    tree.SetPath(fixture.drive("d") + "/photos");
    EXPECT_EQ(tree.Path(), fixture.drive("d") + "/photos");
    EXPECT_EQ(tree.currentItem()->text(0), "photos");
}

TEST_F(TreeTest, WritingPathFiresOnlyForARealChangeOfSelection) {
    fixture.dir().makeDir("d/photos");
    tree.FullCollapse();
    EXPECT_FALSE(root()->isExpanded());
    EXPECT_EQ(tree.currentItem(), root());
    QSignalSpy changes(&tree, &TShellTreeView::OnChange);

    tree.SetPath(fixture.drive("d") + "/missing");
    tree.SetPath("not a path");
    EXPECT_EQ(changes.count(), 0);
    EXPECT_EQ(tree.currentItem(), root());

    // The drive's root while everything is collapsed: My Computer expands, one event.
    tree.SetPath(fixture.drive("d") + "/");
    EXPECT_EQ(changes.count(), 1);
    EXPECT_TRUE(computer()->isExpanded());
    EXPECT_EQ(tree.currentItem(), driveNode("d"));
    EXPECT_EQ(tree.Path(), fixture.drive("d") + "/");

    tree.SetPath(fixture.drive("d"));
    EXPECT_EQ(changes.count(), 1);

    // A path that parses but whose node the tree never shows (a file) selects the root.
    fixture.dir().writeFile("d/photos/a.jpg");
    tree.SetPath(fixture.drive("d") + "/photos/a.jpg");
    EXPECT_EQ(changes.count(), 2);
    EXPECT_EQ(tree.currentItem(), root());
}

TEST_F(TreeTest, HiddenFoldersAreListedAndFilesNever) {
    fixture.dir().makeDir("d/.config");
    fixture.dir().makeDir("d/Music");
    fixture.dir().writeFile("d/readme.txt");
    tree.SetPath(fixture.drive("d") + "/Music");
    EXPECT_EQ(childTexts(driveNode("d")), (QStringList{".config", "Music"}));
    tree.SetIncludeHidden(false);
    EXPECT_EQ(childTexts(driveNode("d")), (QStringList{"Music"}));
}

TEST_F(TreeTest, RefreshTreeMergesChangesAndKeepsTheNodesThatStay) {
    for (const char* name : {"alpha", "beta/inner", "gamma", "delta"})
        fixture.dir().makeDir(std::string("d/") + name);
    tree.SetPath(fixture.drive("d") + "/beta/inner");
    QTreeWidgetItem* d = driveNode("d");
    ASSERT_EQ(childTexts(d), (QStringList{"alpha", "beta", "delta", "gamma"}));
    QTreeWidgetItem* alpha = d->child(0);
    QTreeWidgetItem* beta = d->child(1);
    QTreeWidgetItem* inner = beta->child(0);
    EXPECT_TRUE(beta->isExpanded());
    QSignalSpy changes(&tree, &TShellTreeView::OnChange);

    fixture.dir().makeDir("d/Bar");
    fixture.dir().makeDir("d/epsilon");
    std::filesystem::remove(fixture.drive("d") + "/delta");
    tree.RefreshTree();

    EXPECT_EQ(childTexts(d), (QStringList{"alpha", "Bar", "beta", "epsilon", "gamma"}));
    EXPECT_EQ(d->child(0), alpha);
    EXPECT_EQ(d->child(2), beta);
    EXPECT_TRUE(beta->isExpanded());
    EXPECT_EQ(beta->child(0), inner);
    EXPECT_EQ(tree.currentItem(), inner);
    EXPECT_EQ(changes.count(), 0);

    // Removing the selected folder moves the selection, with the event.
    std::filesystem::remove_all(fixture.drive("d") + "/beta");
    tree.RefreshTree();
    EXPECT_EQ(childTexts(d), (QStringList{"alpha", "Bar", "epsilon", "gamma"}));
    EXPECT_EQ(changes.count(), 1);
    EXPECT_NE(tree.currentItem(), nullptr);
}

TEST_F(TreeTest, AFolderWithoutSubfoldersLosesItsButtonWhenExpanded) {
    fixture.dir().makeDir("d/box/item");
    fixture.dir().makeDir("d/empty");
    tree.expandItem(driveNode("d"));
    QTreeWidgetItem* box = childNamed(driveNode("d"), "box");
    QTreeWidgetItem* empty = childNamed(driveNode("d"), "empty");
    ASSERT_TRUE(box && empty);
    EXPECT_EQ(box->childIndicatorPolicy(), QTreeWidgetItem::ShowIndicator);
    EXPECT_NE(empty->childIndicatorPolicy(), QTreeWidgetItem::ShowIndicator);

    std::filesystem::remove(fixture.drive("d") + "/box/item");
    tree.expandItem(box);
    EXPECT_EQ(box->childCount(), 0);
    EXPECT_NE(box->childIndicatorPolicy(), QTreeWidgetItem::ShowIndicator);
    EXPECT_FALSE(box->isExpanded());
}

TEST_F(TreeTest, KeypadStarExpandsTheSubtreeOnItsVolumeWithoutFollowingLinks) {
    fixture.dir().makeDir("d/elsewhere/inside");
    fixture.dir().makeDir("d/top/proc/inside");
    fixture.dir().makeDir("d/top/z/deep/deeper");
    std::filesystem::create_directory_symlink(fixture.drive("d") + "/elsewhere",
                                              fixture.drive("d") + "/top/alias");
    fixture.writeMountTable(
        NamespaceFixture::mountLine(fixture.drive("d") + "/top/proc", "proc", "proc"));
    tree.SetPath(fixture.drive("d") + "/top");
    QTreeWidgetItem* top = tree.currentItem();
    ASSERT_FALSE(top->isExpanded());

    QTest::keyClick(&tree, Qt::Key_Asterisk, Qt::KeypadModifier);
    // The node itself at once; the folders below it while the event loop runs.
    EXPECT_TRUE(top->isExpanded());
    ASSERT_EQ(childTexts(top), (QStringList{"alias", "proc", "z"}));
    QTreeWidgetItem* z = childNamed(top, "z");
    EXPECT_FALSE(z->isExpanded());
    // Breadth first: once "deep" is open, everything before it has had its turn.
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
            QTreeWidgetItem* deep = childNamed(z, "deep");
            return deep && deep->isExpanded();
        },
        15000));
    EXPECT_TRUE(z->isExpanded());
    // Neither the link nor the other volume is read; the user may still open them.
    for (const char* name : {"alias", "proc"}) {
        QTreeWidgetItem* node = childNamed(top, name);
        EXPECT_FALSE(node->isExpanded()) << name;
        EXPECT_EQ(node->childCount(), 0) << name;
        tree.expandItem(node);
        EXPECT_EQ(childTexts(node), QStringList{"inside"}) << name;
    }
}

TEST_F(TreeTest, ALeftClickSelectsOnReleaseAndARightClickNever) {
    tree.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&tree));
    QTreeWidgetItem* d = driveNode("d");
    QSignalSpy changes(&tree, &TShellTreeView::OnChange);
    const QRect cell = tree.visualItemRect(d);
    const QPoint label(cell.left() + 24, cell.center().y());

    QTest::mousePress(tree.viewport(), Qt::LeftButton, {}, label);
    EXPECT_EQ(changes.count(), 0);
    EXPECT_EQ(tree.currentItem(), root());
    QTest::mouseRelease(tree.viewport(), Qt::LeftButton, {}, label);
    EXPECT_EQ(changes.count(), 1);
    EXPECT_EQ(tree.currentItem(), d);

    // A press on the expand button of the network arms nothing.
    QTreeWidgetItem* network = root()->child(1);
    const QRect networkCell = tree.visualItemRect(network);
    const QPoint button(networkCell.left() - tree.indentation() / 2, networkCell.center().y());
    QTest::mousePress(tree.viewport(), Qt::LeftButton, {}, button);
    QTest::mouseRelease(tree.viewport(), Qt::LeftButton, {}, button);
    EXPECT_EQ(tree.currentItem(), d);
    EXPECT_TRUE(network->isExpanded()); // the button expands, reading the children
    EXPECT_EQ(childTexts(network), (QStringList{driveText("net")}));

    const QRect cCell = tree.visualItemRect(driveNode("c"));
    const QPoint cLabel(cCell.left() + 24, cCell.center().y());
    QTest::mousePress(tree.viewport(), Qt::RightButton, {}, cLabel);
    QTest::mouseRelease(tree.viewport(), Qt::RightButton, {}, cLabel);
    QContextMenuEvent menu(QContextMenuEvent::Mouse, cLabel, tree.viewport()->mapToGlobal(cLabel));
    QCoreApplication::sendEvent(tree.viewport(), &menu);
    EXPECT_EQ(tree.currentItem(), d);
    EXPECT_EQ(changes.count(), 1);
}

TEST_F(TreeTest, NothingChangesTheSelectionWhileTheWindowIsClosing) {
    tree.SetPath(fixture.drive("d"));
    QSignalSpy changes(&tree, &TShellTreeView::OnChange);
    tree.DestroyWnd();
    EXPECT_TRUE(tree.Closing());
    EXPECT_EQ(tree.topLevelItemCount(), 0);
    EXPECT_EQ(changes.count(), 0);
    EXPECT_EQ(tree.Path(), "");

    // Created again, the tree selects what was selected before.
    tree.CreateWnd();
    EXPECT_FALSE(tree.Closing());
    EXPECT_EQ(tree.Path(), fixture.drive("d") + "/");
}

} // namespace
} // namespace ordinalette::foldertree
