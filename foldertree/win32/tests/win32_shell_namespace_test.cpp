#include "foldertree/win32/ole_session.h"
#include "foldertree/win32/system_icons.h"
#include "foldertree/win32/win32_shell_namespace.h"
#include "platform/error_number.h"
#include "testsupport/temp_dir.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <windows.h>

namespace ordinalette::foldertree {
namespace {

using Names = std::vector<std::string>;

class Win32ShellNamespaceTest : public testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(m_ole.initialised()); }

    // The folder object of a path, by way of the desktop.
    std::shared_ptr<ShellFolder> folderOf(const std::string& path) {
        const auto list = m_namespace.parseDisplayName(path);
        return list ? m_namespace.desktopFolder()->bindToObject(*list) : nullptr;
    }
    // The display names of a folder's subfolders, in the order the folder gives them.
    static Names namesOf(ShellFolder& folder, const std::vector<ItemIdList>& children) {
        Names names;
        for (const auto& child : children)
            names.push_back(folder.getDisplayNameOf(child).value_or("?"));
        return names;
    }
    std::optional<ItemIdList> childNamed(ShellFolder& folder, const std::string& name) {
        for (const auto& child : folder.enumFolders(true).value_or(std::vector<ItemIdList>{})) {
            if (folder.getDisplayNameOf(child) == name)
                return child;
        }
        return std::nullopt;
    }
    std::string in(const std::string& name) const { return m_dir.path() + "\\" + name; }
    void makeFolder(const std::string& path) {
        ASSERT_TRUE(CreateDirectoryA(path.c_str(), nullptr));
    }

    OleSession m_ole;
    Win32ShellNamespace m_namespace;
    testsupport::TempDir m_dir;
};

TEST_F(Win32ShellNamespaceTest,
       TheDesktopHoldsMyComputerTheRecycleBinAndItsFoldersAndMyComputerTheDrives) {
    const auto desktop = m_namespace.desktopFolder();
    const auto children = desktop->enumFolders(true);
    ASSERT_TRUE(children.has_value());
    const auto holds = [&](const std::optional<ItemIdList>& special) {
        return special && std::any_of(children->begin(), children->end(), [&](const auto& child) {
                   return desktop->compareIDs(child, *special) == 0;
               });
    };
    EXPECT_TRUE(holds(m_namespace.specialFolderLocation(SpecialFolder::Drives)));
    EXPECT_TRUE(holds(m_namespace.specialFolderLocation(SpecialFolder::BitBucket)));
    const auto desktopDirectory =
        m_namespace.specialFolderLocation(SpecialFolder::DesktopDirectory);
    ASSERT_TRUE(desktopDirectory.has_value());
    EXPECT_EQ(m_namespace.pathFromIDList({}), m_namespace.pathFromIDList(*desktopDirectory));
    EXPECT_EQ(m_namespace.pathFromIDList(*m_namespace.specialFolderLocation(SpecialFolder::Drives)),
              std::nullopt);
    const std::string onDesktop =
        *m_namespace.pathFromIDList(*desktopDirectory) + "\\Folder on the desktop";
    makeFolder(onDesktop);
    EXPECT_TRUE(childNamed(*desktop, "Folder on the desktop").has_value());
    RemoveDirectoryA(onDesktop.c_str());

    const auto computerList = *m_namespace.specialFolderLocation(SpecialFolder::Drives);
    const auto computer = desktop->bindToObject(computerList);
    ASSERT_NE(computer, nullptr);
    Names paths;
    for (const auto& drive : computer->enumFolders(true).value_or(std::vector<ItemIdList>{})) {
        ItemIdList absolute = computerList;
        absolute.insert(absolute.end(), drive.begin(), drive.end());
        if (const auto path = m_namespace.pathFromIDList(absolute))
            paths.push_back(*path); // the control panel has none
    }
    Names driveNames;
    for (const auto& volume : m_namespace.driveVolumes()) {
        driveNames.push_back(volume.mountPoint + "\\");
        EXPECT_FALSE(volume.network);
        EXPECT_EQ(m_namespace.pathFromIDList(m_namespace.driveIDList(volume.mountPoint)),
                  volume.mountPoint + "\\");
    }
    EXPECT_EQ(paths, (Names{"C:\\", "Z:\\"})) << "the drives of the test's Wine";
    EXPECT_EQ(driveNames, paths);
    EXPECT_EQ(m_namespace.mountPoints(), (Names{"C:", "Z:"}));
}

