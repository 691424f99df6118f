#include "app/controls/t_bit_btn.h"
#include "app/controls/t_filter_combo_box.h"
#include "app/controls/t_label.h"
#include "app/controls/t_list_box.h"
#include "app/controls/t_progress_bar.h"
#include "app/controls/t_spin_edit.h"
#include "app/controls/t_status_bar.h"
#include "app/name_preview_dialog.h"
#include "app/name_preview_model.h"
#include "app/tests/dialog_helpers.h"
#include "app/tests/form_fixture.h"
#include "app/tree/t_shell_tree_view.h"
#include "platform/error_message.h"
#include "platform/path.h"
#include "testsupport/fault_injecting_file_system.h"

#include <QCheckBox>
#include <QContextMenuEvent>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTreeView>
#include <filesystem>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace ordinalette::app {
namespace {

using testing::whenPopupOpens;
using Operation = testsupport::FaultInjectingFileSystem::Operation;

// The window on a folder "Summer" of drive d holding the given files, or on other folders
// beside it.
class Handlers : public ::testing::Test {
protected:
    explicit Handlers(platform::FileSystem& fileSystem = platform::systemFileSystem())
        : fixture(fileSystem) {}

    void SetUp() override { ASSERT_TRUE(fixture.showActive()); }

    std::string folder(const std::string& name = "Summer") const {
        return fixture.names.drive("d") + "/" + name;
    }
    void makeFolder(const std::vector<std::string>& files, const std::string& name = "Summer") {
        fixture.names.dir().makeDir("d/" + name);
        for (const std::string& file : files)
            fixture.names.dir().writeFile("d/" + name + "/" + file, file);
    }
    static std::vector<std::string> numbered(int count, const std::string& extension) {
        std::vector<std::string> names;
        for (int i = 1; i <= count; ++i)
            names.push_back("IMG_" + std::to_string(1000 + i) + extension);
        return names;
    }
    void select(const std::string& name = "Summer") { form.ShellTreeView1->SetPath(folder(name)); }
    std::vector<std::string> onDisk(const std::string& sub = {}) const {
        return fixture.names.dir().entries("d/Summer" + (sub.empty() ? "" : "/" + sub));
    }
    QString example() const { return form.Label3->caption(); }
    void typeInto(QWidget* widget, const QString& text) {
        widget->setFocus(Qt::MouseFocusReason);
        QTest::keyClicks(widget, text);
    }
    void leave(QWidget* widget) {
        Q_UNUSED(widget);
        form.ListBox1->setFocus(Qt::MouseFocusReason);
    }
    void clickButton(QAbstractButton* button) {
        QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(6, button->height() / 2));
    }
    // Presses Start and gives the error box's text. The question about the interrupted run that
    // a failed run asks afterwards is recorded and answered with "後で" (Escape).
    QString startExpectingError() {
        QString shown;
        const testing::EveryModal answer([&](QWidget* dialog) {
            if (auto* box = qobject_cast<QMessageBox*>(dialog)) {
                shown = box->text();
                box->button(QMessageBox::Ok)->click();
                return;
            }
            questions.push_back(dialog->findChild<QLabel*>("message")->text());
            QTest::keyClick(dialog, Qt::Key_Escape);
        });
        QTest::mouseClick(form.BitBtn1, Qt::LeftButton);
        return shown;
    }
    QString interruptedQuestion(const std::string& name = "Summer") const {
        return QString::fromUtf8("前回の名前の変更が途中で終わっています。\n") +
               QString::fromStdString(folder(name));
    }

    testing::FormFixture fixture;
    TForm1& form = fixture.form;
    QStringList questions;
};

TEST_F(Handlers, SelectingAFolderRunsTheWholeChain) {
    makeFolder(numbered(12, ".JPG"));
    select();
    EXPECT_EQ(form.FolderPath, folder());
    EXPECT_EQ(form.ListBox1->count(), 12);
    EXPECT_EQ(form.ListBox1->item(0), "IMG_1001.JPG");
    EXPECT_EQ(form.StatusBar1->simpleText(), "12Files");
    EXPECT_EQ(form.Ketasu, 2);
    EXPECT_EQ(form.NamePrefix, "Summ");
    EXPECT_EQ(example(), "Summ01.jpg");
    EXPECT_EQ(form.ProgressBar1->max(), 0);
}

