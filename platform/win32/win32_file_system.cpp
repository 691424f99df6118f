#include "platform/win32/win32_file_system.h"

#include "platform/file_name.h"
#include "platform/path.h"
#include "platform/temporary_file.h"
#include "platform/win32/native_handle.h"

#include <algorithm>
#include <cstdio>
#include <optional>
#include <shlobj.h>
#include <vector>
#include <windows.h>

namespace ordinalette::platform {

namespace {

int lastError() {
    return static_cast<int>(GetLastError());
}

// A path as the ANSI functions take it; nullopt when it holds a NUL byte, which no name can hold.
std::optional<std::string> cPath(std::string_view path) {
    if (path.find('\0') != std::string_view::npos)
        return std::nullopt;
    return std::string(path);
}

// The path of an open file or folder, in the form the ANSI functions take ("C:\dir", not
// "\\?\C:\dir").
std::optional<std::string> finalPath(NativeHandle handle) {
    char buffer[MAX_PATH + 8];
    const DWORD length = GetFinalPathNameByHandleA(nativeHandle(handle), buffer, sizeof buffer,
                                                   FILE_NAME_NORMALIZED);
    if (length == 0 || length >= sizeof buffer)
        return std::nullopt;
    std::string path(buffer, length);
    if (path.starts_with("\\\\?\\UNC\\"))
        path = "\\" + path.substr(7);
    else if (path.starts_with("\\\\?\\"))
        path.erase(0, 4);
    return path;
}

std::optional<std::string> folderPath(const DirectoryHandle& folder) {
    return finalPath(folder.native());
}

// Opens a folder. Like a POSIX folder descriptor the handle follows the folder: moves through
// it resolve the folder's path at the time of the move. Deleting stays shared, so the run can
// remove its temporary folder while holding it.
Result<DirectoryHandle> openFolder(const std::string& path, DWORD flags) {
    const HANDLE handle = CreateFileA(
        path.c_str(), FILE_LIST_DIRECTORY, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
        nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS | flags, nullptr);
    if (handle == INVALID_HANDLE_VALUE)
        return Result<DirectoryHandle>::failure(lastError());
    return Result<DirectoryHandle>::success(DirectoryHandle(fromNative(handle)));
}

enum class Links { Follow, Refuse };

// Opens a plain file on a disk; a folder, a pipe or a device fails with notPlain, and so does a
// link that is to be refused (its reparse point is then opened, never its target) and, for
// writing, a read-only file. Windows refuses that one itself, but not where it is emulated by a
// process that may write anything (Wine run as root).
Result<FileHandle> openPlainFile(const std::string& path, DWORD access, DWORD share,
                                 DWORD disposition, Links links, int notPlain) {
    const DWORD refused = FILE_ATTRIBUTE_DIRECTORY |
                          (links == Links::Refuse ? FILE_ATTRIBUTE_REPARSE_POINT : 0) |
                          (access & GENERIC_WRITE ? FILE_ATTRIBUTE_READONLY : 0);
    const DWORD attributes = GetFileAttributesA(path.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & refused))
        return Result<FileHandle>::failure(notPlain);
    const DWORD flags =
        FILE_ATTRIBUTE_NORMAL | (links == Links::Refuse ? FILE_FLAG_OPEN_REPARSE_POINT : 0);
    FileHandle file(
        fromNative(CreateFileA(path.c_str(), access, share, nullptr, disposition, flags, nullptr)));
    if (!file.valid())
        return Result<FileHandle>::failure(lastError());
    if (GetFileType(nativeHandle(file.native())) != FILE_TYPE_DISK)
        return Result<FileHandle>::failure(notPlain);
    return Result<FileHandle>::success(std::move(file));
}

// Opens a plain file for writing, shared with nobody while it is open; a link is refused.
Result<FileHandle> openForWriting(std::string_view path, DWORD disposition) {
    const auto cpath = cPath(path);
    if (!cpath)
        return Result<FileHandle>::failure(ERROR_INVALID_NAME);
    return openPlainFile(*cpath, GENERIC_WRITE, 0, disposition, Links::Refuse, error::AccessDenied);
}

// Reads an open file to its end; FileTooLarge as soon as it holds more than maxSize bytes.
Result<std::string> readAll(const FileHandle& file, std::size_t maxSize) {
    std::string content;
    char buffer[16384];
    DWORD count = 0;
    while (ReadFile(nativeHandle(file.native()), buffer, sizeof buffer, &count, nullptr) &&
           count > 0) {
        content.append(buffer, count);
        if (content.size() > maxSize)
            return Result<std::string>::failure(error::FileTooLarge);
    }
    if (count != 0)
        return Result<std::string>::failure(lastError());
    return Result<std::string>::success(std::move(content));
}

// The volume serial number and the 64-bit file index of an open file or folder.
Result<BY_HANDLE_FILE_INFORMATION> fileInformation(HANDLE handle) {
    BY_HANDLE_FILE_INFORMATION info{};
    if (!GetFileInformationByHandle(handle, &info))
        return Result<BY_HANDLE_FILE_INFORMATION>::failure(lastError());
    return Result<BY_HANDLE_FILE_INFORMATION>::success(info);
}

std::string hexOf(std::uint64_t value) {
    char text[20];
    std::snprintf(text, sizeof text, "%llx", static_cast<unsigned long long>(value));
    return text;
}

// "v" volume serial number "i" file index: an NTFS file index holds a sequence number in its
// high 16 bits, so a file made later in a reused record has another one.
EntryIdentity identityOf(const BY_HANDLE_FILE_INFORMATION& info) {
    return 'v' + hexOf(info.dwVolumeSerialNumber) + 'i' +
           hexOf((std::uint64_t{info.nFileIndexHigh} << 32) | info.nFileIndexLow);
}

// A file's identity with "c" creation time: where the file index is the inode number alone
// (Wine), the creation time, which a move keeps, tells a later file in a freed inode apart. Not
// for folders, whose creation time Wine gives as the time of their last change.
EntryIdentity fileIdentityOf(const BY_HANDLE_FILE_INFORMATION& info) {
    if (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
        return identityOf(info);
    return identityOf(info) + 'c' +
           hexOf((std::uint64_t{info.ftCreationTime.dwHighDateTime} << 32) |
                 info.ftCreationTime.dwLowDateTime);
}

// Owns a search handle of FindFirstFileA and closes it when it goes, also when a visitor throws.
class FindHandle {
public:
    explicit FindHandle(HANDLE handle) : m_handle(handle) {}
    ~FindHandle() {
        if (valid())
            FindClose(m_handle);
    }
    FindHandle(const FindHandle&) = delete;
    FindHandle& operator=(const FindHandle&) = delete;

    bool valid() const { return m_handle != INVALID_HANDLE_VALUE; }
    HANDLE get() const { return m_handle; }

private:
    HANDLE m_handle;
};

} // namespace

void closeNativeHandle(NativeHandle native) {
    CloseHandle(nativeHandle(native));
}

int Win32FileSystem::enumerate(std::string_view pattern, const EnumerationFilter& filter,
                               const EntryVisitor& visit) {
    const auto cpattern = cPath(pattern);
    if (!cpattern)
        return ERROR_INVALID_NAME;
    WIN32_FIND_DATAA data{};
    const FindHandle find(FindFirstFileA(cpattern->c_str(), &data));
    if (!find.valid())
        return lastError();
    // A failure of a later call ends the enumeration; what was found so far stands.
    do {
        const std::string_view name = data.cFileName;
        const auto attributes = static_cast<Attribute>(data.dwFileAttributes);
        if (name == "." || name == ".." || hasAny(attributes, filter.excluded))
            continue;
        visit(DirectoryEntry{name, attributes});
    } while (FindNextFileA(find.get(), &data));
    return error::None;
}

Result<Attribute> Win32FileSystem::attributes(std::string_view path) {
    const auto cpath = cPath(path);
    if (!cpath)
        return Result<Attribute>::failure(ERROR_INVALID_NAME);
    const DWORD attributes = GetFileAttributesA(cpath->c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES)
        return Result<Attribute>::failure(lastError());
    return Result<Attribute>::success(static_cast<Attribute>(attributes));
}

int Win32FileSystem::changeDirectory(std::string_view path) {
    const auto cpath = cPath(path);
    if (!cpath)
        return ERROR_INVALID_NAME;
    return SetCurrentDirectoryA(cpath->c_str()) ? error::None : lastError();
}

Result<std::string> Win32FileSystem::currentDirectory() {
    char buffer[MAX_PATH];
    const DWORD length = GetCurrentDirectoryA(sizeof buffer, buffer);
    if (length == 0)
        return Result<std::string>::failure(lastError());
    if (length >= sizeof buffer)
        return Result<std::string>::failure(ERROR_FILENAME_EXCED_RANGE);
    return Result<std::string>::success(std::string(buffer, length));
}

int Win32FileSystem::createDirectory(std::string_view path) {
    const auto cpath = cPath(path);
    if (!cpath)
        return ERROR_INVALID_NAME;
    return CreateDirectoryA(cpath->c_str(), nullptr) ? error::None : lastError();
}

int Win32FileSystem::removeDirectory(std::string_view path) {
    const auto cpath = cPath(path);
    if (!cpath)
        return ERROR_INVALID_NAME;
    return RemoveDirectoryA(cpath->c_str()) ? error::None : lastError();
}

Result<DirectoryHandle> Win32FileSystem::openDirectory(std::string_view path) {
    const auto cpath = cPath(path);
    if (!cpath)
        return Result<DirectoryHandle>::failure(ERROR_INVALID_NAME);
    return openFolder(*cpath, 0);
}

Result<DirectoryHandle> Win32FileSystem::openSubdirectory(const DirectoryHandle& parent,
                                                          std::string_view name) {
    if (!cPath(name))
        return Result<DirectoryHandle>::failure(ERROR_INVALID_NAME);
    if (!isSingleFileName(name))
        return Result<DirectoryHandle>::failure(error::PathNotFound);
    const auto parentPath = folderPath(parent);
    if (!parentPath)
        return Result<DirectoryHandle>::failure(lastError());
    // The reparse point itself is opened, never its target, so a junction planted in place of
    // the folder is refused instead of followed.
    auto folder = openFolder(joinPath(*parentPath, name), FILE_FLAG_OPEN_REPARSE_POINT);
    if (!folder.ok())
        return folder;
    BY_HANDLE_FILE_INFORMATION info{};
    if (!GetFileInformationByHandle(nativeHandle(folder.value.native()), &info))
        return Result<DirectoryHandle>::failure(lastError());
    if ((info.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) ||
        !(info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
        return Result<DirectoryHandle>::failure(error::PathNotFound);
    return folder;
}

int Win32FileSystem::moveFile(const DirectoryHandle& fromFolder, std::string_view fromName,
                              const DirectoryHandle& toFolder, std::string_view toName) {
    if (!cPath(fromName) || !cPath(toName))
        return ERROR_INVALID_NAME;
    if (!isSingleFileName(fromName) || !isSingleFileName(toName))
        return error::PathNotFound;
    const auto fromPath = folderPath(fromFolder);
    const auto toPath = folderPath(toFolder);
    if (!fromPath || !toPath)
        return lastError();
    // MoveFileA never replaces an existing destination.
    const std::string source = joinPath(*fromPath, fromName);
    const std::string destination = joinPath(*toPath, toName);
    return MoveFileA(source.c_str(), destination.c_str()) ? error::None : lastError();
}

Result<std::string> Win32FileSystem::readFile(std::string_view path, std::size_t maxSize) {
    const auto cpath = cPath(path);
    if (!cpath)
        return Result<std::string>::failure(ERROR_INVALID_NAME);
    // Others may read along; a writer that holds the file keeps us out, and we keep writers out.
    const auto file = openPlainFile(*cpath, GENERIC_READ, FILE_SHARE_READ, OPEN_EXISTING,
                                    Links::Follow, error::FileNotFound);
    if (!file.ok())
        return Result<std::string>::failure(file.error);
    return readAll(file.value, maxSize);
}

Result<std::string> Win32FileSystem::readOwnFile(std::string_view path, std::size_t maxSize) {
    const auto cpath = cPath(path);
    if (!cpath)
        return Result<std::string>::failure(ERROR_INVALID_NAME);
    // The user's local application data folder is the user's alone by its access list; what is
    // left to refuse is a link planted in place of the file and a file too large to read.
    const auto file = openPlainFile(*cpath, GENERIC_READ, FILE_SHARE_READ, OPEN_EXISTING,
                                    Links::Refuse, error::FileNotFound);
    if (!file.ok())
        return Result<std::string>::failure(file.error);
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(nativeHandle(file.value.native()), &size))
        return Result<std::string>::failure(lastError());
    if (static_cast<std::uint64_t>(size.QuadPart) > maxSize)
        return Result<std::string>::failure(error::FileTooLarge);
    return readAll(file.value, maxSize);
}

int Win32FileSystem::checkPrivate(std::string_view path) {
    const auto cpath = cPath(path);
    if (!cpath)
        return ERROR_INVALID_NAME;
    const DWORD attributes = GetFileAttributesA(cpath->c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES)
        return lastError();
    // Who may write it is the access list's matter, which the user's profile sets; a link in
    // its place can lead anywhere.
    return attributes & FILE_ATTRIBUTE_REPARSE_POINT ? error::AccessDenied : error::None;
}

Result<FileHandle> Win32FileSystem::createFile(std::string_view path) {
    return openForWriting(path, CREATE_ALWAYS);
}

int Win32FileSystem::writeFile(const FileHandle& file, std::string_view bytes) {
    DWORD written = 0;
    if (!WriteFile(nativeHandle(file.native()), bytes.data(), static_cast<DWORD>(bytes.size()),
                   &written, nullptr))
        return lastError();
    return written == bytes.size() ? error::None : ERROR_HANDLE_DISK_FULL;
}

int Win32FileSystem::flushFile(const FileHandle& file) {
    return FlushFileBuffers(nativeHandle(file.native())) ? error::None : lastError();
}

int Win32FileSystem::replaceFile(std::string_view from, std::string_view to) {
    const auto cfrom = cPath(from);
    const auto cto = cPath(to);
    if (!cfrom || !cto)
        return ERROR_INVALID_NAME;
    // ReplaceFileA keeps what the replaced file carries beyond its content: attributes, security
    // and creation time. A file that does not exist yet is simply moved into place.
    if (GetFileAttributesA(cto->c_str()) != INVALID_FILE_ATTRIBUTES)
        return ReplaceFileA(cto->c_str(), cfrom->c_str(), nullptr, REPLACEFILE_IGNORE_MERGE_ERRORS,
                            nullptr, nullptr)
                   ? error::None
                   : lastError();
    return MoveFileExA(cfrom->c_str(), cto->c_str(), MOVEFILE_WRITE_THROUGH) ? error::None
                                                                             : lastError();
}

int Win32FileSystem::removeFile(std::string_view path) {
    const auto cpath = cPath(path);
    if (!cpath)
        return ERROR_INVALID_NAME;
    return DeleteFileA(cpath->c_str()) ? error::None : lastError();
}

Result<std::string> Win32FileSystem::followLinks(std::string_view path) {
    const auto cpath = cPath(path);
    if (!cpath)
        return Result<std::string>::failure(ERROR_INVALID_NAME);
    const DWORD attributes = GetFileAttributesA(cpath->c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_REPARSE_POINT))
        return Result<std::string>::success(*cpath);
    // Opening a link opens its final target, whose path the system then gives.
    const FileHandle target(fromNative(
        CreateFileA(cpath->c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                    nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr)));
    if (!target.valid())
        return Result<std::string>::failure(lastError());
    const auto targetPath = finalPath(target.native());
    if (!targetPath)
        return Result<std::string>::failure(lastError());
    return Result<std::string>::success(*targetPath);
}

Result<FileHandle> Win32FileSystem::openFileForWriting(std::string_view path) {
    return openForWriting(path, OPEN_EXISTING);
}

Result<std::uint32_t> Win32FileSystem::linkCount(const FileHandle& file) {
    BY_HANDLE_FILE_INFORMATION info{};
    if (!GetFileInformationByHandle(nativeHandle(file.native()), &info))
        return Result<std::uint32_t>::failure(lastError());
    return Result<std::uint32_t>::success(info.nNumberOfLinks);
}

Result<TemporaryFile> Win32FileSystem::createTemporaryFile(std::string_view besidePath,
                                                           const FileHandle* like) {
    if (!cPath(besidePath))
        return Result<TemporaryFile>::failure(ERROR_INVALID_NAME);
    // The attributes that make a file what it is to the user; security comes over with
    // ReplaceFileA.
    DWORD attributes = FILE_ATTRIBUTE_NORMAL;
    if (like) {
        BY_HANDLE_FILE_INFORMATION info{};
        if (!GetFileInformationByHandle(nativeHandle(like->native()), &info))
            return Result<TemporaryFile>::failure(lastError());
        attributes =
            info.dwFileAttributes & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM |
                                     FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_NOT_CONTENT_INDEXED);
    }
    return createUniqueFile(besidePath, [attributes](const std::string& candidate) {
        // CREATE_NEW fails on every existing entry, a link included.
        FileHandle file(fromNative(CreateFileA(candidate.c_str(), GENERIC_WRITE, 0, nullptr,
                                               CREATE_NEW, attributes, nullptr)));
        if (file.valid())
            return Result<FileHandle>::success(std::move(file));
        const int failure = lastError();
        return Result<FileHandle>::failure(failure == ERROR_FILE_EXISTS ? error::AlreadyExists
                                                                        : failure);
    });
}

