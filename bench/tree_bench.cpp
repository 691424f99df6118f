// Expanding a folder of 10,000 subfolders in the folder tree, and re-reading it with nothing
// changed, against a bare readdir + sort of the same folder. Then the keypad's "*" on a folder
// holding 21,110 folders (and a link back up and another volume's mount, which it must not
// enter) against a bare recursive readdir, with the longest wait of the event loop meanwhile.
#include "app/tree/t_shell_tree_view.h"
#include "foldertree/posix/linux_shell_namespace.h"
#include "platform/posix/dir_stream.h"
#include "testsupport/temp_dir.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTest>
#include <QTimer>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace {

using namespace ordinalette;
using Clock = std::chrono::steady_clock;

constexpr int kFolders = 10000;
constexpr int kRounds = 7;

// The fastest of several rounds, in milliseconds; setup runs untimed before each round.
double bestOf(const std::function<void()>& setup, const std::function<void()>& timed) {
    double best = 1e300;
    for (int round = 0; round < kRounds; ++round) {
        setup();
        const auto start = Clock::now();
        timed();
        best =
            std::min(best, std::chrono::duration<double, std::milli>(Clock::now() - start).count());
    }
    return best;
}

std::vector<std::string> readdirAndSort(const std::string& folder) {
    std::vector<std::string> names;
    const platform::DirStream dir = platform::openDirStream(folder);
    while (const dirent* entry = readdir(dir.get())) {
        if (entry->d_type == DT_DIR && entry->d_name[0] != '.')
            names.emplace_back(entry->d_name);
    }
    std::sort(names.begin(), names.end());
    return names;
}

QModelIndex childNamed(const QModelIndex& node, const QString& text) {
    const QAbstractItemModel* model = node.model();
    for (int i = 0; i < model->rowCount(node); ++i) {
        if (model->index(i, 0, node).data().toString() == text)
            return model->index(i, 0, node);
    }
    return {};
}

constexpr int kFanOut[] = {10, 10, 10, 20};

// Makes the levels of folders below folder; returns how many.
int makeLevels(const testsupport::TempDir& dir, const std::string& folder, std::size_t depth = 0) {
    int made = 0;
    for (int i = 0; depth < std::size(kFanOut) && i < kFanOut[depth]; ++i) {
        const std::string child = folder + "/folder " + std::to_string(i);
        dir.makeDir(child);
        made += 1 + makeLevels(dir, child, depth + 1);
    }
    return made;
}

// Counts the folders below a folder as a plain walk does: no link followed, "proc" left out.
int walk(const std::string& folder) {
    int count = 0;
    const platform::DirStream dir = platform::openDirStream(folder);
    while (const dirent* entry = dir ? readdir(dir.get()) : nullptr) {
        const std::string name = entry->d_name;
        if (entry->d_type == DT_DIR && name != "." && name != ".." && name != "proc")
            count += 1 + walk(folder + "/" + name);
    }
    return count;
}

long residentKilobytes() {
    long size = 0;
    long pages = 0;
    if (FILE* statm = std::fopen("/proc/self/statm", "r")) {
        if (std::fscanf(statm, "%ld %ld", &size, &pages) != 2)
            pages = 0;
        std::fclose(statm);
    }
    return pages * 4;
}

// The keypad's "*" on drive/top; returns its time against the walk's.
double subtreeRatio(const testsupport::TempDir& dir,
                    const std::shared_ptr<foldertree::LinuxShellNamespace>& ns) {
    dir.makeDir("drive/top/proc/inside");
    const int made = makeLevels(dir, "drive/top");
    std::filesystem::create_directory_symlink(dir / "drive", dir / "drive/top/loop");
    dir.writeFile("mountinfo", dir.readFile("mountinfo") + "32 1 0:5 / " +
                                   (dir / "drive/top/proc") + " rw - proc proc rw\n");
    const double floor = bestOf([] {}, [&] { walk(dir / "drive/top"); });

    foldertree::TShellTreeView tree(ns);
    tree.SetPath(dir / "drive/top");
    int read = 0;
    QObject::connect(tree.model(), &QAbstractItemModel::rowsInserted,
                     [&](const QModelIndex&, int first, int last) { read += last - first + 1; });
    // A timer that fires at every turn of the event loop measures how long a turn takes.
    qint64 longestTurn = 0;
    QElapsedTimer turn;
    QTimer probe;
    probe.callOnTimeout([&] { longestTurn = std::max(longestTurn, turn.restart()); });
    const long before = residentKilobytes();
    // Every folder below, plus the link and the mount, which stay closed.
    const int expected = made + 2;
    const auto start = Clock::now();
    turn.start();
    probe.start(0);
    QTest::keyClick(&tree, Qt::Key_Asterisk, Qt::KeypadModifier);
    const bool done = QTest::qWaitFor([&] { return read >= expected; }, 600000);
    const double star = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
    std::printf("subtree: %d folders, %d nodes read%s\n", made, read, done ? "" : " (unfinished)");
    std::printf("readdir walk:   %.2f ms\n", floor);
    std::printf("keypad *:       %.2f ms (%.2fx)\n", star, star / floor);
    std::printf("longest turn:   %lld ms of the event loop\n", static_cast<long long>(longestTurn));
    std::printf("memory:         %ld KiB more resident\n", residentKilobytes() - before);
    return star / floor;
}

