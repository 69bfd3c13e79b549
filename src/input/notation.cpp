// Letters and symbols are translated before parsing: the parser, the formula classes and so
// every document of Umbrix's own notation stay exactly as they are.
#include "input/notation.hpp"

#include "input/scanner.hpp"
#include "utilities/std_text.hpp"

namespace umbrix {

namespace {

// Whether a line can hold no letter and no symbol: one fast pass over the bytes, so that
// the lines of Umbrix's own notation, however long, are not read token by token again.
bool InOwnNotation(std::string_view line) {
  char previous = ' ';  // the last character that is no blank
  for (std::size_t i = 0; i < line.size(); ++i) {
    const char c = line[i];
    if (c == ' ') continue;
    const bool own = (c >= '0' && c <= '9') || c == 'x' || c == 'X' || c == 'v' || c == 'V' || c == '+' ||
                     c == '-' || c == '<' || c == '=' || c == '>' || c == '(' || c == ')';
    if (!own || (c == '>' && previous == '-')) return false;
    if ((previous == 'x' || previous == 'X') && !(c >= '0' && c <= '9')) return false;
    previous = c;
  }
  return previous != 'x' && previous != 'X';
}

// Calls visit with every token of a valid line; a line that is not valid is read up to its
// first fault (only checked input is translated, so a faulty rest adds nothing).
template <typename Visit>
void ForEachToken(std::string_view line, Visit visit) {
  if (IsLoneX(line) || InOwnNotation(line)) return;
  try {
    Scanner scanner(line);
    while (auto token = scanner.Next()) visit(*token);
  } catch (const LineError&) {
  }
}

std::size_t LetterSlot(const Token& token) {
  const char letter = token.text[0];
  return static_cast<std::size_t>(letter >= 'a' ? letter - 'a' : letter - 'A');
}

// The text order of the formula classes puts X10 before X2; two-digit indexes from 11 on
// keep it in step with the alphabet for all 25 letters.
constexpr int kFirstLetterIndex = 11;

}  // namespace

LetterTable CollectLetters(std::string_view text) {
  LetterTable letters;
  std::array<std::string, 26> firstSeen;
  for (std::size_t start = 0; start <= text.size();) {
    const std::size_t end = std::min(text.find(LineBreak, start), text.size());
    ForEachToken(text.substr(start, end - start), [&](const Token& token) {
      if (token.kind == Token::Kind::Letter && firstSeen[LetterSlot(token)].empty())
        firstSeen[LetterSlot(token)] = token.text;
    });
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
  bool translated = false, usesLetters = false;
  ForEachToken(line, [&](const Token& token) {
    translated = translated || token.translated;
    usesLetters = usesLetters || token.kind == Token::Kind::Letter;
  });
  if (!translated) return {std::string(line), false};
  std::string text;
  text.reserve(line.size());
  ForEachToken(line, [&](const Token& token) {
    if (token.kind == Token::Kind::Letter)
      text += "X" + std::to_string(letters.index[LetterSlot(token)]);
    else if (token.kind == Token::Kind::Variable)
      text += "X" + token.Index();
    else
      text += token.text;
  });
  return {text, usesLetters};
}

}  // namespace umbrix
