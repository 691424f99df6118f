// The window's questions about interrupted runs, and the undo of the last run.
#include "app/controls/t_bit_btn.h"
#include "app/controls/t_list_box.h"
#include "app/controls/t_progress_bar.h"
#include "app/controls/t_spin_edit.h"
#include "app/message_dialog.h"
#include "app/tests/dialog_helpers.h"
#include "app/tests/form_fixture.h"
#include "engine/journaled_run.h"
#include "engine/listing.h"
#include "engine/rename_run.h"
#include "foldertree/t_shell_tree_view.h"
#include "testsupport/fault_injecting_file_system.h"

#include <QAction>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <filesystem>
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <vector>

namespace ordinalette::app {
namespace {

using Names = std::vector<std::string>;

// What a dialog showed: caption, text, buttons in their order, and which of them Enter and
// Escape press.
struct Shown {
    QString caption;
    QString text;
    QStringList buttons;
    QString enter;
    QString escape;
};

Shown shownBy(QWidget* widget) {
    auto* dialog = qobject_cast<MessageDialog*>(widget);
    Shown shown;
    if (!dialog)
        return shown;
    shown.caption = dialog->windowTitle();
    shown.text = dialog->findChild<QLabel*>("message")->text();
    for (const QPushButton* button : dialog->findChildren<QPushButton*>())
        shown.buttons << button->text();
    shown.enter = dialog->defaultButton() ? dialog->defaultButton()->text() : QString();
    shown.escape = dialog->cancelButton() ? dialog->cancelButton()->text() : QString();
    return shown;
}

// Answers every dialog that opens with the button of the given caption and records them.
class Answers {
public:
    explicit Answers(QStringList presses)
        : m_presses(std::move(presses)), m_every([this](QWidget* dialog) {
              shown.push_back(shownBy(dialog));
              const QString press = m_presses.isEmpty() ? "OK" : m_presses.takeFirst();
              for (QPushButton* button : dialog->findChildren<QPushButton*>()) {
                  if (button->text() == press)
                      return button->click();
              }
              ADD_FAILURE() << "no button " << press.toStdString();
              dialog->close();
          }) {}

    std::vector<Shown> shown;

private:
    QStringList m_presses;
    testing::EveryModal m_every;
};

QString u8(const char* text) {
    return QString::fromUtf8(text);
}

class RunJournals : public ::testing::Test {
protected:
    RunJournals() {
        fixture.names.dir().makeDir("d/Summer");
        for (const std::string& name : original)
            fixture.names.dir().writeFile("d/Summer/" + name, name);
    }

    std::string folder() const { return fixture.names.drive("d") + "/Summer"; }
    Names onDisk(const std::string& sub = {}) const {
        return fixture.names.dir().entries("d/Summer" + (sub.empty() ? "" : "/" + sub));
    }
    std::string content(const std::string& name) const {
        return fixture.names.dir().readFile("d/Summer/" + name);
    }
    // A run of the files that fails at its fourth move, with its journal in the window's.
    void interruptRun() {
        testsupport::FaultInjectingFileSystem failing(platform::systemFileSystem());
        failing.failCall(testsupport::FaultInjectingFileSystem::Operation::MoveFile, 4,
                         platform::error::AccessDenied);
        const Names names = engine::listFiles(platform::systemFileSystem(), folder(), "*.*",
                                              platform::TextCollator(platform::CodePage::utf8()));
        const std::string path = folder();
        engine::RenameRun run;
        run.folderPath = path;
        run.names = names;
        run.namePrefix = "Summ";
        run.width = [] { return 1; };
        const std::string journals = fixture.journals.path();
        run.journalDirectory = journals;
        EXPECT_THROW(engine::runRename(failing, run, platform::CodePage::utf8()),
                     engine::EInterruptedRun);
        ASSERT_EQ(onDisk(), (Names{"d.txt", "e.txt", "tmp1"}));
    }
    void selectFolder() {
        form.ShellTreeView1->SetPath(folder());
        ASSERT_EQ(form.ListBox1->Items(), original);
    }
    static QString question(const std::string& folder) {
        return u8("前回の名前の変更が途中で終わっています。\n") + QString::fromStdString(folder);
    }
    static void ctrlZ(QWidget* widget) {
        widget->setFocus(Qt::MouseFocusReason);
        QTest::keyClick(widget, Qt::Key_Z, Qt::ControlModifier);
    }

