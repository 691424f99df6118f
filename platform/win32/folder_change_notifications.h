#pragma once

#include <atomic>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>
#include <windows.h>

namespace ordinalette::platform {

// The system's change notifications for many folders, each folder watched alone and not its
// subtree (under Wine a subtree's watch misses changes in folders that existed when it was
// armed). One wait takes at most 64 handles, so the folders are watched in groups, each by a
// thread of its own that waits on its group and the stop event, re-arms a notification that
// fired, notes its folder and sets the owner's event: the owner waits on that event beside its
// own.
class FolderChangeNotifications {
public:
    // Watches the folders for the changes of filter (FILE_NOTIFY_CHANGE_DIR_NAME: folders
    // created, removed or renamed) and sets changedEvent, which must outlive this object, for
    // each; a folder the system gives no notification for is left out.
    FolderChangeNotifications(const std::vector<std::string>& folders, HANDLE changedEvent,
                              DWORD filter = FILE_NOTIFY_CHANGE_DIR_NAME);
    // Stops and joins the threads, then closes the notifications.
    ~FolderChangeNotifications();
    FolderChangeNotifications(const FolderChangeNotifications&) = delete;
    FolderChangeNotifications& operator=(const FolderChangeNotifications&) = delete;

    // The folders watched, in the order given.
    const std::vector<std::string>& folders() const { return m_folders; }
    // The folders that changed since last asked, in the order given.
    std::vector<std::string> takeChanged();
    // Whether a group stopped watching because re-arming or waiting failed; the changed event
    // is set when it does.
    bool failed() const { return m_failed; }

private:
    using OwnedHandle = std::unique_ptr<void, decltype(&CloseHandle)>;
    using OwnedNotification = std::unique_ptr<void, decltype(&FindCloseChangeNotification)>;

    void watchGroup(std::size_t first, std::size_t count);

    std::vector<std::string> m_folders;
    std::vector<OwnedNotification> m_notifications; // one per folder
    OwnedHandle m_stopEvent;
    HANDLE m_changedEvent;
    std::mutex m_lock; // guards m_changed
    std::vector<bool> m_changed;
    std::atomic<bool> m_failed = false;
    std::vector<std::thread> m_groups;
};

} // namespace ordinalette::platform
