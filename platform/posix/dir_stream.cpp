#include "platform/posix/dir_stream.h"

#include <cerrno>
#include <unistd.h>

namespace ordinalette::platform {

DirStream openDirStream(const std::string& folder) {
    return DirStream(opendir(folder.c_str()));
}

DirStream adoptDirStream(int folderFd) {
    if (folderFd < 0)
        return nullptr;
    DirStream dir(fdopendir(folderFd));
    if (!dir) {
        const int failure = errno;
        close(folderFd);
        errno = failure;
    }
    return dir;
}

} // namespace ordinalette::platform
