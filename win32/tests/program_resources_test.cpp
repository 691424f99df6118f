#include "ordinalette_version.h"

#include <gtest/gtest.h>
#include <set>
#include <string>
#include <vector>
#include <windows.h>

namespace {

// ordinalette.exe, in the folder above this test's own.
std::string programPath() {
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, sizeof path);
    std::string folder(path);
    // Wine names a module that lies on none of its drives "unix\..." without the "\\?\" that
    // opens it again.
    if (folder.rfind("unix\\", 0) == 0)
        folder.insert(0, "\\\\?\\");
    folder.resize(folder.find_last_of('\\'));
    folder.resize(folder.find_last_of('\\') + 1);
    return folder + "ordinalette.exe";
}

#pragma pack(push, 2)
// The entries of an icon group resource, one per image.
struct IconGroupEntry {
    BYTE width;
    BYTE height;
    BYTE colours;
    BYTE reserved;
    WORD planes;
    WORD bitCount;
    DWORD bytes;
    WORD id;
};
struct IconGroupHeader {
    WORD reserved;
    WORD type;
    WORD count;
};
#pragma pack(pop)

TEST(ProgramResources, TheProgramCarriesItsIconInFourSizesAndTheProjectsVersion) {
    const std::string program = programPath();
    HMODULE module = LoadLibraryExA(program.c_str(), nullptr,
                                    LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
    ASSERT_TRUE(module) << program;
    HRSRC group = FindResourceA(module, "MAINICON", reinterpret_cast<LPCSTR>(RT_GROUP_ICON));
    ASSERT_TRUE(group);
    const auto* header =
        static_cast<const IconGroupHeader*>(LockResource(LoadResource(module, group)));
    ASSERT_TRUE(header);
    const auto* entries = reinterpret_cast<const IconGroupEntry*>(header + 1);
    std::set<int> sizes;
    for (WORD i = 0; i < header->count; ++i)
        sizes.insert(entries[i].width == 0 ? 256 : entries[i].width); // 0 stands for 256
    EXPECT_EQ(sizes, (std::set<int>{16, 32, 48, 256}));
    EXPECT_TRUE(LoadIconA(module, "MAINICON"));
    FreeLibrary(module);

    const DWORD size = GetFileVersionInfoSizeA(program.c_str(), nullptr);
    ASSERT_GT(size, 0u);
    std::vector<char> info(size);
    ASSERT_TRUE(GetFileVersionInfoA(program.c_str(), 0, size, info.data()));
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueA(info.data(), "\\", reinterpret_cast<void**>(&fixed), &length));
    const WORD numbers[] = {ORDINALETTE_VERSION_NUMBERS};
    EXPECT_EQ(HIWORD(fixed->dwFileVersionMS), numbers[0]);
    EXPECT_EQ(LOWORD(fixed->dwFileVersionMS), numbers[1]);
    EXPECT_EQ(HIWORD(fixed->dwFileVersionLS), numbers[2]);
    char* text = nullptr;
    ASSERT_TRUE(VerQueryValueA(info.data(), "\\StringFileInfo\\041104B0\\ProductVersion",
                               reinterpret_cast<void**>(&text), &length));
    EXPECT_STREQ(text, ORDINALETTE_VERSION_TEXT);
}

} // namespace
