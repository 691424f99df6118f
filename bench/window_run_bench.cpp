// Renames 100,000 files by pressing Start in the window (the engine's run with the progress bar
// stepped and repainted, then the folder listed again) and compares it with the same work done
// by the engine alone: the run with a progress callback, then the listing.
#include "app/controls/t_bit_btn.h"
#include "app/controls/t_progress_bar.h"
#include "app/tree/t_shell_tree_view.h"
#include "bench/window_bench_setup.h"
#include "engine/listing.h"
#include "engine/naming.h"
#include "engine/rename_run.h"
#include "platform/text_services.h"

#include <algorithm>
#include <cstdio>
#include <vector>

using namespace ordinalette;

namespace {

constexpr int kFileCount = 100000;
constexpr int kRuns = 4;

// Lists the folder, then times what Start asks of the engine: the run and the listing after it.
double engineRunMilliseconds(const std::string& folder, const std::string& journals,
                             const platform::TextCollator& collator,
                             const platform::CodePage& codePage) {
    platform::FileSystem& fileSystem = platform::systemFileSystem();
    const std::vector<std::string> names = engine::listFiles(fileSystem, folder, "*.*", collator);
    engine::RenameRun run;
    run.folderPath = folder;
    run.names = names;
    run.namePrefix = "Phot";
    run.width = [&] { return engine::digitCount(static_cast<std::int64_t>(names.size())); };
    run.fileRenamed = [](std::size_t) {}; // the engine's own cost of reporting progress
    run.journalDirectory = journals;
    return bench::millisecondsOf([&] {
        engine::runRename(fileSystem, run, codePage);
        engine::listFiles(fileSystem, folder, "*.*", collator);
    });
}

} // namespace

int main(int argc, char* argv[]) {
    bench::useHeadlessPlatform();
    QApplication application(argc, argv);
    bench::WindowBench window(kFileCount);
    const platform::CodePage codePage = platform::CodePage::system();
    const platform::TextCollator collator(codePage);

    std::vector<double> engineTimes;
    std::vector<double> windowTimes;
    const auto measureEngine = [&] {
        window.settle();
        engineTimes.push_back(
            engineRunMilliseconds(window.photos(), window.journals.path(), collator, codePage));
    };
    const auto measureWindow = [&] {
        window.select(window.empty());
        window.select(window.photos());
        window.settle();
        windowTimes.push_back(bench::millisecondsOf([&] { window.form.BitBtn1->click(); }));
    };
    bench::takeTurns(kRuns, measureEngine, measureWindow);
    std::sort(engineTimes.begin(), engineTimes.end());
    std::sort(windowTimes.begin(), windowTimes.end());
    // The mean of the middle two of four kRuns.
    const double engineTime = (engineTimes[1] + engineTimes[2]) / 2;
    const double windowTime = (windowTimes[1] + windowTimes[2]) / 2;

    std::printf("files                                %d (bar at %d of %d)\n", kFileCount,
                window.form.ProgressBar1->position(), window.form.ProgressBar1->max());
    std::printf("engine: run and listing              %8.1f ms\n", engineTime);
    std::printf("window: Start, bar stepped, relisted %8.1f ms\n", windowTime);
    std::printf("RATIO window_run_100k %.3f\n", windowTime / engineTime);
    return 0;
}
