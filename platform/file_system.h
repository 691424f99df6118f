#pragma once

#include "platform/error_number.h"
#include "platform/flag_set.h"
#include "platform/os_handle.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace ordinalette::platform {

// A set of entry attribute bits, numbered as on Windows (which may report further bits).
enum class Attribute : std::uint32_t {
    None = 0,
    ReadOnly = 0x01,
    Hidden = 0x02,
    System = 0x04,
    VolumeLabel = 0x08,
    Directory = 0x10,
    Archive = 0x20,
};

template <> inline constexpr bool kIsFlagSet<Attribute> = true;

struct DirectoryEntry {
    std::string_view name; // valid only during the visitor's call
    Attribute attributes = Attribute::None;
};

// What an enumeration reports.
struct EnumerationFilter {
    // Entries having any of these attributes are left out.
    Attribute excluded = Attribute::None;
    // Whether the read-only bit is looked up; on POSIX it costs one status query per entry.
    bool readOnly = true;
};

using EntryVisitor = std::function<void(const DirectoryEntry&)>;

// A new file open for writing, and its path.
struct TemporaryFile {
    FileHandle file;
    std::string path;
};

// Which file an entry is, as printable text that a move keeps and that a file made later in its
// place does not share: the kernel's file handle where the file system gives one (it carries the
// inode's generation; on FUSE, whose node numbers hold for one mount only, joined by the status
// below), else inode number, birth time, size and modification time; on Windows the
// volume serial number, the 64-bit file index, whose high bits are a sequence number, and the
// creation time.
using EntryIdentity = std::string;

// Which folder an entry is: the identity of the file system that holds it, which a remount
// under another device number keeps (statfs's f_fsid on POSIX, the volume serial number on
// Windows), and the folder's own identity there.
struct FileIdentity {
    std::string volume;
    EntryIdentity file;

    bool operator==(const FileIdentity&) const = default;
};

// Called with an entry's name (valid only during the call) and its file number.
using FileNumberVisitor = std::function<void(std::string_view name, std::uint64_t fileNumber)>;

// The file-system operations that the engine, the settings file and start-up use. Every result
// carries a Windows error number (error_number.h). Tests wrap the real implementation to make
// chosen calls fail.
class FileSystem {
public:
    virtual ~FileSystem() = default;

    // Visits every entry of the pattern's folder whose name matches the pattern's mask (the part
    // after the last path separator): "*" any run of characters, "?" one character, letter case
    // ignored, a mask ending in ".*" also matching names without a dot. "." and ".." are never
    // visited. Returns the error of opening the folder; a later failure ends the enumeration.
    [[nodiscard]] virtual int enumerate(std::string_view pattern, const EnumerationFilter& filter,
                                        const EntryVisitor& visit) = 0;
    // Attributes of the entry at path (relative paths resolve against the working directory).
    virtual Result<Attribute> attributes(std::string_view path) = 0;
    [[nodiscard]] virtual int changeDirectory(std::string_view path) = 0;
    // Full path of the working directory, without a trailing separator except for the root.
    virtual Result<std::string> currentDirectory() = 0;
    // Fails with AlreadyExists when any entry of that name exists.
    [[nodiscard]] virtual int createDirectory(std::string_view path) = 0;
    // Removes an empty directory.
    [[nodiscard]] virtual int removeDirectory(std::string_view path) = 0;

    // A handle of the directory at path (links followed, like changeDirectory).
    virtual Result<DirectoryHandle> openDirectory(std::string_view path) = 0;
    // A handle of the subdirectory name of parent; refuses a link planted in its place.
    virtual Result<DirectoryHandle> openSubdirectory(const DirectoryHandle& parent,
                                                     std::string_view name) = 0;
    // Moves the entry fromName of fromFolder to toName in toFolder without copying. Never
    // replaces an existing destination (AlreadyExists instead). Both names must be single file
    // names: a name holding a path separator, "." or ".." fails with PathNotFound.
    [[nodiscard]] virtual int moveFile(const DirectoryHandle& fromFolder, std::string_view fromName,
                                       const DirectoryHandle& toFolder,
                                       std::string_view toName) = 0;

