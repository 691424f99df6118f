#pragma once

#include <windows.h>
// The device broadcasts' header needs the types of windows.h before it.
#include <dbt.h>

namespace ordinalette::foldertree {

// Broadcasts a volume change to every top-level window, as the system does; Wine never sends
// one by itself.
inline void broadcastVolume(WPARAM event, DWORD unitMask, WORD flags = DBTF_MEDIA,
                            DWORD deviceType = DBT_DEVTYP_VOLUME) {
    DEV_BROADCAST_VOLUME volume{};
    volume.dbcv_size = sizeof volume;
    volume.dbcv_devicetype = deviceType;
    volume.dbcv_unitmask = unitMask;
    volume.dbcv_flags = flags;
    DWORD_PTR ignored = 0;
    SendMessageTimeoutA(HWND_BROADCAST, WM_DEVICECHANGE, event, reinterpret_cast<LPARAM>(&volume),
                        SMTO_ABORTIFHUNG, 5000, &ignored);
}

} // namespace ordinalette::foldertree
