#include "app/tree/t_shell_tree_view.h"
#include "app/tree/tests/tree_nodes.h"
#include "foldertree/tests/namespace_fixture.h"

#include <QLineEdit>
#include <QScrollBar>
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

    QModelIndex root() const { return tree.rootNode(); }
    QModelIndex computer() const { return tree.model()->index(0, 0, root()); }
    QString driveText(const std::string& name) const {
        return QString::fromStdString(name + " (" + fixture.drive(name) + ")");
    }
    QModelIndex driveNode(const std::string& name) const {
        return childNamed(computer(), driveText(name));
    }
    // How many pixels of the row show the selection's colour.
    int highlightedPixels(const QModelIndex& node) {
        const QImage shown = tree.viewport()->grab().toImage();
        const QRgb highlight = tree.palette().color(QPalette::Active, QPalette::Highlight).rgb();
        const QRect row = tree.visualRect(node);
        int count = 0;
        for (int y = row.top(); y <= row.bottom(); ++y) {
            for (int x = 0; x < shown.width(); ++x)
                count += shown.pixel(x, y) == highlight ? 1 : 0;
        }
        return count;
    }
    QPoint labelOf(const QModelIndex& node) const {
        const QRect cell = tree.visualRect(node);
        return {cell.left() + 24, cell.center().y()};
    }

    NamespaceFixture fixture;
    TShellTreeView tree;
};

TEST_F(TreeTest, BuildingTheRootSelectsTheDesktopWithMyComputerExpanded) {
    ASSERT_EQ(tree.model()->rowCount(), 1);
    EXPECT_EQ(root().data().toString(), "デスクトップ");
    EXPECT_EQ(tree.currentIndex(), root());
    EXPECT_TRUE(tree.isExpanded(root()));
    EXPECT_TRUE(tree.isExpanded(computer()));
    EXPECT_EQ(childTexts(root()), (QStringList{"コンピュータ", "ネットワーク", "ごみ箱"}));
    EXPECT_EQ(childTexts(computer()),
              (QStringList{driveText("c"), driveText("d"), driveText("net")}));
}

TEST_F(TreeTest, PathOfTheRootAVirtualItemADriveAndAFolder) {
    fixture.dir().makeDir("d/photos");
    EXPECT_EQ(tree.Path(), fixture.desktop());
    tree.setCurrentIndex(computer());
    EXPECT_EQ(tree.Path(), "");
    tree.setCurrentIndex(tree.model()->index(2, 0, root()));
    EXPECT_EQ(tree.Path(), "");
    tree.SetPath(fixture.drive("d"));
    EXPECT_EQ(tree.Path(), fixture.drive("d") + "/");
    tree.SetPath(fixture.drive("d") + "/photos");
    EXPECT_EQ(tree.Path(), fixture.drive("d") + "/photos");
    EXPECT_EQ(tree.currentIndex().data().toString(), "photos");
}

TEST_F(TreeTest, WritingPathFiresOnlyForARealChangeOfSelection) {
    fixture.dir().makeDir("d/photos");
    tree.FullCollapse();
    EXPECT_FALSE(tree.isExpanded(root()));
    EXPECT_EQ(tree.currentIndex(), root());
    QSignalSpy changes(&tree, &TShellTreeView::OnChange);

    tree.SetPath(fixture.drive("d") + "/missing");
    tree.SetPath("not a path");
    EXPECT_EQ(changes.count(), 0);
    EXPECT_EQ(tree.currentIndex(), root());

    // The drive's root while everything is collapsed: My Computer expands, one event.
    tree.SetPath(fixture.drive("d") + "/");
    EXPECT_EQ(changes.count(), 1);
    EXPECT_TRUE(tree.isExpanded(computer()));
    EXPECT_EQ(tree.currentIndex(), driveNode("d"));
    EXPECT_EQ(tree.Path(), fixture.drive("d") + "/");

    tree.SetPath(fixture.drive("d"));
    EXPECT_EQ(changes.count(), 1);

    // A path that parses but whose node the tree never shows (a file) selects the root.
    fixture.dir().writeFile("d/photos/a.jpg");
    tree.SetPath(fixture.drive("d") + "/photos/a.jpg");
    EXPECT_EQ(changes.count(), 2);
    EXPECT_EQ(tree.currentIndex(), root());
}