    const Names original = {"a.txt", "b.txt", "c.txt", "d.txt", "e.txt"};
    const Names renamed = {"Summ1.txt", "Summ2.txt", "Summ3.txt", "Summ4.txt", "Summ5.txt"};
    testing::FormFixture fixture;
    TForm1& form = fixture.form;
};

TEST_F(RunJournals, AtStartAnInterruptedRunIsAskedAboutAndEnterFinishesIt) {
    interruptRun();
    Shown asked;
    testing::EveryModal answer([&](QWidget* dialog) {
        asked = shownBy(dialog);
        QTest::keyClick(dialog, Qt::Key_Return);
    });
    form.show();
    ASSERT_TRUE(QTest::qWaitFor([&] { return onDisk() == renamed; }));
    EXPECT_EQ(asked.caption, "Ordinalette");
    EXPECT_EQ(asked.text, question(folder()));
    EXPECT_EQ(asked.buttons, (QStringList{u8("続ける"), u8("元に戻す"), u8("後で")}));
    EXPECT_EQ(asked.enter, u8("続ける"));
    EXPECT_EQ(asked.escape, u8("後で"));
    for (std::size_t i = 0; i < original.size(); ++i)
        EXPECT_EQ(content(renamed[i]), original[i]);
}

TEST_F(RunJournals, LaterLeavesEverythingAndTheNextStartAsksAgainWhereUndoingPutsItBack) {
    interruptRun();
    {
        int asked = 0;
        testing::EveryModal later([&](QWidget* dialog) {
            ++asked;
            QTest::keyClick(dialog, Qt::Key_Escape);
        });
        form.show();
        ASSERT_TRUE(QTest::qWaitFor([&] { return asked == 1; }));
    }
    EXPECT_EQ(onDisk(), (Names{"d.txt", "e.txt", "tmp1"}));
    EXPECT_EQ(onDisk("tmp1"), (Names{"a.txt", "b.txt", "c.txt"}));

    Answers answers({u8("元に戻す")});
    auto next = std::make_unique<TForm1>(platform::systemFileSystem(),
                                         fixture.names.shellNamespace(), fixture.journals.path());
    next->show();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !answers.shown.empty() && onDisk() == original; }));
    EXPECT_EQ(answers.shown[0].text, question(folder()));
    for (const std::string& name : original)
        EXPECT_EQ(content(name), name);
}

TEST_F(RunJournals, AFailedRunIsAskedAboutRightAfterItsErrorBox) {
    ASSERT_TRUE(fixture.showActive());
    selectFolder();
    fixture.names.dir().makeDir("d/Summer/Summ1.txt"); // the first new name is taken
    QStringList order;
    testing::EveryModal answer([&](QWidget* dialog) {
        if (auto* box = qobject_cast<QMessageBox*>(dialog)) {
            order << box->text();
            box->button(QMessageBox::Ok)->click();
            return;
        }
        order << shownBy(dialog).text;
        for (QPushButton* button : dialog->findChildren<QPushButton*>()) {
            if (button->text() == u8("元に戻す"))
                button->click();
        }
    });
    QTest::mouseClick(form.BitBtn1, Qt::LeftButton);
    EXPECT_EQ(order, (QStringList{u8("I/O エラー (183)"), question(folder())}));
    EXPECT_EQ(onDisk(), (Names{"Summ1.txt", "a.txt", "b.txt", "c.txt", "d.txt", "e.txt"}));
    EXPECT_EQ(form.ListBox1->Items(), original) << "the list is read again";
}

