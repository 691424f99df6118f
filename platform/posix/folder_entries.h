#pragma once

#include "platform/os_handle.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace ordinalette::platform {

// A folder inside another: a directory or a symbolic link to one.
struct SubfolderEntry {
    std::string name;
    bool isLink = false;
};

// The subfolders of a folder, in the order the file system returns them; hidden ones (names
// starting with ".") only when includeHidden. nullopt when the folder cannot be read.
std::optional<std::vector<SubfolderEntry>> listSubfolders(const std::string& folder,
                                                          bool includeHidden);

// What a folder tree needs to know of one folder.
struct FolderProbe {
    bool isFolder = false;      // a directory or a link to one
    bool isLink = false;        // the path itself is a symbolic link
    bool hasSubfolders = false; // holds at least one directory, hidden ones included
};
// Probes a path. hasSubfolders is asked only when wanted; a subfolder is a directory or a link
// to one, and a folder that is a mount point is probed on the volume mounted there. A link
// count above 2 answers at once; any other folder is read until its first subfolder, since the
// count knows nothing of links and some file systems keep none.
FolderProbe probeFolder(const std::string& path, bool wantSubfolders);
// The same for an entry of an open folder, sparing the walk along the whole path.
FolderProbe probeFolder(const DirectoryHandle& parent, const std::string& name,
                        bool wantSubfolders);

} // namespace ordinalette::platform
