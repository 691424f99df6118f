#include "settings/settings_file.h"

#include "platform/path.h"

namespace ordinalette::settings {

namespace {

using platform::FileSystem;

// Five short lines; anything larger is no settings file of this program.
constexpr std::size_t kLargestSettingsFile = std::size_t{4} * 1024 * 1024;

// Whether an entry of that path exists that is not a directory; any failure counts as none.
bool settingsFileExists(FileSystem& fileSystem, const std::string& path) {
    const auto attributes = fileSystem.attributes(path);
    return attributes.ok() && !platform::hasAny(attributes.value, platform::Attribute::Directory);
}

// Writes the bytes to the open file and waits until they are on the device.
int writeAndFlush(FileSystem& fileSystem, const platform::FileHandle& file,
                  std::string_view bytes) {
    const int error = fileSystem.writeFile(file, bytes);
    return error != platform::error::None ? error : fileSystem.flushFile(file);
}

// Replaces the file by a new one written beside it. False where only writing in place is left:
// the file has several names, which must all see the new text, or the new file could not be
// made, written or put in place (it is gone again then). Throws FileCreateError, naming the
// settings file as the user knows it, when the file itself may not be written, which writing in
// place could not change.
bool replacedByNewFile(FileSystem& fileSystem, const std::string& file,
                       const std::string& settingsPath, std::string_view bytes) {
    platform::Result<platform::TemporaryFile> temporary;
    {
        const auto existing = fileSystem.openFileForWriting(file);
        if (existing.ok()) {
            const auto links = fileSystem.linkCount(existing.value);
            if (!links.ok() || links.value != 1)
                return false;
            temporary = fileSystem.createTemporaryFile(file, &existing.value);
        } else if (existing.error == platform::error::FileNotFound) {
            temporary = fileSystem.createTemporaryFile(file, nullptr);
        } else {
            throw FileCreateError(settingsPath);
        }
    } // the old file is let go: an open file cannot be replaced everywhere
    if (!temporary.ok())
        return false;
    int error = writeAndFlush(fileSystem, temporary.value.file, bytes);
    temporary.value.file.reset();
    if (error == platform::error::None)
        error = fileSystem.replaceFile(temporary.value.path, file);
    if (error != platform::error::None) {
        static_cast<void>(fileSystem.removeFile(temporary.value.path)); // the write's error counts
        return false;
    }
    return true;
}

// Truncates the file, or creates it, and writes the bytes into it.
void writeInPlace(FileSystem& fileSystem, const std::string& file, const std::string& settingsPath,
                  std::string_view bytes) {
    const auto handle = fileSystem.createFile(file);
    if (!handle.ok())
        throw FileCreateError(settingsPath);
    if (writeAndFlush(fileSystem, handle.value, bytes) != platform::error::None)
        throw StreamWriteError();
}

} // namespace

FileOpenError::FileOpenError(const std::string& path)
    : std::runtime_error("ファイル " + path + " は開けません") {}

FileCreateError::FileCreateError(const std::string& path)
    : std::runtime_error("ファイル " + path + " を作成できません") {}

StreamWriteError::StreamWriteError() : std::runtime_error("ストリームへの書き込みエラー") {}

std::string settingsFilePath(std::string_view iniDir) {
    return platform::joinPath(iniDir, "Ordinlet.ini");
}

std::optional<std::string> readSettingsFile(FileSystem& fileSystem, const std::string& path) {
    if (!settingsFileExists(fileSystem, path))
        return std::nullopt;
    const auto file = fileSystem.followLinks(path);
    if (!file.ok())
        throw FileOpenError(path);
    auto content = fileSystem.readFile(file.value, kLargestSettingsFile);
    // No regular file (a FIFO, a device), or gone since it was seen.
    if (content.error == platform::error::FileNotFound)
        return std::nullopt;
    if (!content.ok())
        throw FileOpenError(path);
    return std::move(content.value);
}

void writeSettingsFile(FileSystem& fileSystem, const std::string& path, std::string_view bytes) {
    const auto file = fileSystem.followLinks(path);
    if (!file.ok())
        throw FileCreateError(path);
    // Writing in place is what the file's own write would do; it is left for where a new file
    // cannot take the old one's place.
    if (!replacedByNewFile(fileSystem, file.value, path, bytes))
        writeInPlace(fileSystem, file.value, path, bytes);
}

} // namespace ordinalette::settings
