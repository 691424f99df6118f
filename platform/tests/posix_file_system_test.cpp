#include "platform/file_name.h"
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

constexpr std::size_t kAnySize = 1 << 20;

class PosixFileSystemTest : public testing::Test {
protected:
    std::map<std::string, Attribute> listAll(const EnumerationFilter& filter,
                                             std::string_view mask = "*.*") {
        std::map<std::string, Attribute> found;
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
    using enum Attribute;
    dir.writeFile("plain.txt");
    dir.writeFile(".hidden");
    dir.writeFile("locked.txt");
    chmod((dir / "locked.txt").c_str(), 0444);
    dir.makeDir("sub");
    ASSERT_EQ(symlink("plain.txt", (dir / "to-file").c_str()), 0);
    ASSERT_EQ(symlink("sub", (dir / "to-dir").c_str()), 0);
    ASSERT_EQ(symlink("nowhere", (dir / "dangling").c_str()), 0);
    ASSERT_EQ(mkfifo((dir / "pipe").c_str(), 0644), 0);

    const std::map<std::string, Attribute> expected = {
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
    EXPECT_EQ(listed, (std::map<std::string, Attribute>{
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
    EXPECT_TRUE(hasAny(fileSystem.attributes("tmp1").value, Attribute::Directory));
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
        EXPECT_EQ(fileSystem.readFile(path, kAnySize).error, error::SharingViolation);
        EXPECT_EQ(fileSystem.createFile(path).error, error::SharingViolation);
        EXPECT_EQ(fileSystem.openFileForWriting(path).error, error::SharingViolation);
    }
    EXPECT_EQ(fileSystem.readFile(path, kAnySize).value, "A=1\r\n");
    EXPECT_EQ(fileSystem.readFile(path, 4).error, error::FileTooLarge);
    EXPECT_EQ(fileSystem.readFile(path, 5).value, "A=1\r\n");
    EXPECT_EQ(fileSystem.readFile(dir / "missing", kAnySize).error, error::FileNotFound);
    EXPECT_EQ(fileSystem.createFile(dir / "missing/x").error, error::FileNotFound);
    EXPECT_EQ(fileSystem.openFileForWriting(dir / "missing").error, error::FileNotFound);
    dir.makeDir("folder");
    EXPECT_EQ(fileSystem.createFile(dir / "folder").error, error::AccessDenied);
    EXPECT_EQ(fileSystem.openFileForWriting(dir / "folder").error, error::AccessDenied);
}

TEST_F(PosixFileSystemTest, OnlyRegularFilesAreOpenedAndNeverThroughALinkForWriting) {
    dir.makeDir("folder");
    ASSERT_EQ(mkfifo((dir / "pipe").c_str(), 0666), 0);
    ASSERT_EQ(symlink("/dev/zero", (dir / "zero").c_str()), 0);
    dir.writeFile("file", "text");
    ASSERT_EQ(symlink("file", (dir / "to-file").c_str()), 0);
    dir.writeFile("locked", "text");
    ASSERT_EQ(chmod((dir / "locked").c_str(), 0444), 0);

    // Reading: anything but a regular file counts as missing, and nothing blocks or never ends.
    for (const char* name : {"folder", "pipe", "zero"}) {
        EXPECT_EQ(fileSystem.readFile(dir / name, kAnySize).error, error::FileNotFound) << name;
        EXPECT_EQ(fileSystem.openFileForWriting(dir / name).error, error::AccessDenied) << name;
        EXPECT_EQ(fileSystem.createFile(dir / name).error, error::AccessDenied) << name;
    }
    EXPECT_EQ(fileSystem.readFile(dir / "to-file", kAnySize).value, "text");
    EXPECT_FALSE(fileSystem.openFileForWriting(dir / "to-file").ok());
    EXPECT_FALSE(fileSystem.createFile(dir / "to-file").ok());
    // Read-only refuses every process, root included.
    EXPECT_EQ(fileSystem.openFileForWriting(dir / "locked").error, error::AccessDenied);
    EXPECT_EQ(fileSystem.createFile(dir / "locked").error, error::AccessDenied);
    EXPECT_EQ(dir.readFile("file"), "text");
    EXPECT_EQ(dir.readFile("locked"), "text");

    auto file = fileSystem.openFileForWriting(dir / "file");
    ASSERT_TRUE(file.ok());
    EXPECT_EQ(fileSystem.linkCount(file.value).value, 1u);
    ASSERT_EQ(link((dir / "file").c_str(), (dir / "second-name").c_str()), 0);
    EXPECT_EQ(fileSystem.linkCount(file.value).value, 2u);
    EXPECT_EQ(dir.readFile("file"), "text") << "opening for writing truncates nothing";
}

TEST_F(PosixFileSystemTest, LinksAreFollowedToTheirLastTarget) {
    ASSERT_EQ(symlink("b", (dir / "a").c_str()), 0);
    dir.makeDir("sub");
    ASSERT_EQ(symlink((dir / "sub/c").c_str(), (dir / "b").c_str()), 0);
    ASSERT_EQ(symlink("../target", (dir / "sub/c").c_str()), 0);
    EXPECT_EQ(fileSystem.followLinks(dir / "a").value, dir / "sub/../target")
        << "also to a target that does not exist yet";
    dir.writeFile("plain");
    EXPECT_EQ(fileSystem.followLinks(dir / "plain").value, dir / "plain");
    EXPECT_EQ(fileSystem.followLinks(dir / "missing").value, dir / "missing");
    ASSERT_EQ(symlink("loop", (dir / "loop").c_str()), 0);
    EXPECT_EQ(fileSystem.followLinks(dir / "loop").error, error::CannotResolveName);
}

TEST_F(PosixFileSystemTest, TemporaryFilesGetFreshNamesAndTheModelsModeAndOwner) {
    const std::string beside = dir / "settings.ini";
    dir.writeFile("settings.ini", "old");
    ASSERT_EQ(chmod(beside.c_str(), 0640), 0);
    const bool root = geteuid() == 0;
    if (root) {
        ASSERT_EQ(chown(beside.c_str(), 65534, 65534), 0);
    }
    const auto model = fileSystem.openFileForWriting(beside);
    ASSERT_TRUE(model.ok());

    const auto first = fileSystem.createTemporaryFile(beside, &model.value);
    const auto second = fileSystem.createTemporaryFile(beside, nullptr);
    ASSERT_TRUE(first.ok());
    ASSERT_TRUE(second.ok());
    EXPECT_NE(first.value.path, second.value.path);
    EXPECT_EQ(first.value.path.substr(0, beside.size() + 1), beside + ".");
    struct stat status {};
    ASSERT_EQ(stat(first.value.path.c_str(), &status), 0);
    EXPECT_EQ(status.st_mode & 07777, 0640u);
    EXPECT_EQ(status.st_uid, root ? 65534u : geteuid());
    EXPECT_EQ(fileSystem.writeFile(first.value.file, "new"), error::None);
    EXPECT_EQ(dir.readFile(fs::path(first.value.path).filename().string()), "new");
    EXPECT_EQ(dir.readFile("settings.ini"), "old");
    EXPECT_EQ(dir.entries().size(), 3u);
}

TEST(PosixFileName, TheLimitCountsBytesAndOnlyTheSlashSeparates) {
    const TempDir dir;
    const FileNameRules rules(dir.path());
    for (const char* name : {"", ".", "..", "Su/mm1.txt"})
        EXPECT_EQ(rules.check(name), FileNameFault::Invalid) << name;
    EXPECT_EQ(rules.check(std::string("a\0b", 3)), FileNameFault::Invalid);
    EXPECT_EQ(rules.check("/" + std::string(300, 'n')), FileNameFault::Invalid)
        << "an invalid name is invalid before it is too long";
    EXPECT_EQ(rules.check(std::string(255, 'n')), FileNameFault::None);
    EXPECT_EQ(rules.check(std::string(256, 'n')), FileNameFault::TooLong);
    std::string japanese;
    for (int i = 0; i < 86; ++i)
        japanese += "\xE5\x90\x8D"; // 名, three bytes
    EXPECT_EQ(rules.check(japanese), FileNameFault::TooLong) << "86 characters, 258 bytes";
    for (const char* name : {"a\\b", "a?b:c*", "ends with a dot."})
        EXPECT_EQ(rules.check(name), FileNameFault::None) << name;
    EXPECT_EQ(fileNameIdentity("Note1.TXT"), "Note1.TXT") << "letter case tells names apart";
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
    const EntryIdentity file = fileSystem.entryIdentity(folder, "a.txt").value;
    ASSERT_FALSE(file.empty());
    ASSERT_EQ(fileSystem.moveFile(folder, "a.txt", sub.value, "b.txt"), error::None);
    EXPECT_EQ(numbers(sub.value).at("b.txt"), before.at("a.txt"));
    EXPECT_EQ(fileSystem.entryIdentity(sub.value, "b.txt").value, file) << "a move keeps it";
    // A file made in the place of a deleted one, in its inode where the file system reuses it.
    ASSERT_EQ(unlink((dir / "sub/b.txt").c_str()), 0);
    dir.writeFile("sub/b.txt");
    EXPECT_NE(fileSystem.entryIdentity(sub.value, "b.txt").value, file);
    EXPECT_EQ(fileSystem.entryIdentity(sub.value, "c.txt").error, error::FileNotFound);

    const auto identity = fileSystem.identity(sub.value);
    ASSERT_TRUE(identity.ok());
    EXPECT_EQ(identity.value.file, fileSystem.entryIdentity(folder, "sub").value);
    EXPECT_EQ(identity.value.volume, fileSystem.identity(folder).value.volume);
    EXPECT_EQ(identity.value.volume.find(std::to_string(status.st_dev)), std::string::npos)
        << "a remount under another device number keeps it: " << identity.value.volume;
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
        EXPECT_EQ(fileSystem.readFile(path, kAnySize).error, error::SharingViolation);
        EXPECT_EQ(fileSystem.createNewFile(path).error, error::AlreadyExists);
    }
    EXPECT_EQ(fileSystem.readFile(path, kAnySize).value, "text");
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
