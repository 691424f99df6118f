#include "app/tree/t_shell_tree_view.h"
#include "app/tree/tests/tree_nodes.h"
#include "foldertree/t_sh_dir_watcher.h"
#include "foldertree/tests/namespace_fixture.h"
#include "platform/posix/posix_file_system.h"
#include "testsupport/no_replace_refusing_calls.h"

#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>
#include <filesystem>
#include <functional>
#include <gtest/gtest.h>

namespace ordinalette::foldertree {
namespace {

using testing::childNamed;
using testing::childTexts;
using testing::NamespaceFixture;

class RenameTest : public ::testing::Test {
protected:
    explicit RenameTest(platform::FileSystem& fileSystem = platform::systemFileSystem())
        : fixture(fileSystem) {
        fixture.dir().makeDir("d/old/inner");
        fixture.dir().makeDir("d/m");
        tree = std::make_unique<TShellTreeView>(fixture.shellNamespace());
        tree->resize(400, 600);
        tree->SetPath(fixture.drive("d") + "/old/inner");
        tree->SetPath(fixture.drive("d") + "/old");
        drive = childNamed(tree->model()->index(0, 0, tree->rootNode()),
                           QString::fromStdString("d (" + fixture.drive("d") + ")"));
    }

    // The label editor while one is open.
    QLineEdit* openEditor() const {
        for (auto* editor : tree->viewport()->findChildren<QLineEdit*>()) {
            if (!editor->isHidden())
                return editor;
        }
        return nullptr;
    }

    // Edits the node's label the way a user does: type the text, press Enter.
    bool typeName(const QModelIndex& node, const QString& text) {
        tree->edit(node);
        QLineEdit* editor = openEditor();
        if (!editor)
            return false;
        editor->setText(text);
        QTest::keyClick(editor, Qt::Key_Return);
        // The editor commits and closes through the event loop.
        return QTest::qWaitFor([&] { return openEditor() == nullptr; }, 15000);
    }

    NamespaceFixture fixture;
    std::unique_ptr<TShellTreeView> tree;
    QPersistentModelIndex drive;
    // The errors the tree raised, in order.
    std::vector<std::string> shown;

