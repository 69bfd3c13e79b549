// Exact two-level minimisation in two parts.
//
// Prime implicants: a cube fixes some variables and leaves the others free; written in base
// 3 (digit 0 negated, 1 positive, 2 free) every cube with a free variable is the union of two
// cubes with smaller numbers, so one pass in numeric order finds all implicants, and a prime
// is an implicant that no freeing of one more variable keeps an implicant.
//
// Cover: one cheapest cover comes from a solver library where one is linked (cover_solver.hpp):
// the problem is reduced first (essential primes, dominated rows, primes beaten by one with
// fewer literals), split into independent parts, and each part solved exactly. Without the
// library a branch and bound finds it, over the rows that are still uncovered, always on the
// row with the fewest primes left. Each branch takes one of them and excludes the ones tried
// before it, so that every set of primes is reached at most once; each node is reduced, and
// branches are pruned at equal cost. Knowing the least cost, a second search of that kind
// counts the covers of equal cost (their count is a lower bound when its budget runs out or it
// stops at enough forms); its bound is a set of uncovered rows no two of which share a prime.
// When that count is cut before a second cover, the solver (or the first search, run without
// each prime of the first cover in turn) tells whether there is another. A minimal
// conjunctive form is the dual of a minimal disjunctive form of the negated function.
#include "boolean_function/minimal_form.hpp"

#include <algorithm>
#include <bitset>
#include <cmath>
#include <cstdint>
#include <optional>
#include <stdexcept>
#include <utility>

#include "boolean_function/cover_solver.hpp"

namespace umbrix {

namespace {

using Rows = std::bitset<std::size_t{1} << kMostMinimalFormVariables>;
using Cost = std::pair<std::size_t, std::size_t>;  // terms, literals

// Upper limit of nodes for finding one cheapest cover; it bounds the time (some seconds) for
// the few functions of nine or ten variables whose cover problems stay hard after reduction.
constexpr std::size_t kCheapestCoverBudget = 50000;
// Upper limit of nodes for counting the cheapest covers; beyond it the count is a lower bound.
constexpr std::size_t kCountingBudget = 200000;

// The first set row at or after `from`, or rows.size(). libstdc++ has a word-wise search; other
// standard libraries (the web page's libc++) get the plain loop.
std::size_t NextSetRow(const Rows& rows, std::size_t from) {
#if defined(__GLIBCXX__)
  return from == 0 ? rows._Find_first() : rows._Find_next(from - 1);
#else
  while (from < rows.size() && !rows.test(from)) ++from;
  return from;
#endif
}

struct Prime {
  std::uint32_t cube = 0;  // base-3 digits, digit d for column d
  std::size_t literals = 0;
  Rows rows;
};

std::vector<std::uint32_t> PowersOfThree(std::size_t n) {
  std::vector<std::uint32_t> powers{1};
  for (std::size_t d = 0; d < n; ++d) powers.push_back(powers.back() * 3);
  return powers;
}

std::uint32_t Digit(std::uint32_t cube, std::size_t d, const std::vector<std::uint32_t>& powers) {
  return cube / powers[d] % 3;
}

// The rows inside the cube: its fixed bits with every combination of its free ones.
void SetRowsOfCube(Prime& prime, std::size_t n, const std::vector<std::uint32_t>& powers) {
  std::size_t fixed = 0;
  std::size_t free = 0;
  for (std::size_t d = 0; d < n; ++d) {
    const std::uint32_t digit = Digit(prime.cube, d, powers);
    const std::size_t bit = std::size_t{1} << (n - 1 - d);
    if (digit == 2)
      free |= bit;
    else if (digit == 1)
      fixed |= bit;
  }
  // Every subset of the free bits, the empty one last.
  for (std::size_t subset = free;; subset = (subset - 1) & free) {
    prime.rows.set(fixed | subset);
    if (subset == 0) break;
  }
}

std::vector<Prime> PrimeImplicants(const std::vector<bool>& ones, std::size_t n) {
  const std::vector<std::uint32_t> powers = PowersOfThree(n);
  std::vector<bool> implicant(powers[n]);
  for (std::uint32_t cube = 0; cube < powers[n]; ++cube) {
    std::size_t row = 0;
    bool free = false;
    for (std::size_t d = 0; d < n && !free; ++d) {
      const std::uint32_t digit = Digit(cube, d, powers);
      if (digit == 2) {
        implicant[cube] = implicant[cube - 2 * powers[d]] && implicant[cube - powers[d]];
        free = true;
      }
      row |= std::size_t{digit} << (n - 1 - d);
    }
    if (!free) implicant[cube] = ones[row];
  }
  std::vector<Prime> primes;
  for (std::uint32_t cube = 0; cube < powers[n]; ++cube) {
    if (!implicant[cube]) continue;
    Prime prime{cube, 0, {}};
    bool isPrime = true;
    for (std::size_t d = 0; d < n; ++d) {
      const std::uint32_t digit = Digit(cube, d, powers);
      if (digit == 2) continue;
      ++prime.literals;
      if (implicant[cube + (2 - digit) * powers[d]]) isPrime = false;
    }
    if (!isPrime) continue;
    SetRowsOfCube(prime, n, powers);
    primes.push_back(prime);
  }
  return primes;
}

// The primes, cheapest first, and for each row the primes that contain it.
struct CoverProblem {
  CoverProblem(std::vector<Prime> allPrimes, const Rows& oneRows, std::size_t rowCount)
      : primes(std::move(allPrimes)), ones(oneRows), primesOfRow(rowCount) {
    std::stable_sort(primes.begin(), primes.end(), [](const Prime& a, const Prime& b) {
      return a.literals != b.literals ? a.literals < b.literals : a.rows.count() > b.rows.count();
    });
    for (std::size_t p = 0; p < primes.size(); ++p)
      for (std::size_t row = NextSetRow(primes[p].rows, 0); row < rowCount; row = NextSetRow(primes[p].rows, row + 1))
        primesOfRow[row].push_back(p);
  }

