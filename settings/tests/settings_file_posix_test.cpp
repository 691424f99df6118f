#include "settings/settings_file.h"
#include "testsupport/fault_injecting_file_system.h"
#include "testsupport/temp_dir.h"

#include <grp.h>
#include <gtest/gtest.h>
#include <pwd.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace ordinalette::settings {
namespace {

using Names = std::vector<std::string>;

// How a write ended, as a child process reports it by its exit status.
enum Outcome { Written = 0, CreateRefused = 1, WriteFailed = 2, SwitchFailed = 3 };

int writeOutcome(const std::string& path, std::string_view bytes) {
    try {
        writeSettingsFile(platform::systemFileSystem(), path, bytes);
        return Written;
    } catch (const FileCreateError&) {
        return CreateRefused;
    } catch (const StreamWriteError&) {
        return WriteFailed;
    }
}

struct stat statusOf(const std::string& path) {
    struct stat status {};
    EXPECT_EQ(lstat(path.c_str(), &status), 0) << path;
    return status;
}

class SettingsFilePosixTest : public ::testing::Test {
protected:
    std::string path() const { return settingsFilePath(dir.path()); }
    std::string read(const std::string& name) const { return dir.readFile(name); }

    // Writes the settings file of folder as the unprivileged user "nobody", in a child process,
    // so that permissions decide as they do for a user; root passes over them.
    int writeAsNobody(const std::string& folder, std::string_view bytes) const {
        const passwd* nobody = getpwnam("nobody");
        if (!nobody)
            return SwitchFailed;
        const uid_t uid = nobody->pw_uid;
        const gid_t gid = nobody->pw_gid;
        const std::string file = settingsFilePath(folder);
        const pid_t child = fork();
        if (child < 0)
            return SwitchFailed;
        if (child == 0) {
            if (setgroups(0, nullptr) != 0 || setresgid(gid, gid, gid) != 0 ||
                setresuid(uid, uid, uid) != 0)
                _exit(SwitchFailed);
            _exit(writeOutcome(file, bytes));
        }
        int status = 0;
        waitpid(child, &status, 0);
        return WIFEXITED(status) ? WEXITSTATUS(status) : SwitchFailed;
    }

