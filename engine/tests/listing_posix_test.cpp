// Listings of what only a POSIX file system has: hidden names, links, FIFOs, permission bits,
// names that differ only in case, names that are any bytes.
#include "engine/tests/listing_fixture.h"

#include <algorithm>
#include <sys/stat.h>
#include <unistd.h>

namespace ordinalette::engine {
namespace {

TEST_F(ListingTest, ListsFilesAndLinksToThemOnly) {
    dir.writeFile("y.jpg");
    dir.writeFile(".hidden.jpg");
    dir.writeFile("locked.jpg");
    chmod((dir / "locked.jpg").c_str(), 0444);
    dir.makeDir("folder.jpg");
    ASSERT_EQ(symlink("y.jpg", (dir / "link.jpg").c_str()), 0);
    ASSERT_EQ(symlink("folder.jpg", (dir / "folder-link.jpg").c_str()), 0);
    ASSERT_EQ(symlink("nowhere", (dir / "dangling.jpg").c_str()), 0);
    ASSERT_EQ(mkfifo((dir / "pipe.jpg").c_str(), 0644), 0);

    EXPECT_EQ(list("*.jpg"), (Names{"link.jpg", "locked.jpg", "y.jpg"}));
}

TEST_F(ListingTest, NamesEqualButForCaseAreOrderedByTheirBytes) {
    // Created in both orders, so the file system's own order cannot decide.
    for (const char* name : {"b.jpg", "a.jpg", "A.jpg", "B.jpg"})
        dir.writeFile(name);
    EXPECT_EQ(list(), (Names{"A.jpg", "a.jpg", "B.jpg", "b.jpg"}));
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

} // namespace
} // namespace ordinalette::engine
