// Covering problems as integer programs for CBC (COIN-OR Branch and Cut): one 0-1 variable per
// prime, one constraint per row (the sum of its primes' variables at least 1). The two costs
// are minimised one after the other: first the number of primes, then, with at most that many,
// their literals, starting from the cover of the first stage. (One objective weighing a prime
// far above its literals gives the same covers, but the solver then spends up to a hundred
// times as long telling the many covers of equal size apart.) Whether another cover is as
// cheap as a known one is a question of feasibility: no objective, both costs bounded, so the
// first cover found answers it. The solver's linear relaxation bounds the search far more
// tightly than counting rows that share no prime.
//
// Each problem is solved in two rounds. The quick one branches without looking ahead and
// settles the many problems whose relaxation is nearly tight within a few hundred nodes. The
// problems it leaves open (dense functions of nine and more variables, whose cheapest cover
// lies some terms above the relaxation) go to a thorough round that chooses each branch by
// strong branching and starts from the best cover of the quick one: ten times fewer nodes
// there, and two to nine times less time. Both rounds are bounded by nodes, not by the clock,
// so a problem given up is given up on every machine; the time bound only guards against a
// node taking far longer than measured. CBC runs with its messages off and in one thread: it
// writes nothing and finds the same cover every time.
#include <coin/Cbc_C_Interface.h>

#include <algorithm>
#include <cmath>
#include <initializer_list>
#include <limits>
#include <memory>
#include <optional>

#include "boolean_function/cover_solver.hpp"

