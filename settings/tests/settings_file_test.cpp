#include "settings/settings_file.h"
#include "testsupport/fault_injecting_file_system.h"
#include "testsupport/temp_dir.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

namespace ordinalette::settings {
namespace {

using testsupport::FaultInjectingFileSystem;
using Operation = FaultInjectingFileSystem::Operation;

class SettingsFileTest : public ::testing::Test {
protected:
    std::string path() const { return settingsFilePath(dir.path()); }

    testsupport::TempDir dir;
    platform::FileSystem& real = platform::systemFileSystem();
    FaultInjectingFileSystem faulty{real};
};

TEST_F(SettingsFileTest, ExistsOnlyAsAFileAndReadsWhole) {
    EXPECT_FALSE(settingsFileExists(real, path()));
    dir.makeDir("Ordinlet.ini");
    EXPECT_FALSE(settingsFileExists(real, path())) << "a folder of that name is no settings file";

    testsupport::TempDir other;
    other.writeFile("Ordinlet.ini", std::string("A=1\r\n\0B=2", 9));
    const std::string otherPath = settingsFilePath(other.path());
    EXPECT_TRUE(settingsFileExists(real, otherPath));
    EXPECT_EQ(readSettingsFile(real, otherPath), std::string("A=1\r\n\0B=2", 9));
}

TEST_F(SettingsFileTest, AFileThatCannotBeOpenedRaisesTheOpenErrorWithItsPath) {
    dir.writeFile("Ordinlet.ini", "FolderKetasu=7\r\n");
    faulty.failCall(Operation::ReadFile, 1, platform::error::SharingViolation);
    try {
        readSettingsFile(faulty, path());
        FAIL() << "no error";
    } catch (const FileOpenError& error) {
        EXPECT_EQ(std::string(error.what()), "ファイル " + path() + " は開けません");
    }
}

TEST_F(SettingsFileTest, WritingCreatesOrReplacesTheWholeFileAndLeavesNothingElse) {
    writeSettingsFile(real, path(), "A=1\r\n");
    EXPECT_EQ(dir.readFile("Ordinlet.ini"), "A=1\r\n");
    dir.writeFile("Ordinlet.ini", "a much longer old content that must not survive\r\n");
    writeSettingsFile(real, path(), "B=2\r\n");
    EXPECT_EQ(dir.readFile("Ordinlet.ini"), "B=2\r\n");
    EXPECT_EQ(dir.entries(), std::vector<std::string>{"Ordinlet.ini"});
}

TEST_F(SettingsFileTest, EveryFailedWriteKeepsTheOldFileWholeAndRaisesItsError) {
    const std::string old = "FolderKetasu=9\r\n";
    struct Case {
        Operation operation;
        bool createError;
    };
    for (const Case& failure :
         {Case{Operation::CreateFile, true}, Case{Operation::WriteFile, false},
          Case{Operation::FlushFile, false}, Case{Operation::ReplaceFile, true}}) {
        dir.writeFile("Ordinlet.ini", old);
        FaultInjectingFileSystem fileSystem(real);
        fileSystem.failCall(failure.operation, 1, platform::error::DiskFull);
        try {
            writeSettingsFile(fileSystem, path(), "new\r\n");
            ADD_FAILURE() << "no error for operation " << static_cast<int>(failure.operation);
        } catch (const FileCreateError& error) {
            EXPECT_TRUE(failure.createError);
            EXPECT_EQ(std::string(error.what()), "ファイル " + path() + " を作成できません");
        } catch (const StreamWriteError& error) {
            EXPECT_FALSE(failure.createError);
            EXPECT_EQ(std::string(error.what()), "ストリームへの書き込みエラー");
        }
        EXPECT_EQ(dir.readFile("Ordinlet.ini"), old);
        EXPECT_EQ(dir.entries(), std::vector<std::string>{"Ordinlet.ini"});
    }
}

TEST_F(SettingsFileTest, AReadOnlySettingsFileIsRefusedEvenWhereRenamingCouldReplaceIt) {
    dir.writeFile("Ordinlet.ini", "old\r\n");
    ASSERT_EQ(chmod(path().c_str(), 0444), 0);
    EXPECT_THROW(writeSettingsFile(real, path(), "new\r\n"), FileCreateError);
    EXPECT_EQ(dir.readFile("Ordinlet.ini"), "old\r\n");
}

} // namespace
} // namespace ordinalette::settings
