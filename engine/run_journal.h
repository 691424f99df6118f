#pragma once

#include "platform/file_system.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace ordinalette::engine {

// What a journal records: a rename run, or the undo of one (an undo is never undone).
enum class JournalKind { Run, Undo };

// One file of a run: its names before and after the run, its file number as the folder's
// listing gives it, and its identity, by which it is known wherever the run left it and which
// no file made later in its place shares (both empty or 0 when it was not in the folder as the
// run began). The number only spares asking an entry whose number differs.
struct JournalFile {
    std::string oldName;
    std::uint64_t fileNumber = 0;
    platform::EntryIdentity identity;
    std::string newName;
};

// All that finishing or undoing a run needs from any point of it: the folder, its temporary
// subfolder, and every file in list order. During the run a file is in one of three places:
// in the folder under its old name (not moved yet), in the temporary folder under its old name,
// or in the folder under its new name (done). Which one is read from the disk, by file number;
// the run writes nothing per file.
struct RunJournal {
    JournalKind kind = JournalKind::Run;
    std::string folderPath;
    platform::FileIdentity folder;
    std::string temporaryName;
    std::vector<JournalFile> files;
};

// The journal as text, version 2: lines ending in a line feed, fields separated by a tab,
//
//     ordinalette-journal <TAB> 2
//     kind <TAB> run | undo
//     folder <TAB> path of the folder
//     identity <TAB> volume identity <TAB> identity of the folder
//     temporary <TAB> name of the temporary subfolder
//     file <TAB> file number <TAB> identity <TAB> old name <TAB> new name   one line per file,
//                                                                          in list order
//     end <TAB> number of file lines
//
// Numbers are unsigned decimals. Names, identities and the path are their raw bytes in the
// system code page (any bytes, not necessarily valid text), except for three bytes written as
// two: a backslash as "\\", a tab as "\t" and a line feed as "\n". A text without its end line
// was cut short. Version 1 (before identities) knew files by their number alone, which a later
// file can share: it is never read as a journal.
std::string journalText(const RunJournal& journal);
// The journal of a text; nullopt for anything but a whole journal of version 2.
std::optional<RunJournal> parseJournal(std::string_view text);

// What the head of a journal says, of version 1 or 2, however short it was cut after it: the
// folder and its temporary subfolder. nullopt when the text does not get that far.
struct JournalHead {
    std::string folderPath;
    std::string temporaryName;
};
std::optional<JournalHead> parseJournalHead(std::string_view text);

} // namespace ordinalette::engine