TEST_F(TreeTest, ASelectedFolderThatGoesMovesTheSelectionToItsParentWithTheEvent) {
    fixture.dir().makeDir("d/beta/inner");
    fixture.dir().makeDir("d/alpha");
    tree.SetPath(fixture.drive("d") + "/beta/inner");
    const QPersistentModelIndex alpha = childNamed(driveNode("d"), "alpha");
    QSignalSpy changes(&tree, &TShellTreeView::OnChange);
    std::filesystem::remove_all(fixture.drive("d") + "/beta");
    tree.RefreshTree();
    EXPECT_EQ(childTexts(driveNode("d")), (QStringList{"alpha"}));
    EXPECT_EQ(changes.count(), 1);
    EXPECT_EQ(tree.currentIndex(), driveNode("d"));
    EXPECT_EQ(tree.Path(), fixture.drive("d") + "/");
    EXPECT_TRUE(alpha.isValid());
}

TEST_F(TreeTest, AnExpandedFolderShownAgainByExpandingItsParentIsReadAgain) {
    fixture.dir().makeDir("d/top/inner/old");
    tree.SetPath(fixture.drive("d") + "/top/inner/old");
    const QModelIndex inner = tree.currentIndex().parent();
    const QModelIndex top = inner.parent();
    tree.collapse(top);
    fixture.dir().makeDir("d/top/inner/new");
    // A re-read meanwhile leaves what the collapsed folder holds alone.
    tree.RefreshTree();
    tree.expand(top);
    ASSERT_TRUE(tree.isExpanded(inner));
    EXPECT_EQ(childTexts(inner), (QStringList{"new", "old"}));
}

TEST_F(TreeTest, FoldersThatComeOrGoAboveTheScrolledPartLeaveTheFirstVisibleOneInPlace) {
    for (int i = 100; i < 200; ++i)
        fixture.dir().makeDir("d/f" + std::to_string(i));
    tree.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&tree));
    tree.expand(driveNode("d"));
    const QPersistentModelIndex kept = childNamed(driveNode("d"), "f150");
    tree.scrollTo(kept, QAbstractItemView::PositionAtTop);
    ASSERT_EQ(tree.indexAt(QPoint(0, 0)), kept);

    fixture.dir().makeDir("d/a1");
    fixture.dir().makeDir("d/a2");
    std::filesystem::remove(fixture.drive("d") + "/f100");
    tree.RefreshTree();
    EXPECT_EQ(tree.indexAt(QPoint(0, 0)), kept);
}

TEST_F(TreeTest, AFolderWithoutSubfoldersLosesItsButtonWhenExpanded) {
    fixture.dir().makeDir("d/box/item");
    fixture.dir().makeDir("d/empty");
    tree.expand(driveNode("d"));
    const QModelIndex box = childNamed(driveNode("d"), "box");
    const QModelIndex empty = childNamed(driveNode("d"), "empty");
    ASSERT_TRUE(box.isValid() && empty.isValid());
    EXPECT_TRUE(tree.shellModel().showsButton(box));
    EXPECT_FALSE(tree.shellModel().showsButton(empty));

    std::filesystem::remove(fixture.drive("d") + "/box/item");
    tree.expand(box);
    EXPECT_EQ(tree.model()->rowCount(box), 0);
    EXPECT_FALSE(tree.shellModel().showsButton(box));
    EXPECT_FALSE(tree.isExpanded(box));
}

