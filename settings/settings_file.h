#pragma once

#include "platform/file_system.h"

#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

namespace ordinalette::settings {

// The settings file cannot be opened for reading: "ファイル <path> は開けません".
class FileOpenError : public std::runtime_error {
public:
    explicit FileOpenError(const std::string& path);
};

// The settings file cannot be created or replaced: "ファイル <path> を作成できません".
class FileCreateError : public std::runtime_error {
public:
    explicit FileCreateError(const std::string& path);
};

// Writing the settings file failed after it was created: "ストリームへの書き込みエラー".
class StreamWriteError : public std::runtime_error {
public:
    StreamWriteError();
};

// The settings file of a start-up directory: the directory, one separator, "Ordinlet.ini".
std::string settingsFilePath(std::string_view iniDir);

// The whole file, links followed; nullopt when there is no file of that name (nothing, a
// folder, or an entry that is no regular file, such as a FIFO or a device, which is never
// opened). Throws FileOpenError, naming the path as given (not where its links lead), when the
// file exists but cannot be opened or read, or is larger than any settings file can be.
std::optional<std::string> readSettingsFile(platform::FileSystem& fileSystem,
                                            const std::string& path);

// Replaces the content of the file, links followed (a link stays a link), with the bytes. They go
// to a new file beside it, created under a name nobody can prepare, flushed, given the file's
// permission bits and owner, and then put in the file's place in one step: a crash or power cut
// leaves the old content or the new, never a truncated file. A file with several names, or
// whose folder takes no new entry, is truncated and written in place instead. A file the process
// may not write, a read-only file and an entry that is no regular file are refused. Throws
// FileCreateError, naming the path as given, or StreamWriteError.
void writeSettingsFile(platform::FileSystem& fileSystem, const std::string& path,
                       std::string_view bytes);

} // namespace ordinalette::settings
