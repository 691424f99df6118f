#include "engine/naming.h"
#include "platform/path.h"

#include <gtest/gtest.h>
#include <limits>
#include <vector>

namespace ordinalette::engine {
namespace {

const platform::CodePage kUtf8 = platform::CodePage::utf8();
const platform::CodePage kCp932 = platform::CodePage::cp932();

TEST(Naming, DigitCountOfTheFileCount) {
    const std::pair<std::int64_t, std::int32_t> cases[] = {{0, 0},  {1, 1},   {9, 1},      {10, 2},
                                                           {99, 2}, {100, 3}, {100000, 6}, {-4, 0}};
    for (const auto& [count, digits] : cases)
        EXPECT_EQ(digitCount(count), digits) << count;
}

// A path of folders joined by the platform's separator.
std::string path(std::initializer_list<std::string_view> folders) {
    auto folder = folders.begin();
    std::string joined(*folder);
    while (++folder != folders.end())
        joined = platform::joinPath(joined, *folder);
    return joined;
}

TEST(Naming, PrefixTakesTheFirstCharactersOfTheFolderOwnName) {
    const std::string summer = path({"", "home", "u", "Summer"});
    EXPECT_EQ(namePrefix(summer, 4, "", kUtf8), "Summ");
    EXPECT_EQ(namePrefix(summer, 4, "_", kUtf8), "Summ_");
    EXPECT_EQ(namePrefix(summer, 0, "_", kUtf8), "_");
    EXPECT_EQ(namePrefix(summer, -2, "", kUtf8), "");
    EXPECT_EQ(namePrefix(path({"", "photos", "Trip"}), 100, "", kUtf8), "Trip");
    EXPECT_EQ(namePrefix(path({"root", ""}), 4, "", kUtf8), "") << "a root has no own name";
    EXPECT_EQ(namePrefix("relative", 3, "", kUtf8), "rel");
    EXPECT_EQ(namePrefix(path({"", "x", "\xE6\x97\xA5\xE6\x9C\xAC\xE8\xAA\x9E"}), 2, "", kUtf8),
              "\xE6\x97\xA5\xE6\x9C\xAC");
}

TEST(Naming, DoubleByteFolderNamesAreCutAtWholeCharacters) {
    // 表示アイ: four double-byte characters, the first with a backslash as its trail byte.
    const std::string folder = "\x95\x5C\x8E\xA6\x83\x41\x83\x43";
    EXPECT_EQ(folderOwnName(path({"data", folder}), kCp932), folder);
    EXPECT_EQ(namePrefix(path({"data", folder}), 2, "", kCp932), "\x95\x5C\x8E\xA6");
    EXPECT_EQ(namePrefix(path({"data", folder}), 1, "-", kCp932), "\x95\x5C-");
    EXPECT_EQ(namePrefix(path({"data", "a" + folder}), 2, "", kCp932), "a\x95\x5C");
}

TEST(Naming, ExtensionIsTheLastDotOnward) {
    const std::pair<const char*, const char*> cases[] = {
        {"photo.JPG", ".JPG"}, {"a.tar.gz", ".gz"}, {".profile", ".profile"},
        {"README", ""},        {"trailing.", "."},  {"\x83\x41.txt", ".txt"},
    };
    for (const auto& [name, extension] : cases)
        EXPECT_EQ(fileExtension(name, kCp932), extension) << name;
}

TEST(Naming, NewNamesArePrefixPaddedSerialAndExtension) {
    EXPECT_EQ(newFileName("Summ", 1, 2, "IMG_0001.JPG", ExtensionCase::Lower, kUtf8), "Summ01.jpg");
    EXPECT_EQ(newFileName("Summ", 12, 2, "IMG_0012.JPG", ExtensionCase::Lower, kUtf8),
              "Summ12.jpg");
    EXPECT_EQ(newFileName("Summ_", 1, 2, "IMG.jpg", ExtensionCase::Upper, kUtf8), "Summ_01.JPG");
    EXPECT_EQ(newFileName("x", 7, 2, "photo.JPG", ExtensionCase::Unchanged, kUtf8), "x07.JPG");
    EXPECT_EQ(newFileName("x", 3, 1, "README", ExtensionCase::Lower, kUtf8), "x3");
    EXPECT_EQ(newFileName("", 5, 3, "a.tar.GZ", ExtensionCase::Lower, kUtf8), "005.gz");

    // Widths: fixed 3, fixed 1 never cutting the number, 0 and below like 1.
    const std::tuple<std::int64_t, int, const char*> widths[] = {
        {1, 3, "001"}, {12, 3, "012"}, {9, 1, "9"},     {12, 1, "12"},
        {1, 0, "1"},   {1, -3, "1"},   {100, 3, "100"}, {100, 2, "100"},
    };
    for (const auto& [serial, width, text] : widths)
        EXPECT_EQ(serialText(serial, width), text) << serial << " at width " << width;
}

TEST(Naming, AWidthWiderThanAnyPathStillGivesAnOverlongNameOfBoundedSize) {
    const std::size_t longest = platform::kMaxPathLength;
    EXPECT_EQ(serialText(7, static_cast<int>(longest)), std::string(longest - 1, '0') + "7");
    // Compared by size: a failure must not print a billion zeros.
    for (const int width :
         {platform::kMaxPathLength + 1, 9999999, 1100000000, std::numeric_limits<int>::max()}) {
        const std::string text = serialText(7, width);
        EXPECT_EQ(text.size(), longest + 1) << width;
        EXPECT_EQ(text.find_first_not_of('0'), longest) << width;
    }
    EXPECT_EQ(renameExample("", 1100000000, std::vector<std::string>{"a.JPG"}, ExtensionCase::Lower,
                            kUtf8)
                  .size(),
              longest + 1 + 4);
}

TEST(Naming, ExampleIsTheFirstFileNewName) {
    const std::vector<std::string> names = {"IMG_0001.JPG", "IMG_0002.JPG"};
    EXPECT_EQ(renameExample("Summ", 2, names, ExtensionCase::Lower, kUtf8), "Summ01.jpg");
    EXPECT_EQ(renameExample("Summ", 0, names, ExtensionCase::Upper, kUtf8), "Summ1.JPG");
    EXPECT_EQ(renameExample("Summ", 2, {}, ExtensionCase::Lower, kUtf8), "");
    EXPECT_EQ(extensionCaseFromIndex(0), ExtensionCase::Lower);
    EXPECT_EQ(extensionCaseFromIndex(1), ExtensionCase::Upper);
    EXPECT_EQ(extensionCaseFromIndex(2), ExtensionCase::Unchanged);
    EXPECT_EQ(extensionCaseFromIndex(-1), ExtensionCase::Unchanged);
}

} // namespace
} // namespace ordinalette::engine