TEST_F(TreeTest, ExpandButtonsAreProbedForThePaintedRowsOnly) {
    for (int i = 0; i < 200; ++i)
        fixture.dir().makeDir("d/f" + std::to_string(1000 + i));
    fixture.dir().makeDir("d/f1000/inner");
    tree.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&tree));
    tree.SetPath(fixture.drive("d") + "/f1000");
    tree.expand(driveNode("d"));
    const QModelIndex first = childNamed(driveNode("d"), "f1000");
    const QModelIndex second = childNamed(driveNode("d"), "f1001");
    const QModelIndex last = childNamed(driveNode("d"), "f1199");
    // Painting the rows in view learns their buttons and lays them out again.
    ASSERT_TRUE(QTest::qWaitFor([&] { return !tree.model()->hasChildren(second); }, 15000));
    EXPECT_TRUE(tree.model()->hasChildren(first));
    EXPECT_FALSE(TShellTreeView::recordOf(last)->hasButton.has_value());
    tree.scrollTo(last);
    EXPECT_TRUE(QTest::qWaitFor([&] { return !tree.model()->hasChildren(last); }, 15000));
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
    const QModelIndex top = tree.currentIndex();
    ASSERT_FALSE(tree.isExpanded(top));

    QTest::keyClick(&tree, Qt::Key_Asterisk, Qt::KeypadModifier);
    // The node itself at once; the folders below it while the event loop runs.
    EXPECT_TRUE(tree.isExpanded(top));
    ASSERT_EQ(childTexts(top), (QStringList{"alias", "proc", "z"}));
    const QModelIndex z = childNamed(top, "z");
    EXPECT_FALSE(tree.isExpanded(z));
    // Breadth first: once "deep" is open, everything before it has had its turn.
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
            const QModelIndex deep = childNamed(z, "deep");
            return deep.isValid() && tree.isExpanded(deep);
        },
        15000));
    EXPECT_TRUE(tree.isExpanded(z));
    // Neither the link nor the other volume is read; the user may still open them.
    for (const char* name : {"alias", "proc"}) {
        const QModelIndex node = childNamed(top, name);
        EXPECT_FALSE(tree.isExpanded(node)) << name;
        EXPECT_EQ(tree.model()->rowCount(node), 0) << name;
        tree.expand(node);
        EXPECT_EQ(childTexts(node), QStringList{"inside"}) << name;
    }
}

TEST_F(TreeTest, LinesAndPlusOrMinusBoxesJoinTheNodesAndTheSelectionShowsOnlyWithTheFocus) {
    fixture.dir().makeDir("d/a/inner");
    fixture.dir().makeDir("d/b");
    QLineEdit elsewhere;
    elsewhere.show();
    tree.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&tree));
    tree.SetPath(fixture.drive("d") + "/b");
    const QModelIndex a = childNamed(driveNode("d"), "a");
    tree.activateWindow();
    tree.setFocus();
    ASSERT_TRUE(QTest::qWaitFor([&] { return tree.hasFocus(); }));
    const QImage shown = tree.viewport()->grab().toImage();
    const QRgb line = tree.palette().color(QPalette::Dark).rgb();
    const QRect row = tree.visualRect(a);
    const int indent = tree.indentation();
    const QPoint centre(row.left() - indent + indent / 2, row.center().y());
    // The line from d down to a and on to b, beside a's box with its plus.
    int dots = 0;
    for (int y = row.top(); y < centre.y() - 4; ++y)
        dots += shown.pixel(centre.x(), y) == line ? 1 : 0;
    EXPECT_GT(dots, 0);
    EXPECT_EQ(shown.pixel(centre.x() - 4, centre.y()), line);
    EXPECT_EQ(shown.pixel(centre.x(), centre.y() - 2), tree.palette().color(QPalette::Text).rgb());
    EXPECT_GT(highlightedPixels(tree.currentIndex()), 0);

    elsewhere.activateWindow();
    elsewhere.setFocus();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !tree.hasFocus(); }));
    EXPECT_EQ(highlightedPixels(tree.currentIndex()), 0);
}

