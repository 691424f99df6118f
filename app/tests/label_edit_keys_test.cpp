#include "app/controls/t_bit_btn.h"
#include "app/controls/t_list_box.h"
#include "app/t_form1.h"
#include "app/tests/form_fixture.h"
#include "app/tree/t_shell_tree_view.h"

#include <QApplication>
#include <QKeyEvent>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <filesystem>
#include <gtest/gtest.h>

namespace ordinalette::app {
namespace {

// Enter and Escape typed to end a folder's label edit in the tree, whatever ended the edit
// before the key arrived: they never press Start or End.
class LabelEditKeys : public ::testing::Test {
protected:
    void SetUp() override {
        fixture.names.dir().makeDir(kDesktop + "/photos");
        fixture.names.dir().writeFile(kDesktop + "/a.jpg");
        fixture.names.dir().writeFile(kDesktop + "/b.jpg");
        ASSERT_TRUE(fixture.showActive());
        // A Start that opens a dialog (an empty list, a folder renamed behind the list) shows
        // in the count rather than waiting for the dialog.
        closeDialogs.callOnTimeout([] {
            if (QWidget* dialog = QApplication::activeModalWidget())
                dialog->close();
        });
        closeDialogs.start(10);
    }

    // Selects the folder, opens its label editor from the keyboard and types into it.
    QWidget* editLabel(const QString& typed) {
        tree->SetPath(fixture.names.desktop() + "/photos");
        tree->setFocus();
        QTest::keyClick(tree, Qt::Key_F2);
        QWidget* editor = QApplication::focusWidget();
        if (editor == tree)
            return nullptr;
        QTest::keyClicks(editor, typed);
        return editor;
    }
    // The folder is removed from outside, and the watcher's re-read takes its node away: the
    // selection moves to the desktop directory, whose files the list then shows.
    void removeFromOutside() {
        std::filesystem::remove(fixture.names.desktop() + "/photos");
        tree->FoldersChanged();
        ASSERT_EQ(form.ListBox1->count(), 2);
    }
    void type(Qt::Key key) { QTest::keyClick(QApplication::focusWidget(), key); }
    std::vector<std::string> desktopFiles() const { return fixture.names.dir().entries(kDesktop); }

    const std::string kDesktop = "c/home/me/Desktop";
    testing::FormFixture fixture;
    TForm1& form = fixture.form;
    foldertree::TShellTreeView* tree = form.ShellTreeView1;
    QSignalSpy start{form.BitBtn1, &QAbstractButton::clicked};
    QTimer closeDialogs;
};

TEST_F(LabelEditKeys, TheFirstEnterOrEscapeAfterTheProgramEndedAnEditIsTheEdits) {
    ASSERT_NE(editLabel("ne"), nullptr);
    removeFromOutside();
    // The focus stays on the tree rather than going on to Start.
    EXPECT_EQ(QApplication::focusWidget(), tree);
    type(Qt::Key_Return);
    EXPECT_EQ(start.count(), 0);
    EXPECT_EQ(desktopFiles(), (std::vector<std::string>{"a.jpg", "b.jpg"}));
    // Once the edit's key has been typed, Enter is the window's again.
    type(Qt::Key_Return);
    EXPECT_EQ(start.count(), 1);

    fixture.names.dir().makeDir(kDesktop + "/photos");
    tree->RefreshTree();
    ASSERT_NE(editLabel("ne"), nullptr);
    removeFromOutside();
    type(Qt::Key_Escape);
    EXPECT_TRUE(form.isVisible());

    // A click shows that the user has turned to the window.
    fixture.names.dir().makeDir(kDesktop + "/photos");
    tree->RefreshTree();
    ASSERT_NE(editLabel("ne"), nullptr);
    removeFromOutside();
    QTest::mouseClick(form.ListBox1->viewport(), Qt::LeftButton);
    type(Qt::Key_Return);
    EXPECT_EQ(start.count(), 2);
}

TEST_F(LabelEditKeys, TheEnterThatEndsAnEditIsTheEditsUntilItsRelease) {
    // The edit ended by a re-read between the press and the release.
    QWidget* editor = editLabel("ne");
    ASSERT_NE(editor, nullptr);
    QTest::keyPress(editor, Qt::Key_Return);
    removeFromOutside();
    QTest::keyRelease(QApplication::focusWidget(), Qt::Key_Return);
    QCoreApplication::processEvents();
    EXPECT_EQ(start.count(), 0);

    // The user's own Enter renames, and the key held down repeats on the tree.
    fixture.names.dir().makeDir(kDesktop + "/photos");
    tree->RefreshTree();
    editor = editLabel("new");
    ASSERT_NE(editor, nullptr);
    QTest::keyPress(editor, Qt::Key_Return);
    ASSERT_TRUE(QTest::qWaitFor([&] { return QApplication::focusWidget() == tree; }, 15000));
    for (int repeat = 0; repeat < 3; ++repeat) {
        QKeyEvent release(QEvent::KeyRelease, Qt::Key_Return, Qt::NoModifier, "\r", true);
        QKeyEvent press(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier, "\r", true);
        QApplication::sendEvent(tree, &release);
        QApplication::sendEvent(tree, &press);
    }
    QTest::keyRelease(tree, Qt::Key_Return);
    EXPECT_EQ(start.count(), 0);
    EXPECT_EQ(desktopFiles(), (std::vector<std::string>{"a.jpg", "b.jpg", "new"}));

    type(Qt::Key_Return);
    EXPECT_EQ(start.count(), 1);
}

} // namespace
} // namespace ordinalette::app
