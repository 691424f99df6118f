#include "app/tests/form_fixture.h"

#include <QScreen>
#include <gtest/gtest.h>

namespace ordinalette::app {
namespace {

// Run on a 1600 x 1200 screen scaled by two, where the window's stored place (204, 55) would
// leave its right part beyond the 800 points of the screen's width.
TEST(WindowPlacement, AWindowThatWouldLeaveTheScreenMovesInsideItsAvailableArea) {
    testing::FormFixture fixture;
    ASSERT_TRUE(fixture.showActive());
    const QRect available = fixture.form.screen()->availableGeometry();
    ASSERT_EQ(available.width(), 800);
    const QRect frame = fixture.form.frameGeometry();
    EXPECT_TRUE(available.contains(frame))
        << frame.left() << "," << frame.top() << " " << frame.width() << "x" << frame.height();
    EXPECT_EQ(fixture.form.geometry().top(), 55) << "moved only as far as it must";
}

} // namespace
} // namespace ordinalette::app
