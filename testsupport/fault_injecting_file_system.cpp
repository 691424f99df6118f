#include "testsupport/fault_injecting_file_system.h"

namespace ordinalette::testsupport {

using platform::DirectoryHandle;
using platform::FileHandle;
using platform::Result;
using platform::TemporaryFile;

void FaultInjectingFileSystem::failCall(Operation operation, int callNumber, int errorNumber) {
    m_faults[{operation, callNumber}] = errorNumber;
}

void FaultInjectingFileSystem::onCall(Operation operation, int callNumber,
                                      std::function<void()> action) {
    m_actions[{operation, callNumber}] = std::move(action);
}

int FaultInjectingFileSystem::calls(Operation operation) const {
    return m_calls[static_cast<std::size_t>(operation)];
}

int FaultInjectingFileSystem::injectedError(Operation operation) {
    const int callNumber = ++m_calls[static_cast<std::size_t>(operation)];
    if (const auto action = m_actions.find({operation, callNumber}); action != m_actions.end())
        action->second();
    const auto fault = m_faults.find({operation, callNumber});
    return fault == m_faults.end() ? platform::error::None : fault->second;
}

int FaultInjectingFileSystem::enumerate(std::string_view pattern,
                                        const platform::EnumerationFilter& filter,
                                        const platform::EntryVisitor& visit) {
    if (const int error = injectedError(Operation::Enumerate))
        return error;
    return m_real.enumerate(pattern, filter, visit);
}

Result<platform::Attribute> FaultInjectingFileSystem::attributes(std::string_view path) {
    if (const int error = injectedError(Operation::Attributes))
        return Result<platform::Attribute>::failure(error);
    return m_real.attributes(path);
}

int FaultInjectingFileSystem::changeDirectory(std::string_view path) {
    if (const int error = injectedError(Operation::ChangeDirectory))
        return error;
    return m_real.changeDirectory(path);
}

Result<std::string> FaultInjectingFileSystem::currentDirectory() {
    if (const int error = injectedError(Operation::CurrentDirectory))
        return Result<std::string>::failure(error);
    return m_real.currentDirectory();
}

int FaultInjectingFileSystem::createDirectory(std::string_view path) {
    if (const int error = injectedError(Operation::CreateDirectory))
        return error;
    return m_real.createDirectory(path);
}

int FaultInjectingFileSystem::removeDirectory(std::string_view path) {
    if (const int error = injectedError(Operation::RemoveDirectory))
        return error;
    return m_real.removeDirectory(path);
}

Result<DirectoryHandle> FaultInjectingFileSystem::openDirectory(std::string_view path) {
    if (const int error = injectedError(Operation::OpenDirectory))
        return Result<DirectoryHandle>::failure(error);
    return m_real.openDirectory(path);
}

Result<DirectoryHandle> FaultInjectingFileSystem::openSubdirectory(const DirectoryHandle& parent,
                                                                   std::string_view name) {
    if (const int error = injectedError(Operation::OpenSubdirectory))
        return Result<DirectoryHandle>::failure(error);
    return m_real.openSubdirectory(parent, name);
}

int FaultInjectingFileSystem::moveFile(const DirectoryHandle& fromFolder, std::string_view fromName,
                                       const DirectoryHandle& toFolder, std::string_view toName) {
    if (const int error = injectedError(Operation::MoveFile))
        return error;
    return m_real.moveFile(fromFolder, fromName, toFolder, toName);
}

Result<std::string> FaultInjectingFileSystem::readFile(std::string_view path, std::size_t maxSize) {
    if (const int error = injectedError(Operation::ReadFile))
        return Result<std::string>::failure(error);
    return m_real.readFile(path, maxSize);
}

Result<std::string> FaultInjectingFileSystem::readOwnFile(std::string_view path,
                                                          std::size_t maxSize) {
    if (const int error = injectedError(Operation::ReadOwnFile))
        return Result<std::string>::failure(error);
    return m_real.readOwnFile(path, maxSize);
}

int FaultInjectingFileSystem::checkPrivate(std::string_view path) {
    if (const int error = injectedError(Operation::CheckPrivate))
        return error;
    return m_real.checkPrivate(path);
}

Result<FileHandle> FaultInjectingFileSystem::createFile(std::string_view path) {
    if (const int error = injectedError(Operation::CreateFile))
        return Result<FileHandle>::failure(error);
    return m_real.createFile(path);
}

int FaultInjectingFileSystem::writeFile(const FileHandle& file, std::string_view bytes) {
    if (const int error = injectedError(Operation::WriteFile))
        return error;
    return m_real.writeFile(file, bytes);
}

int FaultInjectingFileSystem::flushFile(const FileHandle& file) {
    if (const int error = injectedError(Operation::FlushFile))
        return error;
    return m_real.flushFile(file);
}

int FaultInjectingFileSystem::replaceFile(std::string_view from, std::string_view to) {
    if (const int error = injectedError(Operation::ReplaceFile))
        return error;
    return m_real.replaceFile(from, to);
}

int FaultInjectingFileSystem::removeFile(std::string_view path) {
    if (const int error = injectedError(Operation::RemoveFile))
        return error;
    return m_real.removeFile(path);
}

Result<std::string> FaultInjectingFileSystem::followLinks(std::string_view path) {
    if (const int error = injectedError(Operation::FollowLinks))
        return Result<std::string>::failure(error);
    return m_real.followLinks(path);
}

Result<FileHandle> FaultInjectingFileSystem::openFileForWriting(std::string_view path) {
    if (const int error = injectedError(Operation::OpenFileForWriting))
        return Result<FileHandle>::failure(error);
    return m_real.openFileForWriting(path);
}

Result<std::uint32_t> FaultInjectingFileSystem::linkCount(const FileHandle& file) {
    if (const int error = injectedError(Operation::LinkCount))
        return Result<std::uint32_t>::failure(error);
    return m_real.linkCount(file);
}

Result<TemporaryFile> FaultInjectingFileSystem::createTemporaryFile(std::string_view besidePath,
                                                                    const FileHandle* like) {
    if (const int error = injectedError(Operation::CreateTemporaryFile))
        return Result<TemporaryFile>::failure(error);
    return m_real.createTemporaryFile(besidePath, like);
}

Result<platform::FileIdentity> FaultInjectingFileSystem::identity(const DirectoryHandle& folder) {
    if (const int error = injectedError(Operation::Identity))
        return Result<platform::FileIdentity>::failure(error);
    return m_real.identity(folder);
}

Result<platform::EntryIdentity>
FaultInjectingFileSystem::entryIdentity(const DirectoryHandle& folder, std::string_view name) {
    if (const int error = injectedError(Operation::EntryIdentity))
        return Result<platform::EntryIdentity>::failure(error);
    return m_real.entryIdentity(folder, name);
}

int FaultInjectingFileSystem::enumerateFileNumbers(const DirectoryHandle& folder,
                                                   const platform::FileNumberVisitor& visit) {
    if (const int error = injectedError(Operation::EnumerateFileNumbers))
        return error;
    return m_real.enumerateFileNumbers(folder, visit);
}

Result<FileHandle> FaultInjectingFileSystem::createNewFile(std::string_view path) {
    if (const int error = injectedError(Operation::CreateNewFile))
        return Result<FileHandle>::failure(error);
    return m_real.createNewFile(path);
}

int FaultInjectingFileSystem::flushDirectory(const DirectoryHandle& folder) {
    if (const int error = injectedError(Operation::FlushDirectory))
        return error;
    return m_real.flushDirectory(folder);
}

int FaultInjectingFileSystem::createDirectories(std::string_view path) {
    if (const int error = injectedError(Operation::CreateDirectories))
        return error;
    return m_real.createDirectories(path);
}

} // namespace ordinalette::testsupport
