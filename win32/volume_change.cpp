#include "win32/volume_change.h"

#include "foldertree/drive_changes.h"
#include "foldertree/win32/volume_label.h"

namespace ordinalette::win32 {

using foldertree::DeviceEvent;
using foldertree::DeviceKind;
using foldertree::TDeviceChangeData;

std::unique_ptr<TDeviceChangeData> deviceChangeOf(const foldertree::VolumeBroadcast& broadcast,
                                                  foldertree::ShellNamespace& shellNamespace) {
    auto record = std::make_unique<TDeviceChangeData>();
    record->Event = static_cast<DeviceEvent>(broadcast.event);
    if (broadcast.network) {
        record->Kind = DeviceKind::Network;
        return record;
    }
    auto drive = shellNamespace.parseDisplayName(broadcast.driveName + "\\");
    if (!drive)
        return nullptr;
    record->Kind = DeviceKind::Media;
    record->Drive = std::move(*drive);
    const bool arrived = record->Event == DeviceEvent::Arrival;
    record->Text = foldertree::arrivalText(arrived ? foldertree::volumeLabel(broadcast.driveName)
                                                   : std::string(),
                                           broadcast.driveName, shellNamespace.codePage());
    return record;
}

} // namespace ordinalette::win32