    // The whole content of a file, which is opened so that others may read it but not write it.
    // An entry that is no regular file (a folder, a FIFO, a device) counts as missing
    // (FileNotFound) and is never opened; a file larger than maxSize fails with FileTooLarge.
    virtual Result<std::string> readFile(std::string_view path, std::size_t maxSize) = 0;
    // Like readFile, for a file that only the process's user may have written: a link in its
    // place is never followed, a file of another user or one that others may write is refused
    // (AccessDenied), and the size is checked before anything is read.
    virtual Result<std::string> readOwnFile(std::string_view path, std::size_t maxSize) = 0;
    // Whether the entry at path is a folder or a regular file of the process's user that no one
    // else may write (a link in its place is neither): None, or AccessDenied for anything else.
    virtual int checkPrivate(std::string_view path) = 0;
    // Creates the file or truncates an existing one, and keeps it from others while it is open.
    // Refuses (AccessDenied) a read-only file, whoever the process is, and an entry that is no
    // regular file; a link in place of the file is never followed.
    virtual Result<FileHandle> createFile(std::string_view path) = 0;
    // Writes all bytes in one request.
    [[nodiscard]] virtual int writeFile(const FileHandle& file, std::string_view bytes) = 0;
    // Waits until what was written to the file is on the storage device.
    [[nodiscard]] virtual int flushFile(const FileHandle& file) = 0;
    // Puts the file from in place of the file to in one step, replacing it when it exists, so
    // that a reader sees either the old or the new file, never a partial one.
    [[nodiscard]] virtual int replaceFile(std::string_view from, std::string_view to) = 0;
    // Deletes a file (not a directory).
    [[nodiscard]] virtual int removeFile(std::string_view path) = 0;

    // Replacing a file safely: the new content goes to a new file beside it, which then takes
    // its place (replaceFile).

    // The path that path leads to: the target of a symbolic link, followed to its end; path
    // itself when it is no link. Where links can be read without their targets (POSIX), a last
    // target that does not exist yet is given too; elsewhere such a link fails.
    virtual Result<std::string> followLinks(std::string_view path) = 0;
    // Opens an existing file for writing without truncating it, and keeps it from others while
    // it is open. FileNotFound when nothing of that name exists; refuses (AccessDenied) what
    // createFile refuses and a file the process may not write.
    virtual Result<FileHandle> openFileForWriting(std::string_view path) = 0;
    // How many names (hard links) the open file has.
    virtual Result<std::uint32_t> linkCount(const FileHandle& file) = 0;
    // Creates an empty file beside path under a fresh name that nobody can have prepared: it
    // never opens an existing entry and never follows a link. The file takes the permission bits
    // (on Windows the attributes) of like, when given, and, where the process may set it, its
    // owner.
    virtual Result<TemporaryFile> createTemporaryFile(std::string_view besidePath,
                                                      const FileHandle* like) = 0;
    // What the journal of a rename run needs: which file each entry is, and files and folder
    // entries that are on the storage device before the first file moves.

    // The identity of an open folder.
    virtual Result<FileIdentity> identity(const DirectoryHandle& folder) = 0;
    // The identity of the entry name of an open folder (a link is not followed); FileNotFound
    // when there is none.
    virtual Result<EntryIdentity> entryIdentity(const DirectoryHandle& folder,
                                                std::string_view name) = 0;
    // Visits every entry of an open folder ("." and ".." left out) with its file number, as the
    // folder's listing gives it, without asking each entry. Returns the error of reading the
    // folder; an entry may come twice or be missed only when it moves meanwhile.
    [[nodiscard]] virtual int enumerateFileNumbers(const DirectoryHandle& folder,
                                                   const FileNumberVisitor& visit) = 0;
    // Creates a file that does not exist yet (AlreadyExists otherwise, a link in its place
    // included), readable by its owner alone and kept from others while it is open.
    virtual Result<FileHandle> createNewFile(std::string_view path) = 0;
    // Waits until the names created, moved or removed in the folder are on the storage device.
    [[nodiscard]] virtual int flushDirectory(const DirectoryHandle& folder) = 0;
    // Creates the folder and every missing folder above it; an existing folder is no error.
    [[nodiscard]] virtual int createDirectories(std::string_view path) = 0;
};

// The platform's own file system, created at first use with the system code page (call
// setlocale before).
FileSystem& systemFileSystem();

} // namespace ordinalette::platform
