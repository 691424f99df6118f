#include "app/controls/system_color.h"
#include "app/controls/t_bit_btn.h"
#include "app/controls/t_filter_combo_box.h"
#include "app/controls/t_label.h"
#include "app/controls/t_list_box.h"
#include "app/controls/t_progress_bar.h"
#include "app/controls/t_radio_group.h"
#include "app/controls/t_spin_edit.h"
#include "app/controls/t_status_bar.h"
#include "app/tests/dialog_helpers.h"
#include "app/tests/form_fixture.h"
#include "engine/in_out_error.h"
#include "foldertree/t_shell_tree_view.h"
#include "testsupport/fault_injecting_file_system.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QToolButton>
#include <filesystem>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace ordinalette::app {
namespace {

using testing::whenModalOpens;
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
    QString example() const { return form.Label3->Caption(); }
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
    EXPECT_EQ(FolderPath, folder());
    EXPECT_EQ(form.ListBox1->Count(), 12);
    EXPECT_EQ(form.ListBox1->Item(0), "IMG_1001.JPG");
    EXPECT_EQ(form.StatusBar1->SimpleText(), "12Files");
    EXPECT_EQ(Ketasu, 2);
    EXPECT_EQ(NamePrefix, "Summ");
    EXPECT_EQ(example(), "Summ01.jpg");
    EXPECT_EQ(form.ProgressBar1->Max(), 0);
}

TEST_F(Handlers, FixedDigitCountIsResetToTheAutomaticOneOnEveryFolderChange) {
    makeFolder(numbered(12, ".JPG"));
    makeFolder({}, "Empty");
    clickButton(form.RadioButton2);
    EXPECT_TRUE(form.SpinEdit2->isEnabled());
    EXPECT_EQ(form.SpinEdit2->palette().color(QPalette::Base),
              resolveSystemColor(SystemColor::Window));
    form.SpinEdit2->SetValue(5);
    EXPECT_EQ(example(), ""); // the drive root of the start holds no files

    select();
    EXPECT_EQ(form.SpinEdit2->text(), "2");
    EXPECT_EQ(example(), "Summ01.jpg");
    QTest::mouseClick(form.SpinEdit2->DownButton(), Qt::LeftButton);
    EXPECT_EQ(form.SpinEdit2->text(), "2");
    QTest::mouseClick(form.SpinEdit2->UpButton(), Qt::LeftButton);
    EXPECT_EQ(form.SpinEdit2->text(), "3");
    EXPECT_EQ(example(), "Summ001.jpg");

    select("Empty");
    EXPECT_EQ(form.SpinEdit2->MinValue(), 0);
    EXPECT_EQ(form.SpinEdit2->text(), "0");
    EXPECT_EQ(form.StatusBar1->SimpleText(), "0File");
    EXPECT_EQ(example(), "");

    clickButton(form.RadioButton1);
    EXPECT_FALSE(form.SpinEdit2->isEnabled());
    EXPECT_EQ(form.SpinEdit2->palette().color(QPalette::Base),
              resolveSystemColor(SystemColor::InactiveCaptionText));
    EXPECT_EQ(form.SpinEdit2->text(), "0"); // its value stays
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
    EXPECT_EQ(NamePrefix, "");
    EXPECT_EQ(example(), "01.jpg");
    leave(form.SpinEdit1);
    EXPECT_EQ(form.SpinEdit1->text(), "");

    typeInto(form.SpinEdit1, "150");
    EXPECT_EQ(example(), "Summer01.jpg");
    leave(form.SpinEdit1);
    EXPECT_EQ(form.SpinEdit1->text(), "100");
    EXPECT_EQ(example(), "Summer01.jpg");
}

