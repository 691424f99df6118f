#pragma once

#include "foldertree/watch_hand_over.h"

#include <deque>
#include <functional>
#include <mutex>
#include <windows.h>

namespace ordinalette::win32 {

// Runs calls of any thread on the thread that made it, between that thread's messages: each
// call is queued and a message posted to a hidden window of the thread, whose procedure runs
// it. Posting never waits, so the user-interface thread may join a thread that posts to it.
// Calls not run yet when the object goes are dropped with it; one call may destroy the object.
class MessageHandOver : public foldertree::WatchHandOver {
public:
    MessageHandOver();
    ~MessageHandOver() override;
    MessageHandOver(const MessageHandOver&) = delete;
    MessageHandOver& operator=(const MessageHandOver&) = delete;

    void post(std::function<void()> call) override;

private:
    static LRESULT CALLBACK windowProcedure(HWND window, UINT message, WPARAM wParam,
                                            LPARAM lParam);
    // Takes the oldest call out of the queue; an empty one when none is left.
    std::function<void()> takeCall();

    HWND m_window = nullptr;
    std::mutex m_lock; // guards m_calls
    std::deque<std::function<void()>> m_calls;
};

} // namespace ordinalette::win32
