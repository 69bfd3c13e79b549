// The exact solution of one covering problem: choose primes so that every row holds one of
// them, with the fewest primes and, among those, the fewest literals. Where a solver library
// for integer programs is linked, it solves the problem; elsewhere the minimisation uses its
// own branch and bound (minimal_form.cpp).
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace umbrix {

/// A covering problem: rows 0 to rowCount - 1, and for each prime its rows and literals.
struct CoverPart {
  std::size_t rowCount = 0;
  std::vector<std::vector<std::uint32_t>> rowsOfPrime;
  std::vector<std::size_t> literals;
  /// Primes that must not all be chosen together (a cover already known), or none.
  std::vector<std::size_t> notAllOf;
};

struct CoverSolution {
  enum class Status { Optimal, Infeasible, Failed };
  Status status = Status::Failed;
  std::vector<std::size_t> chosen;  ///< ascending, when Optimal
};

/// Whether a solver library is linked; without one SolveCover always fails.
bool CoverSolverLinked();

/// A cheapest cover of the part, proven optimal by the solver.
CoverSolution SolveCover(const CoverPart& part);

/// Some cover of at most mostPrimes primes with at most mostLiterals literals (Optimal), or
/// proof that there is none (Infeasible). Cheaper than SolveCover when the bounds are a known
/// optimum: the first cover found ends the search.
CoverSolution FindCoverWithin(const CoverPart& part, std::size_t mostPrimes, std::size_t mostLiterals);

}  // namespace umbrix
