#include "foldertree/posix/mount_monitor.h"

#include "platform/debug_log.h"

#include <cerrno>
#include <cstring>
#include <libmount.h>
#include <string>

namespace ordinalette::foldertree {

MountMonitor::MountMonitor() : m_monitor(mnt_new_monitor()) {
    int failed = m_monitor ? 0 : -ENOMEM;
    if (failed == 0)
        failed = mnt_monitor_enable_kernel(m_monitor, 1);
    if (failed == 0) {
        // Mounts by user-space tools record their options apart; without that part the
        // kernel's changes are still seen.
        if (const int userspace = mnt_monitor_enable_userspace(m_monitor, 1, nullptr))
            platform::logDebug(std::string("cannot watch the user-space mount options: ") +
                               std::strerror(-userspace));
        m_handle = mnt_monitor_get_fd(m_monitor);
        failed = m_handle < 0 ? m_handle : 0;
    }
    if (failed != 0) {
        m_handle = -1;
        platform::logDebug(std::string("cannot watch the mount table: ") + std::strerror(-failed));
    }
}

MountMonitor::~MountMonitor() {
    mnt_unref_monitor(m_monitor);
}

bool MountMonitor::takeChanges() {
    bool changed = false;
    while (valid() && mnt_monitor_next_change(m_monitor, nullptr, nullptr) == 0)
        changed = true;
    return changed;
}

} // namespace ordinalette::foldertree
