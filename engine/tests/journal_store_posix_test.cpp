// Journals that someone else could have written, or that no run of ours could have made.
#include "engine/journal_review.h"
#include "engine/journal_store.h"
#include "engine/tests/recovery_fixture.h"

#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

namespace ordinalette::engine {
namespace {

namespace fs = std::filesystem;

TEST_F(RecoveryTest, NothingInAJournalFolderThatOthersMayWriteIsOfferedOrUndone) {
    const Names names = makeOverlappingFiles(6);
    interruptAtMove(names, 3);
    const std::string unfinished = journalDirectory + "/000000000001.unfinished";
    ASSERT_EQ(offered().size(), 1u);

    ASSERT_EQ(chmod(journalDirectory.c_str(), 0770), 0);
    EXPECT_TRUE(offered().empty());
    EXPECT_EQ(lastRunOf(fileSystem, journalDirectory, folder()).kind, LastRun::Kind::None);
    const std::vector<JournalNotice> notices = reviewJournals(fileSystem, journalDirectory);
    ASSERT_EQ(notices.size(), 1u);
    EXPECT_EQ(notices[0].kind, JournalNotice::Kind::StoreOpenToOthers);
    EXPECT_EQ(notices[0].path, journalDirectory);
    try {
        runRename(fileSystem, request(makeFiles({"z.txt"})), utf8);
        ADD_FAILURE() << "a run went on without a journal to trust";
    } catch (const EJournalStore& error) {
        EXPECT_EQ(std::string(error.what()), "ジャーナルのフォルダ " + journalDirectory +
                                                 " は他のユーザーが書き込めるため使用しません");
    }
    ASSERT_EQ(chmod(journalDirectory.c_str(), 0700), 0);
    fs::remove(folder() + "/z.txt");

    // A journal that others may write, or a link in place of one (to a journal or to a huge
    // sparse file), spoils the whole folder.
    ASSERT_EQ(chmod(unfinished.c_str(), 0622), 0);
    EXPECT_TRUE(offered().empty());
    ASSERT_EQ(chmod(unfinished.c_str(), 0600), 0);
    fs::rename(unfinished, dir / "planted");
    fs::create_symlink(dir / "planted", unfinished);
    EXPECT_TRUE(offered().empty());
    fs::remove(unfinished);
    fs::rename(dir / "planted", unfinished);
    ASSERT_EQ(offered().size(), 1u);
    finishRun(fileSystem, journalDirectory, offered()[0].journal, {});
    expectRenamed(names);
}

TEST_F(RecoveryTest, AJournalLargerThanAnyRunCanWriteIsRefusedBeforeItIsRead) {
    fs::create_directories(journalDirectory);
    ASSERT_EQ(chmod(journalDirectory.c_str(), 0700), 0);
    const std::string huge = journalDirectory + "/000000000001.unfinished";
    dir.writeFile("state/ordinalette/000000000001.unfinished");
    ASSERT_EQ(chmod(huge.c_str(), 0600), 0);
    fs::resize_file(huge, JournalStore::kLargestJournal + 1); // sparse: no disk space taken
    JournalStore store(fileSystem, journalDirectory);
    EXPECT_EQ(store.read(*store.find(1)).error, platform::error::FileTooLarge);
    EXPECT_TRUE(offered().empty());
}

} // namespace
} // namespace ordinalette::engine
