#include "platform/debug_log.h"

#include <atomic>
#include <cstring>
#include <string>

namespace ordinalette::platform {

namespace {

std::atomic<DebugLogSink> g_sink{nullptr};

} // namespace

void setDebugLogSink(DebugLogSink sink) {
    g_sink = sink;
}

void logDebug(std::string_view message) {
    if (const DebugLogSink sink = g_sink)
        sink(message);
}

void logFailure(std::string_view what, std::string_view path, int errorNumber) {
    const DebugLogSink sink = g_sink;
    if (!sink)
        return;
    std::string message(what);
    message.append(" ").append(path).append(": ").append(std::strerror(errorNumber));
    sink(message);
}

} // namespace ordinalette::platform
