#pragma once

#include "platform/debug_log.h"

#include <mutex>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace ordinalette::testsupport {

// Collects what the layers below the window log (platform::logDebug) while it lives, from
// whichever thread it comes.
class DebugLogCapture {
public:
    DebugLogCapture() { platform::setDebugLogSink(&collect); }
    ~DebugLogCapture() {
        platform::setDebugLogSink(nullptr);
        std::lock_guard lock(s_lock);
        s_messages.clear();
    }
    DebugLogCapture(const DebugLogCapture&) = delete;
    DebugLogCapture& operator=(const DebugLogCapture&) = delete;

    // The messages so far, and none kept for the next call.
    std::vector<std::string> take() {
        std::lock_guard lock(s_lock);
        return std::exchange(s_messages, {});
    }

private:
    static void collect(std::string_view message) {
        std::lock_guard lock(s_lock);
        s_messages.emplace_back(message);
    }
    static inline std::mutex s_lock;
    static inline std::vector<std::string> s_messages;
};

} // namespace ordinalette::testsupport
