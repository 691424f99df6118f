#include "settings/settings_file.h"
#include "testsupport/temp_dir.h"

#include <gtest/gtest.h>
#include <windows.h>

namespace ordinalette::settings {
namespace {

// Another program holding the settings file open for writing keeps it from being read and
// from being replaced; once it lets go, writing succeeds.
TEST(SettingsFileWin32, AFileHeldOpenForWritingByAnotherProgramIsRefused) {
    testsupport::TempDir dir;
    dir.writeFile("Ordinlet.ini", "FolderKetasu=7\r\n");
    const std::string path = settingsFilePath(dir.path());
    platform::FileSystem& fileSystem = platform::systemFileSystem();

    const HANDLE writer = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                                      FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(writer, INVALID_HANDLE_VALUE);
    EXPECT_TRUE(settingsFileExists(fileSystem, path));
    EXPECT_THROW(readSettingsFile(fileSystem, path), FileOpenError);
    EXPECT_THROW(writeSettingsFile(fileSystem, path, "new\r\n"), FileCreateError);
    CloseHandle(writer);

    EXPECT_EQ(readSettingsFile(fileSystem, path), "FolderKetasu=7\r\n") << "the old file stays";
    writeSettingsFile(fileSystem, path, "new\r\n");
    EXPECT_EQ(readSettingsFile(fileSystem, path), "new\r\n");
    EXPECT_EQ(dir.entries(), std::vector<std::string>{"Ordinlet.ini"});
}

} // namespace
} // namespace ordinalette::settings
