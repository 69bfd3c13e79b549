// Step-wise rewriting of "==", "<=" and "=>" into "-", "+" and "v".
//
// Each MakeSimForm call rewrites exactly one node, on text: the operands are printed in their
// plain form, combined with the replacement connectives and parsed back into the same node.
// All "==" go first, then all "<=", then all "=>"; the outermost node first, and among
// siblings the leftmost that still holds the connective.
#include "general_formula/formel.hpp"

#include <string>

namespace umbrix {

namespace {

struct Phase {
  std::string_view operation;  // the node value this phase rewrites
  std::string_view written;    // how that connective stands in the plain text
};

constexpr Phase kPhases[] = {{operation::kEquivalent, operation::kEquivalentWritten},
                             {operation::kFollowsFrom, operation::kFollowsFromWritten},
                             {operation::kImplies, operation::kImpliesWritten}};

// Every written form of the three connectives holds this character.
constexpr char kArrowMark = operation::kEquivalent[0];

// The pieces of the replacement texts, parsed back by SetValue.
std::string Grouped(const std::string& text) { return "(" + text + ")"; }

}  // namespace

// A node whose connective has fewer than two operands (a lone "=" leaf from malformed text)
// has nothing to rewrite.
bool Formel::RewriteRuleApplies(std::string_view connective) const {
  return operation_ == connective && Count() >= 2;
}

// The node that the next MakeSimForm call rewrites, or nullptr when no rule applies.
const Formel* Formel::RewriteTarget() const {
  for (const Phase& phase : kPhases) {
    if (RewriteRuleApplies(phase.operation)) return this;
    for (std::int16_t k = 0; k < Count(); ++k) {
      const Formel& sub = SubFormel(k);
      if (sub.Value().find(phase.written) != std::string::npos) return sub.RewriteTarget();
    }
  }
  return nullptr;
}

bool Formel::NotSimForm() const {
  return Value().find(kArrowMark) != std::string::npos && RewriteTarget() != nullptr;
}

void Formel::MakeSimForm(GesetzSink* gesetze) {
  // The target lies in this node's own, non-const subtree.
  if (const Formel* target = RewriteTarget()) const_cast<Formel*>(target)->Rewrite(gesetze);
}

void Formel::Rewrite(GesetzSink* gesetze) {
  auto v = [this](std::int16_t k) { return SubFormel(k).Value(); };
  const std::int16_t n = Count();
  const std::string implies(operation::kImpliesWritten);
  std::string text;
  if (operation_ == operation::kEquivalent) {
    // A == B == C  ==  (C => A) + (A => B) + (B => C): a cycle of implications.
    text = Grouped(Grouped(v(n - 1)) + implies + Grouped(v(0)));
    for (std::int16_t k = 0; k + 1 < n; ++k)
      text += std::string(operation::kAnd) + Grouped(Grouped(v(k)) + implies + Grouped(v(k + 1)));
    Report(gesetze, Gesetz::Aequivalenz);
  } else if (operation_ == operation::kFollowsFrom) {
    text = v(1) + implies + v(0);  // A <= B  ==  B => A
    Report(gesetze, Gesetz::FolgtAus);
  } else {
    text = std::string(operation::kNot) + Grouped(v(0)) + std::string(operation::kOr) +
           v(1);  // A => B  ==  -A v B
    Report(gesetze, Gesetz::Implikation);
  }
  SetValue(text);
}

}  // namespace umbrix
