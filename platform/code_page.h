#pragma once

#include <bitset>
#include <cstddef>
#include <initializer_list>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace ordinalette::platform {

// The byte encoding of file names and texts ("the system's ANSI code page"): where a character
// starts and ends, so that a trail byte is never taken for a delimiter and a character is
// never split. On Linux the system code page is the locale's codeset; CP932 (Shift_JIS) is
// always available so that the double-byte rules can be exercised byte for byte.
class CodePage {
public:
    enum class Kind { SingleByte, MultiByte, Utf8 };
    using ByteSet = std::bitset<256>;
    // One shape that a character of a multi-byte code page takes: the bytes that each of its
    // positions may hold.
    using CharacterForm = std::vector<ByteSet>;

    // The bytes of the given inclusive ranges.
    static ByteSet byteSet(std::initializer_list<std::pair<int, int>> ranges);

    // The system's code page: on Linux the codeset of the current C locale (LC_CTYPE, as set by
    // setlocale), on Windows the ANSI code page with the lead bytes the system reports.
    static CodePage system();
    // Shift_JIS as Windows has it: lead bytes 0x81-0x9F and 0xE0-0xFC, trail bytes 0x40-0x7E and
    // 0x80-0xFC; a lead byte before any other byte stands alone.
    static CodePage cp932();
    static CodePage utf8() { return CodePage(Kind::Utf8, "UTF-8"); }
    static CodePage singleByte(std::string name = "ISO-8859-1") {
        return CodePage(Kind::SingleByte, std::move(name));
    }
    // A double-byte code page as Windows has them: a lead byte and whatever byte follows it.
    static CodePage doubleByte(std::string name, const ByteSet& leadBytes);
    // A multi-byte code page whose characters take the first of the forms that the bytes fit; a
    // byte that begins none of them is a character of its own.
    static CodePage multiByte(std::string name, std::vector<CharacterForm> forms);

    Kind kind() const { return m_kind; }
    // The converter name under which ICU knows this encoding.
    const std::string& name() const { return m_name; }

    // Byte length of the character that starts at pos (1 for a byte that starts no valid
    // multi-byte character); 0 at or past the end.
    std::size_t charLength(std::string_view text, std::size_t pos) const;
    // Byte length that covers the first n characters of text: 0 for n <= 0, the whole text when
    // it has n characters or fewer.
    std::size_t prefixLength(std::string_view text, int n) const;
    // Position of the last character that is one of the given single-byte delimiters, or npos.
    std::size_t findLastOf(std::string_view text, std::string_view delimiters) const;
    // Position of the first character equal to the single-byte delimiter at or after from (which
    // must start a character), or npos.
    std::size_t find(std::string_view text, char delimiter, std::size_t from = 0) const;

private:
    CodePage(Kind kind, std::string name) : m_kind(kind), m_name(std::move(name)) {}

    Kind m_kind;
    std::string m_name;
    std::vector<CharacterForm> m_forms;
};

} // namespace ordinalette::platform
