#pragma once

#include "platform/code_page.h"
#include "platform/file_system.h"
#include "platform/posix/no_replace_move.h"

namespace ordinalette::platform {

// The file system of a POSIX system (Linux): Windows attributes and error numbers mapped from
// the POSIX ones, moves that never replace.
class PosixFileSystem : public FileSystem {
public:
    // Names are matched against masks character by character in this code page; moves are made
    // of the given system calls.
    explicit PosixFileSystem(CodePage codePage, MoveCalls& moveCalls = systemMoveCalls());

    int enumerate(std::string_view pattern, const EnumerationFilter& filter,
                  const EntryVisitor& visit) override;
    Result<Attribute> attributes(std::string_view path) override;
    int changeDirectory(std::string_view path) override;
    Result<std::string> currentDirectory() override;
    int createDirectory(std::string_view path) override;
    int removeDirectory(std::string_view path) override;
    Result<DirectoryHandle> openDirectory(std::string_view path) override;
    Result<DirectoryHandle> openSubdirectory(const DirectoryHandle& parent,
                                             std::string_view name) override;
    int moveFile(const DirectoryHandle& fromFolder, std::string_view fromName,
                 const DirectoryHandle& toFolder, std::string_view toName) override;
    Result<std::string> readFile(std::string_view path, std::size_t maxSize) override;
    Result<std::string> readOwnFile(std::string_view path, std::size_t maxSize) override;
    int checkPrivate(std::string_view path) override;
    Result<FileHandle> createFile(std::string_view path) override;
    int writeFile(const FileHandle& file, std::string_view bytes) override;
    int flushFile(const FileHandle& file) override;
    int replaceFile(std::string_view from, std::string_view to) override;
    int removeFile(std::string_view path) override;
    Result<FileIdentity> identity(const DirectoryHandle& folder) override;
    Result<EntryIdentity> entryIdentity(const DirectoryHandle& folder,
                                        std::string_view name) override;
    int enumerateFileNumbers(const DirectoryHandle& folder,
                             const FileNumberVisitor& visit) override;
    Result<FileHandle> createNewFile(std::string_view path) override;
    int flushDirectory(const DirectoryHandle& folder) override;
    int createDirectories(std::string_view path) override;

    Result<std::string> followLinks(std::string_view path) override;
    Result<FileHandle> openFileForWriting(std::string_view path) override;
    Result<std::uint32_t> linkCount(const FileHandle& file) override;
    Result<TemporaryFile> createTemporaryFile(std::string_view besidePath,
                                              const FileHandle* like) override;

private:
    CodePage m_codePage;
    MoveCalls& m_moveCalls;
};

} // namespace ordinalette::platform