    void collectErrors(const std::function<void()>& check = {}) {
        QObject::connect(tree.get(), &TShellTreeView::errorRaised,
                         [this, check](const std::exception& error) {
                             if (check)
                                 check();
                             shown.emplace_back(error.what());
                         });
    }
};

TEST_F(RenameTest, RenamingTheSelectedFolderKeepsSelectionAndExpansionWithoutAnEvent) {
    const QPersistentModelIndex old = tree->currentIndex();
    ASSERT_EQ(old.data().toString(), "old");
    ASSERT_TRUE(tree->isExpanded(old));
    QSignalSpy changes(tree.get(), &TShellTreeView::OnChange);

    ASSERT_TRUE(typeName(old, "alpha"));
    EXPECT_EQ(changes.count(), 0);
    EXPECT_EQ(tree->currentIndex(), old);
    EXPECT_EQ(old.data().toString(), "alpha");
    EXPECT_EQ(tree->Path(), fixture.drive("d") + "/alpha");
    EXPECT_EQ(childTexts(drive), (QStringList{"alpha", "m"})); // at its sorted place
    EXPECT_TRUE(tree->isExpanded(old));
    EXPECT_EQ(childTexts(old), (QStringList{"inner"}));
    EXPECT_EQ(fixture.dir().entries("d"), (std::vector<std::string>{"alpha", "m"}));

    // Watching resumes over the new path.
    EXPECT_TRUE(QTest::qWaitFor(
        [&] {
            const auto visible = tree->visibleFolders();
            return std::count(visible.begin(), visible.end(),
                              fixture.drive("d") + "/alpha/inner") == 1 &&
                   tree->watcher()->watchCount() == visible.size();
        },
        15000));
}

TEST_F(RenameTest, ARefusedNameShowsTheOldOneAgainTellsWhyAndMovesNothing) {
    const QPersistentModelIndex old = tree->currentIndex();
    QSignalSpy changes(tree.get(), &TShellTreeView::OnChange);
    collectErrors([&] {
        EXPECT_EQ(old.data().toString(), "old") << "the old name is back before the message";
    });
    const std::string told = "フォルダ old の名前を変更できません\n";
    ASSERT_TRUE(typeName(old, "old")); // an unchanged label is no failure
    for (const QString& refused :
         {QString("m"), QString("a/b"), QString(".."), QString(""),
          QString("x") + QChar(0xD800)}) { // no code page holds a lone surrogate
        ASSERT_TRUE(typeName(old, refused));
        EXPECT_EQ(old.data().toString(), "old") << refused.toStdString();
    }
    EXPECT_EQ(shown, (std::vector<std::string>{
                         told + "I/O エラー (183)", told + "不正なファイル名です",
                         told + "不正なファイル名です", told + "不正なファイル名です",
                         told + "不正なファイル名です"}));
    EXPECT_EQ(fixture.dir().entries("d"), (std::vector<std::string>{"m", "old"}));
    EXPECT_EQ(fixture.dir().entries("d/old"), (std::vector<std::string>{"inner"}));
    EXPECT_EQ(tree->Path(), fixture.drive("d") + "/old");
    EXPECT_EQ(changes.count(), 0);
}

// A file system that refuses RENAME_NOREPLACE, as NFS and FUSE without rename2 do. It is made
// before the tree, which renames through it.
struct NoReplaceRefused {
    testsupport::NoReplaceRefusingCalls calls;
    platform::PosixFileSystem fileSystem{platform::CodePage::utf8(), calls};
};

class RenameWithoutNoReplaceTest : private NoReplaceRefused, public RenameTest {
protected:
    RenameWithoutNoReplaceTest() : RenameTest(fileSystem) {}
};

TEST_F(RenameWithoutNoReplaceTest, AFolderIsRenamedAndNeverReplacesAnother) {
    const QPersistentModelIndex old = tree->currentIndex();
    collectErrors();
    ASSERT_TRUE(typeName(old, "m"));
    EXPECT_EQ(old.data().toString(), "old");
    ASSERT_TRUE(typeName(old, "alpha"));
    EXPECT_EQ(shown,
              std::vector<std::string>{"フォルダ old の名前を変更できません\nI/O エラー (183)"});
    EXPECT_EQ(old.data().toString(), "alpha");
    EXPECT_EQ(tree->Path(), fixture.drive("d") + "/alpha");
    EXPECT_EQ(fixture.dir().entries("d"), (std::vector<std::string>{"alpha", "m"}));
    EXPECT_EQ(fixture.dir().entries("d/alpha"), std::vector<std::string>{"inner"});
}

TEST_F(RenameTest, AnEditTheProgramEndsDropsTheTypedTextWhileTheUsersOwnEndsRename) {
    const QPersistentModelIndex old = tree->currentIndex();
    const auto typeInto = [&](const QModelIndex& node, const QString& text) {
        tree->edit(node);
        QLineEdit* editor = openEditor();
        if (editor)
            QTest::keyClicks(editor, text);
        return editor;
    };

    // A volume unmounted meanwhile moves the selection to My Computer.
    ASSERT_NE(typeInto(old, "half"), nullptr);
    auto removal = std::make_unique<TDeviceChangeData>();
    removal->Event = DeviceEvent::RemoveComplete;
    removal->Kind = DeviceKind::Media;
    removal->Text = " (" + fixture.drive("c") + ")";
    removal->Drive = fixture.shellNamespace()->driveIDList(fixture.drive("c"));
    tree->DeviceChanged(std::move(removal));
    EXPECT_EQ(openEditor(), nullptr);
    EXPECT_EQ(old.data().toString(), "old");

    // The window destroyed and created again.
    tree->SetPath(fixture.drive("d") + "/m");
    ASSERT_NE(typeInto(tree->currentIndex(), "half"), nullptr);
    tree->DestroyWnd();
    tree->CreateWnd();
    QCoreApplication::processEvents();
    EXPECT_EQ(fixture.dir().entries("d"), (std::vector<std::string>{"m", "old"}));

    // The user's own ends: Enter, and a click elsewhere that takes the focus.
    tree->show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(tree.get()));
    QLineEdit* editor = typeInto(tree->currentIndex(), "enter");
    ASSERT_NE(editor, nullptr);
    QTest::keyClick(editor, Qt::Key_Return);
    ASSERT_TRUE(QTest::qWaitFor([&] { return openEditor() == nullptr; }, 15000));
    ASSERT_NE(typeInto(tree->currentIndex(), "clicked"), nullptr);
    QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, tree->viewport()->rect().bottomLeft());
    ASSERT_TRUE(QTest::qWaitFor([&] { return openEditor() == nullptr; }, 15000));
    EXPECT_EQ(fixture.dir().entries("d"), (std::vector<std::string>{"clicked", "old"}));
}

