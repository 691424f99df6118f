// The Wine prefix that scripts/test-windows builds reaches nothing of the machine: whatever a
// program started there finds on its drives and in its known folders lies in the scratch
// folder of the run (ORDINALETTE_WINE_SCRATCH, a Linux path).
#include <cstdlib>
#include <functional>
#include <gtest/gtest.h>
#include <memory>
#include <set>
#include <shlobj.h>
#include <shlwapi.h>
#include <string>
#include <vector>
#include <windows.h>

namespace {

using Names = std::set<std::string>;

struct FindCloser {
    void operator()(HANDLE find) const { FindClose(find); }
};

// Calls visit with every entry of folder but "." and "..", with its attributes.
void forEachEntry(const std::string& folder,
                  const std::function<void(const std::string&, DWORD)>& visit) {
    WIN32_FIND_DATAA entry;
    const HANDLE found = FindFirstFileA((folder + "\\*").c_str(), &entry);
    if (found == INVALID_HANDLE_VALUE)
        return;
    const std::unique_ptr<void, FindCloser> closer(found);
    do {
        const std::string name = entry.cFileName;
        if (name != "." && name != "..")
            visit(name, entry.dwFileAttributes);
    } while (FindNextFileA(found, &entry));
}

// Every entry name below folder; linked folders are reported and not followed.
void walk(const std::string& folder, Names& names, Names& links) {
    forEachEntry(folder, [&](const std::string& name, DWORD attributes) {
        const std::string path = folder + "\\" + name;
        names.insert(name);
        if ((attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0)
            links.insert(path);
        else if ((attributes & FILE_ATTRIBUTE_DIRECTORY) != 0)
            walk(path, names, links);
    });
}

std::vector<std::string> driveRoots() {
    char buffer[256] = {};
    std::vector<std::string> roots;
    GetLogicalDriveStringsA(sizeof buffer, buffer);
    for (const char* root = buffer; *root != '\0'; root += strlen(root) + 1)
        roots.emplace_back(root, strlen(root) - 1); // without its backslash
    return roots;
}

std::vector<std::string> knownFolders() {
    std::vector<std::string> folders;
    for (const int csidl : {CSIDL_DESKTOPDIRECTORY, CSIDL_PERSONAL, CSIDL_MYMUSIC, CSIDL_MYPICTURES,
                            CSIDL_MYVIDEO, CSIDL_TEMPLATES}) {
        char path[MAX_PATH] = {};
        if (SHGetFolderPathA(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, path) == S_OK)
            folders.emplace_back(path);
    }
    wchar_t* downloads = nullptr;
    if (SHGetKnownFolderPath(FOLDERID_Downloads, 0, nullptr, &downloads) == S_OK) {
        char path[MAX_PATH] = {};
        WideCharToMultiByte(CP_ACP, 0, downloads, -1, path, sizeof path, nullptr, nullptr);
        folders.emplace_back(path);
    }
    CoTaskMemFree(downloads);
    return folders;
}

// The names of the desktop's items, as shown and as parsed.
Names desktopItemNames() {
    Names names;
    IShellFolder* desktop = nullptr;
    IEnumIDList* items = nullptr;
    if (SHGetDesktopFolder(&desktop) != S_OK)
        return names;
    if (desktop->EnumObjects(nullptr, SHCONTF_FOLDERS | SHCONTF_NONFOLDERS | SHCONTF_INCLUDEHIDDEN,
                             &items) == S_OK) {
        LPITEMIDLIST item = nullptr;
        while (items->Next(1, &item, nullptr) == S_OK) {
            for (const DWORD form : {SHGDN_NORMAL, SHGDN_FORPARSING}) {
                STRRET name;
                char text[MAX_PATH] = {};
                if (desktop->GetDisplayNameOf(item, form, &name) == S_OK &&
                    StrRetToBufA(&name, item, text, sizeof text) == S_OK)
                    names.insert(text);
            }
            CoTaskMemFree(item);
        }
        items->Release();
    }
    desktop->Release();
    return names;
}

std::string unixPathAsWindows(std::string path) {
    for (char& c : path)
        c = c == '/' ? '\\' : c;
    return "\\\\?\\unix" + path;
}

TEST(WinePrefix, ItsDrivesAndKnownFoldersLeadOnlyIntoTheScratchFolder) {
    const char* scratch = std::getenv("ORDINALETTE_WINE_SCRATCH");
    ASSERT_TRUE(scratch != nullptr && *scratch != '\0') << "run by scripts/test-windows";
    ASSERT_EQ(CoInitialize(nullptr), S_OK);

    // A file made in each drive's root and each known folder shows up in the scratch folder.
    std::vector<std::string> places = driveRoots();
    const std::vector<std::string> known = knownFolders();
    ASSERT_EQ(known.size(), 7u);
    places.insert(places.end(), known.begin(), known.end());
    std::vector<std::string> markers;
    for (std::size_t i = 0; i < places.size(); ++i) {
        markers.push_back("ordinalette-prefix-mark-" + std::to_string(i));
        const HANDLE file = CreateFileA((places[i] + "\\" + markers.back()).c_str(), GENERIC_WRITE,
                                        0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
        ASSERT_NE(file, INVALID_HANDLE_VALUE) << places[i];
        CloseHandle(file);
    }
    Names inScratch;
    Names linksInScratch;
    // Wine leaves its own prefix out of the listing of the folder that holds it.
    walk(unixPathAsWindows(scratch), inScratch, linksInScratch);
    walk(unixPathAsWindows(std::string(scratch) + "/prefix"), inScratch, linksInScratch);
    for (std::size_t i = 0; i < places.size(); ++i)
        EXPECT_EQ(inScratch.count(markers[i]), 1u) << places[i] << " lies outside " << scratch;

    // The known folders hold only the marks; the desktop's drive holds no file of its own.
    for (std::size_t i = 0; i < places.size(); ++i) {
        const bool isKnown = i >= places.size() - known.size();
        const bool isDesktopDrive = places[i] == known.front().substr(0, 2);
        forEachEntry(places[i], [&](const std::string& name, DWORD attributes) {
            if (name != markers[i] &&
                (isKnown || (isDesktopDrive && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0)))
                ADD_FAILURE() << places[i] << " holds " << name;
        });
        DeleteFileA((places[i] + "\\" + markers[i]).c_str());
    }

    // No folder of any drive is a link, and the desktop shows no item for the Linux root.
    for (const std::string& root : driveRoots()) {
        Names names;
        Names links;
        walk(root, names, links);
        EXPECT_EQ(links, Names{}) << root;
    }
    const Names desktop = desktopItemNames();
    EXPECT_EQ(desktop.count("/"), 0u);
    for (const std::string& name : desktop)
        EXPECT_EQ(name.find("9D20AAE8"), std::string::npos) << name;
    CoUninitialize();
}

} // namespace
