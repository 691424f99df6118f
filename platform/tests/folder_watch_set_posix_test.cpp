#include "platform/change_notification.h"
#include "testsupport/temp_dir.h"

#include <chrono>
#include <filesystem>
#include <gtest/gtest.h>

namespace ordinalette::platform {
namespace {

using namespace std::chrono_literals;
using testsupport::TempDir;

bool signalledWithin(const FolderWatchSet& watches, std::chrono::milliseconds timeout) {
    std::size_t signalled = 0;
    return waitForAny({{watches.waitHandle()}}, timeout, signalled) == WaitResult::Signalled;
}

TEST(FolderWatchSet, ReportsFolderNameChangesOnlyAndKeepsAWatchTwoPathsShare) {
    TempDir dir;
    dir.makeDir("watched");
    FolderWatchSet watches;
    const std::string plain = dir / "watched";
    EXPECT_EQ(watches.setFolders({plain, plain + "/", dir / "missing"}),
              (std::vector<std::string>{plain, plain + "/"}));

    dir.writeFile("watched/file.txt");
    ASSERT_TRUE(signalledWithin(watches, 5000ms));
    EXPECT_FALSE(watches.readChanges());

    // Dropping one path of the folder leaves the other watching.
    EXPECT_EQ(watches.setFolders({plain}), (std::vector<std::string>{plain}));
    dir.makeDir("watched/sub");
    ASSERT_TRUE(signalledWithin(watches, 5000ms));
    EXPECT_TRUE(watches.readChanges());

    // Unwatched, a new folder is no change (only the end of the watch is reported).
    watches.setFolders({});
    dir.makeDir("watched/other");
    EXPECT_FALSE(watches.readChanges());
}

TEST(FolderWatchSet, LinksToFoldersComeAndGoAsFoldersDo) {
    TempDir dir;
    dir.makeDir("watched");
    dir.makeDir("target");
    dir.writeFile("file.txt");
    FolderWatchSet watches;
    const std::string watched = dir / "watched";
    watches.setFolders({watched});

    std::filesystem::create_symlink(dir / "file.txt", watched + "/file-link");
    ASSERT_TRUE(signalledWithin(watches, 5000ms));
    EXPECT_FALSE(watches.readChanges());
    std::filesystem::create_symlink(dir / "target", watched + "/folder-link");
    ASSERT_TRUE(signalledWithin(watches, 5000ms));
    EXPECT_TRUE(watches.readChanges());

    // Shown, the link is watched as a folder of its own; its removal is a change, a file
    // link's is none.
    watches.setFolders({watched, watched + "/folder-link"});
    std::filesystem::remove(watched + "/file-link");
    ASSERT_TRUE(signalledWithin(watches, 5000ms));
    EXPECT_FALSE(watches.readChanges());
    std::filesystem::remove(watched + "/folder-link");
    ASSERT_TRUE(signalledWithin(watches, 5000ms));
    EXPECT_TRUE(watches.readChanges());
}

} // namespace
} // namespace ordinalette::platform
