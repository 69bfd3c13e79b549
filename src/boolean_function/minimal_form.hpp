// Exact two-level minimisation: the minimal disjunctive (or conjunctive) forms of a function
// given by its truth table, with the fewest terms and, among those, the fewest literals.
#pragma once

#include <cstddef>
#include <vector>

#include "boolean_function/term_list.hpp"
#include "boolean_function/truth_table.hpp"

namespace umbrix {

struct MinimalForms {
  /// False when the search for a cover gave up (too many cases); nothing else is then valid.
  bool complete = true;
  /// The first minimal forms found, at most kShownMinimalForms.
  std::vector<TermList> shown;
  /// How many minimal forms there are; at least this many when countCapped.
  std::size_t count = 0;
  /// True when counting stopped before it had seen every minimal form.
  bool countCapped = false;
};

inline constexpr std::size_t kShownMinimalForms = 3;
inline constexpr std::size_t kCountedMinimalForms = 100;

/// The minimal forms of the table's function (at most kMostMinimalFormVariables columns); literals
/// in column order, terms by the order of the search.
MinimalForms Minimise(const TruthTable& table, NormalFormKind kind);

}  // namespace umbrix
