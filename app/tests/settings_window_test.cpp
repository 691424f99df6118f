#include "app/controls/t_bit_btn.h"
#include "app/controls/t_label.h"
#include "app/controls/t_list_box.h"
#include "app/controls/t_radio_group.h"
#include "app/controls/t_spin_edit.h"
#include "app/message_dialog.h"
#include "app/t_form1.h"
#include "app/tests/dialog_helpers.h"
#include "app/tests/form_fixture.h"
#include "foldertree/tests/namespace_fixture.h"
#include "testsupport/fault_injecting_file_system.h"
#include "testsupport/temp_dir.h"

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <gtest/gtest.h>
#include <memory>
#include <string>

namespace ordinalette::app {
namespace {

using Operation = testsupport::FaultInjectingFileSystem::Operation;

// Starting the program from a working directory of its own, over a namespace whose start
// folder (the root of drive c) holds 100 files, so that the automatic digit count is 3.
class StartUp : public ::testing::Test {
protected:
    StartUp() {
        for (int i = 0; i < 100; ++i)
            names.dir().writeFile("c/photo" + std::to_string(i) + ".JPG");
    }

    std::unique_ptr<TForm1> start() {
        auto form = std::make_unique<TForm1>(faults, text.codePage, text.collator,
                                             names.shellNamespace(), journals.path());
        form->show();
        QApplication::setActiveWindow(form.get());
        EXPECT_TRUE(QTest::qWaitForWindowActive(form.get()));
        return form;
    }
    void writeSettings(const std::string& bytes) const { workDir.writeFile("Ordinlet.ini", bytes); }
    std::string settingsPath() const { return workDir / "Ordinlet.ini"; }
    std::string written() const { return workDir.readFile("Ordinlet.ini"); }