  std::vector<Prime> primes;
  Rows ones;
  std::vector<std::vector<std::size_t>> primesOfRow;
};

// One cover of least cost. Each node is first reduced until nothing changes: a row with a
// single prime left takes it; a row that holds every prime of another row is dropped, as
// covering the other covers it; a prime whose open rows lie within another prime's, at no
// fewer literals, is dropped. The search then prunes every branch that cannot be cheaper.
class CheapestCover {
 public:
  struct Node {
    Rows open;
    std::vector<bool> usable;
    std::vector<std::size_t> chosen;
    Cost cost;
  };

  explicit CheapestCover(const CoverProblem& problem, std::size_t budget = kCheapestCoverBudget)
      : problem_(problem), budget_(budget) {}

  /// The start reduced until nothing changes, keeping every prime that some cheapest cover
  /// may hold (a prime goes only for one with fewer literals); nullopt when a row has no prime.
  std::optional<Node> ReducedStart(bool keepAlternatives = true) {
    keepAlternatives_ = keepAlternatives;
    Node start = Start();
    if (!Reduce(start)) return std::nullopt;
    return start;
  }

  void Run() { Visit(Start()); }
  /// Looks for a cover of the least cost, known to be least, without the prime leftOut:
  /// prunes every branch above that cost and stops at the first such cover.
  void RunWithout(std::size_t leftOut, Cost least) {
    Node start = Start();
    start.usable[leftOut] = false;
    ceiling_ = least;
    Visit(std::move(start));
  }

  bool complete() const { return !aborted_; }
  bool found() const { return found_; }
  Cost cost() const { return best_; }
  const std::vector<std::size_t>& cover() const { return cover_; }
  std::size_t nodes() const { return nodes_; }

 private:
  Node Start() const { return {problem_.ones, std::vector<bool>(problem_.primes.size(), true), {}, {0, 0}}; }

  void Visit(Node node) {
    if (aborted_ || (found_ && ceiling_)) return;
    if (++nodes_ > budget_) {
      aborted_ = true;
      return;
    }
    if (!Reduce(node)) return;
    if (node.open.none()) {
      if (!found_ || node.cost < best_) {
        found_ = true;
        best_ = node.cost;
        cover_ = node.chosen;
      }
      return;
    }
    if (found_ || ceiling_) {
      const Cost bound = LowerBound(node);
      if (ceiling_ ? bound > *ceiling_ : bound >= best_) return;
    }
    for (std::size_t p : Candidates(node, BranchRow(node))) {
      Node child = node;
      Take(child, p);
      Visit(std::move(child));
      node.usable[p] = false;
    }
  }

