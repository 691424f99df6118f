// Moves on a file system that refuses RENAME_NOREPLACE: the real file system with that flag
// refused, and chosen steps of the fallback failing.
#include "platform/posix/posix_file_system.h"
#include "testsupport/no_replace_refusing_calls.h"
#include "testsupport/temp_dir.h"

#include <cerrno>
#include <filesystem>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace ordinalette::platform {
namespace {

using Call = testsupport::NoReplaceRefusingCalls::Call;
using Names = std::vector<std::string>;

class NoReplaceRefusedTest : public testing::Test {
protected:
    NoReplaceRefusedTest() {
        dir.makeDir("folder/inner");
        dir.makeDir("empty");
        dir.writeFile("file", "content");
        dir.writeFile("other", "other content");
        std::filesystem::create_symlink("nowhere", dir / "dangling");
    }

    int move(const std::string& from, const std::string& to) {
        const auto folder = fileSystem.openDirectory(dir.path());
        EXPECT_TRUE(folder.ok());
        return fileSystem.moveFile(folder.value, from, folder.value, to);
    }

    testsupport::TempDir dir;
    testsupport::NoReplaceRefusingCalls calls;
    PosixFileSystem fileSystem{CodePage::utf8(), calls};
};

TEST_F(NoReplaceRefusedTest, FoldersAndFilesMoveAndNothingIsEverReplaced) {
    for (const char* taken : {"empty", "file", "dangling"}) {
        EXPECT_EQ(move("folder", taken), error::AlreadyExists) << taken;
        EXPECT_EQ(move("other", taken), error::AlreadyExists) << taken;
    }
    EXPECT_EQ(dir.entries(), (Names{"dangling", "empty", "file", "folder", "other"}));
    EXPECT_EQ(dir.readFile("file"), "content");
    EXPECT_EQ(dir.entries("empty"), Names{});

    EXPECT_EQ(move("folder", "renamed"), error::None);
    EXPECT_EQ(move("file", "moved"), error::None);
    EXPECT_EQ(move("missing", "anything"), error::FileNotFound);
    EXPECT_EQ(dir.entries(), (Names{"dangling", "empty", "moved", "other", "renamed"}));
    EXPECT_EQ(dir.entries("renamed"), Names{"inner"});
    EXPECT_EQ(dir.readFile("moved"), "content");
}

TEST_F(NoReplaceRefusedTest, AFolderThatCannotBeMovedLeavesNoPlaceholderBehind) {
    calls.failCall(Call::Rename, 1, EACCES);
    EXPECT_EQ(move("folder", "renamed"), error::AccessDenied);
    EXPECT_EQ(dir.entries(), (Names{"dangling", "empty", "file", "folder", "other"}));
    EXPECT_EQ(dir.entries("folder"), Names{"inner"});
}

TEST_F(NoReplaceRefusedTest, AFileKeepsOneNameUnlessNeitherNameCanBeRemoved) {
    calls.failCall(Call::Unlink, 1, EACCES);
    EXPECT_EQ(move("file", "moved"), error::AccessDenied);
    EXPECT_EQ(dir.entries(), (Names{"dangling", "empty", "file", "folder", "other"}));

    // Neither the old name nor, to take the move back, the new one can be removed (the first
    // move made unlink calls 1 and 2).
    calls.failCall(Call::Unlink, 3, EACCES);
    calls.failCall(Call::Unlink, 4, EIO);
    EXPECT_EQ(move("file", "moved"), error::LeftUnderBothNames);
    EXPECT_EQ(dir.entries(), (Names{"dangling", "empty", "file", "folder", "moved", "other"}));
    EXPECT_EQ(dir.readFile("moved"), "content");
}

} // namespace
} // namespace ordinalette::platform
