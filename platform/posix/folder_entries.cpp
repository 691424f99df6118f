#include "platform/posix/folder_entries.h"

#include "platform/debug_log.h"
#include "platform/path.h"
#include "platform/posix/dir_stream.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace ordinalette::platform {

namespace {

bool isDotOrDotDot(const char* name) {
    return name[0] == '.' && (name[1] == '\0' || (name[1] == '.' && name[2] == '\0'));
}

// Whether the entry of folder is a folder (following a link), and whether it is a link; the
// entry's type from readdir spares a stat for everything but links and unknown types.
bool classify(int dirFd, std::string_view folder, const dirent& entry, bool& isLink) {
    isLink = entry.d_type == DT_LNK;
    if (entry.d_type == DT_DIR)
        return true;
    if (entry.d_type != DT_LNK && entry.d_type != DT_UNKNOWN)
        return false;
    struct stat info {};
    if (entry.d_type == DT_UNKNOWN && fstatat(dirFd, entry.d_name, &info, AT_SYMLINK_NOFOLLOW) == 0)
        isLink = S_ISLNK(info.st_mode);
    if (fstatat(dirFd, entry.d_name, &info, 0) != 0) {
        // A dangling link, or an entry gone since the folder was read: no folder.
        logFailure("passed over the entry", joinPath(folder, entry.d_name), errno);
        return false;
    }
    return S_ISDIR(info.st_mode);
}

FolderProbe probeFolderAt(int parentFd, const std::string& path, bool wantSubfolders) {
    FolderProbe probe;
    struct stat info {};
    if (fstatat(parentFd, path.c_str(), &info, AT_SYMLINK_NOFOLLOW) != 0)
        return probe;
    probe.isLink = S_ISLNK(info.st_mode);
    if (probe.isLink && fstatat(parentFd, path.c_str(), &info, 0) != 0)
        return probe;
    probe.isFolder = S_ISDIR(info.st_mode);
    if (!probe.isFolder || !wantSubfolders)
        return probe;
    // Where the file system keeps link counts, each subdirectory adds one.
    if (info.st_nlink > 2) {
        probe.hasSubfolders = true;
        return probe;
    }
    const DirStream dir =
        adoptDirStream(openat(parentFd, path.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (!dir)
        return probe;
    const int fd = dirfd(dir.get());
    while (const dirent* entry = readdir(dir.get())) {
        bool isLink = false;
        if (!isDotOrDotDot(entry->d_name) && classify(fd, path, *entry, isLink)) {
            probe.hasSubfolders = true;
            break;
        }
    }
    return probe;
}

} // namespace

std::optional<std::vector<SubfolderEntry>> listSubfolders(const std::string& folder,
                                                          bool includeHidden) {
    const DirStream dir = openDirStream(folder);
    if (!dir)
        return std::nullopt;
    const int fd = dirfd(dir.get());
    std::vector<SubfolderEntry> folders;
    while (const dirent* entry = readdir(dir.get())) {
        if (isDotOrDotDot(entry->d_name) || (!includeHidden && entry->d_name[0] == '.'))
            continue;
        bool isLink = false;
        if (classify(fd, folder, *entry, isLink))
            folders.push_back({entry->d_name, isLink});
    }
    return folders;
}

FolderProbe probeFolder(const std::string& path, bool wantSubfolders) {
    return probeFolderAt(AT_FDCWD, path, wantSubfolders);
}

FolderProbe probeFolder(const DirectoryHandle& parent, const std::string& name,
                        bool wantSubfolders) {
    return probeFolderAt(static_cast<int>(parent.native()), name, wantSubfolders);
}

} // namespace ordinalette::platform