TEST_F(Handlers, SeparatorIsOnlyTakenWhileTheCheckBoxIsChecked) {
    makeFolder(numbered(3, ".JPG"));
    select();
    clickButton(form.CheckBox1);
    EXPECT_TRUE(form.Edit1->isEnabled());
    EXPECT_EQ(form.Edit1->palette().color(QPalette::Base), resolveSystemColor(SystemColor::Window));
    typeInto(form.Edit1, "_");
    EXPECT_EQ(example(), "Summ_1.jpg");
    clickButton(form.RadioGroup1->Button(1));
    EXPECT_EQ(example(), "Summ_1.JPG");

    clickButton(form.CheckBox1);
    EXPECT_EQ(form.Edit1->text(), "");
    EXPECT_FALSE(form.Edit1->isEnabled());
    EXPECT_EQ(form.Edit1->palette().color(QPalette::Base),
              resolveSystemColor(SystemColor::InactiveCaptionText));
    EXPECT_EQ(example(), "Summ1.JPG");

    clickButton(form.CheckBox1);
    EXPECT_EQ(form.Edit1->text(), "");
    EXPECT_TRUE(form.Edit1->isEnabled());

    // A Japanese separator typed through the input method.
    form.Edit1->setFocus(Qt::MouseFocusReason);
    QInputMethodEvent japanese;
    japanese.setCommitString(QString::fromUtf8("・"));
    QApplication::sendEvent(form.Edit1, &japanese);
    EXPECT_EQ(example(), QString::fromUtf8("Summ・1.JPG"));
    clickButton(form.RadioGroup1->Button(2));
    EXPECT_EQ(example(), QString::fromUtf8("Summ・1.JPG"));
}

TEST_F(Handlers, PickingTheFilterListsOnlyMatchingFiles) {
    makeFolder({"b.png", "a.JPG", "c.PNG", "d.txt"});
    select();
    EXPECT_EQ(form.StatusBar1->SimpleText(), "4Files");
    form.FilterComboBox1->setFocus(Qt::MouseFocusReason);
    for (int i = 0; i < 3; ++i)
        QTest::keyClick(form.FilterComboBox1, Qt::Key_Down);
    EXPECT_EQ(form.FilterComboBox1->currentText(), QString::fromUtf8("PNGファイル"));
    EXPECT_EQ(form.ListBox1->Items(), (std::vector<std::string>{"b.png", "c.PNG"}));
    EXPECT_EQ(form.StatusBar1->SimpleText(), "2Files");
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
    EXPECT_EQ(form.ListBox1->Items(),
              (std::vector<std::string>{"Summ1.txt", "Summ2.txt", "Summ3.txt"}));
    EXPECT_EQ(form.StatusBar1->SimpleText(), "3Files");
    EXPECT_EQ(example(), "Summ1.txt");
    EXPECT_EQ(form.ProgressBar1->Max(), 3);
    EXPECT_EQ(form.ProgressBar1->Position(), 3);
    EXPECT_EQ(std::filesystem::current_path(), folder());

    // Enter starts a run as well; the same settings give the same names again.
    form.Edit1->setFocus(Qt::MouseFocusReason);
    QTest::keyClick(form.Edit1, Qt::Key_Return);
    EXPECT_EQ(onDisk(), (std::vector<std::string>{"Summ1.txt", "Summ2.txt", "Summ3.txt"}));
}

TEST_F(Handlers, StartOnAnEmptyListSaysSoAndTouchesNothing) {
    makeFolder({});
    select();
    QString text, title;
    whenModalOpens([&](QWidget* dialog) {
        text = dialog->findChild<QLabel*>("message")->text();
        title = dialog->windowTitle();
        QTest::keyClick(dialog, Qt::Key_Escape);
    });
    QTest::mouseClick(form.BitBtn1, Qt::LeftButton);
    EXPECT_EQ(text, QString::fromUtf8("ファイルが存在しません"));
    EXPECT_EQ(title, QString::fromUtf8("エラー"));
    EXPECT_TRUE(onDisk().empty());
    EXPECT_EQ(std::filesystem::current_path(), fixture.workingDirectory.dir().path());
}

