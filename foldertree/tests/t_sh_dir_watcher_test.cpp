#include "foldertree/t_sh_dir_watcher.h"
#include "foldertree/tests/call_queue.h"
#include "testsupport/debug_log_capture.h"
#include "testsupport/temp_dir.h"

#include <filesystem>
#include <functional>
#include <gtest/gtest.h>
#include <stdexcept>

namespace ordinalette::foldertree {
namespace {

using testsupport::DebugLogCapture;
using testsupport::TempDir;

// Short waits keep the tests fast; the quiet period still outlasts making a few folders back to
// back.
constexpr WatchTiming kShortTiming{std::chrono::milliseconds(100), std::chrono::milliseconds(50)};

// The user-interface thread of these tests: the test's own, which runs the deliveries while it
// waits.
testing::CallQueue& uiThread() {
    static testing::CallQueue queue;
    return queue;
}

// Runs deliveries until the condition holds; false when it still fails after a generous time.
bool waitFor(const std::function<bool()>& condition) {
    return uiThread().waitFor(condition);
}

TEST(TShDirWatcher, ABurstOfFolderChangesGivesOneCallAndFileChangesNone) {
    TempDir dir;
    std::vector<std::vector<std::string>> seen; // the folder's entries at each call
    auto watcher = std::make_unique<TShDirWatcher>(
        std::vector<std::string>{dir.path()}, nullptr, [&] { seen.push_back(dir.entries()); },
        kShortTiming, uiThread().handOver());
    ASSERT_TRUE(waitFor([&] { return watcher->watchCount() == 1; }));

    for (const char* name : {"a", "b", "c", "d", "e"})
        dir.makeDir(name);
    ASSERT_TRUE(waitFor([&] { return seen.size() == 1; }));
    EXPECT_EQ(seen[0], (std::vector<std::string>{"a", "b", "c", "d", "e"}));

    // Files come and go without a call; the next call is the one for the sentinel folder.
    dir.writeFile("photo.jpg");
    dir.writeFile("a/inside.txt");
    std::filesystem::remove(dir / "photo.jpg");
    dir.makeDir("sentinel");
    ASSERT_TRUE(waitFor([&] { return seen.size() == 2; }));
    EXPECT_EQ(seen[1].back(), "sentinel");

    bool terminated = false;
    watcher->setTerminationCallback([&] { terminated = true; });
    watcher->StopWatching();
    ASSERT_TRUE(waitFor([&] { return terminated; }));
}

TEST(TShDirWatcher, AnEmptyListStopsTheWatchingBeforeTheCallReturns) {
    TempDir dir;
    dir.makeDir("old");
    int calls = 0;
    auto watcher = std::make_unique<TShDirWatcher>(
        std::vector<std::string>{dir.path()}, nullptr, [&] { ++calls; }, kShortTiming,
        uiThread().handOver());
    ASSERT_TRUE(waitFor([&] { return watcher->watchCount() == 1; }));

    // As around a rename in place: what happens between the two calls is never reported.
    watcher->SetFolders(std::vector<std::string>{});
    EXPECT_EQ(watcher->watchCount(), 0u);
    std::filesystem::rename(dir / "old", dir / "new");
    watcher->SetFolders(std::vector<std::string>{dir.path()});
    ASSERT_TRUE(waitFor([&] { return watcher->watchCount() == 1; }));
    dir.makeDir("sentinel");
    ASSERT_TRUE(waitFor([&] { return calls > 0; }));
    EXPECT_EQ(calls, 1);
}

TEST(TShDirWatcher, AChangeOfTheListKeepsTheCallOfABurstStillQuiet) {
    TempDir dir;
    dir.makeDir("other");
    int calls = 0;
    auto watcher = std::make_unique<TShDirWatcher>(
        std::vector<std::string>{dir.path()}, nullptr, [&] { ++calls; }, kShortTiming,
        uiThread().handOver());
    ASSERT_TRUE(waitFor([&] { return watcher->watchCount() == 1; }));

    // As a click on another node's button right after a folder came.
    dir.makeDir("new");
    ASSERT_TRUE(waitFor([&] { return watcher->callPending(); }));
    watcher->SetFolders(std::vector<std::string>{dir.path(), dir / "other"});
    EXPECT_TRUE(waitFor([&] { return calls == 1; }));
}

TEST(TShDirWatcher, AFailingReactionIsShownAndEndsTheWatching) {
    std::vector<std::string> shown;
    auto watcher = std::make_unique<TShDirWatcher>(
        std::vector<std::string>{},
        [](std::unique_ptr<TDeviceChangeData>) { throw std::runtime_error("no drive"); }, nullptr,
        kShortTiming, uiThread().handOver());
    watcher->setErrorCallback(
        [&](const std::exception& error) { shown.emplace_back(error.what()); });
    // The owner lets its watcher go when it ends.
    watcher->setTerminationCallback([&] { watcher.reset(); });
    watcher->PostDeviceChange(std::make_unique<TDeviceChangeData>());
    ASSERT_TRUE(waitFor([&] { return !watcher; }));
    EXPECT_EQ(shown, std::vector<std::string>{"no drive"});
}

TEST(TShDirWatcher, AReactionFailingWithoutAnExceptionObjectIsLoggedAndEndsTheWatching) {
    DebugLogCapture log;
    auto watcher = std::make_unique<TShDirWatcher>(
        std::vector<std::string>{}, [](std::unique_ptr<TDeviceChangeData>) { throw 42; }, nullptr,
        kShortTiming, uiThread().handOver());
    watcher->setTerminationCallback([&] { watcher.reset(); });
    watcher->PostDeviceChange(std::make_unique<TDeviceChangeData>());
    ASSERT_TRUE(waitFor([&] { return !watcher; }));
    EXPECT_EQ(log.take(), std::vector<std::string>{"a reaction to a change failed; watching ends"});
}

TEST(TShDirWatcher, DeviceChangesSettleAndOnlyTheLatestIsDelivered) {
    std::vector<std::string> delivered;
    auto watcher = std::make_unique<TShDirWatcher>(
        std::vector<std::string>{},
        [&](std::unique_ptr<TDeviceChangeData> record) { delivered.push_back(record->Text); },
        nullptr, kShortTiming, uiThread().handOver());
    for (const char* text : {"first", "second", "third"}) {
        auto record = std::make_unique<TDeviceChangeData>();
        record->Text = text;
        watcher->PostDeviceChange(std::move(record));
    }
    ASSERT_TRUE(waitFor([&] { return delivered.size() == 1; }));
    EXPECT_EQ(delivered[0], "third");

    // Once stopped, a record is discarded.
    watcher->StopWatching();
    watcher->PostDeviceChange(std::make_unique<TDeviceChangeData>());
    watcher.reset();
    uiThread().runPending();
    EXPECT_EQ(delivered.size(), 1u);
}

TEST(TShDirWatcher, ItsOwnerMayDestroyItInsideADelivery) {
    // The thread waits for the call that destroys the watcher, and the destruction joins it.
    std::unique_ptr<TShDirWatcher> watcher;
    watcher = std::make_unique<TShDirWatcher>(
        std::vector<std::string>{}, [&](std::unique_ptr<TDeviceChangeData>) { watcher.reset(); },
        nullptr, kShortTiming, uiThread().handOver());
    watcher->PostDeviceChange(std::make_unique<TDeviceChangeData>());
    ASSERT_TRUE(waitFor([&] { return !watcher; }));
}

} // namespace
} // namespace ordinalette::foldertree