TEST(TwoWindows, EachKeepsItsOwnFolderDigitCountPrefixAndStartDirectory) {
    testing::FormFixture first;
    first.names.dir().makeDir("d/Summer");
    for (int i = 0; i < 12; ++i)
        first.names.dir().writeFile("d/Summer/IMG_" + std::to_string(i) + ".JPG");
    first.form.ShellTreeView1->SetPath(first.names.drive("d") + "/Summer");

    // The second window starts on the empty root of its own drive c, in its own directory.
    const testing::FormFixture second;
    EXPECT_EQ(second.form.FolderPath, second.names.drive("c") + "/");
    EXPECT_EQ(second.form.Ketasu, 0);
    EXPECT_EQ(second.form.NamePrefix, "");
    EXPECT_EQ(second.form.IniDir, second.workingDirectory.dir().path());

    EXPECT_EQ(first.form.FolderPath, first.names.drive("d") + "/Summer");
    EXPECT_EQ(first.form.Ketasu, 2);
    EXPECT_EQ(first.form.NamePrefix, "Summ");
    EXPECT_EQ(first.form.IniDir, first.workingDirectory.dir().path());
}

TEST_F(Handlers, TypedDigitCountsAreUsedAsTypedUntilTheFocusLeaves) {
    makeFolder(numbered(12, ".JPG"));
    select();
    clickButton(form.RadioButton2);
    form.SpinEdit2->selectAll();
    typeInto(form.SpinEdit2, "1");
    EXPECT_EQ(example(), "Summ1.jpg");
    leave(form.SpinEdit2);
    EXPECT_EQ(form.SpinEdit2->text(), "2");
    EXPECT_EQ(example(), "Summ01.jpg");

    form.SpinEdit1->setFocus(Qt::MouseFocusReason);
    form.SpinEdit1->selectAll();
    QTest::keyClick(form.SpinEdit1, Qt::Key_Backspace);
    EXPECT_EQ(form.NamePrefix, "");
    EXPECT_EQ(example(), "01.jpg");
    leave(form.SpinEdit1);
    EXPECT_EQ(form.SpinEdit1->text(), "");

    typeInto(form.SpinEdit1, "150");
    EXPECT_EQ(example(), "Summer01.jpg");
    leave(form.SpinEdit1);
    EXPECT_EQ(form.SpinEdit1->text(), "100");
    EXPECT_EQ(example(), "Summer01.jpg");

    // A width past any path's length pads to one digit more than the longest path.
    form.SpinEdit2->selectAll();
    typeInto(form.SpinEdit2, "1100000000");
    EXPECT_EQ(form.SpinEdit2->text(), "1100000000");
    // Compared by size first: a failure must not print a billion zeros.
    ASSERT_EQ(example().size(), 6 + platform::kMaxPathLength + 1 + 4);
    EXPECT_EQ(example(), "Summer" + QString(platform::kMaxPathLength, u'0') + "1.jpg");
    leave(form.SpinEdit2);
    EXPECT_EQ(example(), "Summer" + QString(99, u'0') + "1.jpg");
}

TEST_F(Handlers, ASeparatorTypedThroughTheInputMethodReachesTheExample) {
    makeFolder(numbered(3, ".JPG"));
    select();
    clickButton(form.CheckBox1);
    form.Edit1->setFocus(Qt::MouseFocusReason);
    QInputMethodEvent japanese;
    japanese.setCommitString(QString::fromUtf8("・"));
    QApplication::sendEvent(form.Edit1, &japanese);
    EXPECT_EQ(example(), QString::fromUtf8("Summ・1.jpg"));
}

TEST_F(Handlers, PickingTheFilterListsOnlyMatchingFiles) {
    makeFolder({"b.png", "a.JPG", "c.PNG", "d.txt"});
    select();
    EXPECT_EQ(form.StatusBar1->simpleText(), "4Files");
    form.FilterComboBox1->setFocus(Qt::MouseFocusReason);
    for (int i = 0; i < 3; ++i)
        QTest::keyClick(form.FilterComboBox1, Qt::Key_Down);
    EXPECT_EQ(form.FilterComboBox1->currentText(), QString::fromUtf8("PNGファイル"));
    EXPECT_EQ(form.ListBox1->items(), (std::vector<std::string>{"b.png", "c.PNG"}));
    EXPECT_EQ(form.StatusBar1->simpleText(), "2Files");
    EXPECT_EQ(form.SpinEdit2->text(), "1");
    EXPECT_EQ(example(), "Summ1.png");
}

