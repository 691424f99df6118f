#include "engine/rename_run.h"

#include "engine/in_out_error.h"
#include "engine/journaled_run.h"

namespace ordinalette::engine {

namespace {

// The identity of a listed file; empty for a file that has gone since the listing.
platform::EntryIdentity identityOf(platform::FileSystem& fileSystem,
                                   const platform::DirectoryHandle& folder, const std::string& name,
                                   std::uint64_t fileNumber) {
    if (fileNumber == 0)
        return {};
    auto identity = fileSystem.entryIdentity(folder, name);
    if (identity.error == platform::error::FileNotFound)
        return {};
    return checked(std::move(identity));
}

// Every listed file with its new name, the file number the folder gives it now and its identity
// (0 and none for a file that has gone since the listing: the first pass stops at it).
std::vector<JournalFile> journalFiles(platform::FileSystem& fileSystem,
                                      const platform::DirectoryHandle& folder, const RenameRun& run,
                                      const platform::CodePage& codePage) {
    const std::vector<std::uint64_t> numbers = fileNumbersOf(fileSystem, folder, run.names);
    // The window takes no input while the run lasts, so the width is the same before the first
    // pass as after it, and every new name can be in the journal before the first move.
    const int width = run.width();
    std::vector<JournalFile> files;
    files.reserve(run.names.size());
    for (std::size_t i = 0; i < run.names.size(); ++i) {
        files.push_back({run.names[i], numbers[i],
                         identityOf(fileSystem, folder, run.names[i], numbers[i]),
                         newFileName(run.namePrefix, static_cast<std::int64_t>(i) + 1, width,
                                     run.names[i], run.extensionCase, codePage)});
    }
    return files;
}

} // namespace

RenameOutcome runRename(platform::FileSystem& fileSystem, const RenameRun& run,
                        const platform::CodePage& codePage) {
    if (run.names.empty())
        return RenameOutcome::NoFiles;
    check(fileSystem.changeDirectory(run.folderPath));
    // Moves go through handles of the folder (the working directory by now) and of its
    // temporary subfolder, so that a folder swapped or a link planted while the run goes on
    // cannot send a file elsewhere.
    const platform::DirectoryHandle folder = checked(fileSystem.openDirectory("."));
    RunJournal journal{JournalKind::Run,
                       std::string(run.folderPath),
                       checked(fileSystem.identity(folder)),
                       {},
                       journalFiles(fileSystem, folder, run, codePage)};
    journal.temporaryName = freeTemporaryName(fileSystem, journal.files);
    JournalStore store(fileSystem, std::string(run.journalDirectory));
    runJournaled(fileSystem, store, journal, folder, run.fileRenamed, run.fileParked);
    return RenameOutcome::Renamed;
}

} // namespace ordinalette::engine
