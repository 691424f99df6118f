#include "platform/change_notification.h"
#include "platform/debug_log.h"
#include "platform/file_system.h"
#include "platform/posix/folder_entries.h"
#include "testsupport/debug_log_capture.h"
#include "testsupport/temp_dir.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

namespace ordinalette::platform {
namespace {

using testsupport::DebugLogCapture;
using testsupport::TempDir;

// Whether there is exactly one message and it names path.
bool isOneMessageAbout(const std::vector<std::string>& messages, const std::string& path) {
    return messages.size() == 1 && messages[0].find(path) != std::string::npos;
}

TEST(DebugLog, FailuresTheLayerGoesOnAfterAreLoggedWithTheirPath) {
    DebugLogCapture log;
    TempDir dir;
    dir.makeDir("folder");
    dir.writeFile("file.txt");
    std::filesystem::create_directory_symlink(dir / "folder", dir / "to-folder");
    const auto visitNothing = [](const DirectoryEntry&) {};

    // A folder that reads without trouble logs nothing.
    ASSERT_TRUE(listSubfolders(dir.path(), true));
    ASSERT_EQ(systemFileSystem().enumerate(dir / "*.*", {}, visitNothing), error::None);
    EXPECT_TRUE(log.take().empty());

    // An entry that cannot be read is passed over by both listings.
    std::filesystem::create_symlink(dir / "nowhere", dir / "dangling");
    ASSERT_TRUE(listSubfolders(dir.path(), true));
    EXPECT_TRUE(isOneMessageAbout(log.take(), dir / "dangling"));
    ASSERT_EQ(systemFileSystem().enumerate(dir / "*.*", {}, visitNothing), error::None);
    EXPECT_TRUE(isOneMessageAbout(log.take(), dir / "dangling"));

    // A folder that cannot be watched stays unwatched.
    FolderWatchSet watchSet;
    EXPECT_EQ(watchSet.setFolders({dir / "folder", dir / "missing"}),
              std::vector<std::string>{dir / "folder"});
    EXPECT_TRUE(isOneMessageAbout(log.take(), dir / "missing"));
}

} // namespace
} // namespace ordinalette::platform
