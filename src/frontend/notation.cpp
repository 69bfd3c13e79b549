// Letters and symbols are translated before parsing: the parser, the formula classes and so
// every document of Umbrix's own notation stay exactly as they are.
#include "frontend/notation.hpp"

#include <vector>

#include "frontend/scanner.hpp"
#include "utilities/std_text.hpp"

namespace umbrix {

namespace {

// The tokens of a valid line; a line that is not valid is read up to its first fault.
std::vector<Token> Tokens(std::string_view line) {
  std::vector<Token> tokens;
  if (IsLoneX(line)) return tokens;
  try {
    Scanner scanner(line);
    while (auto token = scanner.Next()) tokens.push_back(std::move(*token));
  } catch (const LineError&) {
    // Only checked input is translated; a faulty rest adds nothing.
  }
  return tokens;
}

std::size_t LetterSlot(const Token& token) { return static_cast<std::size_t>(token.text[0] - 'a'); }

// The text order of the formula classes puts X10 before X2; two-digit indexes from 11 on
// keep it in step with the alphabet for all 25 letters.
constexpr int kFirstLetterIndex = 11;

}  // namespace

LetterTable CollectLetters(std::string_view text) {
  LetterTable letters;
  std::array<std::string, 26> firstSeen;
  for (std::size_t start = 0; start <= text.size();) {
    const std::size_t end = std::min(text.find(LineBreak, start), text.size());
    for (const Token& token : Tokens(text.substr(start, end - start)))
      if (token.kind == Token::Kind::Letter && firstSeen[LetterSlot(token)].empty())
        firstSeen[LetterSlot(token)] = token.typed;
    start = end + LineBreak.size();
  }
  int next = kFirstLetterIndex;
  for (std::size_t slot = 0; slot < firstSeen.size(); ++slot) {
    if (firstSeen[slot].empty()) continue;
    letters.index[slot] = next;
    letters.names.Set(next, firstSeen[slot]);
    ++next;
  }
  return letters;
}

TranslatedLine TranslateLine(std::string_view line, const LetterTable& letters) {
  const std::vector<Token> tokens = Tokens(line);
  bool translated = false, usesLetters = false;
  for (const Token& token : tokens) {
    translated = translated || token.translated;
    usesLetters = usesLetters || token.kind == Token::Kind::Letter;
  }
  if (!translated) return {std::string(line), false};
  std::string text;
  for (const Token& token : tokens) {
    if (token.kind == Token::Kind::Letter)
      text += "X" + std::to_string(letters.index[LetterSlot(token)]);
    else
      text += token.text;
  }
  return {text, usesLetters};
}

}  // namespace umbrix
