// Exact two-level minimisation in two parts.
//
// Prime implicants: a cube fixes some variables and leaves the others free; written in base
// 3 (digit 0 negated, 1 positive, 2 free) every cube with a free variable is the union of two
// cubes with smaller numbers, so one pass in numeric order finds all implicants, and a prime
// is an implicant that no freeing of one more variable keeps an implicant.
//
// Cover: branch and bound over the rows that are still uncovered, always on the row with the
// fewest primes left. Each branch takes one of them and excludes the ones tried before it, so
// that every set of primes is reached at most once and equal-cost covers can be counted. The
// bound is a set of uncovered rows no two of which share a prime. A minimal conjunctive form
// is the dual of a minimal disjunctive form of the negated function.
#include "boolean_function/minimal_form.hpp"

#include <algorithm>
#include <bitset>
#include <cstdint>
#include <stdexcept>
#include <utility>

namespace umbrix {

namespace {

using Rows = std::bitset<std::size_t{1} << kMostTableVariables>;
using Cost = std::pair<std::size_t, std::size_t>;  // terms, literals

// Upper limit of search nodes; beyond it the result is reported as not found.
constexpr std::size_t kSearchBudget = 200000;

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
    for (std::size_t row = 0; row < ones.size(); ++row) {
      bool inside = true;
      for (std::size_t d = 0; d < n && inside; ++d) {
        const std::uint32_t digit = Digit(cube, d, powers);
        inside = digit == 2 || digit == ((row >> (n - 1 - d)) & 1U);
      }
      if (inside) prime.rows.set(row);
    }
    primes.push_back(prime);
  }
  return primes;
}

class CoverSearch {
 public:
  CoverSearch(std::vector<Prime> primes, const Rows& ones) : primes_(std::move(primes)), ones_(ones) {
    std::stable_sort(primes_.begin(), primes_.end(), [](const Prime& a, const Prime& b) {
      return a.literals != b.literals ? a.literals < b.literals : a.rows.count() > b.rows.count();
    });
    excluded_.assign(primes_.size(), false);
    primesOfRow_.resize(ones.size());
    for (std::size_t p = 0; p < primes_.size(); ++p)
      for (std::size_t row = 0; row < ones.size(); ++row)
        if (primes_[p].rows.test(row)) primesOfRow_[row].push_back(p);
  }

  void Run() { Visit(Rows(), {0, 0}); }

  bool complete() const { return !aborted_; }
  std::size_t count() const { return count_; }
  bool countCapped() const { return count_ >= kCountedMinimalForms; }
  const std::vector<std::vector<std::size_t>>& solutions() const { return solutions_; }
  const Prime& prime(std::size_t p) const { return primes_[p]; }

 private:
  void Visit(const Rows& covered, Cost cost) {
    if (aborted_ || ++nodes_ > kSearchBudget) {
      aborted_ = true;
      return;
    }
    const Rows uncovered = ones_ & ~covered;
    if (uncovered.none()) return Record(cost);
    const std::size_t bound = IndependentRows(uncovered);
    const Cost lowest{cost.first + bound, cost.second + bound};
    if (found_ && (lowest > best_ || (lowest == best_ && countCapped()))) return;
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
    for (std::size_t row = 0; row < ones_.size(); ++row) {
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
    for (std::size_t row = 0; row < ones_.size(); ++row) {
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

  std::vector<Prime> primes_;
  Rows ones_;
  std::vector<std::vector<std::size_t>> primesOfRow_;
  std::vector<bool> excluded_;
  std::vector<std::size_t> chosen_;
  std::vector<std::vector<std::size_t>> solutions_;
  bool found_ = false;
  bool aborted_ = false;
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
  if (n > kMostTableVariables) throw std::invalid_argument("Minimise: zu viele Variablen");
  // A conjunctive form is minimised as the disjunctive form of the negation.
  const bool dual = kind == NormalFormKind::Kon;
  std::vector<bool> ones(table.values.size());
  Rows oneRows;
  for (std::size_t row = 0; row < ones.size(); ++row) {
    ones[row] = table.values[row] != dual;
    if (ones[row]) oneRows.set(row);
  }
  CoverSearch search(PrimeImplicants(ones, n), oneRows);
  search.Run();
  MinimalForms result;
  result.complete = search.complete();
  if (!result.complete) return result;
  result.count = search.count();
  result.countCapped = search.countCapped();
  for (const std::vector<std::size_t>& solution : search.solutions()) {
    TermList form{kind, {}};
    for (std::size_t p : solution)
      form.terms.push_back(TermOfCube(search.prime(p).cube, table.variables, dual));
    std::sort(form.terms.begin(), form.terms.end(), LiteralOrder);
    result.shown.push_back(std::move(form));
  }
  return result;
}

}  // namespace umbrix
