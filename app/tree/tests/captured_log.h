#pragma once

#include <QStringList>
#include <QtGlobal>
#include <mutex>

namespace ordinalette::foldertree::testing {

// While it lives, turns on the debug messages of one logging category and collects them, from
// whichever thread they come; messages of other categories go on as before.
class CapturedLog {
public:
    explicit CapturedLog(const char* category);
    ~CapturedLog();
    CapturedLog(const CapturedLog&) = delete;
    CapturedLog& operator=(const CapturedLog&) = delete;

    QStringList messages() const;

private:
    static void handle(QtMsgType type, const QMessageLogContext& context, const QString& message);

    const char* m_category;
    QtMessageHandler m_previous;
    mutable std::mutex m_lock;
    QStringList m_messages;
};

} // namespace ordinalette::foldertree::testing
