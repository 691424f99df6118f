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
    {JournalState::Damaged, ".damaged"},
};

std::string_view extensionOf(JournalState state) {
    for (const StateName& name : kStateNames) {
        if (name.state == state)
            return name.extension;
    }
    return {};
}

// The journal a file name stands for: digits, as many as the number needs, then the state;
// nullopt for any other file.
std::optional<StoredJournal> journalOfName(std::string_view name) {
    std::uint64_t number = 0;
    const auto [end, error] = std::from_chars(name.data(), name.data() + name.size(), number);
    const std::size_t digits = static_cast<std::size_t>(end - name.data());
    if (error != std::errc() || digits < kNumberDigits)
        return std::nullopt;
    for (const StateName& state : kStateNames) {
        if (name.substr(digits) == state.extension)
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

std::string storeProblemText(StoreProblem problem, std::string_view directory) {
    const std::string folder(directory);
    switch (problem) {
    case StoreProblem::OpenToOthers:
        return "ジャーナルのフォルダ " + folder + " は他のユーザーが書き込めるため使用しません";
    case StoreProblem::CannotWrite:
        break;
    }
    return "ジャーナル " + folder + " を書き込めません";
}

bool JournalStore::isPrivate() {
    if (m_fileSystem.checkPrivate(m_directory) != platform::error::None)
        return false;
    for (const StoredJournal& journal : journals()) {
        if (m_fileSystem.checkPrivate(path(journal)) != platform::error::None)
            return false;
    }
    return true;
}

OpenJournal JournalStore::create(const RunJournal& journal) {
    if (m_directory.empty())
        throw EInOutError(platform::error::PathNotFound);
    const std::string text = journalText(journal);
    if (text.size() > kLargestJournal)
        throw EJournalStore(platform::error::FileTooLarge, StoreProblem::CannotWrite, m_directory);
    if (const int error = m_fileSystem.createDirectories(m_directory))
        throw EJournalStore(error, StoreProblem::CannotWrite, m_directory);
    if (!isPrivate())
        throw EJournalStore(platform::error::AccessDenied, StoreProblem::OpenToOthers, m_directory);
    const std::vector<StoredJournal> existing = journals();
    OpenJournal open{{existing.empty() ? 1 : existing.front().number + 1}, {}};
    // Another instance of the program may take the same number at the same time.
    for (;; ++open.stored.number) {
        auto file = m_fileSystem.createNewFile(path(open.stored));
        if (file.error == platform::error::AlreadyExists)
            continue;
        if (file.error != platform::error::None)
            throw EJournalStore(file.error, StoreProblem::CannotWrite, m_directory);
        open.file = std::move(file.value);
        break;
    }
    int error = m_fileSystem.writeFile(open.file, text);
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
        throw EJournalStore(error, StoreProblem::CannotWrite, m_directory);
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

platform::Result<std::string> JournalStore::readText(const StoredJournal& journal) {
    if (!isPrivate())
        return platform::Result<std::string>::failure(platform::error::AccessDenied);
    return m_fileSystem.readOwnFile(path(journal), kLargestJournal);
}

platform::Result<RunJournal> JournalStore::read(const StoredJournal& journal) {
    const auto text = readText(journal);
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
