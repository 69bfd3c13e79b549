// The input syntax: variables X1 to X99 (the X optional, any case), "-" before an operand,
// the binary connectives "+", "v", "<=", "=>", "==" (a single "<", ">" or "=" stands for the
// two-character form), and balanced parentheses. Two "<=" or "=>" in a row without
// parentheses are rejected: their operands would be lost in the rewriting.
#include "frontend/input_check.hpp"

#include <optional>

#include "utilities/std_text.hpp"

namespace umbrix {

namespace {

struct Token {
  enum class Kind { Variable, Not, Binary, Open, Close } kind;
  std::string text;
  int column;
};

struct LineError {
  int column;
  std::string message;
};

std::string Quoted(std::string_view text) { return "\"" + std::string(text) + "\""; }

// 1-based column of a byte position, counting characters: UTF-8 continuation bytes do not count.
int ColumnOf(std::string_view line, std::size_t pos) {
  int column = 1;
  for (std::size_t i = 0; i < pos && i < line.size(); ++i)
    if ((static_cast<unsigned char>(line[i]) & 0xC0) != 0x80) ++column;
  return column;
}

// Reads a line as tokens; blanks are skipped everywhere, as the run deletes them.
class Scanner {
 public:
  explicit Scanner(std::string_view line) : line_(line) {}

  // The next token, nullopt at the end; throws LineError for what is no token.
  std::optional<Token> Next() {
    SkipBlanks();
    if (pos_ >= line_.size()) return std::nullopt;
    const int column = Column();
    const char c = line_[pos_];
    if (c == 'x' || c == 'X' || IsDigit(c)) return Variable(column);
    ++pos_;
    switch (c) {
      case '-':
        return Token{Token::Kind::Not, "-", column};
      case '+':
        return Token{Token::Kind::Binary, "+", column};
      case 'v':
      case 'V':
        return Token{Token::Kind::Binary, "v", column};
      case '(':
        return Token{Token::Kind::Open, "(", column};
      case ')':
        return Token{Token::Kind::Close, ")", column};
      case '>':
        return Token{Token::Kind::Binary, "=>", column};
      case '<':
        Follows('=');  // a single "<" stands for "<="
        return Token{Token::Kind::Binary, "<=", column};
      case '=':
        if (Follows('>')) return Token{Token::Kind::Binary, "=>", column};
        Follows('=');  // a single "=" stands for "=="
        return Token{Token::Kind::Binary, "==", column};
      default:
        throw LineError{column, "Das Zeichen " + Describe(c) + " ist nicht erlaubt."};
    }
  }

 private:
  static bool IsDigit(char c) { return c >= '0' && c <= '9'; }

  static std::string Describe(char c) {
    const auto code = static_cast<unsigned char>(c);
    if (code >= 0x20 && code < 0x7f) return Quoted(std::string(1, c));
    if (code == '\t') return "Tabulator";
    if (code >= 0x80) return "\"" + std::string(1, c) + "...\" (Sonderzeichen)";
    return "mit dem Code " + std::to_string(code);
  }

  void SkipBlanks() {
    while (pos_ < line_.size() && line_[pos_] == ' ') ++pos_;
  }

  // Consumes the character c when it comes next (after blanks).
  bool Follows(char c) {
    std::size_t saved = pos_;
    SkipBlanks();
    if (pos_ < line_.size() && line_[pos_] == c) {
      ++pos_;
      return true;
    }
    pos_ = saved;
    return false;
  }

  Token Variable(int column) {
    if (line_[pos_] == 'x' || line_[pos_] == 'X') {
      ++pos_;
      SkipBlanks();
    }
    std::string index;
    while (pos_ < line_.size() && (IsDigit(line_[pos_]) || line_[pos_] == ' ')) {
      if (line_[pos_] != ' ') index += line_[pos_];
      ++pos_;
    }
    if (index.empty()) throw LineError{column, "Nach dem X fehlt der Index (eine Zahl von 1 bis 99)."};
    if (index.size() > 2 || index[0] == '0')
      throw LineError{column, "Der Index " + index +
                                  " ist nicht erlaubt; erlaubt sind die Zahlen 1 bis 99 "
                                  "ohne führende Null."};
    return Token{Token::Kind::Variable, "X" + index, column};
  }

  int Column() const { return ColumnOf(line_, pos_); }

