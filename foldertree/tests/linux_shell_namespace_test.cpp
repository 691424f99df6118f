#include "foldertree/tests/namespace_fixture.h"

#include <algorithm>
#include <filesystem>
#include <gtest/gtest.h>

namespace ordinalette::foldertree {
namespace {

using testing::NamespaceFixture;

std::vector<std::string> namesOf(ShellFolder& folder, bool includeHidden = true) {
    auto children = folder.enumFolders(includeHidden);
    EXPECT_TRUE(children.has_value());
    std::sort(children->begin(), children->end(),
              [&](const auto& a, const auto& b) { return *folder.compareIDs(a, b) < 0; });
    std::vector<std::string> names;
    for (const auto& child : *children)
        names.push_back(folder.getDisplayNameOf(child).value_or("?"));
    return names;
}

TEST(LinuxShellNamespace, DesktopHoldsMyComputerItsFoldersTheNetworkAndTheTrashInThatOrder) {
    NamespaceFixture fixture;
    fixture.dir().makeDir("c/home/me/Desktop/projects");
    fixture.dir().makeDir("c/home/me/Desktop/Archive");
    fixture.dir().writeFile("c/home/me/Desktop/notes.txt");
    auto desktop = fixture.shellNamespace()->desktopFolder();
    EXPECT_EQ(namesOf(*desktop), (std::vector<std::string>{"コンピュータ", "Archive", "projects",
                                                           "ネットワーク", "ごみ箱"}));
    EXPECT_EQ(desktop->getDisplayNameOf({}), "デスクトップ");
}

TEST(LinuxShellNamespace, DrivesAreTheMountsShownToTheUserAndTheNetworkHoldsNetworkOnes) {
    NamespaceFixture fixture;
    fixture.dir().makeDir("vault");
    fixture.dir().makeDir("gvfs");
    fixture.dir().makeDir(".cache/doc");
    // System mounts, a memory file system outside the user's places, a FUSE volume on a disk
    // (ntfs-3g), a FUSE pseudo file system and a mount inside a hidden folder of the home.
    fixture.writeMountTable(NamespaceFixture::mountLine("/boot/efi", "vfat") +
                            NamespaceFixture::mountLine("/run/user/0", "tmpfs") +
                            NamespaceFixture::mountLine(fixture.drive("vault"), "fuseblk") +
                            NamespaceFixture::mountLine(fixture.drive("gvfs"), "fuse.gvfsd-fuse") +
                            NamespaceFixture::mountLine(fixture.drive(".cache/doc"), "ext4"));
    auto ns = fixture.shellNamespace();
    auto desktop = ns->desktopFolder();
    auto computer = desktop->bindToObject(*ns->specialFolderLocation(SpecialFolder::Drives));
    ASSERT_TRUE(computer);
    EXPECT_EQ(namesOf(*computer),
              (std::vector<std::string>{
                  "c (" + fixture.drive("c") + ")", "d (" + fixture.drive("d") + ")",
                  "net (" + fixture.drive("net") + ")", "vault (" + fixture.drive("vault") + ")"}));
    auto network = desktop->bindToObject(*ns->specialFolderLocation(SpecialFolder::Network));
    ASSERT_TRUE(network);
    EXPECT_EQ(namesOf(*network), (std::vector<std::string>{"net (" + fixture.drive("net") + ")"}));
    auto trash = desktop->bindToObject(*ns->specialFolderLocation(SpecialFolder::BitBucket));
    ASSERT_TRUE(trash);
    EXPECT_TRUE(namesOf(*trash).empty());
    EXPECT_EQ(desktop->getAttributesOf(*ns->specialFolderLocation(SpecialFolder::BitBucket),
                                       ShellAttribute::FileSystem | ShellAttribute::HasSubfolder),
              ShellAttribute::None);
}

TEST(LinuxShellNamespace, WithoutAMountTableTheWholeFileSystemIsOneDrive) {
    NamespaceFixture fixture;
    auto ns = std::make_shared<LinuxShellNamespace>(
        NamespaceRoots{fixture.desktop(), fixture.dir() / "missing", fixture.dir() / "trash",
                       fixture.dir().path(), fixture.dir() / "by-label"},
        platform::CodePage::utf8(), platform::systemFileSystem());
    auto computer =
        ns->desktopFolder()->bindToObject(*ns->specialFolderLocation(SpecialFolder::Drives));
    ASSERT_TRUE(computer);
    EXPECT_EQ(namesOf(*computer), (std::vector<std::string>{"(/)"}));
    EXPECT_EQ(ns->volumeRoot(fixture.desktop()), "/");
    EXPECT_EQ(ns->pathFromIDList(ns->driveIDList("/")), "/");
    const auto desktop = ns->specialFolderLocation(SpecialFolder::DesktopDirectory);
    ASSERT_TRUE(desktop);
    EXPECT_EQ(ns->pathFromIDList(*desktop), fixture.desktop());
}

TEST(LinuxShellNamespace, PathsParseToTheDriveThatHoldsThemAndBack) {
    NamespaceFixture fixture;
    auto ns = fixture.shellNamespace();
    fixture.dir().makeDir("d/photos/2024");

    const auto folder = ns->parseDisplayName(fixture.drive("d") + "//photos/2024/");
    ASSERT_TRUE(folder);
    EXPECT_EQ(folder->size(), 4u); // My Computer, the drive, photos, 2024
    EXPECT_EQ(ns->pathFromIDList(*folder), fixture.drive("d") + "/photos/2024");

    const auto drive = ns->parseDisplayName(fixture.drive("d"));
    ASSERT_TRUE(drive);
    EXPECT_EQ(drive->size(), 2u);
    EXPECT_EQ(ns->pathFromIDList(*drive), fixture.drive("d") + "/");
    EXPECT_EQ(ns->volumeRoot(fixture.drive("d") + "/photos"), fixture.drive("d") + "/");

    EXPECT_EQ(ns->pathFromIDList({}), fixture.desktop());
    EXPECT_FALSE(ns->pathFromIDList(*ns->specialFolderLocation(SpecialFolder::Drives)));
    EXPECT_FALSE(ns->parseDisplayName(fixture.drive("d") + "/missing"));
    EXPECT_FALSE(ns->parseDisplayName("photos/2024"));
    EXPECT_FALSE(ns->parseDisplayName(fixture.drive("d") + "/photos/../photos"));
    // A path that no mounted file system holds cannot be parsed.
    EXPECT_FALSE(ns->parseDisplayName(fixture.dir().path()));
}

TEST(LinuxShellNamespace, ADriveWithoutItsVolumeReadsNothingOfTheFolderItWasMountedOn) {
    NamespaceFixture fixture;
    auto ns = fixture.shellNamespace();
    fixture.dir().makeDir("d/photos/2024");
    const ItemIdList drive = ns->driveIDList(fixture.drive("d"));
    auto desktop = ns->desktopFolder();
    auto computer = desktop->bindToObject(*ns->specialFolderLocation(SpecialFolder::Drives));
    ASSERT_TRUE(computer);
    ASSERT_TRUE(desktop->bindToObject(drive));

    // Unmounted: the mount point is a folder of another volume, holding photos no more.
    fixture.dir().writeFile("mountinfo", NamespaceFixture::mountLine(fixture.drive("c"), "ext4"));
    ns->mountTableChanged();
    EXPECT_FALSE(ns->pathFromIDList(drive));
    EXPECT_FALSE(desktop->bindToObject(drive));
    EXPECT_EQ(desktop->getAttributesOf(drive, ShellAttribute::HasSubfolder |
                                                  ShellAttribute::FileSysAncestor),
              ShellAttribute::FileSysAncestor);
    EXPECT_EQ(namesOf(*computer), (std::vector<std::string>{"c (" + fixture.drive("c") + ")"}));
    EXPECT_FALSE(ns->parseDisplayName(fixture.drive("d") + "/photos"));

    // Mounted again, it reads its volume.
    fixture.writeMountTable();
    EXPECT_EQ(ns->pathFromIDList(drive), fixture.drive("d") + "/");
    auto back = desktop->bindToObject(drive);
    ASSERT_TRUE(back);
    EXPECT_EQ(namesOf(*back), (std::vector<std::string>{"photos"}));
}

TEST(LinuxShellNamespace, TheDesktopsDriveIsTheVolumeItsLinksLeadTo) {
    NamespaceFixture fixture;
    fixture.dir().makeDir("d/Desktop");
    const std::string linked = fixture.drive("c") + "/home/me/linked";
    std::filesystem::create_directory_symlink(fixture.drive("d") + "/Desktop", linked);
    auto ns = std::make_shared<LinuxShellNamespace>(
        NamespaceRoots{linked, fixture.dir() / "mountinfo", fixture.dir() / "trash", "/nowhere",
                       fixture.dir() / "by-label"},
        platform::CodePage::utf8(), platform::systemFileSystem());
    EXPECT_EQ(ns->volumeRoot(linked), fixture.drive("d") + "/");
    // Outside the home directory, the desktop's volume is a drive all the same; "c" is none.
    auto computer =
        ns->desktopFolder()->bindToObject(*ns->specialFolderLocation(SpecialFolder::Drives));
    ASSERT_TRUE(computer);
    EXPECT_EQ(namesOf(*computer), (std::vector<std::string>{"d (" + fixture.drive("d") + ")"}));
}

TEST(LinuxShellNamespace, RenameKeepsTheFolderInPlaceAndNeverReplaces) {
    NamespaceFixture fixture;
    auto ns = fixture.shellNamespace();
    fixture.dir().makeDir("d/old/inner");
    fixture.dir().makeDir("d/taken");
    auto drive = ns->desktopFolder()->bindToObject(*ns->parseDisplayName(fixture.drive("d")));
    ASSERT_TRUE(drive);
    const ItemIdList old{ns->folderId("old")};
    for (const std::string bad : {"", "a/b", ".", ".."})
        EXPECT_EQ(drive->setNameOf(old, bad).error, platform::error::PathNotFound) << bad;
    EXPECT_EQ(drive->setNameOf(old, "taken").error, platform::error::AlreadyExists);
    EXPECT_EQ(fixture.dir().entries("d"), (std::vector<std::string>{"old", "taken"}));

    const auto renamed = drive->setNameOf(old, "new");
    ASSERT_TRUE(renamed.ok());
    EXPECT_EQ(drive->getDisplayNameOf(renamed.value), "new");
    EXPECT_EQ(fixture.dir().entries("d/new"), (std::vector<std::string>{"inner"}));
}

TEST(LinuxShellNamespace, AttributesTellFoldersLinksAndSubfolders) {
    NamespaceFixture fixture;
    auto ns = fixture.shellNamespace();
    fixture.dir().makeDir("d/parent/child");
    fixture.dir().makeDir("d/leaf");
    std::filesystem::create_directory_symlink(fixture.drive("d") + "/parent",
                                              fixture.drive("d") + "/link");
    auto drive = ns->desktopFolder()->bindToObject(*ns->parseDisplayName(fixture.drive("d")));
    const auto notLink = ShellAttribute::Folder | ShellAttribute::FileSystem |
                         ShellAttribute::HasSubfolder | ShellAttribute::CanRename;
    const auto all = notLink | ShellAttribute::Link;
    EXPECT_EQ(drive->getAttributesOf({ns->folderId("parent")}, all), notLink);
    EXPECT_EQ(drive->getAttributesOf({ns->folderId("leaf")}, all),
              ShellAttribute::Folder | ShellAttribute::FileSystem | ShellAttribute::CanRename);
    EXPECT_EQ(drive->getAttributesOf({ns->folderId("link")},
                                     ShellAttribute::Link | ShellAttribute::HasSubfolder),
              ShellAttribute::Link | ShellAttribute::HasSubfolder);
    EXPECT_EQ(drive->getAttributesOf({ns->folderId("gone")}, all), ShellAttribute::None);

    // A folder whose only subfolder is a link to a folder has subfolders.
    fixture.dir().makeDir("d/links");
    std::filesystem::create_directory_symlink(fixture.drive("d") + "/leaf",
                                              fixture.drive("d") + "/links/to-leaf");
    EXPECT_EQ(drive->getAttributesOf({ns->folderId("links")}, ShellAttribute::HasSubfolder),
              ShellAttribute::HasSubfolder);
}

} // namespace
} // namespace ordinalette::foldertree
