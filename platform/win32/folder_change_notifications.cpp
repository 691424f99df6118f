#include "platform/win32/folder_change_notifications.h"

#include <algorithm>

namespace ordinalette::platform {

namespace {

// A group's wait holds the stop event and the notifications of its folders.
constexpr std::size_t kGroupSize = MAXIMUM_WAIT_OBJECTS - 1;

} // namespace

FolderChangeNotifications::FolderChangeNotifications(const std::vector<std::string>& folders,
                                                     HANDLE changedEvent, DWORD filter)
    : m_stopEvent(CreateEventA(nullptr, TRUE, FALSE, nullptr), &CloseHandle),
      m_changedEvent(changedEvent) {
    for (const std::string& folder : folders) {
        const HANDLE notification = FindFirstChangeNotificationA(folder.c_str(), FALSE, filter);
        if (notification == INVALID_HANDLE_VALUE)
            continue;
        m_folders.push_back(folder);
        m_notifications.emplace_back(notification, &FindCloseChangeNotification);
    }
    m_changed.assign(m_folders.size(), false);
    for (std::size_t first = 0; first < m_folders.size(); first += kGroupSize) {
        const std::size_t count = std::min(kGroupSize, m_folders.size() - first);
        m_groups.emplace_back([this, first, count] { watchGroup(first, count); });
    }
}

FolderChangeNotifications::~FolderChangeNotifications() {
    SetEvent(m_stopEvent.get());
    for (std::thread& group : m_groups)
        group.join();
}

std::vector<std::string> FolderChangeNotifications::takeChanged() {
    std::vector<std::string> changed;
    const std::lock_guard lock(m_lock);
    for (std::size_t i = 0; i < m_folders.size(); ++i) {
        if (m_changed[i])
            changed.push_back(m_folders[i]);
    }
    std::fill(m_changed.begin(), m_changed.end(), false);
    return changed;
}

void FolderChangeNotifications::watchGroup(std::size_t first, std::size_t count) {
    std::vector<HANDLE> handles{m_stopEvent.get()};
    for (std::size_t i = first; i < first + count; ++i)
        handles.push_back(m_notifications[i].get());
    for (;;) {
        const DWORD woken = WaitForMultipleObjects(static_cast<DWORD>(handles.size()),
                                                   handles.data(), FALSE, INFINITE);
        if (woken == WAIT_OBJECT_0)
            return;
        const std::size_t position = woken - WAIT_OBJECT_0;
        if (position >= handles.size() || !FindNextChangeNotification(handles[position])) {
            m_failed = true;
            SetEvent(m_changedEvent);
            return;
        }
        {
            const std::lock_guard lock(m_lock);
            m_changed[first + position - 1] = true;
        }
        SetEvent(m_changedEvent);
    }
}

} // namespace ordinalette::platform
