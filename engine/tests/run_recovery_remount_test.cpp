// A volume unmounted in the middle of a run and mounted again under another device number, as a
// USB drive plugged in again gets one: the run is still offered there, and finished.
#include "engine/tests/recovery_fixture.h"

#include <cstdlib>
#include <fcntl.h>
#include <linux/loop.h>
#include <sched.h>
#include <sys/ioctl.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace ordinalette::engine {
namespace {

// What the child reports by its exit status.
enum Outcome : int { kDone = 0, kCannot = 77 };

// Attaches the image to a free loop device and mounts it at mountPoint; the device's number, or
// -1 when this machine cannot.
int mountImage(const std::string& image, const std::string& mountPoint) {
    const int control = open("/dev/loop-control", O_RDWR | O_CLOEXEC);
    const int number = control < 0 ? -1 : ioctl(control, LOOP_CTL_GET_FREE);
    if (control >= 0)
        close(control);
    if (number < 0)
        return -1;
    const std::string device = "/dev/loop" + std::to_string(number);
    const int loop = open(device.c_str(), O_RDWR | O_CLOEXEC);
    const int backing = open(image.c_str(), O_RDWR | O_CLOEXEC);
    const bool attached = loop >= 0 && backing >= 0 && ioctl(loop, LOOP_SET_FD, backing) == 0;
    if (backing >= 0)
        close(backing);
    if (loop >= 0)
        close(loop);
    if (!attached || mount(device.c_str(), mountPoint.c_str(), "ext4", 0, nullptr) != 0)
        return -1;
    return number;
}

void detach(int number) {
    const int loop = open(("/dev/loop" + std::to_string(number)).c_str(), O_RDWR | O_CLOEXEC);
    if (loop >= 0) {
        ioctl(loop, LOOP_CLR_FD, 0);
        close(loop);
    }
}

class RemountedRun : public RecoveryTest {
protected:
    // The whole case in a child process with a mount namespace of its own; the outcome of the
    // first step that failed, or kDone.
    int runInChild() {
        const std::string image = dir / "volume.img";
        const std::string mountPoint = dir / "usb";
        const pid_t child = fork();
        if (child == 0)
            _exit(remount(image, mountPoint));
        int status = 0;
        waitpid(child, &status, 0);
        return WIFEXITED(status) ? WEXITSTATUS(status) : 1;
    }

private:
    int remount(const std::string& image, const std::string& mountPoint) {
        if (unshare(CLONE_NEWNS) != 0 || mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr))
            return kCannot;
        dir.makeDir("usb");
        const std::string make = "mkfs.ext4 -q -F " + image + " 16M >/dev/null 2>&1";
        if (std::system(make.c_str()) != 0)
            return kCannot;
        const int first = mountImage(image, mountPoint);
        if (first < 0)
            return kCannot;
        const std::string photos = mountPoint + "/Photos";
        mkdir(photos.c_str(), 0777);
        Names names;
        for (const char* name : {"a.jpg", "b.jpg", "c.jpg", "d.jpg"}) {
            dir.writeFile("usb/Photos/" + std::string(name), name);
            names.push_back(name);
        }
        RenameRun run = request(names, "Trip");
        run.folderPath = photos;
        testsupport::FaultInjectingFileSystem failing(fileSystem);
        failing.failCall(Operation::MoveFile, 6, platform::error::AccessDenied);
        try {
            runRename(failing, run, utf8);
        } catch (const EInterruptedRun&) {
        }
        leaveFolder();
        struct stat before {};
        stat(photos.c_str(), &before);
        // Unplugged, and plugged in again while the first device is still taken.
        umount(mountPoint.c_str());
        const int second = mountImage(image, mountPoint);
        struct stat after {};
        int outcome = second < 0 ? kCannot : 10;
        if (second >= 0 && stat(photos.c_str(), &after) == 0 && after.st_dev != before.st_dev) {
            const std::vector<InterruptedRun> runs = offered();
            outcome = 11;
            if (runs.size() == 1 && runs[0].folderPath == photos) {
                finishRun(fileSystem, journalDirectory, runs[0].journal, {});
                outcome = dir.entries("usb/Photos") ==
                                  Names{"Trip1.jpg", "Trip2.jpg", "Trip3.jpg", "Trip4.jpg"}
                              ? kDone
                              : 12;
            }
        }
        leaveFolder();
        umount(mountPoint.c_str());
        detach(first);
        if (second >= 0)
            detach(second);
        return outcome;
    }
};

TEST_F(RemountedRun, IsOfferedAndFinishedOnTheVolumeMountedUnderAnotherDeviceNumber) {
    const int outcome = runInChild();
    if (outcome == kCannot)
        GTEST_SKIP() << "no private mount namespace, loop device or mkfs.ext4 here";
    EXPECT_EQ(outcome, kDone) << "10: same device; 11: not offered; 12: not finished";
}

} // namespace
} // namespace ordinalette::engine
