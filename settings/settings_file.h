#pragma once

#include "platform/file_system.h"

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

// Whether an entry of that path exists that is not a directory.
bool settingsFileExists(platform::FileSystem& fileSystem, const std::string& path);

// The whole file; throws FileOpenError when it exists but cannot be opened or read.
std::string readSettingsFile(platform::FileSystem& fileSystem, const std::string& path);

// Replaces the file with the bytes. The bytes go to a temporary file beside it, which is flushed
// and then put in the file's place in one step, so a crash or power cut leaves the old file or
// the new one, never a truncated one. A read-only settings file is refused like one that
// cannot be created. Throws FileCreateError or StreamWriteError; the old file stays on failure.
void writeSettingsFile(platform::FileSystem& fileSystem, const std::string& path,
                       std::string_view bytes);

} // namespace ordinalette::settings
