// The journal that every run writes before its first move.
#include "engine/tests/recovery_fixture.h"
#include "platform/path.h"

#include <filesystem>

namespace ordinalette::engine {
namespace {

namespace fs = std::filesystem;

TEST_F(RecoveryTest, TheJournalIsOnDiskBeforeTheFirstMoveAndMarkedFinishedAfterTheLast) {
    const Names names = makeOverlappingFiles(8);
    const std::string unfinished = platform::joinPath(journalDirectory, "000000000001.unfinished");
    testsupport::FaultInjectingFileSystem watching(fileSystem);
    Names journalsAtFirstMove;
    int readWhileRunning = platform::error::None;
    watching.onCall(Operation::MoveFile, 1, [&] {
        journalsAtFirstMove = journals();
        readWhileRunning = fileSystem.readFile(unfinished, 1 << 20).error;
    });
    const platform::DirectoryHandle folderHandle = fileSystem.openDirectory(folder()).value;
    const std::vector<std::uint64_t> numbers = fileNumbersOf(fileSystem, folderHandle, names);

    runRename(watching, overlappingRun(names), utf8);
    EXPECT_EQ(journalsAtFirstMove, Names{"000000000001.unfinished"});
    EXPECT_NE(readWhileRunning, platform::error::None) << "no other instance takes it up";
    EXPECT_EQ(journals(), Names{"000000000001.finished"});
    expectRenamed(names);

    const auto journal = parseJournal(dir.readFile("state/ordinalette/000000000001.finished"));
    ASSERT_TRUE(journal);
    EXPECT_EQ(journal->kind, JournalKind::Run);
    EXPECT_EQ(journal->folderPath, folder());
    EXPECT_EQ(journal->folder, fileSystem.identity(folderHandle).value);
    EXPECT_EQ(journal->temporaryName, "tmp1");
    const Names renamed = newNames(names);
    ASSERT_EQ(journal->files.size(), names.size());
    for (std::size_t i = 0; i < names.size(); ++i) {
        EXPECT_EQ(journal->files[i].oldName, names[i]);
        EXPECT_EQ(journal->files[i].newName, renamed[i]);
        EXPECT_EQ(journal->files[i].fileNumber, numbers[i]);
        EXPECT_NE(journal->files[i].fileNumber, 0u);
        EXPECT_EQ(journal->files[i].identity,
                  fileSystem.entryIdentity(folderHandle, renamed[i]).value);
    }
}

TEST_F(RecoveryTest, AJournalThatCannotBeWrittenStopsTheRunBeforeAnythingMoves) {
    const Names original = {"a.txt", "b.txt"};
    const struct {
        Operation operation;
        int call;
    } cases[] = {
        {Operation::CreateDirectories, 1},
        {Operation::CreateNewFile, 1},
        {Operation::WriteFile, 1},
        {Operation::FlushFile, 1},
        {Operation::OpenDirectory, 2},
        {Operation::FlushDirectory, 1},
        {Operation::Identity, 1},
        {Operation::EnumerateFileNumbers, 1},
        {Operation::EntryIdentity, 1},
        {Operation::CreateDirectory, 1}, // the temporary folder: the journal goes again
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "operation " << static_cast<int>(c.operation));
        startOver();
        const Names names = makeFiles(original);
        testsupport::FaultInjectingFileSystem failing(fileSystem);
        failing.failCall(c.operation, c.call, platform::error::DiskFull);
        try {
            runRename(failing, request(names), utf8);
            ADD_FAILURE() << "the run did not fail";
        } catch (const EInterruptedRun&) {
            ADD_FAILURE() << "nothing had moved";
        } catch (const EInOutError& error) {
            EXPECT_EQ(error.code(), platform::error::DiskFull);
        }
        EXPECT_EQ(entries(), original);
        EXPECT_TRUE(!dir.exists("state/ordinalette") || journals().empty());
        EXPECT_TRUE(progress.empty());
    }

    const Names names = makeFiles({});
    RenameRun nowhere = request(names);
    nowhere.journalDirectory = {};
    EXPECT_EQ(failingCode(fileSystem, nowhere), platform::error::PathNotFound);
    EXPECT_EQ(entries(), original);
}

TEST_F(RecoveryTest, ARunWhoseFirstMoveFailsLeavesNoJournalAndHidesNoRun) {
    // Two windows on one folder: the second one runs on the list it showed before the first run.
    const Names names = makeFiles({"a.txt", "b.txt"});
    runRename(fileSystem, request(names), utf8);
    EXPECT_EQ(failingCode(fileSystem, request(names)), platform::error::FileNotFound);
    EXPECT_EQ(journals(), Names{"000000000001.finished"});
    EXPECT_EQ(entries(), (Names{"Note1.txt", "Note2.txt"}));
    EXPECT_TRUE(offered().empty());
    const LastRun last = lastRunOf(fileSystem, journalDirectory, folder());
    EXPECT_EQ(last.kind, LastRun::Kind::Finished);
    EXPECT_EQ(last.run.journal, 1u);
}

TEST_F(RecoveryTest, AJournalIsFinishedOnlyOnceTheRenamedFolderIsFlushed) {
    // The first flush of a folder is the journal's own; the next ones are the run's folders.
    for (const int call : {2, 3}) {
        SCOPED_TRACE(call);
        startOver();
        const Names files = makeOverlappingFiles(4);
        testsupport::FaultInjectingFileSystem failing(fileSystem);
        failing.failCall(Operation::FlushDirectory, call, platform::error::DeviceIoError);
        EXPECT_THROW(runRename(failing, overlappingRun(files), utf8), EInterruptedRun);
        EXPECT_EQ(journals(), Names{"000000000001.unfinished"});
        ASSERT_EQ(offered().size(), 1u);
        finishRun(fileSystem, journalDirectory, offered()[0].journal, {});
        expectRenamed(files);
    }
}

TEST_F(RecoveryTest, TheLastTwentyFinishedJournalsAreKeptAndUnfinishedOnesStay) {
    interruptAtMove(makeOverlappingFiles(4), 2);
    leaveFolder();
    fs::remove_all(folder());
    dir.makeDir("Notes");
    Names names = makeFiles({"a.txt"});
    for (int run = 0; run < 22; ++run) {
        runRename(fileSystem, request(names), utf8);
        names = listFiles(fileSystem, folder(), "*.*", collator);
    }
    Names expected = {"000000000001.unfinished"};
    for (int number = 4; number <= 23; ++number) {
        char name[32];
        std::snprintf(name, sizeof name, "%012d.finished", number);
        expected.push_back(name);
    }
    EXPECT_EQ(journals(), expected);
}

} // namespace
} // namespace ordinalette::engine
