// Step-wise rewriting of "==", "<=" and "=>" into "-", "+" and "v".
//
// Each MakeSimForm call rewrites exactly one node, on text: the operands are printed in their
// plain form, combined with the replacement connectives and parsed back into the same node.
// All "==" go first, then all "<=", then all "=>"; the outermost node first, and among
// siblings the leftmost that still holds the connective.
#include "general_formula/formel.hpp"

namespace umbrix {

namespace {

struct Phase {
  char operation;            // the node value this phase rewrites
  std::string_view written;  // how that connective stands in the plain text
};

constexpr Phase kPhases[] = {{'=', "=="}, {'<', "<="}, {'>', "=>"}};

}  // namespace

// A node whose connective has fewer than two operands (a lone "=" leaf from malformed text)
// has nothing to rewrite.
bool Formel::RewriteRuleApplies(char connective) const {
  return operation_.size() == 1 && operation_[0] == connective && Count() >= 2;
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
  return Value().find('=') != std::string::npos && RewriteTarget() != nullptr;
}

void Formel::MakeSimForm() {
  // The target lies in this node's own, non-const subtree.
  if (const Formel* target = RewriteTarget()) const_cast<Formel*>(target)->Rewrite();
}

void Formel::Rewrite() {
  auto v = [this](std::int16_t k) { return SubFormel(k).Value(); };
  const std::int16_t n = Count();
  std::string text;
  if (operation_ == "=") {
    // A == B == C  ==  (C => A) + (A => B) + (B => C): a cycle of implications.
    text = "((" + v(n - 1) + ")=>(" + v(0) + "))";
    for (std::int16_t k = 0; k + 1 < n; ++k) text += "+((" + v(k) + ")=>(" + v(k + 1) + "))";
  } else if (operation_ == "<") {
    text = v(1) + "=>" + v(0);  // A <= B  ==  B => A
  } else {
    text = "-(" + v(0) + ")v" + v(1);  // A => B  ==  -A v B
  }
  SetValue(text);
}

}  // namespace umbrix