TEST_F(Handlers, StartRenamesTheListedFilesAndRefreshesTheListButNotTheExample) {
    makeFolder({"b.TXT", "a.TXT", "c.txt"});
    select();
    EXPECT_EQ(example(), "Summ1.txt");
    QTest::mouseClick(form.BitBtn1, Qt::LeftButton);
    EXPECT_EQ(onDisk(), (std::vector<std::string>{"Summ1.txt", "Summ2.txt", "Summ3.txt"}));
    EXPECT_EQ(fixture.names.dir().readFile("d/Summer/Summ1.txt"), "a.TXT");
    EXPECT_EQ(form.ListBox1->items(),
              (std::vector<std::string>{"Summ1.txt", "Summ2.txt", "Summ3.txt"}));
    EXPECT_EQ(form.StatusBar1->simpleText(), "3Files");
    EXPECT_EQ(example(), "Summ1.txt");
    EXPECT_EQ(form.ProgressBar1->max(), 6); // a step per file and pass
    EXPECT_EQ(form.ProgressBar1->position(), 6);
    EXPECT_EQ(std::filesystem::current_path(), folder());

    // Enter starts a run as well; the same settings give the same names again.
    form.Edit1->setFocus(Qt::MouseFocusReason);
    QTest::keyClick(form.Edit1, Qt::Key_Return);
    EXPECT_EQ(onDisk(), (std::vector<std::string>{"Summ1.txt", "Summ2.txt", "Summ3.txt"}));
}

TEST_F(Handlers, AClashOfTheSecondPassIsShownAndLeavesTheFilesInTheTemporaryFolder) {
    makeFolder({"a.txt", "b.txt"});
    fixture.names.dir().makeDir("d/Summer/Summ1.txt");
    select();
    EXPECT_EQ(startExpectingError(), QString::fromUtf8("I/O エラー (183)"));
    EXPECT_EQ(questions, QStringList{interruptedQuestion()});
    EXPECT_EQ(onDisk("tmp1"), (std::vector<std::string>{"a.txt", "b.txt"}));
    // No relisting after a failure: the list still shows the old names.
    EXPECT_EQ(form.ListBox1->items(), (std::vector<std::string>{"a.txt", "b.txt"}));
    EXPECT_EQ(form.ProgressBar1->position(), 2); // the first pass was done
}

TEST_F(Handlers, AFolderRenamedBehindTheListFailsAtTheChangeOfDirectory) {
    makeFolder({"a.txt"});
    select();
    std::filesystem::rename(folder(), folder("Winter"));
    EXPECT_EQ(startExpectingError(),
              QString::fromStdString(platform::errorMessage(platform::error::FileNotFound)) + ".");
    EXPECT_EQ(fixture.names.dir().entries("d/Winter"), std::vector<std::string>{"a.txt"});
    EXPECT_TRUE(questions.isEmpty()) << "nothing was moved, so nothing is asked";
    EXPECT_EQ(form.FolderPath, folder());
}

TEST_F(Handlers, EnterAndEscapeEndingALabelEditInTheTreeNeitherStartNorEnd) {
    makeFolder({"b.txt", "a.txt"});
    select();
    QSignalSpy start(form.BitBtn1, &QAbstractButton::clicked);
    QSignalSpy end(form.BitBtn2, &QAbstractButton::clicked);
    const auto openEditor = [this]() -> QLineEdit* {
        for (auto* editor : form.ShellTreeView1->viewport()->findChildren<QLineEdit*>()) {
            if (!editor->isHidden())
                return editor;
        }
        return nullptr;
    };
    form.ShellTreeView1->setFocus(Qt::MouseFocusReason);

    form.ShellTreeView1->edit(form.ShellTreeView1->currentIndex());
    ASSERT_NE(openEditor(), nullptr);
    openEditor()->setText("Autumn");
    QTest::keyClick(openEditor(), Qt::Key_Return);
    ASSERT_TRUE(QTest::qWaitFor([&] { return openEditor() == nullptr; }, 15000));
    EXPECT_EQ(start.count(), 0) << "confirming a folder's new name renames no file";
    EXPECT_EQ(fixture.names.dir().entries("d/Autumn"),
              (std::vector<std::string>{"a.txt", "b.txt"}));

    form.ShellTreeView1->edit(form.ShellTreeView1->currentIndex());
    ASSERT_NE(openEditor(), nullptr);
    QTest::keyClick(openEditor(), Qt::Key_Escape);
    ASSERT_TRUE(QTest::qWaitFor([&] { return openEditor() == nullptr; }, 15000));
    EXPECT_EQ(end.count(), 0) << "cancelling an edit leaves the window open";
    EXPECT_TRUE(form.isVisible());
}

