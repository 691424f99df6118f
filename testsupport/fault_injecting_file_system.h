#pragma once

#include "platform/file_system.h"

#include <array>
#include <functional>
#include <map>

namespace ordinalette::testsupport {

// A file system that passes every call to a real one, except chosen calls that fail with a
// chosen error number without reaching it: failure states are tested on the real file system.
class FaultInjectingFileSystem : public platform::FileSystem {
public:
    enum class Operation {
        Enumerate,
        Attributes,
        ChangeDirectory,
        CurrentDirectory,
        CreateDirectory,
        RemoveDirectory,
        OpenDirectory,
        OpenSubdirectory,
        MoveFile,
        ReadFile,
        CreateFile,
        WriteFile,
        FlushFile,
        ReplaceFile,
        RemoveFile,
        FollowLinks,
        OpenFileForWriting,
        LinkCount,
        CreateTemporaryFile,
        Identity,
        EnumerateFileNumbers,
        CreateNewFile,
        FlushDirectory,
        CreateDirectories,
        ReadOwnFile,
        CheckPrivate,
        EntryIdentity,
        Count
    };

    explicit FaultInjectingFileSystem(platform::FileSystem& real) : m_real(real) {}

    // The callNumber-th call (counted from 1) of the operation fails with errorNumber.
    void failCall(Operation operation, int callNumber, int errorNumber);
    // Runs action when the callNumber-th call of the operation is made, before anything else of
    // that call (a test can end its process there, as a crash would).
    void onCall(Operation operation, int callNumber, std::function<void()> action);
    // How many calls of the operation were made so far, failed ones included.
    int calls(Operation operation) const;

    int enumerate(std::string_view pattern, const platform::EnumerationFilter& filter,
                  const platform::EntryVisitor& visit) override;
    platform::Result<platform::Attribute> attributes(std::string_view path) override;
    int changeDirectory(std::string_view path) override;
    platform::Result<std::string> currentDirectory() override;
    int createDirectory(std::string_view path) override;
    int removeDirectory(std::string_view path) override;
    platform::Result<platform::DirectoryHandle> openDirectory(std::string_view path) override;
    platform::Result<platform::DirectoryHandle>
    openSubdirectory(const platform::DirectoryHandle& parent, std::string_view name) override;
    int moveFile(const platform::DirectoryHandle& fromFolder, std::string_view fromName,
                 const platform::DirectoryHandle& toFolder, std::string_view toName) override;
    platform::Result<std::string> readFile(std::string_view path, std::size_t maxSize) override;
    platform::Result<std::string> readOwnFile(std::string_view path, std::size_t maxSize) override;
    int checkPrivate(std::string_view path) override;
    platform::Result<platform::FileHandle> createFile(std::string_view path) override;
    int writeFile(const platform::FileHandle& file, std::string_view bytes) override;
    int flushFile(const platform::FileHandle& file) override;
    int replaceFile(std::string_view from, std::string_view to) override;
    int removeFile(std::string_view path) override;
    platform::Result<std::string> followLinks(std::string_view path) override;
    platform::Result<platform::FileHandle> openFileForWriting(std::string_view path) override;
    platform::Result<std::uint32_t> linkCount(const platform::FileHandle& file) override;
    platform::Result<platform::TemporaryFile>
    createTemporaryFile(std::string_view besidePath, const platform::FileHandle* like) override;
    platform::Result<platform::FileIdentity>
    identity(const platform::DirectoryHandle& folder) override;
    platform::Result<platform::EntryIdentity> entryIdentity(const platform::DirectoryHandle& folder,
                                                            std::string_view name) override;
    int enumerateFileNumbers(const platform::DirectoryHandle& folder,
                             const platform::FileNumberVisitor& visit) override;
    platform::Result<platform::FileHandle> createNewFile(std::string_view path) override;
    int flushDirectory(const platform::DirectoryHandle& folder) override;
    int createDirectories(std::string_view path) override;

private:
    // Counts the call and gives the error it must fail with, or 0 to pass it on.
    int injectedError(Operation operation);

    platform::FileSystem& m_real;
    std::array<int, static_cast<std::size_t>(Operation::Count)> m_calls{};
    std::map<std::pair<Operation, int>, int> m_faults;
    std::map<std::pair<Operation, int>, std::function<void()>> m_actions;
};

} // namespace ordinalette::testsupport
