// Formel: one node of the parse tree of a formula over the full set of connectives.
// Operation holds "(", "-", "+", "v", "<" (for "<="), ">" (for "=>"), "=" (for "=="), or a
// leaf text (a variable's index digits; "" for the empty formula). A node owns its
// sub-formulas exclusively.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "general_formula/gesetz.hpp"
#include "general_formula/operation.hpp"

namespace umbrix {

class Formel {
 public:
  Formel() = default;
  Formel(const Formel&) = delete;
  Formel& operator=(const Formel&) = delete;

  /// What the node is: connective, group, negation or leaf text.
  const std::string& Operation() const { return operation_; }
  void SetOperation(std::string operation) { operation_ = std::move(operation); }

  /// The node's level: "-" 1, "+" 2, "v" 3, "<" and ">" 4, "=" 5, leaves 0, empty -1.
  Level Stufe() const { return OperatorLevel(operation_); }
  /// Number of sub-formulas.
  std::int16_t Count() const { return static_cast<std::int16_t>(subFormulas_.size()); }

  /// Sub-formula at a 0-based position; position Count is the trailing empty position,
  /// which is filled with a new empty node when read. Throws std::out_of_range beyond it.
  Formel& SubFormel(std::int16_t index);
  /// Read-only access; an empty position reads as an empty node without being filled.
  const Formel& SubFormel(std::int16_t index) const;

  /// Parses wert into this node, replacing its whole content. Never rejects a text; throws
  /// RunError only when the nesting is too deep to parse or a node would get more than
  /// kMaxMembers sub-formulas.
  void SetValue(std::string_view wert);
  /// Marked text form, every variable index closed by ";" (X1;<=X2;vX3;).
  std::string FormelText() const;
  /// Plain text form: the marked form without ";".
  std::string Value() const;

  /// True while a "<=", "=>" or "==" is left that MakeSimForm can rewrite.
  bool NotSimForm() const;
  /// One rewriting step of "==", then "<=", then "=>" somewhere in the subtree; the law
  /// applied goes to gesetze when given.
  void MakeSimForm(GesetzSink* gesetze = nullptr);

  /// Level of an operator text, judged by its first character ("=" also by its second).
  /// Inline: the simple formulas ask it for every node of every step.
  static Level OperatorLevel(std::string_view text);

 private:
  void Reset();
  void Parse(std::string s, int depth);
  bool CutAtLevel(std::string& s, Level level, int depth);
  void AddSubFromText(std::string_view text, int depth);
  static std::size_t FindSplit(std::string_view s, Level level);
  void AppendText(std::string& out) const;
  const Formel* RewriteTarget() const;
  bool RewriteRuleApplies(std::string_view connective) const;
  void Rewrite(GesetzSink* gesetze);

  std::string operation_;
  std::vector<std::unique_ptr<Formel>> subFormulas_;
  std::unique_ptr<Formel> trailing_;
};

inline Level Formel::OperatorLevel(std::string_view text) {
  if (text.empty()) return Level::kEmpty;
  switch (text[0]) {
    case operation::kNot[0]:
      return Level::kNot;
    case operation::kAnd[0]:
      return Level::kAnd;
    case operation::kOr[0]:
      return Level::kOr;
    case operation::kFollowsFrom[0]:
    case operation::kImplies[0]:
      return Level::kArrow;
    case operation::kEquivalent[0]:
      return (text.size() > 1 && text[1] == operation::kImpliesWritten[1]) ? Level::kArrow
                                                                           : Level::kEquivalent;
    default:
      return Level::kAtom;
  }
}

}  // namespace umbrix
