#pragma once

#include "foldertree/watch_hand_over.h"

#include <QObject>
#include <QPointer>

namespace ordinalette::foldertree {

// Hands a watcher's deliveries to the user-interface thread as calls queued to an object of
// that thread, a child of the owner: they run in its event loop, and go with it.
class QueuedHandOver : public WatchHandOver {
public:
    explicit QueuedHandOver(QObject* owner = nullptr) : m_context(new QObject(owner)) {}
    ~QueuedHandOver() override { delete m_context.data(); }
    QueuedHandOver(const QueuedHandOver&) = delete;
    QueuedHandOver& operator=(const QueuedHandOver&) = delete;

    void post(std::function<void()> call) override {
        QMetaObject::invokeMethod(m_context, std::move(call), Qt::QueuedConnection);
    }

private:
    QPointer<QObject> m_context;
};

} // namespace ordinalette::foldertree
