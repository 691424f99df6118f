#include "foldertree/drive_changes.h"

#include <gtest/gtest.h>

namespace ordinalette::foldertree {
namespace {

TEST(DriveChanges, AnArrivalShowsTheLabelInLowerCaseWithItsFirstLetterUpperCase) {
    const auto utf8 = platform::CodePage::utf8();
    EXPECT_EQ(arrivalText("MYVOL", "/mnt/x", utf8), "Myvol (/mnt/x)");
    EXPECT_EQ(arrivalText("USB Stick", "/media/me/usb", utf8), "Usb stick (/media/me/usb)");
    EXPECT_EQ(arrivalText("1TB DISK", "/mnt/x", utf8), "1tb disk (/mnt/x)");
    EXPECT_EQ(arrivalText("ÄPFEL", "/mnt/x", utf8), "äpfel (/mnt/x)");
    EXPECT_EQ(arrivalText("", "/mnt/x", utf8), " (/mnt/x)");
}

} // namespace
} // namespace ordinalette::foldertree
