#include "platform/wildcard.h"

#include <gtest/gtest.h>
#include <string>

namespace ordinalette::platform {
namespace {

TEST(WildcardMask, MatchesLikeWindows) {
    struct Case {
        const char* mask;
        const char* name;
        bool matches;
    };
    const Case cases[] = {
        {"*.*", "photo.jpg", true},
        {"*.*", "README", true},
        {"*.*", ".profile", true},
        {"*", "a.b.c", true},
        {"*.jpg", "x.JPG", true},
        {"*.jpg", "y.jpg", true},
        {"*.jpg", "z", false},
        {"*.jpg", "a.jpg.txt", false},
        {"*.jpg", "a.jpeg", false},
        {"*.JPG", "a.b.jpg", true},
        {"a?c", "abc", true},
        {"a?c", "ac", false},
        {"a?c", "abbc", false},
        {"a*.*", "abc", true},
        {"a*.*", "bc", false},
        {"*a*b", "xaybzb", true},
        {"*a*b", "xaybz", false},
        {"", "a", false},
        {"img_*.png", "IMG_0001.PNG", true},
    };
    const CodePage utf8 = CodePage::utf8();
    for (const Case& c : cases)
        EXPECT_EQ(WildcardMask(c.mask, utf8).matches(c.name), c.matches)
            << c.mask << " / " << c.name;
}

TEST(WildcardMask, QuestionMarkTakesAWholeCharacter) {
    const CodePage cp932 = CodePage::cp932();
    EXPECT_TRUE(WildcardMask("?.txt", cp932).matches("\x83\x41.txt"));
    EXPECT_FALSE(WildcardMask("??.txt", cp932).matches("\x83\x41.txt"));
    // The trail byte 0x41 of ア is not the letter "a".
    EXPECT_FALSE(WildcardMask("*a.txt", cp932).matches("\x83\x41.txt"));
    EXPECT_TRUE(WildcardMask("?.txt", CodePage::utf8()).matches("\xE6\x97\xA5.txt"));
}

TEST(WildcardMask, KeepsItsOwnMaskWhenTheCallersTextChanges) {
    const CodePage utf8 = CodePage::utf8();
    std::string text = "*.txt";
    const WildcardMask mask(text, utf8);
    text = "*.jpg";
    EXPECT_TRUE(mask.matches("a.txt"));
    EXPECT_FALSE(mask.matches("a.jpg"));
}

} // namespace
} // namespace ordinalette::platform
