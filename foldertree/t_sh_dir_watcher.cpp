#include "foldertree/t_sh_dir_watcher.h"

#include "foldertree/debug_log.h"
#include "foldertree/error_display.h"

#include <QCoreApplication>
#include <QThread>
#include <algorithm>

namespace ordinalette::foldertree {

namespace {

using Clock = std::chrono::steady_clock;

} // namespace

std::atomic<int> TShDirWatcher::s_liveCount{0};

TShDirWatcher::TShDirWatcher(std::vector<std::string> folders, DeviceCallback deviceCallback,
                             FoldersCallback foldersCallback, WatchTiming timing)
    : m_context(new QObject), m_timing(timing), m_deviceCallback(std::move(deviceCallback)),
      m_foldersCallback(std::move(foldersCallback)) {
    ++s_liveCount;
    SetFolders(std::move(folders));
    m_thread = std::thread([this] { run(); });
}

TShDirWatcher::~TShDirWatcher() {
    if (m_thread.joinable())
        m_thread.join();
    m_context->deleteLater();
    --s_liveCount;
}

void TShDirWatcher::SetFolders(std::optional<std::vector<std::string>> folders) {
    std::lock_guard lock(m_lock);
    if (!folders) {
        m_folders.clear();
        m_foldersChanged.set();
        return;
    }
    std::sort(folders->begin(), folders->end());
    folders->erase(std::unique(folders->begin(), folders->end()), folders->end());
    if (*folders == m_folders)
        return;
    m_folders = std::move(*folders);
    m_foldersChanged.set();
}

void TShDirWatcher::PostDeviceChange(std::unique_ptr<TDeviceChangeData> record) {
    if (!m_deviceCallback)
        return;
    std::lock_guard lock(m_lock);
    m_pending = std::move(record);
    m_device.set();
}

void TShDirWatcher::StopWatching() {
    m_deviceCallback = nullptr;
    m_foldersCallback = nullptr;
    m_stop.set();
}

void TShDirWatcher::rebuildWatches() {
    std::lock_guard lock(m_lock);
    // Folders the system refuses stay unwatched until the list is set again.
    m_folders = m_watchSet.setFolders(m_folders);
    m_watchCount = m_watchSet.watchCount();
}

void TShDirWatcher::run() {
    enum Handle { Stop, Device, FoldersChanged, Changes };
    rebuildWatches();
    std::optional<Clock::time_point> quietUntil;
    for (;;) {
        std::vector<platform::WaitHandle> handles{
            {m_stop.waitHandle()}, {m_device.waitHandle()}, {m_foldersChanged.waitHandle()}};
        if (m_watchCount > 0)
            handles.push_back({m_watchSet.waitHandle()});
        std::optional<std::chrono::milliseconds> timeout;
        if (quietUntil) {
            timeout =
                std::max(std::chrono::milliseconds(0),
                         std::chrono::ceil<std::chrono::milliseconds>(*quietUntil - Clock::now()));
        }
        std::size_t signalled = 0;
        const auto result = platform::waitForAny(handles, timeout, signalled);
        if (result == platform::WaitResult::Failed ||
            (result == platform::WaitResult::Signalled && signalled == Stop))
            break;
        if (result == platform::WaitResult::Timeout) {
            // The burst is over: one re-read for all of it.
            quietUntil.reset();
            if (!deliver([this] {
                    if (m_foldersCallback)
                        m_foldersCallback();
                }))
                break;
            continue;
        }
        switch (signalled) {
        case Device:
            m_device.consume();
            quietUntil.reset();
            if (!settleAndDeliver())
                return finish();
            break;
        case FoldersChanged:
            m_foldersChanged.consume();
            quietUntil.reset();
            rebuildWatches();
            break;
        default:
            if (m_watchSet.readChanges())
                quietUntil = Clock::now() + m_timing.quietPeriod;
            break;
        }
    }
    finish();
}

bool TShDirWatcher::settleAndDeliver() {
    for (;;) {
        std::size_t signalled = 0;
        const auto result = platform::waitForAny({{m_stop.waitHandle()}, {m_device.waitHandle()}},
                                                 m_timing.deviceSettling, signalled);
        if (result == platform::WaitResult::Failed)
            return false;
        if (result == platform::WaitResult::Signalled) {
            if (signalled == 0)
                return true; // the stop stays set; the main loop ends on it
            m_device.consume();
            continue;
        }
        std::unique_ptr<TDeviceChangeData> record;
        {
            std::lock_guard lock(m_lock);
            record = std::move(m_pending);
        }
        if (!record)
            return true;
        return deliver([this, &record] {
            if (m_deviceCallback)
                m_deviceCallback(std::move(record));
        });
    }
}

bool TShDirWatcher::deliver(const std::function<void()>& call) {
    bool ok = true;
    QMetaObject::invokeMethod(
        m_context,
        [&call, &ok] {
            // A failing reaction is shown like any error that leaves a handler, and ends the
            // watching; the tree then works without it.
            try {
                call();
            } catch (const std::exception& error) {
                DisplayError(error);
                ok = false;
            } catch (...) {
                qCDebug(lcFolderTree, "a reaction to a change failed; watching ends");
                ok = false;
            }
        },
        Qt::BlockingQueuedConnection);
    return ok;
}

void TShDirWatcher::finish() {
    m_watchSet.setFolders({});
    m_watchCount = 0;
    QMetaObject::invokeMethod(
        m_context,
        [this] {
            if (m_terminationCallback)
                m_terminationCallback();
            delete this;
        },
        Qt::QueuedConnection);
}

} // namespace ordinalette::foldertree
