#include "settings/settings_file.h"
#include "testsupport/fault_injecting_file_system.h"
#include "testsupport/temp_dir.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

namespace ordinalette::settings {
namespace {

using testsupport::FaultInjectingFileSystem;
using Operation = FaultInjectingFileSystem::Operation;
using Names = std::vector<std::string>;

class SettingsFileTest : public ::testing::Test {
protected:
    std::string path() const { return settingsFilePath(dir.path()); }

    testsupport::TempDir dir;
    platform::FileSystem& real = platform::systemFileSystem();
    FaultInjectingFileSystem faulty{real};
};

TEST_F(SettingsFileTest, OnlyAFileIsReadAndItIsReadWhole) {
    EXPECT_EQ(readSettingsFile(real, path()), std::nullopt);
    dir.makeDir("Ordinlet.ini");
    EXPECT_EQ(readSettingsFile(real, path()), std::nullopt) << "a folder is no settings file";

    testsupport::TempDir other;
    other.writeFile("Ordinlet.ini", std::string("A=1\r\n\0B=2", 9));
    EXPECT_EQ(readSettingsFile(real, settingsFilePath(other.path())),
              std::string("A=1\r\n\0B=2", 9));
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

TEST_F(SettingsFileTest, AFileLargerThanFourMebibytesIsNoSettingsFile) {
    const std::string largest = "FolderKetasu=7\r\n" + std::string(4 * 1024 * 1024 - 16, 'x');
    dir.writeFile("Ordinlet.ini", largest);
    EXPECT_EQ(readSettingsFile(real, path()), largest);
    dir.writeFile("Ordinlet.ini", largest + "x");
    EXPECT_THROW(readSettingsFile(real, path()), FileOpenError);
}

TEST_F(SettingsFileTest, WritingCreatesOrReplacesTheWholeFileAndLeavesNothingElse) {
    writeSettingsFile(real, path(), "A=1\r\n");
    EXPECT_EQ(dir.readFile("Ordinlet.ini"), "A=1\r\n");
    dir.writeFile("Ordinlet.ini", "a much longer old content that must not survive\r\n");
    writeSettingsFile(real, path(), "B=2\r\n");
    EXPECT_EQ(dir.readFile("Ordinlet.ini"), "B=2\r\n");
    EXPECT_EQ(dir.entries(), Names{"Ordinlet.ini"});
}

TEST_F(SettingsFileTest, AnEntryOfTheOldTemporaryNameIsLeftAlone) {
    dir.writeFile("Ordinlet.ini.new", "the user's own file");
    writeSettingsFile(real, path(), "A=1\r\n");
    EXPECT_EQ(dir.readFile("Ordinlet.ini.new"), "the user's own file");
    EXPECT_EQ(dir.readFile("Ordinlet.ini"), "A=1\r\n");
    EXPECT_EQ(dir.entries(), (Names{"Ordinlet.ini", "Ordinlet.ini.new"}));
}

// Where the way through a new file fails at any step, the new file goes again and the file is
// written in place, as a plain create-and-write would.
TEST_F(SettingsFileTest, AFailedNewFileIsRemovedAndTheFileIsWrittenInPlace) {
    for (const Operation step :
         {Operation::LinkCount, Operation::CreateTemporaryFile, Operation::WriteFile,
          Operation::FlushFile, Operation::ReplaceFile}) {
        SCOPED_TRACE(static_cast<int>(step));
        dir.writeFile("Ordinlet.ini", "old\r\n");
        FaultInjectingFileSystem fileSystem(real);
        fileSystem.failCall(step, 1, platform::error::DiskFull);
        writeSettingsFile(fileSystem, path(), "new\r\n");
        EXPECT_EQ(dir.readFile("Ordinlet.ini"), "new\r\n");
        EXPECT_EQ(dir.entries(), Names{"Ordinlet.ini"});
        EXPECT_EQ(fileSystem.calls(Operation::CreateFile), 1) << "written in place";
    }
}

TEST_F(SettingsFileTest, FailuresOfTheFileItselfRaiseTheirErrorNamingIt) {
    const std::string created = "ファイル " + path() + " を作成できません";
    const std::string streamed = "ストリームへの書き込みエラー";
    struct Case {
        std::vector<std::pair<Operation, int>> failures; // operation, call number
        std::string message;
        bool oldKept;
    };
    const Case cases[] = {
        {{{Operation::FollowLinks, 1}}, created, true},
        {{{Operation::OpenFileForWriting, 1}}, created, true},
        {{{Operation::CreateTemporaryFile, 1}, {Operation::CreateFile, 1}}, created, true},
        {{{Operation::CreateTemporaryFile, 1}, {Operation::WriteFile, 1}}, streamed, false},
        {{{Operation::CreateTemporaryFile, 1}, {Operation::FlushFile, 1}}, streamed, false},
    };
    for (const Case& failure : cases) {
        SCOPED_TRACE(failure.message + " " + std::to_string(failure.failures.size()));
        dir.writeFile("Ordinlet.ini", "old\r\n");
        FaultInjectingFileSystem fileSystem(real);
        for (const auto& [operation, call] : failure.failures)
            fileSystem.failCall(operation, call, platform::error::AccessDenied);
        try {
            writeSettingsFile(fileSystem, path(), "new\r\n");
            ADD_FAILURE() << "no error";
        } catch (const std::runtime_error& error) {
            EXPECT_EQ(std::string(error.what()), failure.message);
        }
        if (failure.oldKept) {
            EXPECT_EQ(dir.readFile("Ordinlet.ini"), "old\r\n");
        }
        EXPECT_EQ(dir.entries(), Names{"Ordinlet.ini"});
    }
}

TEST_F(SettingsFileTest, AReadOnlySettingsFileIsRefusedEvenWhereRenamingCouldReplaceIt) {
    dir.writeFile("Ordinlet.ini", "old\r\n");
    ASSERT_EQ(chmod(path().c_str(), 0444), 0);
    EXPECT_THROW(writeSettingsFile(real, path(), "new\r\n"), FileCreateError);
    EXPECT_EQ(dir.readFile("Ordinlet.ini"), "old\r\n");
    EXPECT_EQ(dir.entries(), Names{"Ordinlet.ini"});
}

} // namespace
} // namespace ordinalette::settings
