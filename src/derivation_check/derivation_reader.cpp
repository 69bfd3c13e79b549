// A derivation's notation is its exercise's: letters or X-indexes. The lines are checked by
// the input check (with the constants allowed) and then parsed from their tokens with the
// binding of Umbrix's parser: "-" tightest, then "+", "v", "<=" and "=>", "==" loosest.
#include "derivation_check/derivation_reader.hpp"

#include <array>
#include <stdexcept>

#include "input/scanner.hpp"
#include "utilities/std_text.hpp"
#include "utilities/utf8_text.hpp"

namespace umbrix {

namespace {

// The index of the first letter; as in Umbrix's own runs the letters are numbered
// alphabetically from here.
constexpr int kFirstLetterIndex = 11;

std::vector<std::string_view> SplitLines(std::string_view text) {
  std::vector<std::string_view> lines;
  for (std::size_t start = 0;;) {
    const std::size_t end = text.find('\n', start);
    std::string_view line =
        text.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start);
    if (line.ends_with('\r')) line.remove_suffix(1);
    lines.push_back(line);
    if (end == std::string_view::npos) break;
    start = end + 1;
  }
  if (lines.size() > 1 && lines.back().empty()) lines.pop_back();
  return lines;
}

bool IsBlank(std::string_view line) { return line.find_first_not_of(' ') == std::string_view::npos; }

std::optional<std::vector<Token>> Tokens(std::string_view line, const ConstantSpelling& constants) {
  std::vector<Token> tokens;
  try {
    Scanner scanner(line, constants);
    while (auto token = scanner.Next()) tokens.push_back(*token);
  } catch (const LineError&) {
    return std::nullopt;
  }
  return tokens;
}

std::size_t LetterSlot(const Token& token) {
  const char letter = token.text[0];
  return static_cast<std::size_t>(letter >= 'a' ? letter - 'a' : letter - 'A');
}

bool HasKind(const std::vector<Token>& tokens, Token::Kind kind) {
  for (const Token& token : tokens)
    if (token.kind == kind) return true;
  return false;
}

// The notation of a block: whether its variables are letters, and the constants its lines hold.
struct Notation {
  bool letters = false;
  ConstantSpelling constants;
};

Notation NotationOf(const std::vector<std::string_view>& lines) {
  const ConstantSpelling symbolsOnly{true, false, false};
  std::optional<std::vector<Token>> exercise;
  for (std::string_view line : lines)
    if ((exercise = Tokens(line, symbolsOnly)) && !exercise->empty()) break;
  Notation notation;
  if (exercise && HasKind(*exercise, Token::Kind::Letter)) {
    notation.letters = true;
    bool wfUsed = false;
    for (const Token& token : *exercise)
      if (token.kind == Token::Kind::Letter &&
          (LetterSlot(token) == 'w' - 'a' || LetterSlot(token) == 'f' - 'a'))
        wfUsed = true;
    notation.constants = {true, true, !wfUsed};
  } else {
    notation.constants = {true, false, true};
  }
  return notation;
}

// Parses the tokens of a valid line.
class LineParser {
 public:
  LineParser(const std::vector<Token>& tokens, const std::array<int, 26>& letterIndex)
      : tokens_(tokens), letterIndex_(letterIndex) {}

  Ausdruck::Ptr Parse() { return Equivalence(); }

 private:
  bool NextIs(std::string_view binary) const {
    return pos_ < tokens_.size() && tokens_[pos_].kind == Token::Kind::Binary && tokens_[pos_].text == binary;
  }

  Ausdruck::Ptr Equivalence() {
    std::vector<Ausdruck::Ptr> parts{Arrow()};
    while (NextIs(operation::kEquivalentWritten)) {
      ++pos_;
      parts.push_back(Arrow());
    }
    return parts.size() == 1 ? parts[0] : Ausdruck::Geschrieben(operation::kEquivalent, std::move(parts));
  }

  Ausdruck::Ptr Arrow() {
    Ausdruck::Ptr left = Chain(operation::kOr);
    const bool implies = NextIs(operation::kImpliesWritten);
    if (!implies && !NextIs(operation::kFollowsFromWritten)) return left;
    ++pos_;
    Ausdruck::Ptr right = Chain(operation::kOr);
    return Ausdruck::Geschrieben(implies ? operation::kImplies : operation::kFollowsFrom, {left, right});
  }

  // A chain of "v" over chains of "+" over negations.
  Ausdruck::Ptr Chain(std::string_view junction) {
    auto member = [&] { return junction == operation::kOr ? Chain(operation::kAnd) : Negation(); };
    std::vector<Ausdruck::Ptr> members{member()};
    while (NextIs(junction)) {
      ++pos_;
      members.push_back(member());
    }
    return members.size() == 1 ? members[0] : Ausdruck::Geschrieben(junction, std::move(members));
  }

  Ausdruck::Ptr Negation() {
    int negations = 0;
    for (; tokens_.at(pos_).kind == Token::Kind::Not; ++pos_) ++negations;
    Ausdruck::Ptr operand = Atom();
    for (int k = 0; k < negations; ++k) operand = Ausdruck::Geschrieben(operation::kNot, {operand});
    return operand;
  }

