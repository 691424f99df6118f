#include "settings/settings_file.h"

#include "platform/path.h"

namespace ordinalette::settings {

FileOpenError::FileOpenError(const std::string& path)
    : std::runtime_error("ファイル " + path + " は開けません") {}

FileCreateError::FileCreateError(const std::string& path)
    : std::runtime_error("ファイル " + path + " を作成できません") {}

StreamWriteError::StreamWriteError() : std::runtime_error("ストリームへの書き込みエラー") {}

std::string settingsFilePath(std::string_view iniDir) {
    return platform::joinPath(iniDir, "Ordinlet.ini");
}

bool settingsFileExists(platform::FileSystem& fileSystem, const std::string& path) {
    const auto attributes = fileSystem.attributes(path);
    return attributes.ok() && !(attributes.value & platform::attribute::Directory);
}

std::string readSettingsFile(platform::FileSystem& fileSystem, const std::string& path) {
    auto content = fileSystem.readFile(path);
    if (!content.ok())
        throw FileOpenError(path);
    return std::move(content.value);
}

void writeSettingsFile(platform::FileSystem& fileSystem, const std::string& path,
                       std::string_view bytes) {
    // Replacing by a rename would ignore the file's own write protection; keep honouring it.
    const auto attributes = fileSystem.attributes(path);
    if (attributes.ok() &&
        (attributes.value & (platform::attribute::ReadOnly | platform::attribute::Directory)))
        throw FileCreateError(path);

    const std::string temporary = path + ".new";
    int writeError = platform::error::None;
    {
        const auto file = fileSystem.createFile(temporary);
        if (!file.ok())
            throw FileCreateError(path);
        writeError = fileSystem.writeFile(file.value, bytes);
        if (writeError == platform::error::None)
            writeError = fileSystem.flushFile(file.value);
    } // closed here: an open file cannot be removed or renamed everywhere
    if (writeError != platform::error::None) {
        fileSystem.removeFile(temporary);
        throw StreamWriteError();
    }
    if (fileSystem.replaceFile(temporary, path) != platform::error::None) {
        fileSystem.removeFile(temporary);
        throw FileCreateError(path);
    }
}

} // namespace ordinalette::settings
