// The input syntax on top of the tokens of the scanner: an operand after every connective,
// "-" only before an operand, balanced parentheses, and one kind of variable name per line
// (letters or X-indexes). Two "<=" or "=>" in a row without parentheses are rejected: their
// operands would be lost in the rewriting.
#include "input/input_check.hpp"

#include <algorithm>
#include <cctype>
#include <optional>

#include "general_formula/operation.hpp"
#include "input/scanner.hpp"
#include "utilities/std_text.hpp"
#include "utilities/utf8_text.hpp"

namespace umbrix {

namespace {

std::string Quoted(std::string_view text) { return QuotedExcerpt(text); }

// Follows the tokens of one line: whether an operand is due, the open parentheses, and
// whether the current parenthesis level already holds a "<=" or "=>".
class LineChecker {
 public:
  explicit LineChecker(std::string_view line) : line_(line) {}

  void Accept(const Token& token) {
    switch (token.kind) {
      case Token::Kind::Variable:
      case Token::Kind::Letter:
        Operand(token);
        break;
      case Token::Kind::Constant:
        Constant(token);
        break;
      case Token::Kind::Not:
        if (!expectOperand_)
          Fail(token, "Vor " + Quoted(token.Typed()) + " fehlt ein Operator; " + Quoted(token.Typed()) +
                          " (nicht) steht nur vor einem Operanden.");
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
      throw LineError{endColumn, "Die Formel endet ohne Operand nach " + Quoted(previous_->Typed()) + "."};
    if (!open_.empty()) throw LineError{open_.back().column, "Die Klammer \"(\" wird nicht geschlossen."};
  }

 private:
  struct Level {
    int column;
    std::string implication;  // the "<=" or "=>" of this level as typed; empty if none
    std::optional<Token> equivalence;  // the first "==" of this level
  };

  [[noreturn]] static void Fail(const Token& token, const std::string& message) {
    throw LineError{token.column, message};
  }

  void Operand(const Token& token) {
    if (!expectOperand_) Fail(token, "Vor " + Quoted(token.Typed()) + " fehlt ein Operator.");
    expectOperand_ = false;
    if (!firstVariable_)
      firstVariable_ = token;
    else if (firstVariable_->kind != token.kind)
      Fail(token, MixedNamesMessage(token));
  }

  // A constant stands where an operand may; it names no variable.
  void Constant(const Token& token) {
    if (!expectOperand_) Fail(token, "Vor " + Quoted(token.Typed()) + " fehlt ein Operator.");
    expectOperand_ = false;
  }

  void Open(const Token& token) {
    if (!expectOperand_) Fail(token, "Vor \"(\" fehlt ein Operator.");
    if (static_cast<int>(open_.size()) >= kMaxNesting)
      Fail(token,
           "Die Klammern sind zu tief verschachtelt (höchstens " + std::to_string(kMaxNesting) + " Ebenen).");
    open_.push_back(Level{token.column, {}, std::nullopt});
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
    if (expectOperand_) {
      std::string message = "Vor " + Quoted(token.Typed()) + " fehlt ein Operand.";
      if (token.text == operation::kOr && !token.translated)
        message += " \"v\" ist das Zeichen für \"oder\" und kann keine Variable sein" + OtherLetterHint() + ".";
      Fail(token, message);
    }
    expectOperand_ = true;
    Level& level = open_.empty() ? top_ : open_.back();
    std::string& implication = level.implication;
    if (token.text == operation::kEquivalentWritten) {
      implication.clear();
      if (level.equivalence && (IsArrow(*level.equivalence) || IsArrow(token)))
        Fail(token, EquivalenceChainMessage(*level.equivalence, token));
      if (!level.equivalence) level.equivalence = token;
    } else if (token.text == operation::kFollowsFromWritten || token.text == operation::kImpliesWritten) {
      if (!implication.empty())
        Fail(token, Quoted(implication) + " und " + Quoted(token.Typed()) +
                        " hintereinander sind mehrdeutig; bitte Klammern setzen, zum Beispiel (X1=>X2)=>X3 "
                        "oder X1=>(X2=>X3).");
      implication = token.Typed();
    }
  }

  // A letter for the student's "v" that the line does not use yet.
  std::string OtherLetterHint() const {
    for (char letter : std::string_view("wuyzpqrstabcdefghjkmn")) {
      const bool used = std::any_of(line_.begin(), line_.end(), [letter](char c) { return std::tolower(static_cast<unsigned char>(c)) == letter; });
      if (!used) return std::string("; nimm einen anderen Buchstaben, zum Beispiel ") + letter;
    }
    return {};
  }

  // The arrows of logic lessons; "==" and "=" are Umbrix's own chain "all equal".
  static bool IsArrow(const Token& token) { return token.translated; }

  // In logic lessons "↔" is associative, so a↔b↔c means (a↔b)↔c, while Umbrix reads a chain
  // without parentheses as "all equal": the two differ, so the student must choose.
  std::string EquivalenceChainMessage(const Token& first, const Token& second) const {
    const bool letters = firstVariable_ && firstVariable_->kind == Token::Kind::Letter;
    const std::string a = letters ? "a" : "X1";
    const std::string b = letters ? "b" : "X2";
    const std::string c = letters ? "c" : "X3";
    const std::string arrow = IsArrow(first) ? first.Typed() : second.Typed();
    return Quoted(first.Typed()) + " und " + Quoted(second.Typed()) +
           " hintereinander sind mehrdeutig: in der Logik heißt " + a + arrow + b + arrow + c + " dasselbe wie (" +
           a + arrow + b + ")" + arrow + c + ", Umbrix liest eine Kette ohne Klammern aber als \"alle gleich\". "
           "Bitte Klammern setzen: (" + a + arrow + b + ")" + arrow + c + ", oder für \"alle gleich\" " + a +
           "==" + b + "==" + c + ".";
  }

  // A line names its variables either by letters or by X-indexes; a bare 0 or 1 among
  // letters is most likely meant as a constant.
  std::string MixedNamesMessage(const Token& token) const {
    std::string message = Quoted(token.Typed()) + " steht in einer Zeile mit " +
                          Quoted(firstVariable_->Typed()) +
                          ": eine Zeile benennt ihre Variablen entweder mit einzelnen Buchstaben oder mit X1 "
                          "bis X99, nicht mit beidem.";
    if (token.Typed() == "1" || firstVariable_->Typed() == "1")
      message += " Konstanten gibt es in der Eingabe nicht; \"1\" ist hier die Variable X1.";
    return message;
  }

  std::string_view line_;
  bool expectOperand_ = true;
  std::optional<Token> firstVariable_;
  Level top_{0, {}, std::nullopt};
  std::vector<Level> open_;
  std::optional<Token> previous_;
};

}  // namespace

std::optional<LineError> CheckFormulaLine(std::string_view line, const ConstantSpelling& constants) {
  try {
    if (IsLoneX(line)) return std::nullopt;  // the empty formula
    Scanner scanner(line, constants);
    LineChecker checker(line);
    while (auto token = scanner.Next()) checker.Accept(*token);
    checker.Finish(scanner.EndColumn());
  } catch (const LineError& error) {
    return error;
  }
  return std::nullopt;
}

std::vector<InputProblem> CheckInput(std::string_view text) {
  std::vector<InputProblem> problems;
  int number = 1;
  for (std::size_t start = 0;; ++number) {
    std::size_t end = text.find(LineBreak, start);
    std::string_view line = text.substr(start, end == std::string_view::npos ? end : end - start);
    if (auto error = CheckFormulaLine(line)) problems.push_back({number, error->column, error->message});
    if (end == std::string_view::npos) break;
    start = end + LineBreak.size();
  }
  return problems;
}

bool LooksLikeFormulaPiece(std::string_view text) {
  bool onlyConnectives = true, any = false;
  std::optional<Token::Kind> first, last;
  try {
    Scanner scanner(text);
    while (auto token = scanner.Next()) {
      if (!first) first = token->kind;
      last = token->kind;
      any = true;
      onlyConnectives =
          onlyConnectives && (token->kind == Token::Kind::Not || token->kind == Token::Kind::Binary);
    }
  } catch (const LineError&) {
    return false;
  }
  return any && (onlyConnectives || first == Token::Kind::Binary || last == Token::Kind::Binary);
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