struct FaultsHolder {
    testsupport::FaultInjectingFileSystem faults{platform::systemFileSystem()};
};

// The window on a file system that fails a chosen operation.
class HandlersWithFaults : private FaultsHolder, public Handlers {
protected:
    HandlersWithFaults() : Handlers(faults) {}
    using FaultsHolder::faults;
};

TEST_F(HandlersWithFaults, AnAccessErrorIsShownWithADotAndStopsTheRunWhereItIs) {
    makeFolder({"a.txt", "b.txt", "c.txt"});
    select();
    faults.failCall(Operation::MoveFile, faults.calls(Operation::MoveFile) + 5,
                    platform::error::AccessDenied);
    EXPECT_EQ(startExpectingError(), QString::fromUtf8("ファイルへのアクセスが拒否されました."));
    EXPECT_EQ(questions, QStringList{interruptedQuestion()});
    EXPECT_EQ(onDisk(), (std::vector<std::string>{"Summ1.txt", "tmp1"}));
    EXPECT_EQ(onDisk("tmp1"), (std::vector<std::string>{"b.txt", "c.txt"}));
    EXPECT_EQ(form.ProgressBar1->position(), 4); // three files parked, one placed
    EXPECT_TRUE(form.isVisible());
}

// Counts the paint events a widget receives.
class PaintCounter : public QObject {
public:
    explicit PaintCounter(QWidget* widget) { widget->installEventFilter(this); }
    int count = 0;

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        count += event->type() == QEvent::Paint;
        return false;
    }
};

TEST_F(HandlersWithFaults, ARunShowsBothPassesOnTheBarAndPaintsButHoldsTheOtherEventsTillItEnds) {
    makeFolder({"a.txt", "b.txt", "c.txt", "d.txt"});
    makeFolder({"x.txt"}, "Autumn");
    select();
    const PaintCounter paints(form.ProgressBar1);
    const int firstMove = faults.calls(Operation::MoveFile) + 1;
    // A change of the tree's selection arrives among the events of the run, as the watcher's
    // deliveries do.
    faults.onCall(Operation::MoveFile, firstMove, [&] {
        QMetaObject::invokeMethod(
            form.ShellTreeView1, [&] { select("Autumn"); }, Qt::QueuedConnection);
    });
    int position = -1;
    int maximum = -1;
    int painted = 0;
    std::string folderPath;
    std::vector<std::string> listed;
    faults.onCall(Operation::MoveFile, firstMove + 2, [&] {
        position = form.ProgressBar1->position();
        maximum = form.ProgressBar1->max();
        painted = paints.count;
        folderPath = form.FolderPath;
        listed = form.ListBox1->items();
    });
    QTest::mouseClick(form.BitBtn1, Qt::LeftButton);
    // Two files of the first pass were parked when the third was moved.
    EXPECT_EQ(position, 2);
    EXPECT_EQ(maximum, 8);
    EXPECT_GT(painted, 0);
    EXPECT_EQ(folderPath, folder()) << "the selection's handler waits for the run's end";
    EXPECT_EQ(listed, (std::vector<std::string>{"a.txt", "b.txt", "c.txt", "d.txt"}));
    EXPECT_EQ(onDisk(),
              (std::vector<std::string>{"Summ1.txt", "Summ2.txt", "Summ3.txt", "Summ4.txt"}));
    EXPECT_EQ(form.FolderPath, folder("Autumn"));
    EXPECT_EQ(form.ListBox1->items(), std::vector<std::string>{"x.txt"});
}

