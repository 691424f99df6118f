#include "platform/file_name.h"

#include <gtest/gtest.h>

namespace ordinalette::platform {
namespace {

TEST(FileName, ASingleNameIsNonEmptyWithoutSeparatorOrZeroByteAndNoDotEntry) {
    for (const std::string_view name : {"a.txt", "...", ".hidden", "a b"})
        EXPECT_TRUE(isSingleFileName(name)) << name;
    for (const std::string_view name :
         {std::string_view(), std::string_view("a\0b", 3), std::string_view("\0", 1),
          std::string_view("."), std::string_view(".."), std::string_view("a/b"),
          std::string_view("/")})
        EXPECT_FALSE(isSingleFileName(name)) << name;
}

} // namespace
} // namespace ordinalette::platform