  void Take(Node& node, std::size_t p) const {
    node.open &= ~problem_.primes[p].rows;
    node.chosen.push_back(p);
    node.cost.first += 1;
    node.cost.second += problem_.primes[p].literals;
    node.usable[p] = false;
  }

  std::vector<std::size_t> UsablePrimes(const Node& node, std::size_t row) const {
    std::vector<std::size_t> usable;
    for (std::size_t p : problem_.primesOfRow[row])
      if (node.usable[p]) usable.push_back(p);
    return usable;
  }

  // False when an open row has no prime left.
  bool Reduce(Node& node) const {
    for (bool changed = true; changed;) {
      changed = false;
      if (!TakeEssentialPrimes(node, changed)) return false;
      changed = DropDominatedRows(node) || changed;
      changed = DropDominatedPrimes(node) || changed;
    }
    return true;
  }

  bool TakeEssentialPrimes(Node& node, bool& changed) const {
    for (std::size_t row = 0; row < problem_.primesOfRow.size(); ++row) {
      if (!node.open.test(row)) continue;
      const std::vector<std::size_t> usable = UsablePrimes(node, row);
      if (usable.empty()) return false;
      if (usable.size() == 1) {
        Take(node, usable.front());
        changed = true;
      }
    }
    return true;
  }

  // A row is dropped when another open row's primes are all among its own (of two rows with
  // the same primes the later one goes).
  bool DropDominatedRows(Node& node) const {
    bool changed = false;
    for (std::size_t row = 0; row < problem_.primesOfRow.size(); ++row) {
      if (!node.open.test(row)) continue;
      const std::vector<std::size_t> usable = UsablePrimes(node, row);
      if (usable.empty()) continue;
      const Rows candidates = problem_.primes[usable.front()].rows & node.open;
      for (std::size_t other = NextSetRow(candidates, 0); other < candidates.size();
           other = NextSetRow(candidates, other + 1)) {
        if (other == row) continue;
        const bool holdsAll = std::all_of(usable.begin(), usable.end(),
                                          [&](std::size_t p) { return problem_.primes[p].rows.test(other); });
        if (!holdsAll) continue;
        if (other < row && UsablePrimes(node, other).size() == usable.size()) continue;
        node.open.reset(other);
        changed = true;
      }
    }
    return changed;
  }

  // A prime is dropped when another usable prime covers all its open rows with no more
  // literals (of two equal ones the later one goes), or when it covers no open row.
  bool DropDominatedPrimes(Node& node) const {
    bool changed = false;
    for (std::size_t p = 0; p < problem_.primes.size(); ++p) {
      if (!node.usable[p]) continue;
      const Rows within = problem_.primes[p].rows & node.open;
      const std::size_t row = NextSetRow(within, 0);
      if (row == within.size() || DominatedBySome(node, p, within, row)) {
        node.usable[p] = false;
        changed = true;
      }
    }
    return changed;
  }

  bool DominatedBySome(const Node& node, std::size_t p, const Rows& within, std::size_t row) const {
    const Prime& prime = problem_.primes[p];
    for (std::size_t q : problem_.primesOfRow[row]) {
      if (q == p || !node.usable[q]) continue;
      const Prime& other = problem_.primes[q];
      if (other.literals > prime.literals || (within & ~other.rows).any()) continue;
      if (keepAlternatives_ && other.literals == prime.literals) continue;
      const bool equal = other.literals == prime.literals && (other.rows & node.open) == within;
      if (!equal || q < p) return true;
    }
    return false;
  }

