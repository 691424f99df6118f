#pragma once

#include "foldertree/watch_hand_over.h"

#include <condition_variable>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>

namespace ordinalette::foldertree::testing {

// The user-interface thread of a test without a toolkit: calls handed over by watchers' threads
// wait here until the test's thread runs them, as it does while it waits for a condition. Must
// outlive the hand-overs it gives.
class CallQueue {
public:
    // A hand-over into this queue; its calls not yet run when it goes are dropped.
    std::unique_ptr<WatchHandOver> handOver();
    // Runs the calls handed over so far.
    void runPending();
    // Runs handed-over calls until the condition holds; false when it still fails after a
    // generous time.
    bool waitFor(const std::function<bool()>& condition);

private:
    class HandOver;
    struct Call {
        std::weak_ptr<const bool> from; // expires with the hand-over that posted it
        std::function<void()> run;
    };

    // Runs the first call waiting, if any; false when none waits.
    bool runNext();

    std::mutex m_lock;
    std::condition_variable m_posted;
    std::deque<Call> m_calls;
};

} // namespace ordinalette::foldertree::testing
