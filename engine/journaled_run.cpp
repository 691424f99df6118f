#include "engine/journaled_run.h"

#include <charconv>
#include <functional>
#include <unordered_set>
#include <vector>

namespace ordinalette::engine {

FolderContents::FolderContents(platform::FileSystem& fileSystem,
                               const platform::DirectoryHandle& folder)
    : m_fileSystem(&fileSystem), m_folder(&folder) {
    check(fileSystem.enumerateFileNumbers(folder, [&](std::string_view name, std::uint64_t number) {
        m_numbers.emplace(name, number);
    }));
}

bool FolderContents::holds(const std::string& name, const JournalFile& file) const {
    const auto found = m_numbers.find(name);
    if (found == m_numbers.end() || found->second != file.fileNumber || file.identity.empty())
        return false;
    auto known = m_identities.find(name);
    if (known == m_identities.end()) {
        // An entry that cannot be asked is not proven to be the file.
        auto identity = m_fileSystem->entryIdentity(*m_folder, name);
        known = m_identities.emplace(name, identity.ok() ? std::move(identity.value) : "").first;
    }
    return known->second == file.identity;
}

std::vector<std::uint64_t> fileNumbersOf(platform::FileSystem& fileSystem,
                                         const platform::DirectoryHandle& folder,
                                         std::span<const std::string> names) {
    // The names' indexes (plus one, 0 marking a free slot) in a table at most half full, probed
    // slot after slot: a run looks up every file of folders of a hundred thousand, and a table
    // of one node per name costs several times as much.
    std::size_t size = 2;
    while (size < names.size() * 2)
        size *= 2;
    const std::size_t mask = size - 1;
    std::vector<std::size_t> slots(size, 0);
    const std::hash<std::string_view> hash;
    for (std::size_t i = 0; i < names.size(); ++i) {
        std::size_t slot = hash(names[i]) & mask;
        while (slots[slot] != 0)
            slot = (slot + 1) & mask;
        slots[slot] = i + 1;
    }
    std::vector<std::uint64_t> numbers(names.size(), 0);
    check(fileSystem.enumerateFileNumbers(folder, [&](std::string_view name, std::uint64_t number) {
        for (std::size_t slot = hash(name) & mask; slots[slot] != 0; slot = (slot + 1) & mask) {
            if (names[slots[slot] - 1] == name) {
                numbers[slots[slot] - 1] = number;
                return;
            }
        }
    }));
    return numbers;
}

namespace {

// The n of a name "tmp<n>" in any letter case; 0 for any other name.
unsigned long long temporaryNumberOf(std::string_view name) {
    if (name.size() < 4 || (name[0] | 0x20) != 't' || (name[1] | 0x20) != 'm' ||
        (name[2] | 0x20) != 'p')
        return 0;
    unsigned long long n = 0;
    const auto [end, error] = std::from_chars(name.data() + 3, name.data() + name.size(), n);
    return error == std::errc() && end == name.data() + name.size() ? n : 0;
}

} // namespace

std::string freeTemporaryName(platform::FileSystem& fileSystem,
                              std::span<const JournalFile> files) {
    std::unordered_set<unsigned long long> taken;
    for (const JournalFile& file : files) {
        taken.insert(temporaryNumberOf(file.oldName));
        taken.insert(temporaryNumberOf(file.newName));
    }
    for (unsigned long long n = 1;; ++n) {
        std::string name = "tmp" + std::to_string(n);
        // An entry that cannot be looked up is left to creating the folder, which reports it.
        if (!taken.contains(n) && !fileSystem.attributes(name).ok())
            return name;
    }
}

void moveInTwoPasses(platform::FileSystem& fileSystem, const platform::DirectoryHandle& folder,
                     const platform::DirectoryHandle& temporary, std::span<const Move> park,
                     std::span<const Move> place, const PlacedCallback& placed, std::size_t& moved,
                     const PlacedCallback& parked) {
    for (std::size_t i = 0; i < park.size(); ++i) {
        check(fileSystem.moveFile(folder, park[i].from, temporary, park[i].to));
        ++moved;
        if (parked)
            parked(i + 1);
    }
    for (std::size_t i = 0; i < place.size(); ++i) {
        check(fileSystem.moveFile(temporary, place[i].from, folder, place[i].to));
        ++moved;
        if (placed)
            placed(i + 1);
    }
}

void flushMoves(platform::FileSystem& fileSystem, const platform::DirectoryHandle& folder,
                const platform::DirectoryHandle& temporary) {
    check(fileSystem.flushDirectory(temporary));
    check(fileSystem.flushDirectory(folder));
}

void runJournaled(platform::FileSystem& fileSystem, JournalStore& store, const RunJournal& journal,
                  const platform::DirectoryHandle& folder, const PlacedCallback& placed,
                  const PlacedCallback& parked) {
    OpenJournal open = store.create(journal);
    std::size_t moved = 0;
    bool created = false;
    try {
        check(fileSystem.createDirectory(journal.temporaryName));
        created = true;
        std::vector<Move> park;
        std::vector<Move> place;
        park.reserve(journal.files.size());
        place.reserve(journal.files.size());
        for (const JournalFile& file : journal.files) {
            park.push_back({file.oldName, file.oldName});
            place.push_back({file.oldName, file.newName});
        }
        {
            // Closed before the folder is removed: an open folder cannot be removed everywhere.
            const platform::DirectoryHandle temporary =
                checked(fileSystem.openSubdirectory(folder, journal.temporaryName));
            moveInTwoPasses(fileSystem, folder, temporary, park, place, placed, moved, parked);
            flushMoves(fileSystem, folder, temporary);
        }
        check(fileSystem.removeDirectory(journal.temporaryName));
        open.file.reset();
        store.setState(open.stored, JournalState::Finished);
    } catch (const EInOutError& error) {
        if (moved == 0) {
            // Nothing has moved: the run leaves neither its journal nor its temporary folder
            // behind (a folder of that name made by someone else meanwhile stays).
            if (created) // best effort: the error reported is the move's own
                static_cast<void>(fileSystem.removeDirectory(journal.temporaryName));
            open.file.reset();
            store.remove(open.stored);
            throw;
        }
        throw EInterruptedRun(error.code(),
                              InterruptedRun{open.stored.number, journal.kind, journal.folderPath});
    }
    store.prune();
}

} // namespace ordinalette::engine