TEST_F(Win32ShellNamespaceTest, APathParsesToTheListWhosePathItIs) {
    const std::string folder = in("Parsed");
    makeFolder(folder);
    const auto list = m_namespace.parseDisplayName(folder);
    ASSERT_TRUE(list.has_value());
    EXPECT_EQ(m_namespace.pathFromIDList(*list), folder);
    EXPECT_EQ(m_namespace.pathFromIDList(*m_namespace.parseDisplayName("C:\\")), "C:\\")
        << "a drive's root keeps its backslash";
    EXPECT_EQ(m_namespace.volumeRoot(folder), "C:\\");
    EXPECT_EQ(m_namespace.pathFromIDList(*m_namespace.parseDisplayName(m_dir.path() + "/Parsed")),
              folder)
        << "a slash parts the path too";
    EXPECT_EQ(m_namespace.parseDisplayName(in("Missing")), std::nullopt);
    EXPECT_EQ(m_namespace.parseDisplayName(""), std::nullopt);
}

TEST_F(Win32ShellNamespaceTest, DisplayNamesAreInTheSystemCodePage) {
    const std::string hyouji = "\x95\x5C\x8E\xA6"; // 表示: its first trail byte is a backslash
    makeFolder(in(hyouji));
    makeFolder(in(hyouji + "\\inner"));
    const auto parent = folderOf(m_dir.path());
    ASSERT_NE(parent, nullptr);
    const auto child = childNamed(*parent, hyouji);
    ASSERT_TRUE(child.has_value());
    const auto inner = childNamed(*parent->bindToObject(*child), "inner");
    ASSERT_TRUE(inner.has_value());
    ItemIdList deeper = *child;
    deeper.insert(deeper.end(), inner->begin(), inner->end());
    EXPECT_EQ(parent->getDisplayNameOf(deeper), "inner") << "named by the folder that holds it";
    EXPECT_EQ(m_namespace.pathFromIDList(*m_namespace.parseDisplayName(in(hyouji))), in(hyouji));
}

TEST_F(Win32ShellNamespaceTest, CompareIDsGivesTheFoldersOrderIgnoringCase) {
    for (const char* name : {"b", "C", "a"})
        makeFolder(in(name));
    const auto folder = folderOf(m_dir.path());
    ASSERT_NE(folder, nullptr);
    auto children = *folder->enumFolders(false);
    std::sort(children.begin(), children.end(), [&](const auto& x, const auto& y) {
        return folder->compareIDs(x, y).value_or(0) < 0;
    });
    EXPECT_EQ(namesOf(*folder, children), (Names{"a", "b", "C"}));
    EXPECT_EQ(folder->compareIDs(children[1], children[1]), 0);
    EXPECT_GT(folder->compareIDs(children[2], children[0]).value_or(0), 0);
}

TEST_F(Win32ShellNamespaceTest, SetNameOfRenamesInPlaceAndAClashKeepsBothNames) {
    makeFolder(in("Old"));
    makeFolder(in("Taken"));
    const auto folder = folderOf(m_dir.path());
    ASSERT_NE(folder, nullptr);
    const auto renamed = folder->setNameOf(*childNamed(*folder, "Old"), "New");
    ASSERT_TRUE(renamed.ok()) << renamed.error;
    EXPECT_EQ(folder->getDisplayNameOf(renamed.value), "New");
    EXPECT_EQ(GetFileAttributesA(in("Old").c_str()), INVALID_FILE_ATTRIBUTES);

    const auto clash = folder->setNameOf(renamed.value, "Taken");
    EXPECT_EQ(clash.error, platform::error::AlreadyExists);
    EXPECT_EQ(folder->setNameOf(renamed.value, "..\\Away").error, platform::error::PathNotFound);
    Names left = namesOf(*folder, *folder->enumFolders(false));
    std::sort(left.begin(), left.end());
    EXPECT_EQ(left, (Names{"New", "Taken"}));
}

TEST_F(Win32ShellNamespaceTest, AttributesTellAFolderWithSubfoldersFromOneWithout) {
    makeFolder(in("Full"));
    makeFolder(in("Full\\Sub"));
    makeFolder(in("Empty"));
    const auto folder = folderOf(m_dir.path());
    ASSERT_NE(folder, nullptr);
    const ShellAttribute mask = ShellAttribute::Folder | ShellAttribute::FileSystem |
                                ShellAttribute::HasSubfolder | ShellAttribute::CanRename;
    const ShellAttribute plain =
        ShellAttribute::Folder | ShellAttribute::FileSystem | ShellAttribute::CanRename;
    EXPECT_EQ(folder->getAttributesOf(*childNamed(*folder, "Full"), mask),
              plain | ShellAttribute::HasSubfolder);
    EXPECT_EQ(folder->getAttributesOf(*childNamed(*folder, "Empty"), mask), plain);
    EXPECT_EQ(folder->getAttributesOf(*childNamed(*folder, "Full"), ShellAttribute::Folder),
              ShellAttribute::Folder)
        << "only what the mask asks";

    const auto list = m_namespace.parseDisplayName(in("Full"));
    EXPECT_NE(systemSmallImageList(), nullptr);
    EXPECT_GE(smallIconIndex(*list), 0);
    EXPECT_GE(smallIconIndex(*list, IconState::Open), 0);
}

} // namespace
} // namespace ordinalette::foldertree
