#include "platform/code_page.h"
#include "platform/file_name.h"
#include "platform/file_system.h"
#include "platform/path.h"
#include "platform/state_directory.h"
#include "testsupport/temp_dir.h"

#include <gtest/gtest.h>
#include <map>
#include <string>
#include <vector>
#include <windows.h>

namespace ordinalette::platform {
namespace {

using Names = std::vector<std::string>;

void createFileA(const std::string& path, DWORD attributes = FILE_ATTRIBUTE_NORMAL) {
    const HANDLE file =
        CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, attributes, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE) << path;
    CloseHandle(file);
}

TEST(Win32SystemCodePage, IsShiftJisWithItsLeadBytes) {
    const CodePage codePage = CodePage::system();
    ASSERT_EQ(codePage.kind(), CodePage::Kind::MultiByte) << "tests run with code page 932";
    const std::string hyou = "\x95\x5C"; // a character whose trail byte is a backslash
    EXPECT_EQ(codePage.charLength(hyou, 0), 2u);
    EXPECT_EQ(codePage.findLastOf("a\\" + hyou, "\\"), 1u);
    EXPECT_EQ(codePage.charLength("\xA0\x5C", 0), 1u) << "0xA0 is no lead byte";
}

TEST(Win32FileSystem, EnumerationReportsTheSystemsAttributesAndLeavesOutTheExcluded) {
    testsupport::TempDir dir;
    createFileA(dir / "plain.txt");
    createFileA(dir / "hidden.txt", FILE_ATTRIBUTE_HIDDEN);
    createFileA(dir / "system.txt", FILE_ATTRIBUTE_SYSTEM);
    createFileA(dir / "locked.txt", FILE_ATTRIBUTE_READONLY);
    ASSERT_TRUE(CreateDirectoryA((dir / "folder.txt").c_str(), nullptr));

    FileSystem& fileSystem = systemFileSystem();
    Names all;
    fileSystem.enumerate(joinPath(dir.path(), "*.TXT"), EnumerationFilter{},
                         [&](const DirectoryEntry& entry) { all.emplace_back(entry.name); });
    EXPECT_EQ(all.size(), 5u) << "letter case of the mask is ignored";

    Names listed;
    const EnumerationFilter files{Attribute::Hidden | Attribute::System | Attribute::VolumeLabel |
                                  Attribute::Directory};
    fileSystem.enumerate(joinPath(dir.path(), "*.*"), files, [&](const DirectoryEntry& entry) {
        listed.emplace_back(entry.name);
        if (entry.name == "locked.txt") {
            EXPECT_TRUE(hasAny(entry.attributes, Attribute::ReadOnly));
        }
    });
    std::sort(listed.begin(), listed.end());
    EXPECT_EQ(listed, (Names{"locked.txt", "plain.txt"}));

    const auto hidden = fileSystem.attributes(dir / "hidden.txt");
    ASSERT_TRUE(hidden.ok());
    EXPECT_TRUE(hasAny(hidden.value, Attribute::Hidden));
    EXPECT_EQ(fileSystem.attributes(dir / "missing").error, error::FileNotFound);
    SetFileAttributesA((dir / "locked.txt").c_str(), FILE_ATTRIBUTE_NORMAL);
}

TEST(Win32FileSystem, MovingOntoAnExistingNameFailsWith183AndKeepsBothFiles) {
    testsupport::TempDir dir;
    dir.writeFile("a.txt", "a");
    dir.writeFile("b.txt", "b");
    FileSystem& fileSystem = systemFileSystem();
    const auto folder = fileSystem.openDirectory(dir.path());
    ASSERT_TRUE(folder.ok());
    EXPECT_EQ(fileSystem.moveFile(folder.value, "a.txt", folder.value, "b.txt"),
              error::AlreadyExists);
    EXPECT_EQ(dir.readFile("a.txt"), "a");
    EXPECT_EQ(dir.readFile("b.txt"), "b");
    EXPECT_EQ(fileSystem.moveFile(folder.value, "a.txt", folder.value, "c.txt"), error::None);
    EXPECT_EQ(dir.readFile("c.txt"), "a");
}

TEST(Win32FileName, WhatWindowsRefusesIsInvalidAndThePathCountsAgainstTheLimit) {
    const FileNameRules rules("C:\\d");
    for (const char* name : {"", ".", "..", "a/b", "a\\b", "a?b", "a:b", "a*", "a<b>", "a|b",
                             "a\"b", "a.", "a ", "a\tb"})
        EXPECT_EQ(rules.check(name), FileNameFault::Invalid) << name;
    // Trail bytes 0x7C and 0x5C (ポ, 表) are no refused characters.
    for (const char* name : {"\x83\x7C.txt", "\x95\x5C.txt"})
        EXPECT_EQ(rules.check(name), FileNameFault::None) << name;
    // "C:\d\" and the name make a path of at most 259 characters.
    EXPECT_EQ(rules.check(std::string(254, 'n')), FileNameFault::None);
    EXPECT_EQ(rules.check(std::string(255, 'n')), FileNameFault::TooLong);
    EXPECT_EQ(rules.check(std::string(300, '\x95')), FileNameFault::None)
        << "150 double-byte characters: characters are counted, not bytes";

    const FileNameRules root("C:"); // a name holds at most 255 characters
    EXPECT_EQ(root.check(std::string(255, 'n')), FileNameFault::None);
    EXPECT_EQ(root.check(std::string(256, 'n')), FileNameFault::TooLong);
    const FileNameRules deep("C:\\" + std::string(246, 'd')); // 249 characters and a separator
    EXPECT_EQ(deep.check(std::string(9, 'n')), FileNameFault::None);
    EXPECT_EQ(deep.check(std::string(10, 'n')), FileNameFault::TooLong);

    EXPECT_EQ(fileNameIdentity("Note1.txt"), fileNameIdentity("NOTE1.TXT"))
        << "letter case does not tell names apart";
}

TEST(Win32FileSystem, JournalOperationsKnowFilesByNumberAndNeverCreateOverAnEntry) {
    testsupport::TempDir dir;
    FileSystem& fileSystem = systemFileSystem();
    const std::string hyou = "\x95\x5C\x8E\xA6.txt"; // 表示.txt
    dir.writeFile(hyou, "a");
    EXPECT_EQ(fileSystem.createDirectories(dir / "state\\Ordinalette"), error::None);
    EXPECT_EQ(fileSystem.createDirectories(dir / "state\\Ordinalette"), error::None);
    EXPECT_EQ(fileSystem.createDirectories(dir / hyou), error::AlreadyExists);
    const auto folder = fileSystem.openDirectory(dir.path());
    const auto state = fileSystem.openDirectory(dir / "state");
    ASSERT_TRUE(folder.ok() && state.ok());

    std::map<std::string, std::uint64_t> numbers;
    EXPECT_EQ(fileSystem.enumerateFileNumbers(folder.value,
                                              [&](std::string_view name, std::uint64_t number) {
                                                  numbers[std::string(name)] = number;
                                              }),
              error::None);
    ASSERT_EQ(numbers.size(), 2u) << "no . or ..";
    EXPECT_NE(numbers.at(hyou), 0u);
    const EntryIdentity identity = fileSystem.entryIdentity(folder.value, hyou).value;
    EXPECT_TRUE(identity.starts_with(fileSystem.identity(folder.value).value.volume + 'i'))
        << identity;
    ASSERT_EQ(fileSystem.moveFile(folder.value, hyou, state.value, "moved"), error::None);
    EXPECT_EQ(fileSystem.entryIdentity(state.value, "moved").value, identity) << "a move keeps it";
    EXPECT_EQ(fileSystem.entryIdentity(folder.value, hyou).error, error::FileNotFound);
    std::uint64_t moved = 0;
    fileSystem.enumerateFileNumbers(state.value, [&](std::string_view name, std::uint64_t number) {
        if (name == "moved")
            moved = number;
    });
    EXPECT_EQ(moved, numbers.at(hyou)) << "a move keeps the file's number";
    EXPECT_TRUE(fileSystem.identity(state.value).ok());
    EXPECT_EQ(fileSystem.identity(state.value).value,
              fileSystem.identity(fileSystem.openDirectory(dir / "state").value).value);
    EXPECT_NE(fileSystem.identity(folder.value).value, fileSystem.identity(state.value).value);

    {
        auto file = fileSystem.createNewFile(dir / "journal");
        ASSERT_TRUE(file.ok());
        EXPECT_EQ(fileSystem.writeFile(file.value, "text"), error::None);
        EXPECT_NE(fileSystem.readFile(dir / "journal", 1 << 20).error, error::None)
            << "kept from others";
        EXPECT_EQ(fileSystem.createNewFile(dir / "journal").error, error::AlreadyExists);
    }
    EXPECT_EQ(fileSystem.readFile(dir / "journal", 1 << 20).value, "text");
    EXPECT_EQ(fileSystem.readOwnFile(dir / "journal", 3).error, error::FileTooLarge);
    EXPECT_EQ(fileSystem.readOwnFile(dir / "journal", 4).value, "text");
    EXPECT_EQ(fileSystem.checkPrivate(dir / "state"), error::None);
    EXPECT_EQ(fileSystem.flushDirectory(folder.value), error::None);
    EXPECT_TRUE(runJournalDirectory().ends_with("\\Ordinalette"));
}

} // namespace
} // namespace ordinalette::platform
