#pragma once

#include "engine/run_journal.h"
#include "platform/file_system.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace ordinalette::engine {

enum class JournalState {
    Unfinished, // the run is going on, or was interrupted
    Finished,   // every file that could be moved has its new name
    Reverted,   // every file that could be moved was put back under its old name
};

// A journal of the store: its number (a later run has a higher one) and its state.
struct StoredJournal {
    std::uint64_t number = 0;
    JournalState state = JournalState::Unfinished;
};

// The journal of a run that is going on. Its file stays open while the run lasts, which keeps
// other instances of the program from reading it and taking the run for an interrupted one.
struct OpenJournal {
    StoredJournal stored;
    platform::FileHandle file;
};

// The journals of the program's runs: one file per run in one folder, its name the run's number
// and the journal's state ("000000000042.unfinished", ".finished", ".reverted"), so that a state
// changes by renaming and the list of journals is read without opening them. Failures throw
// EInOutError, unless said otherwise.
class JournalStore {
public:
    // How many finished or reverted journals are kept; older ones are deleted.
    static constexpr std::size_t kKeptJournals = 20;

    JournalStore(platform::FileSystem& fileSystem, std::string directory);

    // Writes the journal of a run about to start under a new number and waits until the file
    // and its name are on the storage device. Creates the store's folder when it is missing. A
    // journal that cannot be written whole is deleted again.
    OpenJournal create(const RunJournal& journal);
    // Deletes the journal of a run that ended before its first move, quietly: a journal left
    // behind is found to have moved nothing and is marked reverted at the next start.
    void remove(const StoredJournal& journal);
    // Gives a journal its new state (its file must be closed).
    void setState(StoredJournal& journal, JournalState state);
    // Every journal of the store, newest first; none when the folder cannot be read.
    std::vector<StoredJournal> journals();
    // The journal of a number, when the store holds it.
    std::optional<StoredJournal> find(std::uint64_t number);
    // Fails while the journal's run is going on (SharingViolation), and with InvalidData for a
    // file that is not a whole journal.
    platform::Result<RunJournal> read(const StoredJournal& journal);
    // Deletes all but the newest kept finished or reverted journals, quietly: what cannot be
    // deleted now is tried again after the next run. Unfinished journals stay for recovery.
    void prune();

private:
    std::string path(const StoredJournal& journal) const;

    platform::FileSystem& m_fileSystem;
    std::string m_directory;
};

} // namespace ordinalette::engine
