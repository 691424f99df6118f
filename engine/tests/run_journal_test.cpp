#include "engine/run_journal.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace ordinalette::engine {
namespace {

RunJournal sample() {
    return RunJournal{JournalKind::Undo,
                      "C:\\Docs\\\x95\x5C\x8E\xA6", // 表示, whose trail byte is a backslash
                      {"fs61267:12:34", "h1:0c00"},
                      "tmp12",
                      {
                          {"tab\there", 1, "h1:a1", "Note1.txt"},
                          {"line\nfeed\\back", 2, "s2b1.5z0m1.2", "Note2.txt"},
                          {"bad\xFF\xFE.jpg", 18446744073709551615ull, "h1:ff", "\xE5\x86\x99.jpg"},
                          {"\\t is no tab", 0, "", "cr\r"},
                      }};
}

TEST(RunJournal, EveryByteOfTheNamesAndThePathComesBackAsWritten) {
    const RunJournal journal = sample();
    const std::string text = journalText(journal);
    EXPECT_TRUE(text.starts_with("ordinalette-journal\t2\nkind\tundo\nfolder\tC:\\\\Docs\\\\"));
    EXPECT_NE(text.find("\nfile\t1\th1:a1\ttab\\there\tNote1.txt\n"), std::string::npos);
    EXPECT_TRUE(text.ends_with("\nend\t4\n"));
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 6 + 4) << "one line per record";

    const auto parsed = parseJournal(text);
    ASSERT_TRUE(parsed);
    EXPECT_EQ(parsed->kind, JournalKind::Undo);
    EXPECT_EQ(parsed->folderPath, journal.folderPath);
    EXPECT_EQ(parsed->folder, journal.folder);
    EXPECT_EQ(parsed->temporaryName, journal.temporaryName);
    ASSERT_EQ(parsed->files.size(), journal.files.size());
    for (std::size_t i = 0; i < journal.files.size(); ++i) {
        EXPECT_EQ(parsed->files[i].oldName, journal.files[i].oldName) << i;
        EXPECT_EQ(parsed->files[i].fileNumber, journal.files[i].fileNumber) << i;
        EXPECT_EQ(parsed->files[i].identity, journal.files[i].identity) << i;
        EXPECT_EQ(parsed->files[i].newName, journal.files[i].newName) << i;
    }
    EXPECT_EQ(parseJournal(journalText(RunJournal{}))->kind, JournalKind::Run);
}

TEST(RunJournal, AnythingButAWholeJournalOfVersionTwoIsRefused) {
    const std::string whole = journalText(sample());
    const auto replaced = [&](const std::string& from, const std::string& to) {
        std::string text = whole;
        text.replace(text.find(from), from.size(), to);
        return text;
    };
    const std::vector<std::string> refused = {
        "",
        whole.substr(0, whole.size() - 1),         // the last line cut short
        whole.substr(0, whole.find("end\t")),      // no end line
        whole.substr(0, whole.size() / 2),         // cut in the middle
        replaced("journal\t2", "journal\t1"),      // another version
        replaced("end\t4", "end\t3"),              // a file line lost
        replaced("tab\\there", "tab\\qhere"),      // an unknown escape
        replaced("Note1.txt", "Note1.txt\textra"), // a field too many
        replaced("file\t1\t", "file\t-1\t"),       // no number
        replaced("kind\tundo", "kind\tredo"),      // an unknown kind
        replaced("file\t1\t", "file\t1 \t"),       // a number with a blank
        replaced("\th1:0c00", ""),                 // the folder's identity missing
        whole + "file\t5\th1:5\ta\tb\n",           // lines after the end
    };
    for (const std::string& text : refused)
        EXPECT_FALSE(parseJournal(text)) << text;
    EXPECT_TRUE(parseJournal(whole));
}

} // namespace
} // namespace ordinalette::engine
