// Reading UTF-8 text character by character, and quoting what the user typed in messages
// so that a message stays short and is valid UTF-8 whatever the input held.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace umbrix {

/// One character of a UTF-8 text: its code point and its length in bytes. A byte that does
/// not begin a valid sequence is a character of its own with length 1 and valid false.
struct Utf8Character {
  char32_t code = 0;
  std::size_t length = 1;
  bool valid = true;
};

/// The character that starts at byte pos of text (pos < text.size()).
Utf8Character DecodeCharacter(std::string_view text, std::size_t pos);

/// The UTF-8 bytes of a code point.
std::string EncodeCharacter(char32_t code);

/// Most characters of the user's input that a message quotes.
inline constexpr std::size_t kLongestQuote = 40;

/// text in double quotes, cut after kLongestQuote characters with "…"; a byte that is no
/// valid UTF-8 is shown as the replacement character.
std::string QuotedExcerpt(std::string_view text);

/// A file name in double quotes; a long one keeps its last kLongestQuote characters after "…",
/// where the name of the file itself stands.
std::string QuotedFileName(std::string_view name);

}  // namespace umbrix
