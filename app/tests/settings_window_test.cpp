#include "app/controls/t_bit_btn.h"
#include "app/controls/t_label.h"
#include "app/controls/t_list_box.h"
#include "app/controls/t_radio_group.h"
#include "app/controls/t_spin_edit.h"
#include "app/message_dialog.h"
#include "app/t_form1.h"
#include "app/tests/dialog_helpers.h"
#include "app/tests/form_fixture.h"
#include "app/tree/t_shell_tree_view.h"
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
#include <filesystem>
#include <gtest/gtest.h>
#include <memory>
#include <string>

namespace ordinalette::app {
namespace {

using Operation = testsupport::FaultInjectingFileSystem::Operation;
using testing::whenModalOpens;

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
    // Runs act, which opens an error box, and gives the box's text.
    static QString errorBoxOf(const std::function<void()>& act) {
        QString shown;
        whenModalOpens([&](QWidget* dialog) {
            auto* box = qobject_cast<QMessageBox*>(dialog);
            shown = box->text();
            box->button(QMessageBox::Ok)->click();
        });
        act();
        return shown;
    }

    testing::WorkingDirectory workingDirectory;
    const testsupport::TempDir& workDir = workingDirectory.dir();
    foldertree::testing::NamespaceFixture names;
    testsupport::TempDir journals;
    testing::SystemText text;
    testsupport::FaultInjectingFileSystem faults{platform::systemFileSystem()};
};

struct Expected {
    std::string lines;
    int count;
    const char* separator; // nullptr: separator off
    bool fixed;
    const char* spinEdit2;
    int extensionCase;
};

TEST_F(StartUp, EveryLineOfTheSettingsFileComesOutAsStored) {
    const Expected table[] = {
        {"", 4, nullptr, false, "3", 0},
        {"\x01\x02garbage\nFolder=1\n", 4, nullptr, false, "3", 0},
        {"FolderKetasu=7\r\nCharactor=_\r\n", 7, "_", false, "3", 0},
        {"FolderKetasu=12\r\nCharactor=-\r\nAuto=False\r\nRenbanKetasu=5\r\n" +
             std::string(1, '\0') + "Kakuchoushi=1\r\n",
         12, "-", true, "5", 0},
        {"FolderKetasu=-3", 0, nullptr, false, "3", 0},
        {"FolderKetasu=250", 100, nullptr, false, "3", 0},
        {"FolderKetasu=abc", 4, nullptr, false, "3", 0},
        {"FolderKetasu=12 ", 4, nullptr, false, "3", 0},
        {"FolderKetasu=99999999999", 4, nullptr, false, "3", 0},
        {"FolderKetasu= 12", 12, nullptr, false, "3", 0},
        {"FolderKetasu=$0C", 12, nullptr, false, "3", 0},
        {"FolderKetasu=0x0c", 12, nullptr, false, "3", 0},
        {"FolderKetasu=", 4, nullptr, false, "3", 0},
        {"folderketasu=7", 7, nullptr, false, "3", 0},
        {" FolderKetasu=7", 4, nullptr, false, "3", 0},
        {"\357\273\277FolderKetasu=7", 4, nullptr, false, "3", 0}, // a byte-order mark first
        {"FolderKetasu=5\nFolderKetasu=9", 5, nullptr, false, "3", 0},
        {"Charactor= ", 4, " ", false, "3", 0},
        {"Charactor==", 4, "=", false, "3", 0},
        {"Auto=False", 4, nullptr, true, "3", 0},
        {"Auto=False\r\nRenbanKetasu=x", 4, nullptr, false, "3", 0},
        {"Auto=False\r\nRenbanKetasu=1", 4, nullptr, true, "3", 0},
        {"Auto=False\r\nRenbanKetasu=200", 4, nullptr, true, "100", 0},
        {"Auto=false\r\nRenbanKetasu=5", 4, nullptr, false, "3", 0},
        {"Auto=True\r\nRenbanKetasu=5", 4, nullptr, false, "3", 0},
        {"Kakuchoushi=1", 4, nullptr, false, "3", 1},
        {"Kakuchoushi=3", 4, nullptr, false, "3", 0},
        {"Kakuchoushi=-1", 4, nullptr, false, "3", 0},
        {"Kakuchoushi=z", 4, nullptr, false, "3", 0},
        {"Kakuchoushi=$2", 4, nullptr, false, "3", 2},
        {"\nKakuchoushi=2\n\nx=y\rRenbanKetasu=6\n\rAuto=False\nFolderKetasu=3\n", 3, nullptr, true,
         "6", 2},
    };
    for (const Expected& row : table) {
        SCOPED_TRACE(row.lines);
        writeSettings(row.lines);
        const auto form = start();
        EXPECT_EQ(form->SpinEdit1->text().toStdString(), std::to_string(row.count));
        EXPECT_EQ(form->CheckBox1->isChecked(), row.separator != nullptr);
        EXPECT_EQ(form->Edit1->isEnabled(), row.separator != nullptr);
        EXPECT_EQ(form->Edit1->text(), QString::fromUtf8(row.separator ? row.separator : ""));
        EXPECT_EQ(form->RadioButton2->isChecked(), row.fixed);
        EXPECT_EQ(form->SpinEdit2->isEnabled(), row.fixed);
        EXPECT_EQ(form->SpinEdit2->text(), row.spinEdit2);
        EXPECT_EQ(form->RadioGroup1->ItemIndex(), row.extensionCase);
    }
    // No file at all.
    std::filesystem::remove(settingsPath());
    const auto form = start();
    EXPECT_EQ(form->SpinEdit1->text(), "4");
    EXPECT_FALSE(form->CheckBox1->isChecked());
    EXPECT_TRUE(form->RadioButton1->isChecked());
}

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

TEST_F(StartUp, ASettingsFileThatCannotBeOpenedIsReportedAndTheStartValuesStay) {
    writeSettings("FolderKetasu=9\r\n");
    faults.failCall(Operation::ReadFile, faults.calls(Operation::ReadFile) + 1,
                    platform::error::SharingViolation);
    std::unique_ptr<TForm1> form;
    EXPECT_EQ(errorBoxOf([&] {
                  form = std::make_unique<TForm1>(faults, text.codePage, text.collator,
                                                  names.shellNamespace(), journals.path());
              }),
              QString::fromStdString("ファイル " + settingsPath() + " は開けません."));
    EXPECT_EQ(form->SpinEdit1->text(), "4");
    EXPECT_EQ(form->ListBox1->count(), 100); // what FormCreate did before stays
    EXPECT_EQ(form->IniDir, workDir.path());
}

TEST_F(StartUp, AnUnreadableWorkingDirectoryLeavesNoPlaceForTheFileAndClosingWritesNothing) {
    faults.failCall(Operation::CurrentDirectory, faults.calls(Operation::CurrentDirectory) + 1,
                    platform::error::AccessDenied);
    std::unique_ptr<TForm1> form;
    EXPECT_EQ(errorBoxOf([&] {
                  form = std::make_unique<TForm1>(faults, text.codePage, text.collator,
                                                  names.shellNamespace(), journals.path());
              }),
              QString::fromUtf8("ファイルへのアクセスが拒否されました."));
    EXPECT_EQ(form->IniDir, "") << "not the directory of an earlier window";
    form->show();
    const auto writes = [&] {
        return faults.calls(Operation::FollowLinks) + faults.calls(Operation::CreateFile) +
               faults.calls(Operation::CreateTemporaryFile);
    };
    const int before = writes();
    form->close();
    EXPECT_FALSE(form->isVisible());
    EXPECT_EQ(writes(), before);
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

TEST_F(StartUp, TheSettingsFileStaysInTheStartDirectoryAfterARun) {
    names.dir().makeDir("d/Trip");
    names.dir().writeFile("d/Trip/a.txt");
    const auto form = start();
    form->ShellTreeView1->SetPath(names.drive("d") + "/Trip");
    QTest::mouseClick(form->BitBtn1, Qt::LeftButton);
    EXPECT_EQ(names.dir().entries("d/Trip"), std::vector<std::string>{"Trip1.txt"});
    form->close();
    EXPECT_TRUE(workDir.exists("Ordinlet.ini"));
    EXPECT_FALSE(names.dir().exists("d/Trip/Ordinlet.ini"));
}

} // namespace
} // namespace ordinalette::app
