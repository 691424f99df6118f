#include "foldertree/folder_path.h"
#include "platform/path.h"

#include <gtest/gtest.h>
#include <string>

namespace ordinalette::foldertree {
namespace {

TEST(FolderPath, AFolderHoldsItselfAndWholeComponentsBelowItWithThePlatformsSeparator) {
    const std::string root = platform::kPathSeparator == '/' ? "/" : "C:\\";
    const std::string home = platform::joinPath(root, "home");
    EXPECT_TRUE(isAtOrBelow(home, home));
    EXPECT_TRUE(isAtOrBelow(platform::joinPath(home, "me"), home));
    EXPECT_TRUE(isAtOrBelow(home, root));
    EXPECT_FALSE(isAtOrBelow(home + "work", home));
    EXPECT_FALSE(isAtOrBelow(root, home));
    EXPECT_FALSE(isAtOrBelow(home, ""));
}

} // namespace
} // namespace ordinalette::foldertree
