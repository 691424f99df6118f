#include "engine/name_preview.h"
#include "engine/tests/rename_run_fixture.h"
#include "testsupport/fault_injecting_file_system.h"

#include <algorithm>

namespace ordinalette::engine {
namespace {

using Operation = testsupport::FaultInjectingFileSystem::Operation;

// The preview over the folder "Notes" of the run's fixture, so that it can be held against a
// run of the same values.
class NamePreviewTest : public RenameRunTest {
protected:
    std::vector<PreviewedName> preview(platform::FileSystem& used, const Names& names,
                                       std::string_view prefix = "Note", int width = 1,
                                       ExtensionCase extensionCase = ExtensionCase::Lower) {
        return previewNewNames(used, folder(), names, prefix, width, extensionCase, utf8);
    }
    std::vector<PreviewedName> preview(const Names& names, std::string_view prefix = "Note",
                                       int width = 1) {
        return preview(fileSystem, names, prefix, width);
    }
    static Names newNames(const std::vector<PreviewedName>& previews) {
        Names names;
        for (const PreviewedName& previewed : previews)
            names.push_back(previewed.name);
        return names;
    }
    static std::vector<NameMark> marks(const std::vector<PreviewedName>& previews) {
        std::vector<NameMark> found;
        for (const PreviewedName& previewed : previews)
            found.push_back(previewed.mark);
        return found;
    }
};

TEST_F(NamePreviewTest, GivesTheNamesOfARunWithTheSameValuesAndRenamesNothing) {
    const Names names = makeFiles({"b.jpg", "A.JPG", "c.Jpg", "README", "x_001.JPG"});
    const auto previews = preview(fileSystem, names, "x_", 3, ExtensionCase::Upper);
    EXPECT_EQ(newNames(previews),
              (Names{"x_001.JPG", "x_002.JPG", "x_003.JPG", "x_004", "x_005.JPG"}));
    EXPECT_EQ(marks(previews), std::vector<NameMark>(5, NameMark::None))
        << "a listed file leaves the folder before the first new name is given";
    EXPECT_EQ(entries(), (Names{"A.JPG", "README", "b.jpg", "c.Jpg", "x_001.JPG"}));

    RenameRun run = request(names, "x_", 3);
    run.extensionCase = ExtensionCase::Upper;
    runRename(fileSystem, run, utf8);
    Names onDisk = newNames(previews);
    std::sort(onDisk.begin(), onDisk.end());
    EXPECT_EQ(entries(), onDisk);
}

TEST_F(NamePreviewTest, MarksTheNamesARunCannotGive) {
    const Names listed = makeFiles({"a.txt", "b.txt", "c.txt"});
    // Entries that are not listed: a folder, and a file made after the listing.
    dir.makeDir("Notes/Note2.txt");
    dir.writeFile("Notes/Note3.txt");
    EXPECT_EQ(marks(preview(listed)),
              (std::vector<NameMark>{NameMark::None, NameMark::Taken, NameMark::Taken}));

    EXPECT_EQ(marks(preview(listed, "No/te")), std::vector<NameMark>(3, NameMark::InvalidName));
    EXPECT_EQ(marks(preview(listed, std::string(300, 'n'))),
              std::vector<NameMark>(3, NameMark::TooLong));
}

TEST_F(NamePreviewTest, ReadsTheFolderInOneEnumerationAndOnlyWhenThereAreFiles) {
    const Names names = makeFiles({"a.txt", "b.txt"});
    testsupport::FaultInjectingFileSystem counting(fileSystem);
    EXPECT_TRUE(preview(counting, {}).empty());
    EXPECT_EQ(counting.calls(Operation::Enumerate), 0);

    preview(counting, names);
    EXPECT_EQ(counting.calls(Operation::Enumerate), 1);
    for (const Operation other :
         {Operation::Attributes, Operation::ChangeDirectory, Operation::CreateDirectory,
          Operation::OpenDirectory, Operation::MoveFile, Operation::ReadFile}) {
        EXPECT_EQ(counting.calls(other), 0) << static_cast<int>(other);
    }

    // A folder that cannot be read says so instead of showing names without their marks.
    counting.failCall(Operation::Enumerate, 2, platform::error::PathNotFound);
    try {
        preview(counting, names);
        FAIL() << "the preview did not fail";
    } catch (const EInOutError& error) {
        EXPECT_EQ(error.code(), platform::error::PathNotFound);
    }
}

} // namespace
} // namespace ordinalette::engine
