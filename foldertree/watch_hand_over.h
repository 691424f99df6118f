#pragma once

#include <functional>

namespace ordinalette::foldertree {

// How a watcher's thread has its deliveries run on the user-interface thread, as each front
// end does it (Qt: a call queued to an object of that thread; Win32: a message sent to a
// window). post may return before the call has run; the watcher waits for it itself, so that
// its owner can always stop it. Calls not yet run when the hand-over is destroyed are dropped.
class WatchHandOver {
public:
    virtual ~WatchHandOver() = default;

    virtual void post(std::function<void()> call) = 0;
};

} // namespace ordinalette::foldertree
