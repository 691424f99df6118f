#pragma once

#include "app/t_form1.h"
#include "foldertree/tests/namespace_fixture.h"
#include "platform/file_system.h"
#include "platform/text_services.h"
#include "testsupport/temp_dir.h"
#include "testsupport/working_directory_guard.h"

#include <QApplication>
#include <QTest>
#include <filesystem>
#include <string>

namespace ordinalette::app::testing {

// Makes a temporary folder the working directory while it lives, so that the settings file
// of a window started there stays out of the way; a rename run's change of directory is undone.
class WorkingDirectory {
public:
    WorkingDirectory() { std::filesystem::current_path(m_dir.path()); }

    const testsupport::TempDir& dir() const { return m_dir; }

private:
    testsupport::TempDir m_dir;
    // Made after the folder and gone before it: the previous directory is back before the
    // folder is removed.
    testsupport::WorkingDirectoryGuard m_guard;
};

// The system's code page and a collator of it, as the program gives them to its window.
struct SystemText {
    platform::CodePage codePage = platform::CodePage::system();
    platform::TextCollator collator{codePage};
};

// The main window over a namespace of temporary folders (drive "c" holds the desktop
// directory), started in a working directory of its own with a journal folder of its own,
// working on the real file system unless given another.
class FormFixture {
public:
    explicit FormFixture(platform::FileSystem& fileSystem = platform::systemFileSystem())
        : form(fileSystem, text.codePage, text.collator, names.shellNamespace(), journals.path()) {}

    // Shows the window and makes it the active one, so that focus and keys reach it.
    bool showActive() {
        form.show();
        QApplication::setActiveWindow(&form);
        return QTest::qWaitForWindowActive(&form);
    }

    WorkingDirectory workingDirectory;
    testsupport::TempDir journals;
    foldertree::testing::NamespaceFixture names;
    SystemText text;
    TForm1 form;
};

} // namespace ordinalette::app::testing
