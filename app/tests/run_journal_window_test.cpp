// The window's questions about interrupted runs, and the undo of the last run.
#include "app/controls/t_bit_btn.h"
#include "app/controls/t_list_box.h"
#include "app/controls/t_progress_bar.h"
#include "app/controls/t_spin_edit.h"
#include "app/message_dialog.h"
#include "app/tests/dialog_helpers.h"
#include "app/tests/form_fixture.h"
#include "app/tree/t_shell_tree_view.h"
#include "engine/journaled_run.h"
#include "engine/rename_run.h"
#include "testsupport/fault_injecting_file_system.h"

#include <QAction>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <algorithm>
#include <filesystem>
#include <gtest/gtest.h>
#include <string>
#include <sys/stat.h>
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
    Names onDisk() const { return fixture.names.dir().entries("d/Summer"); }
    void expectContents(const Names& names, const Names& contents) const {
        for (std::size_t i = 0; i < names.size(); ++i)
            EXPECT_EQ(fixture.names.dir().readFile("d/Summer/" + names[i]), contents[i]);
    }
    // A run of the files (all of them unless given) that fails at the given move (none: it does
    // not fail), with its journal in the window's.
    void runFailingAt(int move, const Names& names = {}) {
        testsupport::FaultInjectingFileSystem failing(platform::systemFileSystem());
        failing.failCall(testsupport::FaultInjectingFileSystem::Operation::MoveFile, move,
                         platform::error::AccessDenied);
        engine::RenameRun run;
        run.folderPath = path;
        run.names = names.empty() ? original : names;
        run.namePrefix = "Summ";
        run.width = [] { return 1; };
        run.journalDirectory = journals;
        if (move == 0)
            engine::runRename(failing, run, platform::CodePage::utf8());
        else
            EXPECT_THROW(engine::runRename(failing, run, platform::CodePage::utf8()),
                         engine::EInterruptedRun);
    }
    // A run of the files that fails at its fourth move.
    void interruptRun() {
        runFailingAt(4);
        ASSERT_EQ(onDisk(), (Names{"d.txt", "e.txt", "tmp1"}));
    }
    void showAndSelect() {
        ASSERT_TRUE(fixture.showActive());
        form.ShellTreeView1->SetPath(folder());
        ASSERT_EQ(form.ListBox1->items(), original);
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
    const std::string path = folder();
    const std::string journals = fixture.journals.path();
};

TEST_F(RunJournals, AtStartAnInterruptedRunIsAskedAboutUntilItIsAnswered) {
    interruptRun();
    {
        Answers later({u8("後で")});
        form.show();
        ASSERT_TRUE(QTest::qWaitFor([&] { return later.shown.size() == 1; }));
        EXPECT_EQ(later.shown[0].caption, "Ordinalette");
        EXPECT_EQ(later.shown[0].text, question(folder()));
        EXPECT_EQ(later.shown[0].buttons, (QStringList{u8("続ける"), u8("元に戻す"), u8("後で")}));
        EXPECT_EQ(later.shown[0].enter, u8("続ける"));
        EXPECT_EQ(later.shown[0].escape, u8("後で"));
    }
    EXPECT_EQ(onDisk(), (Names{"d.txt", "e.txt", "tmp1"}));

    // The next start asks again.
    Answers undo({u8("元に戻す")});
    TForm1 next(platform::systemFileSystem(), fixture.text.codePage, fixture.text.collator,
                fixture.names.shellNamespace(), fixture.journals.path());
    next.show();
    ASSERT_TRUE(QTest::qWaitFor([&] { return onDisk() == original; }));
    EXPECT_EQ(undo.shown.size(), 1u);
    expectContents(original, original);
}

TEST_F(RunJournals, AtStartARunWhoseFolderWasMovedIntoAFolderTheTreeShowsIsAskedAbout) {
    interruptRun();
    fixture.names.dir().makeDir("c/home/me/Desktop/Photos");
    const std::string moved = fixture.names.desktop() + "/Photos/Summer";
    std::filesystem::rename(folder(), moved);
    Answers answers({u8("続ける")});
    TForm1 next(platform::systemFileSystem(), fixture.text.codePage, fixture.text.collator,
                fixture.names.shellNamespace(), fixture.journals.path());
    next.show();
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return fixture.names.dir().entries("c/home/me/Desktop/Photos/Summer") == renamed; }));
    ASSERT_EQ(answers.shown.size(), 1u);
    EXPECT_EQ(answers.shown[0].text, question(moved));
}

