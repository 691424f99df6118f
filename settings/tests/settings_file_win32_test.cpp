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
    EXPECT_THROW(readSettingsFile(fileSystem, path), FileOpenError);
    EXPECT_THROW(writeSettingsFile(fileSystem, path, "new\r\n"), FileCreateError);
    CloseHandle(writer);

    EXPECT_EQ(readSettingsFile(fileSystem, path), "FolderKetasu=7\r\n") << "the old file stays";
    writeSettingsFile(fileSystem, path, "new\r\n");
    EXPECT_EQ(readSettingsFile(fileSystem, path), "new\r\n");
    EXPECT_EQ(dir.entries(), std::vector<std::string>{"Ordinlet.ini"});
}

TEST(SettingsFileWin32, TheFileKeepsItsAttributesAndEveryOneOfItsNames) {
    testsupport::TempDir dir;
    dir.writeFile("Ordinlet.ini", "old\r\n");
    const std::string path = settingsFilePath(dir.path());
    platform::FileSystem& fileSystem = platform::systemFileSystem();

    ASSERT_TRUE(SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_HIDDEN));
    writeSettingsFile(fileSystem, path, "new\r\n");
    EXPECT_EQ(dir.readFile("Ordinlet.ini"), "new\r\n");
    EXPECT_TRUE(GetFileAttributesA(path.c_str()) & FILE_ATTRIBUTE_HIDDEN);
    ASSERT_TRUE(SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL));

    const std::string other = dir / "other-name.ini";
    ASSERT_TRUE(CreateHardLinkA(other.c_str(), path.c_str(), nullptr));
    writeSettingsFile(fileSystem, path, "both\r\n");
    EXPECT_EQ(dir.readFile("other-name.ini"), "both\r\n");
    EXPECT_EQ(dir.entries(), (std::vector<std::string>{"Ordinlet.ini", "other-name.ini"}));
}

} // namespace
} // namespace ordinalette::settings
