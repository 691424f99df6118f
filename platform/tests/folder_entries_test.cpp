#include "platform/posix/desktop_directory.h"
#include "platform/posix/folder_entries.h"
#include "platform/state_directory.h"
#include "testsupport/temp_dir.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>

namespace ordinalette::platform {
namespace {

using testsupport::TempDir;

std::vector<std::string> subfolderNames(const std::string& folder, bool includeHidden) {
    std::vector<std::string> names;
    const auto entries = listSubfolders(folder, includeHidden);
    for (const auto& entry : entries.value())
        names.push_back(entry.name + (entry.isLink ? "@" : ""));
    std::sort(names.begin(), names.end());
    return names;
}

TEST(FolderEntries, SubfoldersWithAndWithoutHiddenOnesFollowingLinks) {
    TempDir dir;
    dir.makeDir("a/inner");
    dir.makeDir(".hidden");
    dir.writeFile("file.txt");
    std::filesystem::create_directory_symlink(dir / "a", dir / "to-a");
    std::filesystem::create_symlink(dir / "file.txt", dir / "to-file");
    std::filesystem::create_symlink(dir / "nowhere", dir / "dangling");
    EXPECT_EQ(subfolderNames(dir.path(), true),
              (std::vector<std::string>{".hidden", "a", "to-a@"}));
    EXPECT_EQ(subfolderNames(dir.path(), false), (std::vector<std::string>{"a", "to-a@"}));
    EXPECT_FALSE(listSubfolders(dir / "missing", true));
}

TEST(FolderEntries, ProbeTellsFoldersLinksAndSubfolders) {
    TempDir dir;
    dir.makeDir("parent/child");
    dir.makeDir("leaf");
    dir.writeFile("leaf/file");
    std::filesystem::create_directory_symlink(dir / "parent", dir / "link");
    const auto parent = probeFolder(dir / "parent", true);
    EXPECT_TRUE(parent.isFolder && parent.hasSubfolders && !parent.isLink);
    const auto leaf = probeFolder(dir / "leaf", true);
    EXPECT_TRUE(leaf.isFolder && !leaf.hasSubfolders);
    const auto link = probeFolder(dir / "link", true);
    EXPECT_TRUE(link.isFolder && link.isLink && link.hasSubfolders);
    EXPECT_FALSE(probeFolder(dir / "leaf/file", true).isFolder);
    EXPECT_FALSE(probeFolder(dir / "missing", true).isFolder);

    // Links to folders are subfolders too, though the link count knows nothing of them; links
    // to files and dangling links are not.
    dir.makeDir("links");
    std::filesystem::create_symlink(dir / "leaf/file", dir / "links/to-file");
    std::filesystem::create_symlink(dir / "nowhere", dir / "links/dangling");
    EXPECT_FALSE(probeFolder(dir / "links", true).hasSubfolders);
    std::filesystem::create_directory_symlink(dir / "leaf", dir / "links/to-leaf");
    EXPECT_TRUE(probeFolder(dir / "links", true).hasSubfolders);
}

TEST(DesktopDirectory, ConfiguredFolderElseDesktopElseHome) {
    TempDir dir;
    dir.makeDir("home/デスクトップ");
    const std::string home = dir / "home";
    const auto isFolder = [](const std::string& path) {
        return std::filesystem::is_directory(path);
    };
    const std::string configured = "# comment\nXDG_DESKTOP_DIR=\"$HOME/デスクトップ\"\n";
    EXPECT_EQ(desktopDirectoryFrom(home, configured, isFolder), home + "/デスクトップ");
    EXPECT_EQ(
        desktopDirectoryFrom(home, "XDG_DESKTOP_DIR=\"" + home + "/デスクトップ/\"", isFolder),
        home + "/デスクトップ");
    // A configured folder that does not exist, or none configured: ~/Desktop, else home.
    EXPECT_EQ(desktopDirectoryFrom(home, "XDG_DESKTOP_DIR=\"$HOME/gone\"", isFolder), home);
    dir.makeDir("home/Desktop");
    EXPECT_EQ(desktopDirectoryFrom(home, "", isFolder), home + "/Desktop");
    EXPECT_EQ(desktopDirectoryFrom(home + "/", "XDG_DESKTOP_DIR=\"relative\"", isFolder),
              home + "/Desktop");
}

TEST(StateDirectory, JournalsLiveInTheXdgStateHomeWhenItIsAbsoluteElseUnderHome) {
    const std::string savedHome = std::getenv("HOME") ? std::getenv("HOME") : "";
    const char* savedState = std::getenv("XDG_STATE_HOME");
    const std::string state = savedState ? savedState : "";
    setenv("HOME", "/home/user", 1);
    setenv("XDG_STATE_HOME", "/var/state", 1);
    EXPECT_EQ(runJournalDirectory(), "/var/state/ordinalette");
    setenv("XDG_STATE_HOME", "relative/state", 1);
    EXPECT_EQ(runJournalDirectory(), "/home/user/.local/state/ordinalette");
    unsetenv("XDG_STATE_HOME");
    EXPECT_EQ(runJournalDirectory(), "/home/user/.local/state/ordinalette");
    setenv("HOME", savedHome.c_str(), 1);
    if (savedState)
        setenv("XDG_STATE_HOME", state.c_str(), 1);
}

} // namespace
} // namespace ordinalette::platform
