#pragma once

#include "app/t_form1.h"
#include "app/tree/t_shell_tree_view.h"
#include "bench/bench_support.h"
#include "foldertree/tests/namespace_fixture.h"
#include "platform/file_system.h"
#include "platform/text_services.h"
#include "testsupport/temp_dir.h"

#include <QApplication>
#include <QElapsedTimer>
#include <string>

namespace ordinalette::bench {

// The main window, headless, over a temporary namespace whose drive d holds a folder "Photos"
// of fileCount files and an empty folder "Empty" to switch away to.
class WindowBench {
public:
    explicit WindowBench(int fileCount) {
        names.dir().makeDir("d/Photos");
        names.dir().makeDir("d/Empty");
        createFiles(photos(), sampleFileNames(fileCount));
        form.show();
        QApplication::processEvents();
    }

    std::string photos() const { return names.drive("d") + "/Photos"; }
    std::string empty() const { return names.drive("d") + "/Empty"; }
    // Selects a folder in the tree and lets the window paint the result.
    void select(const std::string& folder) {
        form.ShellTreeView1->SetPath(folder);
        QApplication::processEvents();
    }
    // Selects Photos coming from Empty and gives the time until the window has listed the files,
    // shown their count and the example, and painted.
    double millisecondsToSelectPhotos() {
        select(empty());
        return millisecondsOf([&] { select(photos()); });
    }
    // Lets the folder tree take in the changes on disk that its watcher reported, so that a
    // measurement does not share the machine with the reactions to the one before.
    void settle() {
        QElapsedTimer quiet;
        quiet.start();
        while (quiet.elapsed() < 500)
            QApplication::processEvents(QEventLoop::AllEvents, 50);
    }

    foldertree::testing::NamespaceFixture names;
    testsupport::TempDir journals;
    platform::CodePage codePage = platform::CodePage::system();
    platform::TextCollator collator{codePage};
    app::TForm1 form{platform::systemFileSystem(), codePage, collator, names.shellNamespace(),
                     journals.path()};
};

// Lets a benchmark drive the window without a display; call before creating the application.
inline void useHeadlessPlatform() {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
}

} // namespace ordinalette::bench
