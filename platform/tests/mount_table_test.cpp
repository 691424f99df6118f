#include "platform/mount_table.h"

#include <gtest/gtest.h>

namespace ordinalette::platform {
namespace {

TEST(MountTable, ParsesMountinfoWithEscapesOptionalFieldsAndStackedMounts) {
    const std::string text =
        "22 1 8:1 / / rw,relatime shared:1 - ext4 /dev/sda1 rw\n"
        "23 22 0:5 / /proc rw - proc proc rw\n"
        "40 22 8:17 / /media/My\\040Disk rw,nosuid shared:7 master:2 - vfat /dev/sdb1 rw\n"
        "garbage line\n"
        "41 22 0:50 / /mnt/share rw - cifs //server/share rw\n"
        "42 22 0:51 / /mnt/share rw - fuse.sshfs me@host: rw\n";
    const auto entries = parseMountInfo(text);
    ASSERT_EQ(entries.size(), 4u);
    EXPECT_EQ(entries[0].mountPoint, "/");
    EXPECT_EQ(entries[1].fsType, "proc");
    EXPECT_EQ(entries[2].mountPoint, "/media/My Disk");
    EXPECT_EQ(entries[2].source, "/dev/sdb1");
    EXPECT_EQ(entries[3].fsType, "fuse.sshfs"); // the later mount hides the earlier one

    EXPECT_TRUE(isUserVisibleMount(entries[0]));
    EXPECT_FALSE(isUserVisibleMount(entries[1]));
    EXPECT_TRUE(isUserVisibleMount(entries[2]));
    EXPECT_FALSE(isUserVisibleMount({"/run/user/1000", "tmpfs", "tmpfs"}));
    EXPECT_TRUE(isUserVisibleMount({"/run/media/me/USB", "vfat", "/dev/sdc1"}));
    EXPECT_FALSE(isUserVisibleMount({"/dev/shm", "tmpfs", "tmpfs"}));

    for (const char* type : {"nfs", "nfs4", "cifs", "smb3", "fuse.sshfs"})
        EXPECT_TRUE(isNetworkFileSystem(type)) << type;
    EXPECT_FALSE(isNetworkFileSystem("ext4"));
}

TEST(MountTable, TheVolumeRootIsTheLongestMountHoldingWholeComponents) {
    const std::vector<std::string> mounts{"/", "/home", "/media/usb"};
    EXPECT_EQ(volumeRootAmong("/home/me/Desktop", mounts), "/home");
    EXPECT_EQ(volumeRootAmong("/homework", mounts), "/");
    EXPECT_EQ(volumeRootAmong("/media/usb", mounts), "/media/usb");
    EXPECT_EQ(volumeRootAmong("/media/usb2/x", mounts), "/");
    EXPECT_EQ(volumeRootAmong("/x", {"/home"}), "");
}

} // namespace
} // namespace ordinalette::platform
