#include "platform/change_notification.h"

#include "platform/debug_log.h"
#include "platform/win32/folder_change_notifications.h"
#include "platform/win32/native_handle.h"

#include <algorithm>
#include <atomic>
#include <thread>
#include <utility>

namespace ordinalette::platform {

namespace {

// A manual-reset event: a wait leaves it set, as a readable descriptor stays readable.
NativeHandle newEvent() {
    return fromNative(CreateEventA(nullptr, TRUE, FALSE, nullptr));
}

// The index of the first handle that is signalled now, if any; false when a wait failed.
bool firstSignalled(const std::vector<HANDLE>& handles, std::optional<std::size_t>& first) {
    for (std::size_t start = 0; start < handles.size(); start += MAXIMUM_WAIT_OBJECTS) {
        const auto count =
            static_cast<DWORD>(std::min<std::size_t>(MAXIMUM_WAIT_OBJECTS, handles.size() - start));
        const DWORD woken = WaitForMultipleObjects(count, handles.data() + start, FALSE, 0);
        if (woken == WAIT_FAILED)
            return false;
        if (woken < WAIT_OBJECT_0 + count) {
            first = start + (woken - WAIT_OBJECT_0);
            return true;
        }
    }
    return true;
}

// Waits on more handles than one wait takes: a thread per group of them wakes this one, which
// then looks which handle is signalled. A handle that a group's wait took the signal of (an
// auto-reset event) is reported by the group itself.
WaitResult waitInGroups(const std::vector<HANDLE>& handles, DWORD milliseconds,
                        std::size_t& signalled) {
    constexpr std::size_t kGroupSize = MAXIMUM_WAIT_OBJECTS - 1; // beside the end of the wait
    const EventHandle woken(newEvent());
    const EventHandle ended(newEvent());
    std::atomic<std::size_t> taken{handles.size()};
    std::atomic<bool> failed{false};
    std::vector<std::thread> groups;
    for (std::size_t first = 0; first < handles.size(); first += kGroupSize) {
        groups.emplace_back([&, first] {
            std::vector<HANDLE> waited{nativeHandle(ended.native())};
            const std::size_t last = std::min(handles.size(), first + kGroupSize);
            waited.insert(waited.end(), handles.begin() + static_cast<std::ptrdiff_t>(first),
                          handles.begin() + static_cast<std::ptrdiff_t>(last));
            const DWORD result = WaitForMultipleObjects(static_cast<DWORD>(waited.size()),
                                                        waited.data(), FALSE, INFINITE);
            if (result == WAIT_OBJECT_0)
                return;
            if (result > WAIT_OBJECT_0 && result < WAIT_OBJECT_0 + waited.size()) {
                std::size_t index = first + (result - WAIT_OBJECT_0) - 1;
                std::size_t current = taken;
                while (index < current && !taken.compare_exchange_weak(current, index)) {
                }
            } else {
                failed = true;
            }
            SetEvent(nativeHandle(woken.native()));
        });
    }
    const DWORD waited = WaitForSingleObject(nativeHandle(woken.native()), milliseconds);
    SetEvent(nativeHandle(ended.native()));
    for (std::thread& group : groups)
        group.join();
    std::optional<std::size_t> first;
    if (waited == WAIT_FAILED || failed || !firstSignalled(handles, first))
        return WaitResult::Failed;
    if (first || taken < handles.size()) {
        signalled = std::min(first.value_or(handles.size()), taken.load());
        return WaitResult::Signalled;
    }
    return WaitResult::Timeout;
}

} // namespace

EventFlag::EventFlag() : m_handle(newEvent()) {}

void EventFlag::set() {
    SetEvent(nativeHandle(m_handle.native()));
}

bool EventFlag::consume() {
    // Reset only when set: a set between the look and the reset coalesces with the one seen,
    // as it would on an event that counts.
    const HANDLE event = nativeHandle(m_handle.native());
    if (WaitForSingleObject(event, 0) != WAIT_OBJECT_0)
        return false;
    ResetEvent(event);
    return true;
}

// The folders' notifications in groups, made anew for each new list of folders; they all set
// the one event of the set.
class FolderWatchSet::Watches {
public:
    std::vector<std::string> setFolders(const std::vector<std::string>& folders) {
        // Made before the old ones go, so that no change falls between the two.
        auto watched = folders.empty() ? nullptr
                                       : std::make_unique<FolderChangeNotifications>(
                                             folders, nativeHandle(m_changed.native()));
        // What the old notifications saw and nobody read yet is still a change.
        if (m_notifications)
            m_unread = !m_notifications->takeChanged().empty() || m_unread;
        m_notifications = std::move(watched);
        return m_notifications ? m_notifications->folders() : std::vector<std::string>{};
    }
    bool readChanges() {
        // Reset before taking, so that a change noted meanwhile sets the event again.
        ResetEvent(nativeHandle(m_changed.native()));
        bool changed = std::exchange(m_unread, false);
        if (m_notifications) {
            changed = !m_notifications->takeChanged().empty() || changed;
            if (m_notifications->failed() && !m_failureLogged) {
                logDebug("a folder change notification failed; its folders are no longer watched");
                m_failureLogged = true;
            }
        }
        return changed;
    }
    std::size_t count() const { return m_notifications ? m_notifications->folders().size() : 0; }
    NativeHandle handle() const { return m_changed.native(); }

private:
    EventHandle m_changed{newEvent()};
    std::unique_ptr<FolderChangeNotifications> m_notifications;
    bool m_unread = false;
    bool m_failureLogged = false;
};

FolderWatchSet::FolderWatchSet() : m_watches(std::make_unique<Watches>()) {}

FolderWatchSet::~FolderWatchSet() = default;

std::vector<std::string> FolderWatchSet::setFolders(const std::vector<std::string>& folders,
                                                    const std::vector<std::string>&) {
    // Every folder is watched anew: a drive letter holds the same folder until its media
    // change, and the notifications are made again for each list anyway.
    return m_watches->setFolders(folders);
}

std::size_t FolderWatchSet::watchCount() const {
    return m_watches->count();
}

bool FolderWatchSet::readChanges() {
    return m_watches->readChanges();
}

NativeHandle FolderWatchSet::waitHandle() const {
    return m_watches->handle();
}

WaitResult waitForAny(const std::vector<WaitHandle>& handles,
                      std::optional<std::chrono::milliseconds> timeout, std::size_t& signalled) {
    std::vector<HANDLE> waited;
    std::vector<std::size_t> positions; // of each waited handle among those given
    for (std::size_t i = 0; i < handles.size(); ++i) {
        if (handles[i].handle != -1) {
            waited.push_back(nativeHandle(handles[i].handle));
            positions.push_back(i);
        }
    }
    const DWORD milliseconds = timeout ? static_cast<DWORD>(timeout->count()) : INFINITE;
    if (waited.empty()) {
        if (!timeout)
            return WaitResult::Failed; // nothing could ever end the wait
        Sleep(milliseconds);
        return WaitResult::Timeout;
    }
    std::size_t index = 0;
    if (waited.size() > MAXIMUM_WAIT_OBJECTS) {
        const WaitResult result = waitInGroups(waited, milliseconds, index);
        if (result != WaitResult::Signalled)
            return result;
    } else {
        const DWORD result = WaitForMultipleObjects(static_cast<DWORD>(waited.size()),
                                                    waited.data(), FALSE, milliseconds);
        if (result == WAIT_TIMEOUT)
            return WaitResult::Timeout;
        if (result >= WAIT_OBJECT_0 + waited.size())
            return WaitResult::Failed;
        index = result - WAIT_OBJECT_0;
    }
    signalled = positions[index];
    return WaitResult::Signalled;
}

} // namespace ordinalette::platform
