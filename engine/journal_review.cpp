#include "engine/journal_review.h"

#include "engine/journal_store.h"
#include "engine/run_journal.h"
#include "engine/run_recovery.h"
#include "platform/path.h"

#include <optional>

namespace ordinalette::engine {

namespace {

bool isMissing(int error) {
    return error == platform::error::FileNotFound || error == platform::error::PathNotFound;
}

// Whether the journal's folder is gone from its volume: its path leads nowhere, it was not
// renamed beside it nor moved to or into one of the shown folders, and the nearest folder above
// it that exists is on that same volume. A volume that is away (a drive unplugged) keeps its
// journals for when it comes back.
bool folderIsGone(platform::FileSystem& fileSystem, const RunJournal& journal,
                  const std::vector<std::string>& shownFolders) {
    if (!isMissing(fileSystem.openDirectory(journal.folderPath).error) ||
        findRunFolder(fileSystem, journal, {}, shownFolders))
        return false;
    for (auto parent = platform::parentFolder(journal.folderPath); parent;
         parent = platform::parentFolder(*parent)) {
        const auto folder = fileSystem.openDirectory(*parent);
        if (folder.ok()) {
            const auto identity = fileSystem.identity(folder.value);
            return identity.ok() && identity.value.volume == journal.folder.volume;
        }
        if (!isMissing(folder.error))
            return false;
    }
    return false;
}

// Whether the damaged journal's temporary folder still holds any entry.
bool temporaryHoldsFiles(platform::FileSystem& fileSystem, const JournalHead& head) {
    const auto folder = fileSystem.openDirectory(head.folderPath);
    if (!folder.ok())
        return false;
    const auto temporary = fileSystem.openSubdirectory(folder.value, head.temporaryName);
    if (!temporary.ok())
        return false;
    bool holds = false;
    // A temporary folder that cannot be read may hold files: the user is told of it.
    if (fileSystem.enumerateFileNumbers(
            temporary.value, [&](std::string_view, std::uint64_t) { holds = true; }) != 0)
        return true;
    return holds;
}

} // namespace

std::vector<JournalNotice> reviewJournals(platform::FileSystem& fileSystem,
                                          std::string_view journalDirectory,
                                          const std::vector<std::string>& shownFolders) {
    JournalStore store(fileSystem, std::string(journalDirectory));
    std::vector<JournalNotice> notices;
    if (journalDirectory.empty() || isMissing(fileSystem.checkPrivate(journalDirectory)))
        return notices;
    if (!store.isPrivate())
        return {{JournalNotice::Kind::StoreOpenToOthers, std::string(journalDirectory)}};
    for (StoredJournal& stored : store.journals()) {
        if (stored.state != JournalState::Unfinished)
            continue;
        // A journal in use by a run going on cannot be read, and is none of these.
        const auto text = store.readText(stored);
        if (!text.ok())
            continue;
        try {
            if (const auto journal = parseJournal(text.value)) {
                if (folderIsGone(fileSystem, *journal, shownFolders)) {
                    notices.push_back({JournalNotice::Kind::FolderGone, journal->folderPath});
                    store.remove(stored);
                }
            } else if (text.value.empty()) {
                notices.push_back({JournalNotice::Kind::EmptyRemoved, store.path(stored)});
                store.remove(stored);
            } else {
                const auto head = parseJournalHead(text.value);
                if (head && temporaryHoldsFiles(fileSystem, *head))
                    notices.push_back({JournalNotice::Kind::CutShort,
                                       platform::joinPath(head->folderPath, head->temporaryName)});
                store.setState(stored, JournalState::Damaged);
            }
        } catch (const EInOutError&) {
            // Told again at a later start, when the journal can be marked.
        }
    }
    return notices;
}

} // namespace ordinalette::engine
