#include "foldertree/t_sh_dir_watcher.h"

#include "foldertree/folder_path.h"
#include "platform/debug_log.h"

#include <algorithm>

namespace ordinalette::foldertree {

namespace {

using Clock = std::chrono::steady_clock;

} // namespace

std::atomic<int> TShDirWatcher::s_liveCount{0};

TShDirWatcher::TShDirWatcher(std::vector<std::string> folders, DeviceCallback deviceCallback,
                             FoldersCallback foldersCallback, WatchTiming timing,
                             std::unique_ptr<WatchHandOver> handOver)
    : m_handOver(std::move(handOver)), m_timing(timing),
      m_deviceCallback(std::move(deviceCallback)), m_foldersCallback(std::move(foldersCallback)) {
    ++s_liveCount;
    SetFolders(std::move(folders));
    m_thread = std::thread([this] { run(); });
}

TShDirWatcher::~TShDirWatcher() {
    StopWatching();
    if (m_thread.joinable())
        m_thread.join();
    m_alive.reset();
    m_handOver.reset();
    --s_liveCount;
}

void TShDirWatcher::SetFolders(std::optional<std::vector<std::string>> folders) {
    std::lock_guard lock(m_lock);
    if (!folders || folders->empty()) {
        // Stopped here and now rather than when the thread next wakes: the changes of a rename
        // in place, made right after this, must not reach the tree.
        m_folders.clear();
        m_watchSet.setFolders({});
        m_watchCount = 0;
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

void TShDirWatcher::rearmBelow(const std::vector<std::string>& mountPoints) {
    std::lock_guard lock(m_lock);
    m_rearm.insert(m_rearm.end(), mountPoints.begin(), mountPoints.end());
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

bool TShDirWatcher::rebuildWatches() {
    std::lock_guard lock(m_lock);
    std::vector<std::string> anew;
    for (const auto& folder : m_folders) {
        if (std::any_of(m_rearm.begin(), m_rearm.end(), [&](const std::string& mountPoint) {
                return isAtOrBelow(folder, mountPoint);
            }))
            anew.push_back(folder);
    }
    m_rearm.clear();
    // Folders the system refuses stay unwatched until the list is set again.
    m_folders = m_watchSet.setFolders(m_folders, anew);
    m_watchCount = m_watchSet.watchCount();
    return !anew.empty();
}

void TShDirWatcher::run() {
    enum Handle { Stop, Device, FoldersChanged, Changes };
    rebuildWatches();
    std::optional<Clock::time_point> quietUntil;
    const auto setQuietUntil = [&](std::optional<Clock::time_point> until) {
        quietUntil = until;
        m_callPending = until.has_value();
    };
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
            setQuietUntil(std::nullopt);
            if (!deliver([this] {
                    // A copy runs, as the owner may destroy the watcher inside it.
                    if (const FoldersCallback callback = m_foldersCallback)
                        callback();
                }))
                break;
            continue;
        }
        switch (signalled) {
        case Device:
            m_device.consume();
            setQuietUntil(std::nullopt);
            if (!settleAndDeliver())
                return finish();
            break;
        case FoldersChanged:
            // A burst still waiting is re-read as it would be without the new list: the user
            // opening or closing a node must not lose a change made just before.
            m_foldersChanged.consume();
            // What changed in a folder watched anew before its new watch existed is read once
            // the quiet period has passed.
            if (rebuildWatches())
                setQuietUntil(Clock::now() + m_timing.quietPeriod);
            break;
        default:
            if (std::lock_guard lock(m_lock); m_watchSet.readChanges())
                setQuietUntil(Clock::now() + m_timing.quietPeriod);
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
        // Held by the call itself, so that a call the user-interface thread never runs frees it.
        auto record = std::make_shared<std::unique_ptr<TDeviceChangeData>>();
        {
            std::lock_guard lock(m_lock);
            *record = std::move(m_pending);
        }
        if (!*record)
            return true;
        return deliver([this, record] {
            if (const DeviceCallback callback = m_deviceCallback)
                callback(std::move(*record));
        });
    }
}

bool TShDirWatcher::deliver(std::function<void()> call) {
    // Not a call that blocks until it has run: the owner joins this thread on the
    // user-interface thread, which must not wait for a thread that waits for it. This wait ends
    // on the stop as well.
    m_handOver->post([this, call = std::move(call), alive = std::weak_ptr<const bool>(m_alive)] {
        // A failing reaction is shown like any error that leaves a handler, and ends the
        // watching; the tree then works without it.
        bool failed = false;
        try {
            call();
        } catch (const std::exception& error) {
            if (m_errorCallback)
                m_errorCallback(error);
            else
                platform::logDebug(std::string("a reaction to a change failed: ") + error.what());
            failed = true;
        } catch (...) {
            platform::logDebug("a reaction to a change failed; watching ends");
            failed = true;
        }
        // The owner may have destroyed the watcher inside the call.
        if (alive.expired())
            return;
        m_deliveryFailed = failed;
        m_delivered.set();
    });
    std::size_t signalled = 0;
    const auto result = platform::waitForAny({{m_stop.waitHandle()}, {m_delivered.waitHandle()}},
                                             std::nullopt, signalled);
    if (result != platform::WaitResult::Signalled || signalled == 0)
        return false;
    m_delivered.consume();
    return !m_deliveryFailed;
}

void TShDirWatcher::finish() {
    {
        std::lock_guard lock(m_lock);
        m_watchSet.setFolders({});
        m_watchCount = 0;
    }
    m_handOver->post([this] {
        // Taken out first, as the callback may destroy the watcher.
        const TerminationCallback callback = std::move(m_terminationCallback);
        if (callback)
            callback();
    });
}

} // namespace ordinalette::foldertree