namespace umbrix {

namespace {

// The rounds. A node's linear program grows with the square of the rows, so a round may
// search fewer nodes the more rows its problem has: up to 450 rows (functions of nine
// variables) all of them, at 900 rows a quarter. A problem of nine or ten variables given up
// then takes about five seconds.
struct Round {
  int nodes = 0;
  bool strongBranching = false;
};
constexpr Round kQuick{300, false};
constexpr Round kThorough{700, true};
constexpr double kFullNodeRows = 450;

int NodesFor(const Round& round, std::size_t rows) {
  const double share = std::min(1.0, kFullNodeRows * kFullNodeRows / (static_cast<double>(rows) * rows));
  return std::max(1, static_cast<int>(round.nodes * share));
}

// Guards one round against nodes far slower than measured.
constexpr double kMostSeconds = 20;

struct ModelDeleter {
  void operator()(Cbc_Model* model) const { Cbc_deleteModel(model); }
};
using Model = std::unique_ptr<Cbc_Model, ModelDeleter>;

// Bounds on the two costs of a cover, where given.
struct Limits {
  std::optional<std::size_t> primes;
  std::optional<std::size_t> literals;
};

// The columns weighed by their coefficients add up to at most `most`.
void AddAtMost(Cbc_Model* model, const std::vector<std::size_t>& columns,
               const std::vector<double>& coefficients, double most) {
  std::vector<int> indexes(columns.begin(), columns.end());
  Cbc_addRow(model, "", static_cast<int>(indexes.size()), indexes.data(), coefficients.data(), 'L', most);
}

void AddLimits(Cbc_Model* model, const CoverPart& part, const Limits& limits) {
  std::vector<std::size_t> all(part.rowsOfPrime.size());
  for (std::size_t p = 0; p < all.size(); ++p) all[p] = p;
  if (limits.primes)
    AddAtMost(model, all, std::vector<double>(all.size(), 1.0), static_cast<double>(*limits.primes));
  if (limits.literals)
    AddAtMost(model, all, std::vector<double>(part.literals.begin(), part.literals.end()),
              static_cast<double>(*limits.literals));
}

// The row constraints column by column, the objective, the constraint that rules out notAllOf,
// and the limits.
Model MakeModel(const CoverPart& part, const std::vector<double>& objective, const Limits& limits,
                const Round& round) {
  Model model(Cbc_newModel());
  Cbc_setLogLevel(model.get(), 0);
  Cbc_setMaximumSeconds(model.get(), kMostSeconds);
  Cbc_setMaximumNodes(model.get(), NodesFor(round, part.rowCount));
  // The root's cut rounds and primal heuristics cost more than they save on these covering
  // problems (measured on the parts of random functions), and so does strong branching on
  // all but the hardest.
  Cbc_setParameter(model.get(), "cuts", "off");
  Cbc_setParameter(model.get(), "heuristicsOnOff", "off");
  if (!round.strongBranching) Cbc_setParameter(model.get(), "strongBranching", "0");
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
  if (!part.notAllOf.empty())
    AddAtMost(model.get(), part.notAllOf, std::vector<double>(part.notAllOf.size(), 1.0),
              static_cast<double>(part.notAllOf.size()) - 1);
  AddLimits(model.get(), part, limits);
  return model;
}

// Gives the solver a cover to start from: a first bound to prune by.
void StartFrom(Cbc_Model* model, const CoverPart& part, const std::vector<std::size_t>& chosen) {
  std::vector<int> indexes(part.rowsOfPrime.size());
  std::vector<double> values(part.rowsOfPrime.size(), 0.0);
  for (std::size_t p = 0; p < indexes.size(); ++p) indexes[p] = static_cast<int>(p);
  for (std::size_t p : chosen) values[p] = 1.0;
  Cbc_setMIPStartI(model, static_cast<int>(indexes.size()), indexes.data(), values.data());
}

// The primes whose variables a solution sets to one.
std::vector<std::size_t> ChosenPrimes(const double* values, const CoverPart& part) {
  std::vector<std::size_t> chosen;
  for (std::size_t p = 0; p < part.rowsOfPrime.size(); ++p)
    if (values[p] >= 0.5) chosen.push_back(p);
  return chosen;
}

bool CoversEveryRow(const CoverPart& part, const std::vector<std::size_t>& chosen) {
  std::vector<bool> covered(part.rowCount, false);
  for (std::size_t p : chosen)
    for (std::uint32_t row : part.rowsOfPrime[p]) covered[row] = true;
  return std::find(covered.begin(), covered.end(), false) == covered.end();
}

// Solves the model; the chosen primes, when they are proven optimal and cover every row.
CoverSolution Solve(Cbc_Model* model, const CoverPart& part) {
  Cbc_solve(model);
  if (Cbc_isProvenInfeasible(model)) return {CoverSolution::Status::Infeasible, {}};
  if (!Cbc_isProvenOptimal(model)) return {};
  CoverSolution solution{CoverSolution::Status::Optimal, ChosenPrimes(Cbc_getColSolution(model), part)};
  if (!CoversEveryRow(part, solution.chosen)) return {};
  return solution;
}

// The best cover the solver found, proven or not; empty when it found none.
std::vector<std::size_t> BestFound(Cbc_Model* model, const CoverPart& part) {
  const double* values = Cbc_bestSolution(model);
  return values == nullptr ? std::vector<std::size_t>{} : ChosenPrimes(values, part);
}

struct Outcome {
  CoverSolution solution;
  bool thorough = false;  ///< whether the thorough round ran
};

// The rounds one after the other until one settles the problem, each started from the best
// cover known.
Outcome SolveInRounds(const CoverPart& part, const std::vector<double>& objective, const Limits& limits,
                      std::vector<std::size_t> start, std::initializer_list<Round> rounds) {
  Outcome outcome;
  for (const Round& round : rounds) {
    const Model model = MakeModel(part, objective, limits, round);
    if (!start.empty()) StartFrom(model.get(), part, start);
    outcome = {Solve(model.get(), part), round.strongBranching};
    if (outcome.solution.status != CoverSolution::Status::Failed) break;
    const std::vector<std::size_t> found = BestFound(model.get(), part);
    if (!found.empty()) start = found;
  }
  return outcome;
}

}  // namespace

bool CoverSolverLinked() { return true; }

CoverSolution SolveCover(const CoverPart& part) {
  if (part.rowCount == 0) return {CoverSolution::Status::Optimal, {}};
  if (part.rowsOfPrime.empty()) return {CoverSolution::Status::Infeasible, {}};
  try {
    const std::vector<double> unit(part.rowsOfPrime.size(), 1.0);
    const Outcome fewest = SolveInRounds(part, unit, {}, {}, {kQuick, kThorough});
    if (fewest.solution.status != CoverSolution::Status::Optimal) return fewest.solution;
    const std::vector<double> literals(part.literals.begin(), part.literals.end());
    // A problem that needed the thorough round for its terms needs it for its literals too.
    const Limits limits{fewest.solution.chosen.size(), std::nullopt};
    if (fewest.thorough)
      return SolveInRounds(part, literals, limits, fewest.solution.chosen, {kThorough}).solution;
    return SolveInRounds(part, literals, limits, fewest.solution.chosen, {kQuick, kThorough}).solution;
  } catch (...) {
    // CBC reports its own failures as exceptions (CoinError); the search then counts as given up.
    return {};
  }
}

CoverSolution FindCoverWithin(const CoverPart& part, std::size_t mostPrimes, std::size_t mostLiterals) {
  if (part.rowCount == 0) return {CoverSolution::Status::Optimal, {}};
  if (part.rowsOfPrime.empty()) return {CoverSolution::Status::Infeasible, {}};
  try {
    const std::vector<double> none(part.rowsOfPrime.size(), 0.0);
    // Only the quick round: the answer decides no more than whether the count of cheapest
    // forms reads 1 or "mindestens 1".
    return SolveInRounds(part, none, {mostPrimes, mostLiterals}, {}, {kQuick}).solution;
  } catch (...) {
    return {};
  }
}

}  // namespace umbrix