Result<FileIdentity> Win32FileSystem::identity(const DirectoryHandle& folder) {
    const auto info = fileInformation(nativeHandle(folder.native()));
    if (!info.ok())
        return Result<FileIdentity>::failure(info.error);
    return Result<FileIdentity>::success(
        FileIdentity{'v' + hexOf(info.value.dwVolumeSerialNumber), identityOf(info.value)});
}

Result<EntryIdentity> Win32FileSystem::entryIdentity(const DirectoryHandle& folder,
                                                     std::string_view name) {
    if (!cPath(name))
        return Result<EntryIdentity>::failure(ERROR_INVALID_NAME);
    if (!isSingleFileName(name))
        return Result<EntryIdentity>::failure(error::PathNotFound);
    const auto path = folderPath(folder);
    if (!path)
        return Result<EntryIdentity>::failure(lastError());
    // Opened for its attributes alone and shared with everyone: the file's users never notice.
    const FileHandle entry(fromNative(
        CreateFileA(joinPath(*path, name).c_str(), FILE_READ_ATTRIBUTES,
                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                    FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT, nullptr)));
    if (!entry.valid())
        return Result<EntryIdentity>::failure(lastError());
    const auto info = fileInformation(nativeHandle(entry.native()));
    if (!info.ok())
        return Result<EntryIdentity>::failure(info.error);
    return Result<EntryIdentity>::success(fileIdentityOf(info.value));
}

