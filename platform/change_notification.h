#pragma once

#include "platform/os_handle.h"

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

namespace ordinalette::platform {

using EventHandle = OsHandle<struct EventHandleTag>;

// An event one thread sets and another waits for. Auto-reset: a wait that reports it takes
// the signal with it (call consume); a stop event is simply never consumed.
class EventFlag {
public:
    EventFlag();
    void set();
    // Clears the signal; returns whether it was set.
    bool consume();
    int waitHandle() const { return static_cast<int>(m_handle.native()); }

private:
    EventHandle m_handle;
};

// Change notification for folder names (a folder or a link to one created, removed or renamed,
// or the folder itself removed or unmounted) in a set of folders, one level deep each.
class FolderWatchSet {
public:
    FolderWatchSet();
    // Watches exactly these folders from now on; folders the system refuses (gone, no
    // permission, out of watches) are left out. Those named in anew are watched from scratch,
    // as their paths may lead to other folders now (a volume mounted over one, or gone from
    // it). Returns the folders actually watched.
    std::vector<std::string> setFolders(const std::vector<std::string>& folders,
                                        const std::vector<std::string>& anew = {});
    std::size_t watchCount() const { return m_watches.size(); }
    // Reads every pending notification; true when one of them is a folder-name change. A link
    // that came counts when it leads to a folder now; one that went when it was watched itself,
    // as the tree watches every folder it shows.
    bool readChanges();
    int waitHandle() const { return static_cast<int>(m_handle.native()); }

private:
    // Whether an entry that is no directory, named in an event of the watch, is a link to one.
    bool isFolderLink(int watch, std::uint32_t mask, const std::string& name) const;

    EventHandle m_handle;
    std::unordered_map<std::string, int> m_watches; // folder -> watch descriptor
    std::unordered_map<int, std::string> m_folders; // watch descriptor -> one folder it watches
};

// One handle of a wait: signalled when it is readable.
struct WaitHandle {
    int handle = -1;
};
enum class WaitResult { Signalled, Timeout, Failed };
// Waits until a handle signals or the timeout passes (none: no limit). Returns the index of
// the first signalled handle through signalled.
WaitResult waitForAny(const std::vector<WaitHandle>& handles,
                      std::optional<std::chrono::milliseconds> timeout, std::size_t& signalled);

} // namespace ordinalette::platform
