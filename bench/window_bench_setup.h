#pragma once

#include "app/t_form1.h"
#include "bench/bench_support.h"
#include "foldertree/t_shell_tree_view.h"
#include "foldertree/tests/namespace_fixture.h"
#include "platform/file_system.h"

#include <QApplication>
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

    foldertree::testing::NamespaceFixture names;
    app::TForm1 form{platform::systemFileSystem(), names.shellNamespace()};
};

// The application object of a benchmark that drives the window without a display.
inline QApplication& headlessApplication(int& argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    static QApplication application(argc, argv);
    return application;
}

} // namespace ordinalette::bench