int Win32FileSystem::enumerateFileNumbers(const DirectoryHandle& folder,
                                          const FileNumberVisitor& visit) {
    // The folder's listing with file numbers, a buffer full at a time, from its start.
    std::vector<std::uint64_t> buffer(8192);
    FILE_INFO_BY_HANDLE_CLASS request = FileIdBothDirectoryRestartInfo;
    std::string name;
    while (GetFileInformationByHandleEx(nativeHandle(folder.native()), request, buffer.data(),
                                        static_cast<DWORD>(buffer.size() * sizeof buffer[0]))) {
        request = FileIdBothDirectoryInfo;
        const auto* bytes = reinterpret_cast<const char*>(buffer.data());
        for (;;) {
            const auto* entry = reinterpret_cast<const FILE_ID_BOTH_DIR_INFO*>(bytes);
            const int length = static_cast<int>(entry->FileNameLength / sizeof(WCHAR));
            name.resize(static_cast<std::size_t>(length) * 4); // room for any code page
            name.resize(static_cast<std::size_t>(
                WideCharToMultiByte(CP_ACP, 0, entry->FileName, length, name.data(),
                                    static_cast<int>(name.size()), nullptr, nullptr)));
            if (name != "." && name != "..")
                visit(name, static_cast<std::uint64_t>(entry->FileId.QuadPart));
            if (entry->NextEntryOffset == 0)
                break;
            bytes += entry->NextEntryOffset;
        }
    }
    const int failure = lastError();
    return failure == ERROR_NO_MORE_FILES ? error::None : failure;
}

