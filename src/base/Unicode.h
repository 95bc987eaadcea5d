#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace lumivoke {

/// The first Unicode scalar of UTF-8 text; none for empty or malformed text.
std::optional<char32_t> firstScalar(std::string_view utf8);

/// The first n scalars of UTF-8 text (fewer when the text is shorter).
std::string firstCharacters(std::string_view utf8, std::size_t n);

/// ASCII letters upper-cased; other characters kept.
std::string upperCased(std::string_view text);

/// Encodes one scalar as UTF-8.
std::string utf8Encode(char32_t scalar);

}  // namespace lumivoke
