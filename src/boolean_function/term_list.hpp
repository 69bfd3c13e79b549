// A final normal form read as a list of terms over variable indices: the terms of a
// disjunctive normal form are conjunctions of literals, joined by "v"; the clauses of a
// conjunctive normal form are disjunctions of literals, joined by "+". An empty term is the
// operator's neutral element (an empty conjunction is true), an empty list the outer one's.
#pragma once

#include <bitset>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace umbrix {

class SimFormel;

/// Variables are X1 to X99; bit i stands for Xi.
using VariableSet = std::bitset<100>;

struct Literal {
  std::int16_t index = 0;
  bool negated = false;
};

/// One term or clause: its literals in the formula's order and, for comparisons, the sets of
/// its positive and negated variables.
struct Term {
  std::vector<Literal> literals;
  VariableSet positive;
  VariableSet negative;

  void AddLiteral(Literal literal);
  /// True when every literal of other occurs in this term.
  bool Contains(const Term& other) const;
  std::size_t Size() const { return positive.count() + negative.count(); }
  /// Value under an assignment (bit i: Xi is true), as a conjunction or as a disjunction.
  bool Value(const VariableSet& assignment, bool conjunction) const;
};

enum class NormalFormKind { Dis, Kon };

struct TermList {
  NormalFormKind kind = NormalFormKind::Dis;
  std::vector<Term> terms;

  /// Value of the whole normal form under an assignment (bit i: Xi is true).
  bool Value(const VariableSet& assignment) const;
  /// Simple-formula text of the list (as SimFormel::FormelText writes it), "C" or "T" for the
  /// constants.
  std::string FormelText() const;
};

/// Reads a formula that is in the given normal form; nullopt when it is not one or holds a
/// leaf that is neither a variable X1 to X99 nor a constant. Constants inside are evaluated.
std::optional<TermList> ReadNormalForm(SimFormel& formel, NormalFormKind kind);

/// The variables of a simple formula; nullopt when a leaf is neither a variable X1 to X99 nor
/// a constant (the empty formula). Shared nodes are visited once.
std::optional<VariableSet> CollectVariables(SimFormel& formel);

/// The indices of a set, ascending.
std::vector<std::int16_t> Indices(const VariableSet& variables);

}  // namespace umbrix
