#include "platform/code_page.h"

#include <gtest/gtest.h>
#include <string>

namespace ordinalette::platform {
namespace {

// Four double-byte CP932 characters: 表 (0x95 0x5C, trail byte a backslash), 示, ア (0x83 0x41,
// trail byte an "A"), イ.
const std::string kCp932Four = "\x95\x5C\x8E\xA6\x83\x41\x83\x43";

TEST(CodePage, Cp932CountsALeadAndItsTrailAsOneCharacter) {
    const CodePage cp932 = CodePage::cp932();
    EXPECT_EQ(cp932.charLength(kCp932Four, 0), 2u);
    EXPECT_EQ(cp932.charLength("a\x95", 1), 1u) << "a lead byte at the end stands alone";
    EXPECT_EQ(cp932.charLength("\xB1", 0), 1u) << "half-width katakana is single-byte";
    EXPECT_EQ(cp932.charLength("ab", 2), 0u);

    EXPECT_EQ(cp932.prefixLength(kCp932Four, 2), 4u);
    EXPECT_EQ(cp932.prefixLength(kCp932Four, 0), 0u);
    EXPECT_EQ(cp932.prefixLength(kCp932Four, -5), 0u);
    EXPECT_EQ(cp932.prefixLength(kCp932Four, 100), kCp932Four.size());
    EXPECT_EQ(cp932.prefixLength("a\x95\x5C"
                                 "b",
                                 2),
              3u);
}

TEST(CodePage, Cp932TakesOnlyItsTrailBytesAfterALeadByte) {
    const CodePage cp932 = CodePage::cp932();
    for (const int trail : {0x00, 0x2E, 0x2F, 0x3F, 0x7F, 0xFD, 0xFF})
        EXPECT_EQ(cp932.charLength(std::string{'\x81', static_cast<char>(trail)}, 0), 1u) << trail;
    EXPECT_EQ(cp932.charLength("\x81\x40", 0), 2u);
    EXPECT_EQ(cp932.charLength("\xFC\xFC", 0), 2u);
    // "あ.jpg" in UTF-8 bytes keeps its extension, and a folder's name stops at its slash.
    EXPECT_EQ(cp932.findLastOf("\xE3\x81\x82.jpg", ".\\:"), 3u);
    EXPECT_EQ(cp932.findLastOf("/a/\x81/b", "/"), 4u);
}

TEST(CodePage, TrailBytesAreNeverDelimiters) {
    const CodePage cp932 = CodePage::cp932();
    EXPECT_EQ(cp932.findLastOf(kCp932Four, "\\"), std::string::npos);
    EXPECT_EQ(cp932.findLastOf("C:\\x\\" + kCp932Four, "\\"), 4u);
    EXPECT_EQ(cp932.findLastOf("a.b" + kCp932Four, ".\\"), 1u);
    EXPECT_EQ(cp932.find(kCp932Four + "\\", '\\'), 8u);
    EXPECT_EQ(cp932.find("\\a\\", '\\', 1), 2u);

    // Byte by byte, the same text holds a backslash.
    const CodePage latin = CodePage::singleByte();
    EXPECT_EQ(latin.findLastOf(kCp932Four, "\\"), 1u);
    EXPECT_EQ(latin.prefixLength(kCp932Four, 2), 2u);
}

TEST(CodePage, Utf8StepsOverWellFormedSequencesOnly) {
    const CodePage utf8 = CodePage::utf8();
    const std::pair<std::string, std::size_t> cases[] = {
        {"a", 1},
        {"\xC3\xA9", 2},         // é
        {"\xE6\x97\xA5", 3},     // 日
        {"\xF0\x9F\x98\x80", 4}, // an emoji
        {"\xC3(", 1},            // continuation missing
        {"\xC0\xAF", 1},         // overlong slash
        {"\xED\xA0\x80", 1},     // surrogate
        {"\xE6\x97", 1},         // cut short
        {"\xFF", 1},
    };
    for (const auto& [text, length] : cases)
        EXPECT_EQ(utf8.charLength(text, 0), length) << testing::PrintToString(text);
    EXPECT_EQ(utf8.prefixLength("\xE6\x97\xA5\xE6\x9C\xAC"
                                "a",
                                2),
              6u);
    EXPECT_EQ(utf8.findLastOf("x/\xE6\x97\xA5/y", "/"), 5u);
}

} // namespace
} // namespace ordinalette::platform
