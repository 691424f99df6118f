#include "app/tree/tests/captured_log.h"

#include <QLoggingCategory>
#include <atomic>
#include <cstring>

namespace ordinalette::foldertree::testing {

namespace {

std::atomic<CapturedLog*> g_active{nullptr};

} // namespace

CapturedLog::CapturedLog(const char* category)
    : m_category(category), m_previous(qInstallMessageHandler(&CapturedLog::handle)) {
    // Set once m_previous is: a message handled from another thread sees both.
    g_active = this;
    QLoggingCategory::setFilterRules(QString::fromUtf8(category) + QStringLiteral(".debug=true"));
}

CapturedLog::~CapturedLog() {
    QLoggingCategory::setFilterRules({});
    g_active = nullptr;
    qInstallMessageHandler(m_previous);
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