  // Terms and literals still needed at least, from a feasible solution of the dual problem:
  // weights on the open rows such that the rows of each usable prime weigh at most one in
  // total (at most its literals, for literals); every cover then costs at least the total
  // weight. Weights are raised greedily, rows with fewest primes first, once starting from
  // nothing (which gives rows that pairwise share no prime) and once from an even share.
  Cost LowerBound(const Node& node) const {
    std::vector<std::pair<std::size_t, std::size_t>> order;  // usable primes, row
    for (std::size_t row = 0; row < problem_.primesOfRow.size(); ++row)
      if (node.open.test(row)) order.emplace_back(UsablePrimes(node, row).size(), row);
    std::sort(order.begin(), order.end());
    std::vector<std::size_t> rows;
    for (const auto& entry : order) rows.push_back(entry.second);
    std::vector<std::size_t> share(problem_.primes.size(), 0);
    for (std::size_t p = 0; p < problem_.primes.size(); ++p)
      if (node.usable[p]) share[p] = (problem_.primes[p].rows & node.open).count();
    double terms = 0;
    double literals = 0;
    for (bool evenStart : {false, true}) {
      terms = std::max(terms, DualWeight(node, rows, share, false, evenStart));
      literals = std::max(literals, DualWeight(node, rows, share, true, evenStart));
    }
    return {node.cost.first + RoundedUp(terms), node.cost.second + RoundedUp(literals)};
  }

  static std::size_t RoundedUp(double weight) { return static_cast<std::size_t>(std::ceil(weight - 1e-6)); }

  double DualWeight(const Node& node, const std::vector<std::size_t>& rows,
                    const std::vector<std::size_t>& share, bool byLiterals, bool evenStart) const {
    std::vector<double> slack(problem_.primes.size(), 0);
    for (std::size_t p = 0; p < problem_.primes.size(); ++p)
      if (node.usable[p]) slack[p] = byLiterals ? static_cast<double>(problem_.primes[p].literals) : 1.0;
    std::vector<double> weight(rows.size(), 0);
    if (evenStart) {
      for (std::size_t i = 0; i < rows.size(); ++i) {
        weight[i] = SIZE_MAX;
        for (std::size_t p : problem_.primesOfRow[rows[i]])
          if (node.usable[p]) weight[i] = std::min(weight[i], slack[p] / static_cast<double>(share[p]));
      }
      for (std::size_t i = 0; i < rows.size(); ++i) Lower(node, rows[i], weight[i], slack);
    }
    double total = 0;
    for (std::size_t i = 0; i < rows.size(); ++i) {
      double extra = SIZE_MAX;
      for (std::size_t p : problem_.primesOfRow[rows[i]])
        if (node.usable[p]) extra = std::min(extra, slack[p]);
      Lower(node, rows[i], extra, slack);
      total += weight[i] + extra;
    }
    return total;
  }

  void Lower(const Node& node, std::size_t row, double weight, std::vector<double>& slack) const {
    for (std::size_t p : problem_.primesOfRow[row])
      if (node.usable[p]) slack[p] = std::max(0.0, slack[p] - weight);
  }

  std::size_t BranchRow(const Node& node) const {
    std::size_t bestRow = 0;
    std::size_t fewest = SIZE_MAX;
    for (std::size_t row = 0; row < problem_.primesOfRow.size(); ++row) {
      if (!node.open.test(row)) continue;
      const std::size_t left = UsablePrimes(node, row).size();
      if (left < fewest) {
        fewest = left;
        bestRow = row;
      }
    }
    return bestRow;
  }

  // The row's usable primes, shortest first, then those covering most open rows.
  std::vector<std::size_t> Candidates(const Node& node, std::size_t row) const {
    std::vector<std::size_t> candidates = UsablePrimes(node, row);
    std::stable_sort(candidates.begin(), candidates.end(), [&](std::size_t a, std::size_t b) {
      const Prime& x = problem_.primes[a];
      const Prime& y = problem_.primes[b];
      if (x.literals != y.literals) return x.literals < y.literals;
      return (x.rows & node.open).count() > (y.rows & node.open).count();
    });
    return candidates;
  }

