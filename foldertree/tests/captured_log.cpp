#include "foldertree/tests/captured_log.h"

#include <QLoggingCategory>
#include <atomic>
#include <cstring>

namespace ordinalette::foldertree::testing {

namespace {

std::atomic<CapturedLog*> g_active{nullptr};

} // namespace

CapturedLog::CapturedLog(const char* category) : m_category(category) {
    g_active = this;
    m_previous = qInstallMessageHandler(&CapturedLog::handle);
    QLoggingCategory::setFilterRules(QString::fromUtf8(category) + QStringLiteral(".debug=true"));
}

CapturedLog::~CapturedLog() {
    QLoggingCategory::setFilterRules({});
    qInstallMessageHandler(m_previous);
    g_active = nullptr;
}

QStringList CapturedLog::messages() const {
    std::lock_guard lock(m_lock);
    return m_messages;
}

void CapturedLog::handle(QtMsgType type, const QMessageLogContext& context,
                         const QString& message) {
    CapturedLog* log = g_active;
    if (!log)
        return;
    if (context.category && std::strcmp(context.category, log->m_category) == 0) {
        std::lock_guard lock(log->m_lock);
        log->m_messages << message;
        return;
    }
    if (log->m_previous)
        log->m_previous(type, context, message);
}

} // namespace ordinalette::foldertree::testing
