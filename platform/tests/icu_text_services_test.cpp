// The text services of the POSIX build, made with ICU.
#include "platform/text_services.h"

#include <gtest/gtest.h>
#include <vector>

namespace ordinalette::platform {
namespace {

TEST(TextServices, DecodeAndEncodeCp932) {
    const CodePage cp932 = CodePage::cp932();
    EXPECT_EQ(decodeText("\x95\x5C\x8E\xA6", cp932), u"表示");
    EXPECT_EQ(encodeText(u"表示", cp932), "\x95\x5C\x8E\xA6");
    EXPECT_EQ(decodeText("a\x80"
                         "b",
                         cp932),
              u"a\uFFFD"
              "b");
    EXPECT_EQ(encodeText(u"a\u00E9", cp932), "a?") << "é has no CP932 form";
    EXPECT_EQ(decodeText("\xE6\x97\xA5\xFF", CodePage::utf8()), u"日\uFFFD");
}

TEST(TextServices, CaseMappingKeepsWhatHasNoCase) {
    const CodePage utf8 = CodePage::utf8();
    EXPECT_EQ(toLowerCase(".JPG", utf8), ".jpg");
    EXPECT_EQ(toUpperCase(".jpg", utf8), ".JPG");
    EXPECT_EQ(toLowerCase(".\xC3\x84\xC3\x96", utf8), ".\xC3\xA4\xC3\xB6") << "ÄÖ to äö";
    EXPECT_EQ(toLowerCase(".\xE6\x97\xA5", utf8), ".\xE6\x97\xA5") << "日 has no case";
    EXPECT_EQ(toLowerCase("\xFF.JPG\xC3", utf8), "\xFF.jpg\xC3") << "stray bytes stay";
    EXPECT_EQ(toUpperCase("", utf8), "");
    // Each character alone: a capital sigma at the end of a word takes no final form.
    EXPECT_EQ(toLowerCase(".\xCE\xA3\xCE\x91\xCE\xA3", utf8), ".\xCF\x83\xCE\xB1\xCF\x83") << "ΣΑΣ";
}

TEST(TextServices, CaseMappingToALetterTheCodePageLacksKeepsTheLetter) {
    // ß has no single capital and stays; a letter whose mapping the code page cannot hold stays.
    const CodePage latin1 = CodePage::singleByte("ISO-8859-1");
    EXPECT_EQ(toUpperCase("\xDF", latin1), "\xDF");
    EXPECT_EQ(toUpperCase("\xFF", latin1), "\xFF") << "Ÿ is not in ISO-8859-1";
}

TEST(TextCollator, ComparesIgnoringCaseButNotAccents) {
    const TextCollator collator(CodePage::utf8());
    EXPECT_EQ(collator.compareIgnoringCase("FolderKetasu", "folderketasu"), 0);
    EXPECT_NE(collator.compareIgnoringCase("FolderKetasu", " FolderKetasu"), 0);
    EXPECT_NE(collator.compareIgnoringCase("e", "\xC3\xA9"), 0) << "accents still count";
}

TEST(TextCollator, SortKeysAgreeWithTheComparison) {
    for (const CodePage& codePage : {CodePage::utf8(), CodePage::cp932()}) {
        const TextCollator collator(codePage);
        const std::vector<std::string> names = {"A1.jpg", "a1.JPG",       "a10.jpg", "a2.jpg",
                                                "B.txt",  "\x83\x41.txt", "\xFF\xFE"};
        for (const std::string& a : names) {
            for (const std::string& b : names) {
                const int byKeys = collator.sortKey(a).compare(collator.sortKey(b));
                const int compared = collator.compareIgnoringCase(a, b);
                EXPECT_EQ(byKeys < 0, compared < 0) << a << " vs " << b;
                EXPECT_EQ(byKeys == 0, compared == 0) << a << " vs " << b;
            }
        }
    }
}

} // namespace
} // namespace ordinalette::platform