  std::string_view line_;
  std::size_t pos_ = 0;
};

// Follows the tokens of one line: whether an operand is due, the open parentheses, and
// whether the current parenthesis level already holds a "<=" or "=>".
class LineChecker {
 public:
  void Accept(const Token& token) {
    switch (token.kind) {
      case Token::Kind::Variable:
        Operand(token);
        break;
      case Token::Kind::Not:
        if (!expectOperand_)
          Fail(token,
               "Vor " + Quoted("-") + " fehlt ein Operator; \"-\" (nicht) steht nur vor einem Operanden.");
        break;
      case Token::Kind::Open:
        Open(token);
        break;
      case Token::Kind::Close:
        Close(token);
        break;
      case Token::Kind::Binary:
        Binary(token);
        break;
    }
    previous_ = token;
  }

  void Finish(int endColumn) {
    if (!previous_) return;
    if (expectOperand_)
      throw LineError{endColumn, "Die Formel endet ohne Operand nach " + Quoted(previous_->text) + "."};
    if (!open_.empty()) throw LineError{open_.back().column, "Die Klammer \"(\" wird nicht geschlossen."};
  }

 private:
  struct Level {
    int column;
    bool hasImplication = false;
  };

  [[noreturn]] static void Fail(const Token& token, const std::string& message) {
    throw LineError{token.column, message};
  }

  void Operand(const Token& token) {
    if (!expectOperand_) Fail(token, "Vor " + Quoted(token.text) + " fehlt ein Operator.");
    expectOperand_ = false;
  }

  void Open(const Token& token) {
    if (!expectOperand_) Fail(token, "Vor \"(\" fehlt ein Operator.");
    if (static_cast<int>(open_.size()) >= kMaxNesting)
      Fail(token,
           "Die Klammern sind zu tief verschachtelt (höchstens " + std::to_string(kMaxNesting) + " Ebenen).");
    open_.push_back(Level{token.column});
  }

  void Close(const Token& token) {
    if (open_.empty()) Fail(token, "Zu \")\" gibt es keine öffnende Klammer.");
    if (expectOperand_) {
      if (previous_ && previous_->kind == Token::Kind::Open) Fail(token, "Die Klammern sind leer.");
      Fail(token, "Vor \")\" fehlt ein Operand.");
    }
    open_.pop_back();
  }

  void Binary(const Token& token) {
    if (expectOperand_) Fail(token, "Vor " + Quoted(token.text) + " fehlt ein Operand.");
    expectOperand_ = true;
    bool& hasImplication = open_.empty() ? topHasImplication_ : open_.back().hasImplication;
    if (token.text == "==") {
      hasImplication = false;
    } else if (token.text == "<=" || token.text == "=>") {
      if (hasImplication)
        Fail(token,
             "Mehrere \"<=\" oder \"=>\" hintereinander sind mehrdeutig; bitte Klammern setzen, "
             "zum Beispiel (X1=>X2)=>X3.");
      hasImplication = true;
    }
  }

  bool expectOperand_ = true;
  bool topHasImplication_ = false;
  std::vector<Level> open_;
  std::optional<Token> previous_;
};

std::optional<LineError> CheckLine(std::string_view line) {
  try {
    Scanner scanner(line);
    LineChecker checker;
    while (auto token = scanner.Next()) checker.Accept(*token);
    checker.Finish(ColumnOf(line, line.size()));
  } catch (const LineError& error) {
    return error;
  }
  return std::nullopt;
}

}  // namespace

std::vector<InputProblem> CheckInput(std::string_view text) {
  std::vector<InputProblem> problems;
  int number = 1;
  for (std::size_t start = 0;; ++number) {
    std::size_t end = text.find(LineBreak, start);
    std::string_view line = text.substr(start, end == std::string_view::npos ? end : end - start);
    if (auto error = CheckLine(line)) problems.push_back({number, error->column, error->message});
    if (end == std::string_view::npos) break;
    start = end + LineBreak.size();
  }
  return problems;
}

std::string DescribeProblems(const std::vector<InputProblem>& problems) {
  constexpr std::size_t kMaxListed = 10;
  std::string text = problems.size() == 1
                         ? "Die Eingabe enthält einen Fehler:"
                         : "Die Eingabe enthält Fehler in " + std::to_string(problems.size()) + " Zeilen:";
  for (std::size_t i = 0; i < problems.size() && i < kMaxListed; ++i)
    text += "\nZeile " + std::to_string(problems[i].line) + ", Spalte " + std::to_string(problems[i].column) +
            ": " + problems[i].message;
  if (problems.size() > kMaxListed) text += "\n...";
  text += "\nEs wurde nichts geschrieben.";
  return text;
}

}  // namespace umbrix
