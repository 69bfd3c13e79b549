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

/// Every function of one to three variables, then random functions of four to six variables,
/// sparse, half and dense.
inline std::vector<TruthTable> SmallFunctions() {
  std::vector<TruthTable> tables;
  for (std::size_t n = 1; n <= 3; ++n) {
    const std::size_t rows = std::size_t{1} << n;
    for (std::size_t f = 0; f < (std::size_t{1} << rows); ++f) {
      std::vector<bool> values(rows);
      for (std::size_t row = 0; row < rows; ++row) values[row] = (f >> row) & 1U;
      tables.push_back(Table(n, values));
    }
  }
  std::mt19937 random(24);
  for (int round = 0; round < 90; ++round) {
    const std::size_t n = 4 + round % 3;
    const unsigned percent = 20 + 30 * static_cast<unsigned>(round / 3 % 3);
    std::vector<bool> values(std::size_t{1} << n);
    for (std::size_t row = 0; row < values.size(); ++row) values[row] = random() % 100 < percent;
    tables.push_back(Table(n, values));
  }
  return tables;
}

}  // namespace umbrix::test