// Expands a folder of 100,000 subfolders as a click on its button does and shows it; prints how
// long the window could not answer.
void hugeFolder(const testsupport::TempDir& dir,
                const std::shared_ptr<foldertree::LinuxShellNamespace>& ns) {
    constexpr int kHuge = 100000;
    for (int i = 0; i < kHuge; ++i)
        dir.makeDir("drive/huge/folder " + std::to_string(i));
    foldertree::TShellTreeView tree(ns);
    tree.resize(200, 400);
    tree.show();
    tree.SetPath(dir / "drive/huge");
    QApplication::processEvents();
    const auto start = Clock::now();
    QTest::keyClick(&tree, Qt::Key_Plus);
    tree.viewport()->repaint();
    const double blocked = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
    std::printf("huge folder:    %d nodes, window blocked %.2f ms\n",
                tree.model()->rowCount(tree.currentIndex()), blocked);
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);

    testsupport::TempDir dir;
    dir.makeDir("desktop");
    dir.makeDir("drive/big");
    for (int i = 0; i < kFolders; ++i)
        dir.makeDir("drive/big/folder " + std::to_string(i * 7919 % kFolders));
    dir.writeFile("mountinfo", "30 1 8:1 / " + (dir / "drive") + " rw - ext4 bench rw\n" +
                                   "31 1 8:1 / " + (dir / "desktop") + " rw - ext4 bench rw\n");
    const auto ns = std::make_shared<foldertree::LinuxShellNamespace>(
        foldertree::NamespaceRoots{dir / "desktop", dir / "mountinfo", dir / "trash", dir.path(),
                                   dir / "by-label"},
        platform::CodePage::utf8(), platform::systemFileSystem());
    const std::string big = dir / "drive/big";

    std::size_t count = 0;
    const double floor = bestOf([] {}, [&] { count = readdirAndSort(big).size(); });

    std::unique_ptr<foldertree::TShellTreeView> tree;
    QModelIndex bigNode;
    const double expand = bestOf(
        [&] {
            tree = std::make_unique<foldertree::TShellTreeView>(ns);
            tree->resize(200, 400);
            tree->show();
            tree->SetPath(dir / "drive");
            tree->expand(tree->currentIndex());
            bigNode = childNamed(tree->currentIndex(), "big");
            QApplication::processEvents();
        },
        [&] {
            // Expanded as a click on its button does, and shown.
            tree->setCurrentIndex(bigNode);
            QTest::keyClick(tree.get(), Qt::Key_Plus);
            tree->viewport()->repaint();
        });
    const int shown = tree->model()->rowCount(bigNode);
    const double refresh = bestOf([] {},
                                  [&] {
                                      tree->RefreshTree();
                                      tree->viewport()->repaint();
                                  });

    // The watcher's share: how many folders the system watches while 5,000 folders show.
    const std::string visible = dir / "drive/visible";
    for (int i = 0; i < 5000; ++i)
        dir.makeDir("drive/visible/folder " + std::to_string(i));
    tree = std::make_unique<foldertree::TShellTreeView>(ns);
    tree->SetPath(visible + "/folder 0");
    const std::size_t shownFolders = tree->visibleFolders().size();
    if (!QTest::qWaitFor([&] { return tree->watcher()->watchCount() == shownFolders; }, 30000))
        std::printf("watches: not all visible folders are watched\n");
    std::printf("watches: %zu for %zu visible folders\n", tree->watcher()->watchCount(),
                shownFolders);

    std::printf("folders: %zu listed, %d nodes\n", count, shown);
    std::printf("readdir + sort: %.2f ms\n", floor);
    std::printf("expand:         %.2f ms (%.2fx, target 10x)\n", expand, expand / floor);
    std::printf("RefreshTree:    %.2f ms (%.2fx, target 5x)\n", refresh, refresh / floor);
    tree.reset();
    const double subtree = subtreeRatio(dir, ns);
    hugeFolder(dir, ns);
    std::printf("RATIO tree_expand %.2f\n", expand / floor);
    std::printf("RATIO tree_refresh %.2f\n", refresh / floor);
    std::printf("RATIO tree_subtree %.2f\n", subtree);
    return 0;
}
