#pragma once

struct libmnt_monitor;

namespace ordinalette::foldertree {

// Change notification for the mounts of this process, by the kernel or by user-space tools
// (libmount's monitor): its handle becomes readable whenever a mount appears, disappears or
// changes.
class MountMonitor {
public:
    MountMonitor();
    ~MountMonitor();
    MountMonitor(const MountMonitor&) = delete;
    MountMonitor& operator=(const MountMonitor&) = delete;

    bool valid() const { return m_handle >= 0; }
    // Takes every pending change notification; true when there was one.
    bool takeChanges();
    int waitHandle() const { return m_handle; }

private:
    ::libmnt_monitor* m_monitor = nullptr;
    int m_handle = -1;
};

} // namespace ordinalette::foldertree
