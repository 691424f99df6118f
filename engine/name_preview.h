#pragma once

#include "engine/naming.h"
#include "platform/code_page.h"
#include "platform/file_system.h"

#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace ordinalette::engine {

// Why a rename run could not give a file its new name.
enum class NameMark {
    None,
    InvalidName, // not a single file name, or holding what the file system refuses
    TooLong,     // longer than the folder's file system takes
    Taken,       // an entry of the folder that is not listed already bears it
};

// The new name of one listed file and whether the run can give it.
struct PreviewedName {
    std::string name;
    NameMark mark = NameMark::None;
};

// The new name of every listed file, in list order, as a run with these values gives them, each
// marked when the run cannot give it. Listed files never count as taking a name, since the run
// moves them all away before it gives the first one; every other entry of the folder does,
// whatever its kind. Reads the folder's entry names in one enumeration and renames nothing.
// Throws EInOutError when the folder cannot be read.
std::vector<PreviewedName>
previewNewNames(platform::FileSystem& fileSystem, std::string_view folderPath,
                std::span<const std::string> names, std::string_view prefix, int width,
                ExtensionCase extensionCase, const platform::CodePage& codePage);

} // namespace ordinalette::engine
