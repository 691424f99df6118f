#include "foldertree/drive_changes.h"

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

DriveChanges::DriveChanges(ShellNamespace& shellNamespace)
    : m_namespace(shellNamespace), m_drives(shellNamespace.driveVolumes()),
      m_mountPoints(sortedMountPoints(shellNamespace)) {}

std::vector<std::string> DriveChanges::mountPointsChanged() {
    auto mountPoints = sortedMountPoints(m_namespace);
    std::vector<std::string> cameOrWent;
    std::set_symmetric_difference(m_mountPoints.begin(), m_mountPoints.end(), mountPoints.begin(),
                                  mountPoints.end(), std::back_inserter(cameOrWent));
    m_mountPoints = std::move(mountPoints);
    m_namespace.mountTableChanged();
    return cameOrWent;
}

std::vector<std::unique_ptr<TDeviceChangeData>> DriveChanges::driveChanges() {
    auto drives = m_namespace.driveVolumes();
    std::vector<std::unique_ptr<TDeviceChangeData>> records;
    for (const auto& old : m_drives) {
        if (!holds(drives, old))
            records.push_back(record(old, DeviceEvent::RemoveComplete));
    }
    for (const auto& drive : drives) {
        if (!holds(m_drives, drive))
            records.push_back(record(drive, DeviceEvent::Arrival));
    }
    m_drives = std::move(drives);
    return records;
}

std::unique_ptr<TDeviceChangeData> DriveChanges::record(const DriveVolume& drive,
                                                        DeviceEvent event) const {
    auto record = std::make_unique<TDeviceChangeData>();
    record->Event = event;
    record->Kind = drive.network ? DeviceKind::Network : DeviceKind::Media;
    if (!drive.network) {
        record->Text = arrivalText(event == DeviceEvent::Arrival ? drive.label : std::string(),
                                   drive.mountPoint, m_namespace.codePage());
        record->Drive = m_namespace.driveIDList(drive.mountPoint);
    }
    return record;
}

std::string arrivalText(std::string_view label, const std::string& mountPoint,
                        const platform::CodePage& codePage) {
    std::string text = platform::toLowerCase(label, codePage);
    if (!text.empty() && text.front() >= 'a' && text.front() <= 'z')
        text.front() = static_cast<char>(text.front() - 'a' + 'A');
    return text + " (" + mountPoint + ")";
}

} // namespace ordinalette::foldertree