    testing::WorkingDirectory workingDirectory;
    const testsupport::TempDir& workDir = workingDirectory.dir();
    foldertree::testing::NamespaceFixture names;
    testsupport::TempDir journals;
    testing::SystemText text;
    testsupport::FaultInjectingFileSystem faults{platform::systemFileSystem()};
};

TEST_F(StartUp, TheExampleIsBuiltUnderTheLoadedSettings) {
    writeSettings(
        "FolderKetasu=1\r\nCharactor=_\r\nAuto=False\r\nRenbanKetasu=5\r\nKakuchoushi=1\r\n");
    const auto form = start();
    EXPECT_EQ(form->ListBox1->item(0), "photo0.JPG");
    EXPECT_EQ(form->NamePrefix, "_"); // a drive root gives no folder characters
    EXPECT_EQ(form->Label3->caption(), "_00001.JPG");
}

TEST_F(StartUp, ClosingWritesTheFiveLinesAndEveryWayOfClosingWritesOnce) {
    auto form = start();
    form->close();
    EXPECT_FALSE(form->isVisible());
    EXPECT_EQ(written(),
              "FolderKetasu=4\r\nCharactor=\r\nAuto=True\r\nRenbanKetasu=\r\nKakuchoushi=0\r\n");

    form = start();
    QTest::mouseClick(form->CheckBox1, Qt::LeftButton, {}, QPoint(6, 12));
    form->Edit1->setFocus();
    QTest::keyClicks(form->Edit1, "_");
    QTest::mouseClick(form->RadioButton2, Qt::LeftButton, {}, QPoint(6, 8));
    form->SpinEdit2->setFocus();
    form->SpinEdit2->selectAll();
    QTest::keyClicks(form->SpinEdit2, "150"); // typed beyond the limit, the focus still there
    form->RadioGroup1->SetItemIndex(1);
    const int writes = faults.calls(Operation::CreateTemporaryFile);
    form->close(); // the close box
    EXPECT_EQ(faults.calls(Operation::CreateTemporaryFile), writes + 1);
    EXPECT_EQ(written(), "FolderKetasu=4\r\nCharactor=_\r\nAuto=False\r\nRenbanKetasu=150\r\n"
                         "Kakuchoushi=1\r\n");

    form = start();
    EXPECT_EQ(form->SpinEdit2->text(), "100");
    EXPECT_EQ(form->Edit1->text(), "_");
    QTest::mouseClick(form->BitBtn2, Qt::LeftButton);
    EXPECT_FALSE(form->isVisible());
    EXPECT_EQ(faults.calls(Operation::CreateTemporaryFile), writes + 2);

    form = start();
    QTest::keyClick(form->BitBtn1, Qt::Key_Escape);
    EXPECT_FALSE(form->isVisible());
    EXPECT_EQ(faults.calls(Operation::CreateTemporaryFile), writes + 3);
}

TEST_F(StartUp, AFailedWriteAsksWhetherToCloseWithoutTheSettings) {
    auto form = start();
    // The folder takes no new entry, so the file is created in place, and that fails too.
    const auto failNextWrite = [&](Operation operation, int error) {
        faults.failCall(Operation::CreateTemporaryFile,
                        faults.calls(Operation::CreateTemporaryFile) + 1,
                        platform::error::AccessDenied);
        faults.failCall(operation, faults.calls(operation) + 1, error);
    };
    QStringList shown; // the error box's text, then the question's and its default button
    QString answer;
    testing::EveryModal answerEach([&](QWidget* dialog) {
        if (auto* box = qobject_cast<QMessageBox*>(dialog)) {
            shown << box->text();
            return box->button(QMessageBox::Ok)->click();
        }
        auto* question = qobject_cast<MessageDialog*>(dialog);
        shown << question->findChild<QLabel*>("message")->text()
              << question->defaultButton()->text();
        for (QPushButton* button : question->findChildren<QPushButton*>()) {
            if (button->text() == answer)
                return button->click();
        }
    });
    const QString asked = QString::fromUtf8("設定を保存せずに終了しますか？");

    failNextWrite(Operation::CreateFile, platform::error::AccessDenied);
    answer = QString::fromUtf8("いいえ");
    form->close();
    EXPECT_EQ(shown, (QStringList{QString::fromStdString("ファイル " + settingsPath() +
                                                         " を作成できません."),
                                  asked, QString::fromUtf8("はい")}));
    EXPECT_TRUE(form->isVisible());
    EXPECT_FALSE(workDir.exists("Ordinlet.ini"));

    shown.clear();
    failNextWrite(Operation::WriteFile, platform::error::DiskFull);
    form->close();
    EXPECT_EQ(shown.value(0), QString::fromUtf8("ストリームへの書き込みエラー."));
    EXPECT_TRUE(form->isVisible());

    shown.clear();
    form->close(); // the write works: nothing is asked
    EXPECT_EQ(shown, QStringList());
    EXPECT_FALSE(form->isVisible());
    const std::string savedOnce = written();

    form = start();
    form->SpinEdit1->SetValue(9);
    failNextWrite(Operation::CreateFile, platform::error::AccessDenied);
    answer = QString::fromUtf8("はい");
    QTest::mouseClick(form->BitBtn2, Qt::LeftButton); // End closes from inside its handler
    EXPECT_EQ(shown.size(), 3);
    EXPECT_FALSE(form->isVisible());
    EXPECT_EQ(written(), savedOnce) << "closed without writing";
}

TEST_F(StartUp, ASeparatorThatCannotBeShownKeepsItsBytes) {
    // Written by the Windows program in Shift_JIS, read here as UTF-8.
    writeSettings("Charactor=\x83\x5C\r\n");
    const auto form = start();
    EXPECT_EQ(form->NamePrefix, "\x83\x5C");
    form->close();
    EXPECT_EQ(written(), "FolderKetasu=4\r\nCharactor=\x83\x5C\r\nAuto=True\r\nRenbanKetasu=\r\n"
                         "Kakuchoushi=0\r\n");
}

} // namespace
} // namespace ordinalette::app
