// Lists a folder of 100,000 files with the engine (enumerate, filter, sort by collation keys)
// and compares it with `ls -1` and with a bare readdir and byte sort of the same folder.
#include "bench/bench_support.h"
#include "engine/listing.h"
#include "platform/file_system.h"
#include "platform/posix/dir_stream.h"
#include "platform/text_services.h"
#include "testsupport/temp_dir.h"

#include <algorithm>
#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

using namespace ordinalette;

namespace {

constexpr int kFileCount = 100000;
constexpr int kRuns = 7;

std::size_t bareReaddirAndSort(const std::string& folder) {
    std::vector<std::string> names;
    const platform::DirStream dir = platform::openDirStream(folder);
    while (const dirent* entry = readdir(dir.get()))
        names.emplace_back(entry->d_name);
    std::sort(names.begin(), names.end());
    return names.size();
}

} // namespace

int main() {
    std::setlocale(LC_ALL, "");
    const testsupport::TempDir folder;
    bench::createFiles(folder.path(), bench::sampleFileNames(kFileCount));

    const std::string lsCommand = "ls -1 '" + folder.path() + "' >/dev/null";
    const double lsTime = bench::medianMilliseconds(kRuns, [&] {
        if (std::system(lsCommand.c_str()) != 0)
            std::fprintf(stderr, "ls failed\n");
    });
    std::size_t bareCount = 0;
    const double bareTime =
        bench::medianMilliseconds(kRuns, [&] { bareCount = bareReaddirAndSort(folder.path()); });

    platform::FileSystem& fileSystem = platform::systemFileSystem();
    const platform::TextCollator collator(platform::CodePage::system());
    std::size_t listed = 0;
    const double engineTime = bench::medianMilliseconds(kRuns, [&] {
        listed = engine::listFiles(fileSystem, folder.path(), "*.*", collator).size();
    });

    std::printf("files                 %d (engine listed %zu, readdir saw %zu entries)\n",
                kFileCount, listed, bareCount);
    std::printf("ls -1                 %8.1f ms\n", lsTime);
    std::printf("readdir + byte sort   %8.1f ms\n", bareTime);
    std::printf("engine listing        %8.1f ms  (%.2f x readdir + byte sort)\n", engineTime,
                engineTime / bareTime);
    std::printf("RATIO listing %.3f\n", engineTime / lsTime);
    return listed == static_cast<std::size_t>(kFileCount) ? 0 : 1;
}
