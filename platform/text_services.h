#pragma once

#include "platform/code_page.h"

#include <memory>
#include <string>
#include <string_view>

namespace ordinalette::platform {

// Decodes bytes of the code page; bytes that form no character become U+FFFD.
std::u16string decodeText(std::string_view bytes, const CodePage& codePage);
// Encodes a text into the code page; characters it cannot hold become '?'.
std::string encodeText(std::u16string_view text, const CodePage& codePage);

// Case mapping of a text, character by character, by the simple case mapping that is the same
// in every language; characters without case, characters whose other case the code page cannot
// hold, and bytes that form no character stay as they are.
std::string toLowerCase(std::string_view text, const CodePage& codePage);
std::string toUpperCase(std::string_view text, const CodePage& codePage);

// The locale-aware, case-insensitive comparison behind the file list's order (list_order.h):
// the collator of the user's collation locale (LC_COLLATE; the root collation in the C locale).
// Not safe to share between threads.
class TextCollator {
public:
    explicit TextCollator(const CodePage& codePage);
    ~TextCollator();
    TextCollator(const TextCollator&) = delete;
    TextCollator& operator=(const TextCollator&) = delete;

    // A key whose byte order is the case-insensitive order; computed once per name so that
    // sorting 100,000 names does not decode and collate each name again at every comparison.
    std::string sortKey(std::string_view text) const;
    // <0, 0, >0 without regard to case (0 for "Key" and "KEY").
    int compareIgnoringCase(std::string_view a, std::string_view b) const;

private:
    struct Impl;
    std::unique_ptr<Impl> m_impl;
};

} // namespace ordinalette::platform