  const CoverProblem& problem_;
  std::size_t budget_;
  std::optional<Cost> ceiling_;
  bool keepAlternatives_ = false;
  bool found_ = false;
  bool aborted_ = false;
  Cost best_{0, 0};
  std::vector<std::size_t> cover_;
  std::size_t nodes_ = 0;
};

// Another cover of cost best besides first: every other one leaves out some prime of first.
// The runs share one budget; decided is false when it ran out before the answer.
struct OtherCover {
  bool decided = true;
  std::vector<std::size_t> cover;  // empty when there is none
};

OtherCover OtherCheapestCover(const CoverProblem& problem, const std::vector<std::size_t>& first, Cost best) {
  std::size_t budget = kCheapestCoverBudget;
  for (std::size_t leftOut : first) {
    CheapestCover search(problem, budget);
    search.RunWithout(leftOut, best);
    if (!search.complete()) return {false, {}};
    if (search.found()) return {true, search.cover()};
    budget -= search.nodes();
  }
  return {};
}

struct CoverResult {
  bool complete = true;
  Cost cost{0, 0};
  std::vector<std::size_t> cover;
};

CoverResult SearchedCheapestCover(const CoverProblem& problem) {
  CheapestCover search(problem);
  search.Run();
  return {search.complete(), search.cost(), search.cover()};
}

Cost CostOf(const CoverProblem& problem, const std::vector<std::size_t>& primes) {
  Cost cost{primes.size(), 0};
  for (std::size_t p : primes) cost.second += problem.primes[p].literals;
  return cost;
}

// The independent parts of a reduced problem: its open rows, joined where they share a usable
// prime, with their primes; ascending.
struct Part {
  std::vector<std::size_t> rows;
  std::vector<std::size_t> primes;
};

std::vector<Part> IndependentParts(const CoverProblem& problem, const CheapestCover::Node& node) {
  std::vector<bool> primeSeen(problem.primes.size(), false);
  Rows seen;
  std::vector<Part> parts;
  for (std::size_t row = NextSetRow(node.open, 0); row < node.open.size(); row = NextSetRow(node.open, row + 1)) {
    if (seen.test(row)) continue;
    Part part;
    std::vector<std::size_t> waiting{row};
    seen.set(row);
    while (!waiting.empty()) {
      const std::size_t next = waiting.back();
      waiting.pop_back();
      part.rows.push_back(next);
      for (std::size_t p : problem.primesOfRow[next]) {
        if (!node.usable[p] || primeSeen[p]) continue;
        primeSeen[p] = true;
        part.primes.push_back(p);
        const Rows reached = problem.primes[p].rows & node.open & ~seen;
        seen |= reached;
        for (std::size_t r = NextSetRow(reached, 0); r < reached.size(); r = NextSetRow(reached, r + 1))
          waiting.push_back(r);
      }
    }
    std::sort(part.rows.begin(), part.rows.end());
    std::sort(part.primes.begin(), part.primes.end());
    parts.push_back(std::move(part));
  }
  return parts;
}

// The part as the solver takes it: rows and primes numbered within the part.
CoverPart SolverProblem(const CoverProblem& problem, const Part& part, const Rows& open) {
  std::vector<std::uint32_t> local(problem.primesOfRow.size(), 0);
  for (std::size_t k = 0; k < part.rows.size(); ++k) local[part.rows[k]] = static_cast<std::uint32_t>(k);
  CoverPart solverPart{part.rows.size(), {}, {}, {}};
  for (std::size_t p : part.primes) {
    const Rows rows = problem.primes[p].rows & open;
    std::vector<std::uint32_t> own;
    for (std::size_t r = NextSetRow(rows, 0); r < rows.size(); r = NextSetRow(rows, r + 1)) own.push_back(local[r]);
    solverPart.rowsOfPrime.push_back(std::move(own));
    solverPart.literals.push_back(problem.primes[p].literals);
  }
  return solverPart;
}

// One cheapest cover from the solver: the reductions first, then each independent part on its
// own. Incomplete when the solver fails on a part.
CoverResult SolvedCheapestCover(const CoverProblem& problem) {
  CheapestCover reducer(problem);
  const std::optional<CheapestCover::Node> start = reducer.ReducedStart(false);
  if (!start) return {false, {}, {}};
  CoverResult result{true, start->cost, start->chosen};
  for (const Part& part : IndependentParts(problem, *start)) {
    const CoverSolution solution = SolveCover(SolverProblem(problem, part, start->open));
    if (solution.status != CoverSolution::Status::Optimal) return {false, {}, {}};
    for (std::size_t k : solution.chosen) result.cover.push_back(part.primes[k]);
  }
  result.cost = CostOf(problem, result.cover);
  return result;
}

// Another cheapest cover besides first, from the solver. The reductions keep every prime that
// a cheapest cover may hold, and the primes they take are in every one; so another cover
// differs from first in some part, where the solver looks for a cover no dearer than first's
// primes there but not all of them.
OtherCover SolvedOtherCover(const CoverProblem& problem, const std::vector<std::size_t>& first) {
  CheapestCover reducer(problem);
  const std::optional<CheapestCover::Node> start = reducer.ReducedStart();
  if (!start) return {false, {}};
  for (const Part& part : IndependentParts(problem, *start)) {
    CoverPart solverPart = SolverProblem(problem, part, start->open);
    std::vector<std::size_t> own;
    for (std::size_t k = 0; k < part.primes.size(); ++k)
      if (std::find(first.begin(), first.end(), part.primes[k]) != first.end()) {
        solverPart.notAllOf.push_back(k);
        own.push_back(part.primes[k]);
      }
    if (own.empty()) return {false, {}};
    const Cost ownCost = CostOf(problem, own);
    const CoverSolution solution = FindCoverWithin(solverPart, ownCost.first, ownCost.second);
    if (solution.status == CoverSolution::Status::Failed) return {false, {}};
    if (solution.status == CoverSolution::Status::Infeasible) continue;
    std::vector<std::size_t> other;
    for (std::size_t k : solution.chosen) other.push_back(part.primes[k]);
    // Cheaper than first's own primes would contradict first being a cheapest cover.
    if (CostOf(problem, other) != ownCost) return {false, {}};
    for (std::size_t p : first)
      if (!std::binary_search(part.primes.begin(), part.primes.end(), p)) other.push_back(p);
    return {true, other};
  }
  return {};
}

// All covers of a known least cost, counted up to kCountedMinimalForms; the first
// kShownMinimalForms are kept.
class CoverSearch {
 public:
  explicit CoverSearch(const CoverProblem& problem)
      : primes_(problem.primes), ones_(problem.ones), primesOfRow_(problem.primesOfRow) {
    excluded_.assign(primes_.size(), false);
  }

