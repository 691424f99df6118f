#include "platform/posix/desktop_directory.h"

#include "platform/file_system.h"

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <pwd.h>
#include <unistd.h>

namespace ordinalette::platform {

namespace {

std::string environment(const char* name) {
    const char* value = std::getenv(name);
    return value ? std::string(value) : std::string();
}

std::string readText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// The value of XDG_DESKTOP_DIR in user-dirs.dirs, "$HOME" expanded; empty when absent.
std::string configuredDesktop(const std::string& home, std::string_view userDirs) {
    constexpr std::string_view key = "XDG_DESKTOP_DIR=";
    std::size_t pos = 0;
    while (pos < userDirs.size()) {
        const std::size_t end = std::min(userDirs.find('\n', pos), userDirs.size());
        std::string_view line = userDirs.substr(pos, end - pos);
        pos = end + 1;
        line.remove_prefix(std::min(line.find_first_not_of(" \t"), line.size()));
        if (!line.starts_with(key))
            continue;
        line.remove_prefix(key.size());
        if (line.size() < 2 || line.front() != '"' || line.find('"', 1) == std::string_view::npos)
            return {};
        std::string_view value = line.substr(1, line.find('"', 1) - 1);
        if (value.starts_with("$HOME"))
            return home + std::string(value.substr(5));
        return value.starts_with('/') ? std::string(value) : std::string();
    }
    return {};
}

std::string withoutTrailingSeparators(std::string path) {
    while (path.size() > 1 && path.back() == '/')
        path.pop_back();
    return path;
}

} // namespace

std::string homeDirectory() {
    std::string home = environment("HOME");
    if (home.empty()) {
        if (const passwd* entry = getpwuid(getuid()); entry && entry->pw_dir)
            home = entry->pw_dir;
    }
    return home.empty() ? std::string("/") : home;
}

std::string userName() {
    const passwd* entry = getpwuid(getuid());
    return entry && entry->pw_name ? std::string(entry->pw_name) : std::string();
}

std::string desktopDirectoryFrom(const std::string& homeDirectory, std::string_view userDirs,
                                 const std::function<bool(const std::string&)>& isFolder) {
    const std::string home = withoutTrailingSeparators(homeDirectory);
    std::string configured = withoutTrailingSeparators(configuredDesktop(home, userDirs));
    if (!configured.empty() && isFolder(configured))
        return configured;
    const std::string desktop = (home == "/" ? "" : home) + "/Desktop";
    return isFolder(desktop) ? desktop : home;
}

std::string desktopDirectory() {
    const std::string home = homeDirectory();
    std::string config = environment("XDG_CONFIG_HOME");
    if (config.empty())
        config = home + "/.config";
    return desktopDirectoryFrom(home, readText(config + "/user-dirs.dirs"),
                                [](const std::string& path) {
                                    const auto found = systemFileSystem().attributes(path);
                                    return found.ok() && hasAny(found.value, Attribute::Directory);
                                });
}

std::string trashDirectory() {
    const std::string data = environment("XDG_DATA_HOME");
    return (data.empty() ? homeDirectory() + "/.local/share" : data) + "/Trash";
}

} // namespace ordinalette::platform
