#include "foldertree/t_shell_ctrl_list.h"

#include "foldertree/t_sh_dir_watcher.h"
#include "foldertree/t_shell_tree_view.h"

#include <algorithm>

namespace ordinalette::foldertree {

// A thread that sleeps until the mount table changes and then reports it, queued, on the
// user-interface thread.
class TShellCtrlList::MountMonitor {
public:
    explicit MountMonitor(std::function<void()> changed)
        : m_changed(std::move(changed)), m_watch(platform::kProcessMountTable) {
        if (m_watch.valid())
            m_thread = std::thread([this] { run(); });
    }
    ~MountMonitor() {
        m_stop.set();
        if (m_thread.joinable())
            m_thread.join();
        delete m_context; // drops a report still queued
    }

private:
    void run() {
        for (;;) {
            std::size_t signalled = 0;
            const auto result = platform::waitForAny(
                {{m_stop.waitHandle()}, {m_watch.waitHandle(), true}}, std::nullopt, signalled);
            if (result != platform::WaitResult::Signalled || signalled == 0)
                return;
            m_watch.consume();
            QMetaObject::invokeMethod(m_context, m_changed, Qt::QueuedConnection);
        }
    }

    std::function<void()> m_changed;
    QObject* m_context = new QObject;
    platform::EventFlag m_stop;
    platform::MountTableWatch m_watch;
    std::thread m_thread;
};

TShellCtrlList& TShellCtrlList::instance() {
    static TShellCtrlList instance;
    return instance;
}

void TShellCtrlList::AddControl(TShellTreeView* control) {
    m_controls.push_back(control);
    if (m_monitor)
        return;
    m_mounts = platform::readUserVisibleMounts();
    m_monitor = std::make_unique<MountMonitor>([this] { mountsChanged(); });
}

void TShellCtrlList::RemoveControl(TShellTreeView* control) {
    std::erase(m_controls, control);
    if (m_controls.empty())
        m_monitor.reset();
}

void TShellCtrlList::mountsChanged() {
    auto mounts = platform::readUserVisibleMounts();
    const auto mountedAt = [](const std::vector<platform::MountEntry>& list,
                              const std::string& point) {
        return std::any_of(list.begin(), list.end(),
                           [&](const auto& entry) { return entry.mountPoint == point; });
    };
    for (const auto& old : m_mounts) {
        if (!mountedAt(mounts, old.mountPoint))
            handOut(old, kDeviceRemoveComplete);
    }
    for (const auto& mount : mounts) {
        if (!mountedAt(m_mounts, mount.mountPoint))
            handOut(mount, kDeviceArrival);
    }
    m_mounts = std::move(mounts);
}

void TShellCtrlList::handOut(const platform::MountEntry& mount, std::uint32_t event) {
    const bool network = platform::isNetworkFileSystem(mount.fsType);
    for (TShellTreeView* control : m_controls) {
        auto record = std::make_unique<TDeviceChangeData>();
        record->Event = event;
        record->Kind = network ? kDeviceNetwork : kDeviceMedia;
        if (!network) {
            const std::string label =
                event == kDeviceArrival ? platform::volumeLabel(mount.source) : std::string();
            record->Text = label + " (" + mount.mountPoint + ")";
            record->Drive = control->shellNamespace().driveIDList(mount.mountPoint);
        }
        control->PostDeviceChange(std::move(record));
    }
}

} // namespace ordinalette::foldertree
