#include "foldertree/drive_changes.h"
#include "foldertree/win32/volume_label.h"
#include "win32/shell_tree_watcher.h"
#include "win32/tests/shell_tree_view_fixture.h"

#include <chrono>
#include <dbt.h>

namespace ordinalette::win32 {
namespace {

constexpr foldertree::WatchTiming kQuickTiming{std::chrono::milliseconds(20),
                                               std::chrono::milliseconds(20)};

// Broadcasts a volume change of media in a drive to every top-level window, as the system
// does; Wine never sends one by itself.
void broadcastVolume(WPARAM event, DWORD unitMask) {
    DEV_BROADCAST_VOLUME volume{};
    volume.dbcv_size = sizeof volume;
    volume.dbcv_devicetype = DBT_DEVTYP_VOLUME;
    volume.dbcv_unitmask = unitMask;
    volume.dbcv_flags = DBTF_MEDIA;
    DWORD_PTR ignored = 0;
    SendMessageTimeoutA(HWND_BROADCAST, WM_DEVICECHANGE, event, reinterpret_cast<LPARAM>(&volume),
                        SMTO_ABORTIFHUNG, 5000, &ignored);
}

using ShellTreeWatcherTest = ShellTreeViewTest;

TEST_F(ShellTreeWatcherTest, AFolderMadeOutsideShowsOnceTheWatcherDelivers) {
    m_dir.makeDir("first");
    m_view->selectPath(in("first"));
    ShellTreeWatcher watching(*m_view, kQuickTiming);
    const HTREEITEM folder = next(selected(), TVGN_PARENT);
    runMessagesUntil([&] { return watching.watcher()->watchCount() > 0; });
    m_dir.makeDir("second");
    runMessagesUntil([&] { return childTexts(folder).size() == 2; });
    EXPECT_EQ(childTexts(folder), (Names{"first", "second"}));
}

TEST_F(ShellTreeWatcherTest, AVolumeBroadcastGivesTheDriveItsTextAndARemovalFoldsIt) {
    m_dir.makeDir("inside");
    m_view->selectPath(in("inside"));
    ShellTreeWatcher watching(*m_view, kQuickTiming);
    const std::string root = m_view->volumeRootOf(m_dir.path()); // "C:\"
    const std::string driveName = root.substr(0, 2);
    const DWORD unit = 1u << (driveName[0] - 'A');
    // The drive's node: the ancestor of the selection two levels below the root.
    const HTREEITEM desktop = next(nullptr, TVGN_ROOT);
    HTREEITEM drive = selected();
    while (next(next(drive, TVGN_PARENT), TVGN_PARENT) != desktop)
        drive = next(drive, TVGN_PARENT);
    const auto& codePage = m_namespace->codePage();

    broadcastVolume(DBT_DEVICEARRIVAL, unit);
    const std::string arrived =
        foldertree::arrivalText(foldertree::volumeLabel(driveName), driveName, codePage);
    runMessagesUntil([&] { return text(drive) == arrived; });
    EXPECT_EQ(m_view->selectedPath(), in("inside"));

    const int changes = m_changes;
    broadcastVolume(DBT_DEVICEREMOVECOMPLETE, unit);
    // A drive without a label has had this text since its arrival.
    const HTREEITEM computer = next(drive, TVGN_PARENT);
    runMessagesUntil([&] { return selected() == computer; });
    EXPECT_EQ(text(drive), " (" + driveName + ")");
    EXPECT_EQ(m_view->selectedPath(), "");
    EXPECT_EQ(m_changes, changes + 1);
    EXPECT_EQ(state(drive) & TVIS_EXPANDED, 0u);
}

} // namespace
} // namespace ordinalette::win32
