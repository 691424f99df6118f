#pragma once

#include <functional>
#include <string>
#include <string_view>

namespace ordinalette::platform {

// The user's home directory: $HOME, else the password database's, else "/".
std::string homeDirectory();
// The name of the user running the program, from the password database; empty when unknown.
std::string userName();
// The user's desktop directory: XDG_DESKTOP_DIR of ~/.config/user-dirs.dirs (or of
// $XDG_CONFIG_HOME/user-dirs.dirs), else ~/Desktop when it exists, else $HOME.
std::string desktopDirectory();
// The same rule over explicit inputs: the home directory, the text of user-dirs.dirs (empty
// when there is none) and a test for an existing folder. A configured folder that does not
// exist is passed over, so that the desktop always names a folder.
std::string desktopDirectoryFrom(const std::string& home, std::string_view userDirs,
                                 const std::function<bool(const std::string&)>& isFolder);
// The user's trash directory ($XDG_DATA_HOME/Trash, else ~/.local/share/Trash).
std::string trashDirectory();

} // namespace ordinalette::platform
