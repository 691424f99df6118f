#include "engine/run_recovery.h"

#include "engine/in_out_error.h"
#include "engine/journal_store.h"
#include "engine/journaled_run.h"
#include "platform/path.h"

#include <optional>
#include <unordered_set>

namespace ordinalette::engine {

namespace {

// Towards the new names (finishing), or back to the old ones (undoing).
enum class Direction { Forward, Back };

// Where a file of a journal is now.
enum class Place {
    Done,     // in the folder under the name it is to take
    Parked,   // in the temporary folder under its old name
    AtSource, // in the folder under the name it is to leave
    Missing,  // none of these: moved, deleted or replaced by someone else
};

// The moves that take every file of a journal that can move to its place, and the files that
// stay where they are.
struct Plan {
    std::vector<Move> park;
    std::vector<Move> place;
    std::vector<std::size_t> parkedFiles; // the indexes of the files that park moves
    std::vector<std::string> leftAlone;
    bool temporaryKeepsFiles = false; // a file of the run stays in the temporary folder
    std::size_t unparked = 0;         // files that place moves out of the temporary folder

    bool nothingToDo() const { return park.empty() && place.empty() && !temporaryKeepsFiles; }
};

const std::string& sourceName(const JournalFile& file, Direction direction) {
    return direction == Direction::Forward ? file.oldName : file.newName;
}

const std::string& targetName(const JournalFile& file, Direction direction) {
    return direction == Direction::Forward ? file.newName : file.oldName;
}

Place placeOf(const JournalFile& file, Direction direction, const FolderContents& folder,
              const FolderContents& temporary) {
    if (folder.holds(targetName(file, direction), file))
        return Place::Done;
    if (temporary.holds(file.oldName, file))
        return Place::Parked;
    if (folder.holds(sourceName(file, direction), file))
        return Place::AtSource;
    return Place::Missing;
}

// Files that cannot reach their place: the name to take is held by an entry that does not move
// away, or (for a file still to be parked) its name in the temporary folder is taken. A file
// that stays keeps its name held in turn, so this is repeated until nothing changes.
std::vector<bool> blockedFiles(const RunJournal& journal, Direction direction,
                               const std::vector<Place>& places, const FolderContents& folder,
                               const FolderContents& temporary) {
    const std::size_t count = journal.files.size();
    std::unordered_set<std::string_view> vacated;
    for (std::size_t i = 0; i < count; ++i) {
        if (places[i] == Place::AtSource)
            vacated.insert(sourceName(journal.files[i], direction));
    }
    std::vector<bool> blocked(count, false);
    for (bool changed = true; changed;) {
        changed = false;
        for (std::size_t i = 0; i < count; ++i) {
            if (blocked[i] || (places[i] != Place::AtSource && places[i] != Place::Parked))
                continue;
            const JournalFile& file = journal.files[i];
            const std::string& target = targetName(file, direction);
            const bool targetHeld = folder.contains(target) && !vacated.contains(target);
            const bool parkingHeld =
                places[i] == Place::AtSource && temporary.contains(file.oldName);
            if (targetHeld || parkingHeld) {
                blocked[i] = true;
                changed = true;
                if (places[i] == Place::AtSource)
                    vacated.erase(sourceName(file, direction));
            }
        }
    }
    return blocked;
}

Plan planMoves(const RunJournal& journal, Direction direction, const FolderContents& folder,
               const FolderContents& temporary) {
    std::vector<Place> places;
    places.reserve(journal.files.size());
    for (const JournalFile& file : journal.files)
        places.push_back(placeOf(file, direction, folder, temporary));
    const std::vector<bool> blocked = blockedFiles(journal, direction, places, folder, temporary);

    Plan plan;
    for (std::size_t i = 0; i < journal.files.size(); ++i) {
        const JournalFile& file = journal.files[i];
        if (places[i] == Place::Done)
            continue;
        if (places[i] == Place::Missing || blocked[i]) {
            plan.leftAlone.push_back(file.oldName);
            plan.temporaryKeepsFiles |= places[i] == Place::Parked;
            continue;
        }
        if (places[i] == Place::AtSource) {
            plan.park.push_back({sourceName(file, direction), file.oldName});
            plan.parkedFiles.push_back(i);
        } else {
            ++plan.unparked;
        }
        plan.place.push_back({file.oldName, targetName(file, direction)});
    }
    return plan;
}

PlacedCallback placedOf(const ProgressCallback& progress, std::size_t total) {
    return [progress, total](std::size_t placed) {
        if (progress)
            progress(placed, total);
    };
}

// The folder at path, when it is the folder that the run worked in.
std::optional<RunFolder> openIfRunFolder(platform::FileSystem& fileSystem,
                                         const RunJournal& journal, const std::string& path) {
    auto folder = fileSystem.openDirectory(path);
    if (!folder.ok())
        return std::nullopt;
    const auto identity = fileSystem.identity(folder.value);
    if (!identity.ok() || identity.value != journal.folder)
        return std::nullopt;
    return RunFolder{std::move(folder.value), path};
}

// The folder in parent that is the folder that the run worked in.
std::optional<RunFolder> runFolderIn(platform::FileSystem& fileSystem, const RunJournal& journal,
                                     const std::string& parent) {
    std::vector<std::string> folders;
    using enum platform::Attribute;
    // A parent that cannot be read has no folder to look in.
    static_cast<void>(fileSystem.enumerate(
        platform::joinPath(parent, "*"), {None, false}, [&](const platform::DirectoryEntry& entry) {
            if (platform::hasAny(entry.attributes, Directory))
                folders.push_back(platform::joinPath(parent, entry.name));
        }));
    for (const std::string& folder : folders) {
        if (auto found = openIfRunFolder(fileSystem, journal, folder))
            return found;
    }
    return std::nullopt;
}

// Marks an unfinished journal whose temporary folder is gone finished or reverted when its
// files are all at their new or all at their old names; leaves it unfinished otherwise. Gives
// its state.
JournalState settle(platform::FileSystem& fileSystem, JournalStore& store, StoredJournal& stored,
                    const RunJournal& journal, const platform::DirectoryHandle& folder) {
    const FolderContents contents(fileSystem, folder);
    if (planMoves(journal, Direction::Forward, contents, {}).nothingToDo())
        store.setState(stored, JournalState::Finished);
    else if (planMoves(journal, Direction::Back, contents, {}).nothingToDo())
        store.setState(stored, JournalState::Reverted);
    return stored.state;
}

bool hasTemporaryFolder(platform::FileSystem& fileSystem, const platform::DirectoryHandle& folder,
                        const RunJournal& journal) {
    return fileSystem.openSubdirectory(folder, journal.temporaryName).ok();
}

RecoveryReport recover(platform::FileSystem& fileSystem, std::string_view journalDirectory,
                       const InterruptedRun& run, Direction direction,
                       const ProgressCallback& progress) {
    const std::uint64_t number = run.journal;
    JournalStore store(fileSystem, std::string(journalDirectory));
    std::optional<StoredJournal> stored = store.find(number);
    if (!stored || stored->state != JournalState::Unfinished)
        throw EInOutError(platform::error::FileNotFound);
    const RunJournal journal = checked(store.read(*stored));
    const auto found = findRunFolder(fileSystem, journal, run.folderPath);
    if (!found)
        throw EInOutError(platform::error::FileNotFound);
    const platform::DirectoryHandle* folder = &found->handle;
    const std::string temporaryPath = platform::joinPath(found->path, journal.temporaryName);
    auto temporary = fileSystem.openSubdirectory(*folder, journal.temporaryName);
    if (!temporary.ok() && temporary.error != platform::error::FileNotFound)
        check(temporary.error);
    const FolderContents inTemporary =
        temporary.ok() ? FolderContents(fileSystem, temporary.value) : FolderContents{};
    Plan plan = planMoves(journal, direction, FolderContents(fileSystem, *folder), inTemporary);
    if (!temporary.ok() && !plan.park.empty()) {
        // Interrupted between writing the journal and creating its temporary folder.
        check(fileSystem.createDirectory(temporaryPath));
        temporary = fileSystem.openSubdirectory(*folder, journal.temporaryName);
        check(temporary.error);
    }
    const bool temporaryExists = temporary.ok();
    std::size_t moved = 0;
    moveInTwoPasses(fileSystem, *folder, temporary.value, plan.park, plan.place,
                    placedOf(progress, plan.place.size()), moved);
    if (temporary.ok())
        flushMoves(fileSystem, *folder, temporary.value);
    temporary.value.reset();
    if (plan.temporaryKeepsFiles)
        return {std::move(plan.leftAlone)};
    // Entries that are none of the run's (put there by someone else) keep the folder; the
    // journal has done all it can all the same.
    if (temporaryExists && inTemporary.size() == plan.unparked)
        check(fileSystem.removeDirectory(temporaryPath));
    store.setState(*stored, direction == Direction::Forward ? JournalState::Finished
                                                            : JournalState::Reverted);
    store.prune();
    return {std::move(plan.leftAlone)};
}

} // namespace

std::vector<InterruptedRun> interruptedRuns(platform::FileSystem& fileSystem,
                                            std::string_view journalDirectory,
                                            const std::vector<std::string>& shownFolders) {
    JournalStore store(fileSystem, std::string(journalDirectory));
    std::vector<StoredJournal> journals = store.journals();
    std::vector<InterruptedRun> runs;
    for (auto stored = journals.rbegin(); stored != journals.rend(); ++stored) {
        if (stored->state != JournalState::Unfinished)
            continue;
        const auto journal = store.read(*stored);
        if (!journal.ok())
            continue;
        const auto folder = findRunFolder(fileSystem, journal.value, {}, shownFolders);
        if (!folder)
            continue;
        if (hasTemporaryFolder(fileSystem, folder->handle, journal.value)) {
            runs.push_back({stored->number, journal.value.kind, folder->path});
            continue;
        }
        try {
            settle(fileSystem, store, *stored, journal.value, folder->handle);
        } catch (const EInOutError&) {
            // Nothing is lost: the journal is settled at a later start.
        }
    }
    return runs;
}

std::optional<RunFolder> findRunFolder(platform::FileSystem& fileSystem, const RunJournal& journal,
                                       const std::string& path,
                                       const std::vector<std::string>& shownFolders) {
    if (!path.empty()) {
        if (auto folder = openIfRunFolder(fileSystem, journal, path))
            return folder;
    }
    if (auto folder = openIfRunFolder(fileSystem, journal, journal.folderPath))
        return folder;
    // Renamed since: one of the folders beside the path.
    if (const auto parent = platform::parentFolder(journal.folderPath)) {
        if (auto folder = runFolderIn(fileSystem, journal, *parent))
            return folder;
    }
    // Moved since: a folder the user sees, or one in a folder the user sees.
    for (const std::string& shown : shownFolders) {
        if (auto folder = openIfRunFolder(fileSystem, journal, shown))
            return folder;
    }
    for (const std::string& shown : shownFolders) {
        if (auto folder = runFolderIn(fileSystem, journal, shown))
            return folder;
    }
    return std::nullopt;
}

RecoveryReport finishRun(platform::FileSystem& fileSystem, std::string_view journalDirectory,
                         std::uint64_t journal, const ProgressCallback& progress,
                         std::string_view folderPath) {
    return recover(fileSystem, journalDirectory,
                   {journal, JournalKind::Run, std::string(folderPath)}, Direction::Forward,
                   progress);
}

RecoveryReport revertRun(platform::FileSystem& fileSystem, std::string_view journalDirectory,
                         std::uint64_t journal, const ProgressCallback& progress,
                         std::string_view folderPath) {
    return recover(fileSystem, journalDirectory,
                   {journal, JournalKind::Run, std::string(folderPath)}, Direction::Back, progress);
}

LastRun lastRunOf(platform::FileSystem& fileSystem, std::string_view journalDirectory,
                  std::string_view folderPath) {
    const auto folder = fileSystem.openDirectory(folderPath);
    if (!folder.ok())
        return {};
    const auto identity = fileSystem.identity(folder.value);
    if (!identity.ok())
        return {};
    JournalStore store(fileSystem, std::string(journalDirectory));
    for (StoredJournal& stored : store.journals()) {
        if (stored.state == JournalState::Reverted)
            continue;
        const auto journal = store.read(stored);
        if (!journal.ok() || journal.value.folder != identity.value)
            continue;
        const InterruptedRun run{stored.number, journal.value.kind, std::string(folderPath)};
        if (stored.state == JournalState::Unfinished) {
            if (hasTemporaryFolder(fileSystem, folder.value, journal.value))
                return {LastRun::Kind::Interrupted, run};
            if (settle(fileSystem, store, stored, journal.value, folder.value) !=
                JournalState::Finished)
                continue;
        }
        if (journal.value.kind == JournalKind::Undo)
            return {};
        return {LastRun::Kind::Finished, run};
    }
    return {};
}

RecoveryReport undoRun(platform::FileSystem& fileSystem, std::string_view journalDirectory,
                       std::uint64_t journal, std::string_view folderPath,
                       const ProgressCallback& progress) {
    JournalStore store(fileSystem, std::string(journalDirectory));
    const std::optional<StoredJournal> stored = store.find(journal);
    if (!stored || stored->state != JournalState::Finished)
        throw EInOutError(platform::error::FileNotFound);
    const RunJournal run = checked(store.read(*stored));
    if (run.kind != JournalKind::Run)
        throw EInOutError(platform::error::InvalidData);
    check(fileSystem.changeDirectory(folderPath));
    const platform::DirectoryHandle folder = checked(fileSystem.openDirectory("."));
    RunJournal undo{
        JournalKind::Undo, std::string(folderPath), checked(fileSystem.identity(folder)), {}, {}};
    if (undo.folder != run.folder)
        throw EInOutError(platform::error::FileNotFound);
    // The undo runs every file from its new name to its old one.
    undo.files.reserve(run.files.size());
    for (const JournalFile& file : run.files)
        undo.files.push_back({file.newName, file.fileNumber, file.identity, file.oldName});
    const Plan plan = planMoves(undo, Direction::Forward, FolderContents(fileSystem, folder), {});
    RecoveryReport report{plan.leftAlone};
    if (plan.parkedFiles.empty())
        return report;
    std::vector<JournalFile> movable;
    movable.reserve(plan.parkedFiles.size());
    for (const std::size_t i : plan.parkedFiles)
        movable.push_back(undo.files[i]);
    undo.files = std::move(movable);
    undo.temporaryName = freeTemporaryName(fileSystem, undo.files);
    runJournaled(fileSystem, store, undo, folder, placedOf(progress, undo.files.size()));
    return report;
}

} // namespace ordinalette::engine
