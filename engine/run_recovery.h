#pragma once

#include "engine/journaled_run.h"
#include "engine/run_journal.h"
#include "platform/file_system.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace ordinalette::engine {

// What finishing or undoing could not do: the files left alone because they are no longer
// where the journal says (moved, deleted or replaced by another file since), or because another
// entry holds the name they should take. Each is named by its name before the run.
struct RecoveryReport {
    std::vector<std::string> leftAlone;
};

// Called after each file moved into its place with the number placed so far and the number of
// files to place.
using ProgressCallback = std::function<void(std::size_t placed, std::size_t total)>;

// Finishing and undoing are driven by the journal and the disk alone: every file's place is
// read from the disk by its file number, files move through folder handles and never replace an
// existing entry, so either can be interrupted and repeated until it is done, and either can
// follow the other. Failures throw EInOutError and leave the journal unfinished.

// A run's folder, open, and the path it was found at.
struct RunFolder {
    platform::DirectoryHandle handle;
    std::string path;
};
// The folder that the journal's run worked in, known by its identity wherever it is now: at
// path when given, else at the journal's path, else renamed beside it, else moved to one of
// shownFolders (the folders the user sees) or into one of them. nullopt when none of these is
// that folder.
std::optional<RunFolder> findRunFolder(platform::FileSystem& fileSystem, const RunJournal& journal,
                                       const std::string& path,
                                       const std::vector<std::string>& shownFolders = {});

// Every interrupted run of the journal folder whose folder (found by findRunFolder among
// shownFolders, and reported where it is now) and temporary folder still exist, oldest first. A
// journal whose temporary folder is gone has nothing left to move; it is marked finished or
// reverted on the way when its files tell which (a run interrupted right before its first move or
// right after its last). Journals in use by a run going on are passed over.
std::vector<InterruptedRun> interruptedRuns(platform::FileSystem& fileSystem,
                                            std::string_view journalDirectory,
                                            const std::vector<std::string>& shownFolders = {});

// Moves every file of an interrupted run to its new name, removes the temporary folder and
// marks the journal finished. folderPath, when given, is where the run's folder is now (as
// interruptedRuns or lastRunOf found it).
RecoveryReport finishRun(platform::FileSystem& fileSystem, std::string_view journalDirectory,
                         std::uint64_t journal, const ProgressCallback& progress,
                         std::string_view folderPath = {});
// Puts every file of an interrupted run back under its old name, removes the temporary folder
// and marks the journal reverted.
RecoveryReport revertRun(platform::FileSystem& fileSystem, std::string_view journalDirectory,
                         std::uint64_t journal, const ProgressCallback& progress,
                         std::string_view folderPath = {});

// The last run of a folder, as its journals tell it.
struct LastRun {
    enum class Kind {
        None,        // no run, or the last one was an undo: nothing to undo
        Finished,    // a finished run, which can be undone
        Interrupted, // an interrupted run, to be finished or undone first
    };
    Kind kind = Kind::None;
    InterruptedRun run;
};
// Journals of the same folder (by identity, whatever its path) count, newest first, leaving
// out reverted ones: the folder is as it was before them.
LastRun lastRunOf(platform::FileSystem& fileSystem, std::string_view journalDirectory,
                  std::string_view folderPath);

// Undoes a finished run of the folder: a run of its own, with a journal of its own (an undo,
// never offered for undoing), in two passes through a fresh temporary folder, that gives every
// file still under its new name its old name again. Makes the folder the working directory.
// A failure after its journal was written throws EInterruptedRun.
RecoveryReport undoRun(platform::FileSystem& fileSystem, std::string_view journalDirectory,
                       std::uint64_t journal, std::string_view folderPath,
                       const ProgressCallback& progress);

} // namespace ordinalette::engine
