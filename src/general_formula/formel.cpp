// The Formel tree, its parser and its text forms.
//
// The parser works level by level on the cleaned text: it finds the loosest connective
// outside all parentheses, cuts the text at each of its occurrences and parses every piece
// recursively. Parentheses become "(" nodes and are never dropped.
#include "general_formula/formel.hpp"

#include <algorithm>
#include <cctype>
#include <stdexcept>

#include "utilities/run_error.hpp"
#include "utilities/std_text.hpp"

namespace umbrix {

namespace {

// Deeper recursion than this could exhaust the stack; no valid input comes near it.
constexpr int kMaxParseDepth = 3000;

std::string LowerCase(std::string_view text) {
  std::string result(text);
  for (char& c : result) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return result;
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// How a connective stands in the text forms; empty for a group, a negation or a leaf.
std::string_view WrittenConnective(const std::string& operation) {
  if (operation == operation::kAnd) return operation::kAnd;
  if (operation == operation::kOr) return operation::kOr;
  if (operation == operation::kFollowsFrom) return operation::kFollowsFromWritten;
  if (operation == operation::kImplies) return operation::kImpliesWritten;
  if (operation == operation::kEquivalent) return operation::kEquivalentWritten;
  return {};
}

// The connective that a cut at a binary level makes; "<" is set where it is found.
std::string_view ConnectiveAt(Level level) {
  switch (level) {
    case Level::kAnd:
      return operation::kAnd;
    case Level::kOr:
      return operation::kOr;
    case Level::kArrow:
      return operation::kImplies;
    default:
      return operation::kEquivalent;
  }
}

// The parser tries the loosest level first.
constexpr Level kParseOrder[] = {Level::kEquivalent, Level::kArrow, Level::kOr,
                                 Level::kAnd,        Level::kNot,   Level::kAtom};

}  // namespace

Formel& Formel::SubFormel(std::int16_t index) {
  if (index < 0 || index > Count()) throw std::out_of_range("Formel::SubFormel: Index außerhalb");
  if (index < Count()) return *subFormulas_[static_cast<std::size_t>(index)];
  if (!trailing_) trailing_ = std::make_unique<Formel>();
  return *trailing_;
}

const Formel& Formel::SubFormel(std::int16_t index) const {
  static const Formel empty;
  if (index < 0 || index > Count()) throw std::out_of_range("Formel::SubFormel: Index außerhalb");
  if (index < Count()) return *subFormulas_[static_cast<std::size_t>(index)];
  return trailing_ ? *trailing_ : empty;
}

void Formel::Reset() {
  operation_.clear();
  subFormulas_.clear();
  trailing_.reset();
}

void Formel::SetValue(std::string_view wert) { Parse(std::string(wert), 0); }

void Formel::Parse(std::string s, int depth) {
  if (depth > kMaxParseDepth)
    throw RunError(RunError::Kind::TooLarge, "Die Formel ist zu tief verschachtelt.");
  Reset();
  // The variable letter is dropped ("V" becomes the connective "v"), then double negations
  // cancel. This is the only normalisation of a formula line: the driver hands lines on as
  // they stand.
  s = ReplaceAll(LowerCase(s), {"x", "", "--", ""});
  for (Level level : kParseOrder)
    if (CutAtLevel(s, level, depth)) return;
}

// One level of the parser; returns true when the node is complete. The cuts are read from a
// view that moves along s, so a long chain is parsed in time linear in its length.
bool Formel::CutAtLevel(std::string& s, Level level, int depth) {
  std::string_view rest(s);
  for (std::size_t cut = FindSplit(rest, level); cut != std::string::npos; cut = FindSplit(rest, level)) {
    AddSubFromText(rest.substr(0, cut), depth);
    if (rest[cut] == operation::kFollowsFrom[0]) operation_ = operation::kFollowsFrom;
    rest.remove_prefix(cut + 1);
    // Drops the second character of "<=", "=>" and "==".
    if (!rest.empty() && (rest[0] == '=' || rest[0] == '>')) rest.remove_prefix(1);
  }
  s.erase(0, s.size() - rest.size());
  if (level == Level::kNot && (s.empty() || s[0] != operation::kNot[0])) return false;
  if (level == Level::kAtom) {
    if (!s.empty() && s[0] == '(') {
      operation_ = operation::kGroup;
      AddSubFromText(s.size() >= 2 ? std::string_view(s).substr(1, s.size() - 2) : "", depth);
    } else {
      operation_ = s;
    }
    return true;
  }
  if (level == Level::kNot) {
    operation_ = operation::kNot;
    AddSubFromText(std::string_view(s).substr(1), depth);
    return true;
  }
  if (Count() == 0) return false;
  if (level != Level::kArrow || operation_ != operation::kFollowsFrom) operation_ = ConnectiveAt(level);
  AddSubFromText(s, depth);
  return true;
}

void Formel::AddSubFromText(std::string_view text, int depth) {
  if (subFormulas_.size() >= kMaxMembers) throw MemberLimitError();
  auto node = trailing_ ? std::move(trailing_) : std::make_unique<Formel>();
  subFormulas_.push_back(std::move(node));
  subFormulas_.back()->Parse(std::string(text), depth + 1);
}

// Length of the first operand of s at the given level, or npos when s has no cut there.
std::size_t Formel::FindSplit(std::string_view s, Level level) {
  int depth = 0;
  for (std::size_t j = 0; j < s.size(); ++j) {
    if (s[j] == '(') ++depth;
    if (s[j] == ')') --depth;
    if (depth == 0 && j + 1 < s.size() && !IsDigit(s[j + 1]) && s[j] != '<' &&
        OperatorLevel(s.substr(j + 1)) >= level)
      return j + 1;
  }
  return std::string_view::npos;
}

void Formel::AppendText(std::string& out) const {
  if (operation_ == operation::kGroup) {
    out += '(';
    SubFormel(0).AppendText(out);
    out += ')';
  } else if (operation_ == operation::kNot) {
    out += operation::kNot;
    SubFormel(0).AppendText(out);
  } else if (const std::string_view connective = WrittenConnective(operation_); !connective.empty()) {
    SubFormel(0).AppendText(out);
    for (std::int16_t k = 1; k < Count(); ++k) {
      out += connective;
      SubFormel(k).AppendText(out);
    }
  } else {
    out += 'X';
    out += operation_;
    out += ';';
  }
}

std::string Formel::FormelText() const {
  std::string out;
  AppendText(out);
  return out;
}

std::string Formel::Value() const {
  std::string text = FormelText();
  std::erase(text, ';');
  return text;
}

}  // namespace umbrix
