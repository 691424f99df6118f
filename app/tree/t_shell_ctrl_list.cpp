#include "app/tree/t_shell_ctrl_list.h"

#include "app/tree/t_shell_tree_view.h"
#include "foldertree/t_sh_dir_watcher.h"
#include "platform/text_services.h"

#include <algorithm>
#include <iterator>

namespace ordinalette::foldertree {

namespace {

std::vector<std::string> sortedMountPoints(ShellNamespace& shellNamespace) {
    auto mountPoints = shellNamespace.mountPoints();
    std::sort(mountPoints.begin(), mountPoints.end());
    return mountPoints;
}

bool holds(const std::vector<DriveVolume>& drives, const DriveVolume& drive) {
    return std::any_of(drives.begin(), drives.end(), [&](const DriveVolume& other) {
        return other.mountPoint == drive.mountPoint;
    });
}

} // namespace

TShellCtrlList& TShellCtrlList::instance() {
    static TShellCtrlList instance;
    return instance;
}

void TShellCtrlList::AddControl(TShellTreeView* control) {
    m_controls.push_back({control, control->shellNamespace().driveVolumes(),
                          sortedMountPoints(control->shellNamespace())});
    if (m_monitor)
        return;
    m_monitor = std::make_unique<MountMonitor>();
    if (!m_monitor->valid())
        return;
    // The monitor's handle becomes readable on every change of the mounts; this thread reads
    // the changes, so nothing is handed between threads here.
    m_notifier = std::make_unique<QSocketNotifier>(m_monitor->waitHandle(), QSocketNotifier::Read);
    QObject::connect(m_notifier.get(), &QSocketNotifier::activated, [this] {
        if (m_monitor->takeChanges())
            mountsChanged();
    });
}

void TShellCtrlList::RemoveControl(TShellTreeView* control) {
    std::erase_if(m_controls, [&](const Watched& watched) { return watched.control == control; });
    if (!m_controls.empty())
        return;
    m_notifier.reset();
    m_monitor.reset();
}

void TShellCtrlList::mountsChanged() {
    for (auto& [control, seen, seenMountPoints] : m_controls) {
        auto mountPoints = sortedMountPoints(control->shellNamespace());
        std::vector<std::string> cameOrWent;
        std::set_symmetric_difference(seenMountPoints.begin(), seenMountPoints.end(),
                                      mountPoints.begin(), mountPoints.end(),
                                      std::back_inserter(cameOrWent));
        seenMountPoints = std::move(mountPoints);
        control->shellNamespace().mountTableChanged();
        control->MountsChanged(cameOrWent);
        auto drives = control->shellNamespace().driveVolumes();
        for (const auto& old : seen) {
            if (!holds(drives, old))
                handOut(*control, old, DeviceEvent::RemoveComplete);
        }
        for (const auto& drive : drives) {
            if (!holds(seen, drive))
                handOut(*control, drive, DeviceEvent::Arrival);
        }
        seen = std::move(drives);
    }
}

void TShellCtrlList::handOut(TShellTreeView& control, const DriveVolume& drive, DeviceEvent event) {
    auto record = std::make_unique<TDeviceChangeData>();
    record->Event = event;
    record->Kind = drive.network ? DeviceKind::Network : DeviceKind::Media;
    if (!drive.network) {
        record->Text = arrivalText(event == DeviceEvent::Arrival ? drive.label : std::string(),
                                   drive.mountPoint, control.shellNamespace().codePage());
        record->Drive = control.shellNamespace().driveIDList(drive.mountPoint);
    }
    control.PostDeviceChange(std::move(record));
}

std::string arrivalText(std::string_view label, const std::string& mountPoint,
                        const platform::CodePage& codePage) {
    std::string text = platform::toLowerCase(label, codePage);
    if (!text.empty() && text.front() >= 'a' && text.front() <= 'z')
        text.front() = static_cast<char>(text.front() - 'a' + 'A');
    return text + " (" + mountPoint + ")";
}

} // namespace ordinalette::foldertree
