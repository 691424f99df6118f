#pragma once

#include "platform/file_system.h"

#include <string>
#include <string_view>
#include <vector>

namespace ordinalette::engine {

// What the user is told at start-up about the journals that cannot be offered, each once.
struct JournalNotice {
    enum class Kind {
        StoreOpenToOthers, // path is the journal folder: nothing in it is offered or undone
        CutShort,          // path is the temporary folder that a damaged journal leaves with files
        FolderGone,        // path is the folder of an unfinished journal, which was removed
        EmptyRemoved,      // path is an empty journal (a kill while it was written), removed
    };
    Kind kind = Kind::StoreOpenToOthers;
    std::string path;
};

// Looks at every unfinished journal that recovery cannot offer and says what became of it: a
// journal cut short, or of the former version (which knew files by number alone), is marked
// damaged, and named when its temporary folder still holds files, for the user to look into; an
// empty one is removed; one whose folder is gone from a volume that is still there is removed.
// A journal folder that others may write is named alone, and nothing in it is touched. A folder
// moved since is looked for as findRunFolder does, among shownFolders.
std::vector<JournalNotice> reviewJournals(platform::FileSystem& fileSystem,
                                          std::string_view journalDirectory,
                                          const std::vector<std::string>& shownFolders = {});

} // namespace ordinalette::engine
