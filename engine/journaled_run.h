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

// A run that failed after its journal was written: its files may lie anywhere between the
// folder and its temporary folder, and the journal can finish or undo it.
class EInterruptedRun : public EInOutError {
public:
    EInterruptedRun(int code, std::uint64_t journal, std::string folderPath)
        : EInOutError(code), m_journal(journal), m_folderPath(std::move(folderPath)) {}

    std::uint64_t journal() const { return m_journal; }
    const std::string& folderPath() const { return m_folderPath; }

private:
    std::uint64_t m_journal;
    std::string m_folderPath;
};

// Called after each file moved into its place with the number of files placed so far.
using PlacedCallback = std::function<void(std::size_t placed)>;

// The entries of a folder by name, with their file numbers.
using FolderContents = std::unordered_map<std::string, std::uint64_t>;
FolderContents folderContents(platform::FileSystem& fileSystem,
                              const platform::DirectoryHandle& folder);

// The file numbers of the named entries of a folder, in the order of names; 0 for a name that
// the folder does not hold.
std::vector<std::uint64_t> fileNumbersOf(platform::FileSystem& fileSystem,
                                         const platform::DirectoryHandle& folder,
                                         std::span<const std::string> names);

// The first "tmp<n>" that names no directory of the working directory. A plain file of that
// name does not count as taken: creating the directory then fails, as it should.
std::string freeTemporaryName(platform::FileSystem& fileSystem);

// One file's move: the name it leaves and the name it takes.
struct Move {
    std::string_view from;
    std::string_view to;
};

// The two passes of every run: each move of park from the folder into the temporary folder,
// then each move of place from the temporary folder into the folder; parked and placed count
// the moves of their pass. Throws EInOutError at the first failure, leaving everything else as
// it stands.
void moveInTwoPasses(platform::FileSystem& fileSystem, const platform::DirectoryHandle& folder,
                     const platform::DirectoryHandle& temporary, std::span<const Move> park,
                     std::span<const Move> place, const PlacedCallback& placed,
                     const PlacedCallback& parked = {});

// Runs every file of the journal from its old name to its new name through the journal's
// temporary folder, the working directory being the folder (open as folder): writes the
// journal, creates the temporary folder, moves, removes the temporary folder, marks the journal
// finished. A failure before the first move undoes what was done and throws EInOutError; a
// failure after it throws EInterruptedRun.
void runJournaled(platform::FileSystem& fileSystem, JournalStore& store, const RunJournal& journal,
                  const platform::DirectoryHandle& folder, const PlacedCallback& placed,
                  const PlacedCallback& parked = {});

} // namespace ordinalette::engine
