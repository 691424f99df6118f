#include "engine/tests/listing_fixture.h"
#include "platform/path.h"
#include "testsupport/fault_injecting_file_system.h"

namespace ordinalette::engine {
namespace {

TEST_F(ListingTest, ListsTheFilesMatchingTheMaskIgnoringCase) {
    dir.writeFile("x.JPG");
    dir.writeFile("y.jpg");
    dir.writeFile("z");
    dir.makeDir("folder.jpg");

    EXPECT_EQ(list("*.jpg"), (Names{"x.JPG", "y.jpg"}));
    EXPECT_EQ(list("*.*"), (Names{"x.JPG", "y.jpg", "z"}));
    EXPECT_EQ(list("*.png"), Names{});
}

TEST_F(ListingTest, SortsIgnoringCaseCharacterByCharacter) {
    for (const char* name : {"a2.jpg", "B.jpg", "A1.jpg", "a10.jpg", "a.jpg"})
        dir.writeFile(name);
    const Names expected = {"a.jpg", "A1.jpg", "a10.jpg", "a2.jpg", "B.jpg"};
    EXPECT_EQ(list(), expected);
    EXPECT_EQ(list(), expected) << "listing twice gives the same order";
}

TEST_F(ListingTest, UnreadablePlacesListNothing) {
    dir.writeFile("a.txt");
    EXPECT_EQ(listFiles(fileSystem, "", "*.*", collator), Names{}) << "no file-system path";
    EXPECT_EQ(listFiles(fileSystem, dir / "missing", "*.*", collator), Names{});
    EXPECT_EQ(listFiles(fileSystem, dir / "a.txt", "*.*", collator), Names{});

    testsupport::FaultInjectingFileSystem failing(fileSystem);
    failing.failCall(testsupport::FaultInjectingFileSystem::Operation::Enumerate, 1,
                     platform::error::AccessDenied);
    EXPECT_EQ(listFiles(failing, dir.path(), "*.*", collator), Names{});
    EXPECT_EQ(listFiles(failing, dir.path(), "*.*", collator), Names{"a.txt"});
}

TEST_F(ListingTest, RootWithTrailingSeparatorIsJoinedWithADoubleSeparator) {
    dir.writeFile("a.txt");
    const std::string folder = platform::joinPath(dir.path(), "");
    EXPECT_EQ(listFiles(fileSystem, folder, "*.*", collator), Names{"a.txt"});
}

TEST(CountText, SingularForNoneAndOne) {
    EXPECT_EQ(countText(0), "0File");
    EXPECT_EQ(countText(1), "1File");
    EXPECT_EQ(countText(2), "2Files");
    EXPECT_EQ(countText(120), "120Files");
}

} // namespace
} // namespace ordinalette::engine
