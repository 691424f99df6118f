#include "platform/win32/folder_change_notifications.h"
#include "testsupport/temp_dir.h"

#include <gtest/gtest.h>
#include <memory>
#include <set>

namespace ordinalette::platform {
namespace {

TEST(FolderChangeNotifications, MoreFoldersThanOneWaitTakesReportEachItsOwnNewFolders) {
    testsupport::TempDir dir;
    std::vector<std::string> folders;
    for (int i = 0; i < 70; ++i) {
        folders.push_back(dir.path() + "\\" + std::to_string(i));
        ASSERT_TRUE(CreateDirectoryA(folders.back().c_str(), nullptr));
    }
    ASSERT_TRUE(CreateDirectoryA((folders[10] + "\\deep").c_str(), nullptr));
    std::vector<std::string> asked = folders;
    asked.push_back(dir.path() + "\\missing");
    const std::unique_ptr<void, decltype(&CloseHandle)> changedEvent(
        CreateEventA(nullptr, FALSE, FALSE, nullptr), &CloseHandle);
    FolderChangeNotifications notifications(asked, changedEvent.get());
    EXPECT_EQ(notifications.folders(), folders) << "a folder without a notification is left out";

    // Neither a file nor a folder deeper down changes a watched folder's folders; the changes
    // that do come last, so that a wrong report would come before them.
    dir.writeFile("5\\file.txt");
    ASSERT_TRUE(CreateDirectoryA((folders[10] + "\\deep\\inner").c_str(), nullptr));
    ASSERT_TRUE(CreateDirectoryA((folders[0] + "\\new").c_str(), nullptr));
    ASSERT_TRUE(CreateDirectoryA((folders[69] + "\\new").c_str(), nullptr));
    std::set<std::string> changed;
    while (changed.size() < 2 && !notifications.failed()) {
        WaitForSingleObject(changedEvent.get(), INFINITE);
        for (const std::string& folder : notifications.takeChanged())
            changed.insert(folder);
    }
    EXPECT_FALSE(notifications.failed());
    EXPECT_EQ(changed, (std::set<std::string>{folders[0], folders[69]}));
}

} // namespace
} // namespace ordinalette::platform
