#include "engine/journal_store.h"

#include "engine/in_out_error.h"
#include "platform/path.h"

#include <algorithm>
#include <charconv>
#include <cstdio>

namespace ordinalette::engine {

namespace {

constexpr std::size_t kNumberDigits = 12;

struct StateName {
    JournalState state;
    std::string_view extension;
};

constexpr StateName kStateNames[] = {
    {JournalState::Unfinished, ".unfinished"},
    {JournalState::Finished, ".finished"},
    {JournalState::Reverted, ".reverted"},
};

std::string_view extensionOf(JournalState state) {
    for (const StateName& name : kStateNames) {
        if (name.state == state)
            return name.extension;
    }
    return {};
}

// The journal a file name stands for; nullopt for any other file.
std::optional<StoredJournal> journalOfName(std::string_view name) {
    if (name.size() <= kNumberDigits)
        return std::nullopt;
    std::uint64_t number = 0;
    const auto [end, error] = std::from_chars(name.data(), name.data() + kNumberDigits, number);
    if (error != std::errc() || end != name.data() + kNumberDigits)
        return std::nullopt;
    for (const StateName& state : kStateNames) {
        if (name.substr(kNumberDigits) == state.extension)
            return StoredJournal{number, state.state};
    }
    return std::nullopt;
}

} // namespace

JournalStore::JournalStore(platform::FileSystem& fileSystem, std::string directory)
    : m_fileSystem(fileSystem), m_directory(std::move(directory)) {}

std::string JournalStore::path(const StoredJournal& journal) const {
    char number[32];
    std::snprintf(number, sizeof number, "%0*llu", static_cast<int>(kNumberDigits),
                  static_cast<unsigned long long>(journal.number));
    return platform::joinPath(m_directory,
                              std::string(number) + std::string(extensionOf(journal.state)));
}

OpenJournal JournalStore::create(const RunJournal& journal) {
    if (m_directory.empty())
        throw EInOutError(platform::error::PathNotFound);
    check(m_fileSystem.createDirectories(m_directory));
    const std::vector<StoredJournal> existing = journals();
    OpenJournal open{{existing.empty() ? 1 : existing.front().number + 1}, {}};
    // Another instance of the program may take the same number at the same time.
    for (;; ++open.stored.number) {
        auto file = m_fileSystem.createNewFile(path(open.stored));
        if (file.error == platform::error::AlreadyExists)
            continue;
        check(file.error);
        open.file = std::move(file.value);
        break;
    }
    int error = m_fileSystem.writeFile(open.file, journalText(journal));
    if (error == platform::error::None)
        error = m_fileSystem.flushFile(open.file);
    if (error == platform::error::None) {
        // The journal's name must be on the device too, or a crash could lose the whole file.
        const auto folder = m_fileSystem.openDirectory(m_directory);
        error = folder.ok() ? m_fileSystem.flushDirectory(folder.value) : folder.error;
    }
    if (error != platform::error::None) {
        open.file.reset();
        // The error of the write is the one to report; a half-written journal left behind
        // holds no file yet and is passed over when read.
        static_cast<void>(m_fileSystem.removeFile(path(open.stored)));
        throw EInOutError(error);
    }
    return open;
}

void JournalStore::remove(const StoredJournal& journal) {
    // A finished journal that stays is only pruned later.
    static_cast<void>(m_fileSystem.removeFile(path(journal)));
}

void JournalStore::setState(StoredJournal& journal, JournalState state) {
    const StoredJournal renamed{journal.number, state};
    check(m_fileSystem.replaceFile(path(journal), path(renamed)));
    journal = renamed;
}

std::vector<StoredJournal> JournalStore::journals() {
    std::vector<StoredJournal> found;
    if (m_directory.empty())
        return found;
    using enum platform::Attribute;
    // A journal folder that cannot be read holds no journal to offer.
    static_cast<void>(m_fileSystem.enumerate(platform::joinPath(m_directory, "*"),
                                             {Hidden | System | VolumeLabel | Directory, false},
                                             [&](const platform::DirectoryEntry& entry) {
                                                 if (const auto journal = journalOfName(entry.name))
                                                     found.push_back(*journal);
                                             }));
    std::sort(found.begin(), found.end(),
              [](const StoredJournal& a, const StoredJournal& b) { return a.number > b.number; });
    return found;
}

std::optional<StoredJournal> JournalStore::find(std::uint64_t number) {
    for (const StoredJournal& journal : journals()) {
        if (journal.number == number)
            return journal;
    }
    return std::nullopt;
}

platform::Result<RunJournal> JournalStore::read(const StoredJournal& journal) {
    // A journal holds two names and a number per file: a gibibyte is far beyond any folder's.
    constexpr std::size_t kLargestJournal = std::size_t{1} << 30;
    const auto text = m_fileSystem.readFile(path(journal), kLargestJournal);
    if (!text.ok())
        return platform::Result<RunJournal>::failure(text.error);
    auto parsed = parseJournal(text.value);
    if (!parsed)
        return platform::Result<RunJournal>::failure(platform::error::InvalidData);
    return platform::Result<RunJournal>::success(std::move(*parsed));
}

void JournalStore::prune() {
    std::size_t kept = 0;
    for (const StoredJournal& journal : journals()) {
        if (journal.state != JournalState::Unfinished && ++kept > kKeptJournals)
            static_cast<void>(m_fileSystem.removeFile(path(journal))); // tried again next time
    }
}

} // namespace ordinalette::engine
