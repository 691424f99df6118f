#pragma once

#include "engine/in_out_error.h"
#include "engine/run_journal.h"
#include "platform/file_system.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace ordinalette::engine {

enum class JournalState {
    Unfinished, // the run is going on, or was interrupted
    Finished,   // every file that could be moved has its new name
    Reverted,   // every file that could be moved was put back under its old name
    Damaged,    // cut short or of a former version: never offered, reported once
};

// Why the journals cannot be used.
enum class StoreProblem {
    OpenToOthers, // the folder or a journal may be written by other users
    CannotWrite,  // a journal cannot be written
};

// What the user is told of a problem of the store, naming its folder.
std::string storeProblemText(StoreProblem problem, std::string_view directory);

// A problem of the journal store rather than of the user's files; the message names the store's
// folder and the code is the failure's own.
class EJournalStore : public EInOutError {
public:
    EJournalStore(int code, StoreProblem problem, std::string_view directory)
        : EInOutError(code, storeProblemText(problem, directory)) {}
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
// (twelve digits at least) and the journal's state ("000000000042.unfinished", ".finished",
// ".reverted", ".damaged"), so that a state changes by renaming and the list of journals is read
// without opening them. Only a folder and journals of the user's own that no one else may write
// are read: a journal planted by another user is never taken for one of ours. Failures throw
// EInOutError, unless said otherwise.
class JournalStore {
public:
    // How many finished, reverted or damaged journals are kept; older ones are deleted.
    static constexpr std::size_t kKeptJournals = 20;
    // The largest journal written or read: a line per file of the longest names and identity,
    // for a quarter of a million files (a journal of short names holds far more).
    static constexpr std::size_t kLongestFileLine = 2 * (2 * 520) + 300 + 32;
    static constexpr std::size_t kLargestJournal = (std::size_t{1} << 18) * kLongestFileLine;

    JournalStore(platform::FileSystem& fileSystem, std::string directory);

    // Writes the journal of a run about to start under a new number and waits until the file
    // and its name are on the storage device. Creates the store's folder when it is missing. A
    // journal that cannot be written whole is deleted again; failing, and in a folder that
    // others may write, it throws EJournalStore.
    OpenJournal create(const RunJournal& journal);
    // Whether the store's folder and every journal in it are the user's own, and no one else
    // may write them.
    bool isPrivate();
    // Deletes the journal of a run that ended before its first move, quietly: a journal left
    // behind is found to have moved nothing and is marked reverted at the next start.
    void remove(const StoredJournal& journal);
    // Gives a journal its new state (its file must be closed).
    void setState(StoredJournal& journal, JournalState state);
    // Every journal of the store, newest first; none when the folder cannot be read.
    std::vector<StoredJournal> journals();
    // The journal of a number, when the store holds it.
    std::optional<StoredJournal> find(std::uint64_t number);
    // Fails while the journal's run is going on (SharingViolation), with AccessDenied in a
    // store or for a journal that others may write, with FileTooLarge for a file larger than
    // any journal (before it is read), and with InvalidData for a file that is not a whole
    // journal.
    platform::Result<RunJournal> read(const StoredJournal& journal);
    // The text of a journal, however damaged, failing as read does.
    platform::Result<std::string> readText(const StoredJournal& journal);
    // Deletes all but the newest kept finished or reverted journals, quietly: what cannot be
    // deleted now is tried again after the next run. Unfinished journals stay for recovery.
    void prune();

    const std::string& directory() const { return m_directory; }
    std::string path(const StoredJournal& journal) const;

private:
    platform::FileSystem& m_fileSystem;
    std::string m_directory;
};

} // namespace ordinalette::engine