TEST_F(RunJournals, AtStartEachNoticeAboutTheJournalsIsShownOnce) {
    interruptRun(); // a, b and c parked in tmp1
    const std::string text = fixture.journals.readFile("000000000001.unfinished");
    fixture.journals.writeFile("000000000001.unfinished", text.substr(0, text.size() / 2));
    runFailingAt(2, {"d.txt", "e.txt"}); // an interrupted run still to ask about, in tmp2
    fixture.journals.writeFile("000000000003.unfinished");
    const std::string empty = fixture.journals / "000000000003.unfinished";
    // Notices come before the questions: once the question is shown, nothing else follows.
    const auto startAnswering = [&](QStringList presses) {
        Answers answers(std::move(presses));
        TForm1 next(platform::systemFileSystem(), fixture.text.codePage, fixture.text.collator,
                    fixture.names.shellNamespace(), journals);
        next.show();
        EXPECT_TRUE(QTest::qWaitFor([&] {
            return !answers.shown.empty() && answers.shown.back().text == question(folder());
        }));
        QStringList texts;
        for (const Shown& shown : answers.shown)
            texts << shown.text;
        return texts;
    };
    const QStringList first = startAnswering({"OK", "OK", u8("後で")});
    ASSERT_EQ(first.size(), 3);
    EXPECT_EQ(first.filter(u8("空のジャーナル ") + QString::fromStdString(empty)).size(), 1);
    EXPECT_EQ(first.filter(u8("一時フォルダ ") + QString::fromStdString(path + "/tmp1")).size(), 1);
    EXPECT_EQ(startAnswering({u8("後で")}), QStringList{question(folder())}) << "told once";

    ASSERT_EQ(chmod(journals.c_str(), 0770), 0);
    Answers answers({"OK"});
    TForm1 next(platform::systemFileSystem(), fixture.text.codePage, fixture.text.collator,
                fixture.names.shellNamespace(), journals);
    next.show();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !answers.shown.empty(); }));
    EXPECT_EQ(answers.shown[0].text, u8("ジャーナルのフォルダ ") +
                                         QString::fromStdString(journals) +
                                         u8(" は他のユーザーが書き込めるため使用しません"));
    ASSERT_EQ(chmod(journals.c_str(), 0700), 0);
}

TEST_F(RunJournals, AnInterruptedUndoIsAskedAboutAsAnUndoWithButtonsSayingWhatTheyDo) {
    runFailingAt(0);
    testsupport::FaultInjectingFileSystem failing(platform::systemFileSystem());
    failing.failCall(testsupport::FaultInjectingFileSystem::Operation::MoveFile, 3,
                     platform::error::AccessDenied);
    const engine::LastRun last = engine::lastRunOf(platform::systemFileSystem(), journals, path);
    EXPECT_THROW(engine::undoRun(failing, journals, last.run.journal, path, {}),
                 engine::EInterruptedRun);

    Answers answers({u8("新しい名前に戻す")});
    form.show();
    ASSERT_TRUE(QTest::qWaitFor([&] { return onDisk() == renamed; }));
    ASSERT_EQ(answers.shown.size(), 1u);
    EXPECT_EQ(answers.shown[0].text, u8("前回の名前の変更の取り消しが途中で終わっています。\n") +
                                         QString::fromStdString(path));
    EXPECT_EQ(answers.shown[0].buttons,
              (QStringList{u8("元の名前に戻す"), u8("新しい名前に戻す"), u8("後で")}));
    expectContents(renamed, original);
}