TEST_F(RunJournals, CtrlZUndoesTheSelectedFoldersLastRunAfterAskingAndReadsTheListAgain) {
    ASSERT_TRUE(fixture.showActive());
    selectFolder();
    QTest::mouseClick(form.BitBtn1, Qt::LeftButton);
    ASSERT_EQ(onDisk(), renamed);
    {
        Answers answers({u8("いいえ")});
        ctrlZ(form.ListBox1);
        ASSERT_EQ(answers.shown.size(), 1u);
        EXPECT_EQ(answers.shown[0].caption, u8("確認"));
        EXPECT_EQ(answers.shown[0].text, u8("名前の変更を元に戻しますか？"));
        EXPECT_EQ(answers.shown[0].buttons, (QStringList{u8("はい"), u8("いいえ")}));
        EXPECT_EQ(answers.shown[0].enter, u8("はい"));
        EXPECT_EQ(answers.shown[0].escape, u8("いいえ"));
    }
    EXPECT_EQ(onDisk(), renamed);

    // In a spin edit Ctrl+Z undoes the run too; Enter says yes.
    testing::EveryModal yes([](QWidget* dialog) { QTest::keyClick(dialog, Qt::Key_Return); });
    ctrlZ(form.SpinEdit1);
    EXPECT_EQ(onDisk(), original);
    for (const std::string& name : original)
        EXPECT_EQ(content(name), name);
    EXPECT_EQ(form.ListBox1->Items(), original);
    EXPECT_EQ(form.ProgressBar1->Position(), 5);
    EXPECT_EQ(form.ProgressBar1->Max(), 5);
}

TEST_F(RunJournals, WithNoRunToUndoTheWindowSaysSoAndAnUndoIsNotUndone) {
    ASSERT_TRUE(fixture.showActive());
    selectFolder();
    Answers answers({"OK", u8("はい"), "OK"});
    ctrlZ(form.ListBox1);
    QTest::mouseClick(form.BitBtn1, Qt::LeftButton);
    ctrlZ(form.ListBox1);
    ctrlZ(form.ListBox1);
    ASSERT_EQ(answers.shown.size(), 3u);
    for (const std::size_t i : {0, 2}) {
        EXPECT_EQ(answers.shown[i].text, u8("元に戻す名前の変更がありません"));
        EXPECT_EQ(answers.shown[i].buttons, QStringList{"OK"});
    }
    EXPECT_EQ(onDisk(), original);
}

TEST_F(RunJournals, TheFileListsMenuUndoesAndTheSeparatorEditKeepsCtrlZForItsTyping) {
    ASSERT_TRUE(fixture.showActive());
    selectFolder();
    QTest::mouseClick(form.BitBtn1, Qt::LeftButton);

    form.CheckBox1->setChecked(true);
    form.Edit1->setFocus(Qt::MouseFocusReason);
    QTest::keyClicks(form.Edit1, "_x");
    {
        Answers none({});
        ctrlZ(form.Edit1); // a dialog would be open and answered before this returns
        EXPECT_TRUE(none.shown.empty()) << "no undo of the run from the separator edit";
    }
    EXPECT_NE(form.Edit1->text(), "_x") << "the edit undid its typing";
    EXPECT_EQ(onDisk(), renamed);

    EXPECT_EQ(form.ListBox1->contextMenuPolicy(), Qt::ActionsContextMenu);
    QAction* undo = nullptr;
    for (QAction* action : form.ListBox1->actions()) {
        if (action->text() == u8("元に戻す"))
            undo = action;
    }
    ASSERT_NE(undo, nullptr);
    Answers yes({u8("はい")});
    undo->trigger();
    EXPECT_EQ(onDisk(), original);
}

TEST_F(RunJournals, UndoNamesTheFilesItLeftAlone) {
    ASSERT_TRUE(fixture.showActive());
    selectFolder();
    QTest::mouseClick(form.BitBtn1, Qt::LeftButton);
    std::filesystem::rename(folder() + "/Summ2.txt", folder() + "/mine.txt");
    Answers answers({u8("はい"), "OK"});
    ctrlZ(form.ListBox1);
    ASSERT_EQ(answers.shown.size(), 2u);
    EXPECT_EQ(answers.shown[1].caption, u8("警告"));
    EXPECT_TRUE(answers.shown[1].text.endsWith("\nSumm2.txt"))
        << answers.shown[1].text.toStdString();
    EXPECT_EQ(onDisk(), (Names{"a.txt", "c.txt", "d.txt", "e.txt", "mine.txt"}));
}

} // namespace
} // namespace ordinalette::app
