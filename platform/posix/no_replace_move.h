#pragma once

namespace ordinalette::platform {

// An entry of an open folder, as the *at system calls name it.
struct FolderEntry {
    int folder;
    const char* name;
};

// The system calls that a move is made of, each giving 0 or the errno of its failure. These are
// the real calls; tests wrap them to stand for a file system that refuses RENAME_NOREPLACE or
// fails a single step.
class MoveCalls {
public:
    virtual ~MoveCalls() = default;

    virtual int renameNoReplace(FolderEntry from, FolderEntry to);
    virtual int rename(FolderEntry from, FolderEntry to);
    virtual int link(FolderEntry from, FolderEntry to);
    virtual int unlink(FolderEntry entry);
    virtual int makeDirectory(FolderEntry entry);
    virtual int removeDirectory(FolderEntry entry);
};

// The real calls.
MoveCalls& systemMoveCalls();

// Moves an entry to a new name without ever replacing an existing entry of that name, also
// where the file system refuses RENAME_NOREPLACE; a Windows error number. When the fallback
// for files can neither remove the old name nor take the new one back, the file stays under
// both names and the result is error::LeftUnderBothNames.
[[nodiscard]] int moveWithoutReplacing(MoveCalls& calls, FolderEntry from, FolderEntry to);

} // namespace ordinalette::platform
