#include "platform/change_notification.h"

#include <chrono>
#include <gtest/gtest.h>
#include <thread>
#include <vector>

namespace ordinalette::platform {
namespace {

using namespace std::chrono_literals;

TEST(EventFlag, ASignalIsTakenByConsume) {
    EventFlag flag;
    EXPECT_FALSE(flag.consume());
    flag.set();
    flag.set();
    std::size_t signalled = 9;
    EXPECT_EQ(waitForAny({{-1}, {flag.waitHandle()}}, 0ms, signalled), WaitResult::Signalled);
    EXPECT_EQ(signalled, 1u);
    EXPECT_TRUE(flag.consume());
    EXPECT_EQ(waitForAny({{flag.waitHandle()}}, 0ms, signalled), WaitResult::Timeout);
}

TEST(EventFlag, AWaitOnMoreFlagsThanOneSystemWaitTakesFindsTheFirstSet) {
    std::vector<EventFlag> flags(150);
    std::vector<WaitHandle> handles;
    for (const EventFlag& flag : flags)
        handles.push_back({flag.waitHandle()});
    std::size_t signalled = 0;
    EXPECT_EQ(waitForAny(handles, 0ms, signalled), WaitResult::Timeout);

    flags[130].set();
    flags[80].set();
    ASSERT_EQ(waitForAny(handles, 0ms, signalled), WaitResult::Signalled);
    EXPECT_EQ(signalled, 80u);
    EXPECT_TRUE(flags[80].consume()) << "the wait leaves the signal to its owner";
    ASSERT_EQ(waitForAny(handles, std::nullopt, signalled), WaitResult::Signalled);
    EXPECT_EQ(signalled, 130u);
    flags[130].consume();

    // Set while the wait sleeps.
    std::thread setter([&] {
        std::this_thread::sleep_for(20ms);
        flags[149].set();
    });
    ASSERT_EQ(waitForAny(handles, std::nullopt, signalled), WaitResult::Signalled);
    EXPECT_EQ(signalled, 149u);
    setter.join();
}

} // namespace
} // namespace ordinalette::platform
