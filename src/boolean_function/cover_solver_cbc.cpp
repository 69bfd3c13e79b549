// Covering problems as integer programs for CBC (COIN-OR Branch and Cut): one 0-1 variable per
// prime, one constraint per row (the sum of its primes' variables at least 1). The two costs
// are minimised one after the other: first the number of primes, then, with at most that many,
// their literals. (One objective weighing a prime far above its literals gives the same
// covers, but the solver then spends up to a hundred times as long telling the many covers of
// equal size apart.) The solver's linear relaxation bounds the search far more tightly than
// counting rows that share no prime. CBC runs with its messages off and, as by default, in
// one thread: it writes nothing and finds the same cover every time.
#include <coin/Cbc_C_Interface.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <memory>
#include <optional>

#include "boolean_function/cover_solver.hpp"

namespace umbrix {

namespace {

// A generous bound on the time of one problem; every problem measured takes a small fraction.
constexpr double kMostSeconds = 60;

struct ModelDeleter {
  void operator()(Cbc_Model* model) const { Cbc_deleteModel(model); }
};
using Model = std::unique_ptr<Cbc_Model, ModelDeleter>;

// At most `most` of the columns may be 1.
void AddAtMost(Cbc_Model* model, const std::vector<std::size_t>& columns, double most) {
  std::vector<int> indexes(columns.begin(), columns.end());
  const std::vector<double> coefficients(indexes.size(), 1.0);
  Cbc_addRow(model, "", static_cast<int>(indexes.size()), indexes.data(), coefficients.data(), 'L', most);
}

// The row constraints column by column, the objective, and the constraint that rules out
// notAllOf; with mostPrimes, at most that many primes.
Model MakeModel(const CoverPart& part, const std::vector<double>& objective, std::optional<std::size_t> mostPrimes) {
  Model model(Cbc_newModel());
  Cbc_setLogLevel(model.get(), 0);
  Cbc_setMaximumSeconds(model.get(), kMostSeconds);
  // The root's cut rounds, primal heuristics and strong branching cost more than they save
  // on covering problems of this size (measured on the parts of random functions).
  Cbc_setParameter(model.get(), "cuts", "off");
  Cbc_setParameter(model.get(), "heuristicsOnOff", "off");
  Cbc_setParameter(model.get(), "strongBranching", "0");
  const std::size_t primes = part.rowsOfPrime.size();
  std::vector<CoinBigIndex> starts{0};
  std::vector<int> indexes;
  for (const std::vector<std::uint32_t>& rows : part.rowsOfPrime) {
    indexes.insert(indexes.end(), rows.begin(), rows.end());
    starts.push_back(static_cast<CoinBigIndex>(indexes.size()));
  }
  const std::vector<double> ones(indexes.size(), 1.0);
  const std::vector<double> lower(primes, 0.0);
  const std::vector<double> upper(primes, 1.0);
  const std::vector<double> rowLower(part.rowCount, 1.0);
  const std::vector<double> rowUpper(part.rowCount, std::numeric_limits<double>::max());
  Cbc_loadProblem(model.get(), static_cast<int>(primes), static_cast<int>(part.rowCount), starts.data(),
                  indexes.data(), ones.data(), lower.data(), upper.data(), objective.data(), rowLower.data(),
                  rowUpper.data());
  for (std::size_t p = 0; p < primes; ++p) Cbc_setInteger(model.get(), static_cast<int>(p));
  if (!part.notAllOf.empty()) AddAtMost(model.get(), part.notAllOf, static_cast<double>(part.notAllOf.size()) - 1);
  if (mostPrimes) {
    std::vector<std::size_t> all(primes);
    for (std::size_t p = 0; p < primes; ++p) all[p] = p;
    AddAtMost(model.get(), all, static_cast<double>(*mostPrimes));
  }
  return model;
}

// Solves the model; the chosen primes, when they are proven optimal and cover every row.
CoverSolution Solve(Cbc_Model* model, const CoverPart& part) {
  Cbc_solve(model);
  if (Cbc_isProvenInfeasible(model)) return {CoverSolution::Status::Infeasible, {}};
  if (!Cbc_isProvenOptimal(model)) return {};
  const double* values = Cbc_getColSolution(model);
  CoverSolution solution{CoverSolution::Status::Optimal, {}};
  std::vector<bool> covered(part.rowCount, false);
  for (std::size_t p = 0; p < part.rowsOfPrime.size(); ++p) {
    if (values[p] < 0.5) continue;
    solution.chosen.push_back(p);
    for (std::uint32_t row : part.rowsOfPrime[p]) covered[row] = true;
  }
  if (std::find(covered.begin(), covered.end(), false) != covered.end()) return {};
  return solution;
}

}  // namespace

bool CoverSolverLinked() { return true; }

CoverSolution SolveCover(const CoverPart& part) {
  if (part.rowCount == 0) return {CoverSolution::Status::Optimal, {}};
  if (part.rowsOfPrime.empty()) return {CoverSolution::Status::Infeasible, {}};
  try {
    const std::vector<double> unit(part.rowsOfPrime.size(), 1.0);
    const CoverSolution fewest = Solve(MakeModel(part, unit, std::nullopt).get(), part);
    if (fewest.status != CoverSolution::Status::Optimal) return fewest;
    std::vector<double> literals;
    for (std::size_t count : part.literals) literals.push_back(static_cast<double>(count));
    return Solve(MakeModel(part, literals, fewest.chosen.size()).get(), part);
  } catch (...) {
    // CBC reports its own failures as exceptions (CoinError); the search then counts as given up.
    return {};
  }
}

}  // namespace umbrix
