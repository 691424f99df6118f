#pragma once

#include "foldertree/shell_namespace.h"
#include "foldertree/watch_hand_over.h"
#include "platform/change_notification.h"

#include <atomic>
#include <chrono>
#include <cstdint>
#include <exception>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace ordinalette::foldertree {

// Device events of a volume change.
enum class DeviceEvent : std::uint32_t { None = 0, Arrival = 0x8000, RemoveComplete = 0x8004 };
// Kinds of volume change.
enum class DeviceKind : std::uint16_t { None = 0, Media = 1, Network = 2 };

// One volume change for one tree: a mount under My Computer that came or went (a media
// change) or a network file system (a network change).
struct TDeviceChangeData {
    std::string Text; // the drive's node text (media change)
    DeviceEvent Event = DeviceEvent::None;
    DeviceKind Kind = DeviceKind::None;
    std::optional<ItemIdList> Drive; // the drive's absolute list (media change)
};

// How long a watcher waits before it delivers: the quiet period after the last folder-name
// change of a burst, and the settling time after the last device change.
struct WatchTiming {
    std::chrono::milliseconds quietPeriod;
    std::chrono::milliseconds deviceSettling;
};
// The timing of the folder tree's watcher.
inline constexpr WatchTiming kTreeWatchTiming{std::chrono::milliseconds(1500),
                                              std::chrono::milliseconds(1000)};

// Watches the folders of a tree on a thread of its own and hands every change to the
// user-interface thread synchronously, through the front end's hand-over: a burst of folder-name
// changes becomes one call of the folders callback once the quiet period has passed after the last
// change; a device change is delivered after it has settled. The thread sleeps in one wait on all
// its handles. Its owner destroys it on the user-interface thread, which ends and joins the thread.
class TShDirWatcher {
public:
    using FoldersCallback = std::function<void()>;
    using DeviceCallback = std::function<void(std::unique_ptr<TDeviceChangeData>)>;
    using TerminationCallback = std::function<void()>;
    using ErrorCallback = std::function<void(const std::exception&)>;

    // Deliveries run on the user-interface thread through handOver, which the watcher keeps.
    TShDirWatcher(std::vector<std::string> folders, DeviceCallback deviceCallback,
                  FoldersCallback foldersCallback, WatchTiming timing,
                  std::unique_ptr<WatchHandOver> handOver);
    // Ends the thread and waits for it; a delivery not yet run on the user-interface thread
    // is dropped.
    ~TShDirWatcher();
    TShDirWatcher(const TShDirWatcher&) = delete;
    TShDirWatcher& operator=(const TShDirWatcher&) = delete;

    // Watches these folders from now on (none: stop watching); nothing happens for the list
    // already watched. An empty list stops the watching before the call returns, so that
    // changes made right after it are never reported.
    void SetFolders(std::optional<std::vector<std::string>> folders);
    // Watches anew the watched folders at or below these mount points: a volume mounted over
    // one of them, or gone from it, has put another folder at its path.
    void rearmBelow(const std::vector<std::string>& mountPoints);
    // Delivers the record after the settling time, replacing one still pending; discarded
    // once the device callback is cleared.
    void PostDeviceChange(std::unique_ptr<TDeviceChangeData> record);
    // Clears both callbacks and ends the thread.
    void StopWatching();
    // Runs on the user-interface thread when the thread has ended; it may destroy the watcher.
    void setTerminationCallback(TerminationCallback callback) {
        m_terminationCallback = std::move(callback);
    }
    // Shows an error that left a reaction; watching then ends. Unset, such errors are logged.
    void setErrorCallback(ErrorCallback callback) { m_errorCallback = std::move(callback); }
    // Whether a burst of folder changes waits for its quiet period to end.
    bool callPending() const { return m_callPending; }
    // How many folders the system watches for this watcher right now.
    std::size_t watchCount() const { return m_watchCount; }
    // Watchers not yet destroyed.
    static int liveCount() { return s_liveCount; }

private:
    void run();
    // Watches the folders of the list; true when some were watched anew (rearmBelow).
    bool rebuildWatches();
    // Waits until no further device change arrives for the settling time, then delivers.
    bool settleAndDeliver();
    // Runs a call on the user-interface thread and waits until it has returned; false when it
    // failed or the watcher was stopped meanwhile.
    bool deliver(std::function<void()> call);
    void finish();

    // Runs the deliveries on the user-interface thread; those still queued go with it.
    std::unique_ptr<WatchHandOver> m_handOver;
    // Expires with the watcher, which its owner may destroy inside a delivery.
    std::shared_ptr<const bool> m_alive = std::make_shared<const bool>(true);
    const WatchTiming m_timing;
    DeviceCallback m_deviceCallback;
    FoldersCallback m_foldersCallback;
    TerminationCallback m_terminationCallback;
    ErrorCallback m_errorCallback;

    std::mutex m_lock; // guards m_folders, m_rearm, m_pending and m_watchSet
    std::vector<std::string> m_folders;
    std::vector<std::string> m_rearm; // mount points below which watches are made anew
    std::unique_ptr<TDeviceChangeData> m_pending;

    platform::EventFlag m_stop;
    platform::EventFlag m_device;
    platform::EventFlag m_foldersChanged;
    platform::EventFlag m_delivered; // the call handed to the user-interface thread returned
    std::atomic<bool> m_deliveryFailed{false};
    platform::FolderWatchSet m_watchSet;
    std::atomic<std::size_t> m_watchCount{0};
    std::atomic<bool> m_callPending{false};
    std::thread m_thread;
    static std::atomic<int> s_liveCount;
};

} // namespace ordinalette::foldertree
