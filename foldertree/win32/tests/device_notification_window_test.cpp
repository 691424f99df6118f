#include "foldertree/win32/device_notification_window.h"
#include "foldertree/win32/volume_label.h"

#include <dbt.h>
#include <gtest/gtest.h>
#include <vector>

namespace ordinalette::foldertree {
namespace {

// Broadcasts a volume change to every top-level window, as the system does; Wine never sends
// one by itself.
void broadcastVolume(WPARAM event, DWORD unitMask, WORD flags,
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

TEST(DeviceNotificationWindow, HandsOnTheVolumeChangesOfTheBroadcastsAndNothingElse) {
    std::vector<VolumeBroadcast> received;
    DeviceNotificationWindow window(
        [&](const VolumeBroadcast& broadcast) { received.push_back(broadcast); });
    ASSERT_NE(window.window(), nullptr);
    broadcastVolume(DBT_DEVICEARRIVAL, 1u << 3 | 1u << 5, DBTF_MEDIA);
    broadcastVolume(DBT_DEVICEREMOVECOMPLETE, 1u << 25, DBTF_MEDIA);
    broadcastVolume(DBT_DEVICEARRIVAL, 1u << 7, DBTF_NET);
    broadcastVolume(DBT_DEVICEARRIVAL, 1u << 3, 0);              // neither media nor network
    broadcastVolume(DBT_DEVICEQUERYREMOVE, 1u << 3, DBTF_MEDIA); // no arrival or removal
    broadcastVolume(DBT_DEVICEARRIVAL, 1u << 3, DBTF_MEDIA, DBT_DEVTYP_PORT); // no volume
    EXPECT_EQ(received, (std::vector<VolumeBroadcast>{{DBT_DEVICEARRIVAL, false, "D:"},
                                                      {DBT_DEVICEREMOVECOMPLETE, false, "Z:"},
                                                      {DBT_DEVICEARRIVAL, true, ""}}));
}

TEST(VolumeLabel, IsEmptyForADriveThatIsNotThere) {
    EXPECT_EQ(volumeLabel("Q:"), "");
}

} // namespace
} // namespace ordinalette::foldertree
