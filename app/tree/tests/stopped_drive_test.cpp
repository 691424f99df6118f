#include "platform/change_notification.h"
#include "testsupport/stopped_fuse_mount.h"
#include "testsupport/temp_dir.h"

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <memory>
#include <sched.h>
#include <spawn.h>
#include <sys/mount.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace ordinalette::foldertree {
namespace {

using testsupport::StoppedFuseMount;
using testsupport::TempDir;

// A process that is killed when it goes, wherever it is.
struct KilledAtEnd {
    pid_t pid = -1;
    ~KilledAtEnd() {
        if (pid > 0)
            kill(pid, SIGKILL);
    }
};

// A drive whose server stopped answering, in a private mount namespace of this process. The
// tree is worked in a process of its own (stopped_drive_check), since whatever asks the drive
// hangs: the test sees the first request the drive takes, and then ends that process and has
// the drive answer, so that nothing stays blocked.
TEST(StoppedDriveTest, ADriveWhoseServerStoppedAnsweringHoldsUpNothingElse) {
    if (unshare(CLONE_NEWNS) != 0 ||
        mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0)
        GTEST_SKIP() << "no private mount namespace here: " << std::strerror(errno);
    TempDir dir;
    dir.makeDir("desktop/photos");
    dir.makeDir("by-label");
    dir.makeDir("mnt/stopped");
    dir.makeDir("mnt/other");
    auto stopped = std::make_unique<StoppedFuseMount>(dir / "mnt/stopped");
    if (!stopped->mounted())
        GTEST_SKIP() << "no FUSE here: " << stopped->failure();

    int ended[2];
    ASSERT_EQ(pipe2(ended, O_CLOEXEC), 0);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    // The check holds the pipe's writing end until it ends.
    posix_spawn_file_actions_adddup2(&actions, ended[1], 3);
    const std::string home = dir.path();
    const std::string stoppedDrive = dir / "mnt/stopped";
    const std::string other = dir / "mnt/other";
    char* arguments[] = {const_cast<char*>(ORDINALETTE_STOPPED_DRIVE_CHECK),
                         const_cast<char*>(home.c_str()), const_cast<char*>(stoppedDrive.c_str()),
                         const_cast<char*>(other.c_str()), nullptr};
    KilledAtEnd check;
    ASSERT_EQ(posix_spawn(&check.pid, arguments[0], &actions, nullptr, arguments, environ), 0);
    posix_spawn_file_actions_destroy(&actions);
    close(ended[1]);

    // Either the check ends or someone waits on the stopped drive. The limit is no measure of
    // speed: it only keeps a check that hangs elsewhere from holding up the test run.
    std::size_t signalled = 0;
    const auto result = platform::waitForAny({{ended[0]}, {stopped->requestHandle()}},
                                             std::chrono::minutes(2), signalled);
    const std::string request = stopped->firstRequest();
    kill(check.pid, SIGKILL);
    stopped.reset();
    int status = 0;
    waitpid(check.pid, &status, 0);
    check.pid = -1;
    close(ended[0]);
    umount2(other.c_str(), MNT_DETACH);

    EXPECT_EQ(request, "") << "the tree waited on the stopped drive";
    ASSERT_EQ(result, platform::WaitResult::Signalled) << "the check hung";
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "the check failed";
}

} // namespace
} // namespace ordinalette::foldertree