TEST_F(RenameTest, F2OrASecondClickOnTheSelectedLabelStartsEditing) {
    tree->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(tree.get()));
    QTest::keyClick(tree.get(), Qt::Key_F2);
    QLineEdit* editor = openEditor();
    ASSERT_NE(editor, nullptr);
    QTest::keyClick(editor, Qt::Key_Escape);
    ASSERT_TRUE(QTest::qWaitFor([&] { return openEditor() == nullptr; }, 15000));

    const QRect cell = tree->visualRect(tree->currentIndex());
    const QPoint label(cell.left() + 24, cell.center().y());
    QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, label);
    EXPECT_TRUE(QTest::qWaitFor([&] { return openEditor() != nullptr; }, 15000));
    EXPECT_EQ(tree->Path(), fixture.drive("d") + "/old"); // cancelled: nothing renamed
}

TEST_F(RenameTest, AnUnchangedLabelLeavesANameWithUndecodableBytesAlone) {
    fixture.dir().makeDir("d/bad\xff");
    tree->RefreshTree();
    const QPersistentModelIndex bad = childNamed(drive, QString::fromUtf8("bad\uFFFD"));
    ASSERT_TRUE(bad.isValid());
    ASSERT_TRUE(typeName(bad, bad.data().toString()));
    EXPECT_EQ(fixture.dir().entries("d"), (std::vector<std::string>{"bad\xff", "m", "old"}));
    EXPECT_EQ(bad.data().toString(), QString::fromUtf8("bad\uFFFD"));
}

TEST_F(RenameTest, TheRootDrivesAndSpecialItemsCannotBeEdited) {
    const QModelIndex root = tree->rootNode();
    for (const QModelIndex& node : {root, tree->model()->index(0, 0, root), QModelIndex(drive),
                                    tree->model()->index(1, 0, root)}) {
        EXPECT_FALSE(typeName(node, "x")) << node.data().toString().toStdString();
        EXPECT_EQ(openEditor(), nullptr);
    }
}

TEST_F(RenameTest, ImagesAreAskedAgainAfterASettingsChange) {
    std::filesystem::create_directory_symlink(fixture.drive("d") + "/m",
                                              fixture.drive("d") + "/link");
    tree->RefreshTree();
    const auto image = [&](const QModelIndex& node, QIcon::Mode mode) {
        return node.data(Qt::DecorationRole).value<QIcon>().pixmap(16, 16, mode).toImage();
    };
    const QModelIndex m = childNamed(drive, "m");
    const QModelIndex link = childNamed(drive, "link");
    ASSERT_TRUE(m.isValid() && link.isValid());
    EXPECT_NE(image(m, QIcon::Normal), image(m, QIcon::Selected));  // the open folder
    EXPECT_NE(image(m, QIcon::Normal), image(link, QIcon::Normal)); // the link emblem

    // A node inside a collapsed one is asked again too.
    const QModelIndex inner = childNamed(childNamed(drive, "old"), "inner");
    ASSERT_TRUE(inner.isValid());
    (void)image(inner, QIcon::Normal);
    tree->FullCollapse();
    ASSERT_TRUE(TShellTreeView::recordOf(inner)->imageIndex.has_value());

    QEvent styleChange(QEvent::StyleChange);
    QCoreApplication::sendEvent(tree.get(), &styleChange);
    EXPECT_TRUE(QTest::qWaitFor(
        [&] {
            return !TShellTreeView::recordOf(inner)->imageIndex &&
                   !TShellTreeView::recordOf(m)->imageIndex;
        },
        15000));
    (void)image(inner, QIcon::Normal);
    EXPECT_TRUE(TShellTreeView::recordOf(inner)->imageIndex.has_value());
}

} // namespace
} // namespace ordinalette::foldertree
