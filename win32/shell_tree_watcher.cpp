#include "win32/shell_tree_watcher.h"

#include "win32/message_hand_over.h"
#include "win32/volume_change.h"

namespace ordinalette::win32 {

ShellTreeWatcher::ShellTreeWatcher(ShellTreeView& view, foldertree::WatchTiming timing)
    : m_view(view) {
    m_watcher = std::make_unique<foldertree::TShDirWatcher>(
        m_view.shownFolders(),
        [this](std::unique_ptr<foldertree::TDeviceChangeData> record) {
            m_view.deviceChanged(*record);
        },
        [this] { m_view.refreshTree(); }, timing, std::make_unique<MessageHandOver>());
    m_watcher->setErrorCallback(
        [this](const std::exception& error) { m_view.reportError(error.what()); });
    // A watcher that failed has ended its thread: the tree goes on without it.
    m_watcher->setTerminationCallback([this] {
        m_view.setOnWatchedFolders(nullptr);
        m_devices.reset();
        m_watcher.reset();
    });
    m_view.setOnWatchedFolders([this](std::vector<std::string> folders) {
        if (m_watcher)
            m_watcher->SetFolders(std::move(folders));
    });
    m_devices = std::make_unique<foldertree::DeviceNotificationWindow>(
        [this](const foldertree::VolumeBroadcast& broadcast) { volumeChanged(broadcast); });
}

ShellTreeWatcher::~ShellTreeWatcher() {
    m_view.setOnWatchedFolders(nullptr);
    m_devices.reset();
    m_watcher.reset();
}

void ShellTreeWatcher::volumeChanged(const foldertree::VolumeBroadcast& broadcast) {
    auto& shellNamespace = m_view.tree().shellNamespace();
    // The drives are read again when next asked for.
    shellNamespace.mountTableChanged();
    if (auto record = deviceChangeOf(broadcast, shellNamespace); record && m_watcher)
        m_watcher->PostDeviceChange(std::move(record));
}

} // namespace ordinalette::win32