  Ausdruck::Ptr Atom() {
    const Token& token = tokens_.at(pos_++);
    switch (token.kind) {
      case Token::Kind::Open: {
        Ausdruck::Ptr inner = Equivalence();
        ++pos_;  // the closing parenthesis
        return Ausdruck::InKlammern(inner, inner->Klammern() + 1);
      }
      case Token::Kind::Variable:
        return Ausdruck::Variable(static_cast<std::int16_t>(std::stoi(token.Index())));
      case Token::Kind::Letter:
        return Ausdruck::Variable(static_cast<std::int16_t>(letterIndex_[LetterSlot(token)]));
      case Token::Kind::Constant:
        return Ausdruck::Konstante(token.text == operation::kTrue);
      default:
        throw std::logic_error("LineParser: kein Operand");
    }
  }

  const std::vector<Token>& tokens_;
  const std::array<int, 26>& letterIndex_;
  std::size_t pos_ = 0;
};

// The notation of a line that does not match its derivation's: the column of its first
// variable and the message, or nullopt.
std::optional<LineError> NotationMismatch(const std::vector<Token>& tokens, bool letters) {
  for (const Token& token : tokens) {
    if (letters && token.kind == Token::Kind::Variable)
      return LineError{token.column,
                       "In dieser Herleitung sind die Variablen Buchstaben wie in der Aufgabe; " +
                           QuotedExcerpt(token.Typed()) + " passt nicht dazu."};
    if (!letters && token.kind == Token::Kind::Letter)
      return LineError{token.column,
                       "In dieser Herleitung sind die Variablen X1 bis X99 wie in der Aufgabe; " +
                           QuotedExcerpt(token.Typed()) + " passt nicht dazu."};
  }
  return std::nullopt;
}

class BlockReader {
 public:
  BlockReader(const std::vector<std::string_view>& lines, int firstLine)
      : lines_(lines), firstLine_(firstLine), notation_(NotationOf(lines)) {}

  GeleseneHerleitung Read() {
    GeleseneHerleitung block;
    block.usesLetters = notation_.letters;
    NumberLetters(block.names);
    for (std::size_t k = 0; k < lines_.size(); ++k)
      block.zeilen.push_back(ReadLine(lines_[k], firstLine_ + static_cast<int>(k)));
    return block;
  }

 private:
  void NumberLetters(VariableNames& names) {
    std::array<std::string, 26> firstSeen;
    for (std::string_view line : lines_)
      if (auto tokens = Tokens(line, notation_.constants))
        for (const Token& token : *tokens)
          if (token.kind == Token::Kind::Letter && firstSeen[LetterSlot(token)].empty())
            firstSeen[LetterSlot(token)] = token.text;
    int next = kFirstLetterIndex;
    for (std::size_t slot = 0; slot < firstSeen.size(); ++slot) {
      if (firstSeen[slot].empty()) continue;
      letterIndex_[slot] = next;
      names.Set(next++, firstSeen[slot]);
    }
  }

  Herleitungszeile ReadLine(std::string_view text, int number) {
    Herleitungszeile line{number, std::string(text), nullptr, std::nullopt};
    std::optional<LineError> error;
    if (text.size() > kLongestCheckedLine)
      error = LineError{1, "Die Zeile ist für die Prüfung zu lang: höchstens " +
                               std::to_string(kLongestCheckedLine) + " Zeichen."};
    std::optional<std::vector<Token>> tokens;
    if (!error) tokens = Tokens(text, notation_.constants);
    if (!error && tokens) error = NotationMismatch(*tokens, notation_.letters);
    if (!error && !IsLoneX(text)) error = CheckFormulaLine(text, notation_.constants);
    if (error) {
      line.problem = InputProblem{number, error->column, error->message};
      return line;
    }
    line.formel = LineParser(*tokens, letterIndex_).Parse();
    return line;
  }

  const std::vector<std::string_view>& lines_;
  int firstLine_;
  Notation notation_;
  std::array<int, 26> letterIndex_{};
};

}  // namespace

std::vector<GeleseneHerleitung> ReadDerivations(std::string_view text) {
  const std::vector<std::string_view> lines = SplitLines(text);
  std::vector<GeleseneHerleitung> derivations;
  std::vector<std::string_view> block;
  int blockStart = 1;
  for (std::size_t k = 0; k <= lines.size(); ++k) {
    const bool ends = k == lines.size() || IsBlank(lines[k]);
    if (!ends) {
      if (block.empty()) blockStart = static_cast<int>(k) + 1;
      block.push_back(lines[k]);
      continue;
    }
    if (!block.empty()) derivations.push_back(BlockReader(block, blockStart).Read());
    block.clear();
  }
  return derivations;
}

Ausdruck::Ptr ReadFormula(std::string_view line) {
  const std::vector<std::string_view> lines{line};
  GeleseneHerleitung block = BlockReader(lines, 1).Read();
  return block.zeilen.at(0).formel;
}

}  // namespace umbrix
