#include "engine/journaled_run.h"

#include <functional>
#include <vector>

namespace ordinalette::engine {

FolderContents folderContents(platform::FileSystem& fileSystem,
                              const platform::DirectoryHandle& folder) {
    FolderContents contents;
    check(fileSystem.enumerateFileNumbers(folder, [&](std::string_view name, std::uint64_t number) {
        contents.emplace(name, number);
    }));
    return contents;
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

std::string freeTemporaryName(platform::FileSystem& fileSystem) {
    for (unsigned long long n = 1;; ++n) {
        std::string name = "tmp" + std::to_string(n);
        const auto attributes = fileSystem.attributes(name);
        if (!attributes.ok() || !platform::hasAny(attributes.value, platform::Attribute::Directory))
            return name;
    }
}

void moveInTwoPasses(platform::FileSystem& fileSystem, const platform::DirectoryHandle& folder,
                     const platform::DirectoryHandle& temporary, std::span<const Move> park,
                     std::span<const Move> place, const PlacedCallback& placed,
                     const PlacedCallback& parked) {
    for (std::size_t i = 0; i < park.size(); ++i) {
        check(fileSystem.moveFile(folder, park[i].from, temporary, park[i].to));
        if (parked)
            parked(i + 1);
    }
    for (std::size_t i = 0; i < place.size(); ++i) {
        check(fileSystem.moveFile(temporary, place[i].from, folder, place[i].to));
        if (placed)
            placed(i + 1);
    }
}

void runJournaled(platform::FileSystem& fileSystem, JournalStore& store, const RunJournal& journal,
                  const platform::DirectoryHandle& folder, const PlacedCallback& placed,
                  const PlacedCallback& parked) {
    OpenJournal open = store.create(journal);
    if (const int error = fileSystem.createDirectory(journal.temporaryName)) {
        // Nothing has moved: the run leaves no journal behind.
        open.file.reset();
        store.remove(open.stored);
        throw EInOutError(error);
    }
    try {
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
            moveInTwoPasses(fileSystem, folder, temporary, park, place, placed, parked);
        }
        check(fileSystem.removeDirectory(journal.temporaryName));
        open.file.reset();
        store.setState(open.stored, JournalState::Finished);
    } catch (const EInOutError& error) {
        throw EInterruptedRun(error.code(), open.stored.number, journal.folderPath);
    }
    store.prune();
}

} // namespace ordinalette::engine
