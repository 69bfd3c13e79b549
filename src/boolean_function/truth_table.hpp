// The truth table of a Boolean function over a few variables, and the canonical normal forms
// read from it: the disjunction of its minterms and the conjunction of its maxterms.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "boolean_function/term_list.hpp"

namespace umbrix {

struct TruthTable {
  /// The columns, ascending. Row r gives variables[0] the value of r's highest bit, so the
  /// rows run from all false to all true as tables on paper do.
  std::vector<std::int16_t> variables;
  std::vector<bool> values;

  /// The assignment of row r (bit i: Xi is true).
  VariableSet Assignment(std::size_t row) const;
  /// Whether variables[column] is true in row r.
  bool Bit(std::size_t row, std::size_t column) const {
    return (row >> (variables.size() - 1 - column)) & 1U;
  }
};

/// Most variables of a table that a derivation's forms are compared with: 2^10 rows.
inline constexpr std::size_t kMostTableVariables = 10;
/// Most variables of a table that minimal forms are computed from.
inline constexpr std::size_t kMostMinimalFormVariables = 10;

/// The table of a normal form over the given variables (at most kMostMinimalFormVariables).
TruthTable MakeTruthTable(const TermList& form, const std::vector<std::int16_t>& variables);

/// The canonical disjunctive (minterms) or conjunctive (maxterms) normal form, literals in
/// column order.
TermList CanonicalForm(const TruthTable& table, NormalFormKind kind);

}  // namespace umbrix
