#include "platform/posix/posix_file_system.h"

#include "platform/debug_log.h"
#include "platform/file_name.h"
#include "platform/path.h"
#include "platform/posix/dir_stream.h"
#include "platform/posix/errno_mapping.h"
#include "platform/temporary_file.h"
#include "platform/wildcard.h"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <climits>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <iterator>
#include <memory>
#include <optional>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/statfs.h>
#include <unistd.h>

namespace ordinalette::platform {

namespace {

int lastError() {
    return windowsErrorFromErrno(errno);
}

// A path as the C functions take it; nullopt when it holds a NUL byte, which no name can hold.
std::optional<std::string> cPath(std::string_view path) {
    if (path.find('\0') != std::string_view::npos)
        return std::nullopt;
    return std::string(path);
}

bool isHiddenName(std::string_view name) {
    return name.size() > 1 && name.front() == '.' && name != "..";
}

Attribute typeAttributes(mode_t mode) {
    if (S_ISDIR(mode))
        return Attribute::Directory;
    if (S_ISREG(mode))
        return Attribute::Archive;
    return Attribute::System;
}

Attribute readOnlyAttribute(mode_t mode) {
    return (mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0 ? Attribute::ReadOnly : Attribute::None;
}

Attribute hiddenAttribute(std::string_view name) {
    return isHiddenName(name) ? Attribute::Hidden : Attribute::None;
}

// Attributes of an entry whose status could not be read through links: a dangling link is a
// "system" entry, like every entry that is neither a file nor a folder.
Result<Attribute> attributesWithoutFollowing(int folder, const char* name) {
    const int followError = lastError();
    struct stat status {};
    if (fstatat(folder, name, &status, AT_SYMLINK_NOFOLLOW) != 0 || !S_ISLNK(status.st_mode))
        return Result<Attribute>::failure(followError);
    return Result<Attribute>::success(Attribute::System);
}

// Attributes of one entry of an open folder. The entry's type comes from the folder listing
// where it can; only links, unknown types and the read-only bit need the entry's status.
Attribute entryAttributes(int folder, std::string_view folderPath, const dirent& entry,
                          bool withReadOnly) {
    const Attribute hidden = hiddenAttribute(entry.d_name);
    const bool needsStatus = withReadOnly || entry.d_type == DT_LNK || entry.d_type == DT_UNKNOWN;
    if (!needsStatus)
        return hidden | typeAttributes(DTTOIF(entry.d_type));
    struct stat status {};
    if (fstatat(folder, entry.d_name, &status, 0) != 0) {
        // Gone since the folder was read, or a dangling link: never a listed file.
        logFailure("passed over the entry", joinPath(folderPath, entry.d_name), errno);
        return hidden | Attribute::System;
    }
    return hidden | typeAttributes(status.st_mode) |
           (withReadOnly ? readOnlyAttribute(status.st_mode) : Attribute::None);
}

// The folder part of a path: "." for a bare name, "/" for a name in the root.
std::string_view folderOf(std::string_view path) {
    const std::size_t lastSeparator = path.rfind('/');
    if (lastSeparator == std::string_view::npos)
        return ".";
    return lastSeparator == 0 ? "/" : path.substr(0, lastSeparator);
}

// A listing of the folder at path (relative to the open folder at); null, with errno set, when
// the folder cannot be opened.
DirStream openListing(int at, const char* path) {
    return adoptDirStream(openat(at, path, O_RDONLY | O_DIRECTORY | O_CLOEXEC));
}

// Opens path only when it is a regular file, and gives its status. A FIFO or a device is never
// opened: opening one can block, reading one may never end. The open file is checked again in
// case the entry was swapped in between. notRegular is the error for an entry of another kind.
Result<FileHandle> openRegularFile(const std::string& path, int flags, int notRegular,
                                   struct stat& status) {
    if (stat(path.c_str(), &status) == 0 && !S_ISREG(status.st_mode))
        return Result<FileHandle>::failure(notRegular);
    FileHandle file(open(path.c_str(), flags | O_NONBLOCK | O_CLOEXEC, 0666));
    if (!file.valid())
        return Result<FileHandle>::failure(lastError());
    if (fstat(file.native(), &status) != 0)
        return Result<FileHandle>::failure(lastError());
    if (!S_ISREG(status.st_mode))
        return Result<FileHandle>::failure(notRegular);
    return Result<FileHandle>::success(std::move(file));
}

// Opens a regular file for writing (flags may add O_CREAT) and keeps every other reader and
// writer out while it is open. A link in its place is refused, never followed.
Result<FileHandle> openForWriting(const std::string& path, int flags) {
    struct stat status {};
    auto file = openRegularFile(path, O_WRONLY | O_NOFOLLOW | flags, error::AccessDenied, status);
    if (!file.ok())
        return file;
    // Windows refuses a read-only file to everyone; so do we, also where root could write it.
    if (readOnlyAttribute(status.st_mode) == Attribute::ReadOnly)
        return Result<FileHandle>::failure(error::AccessDenied);
    if (flock(file.value.native(), LOCK_EX | LOCK_NB) != 0)
        return Result<FileHandle>::failure(lastError());
    return file;
}

// Gives a new file the owner and group of the file it stands in for. Only a privileged process
// may give a file away; the group alone may still be set where the process belongs to it.
// Where neither works the file stays the process's own.
bool keepOwner(int file, const struct stat& model) {
    return fchown(file, model.st_uid, model.st_gid) == 0 ||
           fchown(file, static_cast<uid_t>(-1), model.st_gid) == 0;
}

// Reads an open file to its end; FileTooLarge as soon as it holds more than maxSize bytes.
Result<std::string> readAll(int file, std::size_t maxSize) {
    std::string content;
    char buffer[16384];
    for (;;) {
        const ssize_t count = read(file, buffer, sizeof buffer);
        if (count < 0) {
            if (errno == EINTR)
                continue;
            return Result<std::string>::failure(lastError());
        }
        if (count == 0)
            break;
        content.append(buffer, static_cast<std::size_t>(count));
        if (content.size() > maxSize)
            return Result<std::string>::failure(error::FileTooLarge);
    }
    return Result<std::string>::success(std::move(content));
}

// Whether an entry belongs to the process's user and no one else may write it.
bool isOwnAndPrivate(const struct stat& status) {
    return status.st_uid == geteuid() && (status.st_mode & (S_IWGRP | S_IWOTH)) == 0;
}

// Appends bytes as lowercase hexadecimal digits.
void appendHex(std::string& text, const unsigned char* bytes, std::size_t size) {
    constexpr char kDigits[] = "0123456789abcdef";
    for (std::size_t i = 0; i < size; ++i) {
        text += kDigits[bytes[i] >> 4];
        text += kDigits[bytes[i] & 0xF];
    }
}

// Appends a number in decimal. Identities are asked for every file of a run, so they are built
// in one text, without a temporary text per part.
void appendNumber(std::string& text, std::uint64_t number) {
    char digits[20];
    const auto end = std::to_chars(std::begin(digits), std::end(digits), number).ptr;
    text.append(digits, end);
}

// The kernel's handle of an entry: its type, and as identity "h" type ":" bytes.
struct HandleIdentity {
    int type = 0;
    EntryIdentity text;
};

// The handle of an entry; nullopt, with errno set, where the file system gives none.
std::optional<HandleIdentity> handleIdentity(int folder, const char* name, int flags) {
    struct {
        file_handle header;
        unsigned char bytes[MAX_HANDLE_SZ];
    } handle;
    handle.header.handle_bytes = MAX_HANDLE_SZ;
    int mountId = 0;
    if (name_to_handle_at(folder, name, &handle.header, &mountId, flags) != 0)
        return std::nullopt;
    HandleIdentity identity{handle.header.handle_type, {}};
    identity.text.reserve(16 + 2 * std::size_t{handle.header.handle_bytes});
    identity.text += 'h';
    appendNumber(identity.text, static_cast<std::uint32_t>(handle.header.handle_type));
    identity.text += ':';
    appendHex(identity.text, handle.header.f_handle, handle.header.handle_bytes);
    return identity;
}

// What an entry's identity is made of where the file system gives no handle.
enum class StatusParts {
    Folder, // inode number and birth time: a folder's size and time change with its entries
    File,   // inode number, birth time, size and modification time
};

// Appends a time stamp as seconds "." nanoseconds.
void appendTime(std::string& text, const statx_timestamp& time) {
    if (time.tv_sec < 0)
        text += '-';
    appendNumber(text, time.tv_sec < 0 ? 0 - static_cast<std::uint64_t>(time.tv_sec)
                                       : static_cast<std::uint64_t>(time.tv_sec));
    text += '.';
    appendNumber(text, time.tv_nsec);
}

// An entry's inode number with what a later file in the same inode differs in: its birth time
// where the file system keeps one and, for a file, its size and its modification time; appended
// to identity.
bool appendStatusIdentity(EntryIdentity& identity, int folder, const char* name, int flags,
                          StatusParts parts) {
    struct statx status {};
    if (statx(folder, name, flags, STATX_INO | STATX_BTIME | STATX_SIZE | STATX_MTIME, &status) !=
        0)
        return false;
    identity += 's';
    appendNumber(identity, status.stx_ino);
    if (status.stx_mask & STATX_BTIME) {
        identity += 'b';
        appendTime(identity, status.stx_btime);
    }
    if (parts == StatusParts::Folder)
        return true;
    identity += 'z';
    appendNumber(identity, status.stx_size);
    identity += 'm';
    appendTime(identity, status.stx_mtime);
    return true;
}

// Handle types of FUSE, whose handles carry the node number the daemon gave for this mount only:
// after a remount another file may have it.
constexpr int kFuseHandleTypes[] = {0x81, 0x82};

Result<EntryIdentity> identityAt(int folder, const char* name, int flags, StatusParts parts) {
    EntryIdentity identity;
    if (auto handle = handleIdentity(folder, name, flags)) {
        if (std::find(std::begin(kFuseHandleTypes), std::end(kFuseHandleTypes), handle->type) ==
            std::end(kFuseHandleTypes))
            return Result<EntryIdentity>::success(std::move(handle->text));
        identity = std::move(handle->text);
        identity += '+';
    } else if (errno != EOPNOTSUPP && errno != EOVERFLOW) {
        return Result<EntryIdentity>::failure(lastError());
    }
    if (!appendStatusIdentity(identity, folder, name, flags | AT_SYMLINK_NOFOLLOW, parts))
        return Result<EntryIdentity>::failure(lastError());
    return Result<EntryIdentity>::success(std::move(identity));
}

// The file system's identity: its type and f_fsid, which a remount keeps, or, where the file
// system has no f_fsid, the device number as the only identity there is.
Result<std::string> volumeIdentity(int folder) {
    struct statfs volume {};
    struct stat status {};
    if (fstatfs(folder, &volume) != 0 || fstat(folder, &status) != 0)
        return Result<std::string>::failure(lastError());
    int fsid[2];
    static_assert(sizeof fsid == sizeof volume.f_fsid);
    std::memcpy(fsid, &volume.f_fsid, sizeof fsid);
    std::string identity = "fs" + std::to_string(static_cast<unsigned long>(volume.f_type)) + ':' +
                           std::to_string(static_cast<unsigned>(fsid[0])) + ':' +
                           std::to_string(static_cast<unsigned>(fsid[1]));
    if (fsid[0] == 0 && fsid[1] == 0)
        identity += ":dev" + std::to_string(status.st_dev);
    return Result<std::string>::success(std::move(identity));
}

} // namespace

void closeNativeHandle(NativeHandle native) {
    close(static_cast<int>(native));
}

PosixFileSystem::PosixFileSystem(CodePage codePage, MoveCalls& moveCalls)
    : m_codePage(std::move(codePage)), m_moveCalls(moveCalls) {}

int PosixFileSystem::enumerate(std::string_view pattern, const EnumerationFilter& filter,
                               const EntryVisitor& visit) {
    const std::string_view folder = folderOf(pattern);
    const std::string_view mask = pattern.substr(pattern.rfind('/') + 1);

    const auto path = cPath(folder);
    if (!path)
        return error::InvalidName;
    const DirStream dir = openListing(AT_FDCWD, path->c_str());
    if (!dir)
        return lastError();
    const int fd = dirfd(dir.get());
    const WildcardMask wildcard(mask, m_codePage);
    // A read error simply ends the listing: what was found so far stands.
    while (const dirent* entry = readdir(dir.get())) {
        const std::string_view name = entry->d_name;
        if (name == "." || name == ".." || !wildcard.matches(name))
            continue;
        if (hasAny(filter.excluded, Attribute::Hidden) && isHiddenName(name))
            continue;
        const Attribute attributes = entryAttributes(fd, folder, *entry, filter.readOnly);
        if (!hasAny(attributes, filter.excluded))
            visit(DirectoryEntry{name, attributes});
    }
    return error::None;
}

Result<Attribute> PosixFileSystem::attributes(std::string_view path) {
    const auto cpath = cPath(path);
    if (!cpath)
        return Result<Attribute>::failure(error::InvalidName);
    const Attribute hidden = hiddenAttribute(path.substr(path.rfind('/') + 1));
    struct stat status {};
    if (stat(cpath->c_str(), &status) != 0) {
        Result<Attribute> link = attributesWithoutFollowing(AT_FDCWD, cpath->c_str());
        if (link.ok())
            link.value |= hidden;
        return link;
    }
    return Result<Attribute>::success(hidden | typeAttributes(status.st_mode) |
                                      readOnlyAttribute(status.st_mode));
}

int PosixFileSystem::changeDirectory(std::string_view path) {
    const auto cpath = cPath(path);
    if (!cpath)
        return error::InvalidName;
    return chdir(cpath->c_str()) == 0 ? error::None : lastError();
}

Result<std::string> PosixFileSystem::currentDirectory() {
    const std::unique_ptr<char, decltype(&std::free)> path(getcwd(nullptr, 0), &std::free);
    if (!path)
        return Result<std::string>::failure(lastError());
    return Result<std::string>::success(path.get());
}

int PosixFileSystem::createDirectory(std::string_view path) {
    const auto cpath = cPath(path);
    if (!cpath)
        return error::InvalidName;
    return mkdir(cpath->c_str(), 0777) == 0 ? error::None : lastError();
}

int PosixFileSystem::removeDirectory(std::string_view path) {
    const auto cpath = cPath(path);
    if (!cpath)
        return error::InvalidName;
    return rmdir(cpath->c_str()) == 0 ? error::None : lastError();
}

Result<DirectoryHandle> PosixFileSystem::openDirectory(std::string_view path) {
    const auto cpath = cPath(path);
    if (!cpath)
        return Result<DirectoryHandle>::failure(error::InvalidName);
    const int fd = open(cpath->c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return Result<DirectoryHandle>::failure(lastError());
    return Result<DirectoryHandle>::success(DirectoryHandle(fd));
}

Result<DirectoryHandle> PosixFileSystem::openSubdirectory(const DirectoryHandle& parent,
                                                          std::string_view name) {
    const auto cname = cPath(name);
    if (!cname)
        return Result<DirectoryHandle>::failure(error::InvalidName);
    if (!isSingleFileName(name))
        return Result<DirectoryHandle>::failure(error::PathNotFound);
    const int fd =
        openat(parent.native(), cname->c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0)
        return Result<DirectoryHandle>::failure(lastError());
    return Result<DirectoryHandle>::success(DirectoryHandle(fd));
}

int PosixFileSystem::moveFile(const DirectoryHandle& fromFolder, std::string_view fromName,
                              const DirectoryHandle& toFolder, std::string_view toName) {
    const auto from = cPath(fromName);
    const auto to = cPath(toName);
    if (!from || !to)
        return error::InvalidName;
    if (!isSingleFileName(fromName) || !isSingleFileName(toName))
        return error::PathNotFound;
    return moveWithoutReplacing(m_moveCalls,
                                FolderEntry{static_cast<int>(fromFolder.native()), from->c_str()},
                                FolderEntry{static_cast<int>(toFolder.native()), to->c_str()});
}

Result<std::string> PosixFileSystem::readFile(std::string_view path, std::size_t maxSize) {
    const auto cpath = cPath(path);
    if (!cpath)
        return Result<std::string>::failure(error::InvalidName);
    struct stat status {};
    const auto file = openRegularFile(*cpath, O_RDONLY, error::FileNotFound, status);
    if (!file.ok())
        return Result<std::string>::failure(file.error);
    // Others may read along, but a writer that holds the file keeps us out and we keep
    // writers out while reading (advisory locks: what POSIX offers for sharing modes).
    if (flock(file.value.native(), LOCK_SH | LOCK_NB) != 0)
        return Result<std::string>::failure(lastError());
    return readAll(static_cast<int>(file.value.native()), maxSize);
}

Result<std::string> PosixFileSystem::readOwnFile(std::string_view path, std::size_t maxSize) {
    const auto cpath = cPath(path);
    if (!cpath)
        return Result<std::string>::failure(error::InvalidName);
    const FileHandle file(open(cpath->c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
    if (!file.valid())
        return Result<std::string>::failure(errno == ELOOP ? error::AccessDenied : lastError());
    struct stat status {};
    if (fstat(file.native(), &status) != 0)
        return Result<std::string>::failure(lastError());
    if (!S_ISREG(status.st_mode))
        return Result<std::string>::failure(error::FileNotFound);
    if (!isOwnAndPrivate(status))
        return Result<std::string>::failure(error::AccessDenied);
    if (static_cast<std::uintmax_t>(status.st_size) > maxSize)
        return Result<std::string>::failure(error::FileTooLarge);
    if (flock(file.native(), LOCK_SH | LOCK_NB) != 0)
        return Result<std::string>::failure(lastError());
    return readAll(static_cast<int>(file.native()), maxSize);
}

int PosixFileSystem::checkPrivate(std::string_view path) {
    const auto cpath = cPath(path);
    if (!cpath)
        return error::InvalidName;
    struct stat status {};
    if (lstat(cpath->c_str(), &status) != 0)
        return lastError();
    return (S_ISDIR(status.st_mode) || S_ISREG(status.st_mode)) && isOwnAndPrivate(status)
               ? error::None
               : error::AccessDenied;
}

Result<FileHandle> PosixFileSystem::createFile(std::string_view path) {
    const auto cpath = cPath(path);
    if (!cpath)
        return Result<FileHandle>::failure(error::InvalidName);
    // Truncated only once the lock is held, so that a file in use by another holder of the
    // lock is refused unharmed.
    auto file = openForWriting(*cpath, O_CREAT);
    if (file.ok() && ftruncate(file.value.native(), 0) != 0)
        return Result<FileHandle>::failure(lastError());
    return file;
}

int PosixFileSystem::writeFile(const FileHandle& file, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t written = write(file.native(), bytes.data(), bytes.size());
        if (written < 0) {
            if (errno == EINTR)
                continue;
            return lastError();
        }
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    return error::None;
}

int PosixFileSystem::flushFile(const FileHandle& file) {
    return fsync(file.native()) == 0 ? error::None : lastError();
}

int PosixFileSystem::replaceFile(std::string_view from, std::string_view to) {
    const auto cfrom = cPath(from);
    const auto cto = cPath(to);
    if (!cfrom || !cto)
        return error::InvalidName;
    if (rename(cfrom->c_str(), cto->c_str()) != 0)
        return lastError();
    // The new name is durable only once the folder that holds it is on the device too.
    const auto folder = cPath(folderOf(to));
    const FileHandle handle(open(folder->c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (handle.valid())
        fsync(handle.native());
    return error::None;
}

int PosixFileSystem::removeFile(std::string_view path) {
    const auto cpath = cPath(path);
    if (!cpath)
        return error::InvalidName;
    return unlink(cpath->c_str()) == 0 ? error::None : lastError();
}

Result<std::string> PosixFileSystem::followLinks(std::string_view path) {
    auto current = cPath(path);
    if (!current)
        return Result<std::string>::failure(error::InvalidName);
    // As many links in a row as the system itself follows before it gives up with ELOOP.
    constexpr int kMostLinks = 40;
    for (int followed = 0; followed <= kMostLinks; ++followed) {
        std::string target(PATH_MAX, '\0');
        const ssize_t length = readlink(current->c_str(), target.data(), target.size());
        if (length < 0) {
            // EINVAL: no link; ENOENT: nothing there yet, which a writer creates.
            if (errno == EINVAL || errno == ENOENT)
                return Result<std::string>::success(std::move(*current));
            return Result<std::string>::failure(lastError());
        }
        if (static_cast<std::size_t>(length) == target.size())
            return Result<std::string>::failure(error::PathTooLong);
        target.resize(static_cast<std::size_t>(length));
        // A relative target is relative to the folder that holds the link.
        *current = target.front() == '/' ? target : joinPath(folderOf(*current), target);
    }
    return Result<std::string>::failure(error::CannotResolveName);
}

Result<FileHandle> PosixFileSystem::openFileForWriting(std::string_view path) {
    const auto cpath = cPath(path);
    if (!cpath)
        return Result<FileHandle>::failure(error::InvalidName);
    return openForWriting(*cpath, 0);
}

Result<std::uint32_t> PosixFileSystem::linkCount(const FileHandle& file) {
    struct stat status {};
    if (fstat(file.native(), &status) != 0)
        return Result<std::uint32_t>::failure(lastError());
    return Result<std::uint32_t>::success(static_cast<std::uint32_t>(status.st_nlink));
}

Result<TemporaryFile> PosixFileSystem::createTemporaryFile(std::string_view besidePath,
                                                           const FileHandle* like) {
    if (!cPath(besidePath))
        return Result<TemporaryFile>::failure(error::InvalidName);
    struct stat model {};
    if (like && fstat(like->native(), &model) != 0)
        return Result<TemporaryFile>::failure(lastError());
    auto temporary = createUniqueFile(besidePath, [&](const std::string& candidate) {
        // O_EXCL refuses every existing entry, a link included, and O_NOFOLLOW says so again.
        // A copy of another file starts private until it has that file's owner and mode.
        FileHandle file(open(candidate.c_str(),
                             O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC,
                             like ? 0600 : 0666));
        if (!file.valid())
            return Result<FileHandle>::failure(lastError());
        return Result<FileHandle>::success(std::move(file));
    });
    if (!temporary.ok() || !like)
        return temporary;
    // The owner first: a change of owner may clear mode bits.
    keepOwner(static_cast<int>(temporary.value.file.native()), model);
    if (fchmod(static_cast<int>(temporary.value.file.native()), model.st_mode & 0777) != 0) {
        const int failure = lastError();
        temporary.value.file.reset();
        unlink(temporary.value.path.c_str());
        return Result<TemporaryFile>::failure(failure);
    }
    return temporary;
}

Result<FileIdentity> PosixFileSystem::identity(const DirectoryHandle& folder) {
    const int fd = static_cast<int>(folder.native());
    auto volume = volumeIdentity(fd);
    if (!volume.ok())
        return Result<FileIdentity>::failure(volume.error);
    auto file = identityAt(fd, "", AT_EMPTY_PATH, StatusParts::Folder);
    if (!file.ok())
        return Result<FileIdentity>::failure(file.error);
    return Result<FileIdentity>::success(
        FileIdentity{std::move(volume.value), std::move(file.value)});
}

Result<EntryIdentity> PosixFileSystem::entryIdentity(const DirectoryHandle& folder,
                                                     std::string_view name) {
    const auto cname = cPath(name);
    if (!cname)
        return Result<EntryIdentity>::failure(error::InvalidName);
    if (!isSingleFileName(name))
        return Result<EntryIdentity>::failure(error::PathNotFound);
    return identityAt(static_cast<int>(folder.native()), cname->c_str(), 0, StatusParts::File);
}

int PosixFileSystem::enumerateFileNumbers(const DirectoryHandle& folder,
                                          const FileNumberVisitor& visit) {
    // A listing of its own, so that the handle's position is neither used nor moved.
    const DirStream dir = openListing(static_cast<int>(folder.native()), ".");
    if (!dir)
        return lastError();
    for (;;) {
        errno = 0;
        const dirent* entry = readdir(dir.get());
        if (!entry)
            return lastError();
        const std::string_view name = entry->d_name;
        if (name != "." && name != "..")
            visit(name, static_cast<std::uint64_t>(entry->d_ino));
    }
}

Result<FileHandle> PosixFileSystem::createNewFile(std::string_view path) {
    const auto cpath = cPath(path);
    if (!cpath)
        return Result<FileHandle>::failure(error::InvalidName);
    FileHandle file(
        open(cpath->c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600));
    if (!file.valid())
        return Result<FileHandle>::failure(lastError());
    // The lock is what keeps a reader out (readFile asks for a shared one without waiting).
    if (flock(file.native(), LOCK_EX | LOCK_NB) != 0)
        return Result<FileHandle>::failure(lastError());
    return Result<FileHandle>::success(std::move(file));
}

int PosixFileSystem::flushDirectory(const DirectoryHandle& folder) {
    if (fsync(static_cast<int>(folder.native())) == 0)
        return error::None;
    // A file system that cannot flush a folder keeps nothing of it to flush.
    return errno == EINVAL ? error::None : lastError();
}

int PosixFileSystem::createDirectories(std::string_view path) {
    const auto cpath = cPath(path);
    if (!cpath)
        return error::InvalidName;
    // Each folder from the top down; one that exists already is passed, one that is a file
    // makes the next level fail. The folders are the user's alone, as the XDG rules ask.
    for (std::size_t end = path.find('/', 1);; end = path.find('/', end + 1)) {
        const std::string folder = cpath->substr(0, end);
        if (mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST)
            return lastError();
        if (end == std::string_view::npos)
            break;
    }
    struct stat status {};
    if (stat(cpath->c_str(), &status) != 0)
        return lastError();
    return S_ISDIR(status.st_mode) ? error::None : error::AlreadyExists;
}

FileSystem& systemFileSystem() {
    static PosixFileSystem fileSystem(CodePage::system());
    return fileSystem;
}

} // namespace ordinalette::platform
