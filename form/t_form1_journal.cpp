// The window's part in the journals of its runs: the question about an interrupted run (at
// start-up and after a failed run), and the undo of the selected folder's last run.
#include "engine/journal_review.h"
#include "engine/journal_store.h"
#include "engine/journaled_run.h"
#include "form/scoped_state.h"
#include "form/t_form1.h"
#include "platform/text_services.h"

#include <algorithm>
#include <string_view>
#include <utility>

namespace ordinalette::form {

namespace {

// The answers to the question about an interrupted run; closing the dialog means "後で".
constexpr int kContinue = 100;
constexpr int kRevert = 101;
constexpr int kLater = kResultCancel;

// How many of the files left alone the message names one by one.
constexpr std::size_t kNamedFiles = 20;

// A text with its "%1" replaced by an argument.
std::u16string withArgument(std::u16string_view text, std::u16string_view argument) {
    std::u16string result(text);
    if (const std::size_t place = result.find(u"%1"); place != std::u16string::npos)
        result.replace(place, 2, argument);
    return result;
}

std::u16string utf16(std::string_view utf8) {
    return platform::decodeText(utf8, platform::CodePage::utf8());
}

} // namespace

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
    const std::u16string question =
        std::u16string(undo ? u"前回の名前の変更の取り消しが途中で終わっています。\n"
                            : u"前回の名前の変更が途中で終わっています。\n") +
        platform::decodeText(run.folderPath, m_codePage);
    const int answer =
        m_controls.ask(question, MsgDlgType::Information,
                       {{undo ? u"元の名前に戻す" : u"続ける", kContinue, true, false},
                        {undo ? u"新しい名前に戻す" : u"元に戻す", kRevert, false, false},
                        {u"後で", kLater, false, true}},
                       true);
    if (answer != kContinue && answer != kRevert)
        return;
    engine::RecoveryReport report;
    {
        // Finishing or reverting moves files like a run: no input meanwhile, and the pointer
        // says so until the files are in place or a failure ends it.
        const BusyWindow busy(m_controls);
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
    std::u16string message;
    switch (notice.kind) {
    case engine::JournalNotice::Kind::StoreOpenToOthers:
        message = utf16(engine::storeProblemText(engine::StoreProblem::OpenToOthers, "%1"));
        break;
    case engine::JournalNotice::Kind::CutShort:
        message = u"途中で切れたジャーナルがあるため、名前の変更を続けることも元に"
                  u"戻すこともできません。一時フォルダ %1 に残っているファイルを"
                  u"確かめてください。";
        break;
    case engine::JournalNotice::Kind::FolderGone:
        message =
            u"フォルダ %1 がなくなったため、途中で終わった名前の変更のジャーナルを削除しました。";
        break;
    case engine::JournalNotice::Kind::EmptyRemoved:
        message = u"空のジャーナル %1 を削除しました。";
        break;
    }
    m_controls.showMessage(withArgument(message, platform::decodeText(notice.path, m_codePage)),
                           MsgDlgType::Warning, {MsgDlgBtn::Ok});
}

void TForm1::offerInterruptedRuns() {
    // A run's folder moved since is looked for among the folders the tree shows.
    const std::vector<std::string> shownFolders = m_controls.shownFolders();
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
        m_controls.showMessage(u"元に戻す名前の変更がありません", MsgDlgType::Information,
                               {MsgDlgBtn::Ok});
        return;
    case engine::LastRun::Kind::Interrupted:
        // Finishing or undoing it comes first: the question follows this handler.
        m_interruptedRun = last.run;
        return;
    case engine::LastRun::Kind::Finished:
        break;
    }
    if (m_controls.ask(u"名前の変更を元に戻しますか？", MsgDlgType::Confirmation,
                       {{u"はい", kResultYes, true, false}, {u"いいえ", kResultNo, false, true}},
                       false) != kResultYes)
        return;
    engine::RecoveryReport report;
    rememberInterruptedRun([&] {
        const BusyWindow busy(m_controls); // an undo is a run of its own
        report = engine::undoRun(m_fileSystem, m_journalDirectory, last.run.journal, FolderPath,
                                 progressReporter());
    });
    DisplayFileName();
    showLeftAlone(report);
}

void TForm1::showLeftAlone(const engine::RecoveryReport& report) {
    if (report.leftAlone.empty())
        return;
    std::u16string message = u"次のファイルは場所が変わったか置き換えられたか、"
                             u"移す先の名前が使われているため、そのままにしました。";
    const std::size_t named = std::min(report.leftAlone.size(), kNamedFiles);
    for (std::size_t i = 0; i < named; ++i)
        message += u'\n' + platform::decodeText(report.leftAlone[i], m_codePage);
    if (report.leftAlone.size() > named) {
        const std::string more = std::to_string(report.leftAlone.size() - named);
        message += u'\n' + withArgument(u"ほか %1 個", std::u16string(more.begin(), more.end()));
    }
    m_controls.showMessage(message, MsgDlgType::Warning, {MsgDlgBtn::Ok});
}

} // namespace ordinalette::form