TEST_F(Handlers, AClashOfTheSecondPassIsShownAndLeavesTheFilesInTheTemporaryFolder) {
    makeFolder({"a.txt", "b.txt"});
    fixture.names.dir().makeDir("d/Summer/Summ1.txt");
    select();
    EXPECT_EQ(startExpectingError(), QString::fromUtf8("I/O エラー (183)"));
    EXPECT_EQ(questions, QStringList{interruptedQuestion()});
    EXPECT_EQ(onDisk("tmp1"), (std::vector<std::string>{"a.txt", "b.txt"}));
    // No relisting after a failure: the list still shows the old names.
    EXPECT_EQ(form.ListBox1->Items(), (std::vector<std::string>{"a.txt", "b.txt"}));
    EXPECT_EQ(form.ProgressBar1->Position(), 0);
}

TEST_F(Handlers, AFolderRenamedBehindTheListFailsAtTheChangeOfDirectory) {
    makeFolder({"a.txt"});
    select();
    std::filesystem::rename(folder(), folder("Winter"));
    EXPECT_EQ(startExpectingError(),
              QString::fromStdString(engine::inOutErrorMessage(platform::error::FileNotFound)) +
                  ".");
    EXPECT_EQ(fixture.names.dir().entries("d/Winter"), std::vector<std::string>{"a.txt"});
    EXPECT_TRUE(questions.isEmpty()) << "nothing was moved, so nothing is asked";
    EXPECT_EQ(FolderPath, folder());
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

    form.ShellTreeView1->editItem(form.ShellTreeView1->currentItem());
    ASSERT_NE(openEditor(), nullptr);
    openEditor()->setText("Autumn");
    QTest::keyClick(openEditor(), Qt::Key_Return);
    ASSERT_TRUE(QTest::qWaitFor([&] { return openEditor() == nullptr; }, 15000));
    EXPECT_EQ(start.count(), 0) << "confirming a folder's new name renames no file";
    EXPECT_EQ(fixture.names.dir().entries("d/Autumn"),
              (std::vector<std::string>{"a.txt", "b.txt"}));

    form.ShellTreeView1->editItem(form.ShellTreeView1->currentItem());
    ASSERT_NE(openEditor(), nullptr);
    QTest::keyClick(openEditor(), Qt::Key_Escape);
    ASSERT_TRUE(QTest::qWaitFor([&] { return openEditor() == nullptr; }, 15000));
    EXPECT_EQ(end.count(), 0) << "cancelling an edit leaves the window open";
    EXPECT_TRUE(form.isVisible());
}

struct FaultsHolder {
    testsupport::FaultInjectingFileSystem faults{platform::systemFileSystem()};
};

TEST_F(Handlers, AnErrorInANestedHandlerEndsTheHandlersItIsNestedIn) {
    makeFolder(numbered(3, ".JPG"));
    const std::string prefixBefore = NamePrefix;
    // A bar whose minimum lies above 0 refuses the maximum 0 that every example sets.
    form.ProgressBar1->SetMin(5);
    int boxes = 0;
    QString shown;
    whenModalOpens([&](QWidget* dialog) {
        ++boxes;
        shown = qobject_cast<QMessageBox*>(dialog)->text();
        qobject_cast<QMessageBox*>(dialog)->button(QMessageBox::Ok)->click();
    });
    select(); // SpinEdit2Change fails inside the reset of SpinEdit2
    EXPECT_EQ(shown, QString::fromUtf8("プロパティ TProgressBar の範囲を超えています."));
    EXPECT_EQ(boxes, 1);
    EXPECT_EQ(form.SpinEdit2->text(), "1"); // done before the error
    EXPECT_EQ(NamePrefix, prefixBefore);    // never reached
}

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
    EXPECT_EQ(form.ProgressBar1->Position(), 1);
    EXPECT_TRUE(form.isVisible());
}

} // namespace
} // namespace ordinalette::app
