#include "foldertree/posix/mount_table.h"
#include "testsupport/debug_log_capture.h"
#include "testsupport/temp_dir.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace ordinalette::foldertree {
namespace {

using testsupport::DebugLogCapture;
using testsupport::TempDir;

std::vector<std::string> mountPointsOf(const std::vector<MountEntry>& entries) {
    std::vector<std::string> points;
    for (const auto& entry : entries)
        points.push_back(entry.mountPoint);
    return points;
}

TEST(MountTable, ReadsMountinfoWithEscapesOptionalFieldsUserOptionsAndStackedMounts) {
    TempDir dir;
    dir.writeFile("mountinfo",
                  "22 1 8:1 / / rw,relatime shared:1 - ext4 /dev/sda1 rw\n"
                  "23 22 0:5 / /proc rw - proc proc rw\n"
                  "40 22 8:17 / /media/My\\040Disk rw,nosuid shared:7 master:2 - vfat /dev/sdb1 "
                  "rw,x-gvfs-show\n"
                  "41 22 0:50 / /mnt/share rw - cifs //server/share rw\n"
                  "42 22 0:51 / /mnt/share rw - fuse.sshfs me@host: rw\n");
    const auto entries = readMountTable(dir / "mountinfo");
    ASSERT_TRUE(entries);
    EXPECT_EQ(mountPointsOf(*entries),
              (std::vector<std::string>{"/", "/proc", "/media/My Disk", "/mnt/share"}));
    EXPECT_EQ((*entries)[2].source, "/dev/sdb1");
    EXPECT_NE((*entries)[2].options.find("x-gvfs-show"), std::string::npos);
    EXPECT_EQ((*entries)[3].fsType, "fuse.sshfs"); // the later mount hides the earlier one
    {
        // A table that cannot be read is logged, at debug level.
        DebugLogCapture log;
        EXPECT_FALSE(readMountTable(dir / "missing"));
        const auto messages = log.take();
        ASSERT_EQ(messages.size(), 1);
        EXPECT_NE(messages[0].find(dir / "missing"), std::string::npos);
    }
    EXPECT_TRUE(readMountTable(kProcessMountTable));

    // Network volumes are the network file systems, not every FUSE one.
    for (const char* type : {"nfs", "nfs4", "cifs", "smb3", "fuse.sshfs"})
        EXPECT_TRUE(isNetworkFileSystem(type)) << type;
    for (const char* type : {"ext4", "fuse", "fuse.portal", "fuse.gvfsd-fuse", "fuse.encfs"})
        EXPECT_FALSE(isNetworkFileSystem(type)) << type;
}

TEST(MountTable, DrivesAreTheRootTheDesktopVolumeAndTheMountsShownToTheUser) {
    TempDir dir;
    dir.makeDir("data/Desktop");
    dir.makeDir("home");
    // The desktop directory is a link onto another volume: that volume is a drive.
    std::filesystem::create_directory_symlink(dir / "data/Desktop", dir / "home/Desktop");
    const std::vector<MountEntry> table{
        {"/", "ext4", "/dev/sda1", "rw"},
        {"/proc", "proc", "proc", "rw"},
        {"/boot/efi", "vfat", "/dev/sda2", "rw"},
        {"/var/lib/docker/overlay2/1/merged", "overlay", "overlay", "rw"},
        {"/snap/core/17", "squashfs", "/dev/loop3", "ro"},
        {"/run/user/1000/doc", "fuse.portal", "portal", "rw"},
        {"/srv/other", "ext4", "/dev/sdd1", "rw"},
        {"/srv/shown", "ext4", "/dev/sde1", "rw,x-gvfs-show"},
        {dir / "data", "ext4", "/dev/sdf1", "rw"},
        {"/media", "tmpfs", "tmpfs", "rw"},
        {"/media/usb", "vfat", "/dev/sdb1", "rw"},
        {"/run/media/me/USB", "vfat", "/dev/sdc1", "rw"},
        {"/run/media/other/USB", "vfat", "/dev/sdg1", "rw"},
        {"/mnt", "ext4", "/dev/sdh1", "rw"},
        {"/mnt/scratch", "tmpfs", "scratch", "rw"},
        {"/mnt/resolv.conf", "ext4", "/dev/sda1", "rw"}, // a file bound onto a file
        {"/home/me/remote", "fuse.sshfs", "me@host:", "rw"},
        {"/home/me/.local/share/containers/storage/overlay/1/merged", "ext4", "/dev/sda1", "rw"},
        {"/home/me/merged", "overlay", "overlay", "rw"},
        {"/home/me2/x", "ext4", "/dev/sdi1", "rw"},
    };
    const auto isFolder = [](const std::string& path) { return path != "/mnt/resolv.conf"; };
    const auto drives = drivesAmong(table, {"/home/me", "me", dir / "home/Desktop"}, isFolder);
    EXPECT_EQ(
        mountPointsOf(drives),
        (std::vector<std::string>{"/", "/srv/shown", dir / "data", "/media/usb",
                                  "/run/media/me/USB", "/mnt", "/mnt/scratch", "/home/me/remote"}));
}

TEST(MountTable, TheVolumeRootIsTheLongestMountHoldingWholeComponents) {
    const std::vector<std::string> mounts{"/", "/home", "/media/usb"};
    EXPECT_EQ(volumeRootAmong("/home/me/Desktop", mounts), "/home");
    EXPECT_EQ(volumeRootAmong("/homework", mounts), "/");
    EXPECT_EQ(volumeRootAmong("/media/usb", mounts), "/media/usb");
    EXPECT_EQ(volumeRootAmong("/media/usb2/x", mounts), "/");
    EXPECT_EQ(volumeRootAmong("/x", {"/home"}), "");
}

TEST(MountTable, LabelsComeFromTheLinksOfTheLabelDirectory) {
    TempDir dir;
    dir.writeFile("sdb1");
    dir.writeFile("sdc1");
    dir.makeDir("by-label");
    std::filesystem::create_symlink(dir / "sdb1", dir / "by-label/MY\\x20DISK");
    EXPECT_EQ(volumeLabel(dir / "sdb1", dir / "by-label"), "MY DISK");
    EXPECT_EQ(volumeLabel(dir / "sdc1", dir / "by-label"), "");
    EXPECT_EQ(volumeLabel("tmpfs", dir / "by-label"), "");
    EXPECT_EQ(volumeLabel(dir / "sdb1", dir / "missing"), "");
}

} // namespace
} // namespace ordinalette::foldertree
