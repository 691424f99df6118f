#include "settings/settings_text.h"

#include <gtest/gtest.h>

namespace ordinalette::settings {
namespace {

using Lines = std::vector<std::string_view>;

TEST(SettingsLines, EndAtCrLfLoneCrOrLoneLfAndStopAtNul) {
    EXPECT_EQ(splitLines("a\r\nb\rc\nd"), (Lines{"a", "b", "c", "d"}));
    EXPECT_EQ(splitLines("a\n\rb"), (Lines{"a", "", "b"})) << "LF CR is two line ends";
    EXPECT_EQ(splitLines("a\r\n\r\nb\r\n"), (Lines{"a", "", "b"}));
    EXPECT_EQ(splitLines(std::string_view("a=1\r\nb\0=2\r\nc=3", 14)), (Lines{"a=1", "b"}));
    EXPECT_EQ(splitLines(" a = b \t"), (Lines{" a = b \t"})) << "lines are taken whole";
    EXPECT_EQ(splitLines(""), Lines{});
}

class SettingsDocumentTest : public ::testing::Test {
protected:
    std::string value(std::string text, std::string_view key) {
        return SettingsDocument(std::move(text)).value(key);
    }
};

TEST_F(SettingsDocumentTest, FindsTheFirstLineWhoseWholeNameMatchesIgnoringCase) {
    EXPECT_EQ(value("folderketasu=7", "FolderKetasu"), "7");
    EXPECT_EQ(value("FolderKetasu=5\nFolderKetasu=9", "FolderKetasu"), "5");
    EXPECT_EQ(value(" FolderKetasu=7", "FolderKetasu"), "") << "a blank belongs to the name";
    EXPECT_EQ(value("FolderKetasu =7", "FolderKetasu"), "");
    EXPECT_EQ(value("FolderKetasuX=7", "FolderKetasu"), "");
    EXPECT_EQ(value("Auto\nKakuchoushi=2\n", "Kakuchoushi"), "2") << "lines without = are skipped";
}

TEST_F(SettingsDocumentTest, KeysMatchIgnoringLetterCaseAndNothingElse) {
    for (const char* name : {"FOLDERKETASU", "folderketasu", "fOLDERkETASU"})
        EXPECT_EQ(value(std::string(name) + "=7", "FolderKetasu"), "7") << name;
    // Characters that a collation would pass over or fold into a letter make another name.
    const char* otherNames[] = {
        "\357\274\246olderKetasu",  // full-width F (UTF-8)
        "\202\145olderKetasu",      // full-width F (Shift_JIS)
        "Folder\302\255Ketasu",     // soft hyphen
        "Folder\001Ketasu",         // control character
        "\037FolderKetasu",         // control character before the name
        "\357\273\277FolderKetasu", // byte-order mark
        "FolderKetasu\177",         // delete
    };
    for (const char* name : otherNames)
        EXPECT_EQ(value(std::string(name) + "=7", "FolderKetasu"), "") << name;
    EXPECT_EQ(value("\342\204\252akuchoushi=1", "Kakuchoushi"), "")
        << "the Kelvin sign, whose lower case is k, is no K";
}

TEST_F(SettingsDocumentTest, ValueIsEverythingAfterTheFirstEqualsSign) {
    EXPECT_EQ(value("Charactor==", "Charactor"), "=");
    EXPECT_EQ(value("Charactor= _ ", "Charactor"), " _ ");
    EXPECT_EQ(value("Charactor=a=b", "Charactor"), "a=b");
    EXPECT_EQ(value("Charactor=\r\nCharactor=x", "Charactor"), "") << "an empty value wins too";
    EXPECT_EQ(value("", "Charactor"), "");
}

TEST_F(SettingsDocumentTest, CopiesAndMovesKeepTheirOwnLines) {
    // A short text lives inside the string object itself, where a moved-from copy would leave
    // lines pointing at nothing.
    std::vector<SettingsDocument> documents;
    documents.emplace_back("Auto=False");
    documents.push_back(documents.front());
    documents.emplace_back("Kakuchoushi=1");
    EXPECT_EQ(documents[0].value("Auto"), "False");
    EXPECT_EQ(documents[1].value("Auto"), "False");
    EXPECT_EQ(documents[2].value("Kakuchoushi"), "1");
}

TEST(SettingsFormat, WritesFiveLinesWithCrLfInTheirFixedOrder) {
    EXPECT_EQ(formatSettings(StoredSettings{}),
              "FolderKetasu=4\r\nCharactor=\r\nAuto=True\r\nRenbanKetasu=\r\nKakuchoushi=0\r\n");
    const StoredSettings fixed{150, "_ ", false, 3, 2};
    EXPECT_EQ(formatSettings(fixed),
              "FolderKetasu=150\r\nCharactor=_ \r\nAuto=False\r\nRenbanKetasu=3\r\n"
              "Kakuchoushi=2\r\n");
    const StoredSettings automatic{-1, "", true, 5, 1};
    EXPECT_EQ(formatSettings(automatic),
              "FolderKetasu=-1\r\nCharactor=\r\nAuto=True\r\nRenbanKetasu=\r\nKakuchoushi=1\r\n")
        << "the fixed width is not written in automatic mode";
}

} // namespace
} // namespace ordinalette::settings
