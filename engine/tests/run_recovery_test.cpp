// Finishing and undoing interrupted runs, and undoing finished ones.
#include "engine/journal_review.h"
#include "engine/tests/recovery_fixture.h"
#include "platform/path.h"

#include <filesystem>

namespace ordinalette::engine {
namespace {

namespace fs = std::filesystem;

enum class Answer { Finish, Revert };

RecoveryReport recover(Answer answer, platform::FileSystem& fileSystem, const std::string& journals,
                       std::uint64_t journal, const ProgressCallback& progress = {}) {
    return answer == Answer::Finish ? finishRun(fileSystem, journals, journal, progress)
                                    : revertRun(fileSystem, journals, journal, progress);
}

TEST_F(RecoveryTest, OnlyRunsWhoseFolderAndTemporaryFolderRemainAreOffered) {
    const Names names = makeOverlappingFiles(6);
    interruptAtMove(names, 3);
    // The folder renamed, and another one in its place: not the run's folder, but the renamed
    // one is, and is offered where it is now.
    leaveFolder();
    fs::rename(folder(), dir / "Moved");
    dir.makeDir("Notes");
    ASSERT_EQ(offered().size(), 1u);
    EXPECT_EQ(offered()[0].folderPath, platform::joinPath(dir.path(), "Moved"));
    EXPECT_EQ(lastRunOf(fileSystem, journalDirectory, folder()).kind, LastRun::Kind::None);
    // Moved elsewhere: found by the folder the user selects, and finished there.
    fs::create_directory(dir / "away");
    fs::rename(dir / "Moved", dir / "away/Moved");
    EXPECT_TRUE(offered().empty());
    const LastRun away = lastRunOf(fileSystem, journalDirectory, dir / "away/Moved");
    ASSERT_EQ(away.kind, LastRun::Kind::Interrupted);
    EXPECT_EQ(away.run.folderPath, dir / "away/Moved");
    revertRun(fileSystem, journalDirectory, away.run.journal, {}, away.run.folderPath);
    EXPECT_EQ(dir.entries("away/Moved"), names);
    EXPECT_TRUE(offered().empty());
    startOver();
    interruptAtMove(makeFiles(names), 3);
    ASSERT_EQ(offered().size(), 1u);
    EXPECT_EQ(offered()[0].folderPath, folder());
    EXPECT_EQ(lastRunOf(fileSystem, journalDirectory, folder()).kind, LastRun::Kind::Interrupted);

    // Without its temporary folder, a run has nothing left to move; its files tell how it ended.
    std::vector<std::size_t> steps;
    finishRun(fileSystem, journalDirectory, offered()[0].journal,
              [&](std::size_t placed, std::size_t total) { steps.push_back(total - placed); });
    EXPECT_EQ(steps, (std::vector<std::size_t>{5, 4, 3, 2, 1, 0})) << "placing 6 files";
    expectRenamed(names);
    const std::string finished = dir / "state/ordinalette/000000000001.finished";
    fs::rename(finished, dir / "state/ordinalette/000000000001.unfinished");
    EXPECT_TRUE(offered().empty());
    EXPECT_EQ(journals(), Names{"000000000001.finished"}) << "settled as finished";
    EXPECT_EQ(lastRunOf(fileSystem, journalDirectory, folder()).kind, LastRun::Kind::Finished);
}

TEST_F(RecoveryTest, AFolderMovedElsewhereIsFoundByItsIdentityAmongTheShownFolders) {
    const Names names = makeOverlappingFiles(6);
    interruptAtMove(names, 3);
    leaveFolder();
    fs::create_directories(dir / "away");
    fs::rename(folder(), dir / "away/Notes");
    dir.makeDir("Notes");
    dir.makeDir("other/Notes");
    // Shown first, a folder of the same name that is another folder is not taken.
    const std::vector<std::string> shown = {dir / "other/Notes", dir / "away"};
    EXPECT_TRUE(reviewJournals(fileSystem, journalDirectory, shown).empty()) << "not gone";
    const std::vector<InterruptedRun> runs = interruptedRuns(fileSystem, journalDirectory, shown);
    ASSERT_EQ(runs.size(), 1u);
    EXPECT_EQ(runs[0].folderPath, platform::joinPath(dir / "away", "Notes"));
    finishRun(fileSystem, journalDirectory, runs[0].journal, {}, runs[0].folderPath);
    Names renamed = newNames(names);
    std::sort(renamed.begin(), renamed.end());
    EXPECT_EQ(dir.entries("away/Notes"), renamed);
}

TEST_F(RecoveryTest, FinishingLeavesAloneFilesReplacedOrInTheWayAndNamesThem) {
    const Names names = makeOverlappingFiles(8);
    const Names renamed = newNames(names);
    interruptAtMove(names, 4); // names[0..2] parked, the rest still in the folder
    // Someone replaces a parked file, and puts a file of their own where another is to go.
    dir.writeFile("Notes/tmp1/replacement", "theirs");
    fs::rename(folder() + "/tmp1/replacement", folder() + "/tmp1/" + names[1]);
    dir.writeFile("Notes/" + renamed[5], "theirs too");

    const RecoveryReport report = finishRun(fileSystem, journalDirectory, offered()[0].journal, {});
    EXPECT_EQ(report.leftAlone, (Names{names[1], names[5]}));
    EXPECT_EQ(content(renamed[5]), "theirs too");
    EXPECT_EQ(content(names[5]), names[5]) << "left where it was";
    EXPECT_EQ(dir.readFile("Notes/tmp1/" + names[1]), "theirs") << "theirs, so it stays";
    for (const std::size_t i : {0, 2, 3, 4, 6, 7})
        EXPECT_EQ(content(renamed[i]), names[i]);
    EXPECT_TRUE(offered().empty()) << "the journal has done what it can";
}

TEST_F(RecoveryTest, UndoAfterARunRestoresEveryOldNameAndContent) {
    const Names names = makeOverlappingFiles(40);
    EXPECT_EQ(lastRunOf(fileSystem, journalDirectory, folder()).kind, LastRun::Kind::None);
    runRename(fileSystem, overlappingRun(names), utf8);
    const LastRun last = lastRunOf(fileSystem, journalDirectory, folder());
    ASSERT_EQ(last.kind, LastRun::Kind::Finished);

    std::size_t placed = 0;
    const RecoveryReport report = undoRun(fileSystem, journalDirectory, last.run.journal, folder(),
                                          [&](std::size_t done, std::size_t total) {
                                              placed = done;
                                              EXPECT_EQ(total, names.size());
                                          });
    EXPECT_TRUE(report.leftAlone.empty());
    EXPECT_EQ(placed, names.size());
    expectOriginal(names);
    EXPECT_EQ(journals(), (Names{"000000000001.finished", "000000000002.finished"}));
    EXPECT_EQ(lastRunOf(fileSystem, journalDirectory, folder()).kind, LastRun::Kind::None)
        << "an undo is not undone";

    // The next run is the one undone, through a folder reached by another path as well.
    runRename(fileSystem, overlappingRun(names), utf8);
    leaveFolder();
    fs::rename(folder(), dir / "Renamed");
    const std::string renamedFolder = dir / "Renamed";
    const LastRun next = lastRunOf(fileSystem, journalDirectory, renamedFolder);
    ASSERT_EQ(next.kind, LastRun::Kind::Finished);
    EXPECT_EQ(next.run.journal, 3u);
    undoRun(fileSystem, journalDirectory, next.run.journal, renamedFolder, {});
    leaveFolder();
    fs::rename(renamedFolder, folder());
    expectOriginal(names);
}

TEST_F(RecoveryTest, UndoRefusesFilesChangedSinceTheRunAndNamesThem) {
    const Names names = makeFiles({"a.txt", "b.txt", "c.txt", "d.txt", "e.txt"});
    runRename(fileSystem, request(names), utf8);
    fs::rename(folder() + "/Note1.txt", folder() + "/mine.txt"); // moved
    dir.writeFile("Notes/new", "replaced");                      // replaced by another file
    fs::rename(folder() + "/new", folder() + "/Note2.txt");
    dir.writeFile("Notes/c.txt", "a new c"); // the old name taken
    const LastRun last = lastRunOf(fileSystem, journalDirectory, folder());
    ASSERT_EQ(last.kind, LastRun::Kind::Finished);

    const RecoveryReport report =
        undoRun(fileSystem, journalDirectory, last.run.journal, folder(), {});
    EXPECT_EQ(report.leftAlone, (Names{"Note1.txt", "Note2.txt", "Note3.txt"}));
    EXPECT_EQ(entries(), (Names{"Note2.txt", "Note3.txt", "c.txt", "d.txt", "e.txt", "mine.txt"}));
    EXPECT_EQ(content("d.txt"), "d.txt");
    EXPECT_EQ(content("e.txt"), "e.txt");
    EXPECT_EQ(content("Note2.txt"), "replaced");
    EXPECT_EQ(content("Note3.txt"), "c.txt");
    EXPECT_EQ(content("c.txt"), "a new c");
    EXPECT_EQ(content("mine.txt"), "a.txt");

    // Nothing left to undo: the undo is the folder's last run.
    EXPECT_EQ(lastRunOf(fileSystem, journalDirectory, folder()).kind, LastRun::Kind::None);
}

TEST_F(RecoveryTest, AFileMadeLaterUnderARenamedFileNameIsLeftAloneEvenInItsInode) {
    const Names names = makeFiles({"a.jpg", "b.jpg", "c.jpg"});
    runRename(fileSystem, request(names), utf8);
    // The user deletes Note3.jpg and makes a new one; the file system gives it the freed inode
    // number, as it usually does (written into the journal, so that it happens every time).
    fs::remove(folder() + "/Note3.jpg");
    dir.writeFile("Notes/Note3.jpg", "new");
    auto journal = parseJournal(dir.readFile("state/ordinalette/000000000001.finished"));
    ASSERT_TRUE(journal);
    const platform::DirectoryHandle handle = fileSystem.openDirectory(folder()).value;
    const std::string newcomer = "Note3.jpg";
    journal->files[2].fileNumber = fileNumbersOf(fileSystem, handle, {&newcomer, 1})[0];
    dir.writeFile("state/ordinalette/000000000001.finished", journalText(*journal));

    const LastRun last = lastRunOf(fileSystem, journalDirectory, folder());
    ASSERT_EQ(last.kind, LastRun::Kind::Finished);
    const RecoveryReport report =
        undoRun(fileSystem, journalDirectory, last.run.journal, folder(), {});
    EXPECT_EQ(report.leftAlone, Names{"Note3.jpg"});
    EXPECT_EQ(entries(), (Names{"Note3.jpg", "a.jpg", "b.jpg"}));
    EXPECT_EQ(content("Note3.jpg"), "new");
}

TEST_F(RecoveryTest, NewNamesOfTheTemporaryFolderKindAreGivenAndTakenBack) {
    // A folder "tmp" with files a, b, c and no separator: the new names are tmp1 to tmp3.
    const Names names = makeFiles({"a", "b", "c"});
    runRename(fileSystem, request(names, "tmp"), utf8);
    EXPECT_EQ(entries(), (Names{"tmp1", "tmp2", "tmp3"}));
    EXPECT_EQ(content("tmp3"), "c");
    EXPECT_EQ(progress.size(), 3u);

    const LastRun last = lastRunOf(fileSystem, journalDirectory, folder());
    ASSERT_EQ(last.kind, LastRun::Kind::Finished);
    undoRun(fileSystem, journalDirectory, last.run.journal, folder(), {});
    expectOriginal(names);
}

TEST_F(RecoveryTest, FaultsInFinishingAndUndoingLeaveAJournalThatALaterStartCompletes) {
    enum class Work { Finish, Revert, Undo };
    const int count = 10;
    const struct {
        Work work;
        Operation operation;
        int call;
    } cases[] = {
        // Interrupted with 3 files placed and 7 parked: finishing places 7, reverting parks 3
        // and places 10.
        {Work::Finish, Operation::MoveFile, 1},
        {Work::Finish, Operation::MoveFile, 7}, // the last one
        {Work::Finish, Operation::EnumerateFileNumbers, 2},
        {Work::Finish, Operation::RemoveDirectory, 1},
        {Work::Finish, Operation::ReplaceFile, 1}, // marking it finished
        {Work::Revert, Operation::MoveFile, 2},    // parking
        {Work::Revert, Operation::MoveFile, 4},    // placing
        {Work::Revert, Operation::MoveFile, 13},
        {Work::Revert, Operation::RemoveDirectory, 1},
        {Work::Revert, Operation::ReplaceFile, 1},
        {Work::Undo, Operation::CreateNewFile, 1},   // its journal
        {Work::Undo, Operation::CreateDirectory, 1}, // its temporary folder
        {Work::Undo, Operation::MoveFile, 1},
        {Work::Undo, Operation::MoveFile, count + 4},
        {Work::Undo, Operation::RemoveDirectory, 1},
        {Work::Undo, Operation::ReplaceFile, 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "work " << static_cast<int>(c.work) << ", operation "
                                        << static_cast<int>(c.operation) << ", call " << c.call);
        startOver();
        const Names names = makeOverlappingFiles(count);
        testsupport::FaultInjectingFileSystem failing(fileSystem);
        failing.failCall(c.operation, c.call, platform::error::AccessDenied);
        if (c.work == Work::Undo) {
            runRename(fileSystem, overlappingRun(names), utf8);
            const LastRun last = lastRunOf(fileSystem, journalDirectory, folder());
            EXPECT_THROW(undoRun(failing, journalDirectory, last.run.journal, folder(), {}),
                         EInOutError);
        } else {
            interruptAtMove(names, count + 4);
            const Answer answer = c.work == Work::Finish ? Answer::Finish : Answer::Revert;
            EXPECT_THROW(recover(answer, failing, journalDirectory, offered()[0].journal),
                         EInOutError);
        }

        // A later start: what is offered is completed the same way; an undo that never
        // started is asked for again.
        for (const InterruptedRun& run : offered()) {
            if (c.work == Work::Revert)
                revertRun(fileSystem, journalDirectory, run.journal, {});
            else
                finishRun(fileSystem, journalDirectory, run.journal, {});
        }
        const LastRun last = lastRunOf(fileSystem, journalDirectory, folder());
        if (c.work == Work::Undo && last.kind == LastRun::Kind::Finished)
            undoRun(fileSystem, journalDirectory, last.run.journal, folder(), {});
        EXPECT_TRUE(offered().empty());
        if (c.work == Work::Finish)
            expectRenamed(names);
        else
            expectOriginal(names);
    }
}

} // namespace
} // namespace ordinalette::engine
