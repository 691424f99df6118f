#pragma once

#include <dirent.h>
#include <memory>
#include <string>

namespace ordinalette::platform {

struct DirStreamCloser {
    void operator()(DIR* dir) const { closedir(dir); }
};
// An open directory stream, closed when it goes.
using DirStream = std::unique_ptr<DIR, DirStreamCloser>;

// Opens the directory stream of a folder; null when it cannot be opened (errno says why).
DirStream openDirStream(const std::string& folder);
// Makes a directory stream of an open folder descriptor, which the stream then owns: the
// descriptor is closed when no stream can be made of it. Null for -1 or on failure, with errno
// saying why.
DirStream adoptDirStream(int folderFd);

} // namespace ordinalette::platform
