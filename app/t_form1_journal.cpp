// The window's part in the journals of its runs: the question about an interrupted run (at
// start-up and after a failed run), and the undo of the selected folder's last run.
#include "app/busy_cursor.h"
#include "app/controls/t_list_box.h"
#include "app/form_keyboard.h"
#include "app/message_dialog.h"
#include "app/t_form1.h"
#include "engine/journal_review.h"
#include "engine/journal_store.h"
#include "engine/journaled_run.h"
#include "foldertree/t_shell_tree_view.h"
#include "platform/text_services.h"

#include <QAction>
#include <QCoreApplication>
#include <algorithm>
#include <utility>

namespace ordinalette::app {

namespace {

// The answers to the question about an interrupted run; closing the dialog means "後で".
constexpr int kContinue = 100;
constexpr int kRevert = 101;
constexpr int kLater = kResultCancel;

// How many of the files left alone the message names one by one.
constexpr std::size_t kNamedFiles = 20;

QString decoded(const std::string& bytes, const platform::CodePage& codePage) {
    return QString::fromStdU16String(platform::decodeText(bytes, codePage));
}

} // namespace

void TForm1::bindUndo() {
    connect(m_keyboard, &FormKeyboard::undoRequested, this,
            [this] { runJournaledHandler(&TForm1::undoLastRun); });
    auto* undo = new QAction(QString::fromUtf8("元に戻す"), ListBox1);
    connect(undo, &QAction::triggered, this, [this] { runJournaledHandler(&TForm1::undoLastRun); });
    ListBox1->addAction(undo); // after the entries of buildListMenu, which shows them
}

engine::ProgressCallback TForm1::progressReporter() {
    return [this](std::size_t placed, std::size_t total) {
        if (placed == 1)
            startProgress(total);
        stepProgress(placed, total);
    };
}

void TForm1::runJournaledHandler(Handler handler) {
    runHandler(handler);
    runHandler(&TForm1::askAboutInterruptedRun);
}

void TForm1::rememberInterruptedRun(const std::function<void()>& work) {
    try {
        work();
    } catch (const engine::EInterruptedRun& interrupted) {
        m_interruptedRun = interrupted.run();
        throw;
    }
}

void TForm1::askAboutInterruptedRun() {
    if (!m_interruptedRun)
        return;
    const engine::InterruptedRun run = *std::exchange(m_interruptedRun, std::nullopt);
    // Finishing an undo gives the old names back, reverting it the new ones: the question of an
    // undo says so in its own words.
    const bool undo = run.kind == engine::JournalKind::Undo;
    const QString question =
        QString::fromUtf8(undo ? "前回の名前の変更の取り消しが途中で終わっています。\n"
                               : "前回の名前の変更が途中で終わっています。\n") +
        decoded(run.folderPath, m_codePage);
    const int answer = messageDlg(
        question, MsgDlgType::Information,
        {{QString::fromUtf8(undo ? "元の名前に戻す" : "続ける"), kContinue, true, false},
         {QString::fromUtf8(undo ? "新しい名前に戻す" : "元に戻す"), kRevert, false, false},
         {QString::fromUtf8("後で"), kLater, false, true}},
        QCoreApplication::applicationName());
    if (answer != kContinue && answer != kRevert)
        return;
    engine::RecoveryReport report;
    {
        // Finishing or reverting moves files like a run: no input meanwhile, and the pointer
        // says so until the files are in place or a failure ends it.
        const BusyCursor busy;
        report = answer == kContinue
                     ? engine::finishRun(m_fileSystem, m_journalDirectory, run.journal,
                                         progressReporter(), run.folderPath)
                     : engine::revertRun(m_fileSystem, m_journalDirectory, run.journal,
                                         progressReporter(), run.folderPath);
    }
    DisplayFileName();
    showLeftAlone(report);
}

void TForm1::showJournalNotice(const engine::JournalNotice& notice) {
    const QString path = decoded(notice.path, m_codePage);
    QString message;
    switch (notice.kind) {
    case engine::JournalNotice::Kind::StoreOpenToOthers:
        message = QString::fromUtf8(
            engine::storeProblemText(engine::StoreProblem::OpenToOthers, "%1").c_str());
        break;
    case engine::JournalNotice::Kind::CutShort:
        message = QString::fromUtf8("途中で切れたジャーナルがあるため、名前の変更を続けることも元に"
                                    "戻すこともできません。一時フォルダ %1 に残っているファイルを"
                                    "確かめてください。");
        break;
    case engine::JournalNotice::Kind::FolderGone:
        message = QString::fromUtf8(
            "フォルダ %1 がなくなったため、途中で終わった名前の変更のジャーナルを削除しました。");
        break;
    case engine::JournalNotice::Kind::EmptyRemoved:
        message = QString::fromUtf8("空のジャーナル %1 を削除しました。");
        break;
    }
    messageDlg(message.arg(path), MsgDlgType::Warning, {MsgDlgBtn::Ok});
}

void TForm1::offerInterruptedRuns() {
    // A run's folder moved since is looked for among the folders the tree shows.
    const std::vector<std::string> shownFolders = ShellTreeView1->visibleFolders();
    for (const engine::JournalNotice& notice :
         engine::reviewJournals(m_fileSystem, m_journalDirectory, shownFolders))
        showJournalNotice(notice);
    for (engine::InterruptedRun& run :
         engine::interruptedRuns(m_fileSystem, m_journalDirectory, shownFolders)) {
        m_interruptedRun = std::move(run);
        runHandler(&TForm1::askAboutInterruptedRun);
    }
}

void TForm1::undoLastRun() {
    const engine::LastRun last = engine::lastRunOf(m_fileSystem, m_journalDirectory, FolderPath);
    switch (last.kind) {
    case engine::LastRun::Kind::None:
        messageDlg(QString::fromUtf8("元に戻す名前の変更がありません"), MsgDlgType::Information,
                   {MsgDlgBtn::Ok});
        return;
    case engine::LastRun::Kind::Interrupted:
        // Finishing or undoing it comes first: the question follows this handler.
        m_interruptedRun = last.run;
        return;
    case engine::LastRun::Kind::Finished:
        break;
    }
    if (messageDlg(QString::fromUtf8("名前の変更を元に戻しますか？"), MsgDlgType::Confirmation,
                   {{QString::fromUtf8("はい"), kResultYes, true, false},
                    {QString::fromUtf8("いいえ"), kResultNo, false, true}}) != kResultYes)
        return;
    engine::RecoveryReport report;
    rememberInterruptedRun([&] {
        const BusyCursor busy; // an undo is a run of its own
        report = engine::undoRun(m_fileSystem, m_journalDirectory, last.run.journal, FolderPath,
                                 progressReporter());
    });
    DisplayFileName();
    showLeftAlone(report);
}

void TForm1::showLeftAlone(const engine::RecoveryReport& report) {
    if (report.leftAlone.empty())
        return;
    QString message = QString::fromUtf8("次のファイルは場所が変わったか置き換えられたか、"
                                        "移す先の名前が使われているため、そのままにしました。");
    const std::size_t named = std::min(report.leftAlone.size(), kNamedFiles);
    for (std::size_t i = 0; i < named; ++i)
        message += u'\n' + decoded(report.leftAlone[i], m_codePage);
    if (report.leftAlone.size() > named)
        message += u'\n' + QString::fromUtf8("ほか %1 個").arg(report.leftAlone.size() - named);
    messageDlg(message, MsgDlgType::Warning, {MsgDlgBtn::Ok});
}

} // namespace ordinalette::app
