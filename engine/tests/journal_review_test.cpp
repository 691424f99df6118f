// Journals that recovery cannot offer: reported once at start-up, and removed where nothing is
// left for them to do.
#include "engine/journal_review.h"
#include "engine/journal_store.h"
#include "engine/tests/recovery_fixture.h"

#include <filesystem>

namespace ordinalette::engine {
namespace {

namespace fs = std::filesystem;

using Kind = JournalNotice::Kind;

TEST_F(RecoveryTest, DamagedJournalsAreReportedOnceAndEmptyOrOrphanedOnesRemoved) {
    const Names names = makeOverlappingFiles(6);
    interruptAtMove(names, 3); // two files parked in tmp1
    const std::string journal = "state/ordinalette/000000000001.unfinished";
    const std::string text = dir.readFile(journal);
    dir.writeFile(journal, text.substr(0, text.size() / 2));    // cut short by a crash
    dir.writeFile("state/ordinalette/000000000002.unfinished"); // killed while written
    const auto review = [&] { return reviewJournals(fileSystem, journalDirectory); };

    std::vector<JournalNotice> notices = review();
    ASSERT_EQ(notices.size(), 2u);
    EXPECT_EQ(notices[0].kind, Kind::EmptyRemoved);
    EXPECT_EQ(notices[0].path, platform::joinPath(journalDirectory, "000000000002.unfinished"));
    EXPECT_EQ(notices[1].kind, Kind::CutShort);
    EXPECT_EQ(notices[1].path, platform::joinPath(folder(), "tmp1"));
    EXPECT_EQ(journals(), Names{"000000000001.damaged"});
    EXPECT_TRUE(review().empty()) << "told once";
    EXPECT_TRUE(offered().empty());

    // An unfinished journal whose folder is gone from its volume.
    startOver();
    interruptAtMove(makeOverlappingFiles(4), 2);
    leaveFolder();
    fs::remove_all(folder());
    notices = review();
    ASSERT_EQ(notices.size(), 1u);
    EXPECT_EQ(notices[0].kind, Kind::FolderGone);
    EXPECT_EQ(notices[0].path, folder());
    EXPECT_TRUE(journals().empty());
}

TEST_F(RecoveryTest, JournalNumbersOfAnyDigitCountAreRead) {
    const Names names = makeFiles({"a.txt"});
    runRename(fileSystem, request(names), utf8);
    fs::rename(dir / "state/ordinalette/000000000001.finished",
               dir / "state/ordinalette/999999999999.finished");
    runRename(fileSystem, request(listFiles(fileSystem, folder(), "*.*", collator), "Page"), utf8);
    EXPECT_EQ(journals(), (Names{"1000000000000.finished", "999999999999.finished"}));
    const LastRun last = lastRunOf(fileSystem, journalDirectory, folder());
    ASSERT_EQ(last.kind, LastRun::Kind::Finished);
    EXPECT_EQ(last.run.journal, 1000000000000u);
}

TEST_F(RecoveryTest, AJournalThatCannotBeWrittenSaysSoNamingTheStateFolder) {
    dir.makeDir("state");
    dir.writeFile("state/ordinalette", "a file where the folder goes");
    const Names names = makeFiles({"a.txt"});
    try {
        runRename(fileSystem, request(names), utf8);
        ADD_FAILURE() << "the run did not fail";
    } catch (const EJournalStore& error) {
        EXPECT_EQ(std::string(error.what()),
                  "ジャーナル " + journalDirectory + " を書き込めません");
    }
    EXPECT_EQ(entries(), names);
}

} // namespace
} // namespace ordinalette::engine