  void Run(Cost best) {
    found_ = true;
    best_ = best;
    Visit(Rows(), {0, 0});
  }

  std::size_t count() const { return count_; }
  /// True when the search stopped before it had seen every cover of the least cost.
  bool cut() const { return aborted_ || cutAtEnough_; }
  const std::vector<std::vector<std::size_t>>& solutions() const { return solutions_; }

 private:
  void Visit(const Rows& covered, Cost cost) {
    if (aborted_ || ++nodes_ > kCountingBudget) {
      aborted_ = true;
      return;
    }
    const Rows uncovered = ones_ & ~covered;
    if (uncovered.none()) return Record(cost);
    const std::size_t bound = IndependentRows(uncovered);
    const Cost lowest{cost.first + bound, cost.second + bound};
    if (found_ && lowest > best_) return;
    if (found_ && lowest == best_ && count_ >= kCountedMinimalForms) {
      cutAtEnough_ = true;
      return;
    }
    const std::size_t row = BranchRow(uncovered);
    std::vector<std::size_t> tried;
    for (std::size_t p : primesOfRow_[row]) {
      if (excluded_[p]) continue;
      chosen_.push_back(p);
      Visit(covered | primes_[p].rows, {cost.first + 1, cost.second + primes_[p].literals});
      chosen_.pop_back();
      excluded_[p] = true;
      tried.push_back(p);
    }
    for (std::size_t p : tried) excluded_[p] = false;
  }

  void Record(Cost cost) {
    if (found_ && cost > best_) return;
    if (!found_ || cost < best_) {
      found_ = true;
      best_ = cost;
      count_ = 0;
      solutions_.clear();
    }
    ++count_;
    if (solutions_.size() < kShownMinimalForms) solutions_.push_back(chosen_);
  }

  // Rows that pairwise share no prime that is left: each needs a prime of its own.
  std::size_t IndependentRows(const Rows& uncovered) const {
    Rows blocked;
    std::size_t count = 0;
    for (std::size_t row = 0; row < primesOfRow_.size(); ++row) {
      if (!uncovered.test(row) || blocked.test(row)) continue;
      ++count;
      for (std::size_t p : primesOfRow_[row])
        if (!excluded_[p]) blocked |= primes_[p].rows;
    }
    return count;
  }