    testsupport::TempDir dir;
    platform::FileSystem& fileSystem = platform::systemFileSystem();
};

TEST_F(SettingsFilePosixTest, ALinkPlantedAtAPredictableTemporaryNameIsNeverFollowed) {
    dir.writeFile("victim", "not the settings");
    ASSERT_EQ(symlink((dir / "victim").c_str(), (dir / "Ordinlet.ini.new").c_str()), 0);
    for (int write = 0; write < 2; ++write) // creating, then replacing
        writeSettingsFile(fileSystem, path(), "A=1\r\n");
    EXPECT_EQ(read("victim"), "not the settings");
    EXPECT_TRUE(S_ISLNK(statusOf(dir / "Ordinlet.ini.new").st_mode));
    EXPECT_EQ(read("Ordinlet.ini"), "A=1\r\n");
    EXPECT_EQ(dir.entries(), (Names{"Ordinlet.ini", "Ordinlet.ini.new", "victim"}));
}

TEST_F(SettingsFilePosixTest, ALinkIsFollowedAndStaysALink) {
    dir.makeDir("real");
    dir.writeFile("real/settings.ini", "FolderKetasu=7\r\n");
    ASSERT_EQ(symlink("real/middle", path().c_str()), 0); // relative, through a second link
    ASSERT_EQ(symlink((dir / "real/settings.ini").c_str(), (dir / "real/middle").c_str()), 0);
    EXPECT_EQ(readSettingsFile(fileSystem, path()), "FolderKetasu=7\r\n");
    writeSettingsFile(fileSystem, path(), "new\r\n");
    EXPECT_TRUE(S_ISLNK(statusOf(path()).st_mode));
    EXPECT_TRUE(S_ISLNK(statusOf(dir / "real/middle").st_mode));
    EXPECT_EQ(read("real/settings.ini"), "new\r\n");
    EXPECT_EQ(dir.entries("real"), (Names{"middle", "settings.ini"}));

    // A link to a file that does not exist yet leads to where the file is created.
    ASSERT_EQ(unlink((dir / "real/settings.ini").c_str()), 0);
    writeSettingsFile(fileSystem, path(), "created\r\n");
    EXPECT_EQ(read("real/settings.ini"), "created\r\n");
    EXPECT_TRUE(S_ISLNK(statusOf(path()).st_mode));
}

TEST_F(SettingsFilePosixTest, MessagesNameTheSettingsFileItselfAlsoWhereItIsALink) {
    const std::string created = "ファイル " + path() + " を作成できません";
    for (const char* target : {"missing/settings.ini", "/dev/zero"}) {
        ASSERT_EQ(symlink(target, path().c_str()), 0);
        try {
            writeSettingsFile(fileSystem, path(), "new\r\n");
            ADD_FAILURE() << "no error";
        } catch (const FileCreateError& error) {
            EXPECT_EQ(std::string(error.what()), created) << target;
        }
        EXPECT_EQ(dir.entries(), Names{"Ordinlet.ini"}) << target;
        ASSERT_EQ(unlink(path().c_str()), 0);
    }

    dir.makeDir("missing");
    dir.writeFile("missing/settings.ini", "FolderKetasu=7\r\n");
    ASSERT_EQ(symlink("missing/settings.ini", path().c_str()), 0);
    testsupport::FaultInjectingFileSystem held(fileSystem);
    held.failCall(testsupport::FaultInjectingFileSystem::Operation::ReadFile, 1,
                  platform::error::SharingViolation);
    try {
        readSettingsFile(held, path());
        FAIL() << "no error";
    } catch (const FileOpenError& error) {
        EXPECT_EQ(std::string(error.what()), "ファイル " + path() + " は開けません");
    }
}

TEST_F(SettingsFilePosixTest, TheFileKeepsItsModeItsOwnerAndEveryOneOfItsNames) {
    dir.writeFile("Ordinlet.ini", "old\r\n");
    ASSERT_EQ(chmod(path().c_str(), 0640), 0);
    // Only root can give the file to another user; others keep their own, which must stay too.
    if (const passwd* nobody = getpwnam("nobody"); geteuid() == 0 && nobody) {
        ASSERT_EQ(chown(path().c_str(), nobody->pw_uid, nobody->pw_gid), 0);
    }
    const struct stat before = statusOf(path());
    writeSettingsFile(fileSystem, path(), "new\r\n");
    const struct stat after = statusOf(path());
    EXPECT_EQ(after.st_mode & 07777, 0640u);
    EXPECT_EQ(after.st_uid, before.st_uid);
    EXPECT_EQ(after.st_gid, before.st_gid);
    EXPECT_EQ(read("Ordinlet.ini"), "new\r\n");

    ASSERT_EQ(link(path().c_str(), (dir / "other-name.ini").c_str()), 0);
    writeSettingsFile(fileSystem, path(), "both\r\n");
    EXPECT_EQ(read("other-name.ini"), "both\r\n");
    EXPECT_EQ(statusOf(path()).st_ino, statusOf(dir / "other-name.ini").st_ino);
    EXPECT_EQ(dir.entries(), (Names{"Ordinlet.ini", "other-name.ini"}));
}

TEST_F(SettingsFilePosixTest, WhatTheUserMayWriteDecidesNotWhatTheFolderAllows) {
    if (geteuid() != 0)
        GTEST_SKIP() << "acting as another user needs root";
    ASSERT_EQ(chmod(dir.path().c_str(), 0755), 0); // open to pass through, whatever the umask
    // A folder that takes no new entry, holding a file everyone may write: written in place.
    dir.makeDir("closed");
    dir.writeFile("closed/Ordinlet.ini", "old\r\n");
    ASSERT_EQ(chmod((dir / "closed/Ordinlet.ini").c_str(), 0666), 0);
    ASSERT_EQ(chmod((dir / "closed").c_str(), 0555), 0);
    EXPECT_EQ(writeAsNobody(dir / "closed", "new\r\n"), Written);
    EXPECT_EQ(read("closed/Ordinlet.ini"), "new\r\n");
    EXPECT_EQ(dir.entries("closed"), Names{"Ordinlet.ini"});

    // An open folder holding a file the user may not write: refused, the file unharmed.
    dir.makeDir("open");
    dir.writeFile("open/Ordinlet.ini", "old\r\n");
    ASSERT_EQ(chmod((dir / "open/Ordinlet.ini").c_str(), 0644), 0);
    ASSERT_EQ(chmod((dir / "open").c_str(), 0777), 0);
    EXPECT_EQ(writeAsNobody(dir / "open", "new\r\n"), CreateRefused);
    EXPECT_EQ(read("open/Ordinlet.ini"), "old\r\n");
    EXPECT_EQ(statusOf(dir / "open/Ordinlet.ini").st_uid, 0u);
    EXPECT_EQ(dir.entries("open"), Names{"Ordinlet.ini"});
}

TEST_F(SettingsFilePosixTest, AnEntryThatIsNoRegularFileIsNeverOpened) {
    // A FIFO would block the reader until a writer comes; a device may never end.
    ASSERT_EQ(mkfifo(path().c_str(), 0644), 0);
    EXPECT_EQ(readSettingsFile(fileSystem, path()), std::nullopt);
    EXPECT_THROW(writeSettingsFile(fileSystem, path(), "new\r\n"), FileCreateError);
    EXPECT_TRUE(S_ISFIFO(statusOf(path()).st_mode));
    EXPECT_EQ(dir.entries(), Names{"Ordinlet.ini"});

    for (const char* device : {"/dev/zero", "/dev/null"}) {
        ASSERT_EQ(unlink(path().c_str()), 0);
        ASSERT_EQ(symlink(device, path().c_str()), 0);
        EXPECT_EQ(readSettingsFile(fileSystem, path()), std::nullopt) << device;
        EXPECT_THROW(writeSettingsFile(fileSystem, path(), "new\r\n"), FileCreateError) << device;
        EXPECT_TRUE(S_ISCHR(statusOf(device).st_mode)) << device;
    }
}

} // namespace
} // namespace ordinalette::settings
