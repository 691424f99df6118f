// What the text services of both builds do with Shift_JIS, which every build can convert.
#include "platform/text_services.h"

#include <gtest/gtest.h>

namespace ordinalette::platform {
namespace {

TEST(TextServices, Cp932CaseMappingChangesOnlyCharactersWithCase) {
    const CodePage cp932 = CodePage::cp932();
    // ア is 0x83 0x41: its trail byte is an "A" that must not become "a".
    EXPECT_EQ(toLowerCase(".\x83\x41"
                          "B",
                          cp932),
              ".\x83\x41"
              "b");
    // Full-width Ａ (0x82 0x60) has a lower case ａ (0x82 0x81) in the code page.
    EXPECT_EQ(toLowerCase("\x82\x60", cp932), "\x82\x81");
    EXPECT_EQ(toUpperCase("\x82\x81", cp932), "\x82\x60");
    // 纊 (0xED 0x40) has no case; written back it would take its other code, 0xFA 0x5C.
    EXPECT_EQ(toLowerCase(".\xED\x40JPG", cp932), ".\xED\x40jpg");
    EXPECT_EQ(toUpperCase(".\xED\x40jpg", cp932), ".\xED\x40JPG");
    // A lead byte without its trail byte stays as it is.
    EXPECT_EQ(toUpperCase(".a\x82", cp932), ".A\x82");
}

} // namespace
} // namespace ordinalette::platform
