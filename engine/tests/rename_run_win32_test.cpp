#include "engine/listing.h"
#include "engine/naming.h"
#include "engine/rename_run.h"
#include "platform/path.h"
#include "testsupport/temp_dir.h"
#include "testsupport/working_directory_guard.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <string>
#include <vector>
#include <windows.h>

namespace ordinalette::engine {
namespace {

using Names = std::vector<std::string>;

Names namesOnDisk(const std::string& folder) {
    Names names;
    WIN32_FIND_DATAA data{};
    const HANDLE find = FindFirstFileA(platform::joinPath(folder, "*").c_str(), &data);
    if (find == INVALID_HANDLE_VALUE)
        return names;
    do {
        const std::string name = data.cFileName;
        if (name != "." && name != "..")
            names.push_back(name);
    } while (FindNextFileA(find, &data));
    FindClose(find);
    std::sort(names.begin(), names.end());
    return names;
}

// "表示": the trail byte of 表 is 0x5C, a backslash when read byte by byte.
TEST(ShiftJisFolder, AFolderNameWithABackslashTrailByteIsRenamedUnderItsWholeName) {
    testsupport::TempDir dir;
    testsupport::WorkingDirectoryGuard workingDirectory;
    const std::string folder = platform::joinPath(dir.path(), "\x95\x5C\x8E\xA6");
    ASSERT_TRUE(CreateDirectoryA(folder.c_str(), nullptr));
    for (const char* name : {"b.TXT", "A.txt", "\x83\x7C.jpg"}) { // ポ, trail byte 0x7C
        const HANDLE file = CreateFileA(platform::joinPath(folder, name).c_str(), GENERIC_WRITE, 0,
                                        nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
        ASSERT_NE(file, INVALID_HANDLE_VALUE);
        CloseHandle(file);
    }

    const platform::CodePage codePage = platform::CodePage::system();
    platform::FileSystem& fileSystem = platform::systemFileSystem();
    platform::TextCollator collator(codePage);
    const Names names = listFiles(fileSystem, folder, "*.*", collator);
    ASSERT_EQ(names.size(), 3u);
    EXPECT_EQ(folderOwnName(folder, codePage), "\x95\x5C\x8E\xA6");
    EXPECT_EQ(namePrefix(folder, 1, "_", codePage), "\x95\x5C_") << "one whole character";

    RenameRun run;
    run.folderPath = folder;
    run.names = names;
    const std::string prefix = namePrefix(folder, 2, "", codePage);
    run.namePrefix = prefix;
    run.width = [] { return 1; };
    run.extensionCase = ExtensionCase::Upper;
    const std::string journals = dir / "journals";
    run.journalDirectory = journals;
    EXPECT_EQ(runRename(fileSystem, run, codePage), RenameOutcome::Renamed);
    EXPECT_EQ(namesOnDisk(folder), (Names{"\x95\x5C\x8E\xA6"
                                          "1.TXT",
                                          "\x95\x5C\x8E\xA6"
                                          "2.TXT",
                                          "\x95\x5C\x8E\xA6"
                                          "3.JPG"}));
}

} // namespace
} // namespace ordinalette::engine
