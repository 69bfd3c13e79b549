#include "utilities/utf8_text.hpp"

namespace umbrix {

namespace {

constexpr const char* kReplacementCharacter = "\xEF\xBF\xBD";  // U+FFFD

bool IsContinuation(unsigned char byte) { return (byte & 0xC0) == 0x80; }

// Length of the sequence that a lead byte starts, and the bits it contributes; 0 if none.
std::size_t SequenceLength(unsigned char lead, char32_t& code) {
  if (lead < 0x80) {
    code = lead;
    return 1;
  }
  if (lead >= 0xC2 && lead <= 0xDF) {
    code = lead & 0x1F;
    return 2;
  }
  if (lead >= 0xE0 && lead <= 0xEF) {
    code = lead & 0x0F;
    return 3;
  }
  if (lead >= 0xF0 && lead <= 0xF4) {
    code = lead & 0x07;
    return 4;
  }
  return 0;
}

// Overlong forms, surrogates and code points beyond U+10FFFF are not valid UTF-8.
bool InRange(char32_t code, std::size_t length) {
  constexpr char32_t kSmallest[] = {0, 0, 0x80, 0x800, 0x10000};
  if (code < kSmallest[length]) return false;
  if (code >= 0xD800 && code <= 0xDFFF) return false;
  return code <= 0x10FFFF;
}

}  // namespace

Utf8Character DecodeCharacter(std::string_view text, std::size_t pos) {
  const auto lead = static_cast<unsigned char>(text[pos]);
  char32_t code = 0;
  const std::size_t length = SequenceLength(lead, code);
  if (length == 0 || pos + length > text.size()) return {lead, 1, false};
  for (std::size_t i = 1; i < length; ++i) {
    const auto byte = static_cast<unsigned char>(text[pos + i]);
    if (!IsContinuation(byte)) return {lead, 1, false};
    code = (code << 6) | (byte & 0x3F);
  }
  if (!InRange(code, length)) return {lead, 1, false};
  return {code, length, true};
}

std::string EncodeCharacter(char32_t code) {
  std::string bytes;
  if (code < 0x80) {
    bytes += static_cast<char>(code);
  } else if (code < 0x800) {
    bytes += static_cast<char>(0xC0 | (code >> 6));
    bytes += static_cast<char>(0x80 | (code & 0x3F));
  } else if (code < 0x10000) {
    bytes += static_cast<char>(0xE0 | (code >> 12));
    bytes += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
    bytes += static_cast<char>(0x80 | (code & 0x3F));
  } else {
    bytes += static_cast<char>(0xF0 | (code >> 18));
    bytes += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
    bytes += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
    bytes += static_cast<char>(0x80 | (code & 0x3F));
  }
  return bytes;
}

std::string QuotedExcerpt(std::string_view text) {
  std::string quoted = "\"";
  std::size_t characters = 0;
  for (std::size_t pos = 0; pos < text.size(); ++characters) {
    if (characters == kLongestQuote) {
      quoted += "…";
      break;
    }
    const Utf8Character character = DecodeCharacter(text, pos);
    if (character.valid)
      quoted.append(text.substr(pos, character.length));
    else
      quoted += kReplacementCharacter;
    pos += character.length;
  }
  return quoted + "\"";
}

std::string QuotedFileName(std::string_view name) {
  std::size_t start = name.size();
  for (std::size_t characters = 0; start > 0 && characters < kLongestQuote; ++characters) {
    --start;
    while (start > 0 && (static_cast<unsigned char>(name[start]) & 0xC0) == 0x80) --start;
  }
  const std::string quoted = QuotedExcerpt(name.substr(start));
  return start == 0 ? quoted : "\"…" + quoted.substr(1);
}

}  // namespace umbrix
