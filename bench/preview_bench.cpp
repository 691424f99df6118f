// Opens the list of new names for a folder of 100,000 files in the window (the folder's entry
// names read once, every new name built and checked, the dialog shown and painted) and compares
// it with the window's own listing of the same folder: selecting it in the tree.
#include "app/controls/t_list_box.h"
#include "app/name_preview_dialog.h"
#include "app/name_preview_model.h"
#include "bench/window_bench_setup.h"

#include <QAction>
#include <cstdio>
#include <vector>

using namespace ordinalette;

namespace {

constexpr int kFileCount = 100000;
constexpr int kRuns = 7;

// Opens the list by the file list's context-menu entry (F3 presses the same), lets it paint,
// and closes it again; gives the time until it was painted and the list it showed.
double millisecondsToOpenPreview(QAction& entry, int& rows, int& marked) {
    app::NamePreviewDialog* dialog = nullptr;
    const double time = bench::millisecondsOf([&] {
        entry.trigger();
        dialog = qobject_cast<app::NamePreviewDialog*>(QApplication::activeModalWidget());
        QApplication::processEvents();
    });
    if (dialog) {
        rows = dialog->model()->rowCount();
        marked = dialog->model()->markedCount();
        dialog->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    return time;
}

} // namespace

int main(int argc, char* argv[]) {
    bench::useHeadlessPlatform();
    QApplication application(argc, argv);
    bench::WindowBench window(kFileCount);
    // An entry that is not listed bears the first new name, so every new name is looked up.
    window.names.dir().makeDir("d/Photos/Phot000001.jpg");
    window.select(window.photos());
    QAction* previewEntry = window.form.ListBox1->actions().value(0);
    if (!previewEntry)
        return 1;

    int rows = 0;
    int marked = 0;
    std::vector<double> listingTimes;
    std::vector<double> previewTimes;
    bench::takeTurns(
        kRuns, [&] { listingTimes.push_back(window.millisecondsToSelectPhotos()); },
        [&] { previewTimes.push_back(millisecondsToOpenPreview(*previewEntry, rows, marked)); });
    const double listingTime = bench::median(listingTimes);
    const double previewTime = bench::median(previewTimes);

    std::printf("files                                 %d (%d rows, %d marked)\n", kFileCount, rows,
                marked);
    std::printf("window: select, list, show, paint     %8.1f ms\n", listingTime);
    std::printf("window: new-name list opened, painted %8.1f ms\n", previewTime);
    std::printf("RATIO preview_100k %.3f\n", previewTime / listingTime);
    return rows == kFileCount && marked == 1 ? 0 : 1;
}
