#include "foldertree/win32/device_notification_window.h"
#include "foldertree/win32/tests/volume_broadcast.h"
#include "foldertree/win32/volume_label.h"

#include <gtest/gtest.h>
#include <vector>

namespace ordinalette::foldertree {
namespace {

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
