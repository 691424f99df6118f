#include "platform/text_services.h"

#include <algorithm>
#include <clocale>
#include <new>
#include <optional>
#include <stdexcept>
#include <unicode/uchar.h>
#include <unicode/ucnv.h>
#include <unicode/ucnv_cb.h>
#include <unicode/ucol.h>
#include <unicode/ustring.h>
#include <unicode/utf16.h>
#include <vector>

namespace ordinalette::platform {

namespace {

constexpr UChar kReplacementCharacter = 0xFFFD;

// The ICU locale id of the POSIX locale of a category: "ja_JP.UTF-8" gives "ja_JP"; the C and
// POSIX locales give the root locale.
std::string icuLocale(int category) {
    const char* posixName = std::setlocale(category, nullptr);
    std::string id = posixName ? posixName : "";
    id = id.substr(0, id.find_first_of(".@"));
    return id == "C" || id == "POSIX" ? std::string() : id;
}

// Writes U+FFFD for every byte sequence that forms no character, whatever the converter's own
// substitution character is.
void substituteReplacementCharacter(const void*, UConverterToUnicodeArgs* args, const char*,
                                    int32_t, UConverterCallbackReason reason, UErrorCode* status) {
    if (reason > UCNV_IRREGULAR)
        return;
    *status = U_ZERO_ERROR;
    ucnv_cbToUWriteUChars(args, &kReplacementCharacter, 1, 0, status);
}

// An open ICU converter of a code page, closed when it goes.
class Converter {
public:
    enum class Errors { Substitute, Stop };

    Converter(const CodePage& codePage, Errors errors) {
        UErrorCode status = U_ZERO_ERROR;
        m_converter = ucnv_open(codePage.name().c_str(), &status);
        if (U_FAILURE(status))
            throw std::runtime_error("no converter for code page " + codePage.name());
        if (errors == Errors::Substitute) {
            ucnv_setToUCallBack(m_converter, substituteReplacementCharacter, nullptr, nullptr,
                                nullptr, &status);
            ucnv_setSubstChars(m_converter, "?", 1, &status);
        } else {
            ucnv_setToUCallBack(m_converter, UCNV_TO_U_CALLBACK_STOP, nullptr, nullptr, nullptr,
                                &status);
            ucnv_setFromUCallBack(m_converter, UCNV_FROM_U_CALLBACK_STOP, nullptr, nullptr, nullptr,
                                  &status);
        }
    }
    ~Converter() { ucnv_close(m_converter); }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    // nullopt when a byte sequence forms no character (only with Errors::Stop).
    std::optional<std::u16string> decode(std::string_view bytes) const {
        ucnv_resetToUnicode(m_converter);
        return convertAll<char16_t>(ucnv_toUnicode, bytes, bytes.size() + 1);
    }

    // nullopt when a character has no byte form (only with Errors::Stop).
    std::optional<std::string> encode(std::u16string_view text) const {
        ucnv_resetFromUnicode(m_converter);
        return convertAll<char>(ucnv_fromUnicode, text, text.size() * 2 + 1);
    }

private:
    // Streams the whole input through the converter, growing the output until it fits, so that
    // no length has to fit the 32-bit sizes of ICU's one-call functions.
    template <typename Out, typename In, typename Step>
    std::optional<std::basic_string<Out>> convertAll(Step step, std::basic_string_view<In> input,
                                                     std::size_t capacity) const {
        std::basic_string<Out> output(capacity, Out{});
        const In* source = input.data();
        std::size_t written = 0;
        for (;;) {
            Out* target = output.data() + written;
            UErrorCode status = U_ZERO_ERROR;
            step(m_converter, &target, output.data() + output.size(), &source,
                 input.data() + input.size(), nullptr, true, &status);
            written = static_cast<std::size_t>(target - output.data());
            if (status != U_BUFFER_OVERFLOW_ERROR) {
                if (U_FAILURE(status))
                    return std::nullopt;
                output.resize(written);
                return output;
            }
            output.resize(output.size() * 2);
        }
    }

