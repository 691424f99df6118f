#include "platform/posix/no_replace_move.h"

#include "platform/error_number.h"
#include "platform/posix/errno_mapping.h"

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace ordinalette::platform {

namespace {

// 0 for a call that succeeded, else the errno of its failure.
int result(int returned) {
    return returned == 0 ? 0 : errno;
}

// A hard link cannot replace anything. Until the old name is gone both names lead to the same
// file, so nothing is lost when a step fails; the new name is taken back then.
int moveByLink(MoveCalls& calls, FolderEntry from, FolderEntry to) {
    if (const int failure = calls.link(from, to))
        return windowsErrorFromErrno(failure);
    if (const int failure = calls.unlink(from)) {
        if (calls.unlink(to) != 0)
            return error::LeftUnderBothNames;
        return windowsErrorFromErrno(failure);
    }
    return error::None;
}

// A folder cannot be hard-linked. An empty folder of our own takes the new name first, and the
// rename, which puts a folder in the place of an empty folder only, replaces nothing but it.
int moveOntoPlaceholder(MoveCalls& calls, FolderEntry from, FolderEntry to) {
    if (const int failure = calls.makeDirectory(to))
        return windowsErrorFromErrno(failure);
    if (const int failure = calls.rename(from, to)) {
        // Whatever another program put into the placeholder meanwhile stays with it.
        calls.removeDirectory(to);
        return windowsErrorFromErrno(failure);
    }
    return error::None;
}

} // namespace

int MoveCalls::renameNoReplace(FolderEntry from, FolderEntry to) {
    return result(renameat2(from.folder, from.name, to.folder, to.name, RENAME_NOREPLACE));
}

int MoveCalls::rename(FolderEntry from, FolderEntry to) {
    return result(renameat(from.folder, from.name, to.folder, to.name));
}

int MoveCalls::link(FolderEntry from, FolderEntry to) {
    return result(linkat(from.folder, from.name, to.folder, to.name, 0));
}

int MoveCalls::unlink(FolderEntry entry) {
    return result(unlinkat(entry.folder, entry.name, 0));
}

int MoveCalls::makeDirectory(FolderEntry entry) {
    return result(mkdirat(entry.folder, entry.name, 0700));
}

int MoveCalls::removeDirectory(FolderEntry entry) {
    return result(unlinkat(entry.folder, entry.name, AT_REMOVEDIR));
}

MoveCalls& systemMoveCalls() {
    static MoveCalls calls;
    return calls;
}

int moveWithoutReplacing(MoveCalls& calls, FolderEntry from, FolderEntry to) {
    const int refused = calls.renameNoReplace(from, to);
    if (refused != EINVAL && refused != ENOSYS)
        return windowsErrorFromErrno(refused);
    // The file system does not take the flag (NFS, FUSE without rename2, ecryptfs).
    struct stat status {};
    if (fstatat(from.folder, from.name, &status, AT_SYMLINK_NOFOLLOW) != 0)
        return windowsErrorFromErrno(errno);
    return S_ISDIR(status.st_mode) ? moveOntoPlaceholder(calls, from, to)
                                   : moveByLink(calls, from, to);
}

} // namespace ordinalette::platform
