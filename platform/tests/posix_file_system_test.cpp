#include "platform/path.h"
#include "platform/posix/errno_mapping.h"
#include "platform/posix/posix_file_system.h"
#include "testsupport/temp_dir.h"
#include "testsupport/working_directory_guard.h"

#include <cerrno>
#include <filesystem>
#include <gtest/gtest.h>
#include <map>
#include <sys/stat.h>
#include <unistd.h>

namespace ordinalette::platform {
namespace {

using testsupport::TempDir;
using testsupport::WorkingDirectoryGuard;
namespace fs = std::filesystem;

class PosixFileSystemTest : public testing::Test {
protected:
    std::map<std::string, std::uint32_t> listAll(const EnumerationFilter& filter,
                                                 std::string_view mask = "*.*") {
        std::map<std::string, std::uint32_t> found;
        const int error = fileSystem.enumerate(
            joinPath(dir.path(), mask), filter, [&](const DirectoryEntry& entry) {
                found[std::string(entry.name)] = entry.attributes;
            });
        EXPECT_EQ(error, 0);
        return found;
    }

    DirectoryHandle openFolder() {
        auto folder = fileSystem.openDirectory(dir.path());
        EXPECT_TRUE(folder.ok());
        return std::move(folder.value);
    }

    TempDir dir;
    PosixFileSystem fileSystem{CodePage::utf8()};
};

TEST_F(PosixFileSystemTest, EntriesCarryWindowsAttributes) {
    using namespace attribute;
    dir.writeFile("plain.txt");
    dir.writeFile(".hidden");
    dir.writeFile("locked.txt");
    chmod((dir / "locked.txt").c_str(), 0444);
    dir.makeDir("sub");
    ASSERT_EQ(symlink("plain.txt", (dir / "to-file").c_str()), 0);
    ASSERT_EQ(symlink("sub", (dir / "to-dir").c_str()), 0);
    ASSERT_EQ(symlink("nowhere", (dir / "dangling").c_str()), 0);
    ASSERT_EQ(mkfifo((dir / "pipe").c_str(), 0644), 0);

    const std::map<std::string, std::uint32_t> expected = {
        {"plain.txt", Archive},
        {".hidden", Hidden | Archive},
        {"locked.txt", ReadOnly | Archive},
        {"sub", Directory},
        {"to-file", Archive},
        {"to-dir", Directory},
        {"dangling", System},
        {"pipe", System},
    };
    EXPECT_EQ(listAll({}), expected);
    for (const auto& [name, attributes] : expected) {
        const auto queried = fileSystem.attributes(dir / name);
        ASSERT_TRUE(queried.ok()) << name;
        EXPECT_EQ(queried.value, attributes) << name;
    }

    // Without the read-only lookup and with the listing's exclusions: files and links to them.
    const auto listed = listAll({Hidden | System | VolumeLabel | Directory, false});
    EXPECT_EQ(listed, (std::map<std::string, std::uint32_t>{
                          {"plain.txt", Archive}, {"locked.txt", Archive}, {"to-file", Archive}}));
}

TEST_F(PosixFileSystemTest, EnumerationMatchesTheMaskAndReportsOnlyOpeningErrors) {
    dir.writeFile("x.JPG");
    dir.writeFile("y.jpg");
    dir.writeFile("z");
    EXPECT_EQ(listAll({}, "*.jpg").size(), 2u);
    EXPECT_EQ(listAll({}, "*.*").size(), 3u);
    EXPECT_EQ(listAll({}, "*.png").size(), 0u);

    const auto visitNothing = [](const DirectoryEntry&) {};
    EXPECT_EQ(fileSystem.enumerate(dir / "missing/*.*", {}, visitNothing), error::FileNotFound);
    EXPECT_EQ(fileSystem.enumerate(dir / "z/*.*", {}, visitNothing), error::PathNotFound);
    // A doubled separator, as a root folder gives, reads like one.
    EXPECT_EQ(fileSystem.enumerate(dir.path() + "//*.*", {}, visitNothing), error::None);
}

TEST_F(PosixFileSystemTest, DirectoryOperationsReportWindowsErrorNumbers) {
    WorkingDirectoryGuard guard;
    dir.writeFile("file");
    dir.makeDir("full/inner");
    const std::string tooLong(300, 'n');

    EXPECT_EQ(fileSystem.changeDirectory(dir / "missing"), error::FileNotFound);
    EXPECT_EQ(fileSystem.changeDirectory(dir / "file"), error::PathNotFound);
    EXPECT_EQ(fileSystem.changeDirectory(dir / tooLong), error::PathTooLong);
    EXPECT_EQ(fileSystem.changeDirectory(std::string("a\0b", 3)), error::InvalidName);
    ASSERT_EQ(fileSystem.changeDirectory(dir.path()), error::None);
    EXPECT_EQ(fileSystem.currentDirectory().value, fs::canonical(dir.path()).string());

    // Relative names now resolve inside the folder.
    EXPECT_EQ(fileSystem.createDirectory("tmp1"), error::None);
    EXPECT_TRUE(fileSystem.attributes("tmp1").value & attribute::Directory);
    EXPECT_EQ(fileSystem.createDirectory("tmp1"), error::AlreadyExists);
    EXPECT_EQ(fileSystem.createDirectory("file"), error::AlreadyExists);
    EXPECT_EQ(fileSystem.createDirectory("missing/tmp1"), error::FileNotFound);
    EXPECT_EQ(fileSystem.createDirectory(tooLong), error::PathTooLong);
    EXPECT_EQ(fileSystem.attributes("missing").error, error::FileNotFound);

    EXPECT_EQ(fileSystem.removeDirectory("full"), error::DirectoryNotEmpty);
    EXPECT_EQ(fileSystem.removeDirectory("missing"), error::FileNotFound);
    EXPECT_EQ(fileSystem.removeDirectory("file"), error::PathNotFound);
    EXPECT_EQ(fileSystem.removeDirectory("tmp1"), error::None);
    EXPECT_FALSE(dir.exists("tmp1"));
}

TEST_F(PosixFileSystemTest, MovesNeverReplaceAndStayInsideTheirFolders) {
    dir.writeFile("a", "first");
    dir.writeFile("b", "second");
    dir.makeDir("sub");
    const DirectoryHandle folder = openFolder();
    auto sub = fileSystem.openSubdirectory(folder, "sub");
    ASSERT_TRUE(sub.ok());

    EXPECT_EQ(fileSystem.moveFile(folder, "a", folder, "b"), error::AlreadyExists);
    EXPECT_EQ(dir.readFile("a"), "first");
    EXPECT_EQ(dir.readFile("b"), "second");
    EXPECT_EQ(fileSystem.moveFile(folder, "missing", folder, "c"), error::FileNotFound);
    EXPECT_EQ(fileSystem.moveFile(folder, "a", folder, "sub/a"), error::PathNotFound);
    EXPECT_EQ(fileSystem.moveFile(folder, "a", folder, ".."), error::PathNotFound);
    EXPECT_EQ(fileSystem.moveFile(folder, "a", folder, "."), error::PathNotFound);
    EXPECT_EQ(fileSystem.moveFile(folder, "a", folder, std::string(300, 'n')), error::PathTooLong);
    EXPECT_EQ(dir.entries(), (std::vector<std::string>{"a", "b", "sub"}));

    EXPECT_EQ(fileSystem.moveFile(folder, "a", sub.value, "a"), error::None);
    EXPECT_EQ(fileSystem.moveFile(sub.value, "a", folder, "c"), error::None);
    EXPECT_EQ(dir.readFile("c"), "first");
    EXPECT_EQ(dir.entries("sub"), std::vector<std::string>{});
}

TEST_F(PosixFileSystemTest, SubdirectoryHandlesRefuseLinks) {
    dir.makeDir("real");
    ASSERT_EQ(symlink("real", (dir / "planted").c_str()), 0);
    const DirectoryHandle folder = openFolder();
    EXPECT_TRUE(fileSystem.openSubdirectory(folder, "real").ok());
    EXPECT_FALSE(fileSystem.openSubdirectory(folder, "planted").ok());
    EXPECT_EQ(fileSystem.openSubdirectory(folder, "..").error, error::PathNotFound);
}

TEST_F(PosixFileSystemTest, FilesAreWrittenWholeAndSharedAsAgreed) {
    const std::string path = dir / "settings.ini";
    dir.writeFile("settings.ini", "old content that is longer");
    {
        auto file = fileSystem.createFile(path);
        ASSERT_TRUE(file.ok());
        EXPECT_EQ(fileSystem.writeFile(file.value, "A=1\r\n"), error::None);
        // While it is being written nobody else reads or writes it.
        EXPECT_EQ(fileSystem.readFile(path).error, error::SharingViolation);
        EXPECT_EQ(fileSystem.createFile(path).error, error::SharingViolation);
    }
    EXPECT_EQ(fileSystem.readFile(path).value, "A=1\r\n");
    EXPECT_EQ(fileSystem.readFile(dir / "missing").error, error::FileNotFound);
    EXPECT_EQ(fileSystem.createFile(dir / "missing/x").error, error::FileNotFound);
    dir.makeDir("folder");
    EXPECT_EQ(fileSystem.readFile(dir / "folder").error, error::AccessDenied);
    EXPECT_EQ(fileSystem.createFile(dir / "folder").error, error::AccessDenied);
}

TEST_F(PosixFileSystemTest, FilesAreKnownByTheirNumbersWhereverTheyMove) {
    dir.writeFile("a.txt");
    dir.makeDir("sub");
    const DirectoryHandle folder = openFolder();
    const auto numbers = [&](const DirectoryHandle& handle) {
        std::map<std::string, std::uint64_t> found;
        EXPECT_EQ(fileSystem.enumerateFileNumbers(handle,
                                                  [&](std::string_view name, std::uint64_t number) {
                                                      found[std::string(name)] = number;
                                                  }),
                  error::None);
        return found;
    };
    struct stat status {};
    ASSERT_EQ(stat((dir / "a.txt").c_str(), &status), 0);
    const auto before = numbers(folder);
    EXPECT_EQ(before.size(), 2u) << "no . or ..";
    EXPECT_EQ(before.at("a.txt"), status.st_ino);
    EXPECT_EQ(numbers(folder), before) << "the handle can be listed again";

    const auto sub = fileSystem.openSubdirectory(folder, "sub");
    ASSERT_TRUE(sub.ok());
    ASSERT_EQ(fileSystem.moveFile(folder, "a.txt", sub.value, "b.txt"), error::None);
    EXPECT_EQ(numbers(sub.value).at("b.txt"), before.at("a.txt"));

    const auto identity = fileSystem.identity(sub.value);
    ASSERT_TRUE(identity.ok());
    EXPECT_EQ(identity.value, (FileIdentity{status.st_dev, before.at("sub")}));
    ASSERT_EQ(symlink("sub", (dir / "link").c_str()), 0);
    EXPECT_EQ(fileSystem.identity(fileSystem.openDirectory(dir / "link").value).value,
              identity.value);
    EXPECT_NE(fileSystem.identity(folder).value, identity.value);
}

TEST_F(PosixFileSystemTest, NewFilesAreTheOwnersAloneAndNeverMadeOverAnEntry) {
    const std::string path = dir / "journal";
    {
        auto file = fileSystem.createNewFile(path);
        ASSERT_TRUE(file.ok());
        EXPECT_EQ(fileSystem.writeFile(file.value, "text"), error::None);
        EXPECT_EQ(fileSystem.flushFile(file.value), error::None);
        EXPECT_EQ(fileSystem.readFile(path).error, error::SharingViolation);
        EXPECT_EQ(fileSystem.createNewFile(path).error, error::AlreadyExists);
    }
    EXPECT_EQ(fileSystem.readFile(path).value, "text");
    struct stat status {};
    ASSERT_EQ(stat(path.c_str(), &status), 0);
    EXPECT_EQ(status.st_mode & 0777, 0600u);
    ASSERT_EQ(symlink("elsewhere", (dir / "planted").c_str()), 0);
    EXPECT_EQ(fileSystem.createNewFile(dir / "planted").error, error::AlreadyExists);
    EXPECT_FALSE(dir.exists("elsewhere"));
    EXPECT_EQ(fileSystem.flushDirectory(openFolder()), error::None);
}

TEST_F(PosixFileSystemTest, CreatingDirectoriesMakesEveryMissingLevel) {
    EXPECT_EQ(fileSystem.createDirectories(dir / "state/ordinalette"), error::None);
    EXPECT_EQ(dir.entries("state"), std::vector<std::string>{"ordinalette"});
    EXPECT_EQ(fileSystem.createDirectories(dir / "state/ordinalette"), error::None);
    EXPECT_EQ(fileSystem.createDirectories(dir / "state//deep/er/"), error::None);
    EXPECT_TRUE(fs::is_directory(dir / "state/deep/er"));
    dir.writeFile("file");
    EXPECT_EQ(fileSystem.createDirectories(dir / "file"), error::AlreadyExists);
    EXPECT_EQ(fileSystem.createDirectories(dir / "file/sub"), error::PathNotFound);
}

TEST(ErrnoMapping, NamesTheSameFailureAsWindows) {
    const std::pair<int, int> cases[] = {
        {ENOENT, 2}, {ENOTDIR, 3}, {EMFILE, 4},   {ENFILE, 4},      {EACCES, 5},
        {EPERM, 5},  {EROFS, 5},   {EEXIST, 183}, {ENOTEMPTY, 145}, {ENAMETOOLONG, 206},
        {EBUSY, 32}, {EXDEV, 17},  {ENOSPC, 112}, {EINVAL, 123},    {0, 0},
    };
    for (const auto& [errnoValue, windowsError] : cases)
        EXPECT_EQ(windowsErrorFromErrno(errnoValue), windowsError) << errnoValue;
}

} // namespace
} // namespace ordinalette::platform
