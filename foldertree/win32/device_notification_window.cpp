#include "foldertree/win32/device_notification_window.h"

#include "foldertree/win32/hidden_window.h"

#include <dbt.h>

namespace ordinalette::foldertree {

namespace {

constexpr char kClassName[] = "OrdinaletteDeviceNotification";

} // namespace

std::optional<VolumeBroadcast> volumeBroadcastOf(WPARAM event, LPARAM data) {
    const auto* header = reinterpret_cast<const DEV_BROADCAST_HDR*>(data);
    if ((event != DBT_DEVICEARRIVAL && event != DBT_DEVICEREMOVECOMPLETE) || !header ||
        header->dbch_devicetype != DBT_DEVTYP_VOLUME)
        return std::nullopt;
    const auto* volume = reinterpret_cast<const DEV_BROADCAST_VOLUME*>(header);
    VolumeBroadcast broadcast{static_cast<std::uint32_t>(event), false, {}};
    if ((volume->dbcv_flags & DBTF_MEDIA) != 0) {
        for (int unit = 0; unit < 26; ++unit) {
            if ((volume->dbcv_unitmask >> unit) & 1) {
                broadcast.driveName = {static_cast<char>('A' + unit), ':'};
                return broadcast;
            }
        }
        return std::nullopt; // media in no drive
    }
    if ((volume->dbcv_flags & DBTF_NET) == 0)
        return std::nullopt;
    broadcast.network = true;
    return broadcast;
}

DeviceNotificationWindow::DeviceNotificationWindow(Handler handler)
    : m_handler(std::move(handler)),
      m_window(createHiddenWindow(kClassName, HWND_DESKTOP, this, &windowProcedure)) {}

DeviceNotificationWindow::~DeviceNotificationWindow() {
    if (m_window)
        DestroyWindow(m_window);
}

LRESULT CALLBACK DeviceNotificationWindow::windowProcedure(HWND window, UINT message, WPARAM wParam,
                                                           LPARAM lParam) {
    if (message == WM_DEVICECHANGE) {
        const auto* self = reinterpret_cast<const DeviceNotificationWindow*>(
            GetWindowLongPtrA(window, GWLP_USERDATA));
        if (const auto broadcast = volumeBroadcastOf(wParam, lParam); broadcast && self)
            self->m_handler(*broadcast);
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

} // namespace ordinalette::foldertree
