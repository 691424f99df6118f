// Works the tree as a user does while one of its drives has a server that stopped answering:
// run by StoppedDriveTest in a process of its own, which the test ends should it hang.
//   stopped_drive_check <home> <stopped drive> <free mount point>
// Exits with 0 when all went as a user expects; otherwise says what went wrong.
#include "app/tree/t_shell_tree_view.h"
#include "app/tree/tests/qt_test_environment.h"
#include "app/tree/tests/tree_nodes.h"
#include "foldertree/posix/linux_shell_namespace.h"
#include "foldertree/tests/namespace_fixture.h"

#include <QApplication>
#include <QTest>
#include <cstring>
#include <iostream>
#include <string>
#include <sys/mount.h>

using namespace ordinalette::foldertree;

namespace {

int fail(const std::string& what) {
    std::cerr << "stopped_drive_check: " << what << '\n';
    return 1;
}

QModelIndex driveNode(const TShellTreeView& tree, const std::string& mountPoint) {
    return testing::driveNamed(tree.model()->index(0, 0, tree.rootNode()), mountPoint);
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 4)
        return fail("usage: stopped_drive_check <home> <stopped drive> <free mount point>");
    const std::string home = argv[1];
    const std::string stopped = argv[2];
    const std::string other = argv[3];
    const testing::QtTestEnvironment environment;
    QApplication app(argc, argv);
    const auto ns = std::make_shared<LinuxShellNamespace>(
        NamespaceRoots{home + "/desktop", kProcessMountTable, home + "/trash", home,
                       home + "/by-label"},
        ordinalette::platform::CodePage::utf8(), ordinalette::platform::systemFileSystem());

    TShellTreeView tree(ns);
    tree.resize(300, 600);
    tree.show();
    tree.setFocus();
    if (!driveNode(tree, stopped).isValid())
        return fail("the stopped drive is not listed");
    // Painted rows, clicks and keys on other drives' folders, a path written.
    tree.grab();
    tree.SetPath(home + "/desktop/photos");
    if (tree.Path() != home + "/desktop/photos")
        return fail("the folder on the desktop is not selected");
    for (const auto key : {Qt::Key_Up, Qt::Key_Down, Qt::Key_Left, Qt::Key_Right, Qt::Key_Home})
        QTest::keyClick(&tree, key);
    tree.grab();
    // A volume mounted meanwhile arrives as a drive; the drives are read again.
    if (mount("other", other.c_str(), "tmpfs", 0, nullptr) != 0)
        return fail(std::string("cannot mount tmpfs: ") + std::strerror(errno));
    if (!QTest::qWaitFor([&] { return driveNode(tree, other).isValid(); }, 15000))
        return fail("the volume mounted meanwhile did not arrive");
    tree.SetPath(other);
    if (tree.Path() != other + "/")
        return fail("the volume mounted meanwhile is not selected");
    tree.RefreshTree();
    tree.grab();
    umount2(other.c_str(), MNT_DETACH);
    return 0;
}
