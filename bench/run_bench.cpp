// Renames 100,000 files of one folder with the engine (listing and the two-pass run with its
// journal written and flushed first, with a progress callback for every file) and compares it
// with a floor on the same folder: a bare readdir and sort, then 2 x 100,000 renameat2 calls
// with RENAME_NOREPLACE through a subfolder.
#include "bench/bench_support.h"
#include "engine/listing.h"
#include "engine/naming.h"
#include "engine/rename_run.h"
#include "platform/file_system.h"
#include "platform/os_handle.h"
#include "platform/posix/dir_stream.h"
#include "platform/text_services.h"
#include "testsupport/temp_dir.h"

#include <algorithm>
#include <clocale>
#include <cstdio>
#include <fcntl.h>
#include <stdexcept>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

using namespace ordinalette;

namespace {

constexpr int kFileCount = 100000;
constexpr int kRuns = 4;

std::vector<std::string> readdirAndSort(const std::string& folder) {
    std::vector<std::string> names;
    const platform::DirStream dir = platform::openDirStream(folder);
    while (const dirent* entry = readdir(dir.get())) {
        if (entry->d_type == DT_REG)
            names.emplace_back(entry->d_name);
    }
    std::sort(names.begin(), names.end());
    return names;
}

void renameOrThrow(int fromFolder, const std::string& from, int toFolder, const std::string& to) {
    if (renameat2(fromFolder, from.c_str(), toFolder, to.c_str(), RENAME_NOREPLACE) != 0)
        throw std::runtime_error("rename failed: " + from);
}

// The least any two-pass run must do.
void floorRun(const std::string& folderPath) {
    const std::vector<std::string> names = readdirAndSort(folderPath);
    // Both folders are closed by their owners, also when a rename fails.
    const platform::DirectoryHandle folderHandle(open(folderPath.c_str(), O_RDONLY | O_DIRECTORY));
    const int folder = static_cast<int>(folderHandle.native());
    mkdirat(folder, "floor", 0777);
    {
        const platform::DirectoryHandle temporaryHandle(
            openat(folder, "floor", O_RDONLY | O_DIRECTORY));
        const int temporary = static_cast<int>(temporaryHandle.native());
        for (const std::string& name : names)
            renameOrThrow(folder, name, temporary, name);
        char newName[32];
        for (std::size_t i = 0; i < names.size(); ++i) {
            std::snprintf(newName, sizeof newName, "Flor%06zu.jpg", i + 1);
            renameOrThrow(temporary, names[i], folder, newName);
        }
    }
    unlinkat(folder, "floor", AT_REMOVEDIR);
}

std::size_t engineRun(const std::string& folderPath, const std::string& journals,
                      platform::FileSystem& fileSystem, const platform::TextCollator& collator,
                      const platform::CodePage& codePage) {
    const std::vector<std::string> names =
        engine::listFiles(fileSystem, folderPath, "*.*", collator);
    std::size_t reported = 0;
    engine::RenameRun run;
    run.folderPath = folderPath;
    run.names = names;
    run.namePrefix = "Phot";
    run.width = [&] { return engine::digitCount(static_cast<std::int64_t>(names.size())); };
    run.extensionCase = engine::ExtensionCase::Lower;
    run.fileRenamed = [&](std::size_t renamed) { reported = renamed; };
    run.journalDirectory = journals;
    engine::runRename(fileSystem, run, codePage);
    return reported;
}

} // namespace

int main() {
    std::setlocale(LC_ALL, "");
    const testsupport::TempDir scratch;
    const std::string folder = scratch.path() + "/Photos";
    const std::string journals = scratch.path() + "/journals";
    mkdir(folder.c_str(), 0777);
    bench::createFiles(folder, bench::sampleFileNames(kFileCount));

    const platform::CodePage codePage = platform::CodePage::system();
    const platform::TextCollator collator(codePage);
    platform::FileSystem& fileSystem = platform::systemFileSystem();

    // Floor and engine take turns on the same files.
    std::vector<double> floorTimes;
    std::vector<double> engineTimes;
    std::size_t reported = 0;
    bench::takeTurns(
        kRuns, [&] { floorTimes.push_back(bench::millisecondsOf([&] { floorRun(folder); })); },
        [&] {
            engineTimes.push_back(bench::millisecondsOf(
                [&] { reported = engineRun(folder, journals, fileSystem, collator, codePage); }));
        });
    std::sort(floorTimes.begin(), floorTimes.end());
    std::sort(engineTimes.begin(), engineTimes.end());
    // The mean of the middle two of four kRuns.
    const double floorTime = (floorTimes[1] + floorTimes[2]) / 2;
    const double engineTime = (engineTimes[1] + engineTimes[2]) / 2;

    std::printf("files                          %d (progress reported %zu)\n", kFileCount,
                reported);
    std::printf("floor: readdir, sort, 2 x renameat2 %8.1f ms (%.0f renames/s)\n", floorTime,
                2.0 * kFileCount / (floorTime / 1000.0));
    std::printf("engine: listing and journaled run   %8.1f ms\n", engineTime);
    std::printf("RATIO run %.3f\n", engineTime / floorTime);
    return reported == static_cast<std::size_t>(kFileCount) ? 0 : 1;
}
