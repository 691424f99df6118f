#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <windows.h>

namespace ordinalette::foldertree {

// A volume change as the system broadcasts it: media put into or taken out of a drive, or a
// network volume connected or disconnected.
struct VolumeBroadcast {
    std::uint32_t event = 0; // DBT_DEVICEARRIVAL (0x8000) or DBT_DEVICEREMOVECOMPLETE (0x8004)
    bool network = false;    // a network volume; otherwise media in the drive below
    std::string driveName; // "D:", the drive of the lowest bit of the unit mask; empty for network

    bool operator==(const VolumeBroadcast&) const = default;
};

// The volume change a WM_DEVICECHANGE message carries; none for any other device, event or
// volume.
std::optional<VolumeBroadcast> volumeBroadcastOf(WPARAM event, LPARAM data);

// A hidden top-level window that receives the system's device broadcasts (message-only windows
// receive none) and hands each volume change to its handler, on the window's thread. The handler
// must not throw: nothing can leave a window procedure.
class DeviceNotificationWindow {
public:
    using Handler = std::function<void(const VolumeBroadcast&)>;

    explicit DeviceNotificationWindow(Handler handler);
    ~DeviceNotificationWindow();
    DeviceNotificationWindow(const DeviceNotificationWindow&) = delete;
    DeviceNotificationWindow& operator=(const DeviceNotificationWindow&) = delete;

    HWND window() const { return m_window; }

private:
    static LRESULT CALLBACK windowProcedure(HWND window, UINT message, WPARAM wParam,
                                            LPARAM lParam);

    Handler m_handler;
    HWND m_window = nullptr;
};

} // namespace ordinalette::foldertree
