// The notation: variables X1 to X99 (the X optional, any case) or single letters (any
// letter but "v", which is "oder"; an "x" is the letter only where no index follows it),
// negation "-", "!", "~", "¬"; the binary connectives "+", "&", "∧" (und), "v", "|", "∨"
// (oder), "<=", "←", "⇐" (folgt aus), "=>", "->", "→", "⇒" (impliziert), "==", "<->", "↔",
// "⇔" (äquivalent), where a single "<", ">" or "=" stands for the two-character form; and
// parentheses. Blanks count as absent everywhere, also inside connectives. What is no token
// is answered with the character itself and, where one is likely, what to type instead.
#include "input/scanner.hpp"

#include <algorithm>

#include "simple_formula/operation.hpp"
#include "utilities/utf8_text.hpp"

namespace umbrix {

namespace {

using Kind = Token::Kind;

// The characters that are a token on their own, wherever they stand: their meaning in
// Umbrix's notation, and whether that notation writes them differently.
struct OneCharacterToken {
  char32_t code;
  Kind kind;
  std::string_view text;
  bool translated;
};

// clang-format off
constexpr OneCharacterToken kOneCharacterTokens[] = {
    {U'!', Kind::Not, "-", true}, {U'~', Kind::Not, "-", true}, {U'\u00AC', Kind::Not, "-", true},  // ¬
    {U'+', Kind::Binary, "+", false}, {U'&', Kind::Binary, "+", true},
    {U'\u2227', Kind::Binary, "+", true},  // ∧
    {U'v', Kind::Binary, "v", false}, {U'V', Kind::Binary, "v", false}, {U'|', Kind::Binary, "v", true},
    {U'\u2228', Kind::Binary, "v", true},  // ∨
    {U'>', Kind::Binary, "=>", false},
    {U'\u2192', Kind::Binary, "=>", true}, {U'\u21D2', Kind::Binary, "=>", true},  // → ⇒
    {U'\u2190', Kind::Binary, "<=", true}, {U'\u21D0', Kind::Binary, "<=", true},  // ← ⇐
    {U'\u2194', Kind::Binary, "==", true}, {U'\u21D4', Kind::Binary, "==", true},  // ↔ ⇔
    {U'(', Kind::Open, "(", false}, {U')', Kind::Close, ")", false},
};
// clang-format on

bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsAsciiLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
char Lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

std::string WithoutBlanks(std::string_view text) {
  std::string result;
  for (char c : text)
    if (c != ' ') result += c;
  return result;
}

std::string HexDigits(char32_t value, std::size_t minimum) {
  static const char* kHex = "0123456789ABCDEF";
  std::string digits;
  for (; value != 0 || digits.size() < minimum; value >>= 4) digits.insert(digits.begin(), kHex[value & 0xF]);
  return digits;
}

std::string CodePointName(char32_t code) { return "U+" + HexDigits(code, 4); }
std::string ByteName(unsigned char byte) { return "0x" + HexDigits(byte, 2); }

// What to type instead of a character that is no connective here, or nullptr.
const char* HintFor(char32_t code) {
  switch (code) {
    case U'^':
    case U'*':
    case U'\u00B7':  // ·
    case U'\u22C5':  // ⋅
    case U'\u00D7':  // ×
      return "für \"und\" schreibe + (oder &, ∧)";
    case U'\u2212':  // − minus sign
    case U'\u2013':  // – en dash
    case U'\u223C':  // ∼ tilde operator
      return "für \"nicht\" schreibe - (oder !, ~, ¬)";
    case U'\u2295':  // ⊕
    case U'\u22BB':  // ⊻
      return "ein Zeichen für \"xor\" gibt es nicht: schreibe a xor b als (a+-b)v(-a+b)";
    case U'\u22BC':  // ⊼
      return "ein Zeichen für \"nand\" gibt es nicht: schreibe a nand b als -(a+b)";
    case U'\u22BD':  // ⊽
      return "ein Zeichen für \"nor\" gibt es nicht: schreibe a nor b als -(avb)";
    case U'\u22A4':  // ⊤
    case U'\u22A5':  // ⊥
      return "Konstanten (wahr, falsch) gibt es in der Eingabe nicht, nur Variablen";
    case U'\u2261':  // ≡
    case U'\u27FA':  // ⟺
    case U'\u27F7':  // ⟷
      return "für \"äquivalent\" schreibe == (oder <->, ↔)";
    case U'\u27F9':  // ⟹
    case U'\u27F6':  // ⟶
    case U'\u2283':  // ⊃
      return "für \"impliziert\" schreibe => (oder ->, →)";
    case U'\u00A0':
      return "das ist ein geschütztes Leerzeichen; bitte ein gewöhnliches Leerzeichen tippen";
    case U'\'':
    case U'\u2032':  // ′
    case U'\u2019':  // ’
      return "für \"nicht a\" schreibe -a (oder !a, ~a, ¬a) vor die Variable, nicht a' dahinter";
    case U'\u2191':  // ↑
      return "ein Zeichen für \"nand\" (Sheffer-Strich) gibt es nicht: schreibe a nand b als -(a+b)";
    case U'\u2193':  // ↓
      return "ein Zeichen für \"nor\" (Peirce-Pfeil) gibt es nicht: schreibe a nor b als -(avb)";
    case U',':
    case U';':
      return "eine Zeile enthält genau eine Formel; schreibe mehrere Formeln in eigene Zeilen, oder "
             "verbinde sie mit + (und) oder v (oder)";
    case U'\u039B':  // Λ, Greek capital lambda
      return "das ist der griechische Buchstabe Lambda; für \"und\" schreibe + (oder &, ∧)";
    default:
      return nullptr;
  }
}

std::string NotAllowed(const std::string& described, char32_t code) {
  std::string message = described + " ist nicht erlaubt";
  if (const char* hint = HintFor(code)) message += std::string("; ") + hint;
  return message + ".";
}

// The answer to a run of several letters: a word that has a likely meaning, or the rule.
std::string LetterRunMessage(const std::string& run) {
  std::string word;
  for (char c : run) word += Lower(c);
  const std::string quoted = QuotedExcerpt(run);
  if (word == "xor") return quoted + " gibt es nicht als Zeichen: schreibe a xor b als (a+-b)v(-a+b).";
  if (word == "nand") return quoted + " gibt es nicht als Zeichen: schreibe a nand b als -(a+b).";
  if (word == "nor") return quoted + " gibt es nicht als Zeichen: schreibe a nor b als -(avb).";
  if (word == "and" || word == "und")
    return quoted + " gibt es nicht als Wort: \"und\" schreibst du als + (oder &, ∧).";
  if (word == "or" || word == "oder")
    return quoted + " gibt es nicht als Wort: \"oder\" schreibst du als v (oder |, ∨).";
  if (word == "not" || word == "nicht")
    return quoted + " gibt es nicht als Wort: \"nicht\" schreibst du als - (oder !, ~, ¬).";
  if (word == "iff")
    return quoted + " gibt es nicht als Wort: \"äquivalent\" schreibst du als == (oder <->, ↔).";
  if (word == "true" || word == "false" || word == "wahr" || word == "falsch")
    return quoted + " ist eine Konstante; Konstanten gibt es in der Eingabe nicht, nur Variablen.";
  const std::string a(1, run[0]), b(1, run[1]);
  return quoted +
         " ist keine Variable: jede Variable ist ein einzelner Buchstabe, und zwischen zwei "
         "Variablen steht ein Zeichen, zum Beispiel " +
         a + "+" + b + " (und) oder " + a + "v" + b + " (oder).";
}

std::string IndexMessage(const std::string& typed, const std::string& index) {
  const std::string quoted = QuotedExcerpt(index);
  if (index == "0" && IsDigit(typed[0]))
    return "Konstanten wie 0 und 1 gibt es in der Eingabe nicht: \"0\" wäre die Variable X0, und die Indizes "
           "gehen von 1 bis 99.";
  if (index == "0") return "Der Index \"0\" ist nicht erlaubt; erlaubt sind die Zahlen 1 bis 99.";
  if (index[0] == '0')
    return "Der Index " + quoted + " ist nicht erlaubt; erlaubt sind die Zahlen 1 bis 99 ohne führende Null.";
  return "Der Index " + quoted + " ist zu groß; erlaubt sind die Zahlen 1 bis 99.";
}

}  // namespace

std::string Token::Typed() const { return WithoutBlanks(typed); }

std::string Token::Index() const {
  std::string index;
  for (char c : typed)
    if (IsDigit(c)) index += c;
  return index;
}

bool IsLoneX(std::string_view line) {
  const auto first = line.find_first_not_of(' ');
  return first != std::string_view::npos && (line[first] == 'x' || line[first] == 'X') &&
         line.find_first_not_of(' ', first + 1) == std::string_view::npos;
}

std::optional<Token> Scanner::Next() {
  SkipBlanks();
  if (pos_ >= line_.size()) return std::nullopt;
  const std::size_t start = pos_;
  const int column = ColumnAt(start);
  const char c = line_[pos_];
  if (IsConstantDigit(pos_)) {
    ++pos_;
    return Make(Kind::Constant, c == '1' ? operation::kTrue : operation::kFalse, start, column, true);
  }
  if (IsDigit(c) || ((c == 'x' || c == 'X') && StartsIndex(pos_ + 1))) return Variable(column);
  if (IsAsciiLetter(c) && c != 'v' && c != 'V') return Letter(column);
  if (static_cast<unsigned char>(c) >= 0x80) return Symbol(start, column);
  ++pos_;
  return Ascii(c, start, column);
}

Token Scanner::Make(Token::Kind kind, std::string_view text, std::size_t start, int column,
                    bool translated) const {
  return Token{kind, text, line_.substr(start, pos_ - start), column, translated};
}

std::optional<Token> Scanner::Ascii(char c, std::size_t start, int column) {
  switch (c) {
    case '-':
      if (Follows('>')) return Make(Kind::Binary, "=>", start, column, true);
      return Make(Kind::Not, "-", start, column, false);
    case '<':
      return LessThan(start, column);
    case '=':
      if (Follows('>')) return Make(Kind::Binary, "=>", start, column, false);
      Follows('=');  // a single "=" stands for "=="
      return Make(Kind::Binary, "==", start, column, false);
    case '\t':
      throw LineError{column, "Ein Tabulator ist nicht erlaubt; bitte Leerzeichen verwenden."};
    default:
      break;
  }
  const auto code = static_cast<unsigned char>(c);
  if (auto token = OneCharacter(code, start, column)) return token;
  if (code < 0x20 || code == 0x7F)
    throw LineError{column, "Das Steuerzeichen mit dem Code " + std::to_string(code) + " ist nicht erlaubt."};
  throw LineError{column, NotAllowed("Das Zeichen " + QuotedExcerpt(std::string(1, c)), code)};
}

std::optional<Token> Scanner::OneCharacter(char32_t code, std::size_t start, int column) const {
  for (const OneCharacterToken& entry : kOneCharacterTokens)
    if (entry.code == code) return Make(entry.kind, entry.text, start, column, entry.translated);
  return std::nullopt;
}

// "<" begins "<=" (or stands for it alone) and "<->"; "<-" without ">" stays "<" and "-".
Token Scanner::LessThan(std::size_t start, int column) {
  if (Follows("->")) return Make(Token::Kind::Binary, "==", start, column, true);
  if (Follows('=') && Follows('>'))
    throw LineError{column, "\"<=>\" gibt es nicht: \"äquivalent\" schreibst du als == (oder <->, ↔)."};
  return Make(Token::Kind::Binary, "<=", start, column, false);
}

Token Scanner::Symbol(std::size_t start, int column) {
  const Utf8Character character = DecodeCharacter(line_, pos_);
  if (!character.valid)
    throw LineError{column, "Das Byte " + ByteName(static_cast<unsigned char>(line_[pos_])) +
                                " ist kein gültiges UTF-8-Zeichen; bitte die Eingabe als UTF-8 speichern."};
  pos_ += character.length;
  if (constants_.symbols && (character.code == U'\u22A4' || character.code == U'\u22A5'))  // ⊤ ⊥
    return Make(Kind::Constant, character.code == U'\u22A4' ? operation::kTrue : operation::kFalse, start,
                column, true);
  if (auto token = OneCharacter(character.code, start, column)) return *token;
  throw LineError{column, NotAllowed("Das Zeichen " + QuotedExcerpt(line_.substr(start, character.length)) +
                                         " (" + CodePointName(character.code) + ")",
                                     character.code)};
}

Token Scanner::Variable(int column) {
  const std::size_t start = pos_;
  if (line_[pos_] == 'x' || line_[pos_] == 'X') ++pos_;
  while (pos_ < line_.size() && (IsDigit(line_[pos_]) || line_[pos_] == ' ')) ++pos_;
  // Blanks after the index belong to the gap before the next token.
  while (line_[pos_ - 1] == ' ') --pos_;
  const std::string_view typed = line_.substr(start, pos_ - start);
  const Token token{Token::Kind::Variable, typed, typed, column, false};
  const std::size_t first = typed.find_first_of("0123456789");
  // The digits alone count: blanks may stand between the X and the index as well.
  const auto digits = static_cast<std::size_t>(std::count_if(typed.begin(), typed.end(), IsDigit));
  if (digits > 2 || typed[first] == '0') throw LineError{column, IndexMessage(token.Typed(), token.Index())};
  return token;
}

Token Scanner::Letter(int column) {
  const std::size_t start = pos_;
  ++pos_;
  while (pos_ < line_.size() && IsAsciiLetter(line_[pos_]) && Lower(line_[pos_]) != 'v' &&
         !(Lower(line_[pos_]) == 'x' && StartsIndex(pos_ + 1)))
    ++pos_;
  const std::string_view run = line_.substr(start, pos_ - start);
  if (IsConstantWord(run)) {
    const char first = Lower(run[0]);
    return Token{Token::Kind::Constant, first == 'w' || first == 't' ? operation::kTrue : operation::kFalse,
                 run, column, true};
  }
  if (run.size() > 1) throw LineError{column, LetterRunMessage(std::string(run))};
  return Token{Token::Kind::Letter, run, run, column, true};
}

// Whether an index begins at pos, blanks skipped: then an "x" before it is the X of X1 to X99.
bool Scanner::StartsIndex(std::size_t pos) const {
  while (pos < line_.size() && line_[pos] == ' ') ++pos;
  return pos < line_.size() && IsDigit(line_[pos]);
}

// A lone 1 or 0 (no digit after it, blanks skipped) is a constant where digits are constants.
bool Scanner::IsConstantDigit(std::size_t pos) const {
  if (!constants_.digits || (line_[pos] != '0' && line_[pos] != '1')) return false;
  return !StartsIndex(pos + 1);
}

bool Scanner::IsConstantWord(std::string_view run) const {
  std::string word;
  for (char c : run) word += Lower(c);
  if (constants_.letters && (word == "w" || word == "f")) return true;
  return constants_.symbols && (word == "wahr" || word == "falsch" || word == "true" || word == "false");
}

void Scanner::SkipBlanks() {
  while (pos_ < line_.size() && line_[pos_] == ' ') ++pos_;
}

// Consumes the character c when it comes next (after blanks).
bool Scanner::Follows(char c) {
  const std::size_t saved = pos_;
  SkipBlanks();
  if (pos_ < line_.size() && line_[pos_] == c) {
    ++pos_;
    return true;
  }
  pos_ = saved;
  return false;
}

// Consumes the whole sequence when it comes next, blanks allowed between its characters.
bool Scanner::Follows(std::string_view sequence) {
  const std::size_t saved = pos_;
  for (char c : sequence) {
    if (!Follows(c)) {
      pos_ = saved;
      return false;
    }
  }
  return true;
}

// Columns only move forward during a scan, so counting from the last position asked for
// keeps the whole line linear in its length.
int Scanner::ColumnAt(std::size_t pos) {
  if (pos < columnPos_) {
    columnPos_ = 0;
    column_ = 1;
  }
  while (columnPos_ < pos) {
    columnPos_ += DecodeCharacter(line_, columnPos_).length;
    ++column_;
  }
  return column_;
}

}  // namespace umbrix
