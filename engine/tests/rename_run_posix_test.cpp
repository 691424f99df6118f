// Runs over what only a POSIX file system has: names that are any bytes, links, hidden names.
#include "engine/tests/rename_run_fixture.h"

#include <algorithm>
#include <filesystem>
#include <unistd.h>

namespace ordinalette::engine {
namespace {

namespace fs = std::filesystem;

TEST_F(RenameRunTest, UnlistedEntriesHoldingANewNameStopTheSecondPass) {
    // A dangling link is a "system" entry, never listed.
    symlink("nowhere", (folder() + "/Note1.txt").c_str());
    Names names = makeFiles({"a.txt", "b.txt"});
    EXPECT_EQ(failingCode(fileSystem, request(names)), 183);
    EXPECT_EQ(entries("tmp1"), (Names{"a.txt", "b.txt"}));
    EXPECT_EQ(entries(), (Names{"Note1.txt", "tmp1"}));

    // A hidden file, never listed either.
    fs::remove_all(folder());
    dir.makeDir("Notes");
    dir.writeFile("Notes/.1.txt", "hidden");
    names = makeFiles({"a.txt"});
    EXPECT_EQ(failingCode(fileSystem, request(names, ".")), 183);
    EXPECT_EQ(content(".1.txt"), "hidden");
    EXPECT_EQ(entries("tmp1"), Names{"a.txt"});
}

TEST_F(RenameRunTest, MultibyteAndInvalidNamesAreRenamedByTheirBytes) {
    const Names names = makeFiles({"\xE5\x86\x99\xE7\x9C\x9F.JPG", "bad\xFF\xFE.jpg", "\xC3(.txt"});
    ASSERT_EQ(names.size(), 3u);
    runRename(fileSystem, request(names, "\xE6\x97\x85", 1), utf8);

    Names expected;
    for (std::size_t i = 0; i < names.size(); ++i) {
        const std::string newName = newFileName("\xE6\x97\x85", static_cast<std::int64_t>(i) + 1, 1,
                                                names[i], ExtensionCase::Lower, utf8);
        EXPECT_EQ(content(newName), names[i]);
        expected.push_back(newName);
    }
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(entries(), expected);
}

TEST_F(RenameRunTest, ANewNameTooLongFailsWithoutTruncation) {
    const Names names = makeFiles({"a.txt"});
    const std::string prefix(260, 'p');
    EXPECT_EQ(failingCode(fileSystem, request(names, prefix)), 206);
    EXPECT_EQ(entries(), Names{"tmp1"});
    EXPECT_EQ(entries("tmp1"), Names{"a.txt"});
}

TEST_F(RenameRunTest, AWidthNoNameCanHoldFailsInTheSecondPassLikeAnyOverlongName) {
    const Names names = makeFiles({"a.txt", "b.txt"});
    EXPECT_EQ(failingCode(fileSystem, request(names, "Note", 1100000000)), 206);
    EXPECT_EQ(entries(), Names{"tmp1"});
    EXPECT_EQ(entries("tmp1"), (Names{"a.txt", "b.txt"}));
}

TEST_F(RenameRunTest, FoldersSwappedDuringTheRunCannotSendFilesElsewhere) {
    dir.makeDir("elsewhere");
    const Names names = makeFiles({"a.txt", "b.txt"});
    RenameRun run = request(names);
    run.fileRenamed = [&](std::size_t renamed) {
        if (renamed > 1)
            return;
        // During the second pass another program moves the temporary folder away and plants a
        // link to elsewhere, and swaps the folder itself for an empty impostor.
        fs::rename(folder() + "/tmp1", folder() + "/moved");
        fs::create_directory_symlink(dir / "elsewhere", folder() + "/tmp1");
        fs::rename(folder(), dir / "real");
        dir.makeDir("Notes");
    };
    EXPECT_EQ(failingCode(fileSystem, run), 3) << "the planted link is not removed as a folder";
    EXPECT_EQ(dir.entries("real"), (Names{"Note1.txt", "Note2.txt", "moved", "tmp1"}));
    EXPECT_EQ(dir.entries("elsewhere"), Names{});
    EXPECT_EQ(entries(), Names{});
}

} // namespace
} // namespace ordinalette::engine
