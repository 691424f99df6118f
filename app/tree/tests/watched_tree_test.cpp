#include "app/tree/t_shell_tree_view.h"
#include "app/tree/tests/tree_nodes.h"
#include "foldertree/posix/mount_table.h"
#include "foldertree/t_sh_dir_watcher.h"
#include "foldertree/tests/namespace_fixture.h"

#include <QSignalSpy>
#include <QTest>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <functional>
#include <gtest/gtest.h>
#include <sched.h>
#include <sys/mount.h>

namespace ordinalette::foldertree {
namespace {

using testing::childNamed;
using testing::childTexts;
using testing::NamespaceFixture;
using testsupport::TempDir;

// Short waits keep the tests fast; the quiet period still outlasts making a few folders back to
// back.
constexpr WatchTiming kShortTiming{std::chrono::milliseconds(100), std::chrono::milliseconds(50)};

// Processes events until the condition holds; false when it still fails after a generous time.
bool waitFor(const std::function<bool()>& condition) {
    return QTest::qWaitFor(condition, 15000);
}

class WatchedTreeTest : public ::testing::Test {
protected:
    WatchedTreeTest()
        : tree(std::make_unique<TShellTreeView>(fixture.shellNamespace(), nullptr, kShortTiming)) {}

    QModelIndex computer() const { return tree->model()->index(0, 0, tree->rootNode()); }
    QModelIndex driveNode(const std::string& name) const {
        return childNamed(computer(),
                          QString::fromStdString(name + " (" + fixture.drive(name) + ")"));
    }
    bool watchesTheVisiblePart() {
        return waitFor([&] {
            return tree->watcher() &&
                   tree->watcher()->watchCount() == tree->visibleFolders().size();
        });
    }

