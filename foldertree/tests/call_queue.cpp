#include "foldertree/tests/call_queue.h"

#include <chrono>

namespace ordinalette::foldertree::testing {

class CallQueue::HandOver : public WatchHandOver {
public:
    explicit HandOver(CallQueue& queue) : m_queue(queue) {}

    void post(std::function<void()> call) override {
        {
            std::lock_guard lock(m_queue.m_lock);
            m_queue.m_calls.push_back({m_alive, std::move(call)});
        }
        m_queue.m_posted.notify_all();
    }

private:
    CallQueue& m_queue;
    std::shared_ptr<const bool> m_alive = std::make_shared<const bool>(true);
};

std::unique_ptr<WatchHandOver> CallQueue::handOver() {
    return std::make_unique<HandOver>(*this);
}

bool CallQueue::runNext() {
    Call call;
    {
        std::lock_guard lock(m_lock);
        if (m_calls.empty())
            return false;
        call = std::move(m_calls.front());
        m_calls.pop_front();
    }
    // Run without the lock: a call may destroy a watcher, whose thread may be posting.
    if (!call.from.expired())
        call.run();
    return true;
}

void CallQueue::runPending() {
    while (runNext()) {
    }
}

bool CallQueue::waitFor(const std::function<bool()>& condition) {
    using namespace std::chrono_literals;
    const auto giveUp = std::chrono::steady_clock::now() + 15s;
    for (;;) {
        runPending();
        if (condition())
            return true;
        if (std::chrono::steady_clock::now() > giveUp)
            return false;
        // What the condition waits for may come from another thread without a call; look again
        // after a short while unless a call arrives first.
        std::unique_lock lock(m_lock);
        m_posted.wait_for(lock, 5ms, [this] { return !m_calls.empty(); });
    }
}

} // namespace ordinalette::foldertree::testing
