#include "engine/run_journal.h"

#include <charconv>

namespace ordinalette::engine {

namespace {

constexpr std::string_view kHeader = "ordinalette-journal\t2";
constexpr std::string_view kFormerHeader = "ordinalette-journal\t1";

void appendEscaped(std::string& text, std::string_view bytes) {
    // Runs without a byte to escape, which names nearly always are whole, go in at once.
    std::size_t run = 0;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        const char byte = bytes[i];
        if (byte != '\\' && byte != '\t' && byte != '\n')
            continue;
        text += bytes.substr(run, i - run);
        text += byte == '\\' ? "\\\\" : byte == '\t' ? "\\t" : "\\n";
        run = i + 1;
    }
    text += bytes.substr(run);
}

std::optional<std::string> unescaped(std::string_view field) {
    std::string bytes;
    bytes.reserve(field.size());
    for (std::size_t i = 0; i < field.size(); ++i) {
        if (field[i] != '\\') {
            bytes += field[i];
            continue;
        }
        if (++i == field.size())
            return std::nullopt;
        switch (field[i]) {
        case '\\':
            bytes += '\\';
            break;
        case 't':
            bytes += '\t';
            break;
        case 'n':
            bytes += '\n';
            break;
        default:
            return std::nullopt;
        }
    }
    return bytes;
}

std::optional<std::uint64_t> number(std::string_view field) {
    std::uint64_t value = 0;
    const auto [end, error] = std::from_chars(field.data(), field.data() + field.size(), value);
    if (error != std::errc() || end != field.data() + field.size() || field.empty())
        return std::nullopt;
    return value;
}

// Reads a text line by line and each line field by field.
class LineReader {
public:
    explicit LineReader(std::string_view text) : m_rest(text) {}

    // The fields of the next line when it starts with key, leaving the key out.
    std::optional<std::vector<std::string_view>> next(std::string_view key) {
        const std::size_t end = m_rest.find('\n');
        if (end == std::string_view::npos)
            return std::nullopt;
        std::string_view line = m_rest.substr(0, end);
        std::vector<std::string_view> fields;
        for (std::size_t tab = line.find('\t'); tab != std::string_view::npos;
             tab = line.find('\t')) {
            fields.push_back(line.substr(0, tab));
            line.remove_prefix(tab + 1);
        }
        fields.push_back(line);
        if (fields.front() != key)
            return std::nullopt;
        m_rest.remove_prefix(end + 1);
        fields.erase(fields.begin());
        return fields;
    }
    bool atEnd() const { return m_rest.empty(); }

private:
    std::string_view m_rest;
};

std::optional<JournalFile> parseFile(const std::vector<std::string_view>& fields) {
    if (fields.size() != 4)
        return std::nullopt;
    auto fileNumber = number(fields[0]);
    auto identity = unescaped(fields[1]);
    auto oldName = unescaped(fields[2]);
    auto newName = unescaped(fields[3]);
    if (!fileNumber || !identity || !oldName || !newName)
        return std::nullopt;
    return JournalFile{std::move(*oldName), *fileNumber, std::move(*identity), std::move(*newName)};
}

// The lines that follow the first one of a journal of the given header; nullopt for another
// header.
std::optional<LineReader> bodyOf(std::string_view text, std::string_view header) {
    if (!text.starts_with(header) || text.substr(header.size(), 1) != "\n")
        return std::nullopt;
    return LineReader(text.substr(header.size() + 1));
}

} // namespace

std::string journalText(const RunJournal& journal) {
    std::string text;
    // Names are short: a guess that spares most reallocations of a long journal.
    text.reserve(128 + journal.files.size() * 64);
    text += kHeader;
    text += journal.kind == JournalKind::Run ? "\nkind\trun\nfolder\t" : "\nkind\tundo\nfolder\t";
    appendEscaped(text, journal.folderPath);
    text += "\nidentity\t";
    appendEscaped(text, journal.folder.volume);
    text += '\t';
    appendEscaped(text, journal.folder.file);
    text += "\ntemporary\t";
    appendEscaped(text, journal.temporaryName);
    text += '\n';
    for (const JournalFile& file : journal.files) {
        text += "file\t";
        text += std::to_string(file.fileNumber);
        text += '\t';
        appendEscaped(text, file.identity);
        text += '\t';
        appendEscaped(text, file.oldName);
        text += '\t';
        appendEscaped(text, file.newName);
        text += '\n';
    }
    text += "end\t" + std::to_string(journal.files.size()) + '\n';
    return text;
}

std::optional<RunJournal> parseJournal(std::string_view text) {
    auto body = bodyOf(text, kHeader);
    if (!body)
        return std::nullopt;
    LineReader& lines = *body;
    RunJournal journal;
    const auto kind = lines.next("kind");
    const auto folder = lines.next("folder");
    const auto identity = lines.next("identity");
    const auto temporary = lines.next("temporary");
    if (!kind || kind->size() != 1 || !folder || folder->size() != 1 || !identity ||
        identity->size() != 2 || !temporary || temporary->size() != 1)
        return std::nullopt;
    if ((*kind)[0] != "run" && (*kind)[0] != "undo")
        return std::nullopt;
    journal.kind = (*kind)[0] == "run" ? JournalKind::Run : JournalKind::Undo;
    auto folderPath = unescaped((*folder)[0]);
    auto volume = unescaped((*identity)[0]);
    auto folderIdentity = unescaped((*identity)[1]);
    auto temporaryName = unescaped((*temporary)[0]);
    if (!folderPath || !volume || !folderIdentity || !temporaryName)
        return std::nullopt;
    journal.folderPath = std::move(*folderPath);
    journal.folder = {std::move(*volume), std::move(*folderIdentity)};
    journal.temporaryName = std::move(*temporaryName);
    while (const auto fields = lines.next("file")) {
        auto file = parseFile(*fields);
        if (!file)
            return std::nullopt;
        journal.files.push_back(std::move(*file));
    }
    const auto end = lines.next("end");
    if (!end || end->size() != 1 || number((*end)[0]) != journal.files.size() || !lines.atEnd())
        return std::nullopt;
    return journal;
}

std::optional<JournalHead> parseJournalHead(std::string_view text) {
    auto body = bodyOf(text, kHeader);
    if (!body)
        body = bodyOf(text, kFormerHeader);
    if (!body)
        return std::nullopt;
    const auto kind = body->next("kind");
    const auto folder = body->next("folder");
    const auto identity = body->next("identity");
    const auto temporary = body->next("temporary");
    if (!kind || !folder || folder->size() != 1 || !identity || !temporary ||
        temporary->size() != 1)
        return std::nullopt;
    auto folderPath = unescaped((*folder)[0]);
    auto temporaryName = unescaped((*temporary)[0]);
    if (!folderPath || !temporaryName)
        return std::nullopt;
    return JournalHead{std::move(*folderPath), std::move(*temporaryName)};
}

} // namespace ordinalette::engine