    UConverter* m_converter = nullptr;
};

// The result of a conversion that substitutes what it cannot convert: such a conversion fails
// only when the memory for its result runs out.
template <typename Text> Text substituted(std::optional<Text> converted) {
    if (!converted)
        throw std::bad_alloc();
    return std::move(*converted);
}

enum class Case { Lower, Upper };

// Every code point of the text by its simple case mapping, which is the same in every language:
// under a Turkish locale too "I" becomes "i", and no letter grows into two ("ß" stays).
std::u16string mapCase(std::u16string_view text, Case wanted) {
    std::u16string mapped;
    const auto length = static_cast<int32_t>(text.size());
    for (int32_t i = 0; i < length;) {
        UChar32 c = 0;
        U16_NEXT(text.data(), i, length, c);
        c = wanted == Case::Lower ? u_tolower(c) : u_toupper(c);
        if (c > 0xFFFF) {
            mapped += static_cast<char16_t>(U16_LEAD(c));
            mapped += static_cast<char16_t>(U16_TRAIL(c));
        } else {
            mapped += static_cast<char16_t>(c); // a lone surrogate, too, stays as it was
        }
    }
    return mapped;
}

// Text of ASCII bytes alone (most extensions) needs no converter: in every code page of a locale
// these bytes are the ASCII characters, one each, and of these only the letters have a case.
std::string convertAsciiCase(std::string_view text, Case wanted) {
    std::string result(text);
    const char from = wanted == Case::Lower ? 'A' : 'a';
    for (char& c : result) {
        if (c >= from && c <= from + ('Z' - 'A'))
            c = static_cast<char>(c ^ 0x20);
    }
    return result;
}

// Every character keeps its own bytes unless the mapping changed it and the code page can write
// the change: a character without case is never rewritten, not even into another byte form of
// itself, and bytes that form no character stay as they are.
std::string convertCase(std::string_view text, const CodePage& codePage, Case wanted) {
    if (std::all_of(text.begin(), text.end(),
                    [](char c) { return static_cast<unsigned char>(c) < 0x80; }))
        return convertAsciiCase(text, wanted);
    const Converter converter(codePage, Converter::Errors::Stop);
    std::string result;
    for (std::size_t pos = 0; pos < text.size();) {
        const std::string_view bytes = text.substr(pos, codePage.charLength(text, pos));
        pos += bytes.size();
        std::optional<std::string> changed;
        if (const auto decoded = converter.decode(bytes)) {
            if (const std::u16string mapped = mapCase(*decoded, wanted); mapped != *decoded)
                changed = converter.encode(mapped);
        }
        result += changed ? *changed : std::string(bytes);
    }
    return result;
}

} // namespace

std::u16string decodeText(std::string_view bytes, const CodePage& codePage) {
    return substituted(Converter(codePage, Converter::Errors::Substitute).decode(bytes));
}

std::string encodeText(std::u16string_view text, const CodePage& codePage) {
    return substituted(Converter(codePage, Converter::Errors::Substitute).encode(text));
}

std::string toLowerCase(std::string_view text, const CodePage& codePage) {
    return convertCase(text, codePage, Case::Lower);
}

std::string toUpperCase(std::string_view text, const CodePage& codePage) {
    return convertCase(text, codePage, Case::Upper);
}

struct TextCollator::Impl {
    explicit Impl(const CodePage& codePage) {
        if (codePage.kind() != CodePage::Kind::Utf8)
            converter.emplace(codePage, Converter::Errors::Substitute);
        UErrorCode status = U_ZERO_ERROR;
        collator = ucol_open(icuLocale(LC_COLLATE).c_str(), &status);
        if (U_FAILURE(status))
            throw std::runtime_error("no collator for the collation locale");
        // Secondary strength: accents count, letter case does not.
        ucol_setStrength(collator, UCOL_SECONDARY);
    }
    ~Impl() { ucol_close(collator); }

    std::u16string decode(std::string_view bytes) const {
        if (converter)
            return substituted(converter->decode(bytes));
        // UTF-8 directly, without the converter's overhead: 100,000 names are decoded per listing.
        std::u16string text(bytes.size() + 1, u'\0');
        UErrorCode status = U_ZERO_ERROR;
        int32_t length = 0;
        u_strFromUTF8WithSub(reinterpret_cast<UChar*>(text.data()),
                             static_cast<int32_t>(text.size()), &length, bytes.data(),
                             static_cast<int32_t>(bytes.size()), kReplacementCharacter, nullptr,
                             &status);
        text.resize(static_cast<std::size_t>(length));
        return text;
    }

    std::optional<Converter> converter;
    UCollator* collator = nullptr;
    // Reused by every key, so that keying 100,000 names does not allocate 100,000 buffers.
    std::vector<uint8_t> keyBuffer = std::vector<uint8_t>(256);
};

TextCollator::TextCollator(const CodePage& codePage) : m_impl(std::make_unique<Impl>(codePage)) {}

TextCollator::~TextCollator() = default;

std::string TextCollator::sortKey(std::string_view text) const {
    const std::u16string decoded = m_impl->decode(text);
    std::vector<uint8_t>& key = m_impl->keyBuffer;
    auto fill = [&] {
        return ucol_getSortKey(m_impl->collator, reinterpret_cast<const UChar*>(decoded.data()),
                               static_cast<int32_t>(decoded.size()), key.data(),
                               static_cast<int32_t>(key.size()));
    };
    int32_t needed = fill();
    if (static_cast<std::size_t>(needed) > key.size()) {
        key.resize(static_cast<std::size_t>(needed));
        needed = fill();
    }
    // The key ends in a zero byte that adds nothing to the order.
    return std::string(reinterpret_cast<const char*>(key.data()),
                       static_cast<std::size_t>(needed > 0 ? needed - 1 : 0));
}

int TextCollator::compareIgnoringCase(std::string_view a, std::string_view b) const {
    const std::u16string first = m_impl->decode(a);
    const std::u16string second = m_impl->decode(b);
    const UCollationResult result = ucol_strcoll(
        m_impl->collator, reinterpret_cast<const UChar*>(first.data()),
        static_cast<int32_t>(first.size()), reinterpret_cast<const UChar*>(second.data()),
        static_cast<int32_t>(second.size()));
    return result == UCOL_LESS ? -1 : result == UCOL_GREATER ? 1 : 0;
}

} // namespace ordinalette::platform
