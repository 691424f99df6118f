#include "engine/tests/rename_run_fixture.h"
#include "testsupport/fault_injecting_file_system.h"

#include <cstdio>
#include <filesystem>
#include <map>

namespace ordinalette::engine {
namespace {

using Operation = testsupport::FaultInjectingFileSystem::Operation;
namespace fs = std::filesystem;

TEST_F(RenameRunTest, OneFileGoesThroughTheTemporaryFolder) {
    const Names names = makeFiles({"a.TXT"});
    RenameRun run = request(names);
    bool temporaryExisted = false;
    run.fileRenamed = [&](std::size_t) { temporaryExisted = dir.exists("Notes/tmp1"); };

    EXPECT_EQ(runRename(fileSystem, run, utf8), RenameOutcome::Renamed);
    EXPECT_TRUE(temporaryExisted);
    EXPECT_EQ(entries(), Names{"Note1.txt"});
    EXPECT_EQ(content("Note1.txt"), "a.TXT");
    EXPECT_EQ(fs::current_path(), fs::path(folder()));
}

TEST_F(RenameRunTest, EmptyListTouchesNothing) {
    const fs::path before = fs::current_path();
    EXPECT_EQ(runRename(fileSystem, request({}), utf8), RenameOutcome::NoFiles);
    EXPECT_EQ(fs::current_path(), before);
    EXPECT_EQ(entries(), Names{});
}

TEST_F(RenameRunTest, WidthIsReadOnceBeforeAnyMoveAndNumbersFollowTheList) {
    const Names names = makeFiles({"b.jpg", "A.JPG", "c.Jpg"});
    RenameRun run = request(names, "x_");
    std::vector<Names> folderDuringWidth;
    run.width = [&] {
        folderDuringWidth.push_back(entries());
        return 3;
    };
    run.extensionCase = ExtensionCase::Unchanged;
    runRename(fileSystem, run, utf8);

    EXPECT_EQ(folderDuringWidth, std::vector<Names>{names}) << "the new names are known first";
    EXPECT_EQ(entries(), (Names{"x_001.JPG", "x_002.jpg", "x_003.Jpg"}));
    EXPECT_EQ(content("x_001.JPG"), "A.JPG");
    EXPECT_EQ(content("x_003.Jpg"), "c.Jpg");
    EXPECT_EQ(progress, (std::vector<std::size_t>{1, 2, 3}));
}

TEST_F(RenameRunTest, TakesTheFirstFreeTemporaryFolderName) {
    dir.makeDir("Notes/tmp1");
    dir.makeDir("Notes/tmp2");
    dir.writeFile("Notes/tmp1/kept", "kept");
    const Names names = makeFiles({"a.txt"});
    RenameRun run = request(names);
    Names during;
    run.fileRenamed = [&](std::size_t) { during = entries(); };
    runRename(fileSystem, run, utf8);

    EXPECT_EQ(during, (Names{"Note1.txt", "tmp1", "tmp2", "tmp3"}));
    EXPECT_EQ(entries(), (Names{"Note1.txt", "tmp1", "tmp2"}));
    EXPECT_EQ(entries("tmp1"), Names{"kept"});
}

TEST_F(RenameRunTest, EntriesNamedTmp1OfAnyKindAreNeverTheTemporaryFolder) {
    // A plain file tmp1 is listed and renamed like any file; an unlisted one, a link, stays.
    dir.writeFile("Notes/tmp1", "plain");
    const Names names = makeFiles({"a.txt", "b.txt"});
    dir.writeFile("Notes/TMP2.dat", "unlisted");
    fs::rename(folder() + "/TMP2.dat", folder() + "/tmp2");
    runRename(fileSystem, request(names, "Note"), utf8);
    EXPECT_EQ(entries(), (Names{"Note1.txt", "Note2.txt", "Note3", "tmp2"}));
    EXPECT_EQ(content("Note3"), "plain");
    EXPECT_EQ(content("tmp2"), "unlisted");
    EXPECT_EQ(fs::current_path(), fs::path(folder()));
}

TEST_F(RenameRunTest, RenamingTwiceWithTheSameSettingsKeepsNamesAndContents) {
    Names names = makeFiles({"k.txt", "J.txt", "m.TXT", "Note2.txt", "Note1.txt"});
    runRename(fileSystem, request(names), utf8);
    const Names once = entries();
    std::map<std::string, std::string> contents;
    for (const std::string& name : once)
        contents[name] = content(name);

    names = listFiles(fileSystem, folder(), "*.*", collator);
    runRename(fileSystem, request(names), utf8);
    EXPECT_EQ(entries(), once);
    for (const std::string& name : once)
        EXPECT_EQ(content(name), contents[name]) << name;
    EXPECT_EQ(once, (Names{"Note1.txt", "Note2.txt", "Note3.txt", "Note4.txt", "Note5.txt"}));
}

TEST_F(RenameRunTest, AnUnlistedFolderHoldingTheFirstNewNameStopsTheSecondPass) {
    dir.makeDir("Notes/Note1.txt");
    const Names names = makeFiles({"a.txt", "b.txt"});
    EXPECT_EQ(failingCode(fileSystem, request(names)), 183);
    EXPECT_EQ(entries("tmp1"), (Names{"a.txt", "b.txt"}));
    EXPECT_EQ(entries(), (Names{"Note1.txt", "tmp1"}));
    EXPECT_TRUE(progress.empty());
}

TEST_F(RenameRunTest, AFileDeletedAfterTheListingStopsTheFirstPass) {
    const Names names = makeFiles({"a.txt", "b.txt", "c.txt"});
    fs::remove(folder() + "/b.txt");
    try {
        runRename(fileSystem, request(names), utf8);
        FAIL() << "the run did not fail";
    } catch (const EInOutError& error) {
        EXPECT_EQ(error.code(), 2);
        EXPECT_STREQ(error.what(), "ファイルが見つかりません");
    }
    EXPECT_EQ(entries("tmp1"), Names{"a.txt"});
    EXPECT_EQ(entries(), (Names{"c.txt", "tmp1"}));
}

TEST_F(RenameRunTest, EachFailingStepLeavesItsState) {
    const Names original = {"a.txt", "b.txt", "c.txt"};
    struct Case {
        Operation operation;
        int call;
        Names folder;    // expected entries of the folder
        Names temporary; // expected entries of tmp1, or {"-"} when there is none
        std::size_t progress;
        bool workingDirectoryChanged;
    };
    const Case cases[] = {
        {Operation::ChangeDirectory, 1, original, {"-"}, 0, false},
        {Operation::CreateDirectory, 1, original, {"-"}, 0, true},
        {Operation::MoveFile, 1, original, {"-"}, 0, true}, // nothing moved: nothing left
        {Operation::MoveFile, 3, {"c.txt", "tmp1"}, {"a.txt", "b.txt"}, 0, true},
        {Operation::MoveFile, 4, {"tmp1"}, original, 0, true},
        {Operation::MoveFile, 5, {"Note1.txt", "tmp1"}, {"b.txt", "c.txt"}, 1, true},
        {Operation::MoveFile, 6, {"Note1.txt", "Note2.txt", "tmp1"}, {"c.txt"}, 2, true},
        {Operation::RemoveDirectory,
         1,
         {"Note1.txt", "Note2.txt", "Note3.txt", "tmp1"},
         {},
         3,
         true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message()
                     << "operation " << static_cast<int>(c.operation) << ", call " << c.call);
        fs::remove_all(folder());
        dir.makeDir("Notes");
        progress.clear();
        const fs::path before = fs::current_path();
        const Names names = makeFiles(original);
        testsupport::FaultInjectingFileSystem failing(fileSystem);
        failing.failCall(c.operation, c.call, platform::error::AccessDenied);

        EXPECT_EQ(failingCode(failing, request(names)), 5);
        EXPECT_EQ(entries(), c.folder);
        if (c.temporary == Names{"-"})
            EXPECT_FALSE(dir.exists("Notes/tmp1"));
        else
            EXPECT_EQ(entries("tmp1"), c.temporary);
        EXPECT_EQ(progress.size(), c.progress);
        EXPECT_EQ(fs::current_path() == fs::path(folder()), c.workingDirectoryChanged);
        fs::current_path(before);
    }
}

TEST_F(RenameRunTest, ANewNameThatLeavesTheFolderFailsWithError3) {
    dir.makeDir("Notes/sub");
    const Names names = makeFiles({"a.txt", "b.txt"});
    try {
        runRename(fileSystem, request(names, "sub/x"), utf8);
        FAIL() << "the run did not fail";
    } catch (const EInOutError& error) {
        EXPECT_EQ(error.code(), 3);
        EXPECT_STREQ(error.what(), "不正なファイル名です");
    }
    EXPECT_EQ(entries("sub"), Names{});
    EXPECT_EQ(entries("tmp1"), (Names{"a.txt", "b.txt"}));
}

TEST_F(RenameRunTest, MoreThanAHundredFilesAreRenamedInListOrder) {
    Names created;
    for (int i = 0; i < 120; ++i)
        created.push_back("f" + std::to_string(i) + ".DAT");
    const Names names = makeFiles(created);
    ASSERT_EQ(names.size(), created.size());
    runRename(fileSystem, request(names, "Note_", 3), utf8);

    Names expected;
    for (std::size_t i = 0; i < names.size(); ++i) {
        char expectedName[32];
        std::snprintf(expectedName, sizeof expectedName, "Note_%03zu.dat", i + 1);
        EXPECT_EQ(content(expectedName), names[i]);
        expected.push_back(expectedName);
    }
    EXPECT_EQ(entries(), expected);
    EXPECT_EQ(progress.size(), names.size());
}

} // namespace
} // namespace ordinalette::engine