    NamespaceFixture fixture;
    std::unique_ptr<TShellTreeView> tree;
};

TEST_F(WatchedTreeTest, WatchedFoldersFollowTheVisiblePartOfTheTree) {
    for (const char* name : {"d/one/a", "d/one/b", "d/two"})
        fixture.dir().makeDir(name);
    ASSERT_TRUE(watchesTheVisiblePart());
    const std::size_t collapsed = tree->visibleFolders().size();
    tree->SetPath(fixture.drive("d") + "/one/a");
    ASSERT_TRUE(watchesTheVisiblePart());
    EXPECT_EQ(tree->visibleFolders().size(), collapsed + 4); // one, two, a, b
    tree->FullCollapse();
    ASSERT_TRUE(watchesTheVisiblePart());
    EXPECT_EQ(tree->visibleFolders().size(), 1u); // the desktop directory alone
}

TEST_F(WatchedTreeTest, NewFoldersShowAfterTheQuietPeriodButATemporaryOneNever) {
    fixture.dir().makeDir("d/work/existing");
    tree->SetPath(fixture.drive("d") + "/work/existing");
    ASSERT_TRUE(watchesTheVisiblePart());
    QStringList inserted;
    QObject::connect(tree->model(), &QAbstractItemModel::rowsInserted,
                     [&](const QModelIndex& parent, int first, int last) {
                         for (int row = first; row <= last; ++row)
                             inserted << tree->model()->index(row, 0, parent).data().toString();
                     });

    // Like the rename run: a folder made and removed inside one handler.
    fixture.dir().makeDir("d/work/tmp1");
    std::filesystem::remove(fixture.drive("d") + "/work/tmp1");
    fixture.dir().makeDir("d/work/done");
    const auto work = [&] { return tree->model()->index(0, 0, driveNode("d")); };
    ASSERT_TRUE(waitFor([&] { return childNamed(work(), "done").isValid(); }));
    EXPECT_FALSE(inserted.contains("tmp1"));
    EXPECT_EQ(tree->currentIndex(), childNamed(work(), "existing"));
}

TEST_F(WatchedTreeTest, TheDesktopDirectoryMovedAwayAndBackComesBackByItself) {
    fixture.dir().makeDir("c/home/me/Desktop/photos");
    fixture.dir().makeDir("c/home/me/Desktop/projects");
    tree->RefreshTree();
    const QStringList whole{"コンピュータ", "photos", "projects", "ネットワーク", "ごみ箱"};
    ASSERT_EQ(childTexts(tree->rootNode()), whole);
    ASSERT_TRUE(watchesTheVisiblePart());

    std::filesystem::rename(fixture.desktop(), fixture.desktop() + ".away");
    ASSERT_TRUE(waitFor([&] { return !childNamed(tree->rootNode(), "photos").isValid(); }));
    EXPECT_EQ(childTexts(tree->rootNode()),
              (QStringList{"コンピュータ", "ネットワーク", "ごみ箱"}));
    // The two folders on the desktop are no longer watched; the folder that held the desktop
    // directory is.
    ASSERT_TRUE(watchesTheVisiblePart());
    std::filesystem::rename(fixture.desktop() + ".away", fixture.desktop());
    EXPECT_TRUE(waitFor([&] { return childTexts(tree->rootNode()) == whole; }));
}

TEST_F(WatchedTreeTest, DestroyingTheTreeEndsItsWatcher) {
    ASSERT_TRUE(watchesTheVisiblePart());
    const int live = TShDirWatcher::liveCount();
    fixture.dir().makeDir("c/home/me/Desktop/new");
    // Freed at once, with no event loop running afterwards (as at the end of the program).
    tree.reset();
    EXPECT_EQ(TShDirWatcher::liveCount(), live - 1);
}

TEST_F(WatchedTreeTest, DeviceChangesOfNetworkVolumesAndOfDrivesNoLongerListed) {
    fixture.dir().makeDir("d/work");
    tree->SetPath(fixture.drive("d") + "/work");
    QSignalSpy changes(tree.get(), &TShellTreeView::OnChange);

    // A network volume connected: the open part is read again.
    fixture.dir().makeDir("d/new");
    auto arrival = std::make_unique<TDeviceChangeData>();
    arrival->Event = DeviceEvent::Arrival;
    arrival->Kind = DeviceKind::Network;
    tree->DeviceChanged(std::move(arrival));
    EXPECT_TRUE(childNamed(driveNode("d"), "new").isValid());
    EXPECT_EQ(changes.count(), 0);

    // A drive that My Computer no longer lists leaves every other node as it is.
    auto gone = std::make_unique<TDeviceChangeData>();
    gone->Event = DeviceEvent::RemoveComplete;
    gone->Kind = DeviceKind::Media;
    gone->Text = " (/nowhere)";
    gone->Drive = fixture.shellNamespace()->driveIDList("/nowhere");
    tree->DeviceChanged(std::move(gone));
    EXPECT_EQ(tree->rootNode().data().toString(), "デスクトップ");
    EXPECT_EQ(tree->Path(), fixture.drive("d") + "/work");
    EXPECT_EQ(changes.count(), 0);

    // A network volume gone: the root is selected.
    auto removal = std::make_unique<TDeviceChangeData>();
    removal->Event = DeviceEvent::RemoveComplete;
    removal->Kind = DeviceKind::Network;
    tree->DeviceChanged(std::move(removal));
    EXPECT_EQ(tree->currentIndex(), tree->rootNode());
    EXPECT_EQ(changes.count(), 1);
}

// Mounts tmpfs volumes in a private mount namespace of this process, so nothing shows outside.
// The temporary folder is the home directory: volumes mounted below it are drives.
class MountTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (unshare(CLONE_NEWNS) != 0 ||
            mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0)
            GTEST_SKIP() << "no private mount namespace here: " << std::strerror(errno);
        dir.makeDir("desktop");
        dir.makeDir("mnt/bare");
        dir.makeDir(".cache/mnt");
        dir.makeDir("by-label");
        dir.writeFile("sdz1");
        outside.makeDir("mnt");
        ns = std::make_shared<LinuxShellNamespace>(
            NamespaceRoots{dir / "desktop", kProcessMountTable, dir / "trash", dir.path(),
                           dir / "by-label"},
            platform::CodePage::utf8(), platform::systemFileSystem());
    }
    void TearDown() override {
        for (const std::string& mountPoint : {dir / "mnt", dir / ".cache/mnt", outside / "mnt"})
            umount2(mountPoint.c_str(), MNT_DETACH);
    }
    static bool mountTmpfs(const std::string& source, const std::string& mountPoint) {
        return mount(source.c_str(), mountPoint.c_str(), "tmpfs", 0, nullptr) == 0;
    }

    TempDir dir;
    TempDir outside;
    std::shared_ptr<LinuxShellNamespace> ns;
};

