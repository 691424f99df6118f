#include "app/platform_debug_log.h"

#include "platform/debug_log.h"

#include <QLoggingCategory>

namespace ordinalette::app {

namespace {

Q_LOGGING_CATEGORY(lcPlatform, "ordinalette.platform", QtInfoMsg)

void toPlatformCategory(std::string_view message) {
    qCDebug(lcPlatform).noquote() << QString::fromUtf8(message.data(),
                                                       static_cast<qsizetype>(message.size()));
}

} // namespace

void routePlatformDebugLog() {
    platform::setDebugLogSink(&toPlatformCategory);
}

} // namespace ordinalette::app
