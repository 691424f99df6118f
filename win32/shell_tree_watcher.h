#pragma once

#include "foldertree/t_sh_dir_watcher.h"
#include "foldertree/win32/device_notification_window.h"
#include "win32/shell_tree_view.h"

#include <memory>

namespace ordinalette::win32 {

// Keeps a folder tree current while it lives: its watcher watches the visible folders for
// folder-name changes and settles the volume changes a hidden window hears of, and delivers
// both on the user-interface thread, between its messages. A watcher that fails ends; the tree
// goes on without it.
class ShellTreeWatcher {
public:
    explicit ShellTreeWatcher(ShellTreeView& view,
                              foldertree::WatchTiming timing = foldertree::kTreeWatchTiming);
    // Ends and joins the watcher's thread: no delivery reaches the tree after this.
    ~ShellTreeWatcher();
    ShellTreeWatcher(const ShellTreeWatcher&) = delete;
    ShellTreeWatcher& operator=(const ShellTreeWatcher&) = delete;

    // The watcher while it runs; null once it has ended.
    const foldertree::TShDirWatcher* watcher() const { return m_watcher.get(); }

private:
    void volumeChanged(const foldertree::VolumeBroadcast& broadcast);

    ShellTreeView& m_view;
    std::unique_ptr<foldertree::TShDirWatcher> m_watcher;
    std::unique_ptr<foldertree::DeviceNotificationWindow> m_devices;
};

} // namespace ordinalette::win32
