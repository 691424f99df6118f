#include "engine/listing.h"
#include "engine/naming.h"
#include "platform/posix/posix_file_system.h"
#include "testsupport/fault_injecting_file_system.h"
#include "testsupport/temp_dir.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

namespace ordinalette::engine {
namespace {

using testsupport::TempDir;
using Names = std::vector<std::string>;

class ListingTest : public testing::Test {
protected:
    Names list(std::string_view mask = "*.*") {
        return listFiles(fileSystem, dir.path(), mask, collator);
    }

    TempDir dir;
    platform::PosixFileSystem fileSystem{platform::CodePage::utf8()};
    platform::TextCollator collator{platform::CodePage::utf8()};
};

TEST_F(ListingTest, ListsOnlyPlainFilesMatchingTheMask) {
    dir.writeFile("x.JPG");
    dir.writeFile("y.jpg");
    dir.writeFile("z");
    dir.writeFile(".hidden.jpg");
    dir.writeFile("locked.jpg");
    chmod((dir / "locked.jpg").c_str(), 0444);
    dir.makeDir("folder.jpg");
    ASSERT_EQ(symlink("y.jpg", (dir / "link.jpg").c_str()), 0);
    ASSERT_EQ(symlink("nowhere", (dir / "dangling.jpg").c_str()), 0);
    ASSERT_EQ(mkfifo((dir / "pipe.jpg").c_str(), 0644), 0);

    EXPECT_EQ(list("*.jpg"), (Names{"link.jpg", "locked.jpg", "x.JPG", "y.jpg"}));
    EXPECT_EQ(list("*.*"), (Names{"link.jpg", "locked.jpg", "x.JPG", "y.jpg", "z"}));
    EXPECT_EQ(list("*.png"), Names{});
}

TEST_F(ListingTest, SortsIgnoringCaseCharacterByCharacter) {
    for (const char* name : {"a2.jpg", "B.jpg", "A1.jpg", "a10.jpg", "a.jpg"})
        dir.writeFile(name);
    const Names expected = {"a.jpg", "A1.jpg", "a10.jpg", "a2.jpg", "B.jpg"};
    EXPECT_EQ(list(), expected);
    EXPECT_EQ(list(), expected) << "listing twice gives the same order";
}

TEST_F(ListingTest, NamesEqualButForCaseAreOrderedByTheirBytes) {
    // Created in both orders, so the file system's own order cannot decide.
    for (const char* name : {"b.jpg", "a.jpg", "A.jpg", "B.jpg"})
        dir.writeFile(name);
    EXPECT_EQ(list(), (Names{"A.jpg", "a.jpg", "B.jpg", "b.jpg"}));
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
    EXPECT_EQ(listFiles(fileSystem, dir.path() + "/", "*.*", collator), Names{"a.txt"});
}

TEST_F(ListingTest, NamesThatAreNotValidTextAreListedAsTheyAre) {
    dir.writeFile("b\xFF.txt");
    dir.writeFile("\xE6\x97\xA5.txt");
    dir.writeFile("a.txt");
    const Names names = list();
    ASSERT_EQ(names.size(), 3u);
    EXPECT_EQ(names.front(), "a.txt");
    EXPECT_NE(std::find(names.begin(), names.end(), "b\xFF.txt"), names.end());
}

TEST(CountText, SingularForNoneAndOne) {
    EXPECT_EQ(countText(0), "0File");
    EXPECT_EQ(countText(1), "1File");
    EXPECT_EQ(countText(2), "2Files");
    EXPECT_EQ(countText(120), "120Files");
}

} // namespace
} // namespace ordinalette::engine
