#include "platform/debug_log.h"
#include "platform/file_system.h"
#include "platform/posix/change_notification.h"
#include "platform/posix/folder_entries.h"
#include "testsupport/temp_dir.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

namespace ordinalette::platform {
namespace {

using testsupport::TempDir;

// Collects what the layer logs while it lives.
class LogCapture {
public:
    LogCapture() { setDebugLogSink(&collect); }
    ~LogCapture() {
        setDebugLogSink(nullptr);
        std::lock_guard lock(s_lock);
        s_messages.clear();
    }
    // The messages so far, and none kept for the next call.
    std::vector<std::string> take() {
        std::lock_guard lock(s_lock);
        return std::exchange(s_messages, {});
    }

private:
    static void collect(std::string_view message) {
        std::lock_guard lock(s_lock);
        s_messages.emplace_back(message);
    }
    static inline std::mutex s_lock;
    static inline std::vector<std::string> s_messages;
};

// Whether there is exactly one message and it names path.
bool isOneMessageAbout(const std::vector<std::string>& messages, const std::string& path) {
    return messages.size() == 1 && messages[0].find(path) != std::string::npos;
}

TEST(DebugLog, FailuresTheLayerGoesOnAfterAreLoggedWithTheirPath) {
    LogCapture log;
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
