#pragma once

#include "engine/in_out_error.h"
#include "engine/journal_store.h"
#include "engine/run_journal.h"
#include "platform/file_system.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace ordinalette::engine {

// A run that ended before its last move: its journal, what it was and its folder.
struct InterruptedRun {
    std::uint64_t journal = 0;
    JournalKind kind = JournalKind::Run;
    std::string folderPath;
};

// A run that failed after its journal was written: its files may lie anywhere between the
// folder and its temporary folder, and the journal can finish or undo it.
class EInterruptedRun : public EInOutError {
public:
    EInterruptedRun(int code, InterruptedRun run) : EInOutError(code), m_run(std::move(run)) {}

    const InterruptedRun& run() const { return m_run; }

private:
    InterruptedRun m_run;
};

// Called after each file moved into its place with the number of files placed so far.
using PlacedCallback = std::function<void(std::size_t placed)>;

// The entries of an open folder by name with their file numbers, from one listing, and which
// file each one is, asked of the folder only for an entry whose number is the one looked for.
class FolderContents {
public:
    // No entries: a folder that is not there.
    FolderContents() = default;
    // Lists the folder, which must stay open while the contents are asked.
    FolderContents(platform::FileSystem& fileSystem, const platform::DirectoryHandle& folder);

    bool contains(const std::string& name) const { return m_numbers.contains(name); }
    std::size_t size() const { return m_numbers.size(); }
    // Whether the entry name is the file: the same number and exactly the same identity.
    bool holds(const std::string& name, const JournalFile& file) const;

private:
    platform::FileSystem* m_fileSystem = nullptr;
    const platform::DirectoryHandle* m_folder = nullptr;
    std::unordered_map<std::string, std::uint64_t> m_numbers;
    // Identities asked so far, by name: a plan asks for the same entries more than once.
    mutable std::unordered_map<std::string, platform::EntryIdentity> m_identities;
};

// The file numbers of the named entries of a folder, in the order of names; 0 for a name that
// the folder does not hold.
std::vector<std::uint64_t> fileNumbersOf(platform::FileSystem& fileSystem,
                                         const platform::DirectoryHandle& folder,
                                         std::span<const std::string> names);

// The first "tmp<n>" that names no entry of the working directory, of any kind, and that no
// file of the run has for its old or new name (letter case ignored, as some file systems ignore
// it): a temporary folder of that name would keep the file from taking its name.
std::string freeTemporaryName(platform::FileSystem& fileSystem, std::span<const JournalFile> files);

// One file's move: the name it leaves and the name it takes.
struct Move {
    std::string_view from;
    std::string_view to;
};

// The two passes of every run: each move of park from the folder into the temporary folder,
// then each move of place from the temporary folder into the folder, counting the moves made in
// moved; parked and placed count the moves of their pass. Throws EInOutError at the first
// failure, leaving everything else as it stands.
void moveInTwoPasses(platform::FileSystem& fileSystem, const platform::DirectoryHandle& folder,
                     const platform::DirectoryHandle& temporary, std::span<const Move> park,
                     std::span<const Move> place, const PlacedCallback& placed, std::size_t& moved,
                     const PlacedCallback& parked = {});

// Waits until the moves between the folder and its temporary folder are on the storage device:
// a journal may say so only after that, wherever the journals are kept.
void flushMoves(platform::FileSystem& fileSystem, const platform::DirectoryHandle& folder,
                const platform::DirectoryHandle& temporary);

// Runs every file of the journal from its old name to its new name through the journal's
// temporary folder, the working directory being the folder (open as folder): writes the
// journal, creates the temporary folder, moves, removes the temporary folder, marks the journal
// finished. A failure before the first move has been made, the first move's own included,
// undoes what was done (the journal is removed) and throws EInOutError; a later failure throws
// EInterruptedRun.
void runJournaled(platform::FileSystem& fileSystem, JournalStore& store, const RunJournal& journal,
                  const platform::DirectoryHandle& folder, const PlacedCallback& placed,
                  const PlacedCallback& parked = {});

} // namespace ordinalette::engine
