#pragma once

#include "foldertree/shell_namespace.h"
#include "foldertree/t_sh_dir_watcher.h"
#include "foldertree/win32/device_notification_window.h"

#include <memory>

namespace ordinalette::win32 {

// The volume change a broadcast means for a tree over the namespace: for media put into or
// taken out of a drive, a media change with the drive's list and its node's new text (the
// volume's label after an arrival, then the drive name in parentheses); for a network volume, a
// network change. Null when the drive's root names no item.
std::unique_ptr<foldertree::TDeviceChangeData>
deviceChangeOf(const foldertree::VolumeBroadcast& broadcast,
               foldertree::ShellNamespace& shellNamespace);

} // namespace ordinalette::win32
