// The Quine–McCluskey method as exercise sheets write it down: the minterms grouped by their
// number of ones; round after round, every two terms of neighbouring groups that differ in
// one variable merged into one with a "-" there, the merged terms marked as used; the terms
// never used are the prime implicants; the prime implicant chart with the essential prime
// implicants and the cover chosen, which is a minimal disjunctive form computed elsewhere.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "boolean_function/term_list.hpp"
#include "boolean_function/truth_table.hpp"

namespace umbrix {

/// Most variables for which the tables are written.
inline constexpr std::size_t kMostQuineMcCluskeyVariables = 6;

/// A term of the tables: per variable 0, 1 or free ("-"). Bits as in the rows of the truth
/// table: the first variable is the highest bit.
struct QmTerm {
  std::uint32_t value = 0;            ///< the bits of the variables that are not free
  std::uint32_t free = 0;             ///< the bits of the free variables
  std::vector<std::size_t> minterms;  ///< ascending
  bool used = false;                  ///< merged into a term of the next round

  std::size_t Ones() const;
  /// The term as the tables write it, one character per variable: "01-1".
  std::string Pattern(std::size_t variables) const;
  /// The minterms joined by ";": "5;7".
  std::string MintermList() const;
};

/// One round: its terms grouped by their number of ones (groups[k] holds those with k ones).
struct QmRound {
  std::vector<std::vector<QmTerm>> groups;
};

struct QuineMcCluskey {
  std::vector<std::int16_t> variables;
  /// rounds[0] holds the minterms; a round follows as long as some terms merge.
  std::vector<QmRound> rounds;
  /// The terms never used, round by round and group by group.
  std::vector<QmTerm> primes;
  /// The chart's columns: every minterm, ascending.
  std::vector<std::size_t> minterms;
  /// Per prime: it is the only prime of some minterm.
  std::vector<bool> essential;
  /// Per prime: a term of the minimal form given.
  std::vector<bool> chosen;

  /// Whether prime p covers the minterm.
  bool Covers(std::size_t p, std::size_t minterm) const;
  /// Whether the minterm's column holds one cross only.
  bool SingleCover(std::size_t minterm) const;
};

/// The tables for the table's function (at most kMostQuineMcCluskeyVariables columns); the
/// primes whose terms form minimalForm, a minimal disjunctive form of it, are chosen.
QuineMcCluskey RunQuineMcCluskey(const TruthTable& table, const TermList& minimalForm);

/// The conjunction of the literals that a term of the tables fixes, in column order.
Term TermOf(const QmTerm& term, const std::vector<std::int16_t>& variables);

}  // namespace umbrix
