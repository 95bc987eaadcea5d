#include "base/Unicode.h"

#include <unicode/brkiter.h>
#include <unicode/locid.h>
#include <unicode/unistr.h>
#include <unicode/utext.h>

#include <memory>

namespace lumivoke {
namespace {

/// Plain ASCII without CR, whose characters are single bytes and case-map alone: the common
/// case (language tags) needs no break iterator.
bool isSimpleASCII(std::string_view text) {
    for (const char c : text) {
        if (static_cast<unsigned char>(c) >= 0x80 || c == '\r') {
            return false;
        }
    }
    return true;
}

/// Valid UTF-8 (malformed bytes replaced by U+FFFD), as ICU reads it.
icu::UnicodeString toUnicode(std::string_view utf8) {
    return icu::UnicodeString::fromUTF8(
        icu::StringPiece(utf8.data(), static_cast<std::int32_t>(utf8.size())));
}

std::string toUTF8(const icu::UnicodeString& text) {
    std::string out;
    text.toUTF8String(out);
    return out;
}

/// Decodes the scalar at text[i]; returns its length in bytes, or 0 when malformed.
std::size_t decode(std::string_view text, std::size_t i, char32_t& out) {
    const auto b0 = static_cast<unsigned char>(text[i]);
    std::size_t len = 0;
    char32_t cp = 0;
    if (b0 < 0x80) {
        out = b0;
        return 1;
    }
    if ((b0 & 0xE0) == 0xC0) {
        len = 2;
        cp = b0 & 0x1F;
    } else if ((b0 & 0xF0) == 0xE0) {
        len = 3;
        cp = b0 & 0x0F;
    } else if ((b0 & 0xF8) == 0xF0) {
        len = 4;
        cp = b0 & 0x07;
    } else {
        return 0;
    }
    if (i + len > text.size()) {
        return 0;
    }
    for (std::size_t k = 1; k < len; ++k) {
        const auto b = static_cast<unsigned char>(text[i + k]);
        if ((b & 0xC0) != 0x80) {
            return 0;
        }
        cp = (cp << 6) | (b & 0x3F);
    }
    static constexpr char32_t kMin[] = {0, 0, 0x80, 0x800, 0x10000};
    if (cp < kMin[len] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
        return 0;
    }
    out = cp;
    return len;
}

}  // namespace

std::optional<char32_t> firstScalar(std::string_view utf8) {
    if (utf8.empty()) {
        return std::nullopt;
    }
    char32_t cp = 0;
    if (decode(utf8, 0, cp) == 0) {
        return std::nullopt;
    }
    return cp;
}

std::string firstCharacters(std::string_view utf8, std::size_t n) {
    std::size_t i = 0;
    for (std::size_t taken = 0; taken < n && i < utf8.size(); ++taken) {
        char32_t cp = 0;
        const std::size_t len = decode(utf8, i, cp);
        i += len == 0 ? 1 : len;
    }
    return std::string(utf8.substr(0, i));
}

std::string firstGraphemeClusters(std::string_view utf8, std::size_t n) {
    if (isSimpleASCII(utf8)) {
        return std::string(utf8.substr(0, n));
    }
    const icu::UnicodeString text = toUnicode(utf8);
    UErrorCode status = U_ZERO_ERROR;
    // Main thread only, and made once: a character break iterator is costly to create.
    static const std::unique_ptr<icu::BreakIterator> characters(
        icu::BreakIterator::createCharacterInstance(icu::Locale::getRoot(), status));
    if (!characters) {
        return toUTF8(text.tempSubString(0, text.moveIndex32(0, static_cast<std::int32_t>(n))));
    }
    characters->setText(text);
    std::int32_t end = characters->first();
    for (std::size_t taken = 0; taken < n; ++taken) {
        const std::int32_t next = characters->next();
        if (next == icu::BreakIterator::DONE) {
            break;
        }
        end = next;
    }
    return toUTF8(text.tempSubString(0, end));
}

std::string upperCased(std::string_view utf8) {
    if (isSimpleASCII(utf8)) {
        std::string out(utf8);
        for (char& c : out) {
            if (c >= 'a' && c <= 'z') {
                c = static_cast<char>(c - 'a' + 'A');
            }
        }
        return out;
    }
    icu::UnicodeString text = toUnicode(utf8);
    return toUTF8(text.toUpper(icu::Locale::getRoot()));
}

std::string utf8Encode(char32_t cp) {
    std::string out;
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
    return out;
}

}  // namespace lumivoke
