#include "platform/file_name.h"
#include "testsupport/temp_dir.h"

#include <gtest/gtest.h>
#include <string>

namespace ordinalette::platform {
namespace {

using namespace std::string_literals;

TEST(FileName, ANameThatWouldLeaveItsFolderOrCannotBeStoredIsInvalid) {
    const testsupport::TempDir dir;
    const FileNameRules rules(dir.path());
    for (const std::string& name : {"Note01.txt"s, "a b.txt"s, "x_1"s})
        EXPECT_EQ(rules.check(name), FileNameFault::None) << name;
    for (const std::string& name : {""s, "."s, ".."s, "Su/mm1.txt"s, "a\0b"s}) {
        EXPECT_EQ(rules.check(name), FileNameFault::Invalid) << name;
    }
    EXPECT_FALSE(isSingleFileName("Su/mm1.txt"));
    EXPECT_FALSE(isSingleFileName(".."));
    EXPECT_TRUE(isSingleFileName("Summ1.txt"));
}

TEST(FileName, ANameLongerThanTheFileSystemTakesIsTooLong) {
    const testsupport::TempDir dir;
    const FileNameRules rules(dir.path());
    EXPECT_EQ(rules.check(std::string(300, 'n')), FileNameFault::TooLong);
    EXPECT_EQ(rules.check("/" + std::string(300, 'n')), FileNameFault::Invalid)
        << "an invalid name is invalid first";
}

} // namespace
} // namespace ordinalette::platform