Result<FileHandle> Win32FileSystem::createNewFile(std::string_view path) {
    const auto cpath = cPath(path);
    if (!cpath)
        return Result<FileHandle>::failure(ERROR_INVALID_NAME);
    FileHandle file(fromNative(CreateFileA(cpath->c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                           FILE_ATTRIBUTE_NORMAL, nullptr)));
    if (!file.valid()) {
        const int failure = lastError();
        return Result<FileHandle>::failure(failure == ERROR_FILE_EXISTS ? error::AlreadyExists
                                                                        : failure);
    }
    return Result<FileHandle>::success(std::move(file));
}

int Win32FileSystem::flushDirectory(const DirectoryHandle&) {
    // NTFS writes changes of names through its own log; a folder handle has nothing to flush.
    return error::None;
}

int Win32FileSystem::createDirectories(std::string_view path) {
    auto cpath = cPath(path);
    if (!cpath)
        return ERROR_INVALID_NAME;
    // The shell takes backslashes alone; 0x2F is never the trail byte of a double-byte character.
    std::replace(cpath->begin(), cpath->end(), '/', '\\');
    const int result = SHCreateDirectoryExA(nullptr, cpath->c_str(), nullptr);
    if (result != ERROR_ALREADY_EXISTS && result != ERROR_FILE_EXISTS)
        return result;
    const DWORD attributes = GetFileAttributesA(cpath->c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY)
               ? error::None
               : error::AlreadyExists;
}

FileSystem& systemFileSystem() {
    static Win32FileSystem fileSystem;
    return fileSystem;
}

} // namespace ordinalette::platform