  std::size_t BranchRow(const Rows& uncovered) const {
    std::size_t bestRow = 0;
    std::size_t fewest = SIZE_MAX;
    for (std::size_t row = 0; row < primesOfRow_.size(); ++row) {
      if (!uncovered.test(row)) continue;
      const auto left =
          static_cast<std::size_t>(std::count_if(primesOfRow_[row].begin(), primesOfRow_[row].end(),
                                                 [this](std::size_t p) { return !excluded_[p]; }));
      if (left < fewest) {
        fewest = left;
        bestRow = row;
      }
    }
    return bestRow;
  }

  const std::vector<Prime>& primes_;
  const Rows& ones_;
  const std::vector<std::vector<std::size_t>>& primesOfRow_;
  std::vector<bool> excluded_;
  std::vector<std::size_t> chosen_;
  std::vector<std::vector<std::size_t>> solutions_;
  bool found_ = false;
  bool aborted_ = false;
  bool cutAtEnough_ = false;
  Cost best_{0, 0};
  std::size_t count_ = 0;
  std::size_t nodes_ = 0;
};

Term TermOfCube(std::uint32_t cube, const std::vector<std::int16_t>& variables, bool dual) {
  Term term;
  std::uint32_t rest = cube;
  for (std::int16_t variable : variables) {
    const std::uint32_t digit = rest % 3;
    rest /= 3;
    if (digit != 2) term.AddLiteral({variable, (digit == 0) != dual});
  }
  return term;
}

// Terms as on paper: by their literals' variables, a positive literal before its negation.
bool LiteralOrder(const Term& a, const Term& b) {
  return std::lexicographical_compare(a.literals.begin(), a.literals.end(), b.literals.begin(),
                                      b.literals.end(), [](const Literal& x, const Literal& y) {
                                        return x.index != y.index ? x.index < y.index : x.negated < y.negated;
                                      });
}

}  // namespace

MinimalForms Minimise(const TruthTable& table, NormalFormKind kind) {
  const std::size_t n = table.variables.size();
  if (n > kMostMinimalFormVariables) throw std::invalid_argument("Minimise: zu viele Variablen");
  // A conjunctive form is minimised as the disjunctive form of the negation.
  const bool dual = kind == NormalFormKind::Kon;
  std::vector<bool> ones(table.values.size());
  Rows oneRows;
  for (std::size_t row = 0; row < ones.size(); ++row) {
    ones[row] = table.values[row] != dual;
    if (ones[row]) oneRows.set(row);
  }
  const CoverProblem problem(PrimeImplicants(ones, n), oneRows, ones.size());
  const bool solver = CoverSolverLinked();
  const CoverResult cheapest = solver ? SolvedCheapestCover(problem) : SearchedCheapestCover(problem);
  MinimalForms result;
  result.complete = cheapest.complete;
  if (!result.complete) return result;
  CoverSearch search(problem);
  search.Run(cheapest.cost);
  // When counting stopped early, the cheapest cover found first still stands for them all.
  std::vector<std::vector<std::size_t>> solutions = search.solutions();
  if (solutions.empty()) solutions.push_back(cheapest.cover);
  result.count = std::max(search.count(), solutions.size());
  result.countCapped = search.cut();
  if (result.countCapped && solutions.size() == 1) {
    const OtherCover other = solver ? SolvedOtherCover(problem, solutions.front())
                                    : OtherCheapestCover(problem, solutions.front(), cheapest.cost);
    if (!other.cover.empty()) {
      solutions.push_back(other.cover);
      result.count = 2;
    } else {
      result.countCapped = !other.decided;
    }
  }
  for (const std::vector<std::size_t>& solution : solutions) {
    TermList form{kind, {}};
    for (std::size_t p : solution)
      form.terms.push_back(TermOfCube(problem.primes[p].cube, table.variables, dual));
    std::sort(form.terms.begin(), form.terms.end(), LiteralOrder);
    result.shown.push_back(std::move(form));
  }
  return result;
}

}  // namespace umbrix
