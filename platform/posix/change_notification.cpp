#include "platform/change_notification.h"

#include "platform/debug_log.h"

#include <array>
#include <cerrno>
#include <cstdint>
#include <poll.h>
#include <set>
#include <sys/eventfd.h>
#include <sys/inotify.h>
#include <sys/stat.h>
#include <unistd.h>
#include <unordered_map>

namespace ordinalette::platform {

namespace {

constexpr std::uint32_t kFolderNameEvents = IN_CREATE | IN_DELETE | IN_MOVED_FROM | IN_MOVED_TO |
                                            IN_DELETE_SELF | IN_MOVE_SELF | IN_ONLYDIR;

int fd(const EventHandle& handle) {
    return static_cast<int>(handle.native());
}

} // namespace

// One inotify instance with a watch per folder.
class FolderWatchSet::Watches {
public:
    std::vector<std::string> setFolders(const std::vector<std::string>& folders,
                                        const std::vector<std::string>& anew);
    bool readChanges();
    std::size_t count() const { return m_watches.size(); }
    NativeHandle handle() const { return m_handle.native(); }

private:
    // Whether an entry that is no directory, named in an event of the watch, is a link to one.
    bool isFolderLink(int watch, std::uint32_t mask, const std::string& name) const;

    EventHandle m_handle{inotify_init1(IN_CLOEXEC | IN_NONBLOCK)};
    std::unordered_map<std::string, int> m_watches; // folder -> watch descriptor
    std::unordered_map<int, std::string> m_folders; // watch descriptor -> one folder it watches
};

EventFlag::EventFlag() : m_handle(eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK)) {}

void EventFlag::set() {
    const std::uint64_t one = 1;
    [[maybe_unused]] const auto written = write(fd(m_handle), &one, sizeof one);
}

bool EventFlag::consume() {
    std::uint64_t count = 0;
    return read(fd(m_handle), &count, sizeof count) == sizeof count && count > 0;
}

FolderWatchSet::FolderWatchSet() : m_watches(std::make_unique<Watches>()) {}

FolderWatchSet::~FolderWatchSet() = default;

std::vector<std::string> FolderWatchSet::setFolders(const std::vector<std::string>& folders,
                                                    const std::vector<std::string>& anew) {
    return m_watches->setFolders(folders, anew);
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

std::vector<std::string>
FolderWatchSet::Watches::setFolders(const std::vector<std::string>& folders,
                                    const std::vector<std::string>& anew) {
    const std::set<std::string> wanted(folders.begin(), folders.end());
    const std::set<std::string> renewed(anew.begin(), anew.end());
    std::set<int> dropped;
    for (auto it = m_watches.begin(); it != m_watches.end();) {
        if (wanted.count(it->first) && !renewed.count(it->first)) {
            ++it;
            continue;
        }
        dropped.insert(it->second);
        it = m_watches.erase(it);
    }
    std::vector<std::string> watched;
    for (const auto& folder : wanted) {
        if (!m_watches.count(folder)) {
            const int watch = inotify_add_watch(fd(m_handle), folder.c_str(), kFolderNameEvents);
            if (watch < 0) {
                logFailure("cannot watch the folder", folder, errno);
                continue;
            }
            m_watches.emplace(folder, watch);
            m_folders.emplace(watch, folder);
        }
        watched.push_back(folder);
    }
    // Two paths of one folder ("/home" and the mount "/home/") share a watch: it goes only
    // when no path that stays still uses it.
    for (const auto& [folder, watch] : m_watches)
        dropped.erase(watch);
    for (const int watch : dropped) {
        inotify_rm_watch(fd(m_handle), watch);
        m_folders.erase(watch);
    }
    return watched;
}

bool FolderWatchSet::Watches::isFolderLink(int watch, std::uint32_t mask,
                                           const std::string& name) const {
    const auto folder = m_folders.find(watch);
    if (name.empty() || folder == m_folders.end())
        return false;
    const std::string path =
        folder->second.ends_with('/') ? folder->second + name : folder->second + "/" + name;
    if (mask & (IN_CREATE | IN_MOVED_TO)) {
        struct stat target {};
        return stat(path.c_str(), &target) == 0 && S_ISDIR(target.st_mode);
    }
    // Where a link that went led is no longer known; the tree watched it while it showed it.
    return (mask & (IN_DELETE | IN_MOVED_FROM)) && m_watches.count(path) > 0;
}

bool FolderWatchSet::Watches::readChanges() {
    bool folderChanged = false;
    alignas(inotify_event) std::array<char, 16384> buffer{};
    for (;;) {
        const ssize_t length = read(fd(m_handle), buffer.data(), buffer.size());
        if (length <= 0)
            break;
        for (ssize_t pos = 0; pos < length;) {
            const auto* event = reinterpret_cast<const inotify_event*>(buffer.data() + pos);
            // Files coming and going are no change of the folder tree; folders, links to
            // them and the watched folder itself (removed, moved, unmounted) are.
            if ((event->mask & IN_ISDIR) ||
                (event->mask & (IN_DELETE_SELF | IN_MOVE_SELF | IN_UNMOUNT | IN_Q_OVERFLOW)) ||
                (!folderChanged &&
                 isFolderLink(event->wd, event->mask, event->len > 0 ? event->name : "")))
                folderChanged = true;
            pos += static_cast<ssize_t>(sizeof(inotify_event) + event->len);
        }
    }
    return folderChanged;
}

WaitResult waitForAny(const std::vector<WaitHandle>& handles,
                      std::optional<std::chrono::milliseconds> timeout, std::size_t& signalled) {
    std::vector<pollfd> polled;
    polled.reserve(handles.size());
    for (const auto& handle : handles)
        polled.push_back({static_cast<int>(handle.handle), POLLIN, 0});
    int result = 0;
    do {
        result =
            poll(polled.data(), polled.size(), timeout ? static_cast<int>(timeout->count()) : -1);
    } while (result < 0 && errno == EINTR);
    if (result < 0)
        return WaitResult::Failed;
    if (result == 0)
        return WaitResult::Timeout;
    for (std::size_t i = 0; i < polled.size(); ++i) {
        if (polled[i].revents != 0) {
            signalled = i;
            return WaitResult::Signalled;
        }
    }
    return WaitResult::Failed;
}

} // namespace ordinalette::platform