TEST_F(RunJournals, AFailedRunIsAskedAboutRightAfterItsErrorBoxAndEnterFinishesIt) {
    showAndSelect();
    fixture.names.dir().makeDir("d/Summer/Summ1.txt"); // the first new name is taken
    QStringList order;
    testing::EveryModal answer([&](QWidget* dialog) {
        if (auto* box = qobject_cast<QMessageBox*>(dialog)) {
            order << box->text();
            box->button(QMessageBox::Ok)->click();
            return;
        }
        order << shownBy(dialog).text;
        std::filesystem::remove(folder() + "/Summ1.txt");
        QTest::keyClick(dialog, Qt::Key_Return);
    });
    QTest::mouseClick(form.BitBtn1, Qt::LeftButton);
    EXPECT_EQ(order, (QStringList{u8("I/O エラー (183)"), question(folder())}));
    EXPECT_EQ(onDisk(), renamed);
    expectContents(renamed, original);
    EXPECT_EQ(form.ListBox1->items(), renamed) << "the list is read again";
}

TEST_F(RunJournals, CtrlZUndoesTheFoldersLastRunAfterAskingAndNamesTheFilesLeftAlone) {
    showAndSelect();
    Answers answers({"OK", u8("いいえ"), u8("はい"), "OK", "OK"});
    ctrlZ(form.ListBox1); // nothing to undo yet
    QTest::mouseClick(form.BitBtn1, Qt::LeftButton);
    ASSERT_EQ(onDisk(), renamed);
    ctrlZ(form.ListBox1); // いいえ
    EXPECT_EQ(onDisk(), renamed);
    std::filesystem::rename(folder() + "/Summ2.txt", folder() + "/mine.txt");
    ctrlZ(form.ListBox1); // はい
    ctrlZ(form.ListBox1); // an undo is not undone

    ASSERT_EQ(answers.shown.size(), 5u);
    for (const std::size_t i : {0, 4}) {
        EXPECT_EQ(answers.shown[i].text, u8("元に戻す名前の変更がありません"));
        EXPECT_EQ(answers.shown[i].buttons, QStringList{"OK"});
    }
    const Shown& confirm = answers.shown[1];
    EXPECT_EQ(confirm.caption, u8("確認"));
    EXPECT_EQ(confirm.text, u8("名前の変更を元に戻しますか？"));
    EXPECT_EQ(confirm.buttons, (QStringList{u8("はい"), u8("いいえ")}));
    EXPECT_EQ(confirm.enter, u8("はい"));
    EXPECT_EQ(confirm.escape, u8("いいえ"));
    EXPECT_EQ(answers.shown[3].caption, u8("警告"));
    EXPECT_TRUE(answers.shown[3].text.endsWith("\nSumm2.txt"));

    const Names undone = {"a.txt", "c.txt", "d.txt", "e.txt", "mine.txt"};
    EXPECT_EQ(onDisk(), undone);
    expectContents(undone, {"a.txt", "c.txt", "d.txt", "e.txt", "b.txt"});
    EXPECT_EQ(form.ListBox1->items(), undone) << "the list is read again";
    EXPECT_EQ(form.ProgressBar1->position(), 4);
    EXPECT_EQ(form.ProgressBar1->max(), 4);
}

TEST_F(RunJournals, TheFileListsMenuUndoesAndTheSeparatorEditKeepsCtrlZForItsTyping) {
    showAndSelect();
    QTest::mouseClick(form.BitBtn1, Qt::LeftButton);
    form.CheckBox1->setChecked(true);
    form.Edit1->setFocus(Qt::MouseFocusReason);
    QTest::keyClicks(form.Edit1, "_x");
    {
        Answers none({});
        ctrlZ(form.Edit1); // a dialog would be open and answered before this returns
        EXPECT_TRUE(none.shown.empty());
    }
    EXPECT_NE(form.Edit1->text(), "_x") << "the edit undid its typing";
    EXPECT_EQ(onDisk(), renamed);

    EXPECT_EQ(form.ListBox1->contextMenuPolicy(), Qt::ActionsContextMenu);
    const QList<QAction*> actions = form.ListBox1->actions();
    const auto undo = std::find_if(actions.begin(), actions.end(), [](const QAction* action) {
        return action->text() == u8("元に戻す");
    });
    ASSERT_NE(undo, actions.end());
    Answers yes({u8("はい")});
    (*undo)->trigger();
    EXPECT_EQ(onDisk(), original);
}

} // namespace
} // namespace ordinalette::app
