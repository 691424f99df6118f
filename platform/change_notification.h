#pragma once

#include "platform/os_handle.h"

#include <chrono>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace ordinalette::platform {

using EventHandle = OsHandle<struct EventHandleTag>;

// An event one thread sets and another waits for. A wait that reports it leaves the signal set
// until consume takes it; a stop event is simply never consumed.
class EventFlag {
public:
    EventFlag();
    void set();
    // Clears the signal; returns whether it was set.
    bool consume();
    NativeHandle waitHandle() const { return m_handle.native(); }

private:
    EventHandle m_handle;
};

// Change notification for folder names (a folder or a link to one created, removed or renamed,
// or the folder itself removed or unmounted) in a set of folders, one level deep each.
class FolderWatchSet {
public:
    FolderWatchSet();
    ~FolderWatchSet();
    FolderWatchSet(const FolderWatchSet&) = delete;
    FolderWatchSet& operator=(const FolderWatchSet&) = delete;
    // Watches exactly these folders from now on; folders the system refuses (gone, no
    // permission, out of watches) are left out. Those named in anew are watched from scratch,
    // as their paths may lead to other folders now (a volume mounted over one, or gone from
    // it). Returns the folders actually watched.
    std::vector<std::string> setFolders(const std::vector<std::string>& folders,
                                        const std::vector<std::string>& anew = {});
    std::size_t watchCount() const;
    // Reads every pending notification; true when one of them is a folder-name change. A link
    // that came counts when it leads to a folder now; one that went when it was watched itself,
    // as the tree watches every folder it shows.
    bool readChanges();
    // Signalled while a notification waits to be read; it stays the same handle for the set's
    // whole life, so that a thread may wait on it while another sets the folders.
    NativeHandle waitHandle() const;

private:
    // The system's watches of the folders, as each platform keeps them.
    class Watches;
    std::unique_ptr<Watches> m_watches;
};

// One handle of a wait: signalled while it is readable (POSIX) or set (Windows); -1 is passed
// over. A wait leaves every signal in place: the handle's owner takes it.
struct WaitHandle {
    NativeHandle handle = -1;
};
enum class WaitResult { Signalled, Timeout, Failed };
// Waits until a handle signals or the timeout passes (none: no limit), however many handles
// there are. Returns the index of the first signalled handle through signalled.
WaitResult waitForAny(const std::vector<WaitHandle>& handles,
                      std::optional<std::chrono::milliseconds> timeout, std::size_t& signalled);

} // namespace ordinalette::platform
