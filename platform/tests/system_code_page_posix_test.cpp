#include "platform/code_page.h"
#include "platform/posix/system_code_page.h"
#include "platform/text_services.h"
#include "testsupport/temp_dir.h"

#include <clocale>
#include <cstdlib>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace ordinalette::platform {
namespace {

TEST(CodePage, SystemFollowsTheLocaleCodeset) {
    const std::string saved = std::setlocale(LC_CTYPE, nullptr);
    ASSERT_NE(std::setlocale(LC_CTYPE, "C.UTF-8"), nullptr);
    EXPECT_EQ(CodePage::system().kind(), CodePage::Kind::Utf8);
    std::setlocale(LC_CTYPE, "C");
    EXPECT_EQ(CodePage::system().kind(), CodePage::Kind::Utf8) << "names beyond ASCII are UTF-8";
    std::setlocale(LC_CTYPE, saved.c_str());
}

// One character of a legacy codeset, as its charmap writes it, and the text it stands for.
struct LegacyCharacter {
    const char* codeset;
    std::string bytes;
    std::u16string text;
};

TEST(CodePage, LegacyMultiByteCodesetsStepOverTheirWholeCharacters) {
    const LegacyCharacter characters[] = {
        {"EUC-JP", "\xBC\xCC", u"写"},
        {"EUC-JP", "\x8E\xB1", u"ｱ"},      // half-width katakana
        {"EUC-JP", "\x8F\xB0\xA1", u"丂"}, // JIS X 0212
        {"EUC-KR", "\xC7\xD1", u"한"},
        {"EUC-TW", "\x8E\xA2\xA1\xA1", u"乂"}, // CNS 11643 plane 2
        {"GB2312", "\xD0\xB4", u"写"},
        {"GBK", "\x81\x5C", u"乗"}, // trail byte a backslash
        {"GB18030", "\x81\x30\x81\x30", u"\u0080"},
        {"BIG5", "\xB3\x5C", u"許"}, // trail byte a backslash
        {"BIG5-HKSCS", "\x88\x5C", u"Ě"},
    };
    for (const auto& [codeset, bytes, text] : characters) {
        const CodePage codePage = codePageOfCodeset(codeset);
        SCOPED_TRACE(codeset);
        EXPECT_EQ(codePage.kind(), CodePage::Kind::MultiByte);
        EXPECT_EQ(codePage.charLength(bytes + "a", 0), bytes.size());
        EXPECT_EQ(codePage.prefixLength(bytes + bytes, 1), bytes.size());
        EXPECT_EQ(codePage.findLastOf("x\\" + bytes + bytes, "\\"), 1u);
        EXPECT_EQ(decodeText(bytes, codePage), text);
        EXPECT_EQ(encodeText(text, codePage), bytes);
    }
    // A byte that begins no whole character stands alone, and never hides the next one.
    const CodePage eucJp = codePageOfCodeset("EUC-JP");
    EXPECT_EQ(eucJp.charLength("\xBC/", 0), 1u);
    EXPECT_EQ(eucJp.findLastOf("a/\xBC/b", "/"), 3u);
    EXPECT_EQ(eucJp.charLength("\x8F\xB0", 0), 1u) << "cut short";
    EXPECT_EQ(codePageOfCodeset("GB18030").charLength("\x81\x30\x81", 0), 1u);
    EXPECT_EQ(codePageOfCodeset("BIG5").charLength("\xB3\x80", 0), 1u) << "0x80 is no trail";
}

TEST(CodePage, CodesetsThatIcuLacksKeepEveryByteAsOneCharacter) {
    std::string everyByte;
    for (int byte = 1; byte < 256; ++byte)
        everyByte += static_cast<char>(byte);
    for (const char* codeset : {"ARMSCII-8", "GEORGIAN-PS", "PT154", "KOI8-T", "RK1048"}) {
        SCOPED_TRACE(codeset);
        const CodePage codePage = codePageOfCodeset(codeset);
        EXPECT_EQ(codePage.kind(), CodePage::Kind::SingleByte);
        EXPECT_EQ(encodeText(decodeText(everyByte, codePage), codePage), everyByte);
        EXPECT_NO_THROW(TextCollator{codePage});
        EXPECT_EQ(toUpperCase(".jpg", codePage), ".JPG");
    }
    // A single-byte codeset that ICU has keeps its own characters.
    EXPECT_EQ(decodeText("\xC1", codePageOfCodeset("KOI8-R")), u"а");
}

// Locales made with localedef in a folder of their own and found through LOCPATH, so that the
// tests do not depend on the locales the machine has; the C locale is back afterwards.
class GeneratedLocales : public testing::Test {
protected:
    ~GeneratedLocales() override {
        std::setlocale(LC_ALL, "C");
        unsetenv("LOCPATH");
    }

    // Makes the locale (for example "ja_JP" in "EUC-JP") and switches every category to it.
    bool use(const std::string& language, const std::string& codeset) {
        const std::string name = language + "." + codeset;
        const std::string command = "localedef -i " + language + " -f " + codeset + " '" +
                                    (dir / name) + "' >/dev/null 2>&1";
        if (std::system(command.c_str()) == -1)
            return false;
        setenv("LOCPATH", dir.path().c_str(), 1);
        return std::setlocale(LC_ALL, name.c_str()) != nullptr;
    }

    testsupport::TempDir dir;
};

TEST_F(GeneratedLocales, ACodesetThatIcuLacksStillGivesWorkingTextServices) {
    ASSERT_TRUE(use("hy_AM", "ARMSCII-8"));
    const CodePage codePage = CodePage::system();
    EXPECT_EQ(decodeText("a\xB2", codePage).size(), 2u);
    const TextCollator collator(codePage);
    EXPECT_EQ(collator.compareIgnoringCase("A.JPG", "a.jpg"), 0);
}

TEST_F(GeneratedLocales, ALegacyMultiByteLocaleNeverSplitsACharacter) {
    ASSERT_TRUE(use("ja_JP", "EUC-JP"));
    const CodePage codePage = CodePage::system();
    const std::string shashin = "\xBC\xCC\xBF\xBF"; // 写真
    EXPECT_EQ(codePage.prefixLength(shashin, 1), 2u);
    EXPECT_EQ(decodeText(shashin, codePage), u"写真");
    EXPECT_EQ(toLowerCase(".JPG\xBC\xCC", codePage), ".jpg\xBC\xCC");
}

TEST_F(GeneratedLocales, ExtensionCaseIsTheSameInEveryLanguage) {
    ASSERT_TRUE(use("tr_TR", "UTF-8"));
    const CodePage codePage = CodePage::system();
    EXPECT_EQ(toLowerCase(".GIF", codePage), ".gif");
    EXPECT_EQ(toUpperCase(".gif", codePage), ".GIF");
}

} // namespace
} // namespace ordinalette::platform
