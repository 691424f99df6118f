#include "app/platform_debug_log.h"
#include "app/tree/tests/captured_log.h"
#include "platform/change_notification.h"
#include "platform/debug_log.h"
#include "testsupport/temp_dir.h"

#include <gtest/gtest.h>

namespace ordinalette::app {
namespace {

TEST(PlatformDebugLog, FailuresBelowTheWindowReachTheirLoggingCategory) {
    const foldertree::testing::CapturedLog log("ordinalette.platform");
    const testsupport::TempDir dir;
    routePlatformDebugLog();
    platform::FolderWatchSet().setFolders({dir / "missing"});
    platform::setDebugLogSink(nullptr);
    ASSERT_EQ(log.messages().size(), 1);
    EXPECT_TRUE(log.messages()[0].contains(QString::fromStdString(dir / "missing")));
}

} // namespace
} // namespace ordinalette::app
