#include "platform/posix/posix_file_system.h"

#include "platform/debug_log.h"
#include "platform/path.h"
#include "platform/posix/dir_stream.h"
#include "platform/posix/errno_mapping.h"
#include "platform/wildcard.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <dirent.h>
#include <fcntl.h>
#include <memory>
#include <optional>
#include <sys/file.h>
#include <sys/stat.h>
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

// A name that stays inside its folder: neither "." nor "..", and holding no path separator.
bool isSingleName(std::string_view name) {
    return name != "." && name != ".." && name.find('/') == std::string_view::npos;
}

bool isHiddenName(std::string_view name) {
    return name.size() > 1 && name.front() == '.' && name != "..";
}

std::uint32_t typeAttributes(mode_t mode) {
    if (S_ISDIR(mode))
        return attribute::Directory;
    if (S_ISREG(mode))
        return attribute::Archive;
    return attribute::System;
}

std::uint32_t readOnlyAttribute(mode_t mode) {
    return (mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0 ? attribute::ReadOnly : 0;
}

// Attributes of an entry whose status could not be read through links: a dangling link is a
// "system" entry, like every entry that is neither a file nor a folder.
Result<std::uint32_t> attributesWithoutFollowing(int folder, const char* name) {
    const int followError = lastError();
    struct stat status {};
    if (fstatat(folder, name, &status, AT_SYMLINK_NOFOLLOW) != 0 || !S_ISLNK(status.st_mode))
        return Result<std::uint32_t>::failure(followError);
    return Result<std::uint32_t>::success(attribute::System);
}

// Attributes of one entry of an open folder. The entry's type comes from the folder listing
// where it can; only links, unknown types and the read-only bit need the entry's status.
std::uint32_t entryAttributes(int folder, std::string_view folderPath, const dirent& entry,
                              bool withReadOnly) {
    const std::uint32_t hidden = isHiddenName(entry.d_name) ? attribute::Hidden : 0;
    const bool needsStatus = withReadOnly || entry.d_type == DT_LNK || entry.d_type == DT_UNKNOWN;
    if (!needsStatus)
        return hidden | typeAttributes(DTTOIF(entry.d_type));
    struct stat status {};
    if (fstatat(folder, entry.d_name, &status, 0) != 0) {
        // Gone since the folder was read, or a dangling link: never a listed file.
        logFailure("passed over the entry", joinPath(folderPath, entry.d_name), errno);
        return hidden | attribute::System;
    }
    return hidden | typeAttributes(status.st_mode) |
           (withReadOnly ? readOnlyAttribute(status.st_mode) : 0);
}

// The folder part of a path: "." for a bare name, "/" for a name in the root.
std::string_view folderOf(std::string_view path) {
    const std::size_t lastSeparator = path.rfind('/');
    if (lastSeparator == std::string_view::npos)
        return ".";
    return lastSeparator == 0 ? "/" : path.substr(0, lastSeparator);
}

} // namespace

void closeNativeHandle(NativeHandle native) {
    close(static_cast<int>(native));
}

PosixFileSystem::PosixFileSystem(CodePage codePage) : m_codePage(std::move(codePage)) {}

int PosixFileSystem::enumerate(std::string_view pattern, const EnumerationFilter& filter,
                               const EntryVisitor& visit) {
    const std::string_view folder = folderOf(pattern);
    const std::string_view mask = pattern.substr(pattern.rfind('/') + 1);

    const auto path = cPath(folder);
    if (!path)
        return error::InvalidName;
    const DirStream dir = adoptDirStream(open(path->c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (!dir)
        return lastError();
    const int fd = dirfd(dir.get());
    const WildcardMask wildcard(mask, m_codePage);
    // A read error simply ends the listing: what was found so far stands.
    while (const dirent* entry = readdir(dir.get())) {
        const std::string_view name = entry->d_name;
        if (name == "." || name == ".." || !wildcard.matches(name))
            continue;
        if ((filter.excluded & attribute::Hidden) && isHiddenName(name))
            continue;
        const std::uint32_t attributes = entryAttributes(fd, folder, *entry, filter.readOnly);
        if ((attributes & filter.excluded) == 0)
            visit(DirectoryEntry{name, attributes});
    }
    return error::None;
}

Result<std::uint32_t> PosixFileSystem::attributes(std::string_view path) {
    const auto cpath = cPath(path);
    if (!cpath)
        return Result<std::uint32_t>::failure(error::InvalidName);
    const std::uint32_t hidden =
        isHiddenName(path.substr(path.rfind('/') + 1)) ? attribute::Hidden : 0;
    struct stat status {};
    if (stat(cpath->c_str(), &status) != 0) {
        Result<std::uint32_t> link = attributesWithoutFollowing(AT_FDCWD, cpath->c_str());
        link.value |= link.ok() ? hidden : 0;
        return link;
    }
    return Result<std::uint32_t>::success(hidden | typeAttributes(status.st_mode) |
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
    if (!isSingleName(name))
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
    if (!isSingleName(fromName) || !isSingleName(toName))
        return error::PathNotFound;
    if (renameat2(fromFolder.native(), from->c_str(), toFolder.native(), to->c_str(),
                  RENAME_NOREPLACE) == 0)
        return error::None;
    if (errno != EINVAL && errno != ENOSYS)
        return lastError();
    // The file system refuses the flag: a hard link cannot replace anything either. Until the
    // old name is gone both names lead to the same file, so nothing is lost on a failure.
    if (linkat(fromFolder.native(), from->c_str(), toFolder.native(), to->c_str(), 0) != 0)
        return lastError();
    if (unlinkat(fromFolder.native(), from->c_str(), 0) != 0) {
        const int failure = lastError();
        unlinkat(toFolder.native(), to->c_str(), 0);
        return failure;
    }
    return error::None;
}

Result<std::string> PosixFileSystem::readFile(std::string_view path) {
    const auto cpath = cPath(path);
    if (!cpath)
        return Result<std::string>::failure(error::InvalidName);
    const FileHandle file(open(cpath->c_str(), O_RDONLY | O_CLOEXEC));
    if (!file.valid())
        return Result<std::string>::failure(lastError());
    // Others may read along, but a writer that holds the file keeps us out and we keep
    // writers out while reading (advisory locks: what POSIX offers for sharing modes).
    if (flock(file.native(), LOCK_SH | LOCK_NB) != 0)
        return Result<std::string>::failure(lastError());
    std::string content;
    char buffer[16384];
    for (;;) {
        const ssize_t count = read(file.native(), buffer, sizeof buffer);
        if (count < 0) {
            if (errno == EINTR)
                continue;
            return Result<std::string>::failure(lastError());
        }
        if (count == 0)
            break;
        content.append(buffer, static_cast<std::size_t>(count));
    }
    return Result<std::string>::success(std::move(content));
}

Result<FileHandle> PosixFileSystem::createFile(std::string_view path) {
    const auto cpath = cPath(path);
    if (!cpath)
        return Result<FileHandle>::failure(error::InvalidName);
    // Truncated only once the lock is held, so that a file in use by another holder of the
    // lock is refused unharmed.
    FileHandle file(open(cpath->c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0666));
    if (!file.valid())
        return Result<FileHandle>::failure(lastError());
    if (flock(file.native(), LOCK_EX | LOCK_NB) != 0 || ftruncate(file.native(), 0) != 0)
        return Result<FileHandle>::failure(lastError());
    return Result<FileHandle>::success(std::move(file));
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

FileSystem& systemFileSystem() {
    static PosixFileSystem fileSystem(CodePage::system());
    return fileSystem;
}

} // namespace ordinalette::platform