TEST_F(MountTest, ADriveThatComesAndGoesReachesTheTreeAndWithoutItsVolumeReadsNothing) {
    TShellTreeView tree(ns, nullptr, kShortTiming);
    const QModelIndex computer = tree.model()->index(0, 0, tree.rootNode());
    const std::string mountPoint = dir / "mnt";
    const auto driveNode = [&] { return testing::driveNamed(computer, mountPoint); };
    ASSERT_FALSE(driveNode().isValid());

    // The label as the volume holds it, "MYVOL", shows as "Myvol".
    std::filesystem::create_symlink(dir / "sdz1", dir / "by-label/MYVOL");
    ASSERT_TRUE(mountTmpfs(dir / "sdz1", mountPoint)) << std::strerror(errno);
    ASSERT_TRUE(waitFor([&] {
        return driveNode().data().toString().toStdString() == "Myvol (" + mountPoint + ")";
    }));
    dir.makeDir("mnt/inside");
    tree.SetPath(mountPoint + "/inside");
    ASSERT_EQ(tree.Path(), mountPoint + "/inside");
    QSignalSpy changes(&tree, &TShellTreeView::OnChange);

    ASSERT_EQ(umount2(mountPoint.c_str(), 0), 0) << std::strerror(errno);
    ASSERT_TRUE(waitFor([&] { return tree.currentIndex() == computer; }));
    EXPECT_EQ(changes.count(), 1);
    EXPECT_EQ(tree.Path(), "");
    ASSERT_TRUE(driveNode().isValid());
    EXPECT_EQ(driveNode().data().toString().toStdString(), " (" + mountPoint + ")");
    EXPECT_EQ(tree.model()->rowCount(driveNode()), 0);

    // Selected and expanded, the drive reads nothing of the folder it was mounted on.
    tree.setCurrentIndex(driveNode());
    EXPECT_EQ(tree.Path(), "");
    tree.expand(driveNode());
    EXPECT_EQ(tree.model()->rowCount(driveNode()), 0);
    // The next re-read of My Computer drops it.
    tree.RefreshTree();
    EXPECT_FALSE(driveNode().isValid());
}

TEST_F(MountTest, AFolderThatBecameAMountPointShowsTheSubfoldersOfItsVolume) {
    dir.makeDir("desktop/empty");
    TShellTreeView tree(ns, nullptr, kShortTiming);
    const QPersistentModelIndex empty = childNamed(tree.rootNode(), "empty");
    ASSERT_TRUE(empty.isValid());
    EXPECT_FALSE(tree.shellModel().showsButton(empty));

    ASSERT_TRUE(mountTmpfs("volume", dir / "desktop/empty")) << std::strerror(errno);
    dir.makeDir("desktop/empty/inside");
    tree.RefreshTree();
    EXPECT_TRUE(tree.shellModel().showsButton(empty));
    umount2((dir / "desktop/empty").c_str(), MNT_DETACH);
}

TEST_F(MountTest, AVolumeMountedOverAShownFolderShowsItsFoldersAndIsWatched) {
    outside.makeDir("mnt/covered");
    TShellTreeView tree(ns, nullptr, kShortTiming);
    tree.SetPath(outside / "mnt/covered");
    const QPersistentModelIndex mnt = tree.currentIndex().parent();
    ASSERT_EQ(childTexts(mnt), QStringList{"covered"});
    ASSERT_TRUE(
        waitFor([&] { return tree.watcher()->watchCount() == tree.visibleFolders().size(); }));

    ASSERT_TRUE(mountTmpfs("volume", outside / "mnt")) << std::strerror(errno);
    ASSERT_TRUE(waitFor([&] { return childTexts(mnt).isEmpty(); }));
    // The watch is on the volume now, not on the folder it covers.
    outside.makeDir("mnt/fresh");
    EXPECT_TRUE(waitFor([&] { return childTexts(mnt) == QStringList{"fresh"}; }));
}

TEST_F(MountTest, MountsThatAreNoDrivesReachNoTree) {
    TShellTreeView tree(ns, nullptr, kShortTiming);
    tree.SetPath(dir / "desktop");
    QSignalSpy changes(&tree, &TShellTreeView::OnChange);
    const QModelIndex computer = tree.model()->index(0, 0, tree.rootNode());
    const int drives = tree.model()->rowCount(computer);

    // Outside the places a desktop shows, or inside a hidden folder of the home directory.
    ASSERT_TRUE(mountTmpfs("outside", outside / "mnt")) << std::strerror(errno);
    ASSERT_TRUE(mountTmpfs("hidden", dir / ".cache/mnt")) << std::strerror(errno);
    ASSERT_EQ(umount2((outside / "mnt").c_str(), 0), 0);
    ASSERT_EQ(umount2((dir / ".cache/mnt").c_str(), 0), 0);
    // A drive's arrival comes after them, and only it reaches the tree.
    ASSERT_TRUE(mountTmpfs("drive", dir / "mnt")) << std::strerror(errno);
    ASSERT_TRUE(waitFor([&] { return tree.model()->rowCount(computer) == drives + 1; }));
    EXPECT_EQ(changes.count(), 0);
    EXPECT_EQ(tree.Path(), dir / "desktop");
}

} // namespace
} // namespace ordinalette::foldertree
