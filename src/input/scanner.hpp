// Reads one input line as tokens. Besides Umbrix's own notation it reads what exercise sheets
// write: single letters as variables and the usual symbols for the connectives, each token
// carrying both its meaning in Umbrix's notation and the text the user typed.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace umbrix {

struct Token {
  enum class Kind { Variable, Letter, Constant, Not, Binary, Open, Close } kind;
  /// Umbrix's notation of a connective or parenthesis: "-", "+", "v", "<=", "=>", "==", "(", ")";
  /// for a variable or a letter the same as typed; for a constant "T" (true) or "C" (false).
  std::string_view text;
  std::string_view typed;  // the part of the line it was read from, blanks inside included
  int column;              // 1-based, counted in characters
  bool translated;         // a letter or a symbol that Umbrix's own notation writes differently

  /// What the user typed, without blanks: "x12", "P", "→", "->", "&", ...
  std::string Typed() const;
  /// The index digits of a variable.
  std::string Index() const;
};

/// The constants a line may hold. Umbrix's own input has none; the lines of a derivation to
/// check may hold them.
struct ConstantSpelling {
  bool symbols = false;  // ⊤ and ⊥, and the words wahr, falsch, true, false
  bool digits = false;   // 1 and 0 on their own, where the variables are letters
  bool letters = false;  // the letters w and f (wahr, falsch)
};

/// A line that is no valid formula: where and why, in German.
struct LineError {
  int column;
  std::string message;
};

/// Whether a line holds nothing but one "x" (blanks aside): it is the empty formula, as the
/// letter X without an index always was.
bool IsLoneX(std::string_view line);

class Scanner {
 public:
  explicit Scanner(std::string_view line, ConstantSpelling constants = {})
      : line_(line), constants_(constants) {}

  /// The next token, nullopt at the end of the line; throws LineError for what is no token.
  std::optional<Token> Next();
  /// The column just after the last character of the line.
  int EndColumn() { return ColumnAt(line_.size()); }

 private:
  Token Make(Token::Kind kind, std::string_view text, std::size_t start, int column, bool translated) const;
  std::optional<Token> Ascii(char c, std::size_t start, int column);
  std::optional<Token> OneCharacter(char32_t code, std::size_t start, int column) const;
  Token Symbol(std::size_t start, int column);
  Token LessThan(std::size_t start, int column);
  Token Variable(int column);
  Token Letter(int column);
  bool StartsIndex(std::size_t pos) const;
  bool IsConstantDigit(std::size_t pos) const;
  bool IsConstantWord(std::string_view run) const;
  void SkipBlanks();
  bool Follows(char c);
  bool Follows(std::string_view sequence);
  int ColumnAt(std::size_t pos);

  std::string_view line_;
  ConstantSpelling constants_;
  std::size_t pos_ = 0;
  std::size_t columnPos_ = 0;  // the columns are counted forward once, from here
  int column_ = 1;
};

}  // namespace umbrix
