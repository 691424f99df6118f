// Selects a folder of 100,000 files in the window's tree (list, count text and example shown,
// the window painted) and compares it with the engine's listing of the same folder alone.
#include "app/controls/t_label.h"
#include "app/controls/t_status_bar.h"
#include "app/tree/t_shell_tree_view.h"
#include "bench/window_bench_setup.h"
#include "engine/listing.h"
#include "platform/text_services.h"

#include <cstdio>
#include <vector>

using namespace ordinalette;

namespace {

constexpr int kFileCount = 100000;
constexpr int kRuns = 7;

} // namespace

int main(int argc, char* argv[]) {
    bench::useHeadlessPlatform();
    QApplication application(argc, argv);
    bench::WindowBench window(kFileCount);

    const platform::TextCollator collator(platform::CodePage::system());
    std::size_t listed = 0;
    std::vector<double> engineTimes;
    std::vector<double> windowTimes;
    const auto measureEngine = [&] {
        engineTimes.push_back(bench::millisecondsOf([&] {
            listed =
                engine::listFiles(platform::systemFileSystem(), window.photos(), "*.*", collator)
                    .size();
        }));
    };
    const auto measureWindow = [&] { windowTimes.push_back(window.millisecondsToSelectPhotos()); };
    bench::takeTurns(kRuns, measureEngine, measureWindow);
    const double engineTime = bench::median(engineTimes);
    const double windowTime = bench::median(windowTimes);

    std::printf("files                             %d (engine listed %zu)\n", kFileCount, listed);
    std::printf("engine: listing alone             %8.1f ms\n", engineTime);
    std::printf("window: select, list, show, paint %8.1f ms (%s, example %s)\n", windowTime,
                window.form.StatusBar1->simpleText().toUtf8().constData(),
                window.form.Label3->caption().toUtf8().constData());
    std::printf("RATIO select_100k %.3f\n", windowTime / engineTime);
    return 0;
}