TEST_F(TreeTest, ALeftClickSelectsOnReleaseAndARightClickNever) {
    tree.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&tree));
    const QModelIndex d = driveNode("d");
    QSignalSpy changes(&tree, &TShellTreeView::OnChange);
    const QPoint label = labelOf(d);

    QTest::mousePress(tree.viewport(), Qt::LeftButton, {}, label);
    EXPECT_EQ(changes.count(), 0);
    EXPECT_EQ(tree.currentIndex(), root());
    // While the button is held only the pressed node shows as selected.
    EXPECT_EQ(highlightedPixels(root()), 0);
    EXPECT_GT(highlightedPixels(d), 0);
    QTest::mouseRelease(tree.viewport(), Qt::LeftButton, {}, label);
    EXPECT_EQ(changes.count(), 1);
    EXPECT_EQ(tree.currentIndex(), d);
    EXPECT_GT(highlightedPixels(d), 0);

    // A press on the expand button of the network arms nothing.
    const QModelIndex network = tree.model()->index(1, 0, root());
    const QRect networkCell = tree.visualRect(network);
    const QPoint button(networkCell.left() - tree.indentation() / 2, networkCell.center().y());
    QTest::mousePress(tree.viewport(), Qt::LeftButton, {}, button);
    QTest::mouseRelease(tree.viewport(), Qt::LeftButton, {}, button);
    EXPECT_EQ(tree.currentIndex(), d);
    EXPECT_TRUE(tree.isExpanded(network)); // the button expands, reading the children
    EXPECT_EQ(childTexts(network), (QStringList{driveText("net")}));

    const QPoint cLabel = labelOf(driveNode("c"));
    QTest::mousePress(tree.viewport(), Qt::RightButton, {}, cLabel);
    QTest::mouseRelease(tree.viewport(), Qt::RightButton, {}, cLabel);
    QContextMenuEvent menu(QContextMenuEvent::Mouse, cLabel, tree.viewport()->mapToGlobal(cLabel));
    QCoreApplication::sendEvent(tree.viewport(), &menu);
    EXPECT_EQ(tree.currentIndex(), d);
    EXPECT_EQ(changes.count(), 1);
}

TEST_F(TreeTest, RightOpensAFolderGoesToItsFirstChildAndOnAChildlessOneMovesNothing) {
    fixture.dir().makeDir("d/" + std::string(120, 'w') + "/inner");
    fixture.dir().makeDir("d/" + std::string(120, 'x'));
    tree.resize(150, 300);
    tree.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&tree));
    tree.SetPath(fixture.drive("d") + "/" + std::string(120, 'w'));
    const QModelIndex wide = tree.currentIndex();
    QTest::keyClick(&tree, Qt::Key_Right);
    EXPECT_TRUE(tree.isExpanded(wide));
    QTest::keyClick(&tree, Qt::Key_Right);
    EXPECT_EQ(tree.currentIndex().data().toString(), "inner");

    tree.SetPath(fixture.drive("d") + "/" + std::string(120, 'x'));
    ASSERT_GT(tree.horizontalScrollBar()->maximum(), 0);
    tree.horizontalScrollBar()->setValue(0);
    QTest::keyClick(&tree, Qt::Key_Right);
    EXPECT_EQ(tree.horizontalScrollBar()->value(), 0);
    EXPECT_EQ(tree.Path(), fixture.drive("d") + "/" + std::string(120, 'x'));
}

TEST_F(TreeTest, NothingChangesTheSelectionWhileTheWindowIsClosing) {
    tree.SetPath(fixture.drive("d"));
    QSignalSpy changes(&tree, &TShellTreeView::OnChange);
    tree.DestroyWnd();
    EXPECT_TRUE(tree.closing());
    EXPECT_EQ(tree.model()->rowCount(), 0);
    EXPECT_EQ(changes.count(), 0);
    EXPECT_EQ(tree.Path(), "");

    // Created again, the tree selects what was selected before.
    tree.CreateWnd();
    EXPECT_FALSE(tree.closing());
    EXPECT_EQ(tree.Path(), fixture.drive("d") + "/");
}

} // namespace
} // namespace ordinalette::foldertree