// The new-name list: the dialog that F3 or the file list's context menu opened.
NamePreviewDialog* openNamePreview() {
    return qobject_cast<NamePreviewDialog*>(QApplication::activeModalWidget());
}

QStringList texts(std::initializer_list<const char*> utf8) {
    QStringList list;
    for (const char* text : utf8)
        list << QString::fromUtf8(text);
    return list;
}

// The rows of the new-name list as shown: current name, new name, remark.
std::vector<QStringList> shownRows(const NamePreviewDialog& dialog) {
    const NamePreviewModel& model = *dialog.model();
    std::vector<QStringList> rows;
    for (int row = 0; row < model.rowCount(); ++row) {
        QStringList cells;
        for (int column = 0; column < model.columnCount(); ++column)
            cells << model.index(row, column).data().toString();
        rows.push_back(cells);
    }
    return rows;
}

// Closes the dialog by Escape and waits until it is gone.
void closeByEscape(NamePreviewDialog* dialog) {
    const QPointer<NamePreviewDialog> open(dialog);
    QTest::keyClick(dialog->view(), Qt::Key_Escape);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(open.isNull());
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}

TEST_F(Handlers, F3ListsEveryFileWithItsNewNameAndMarksANameTakenByAnUnlistedEntry) {
    makeFolder({"b.TXT", "a.TXT", "c.txt"});
    fixture.names.dir().makeDir("d/Summer/Summ2.txt");
    select();
    const std::vector<std::string> before = onDisk();
    QTest::keyClick(form.ListBox1, Qt::Key_F3);
    NamePreviewDialog* dialog = openNamePreview();
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(dialog->windowTitle(), QString::fromUtf8("新しい名前の一覧"));
    EXPECT_EQ(dialog->font().pixelSize(), 12);
    EXPECT_EQ(dialog->minimumSize(), dialog->maximumSize());
    const QAbstractItemModel& model = *dialog->view()->model();
    EXPECT_EQ(model.headerData(0, Qt::Horizontal).toString(), QString::fromUtf8("現在の名前"));
    EXPECT_EQ(model.headerData(1, Qt::Horizontal).toString(), QString::fromUtf8("新しい名前"));
    EXPECT_EQ(shownRows(*dialog),
              (std::vector<QStringList>{texts({"a.TXT", "Summ1.txt", ""}),
                                        texts({"b.TXT", "Summ2.txt", "既に存在します"}),
                                        texts({"c.txt", "Summ3.txt", ""})}));
    EXPECT_EQ(dialog->summary()->text(),
              QString::fromUtf8("名前を付けられないファイルが 1 件あります"));
    EXPECT_EQ(dialog->view()->currentIndex().row(), 1) << "the first marked name is in view";
    EXPECT_EQ(dialog->closeButton()->text(), QString::fromUtf8("閉じる"));
    closeByEscape(dialog);
    EXPECT_EQ(onDisk(), before);
    EXPECT_EQ(onDisk("Summ2.txt"), std::vector<std::string>{});
}

TEST_F(Handlers, TheFileListsContextMenuOpensTheNewNameList) {
    makeFolder({"a.txt"});
    select();
    QString entryText;
    QKeySequence entryKey;
    whenPopupOpens([&](QWidget* popup) {
        auto* menu = qobject_cast<QMenu*>(popup);
        QAction* entry = menu ? menu->actions().value(0) : nullptr;
        if (!entry) {
            popup->close();
            return;
        }
        entryText = entry->text();
        entryKey = entry->shortcut();
        QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(entry).center());
    });
    QWidget* list = form.ListBox1->viewport();
    QContextMenuEvent rightClick(QContextMenuEvent::Mouse, QPoint(10, 10),
                                 list->mapToGlobal(QPoint(10, 10)));
    QApplication::sendEvent(list, &rightClick);
    EXPECT_EQ(entryText, QString::fromUtf8("新しい名前の一覧"));
    EXPECT_EQ(entryKey, QKeySequence(Qt::Key_F3));
    NamePreviewDialog* dialog = openNamePreview();
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(shownRows(*dialog), std::vector<QStringList>{texts({"a.txt", "Summ1.txt", ""})});
    closeByEscape(dialog);
}

} // namespace
} // namespace ordinalette::app
