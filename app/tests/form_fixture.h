#pragma once

#include "app/t_form1.h"
#include "foldertree/tests/namespace_fixture.h"
#include "platform/file_system.h"

#include <QApplication>
#include <QTest>
#include <string>

namespace ordinalette::app::testing {

// The main window over a namespace of temporary folders (drive "c" holds the desktop
// directory), working on the real file system unless given another.
class FormFixture {
public:
    explicit FormFixture(platform::FileSystem& fileSystem = platform::systemFileSystem())
        : form(fileSystem, names.shellNamespace()) {}

    // Shows the window and makes it the active one, so that focus and keys reach it.
    bool showActive() {
        form.show();
        QApplication::setActiveWindow(&form);
        return QTest::qWaitForWindowActive(&form);
    }

    foldertree::testing::NamespaceFixture names;
    TForm1 form;
};

} // namespace ordinalette::app::testing
