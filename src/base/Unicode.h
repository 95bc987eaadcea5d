#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace lumivoke {

/// The first Unicode scalar of UTF-8 text; none for empty or malformed text.
std::optional<char32_t> firstScalar(std::string_view utf8);

/// The first n scalars of UTF-8 text (fewer when the text is shorter).
std::string firstCharacters(std::string_view utf8, std::size_t n);

/// The first n user-perceived characters (extended grapheme clusters) of UTF-8 text, so that a
/// combining mark stays with its base; fewer when the text is shorter. Malformed bytes become
/// U+FFFD.
std::string firstGraphemeClusters(std::string_view utf8, std::size_t n);

/// UTF-8 text upper-cased with Unicode's full, language-independent case mapping ("ä" gives
/// "Ä", "ß" gives "SS"). Malformed bytes become U+FFFD.
std::string upperCased(std::string_view utf8);

/// Encodes one scalar as UTF-8.
std::string utf8Encode(char32_t scalar);

}  // namespace lumivoke
