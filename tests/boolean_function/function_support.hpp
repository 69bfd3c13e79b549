// Test helpers: truth tables by brute force, random functions and random term lists.
#pragma once

#include <cstdint>
#include <random>
#include <vector>

#include "boolean_function/term_list.hpp"
#include "boolean_function/truth_table.hpp"

namespace umbrix::test {

/// The variables X1 to Xn.
inline std::vector<std::int16_t> FirstVariables(std::size_t n) {
  std::vector<std::int16_t> variables;
  for (std::size_t i = 1; i <= n; ++i) variables.push_back(static_cast<std::int16_t>(i));
  return variables;
}

/// The table with the given values over X1 to Xn.
inline TruthTable Table(std::size_t n, std::vector<bool> values) {
  return {FirstVariables(n), std::move(values)};
}

/// The values of a normal form in every row of the table's rows.
inline std::vector<bool> ValuesOf(const TermList& form, const TruthTable& shape) {
  std::vector<bool> values;
  for (std::size_t row = 0; row < shape.values.size(); ++row)
    values.push_back(form.Value(shape.Assignment(row)));
  return values;
}

/// A random term list over X1 to Xn with up to terms terms of up to n literals.
inline TermList RandomTermList(std::mt19937& random, std::size_t n, std::size_t terms, NormalFormKind kind) {
  TermList list{kind, {}};
  const std::size_t count = random() % (terms + 1);
  for (std::size_t t = 0; t < count; ++t) {
    Term term;
    for (std::size_t i = 1; i <= n; ++i)
      if (random() % 2) term.AddLiteral({static_cast<std::int16_t>(i), random() % 2 == 0});
    list.terms.push_back(term);
  }
  return list;
}

}  // namespace umbrix::test
