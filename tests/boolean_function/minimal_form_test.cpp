// Minimal and canonical forms against brute force: every function of up to three variables,
// and random functions of up to six; how many minimal forms there are, and when that count
// is only a lower bound.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <optional>
#include <random>
#include <set>
#include <string>
#include <tuple>
#include <utility>

#include "boolean_function/cover_solver.hpp"
#include "boolean_function/minimal_form.hpp"
#include "function_support.hpp"

namespace umbrix {
namespace {

using Cost = std::pair<std::size_t, std::size_t>;  // terms, literals

struct Cube {
  std::vector<bool> rows;  // the rows it covers
  std::size_t literals = 0;
};

// Every cube over n variables that implies the function (covers no row outside ones).
std::vector<Cube> Implicants(const std::vector<bool>& ones, std::size_t n) {
  std::vector<Cube> cubes;
  std::size_t all = 1;
  for (std::size_t i = 0; i < n; ++i) all *= 3;
  for (std::size_t code = 0; code < all; ++code) {
    Cube cube{std::vector<bool>(ones.size()), 0};
    bool implies = true;
    for (std::size_t row = 0; row < ones.size(); ++row) {
      std::size_t rest = code;
      bool inside = true;
      for (std::size_t d = 0; d < n; ++d, rest /= 3)
        inside = inside && (rest % 3 == 2 || rest % 3 == ((row >> (n - 1 - d)) & 1U));
      cube.rows[row] = inside;
      implies = implies && (!inside || ones[row]);
    }
    if (!implies) continue;
    for (std::size_t rest = code, d = 0; d < n; ++d, rest /= 3) cube.literals += rest % 3 != 2;
    cubes.push_back(cube);
  }
  return cubes;
}

// The cheapest cost and the number of cheapest sets of implicants that cover the ones, by
// trying all sets of one size after the other.
std::pair<Cost, std::size_t> BruteForceMinimum(const std::vector<bool>& ones, std::size_t n) {
  const std::vector<Cube> cubes = Implicants(ones, n);
  for (std::size_t size = 0;; ++size) {
    Cost best{size, SIZE_MAX};
    std::size_t count = 0;
    std::vector<bool> pick(cubes.size());
    std::fill(pick.end() - static_cast<std::ptrdiff_t>(size), pick.end(), true);
    do {
      std::vector<bool> covered(ones.size());
      std::size_t literals = 0;
      for (std::size_t c = 0; c < cubes.size(); ++c) {
        if (!pick[c]) continue;
        literals += cubes[c].literals;
        for (std::size_t row = 0; row < ones.size(); ++row) covered[row] = covered[row] || cubes[c].rows[row];
      }
      if (covered != ones) continue;
      if (literals < best.second) best.second = literals, count = 0;
      count += literals == best.second;
    } while (std::next_permutation(pick.begin(), pick.end()));
    if (count > 0) return {best, count};
  }
}

// The cheapest cover of up to 16 ones by dynamic programming over the subsets of ones.
Cost DynamicMinimum(const std::vector<bool>& ones, std::size_t n) {
  std::vector<std::size_t> oneRows;
  for (std::size_t row = 0; row < ones.size(); ++row)
    if (ones[row]) oneRows.push_back(row);
  std::vector<std::pair<std::uint32_t, std::size_t>> covers;  // subset of oneRows, literals
  for (const Cube& cube : Implicants(ones, n)) {
    std::uint32_t mask = 0;
    for (std::size_t k = 0; k < oneRows.size(); ++k)
      if (cube.rows[oneRows[k]]) mask |= 1U << k;
    covers.emplace_back(mask, cube.literals);
  }
  const std::uint32_t full = (1U << oneRows.size()) - 1;
  std::vector<Cost> best(full + 1, Cost{SIZE_MAX, SIZE_MAX});
  best[0] = {0, 0};
  for (std::uint32_t set = 1; set <= full; ++set) {
    const std::uint32_t lowest = set & (~set + 1);
    for (const auto& [mask, literals] : covers) {
      if (!(mask & lowest)) continue;
      const Cost rest = best[set & ~mask];
      best[set] = std::min(best[set], Cost{rest.first + 1, rest.second + literals});
    }
  }
  return best[full];
}

Cost CostOf(const TermList& form) {
  Cost cost{form.terms.size(), 0};
  for (const Term& term : form.terms) cost.second += term.Size();
  return cost;
}

void ExpectMinimal(const TruthTable& table, NormalFormKind kind, Cost expected, std::size_t expectedCount) {
  const MinimalForms forms = Minimise(table, kind);
  ASSERT_TRUE(forms.complete);
  ASSERT_FALSE(forms.shown.empty());
  if (expectedCount > 0) {
    EXPECT_EQ(forms.count, expectedCount);
  }
  EXPECT_EQ(forms.shown.size(), std::min(forms.count, kShownMinimalForms));
  for (const TermList& form : forms.shown) {
    SCOPED_TRACE(form.FormelText());
    EXPECT_EQ(CostOf(form), expected);
    EXPECT_EQ(test::ValuesOf(form, table), table.values);
  }
}

// No literal can be left out of a term without changing the function.
void ExpectPrimeTerms(const TermList& form, const std::vector<bool>& values, const TruthTable& shape) {
  for (std::size_t t = 0; t < form.terms.size(); ++t)
    for (std::size_t left = 0; left < form.terms[t].literals.size(); ++left) {
      TermList wider = form;
      wider.terms[t] = Term();
      for (std::size_t i = 0; i < form.terms[t].literals.size(); ++i)
        if (i != left) wider.terms[t].AddLiteral(form.terms[t].literals[i]);
      EXPECT_NE(test::ValuesOf(wider, shape), values) << wider.FormelText();
    }
}

std::vector<bool> Negated(std::vector<bool> values) {
  values.flip();
  return values;
}

TEST(MinimalForm, EveryFunctionOfUpToThreeVariables) {
  for (std::size_t n = 0; n <= 3; ++n) {
    const std::size_t rows = std::size_t{1} << n;
    for (std::size_t f = 0; f < (std::size_t{1} << rows); ++f) {
      std::vector<bool> values(rows);
      for (std::size_t row = 0; row < rows; ++row) values[row] = (f >> row) & 1U;
      const TruthTable table = test::Table(n, values);
      SCOPED_TRACE("n=" + std::to_string(n) + " f=" + std::to_string(f));
      const auto [dis, disCount] = BruteForceMinimum(values, n);
      ExpectMinimal(table, NormalFormKind::Dis, dis, disCount);
      const auto [kon, konCount] = BruteForceMinimum(Negated(values), n);
      ExpectMinimal(table, NormalFormKind::Kon, kon, konCount);
      for (NormalFormKind kind : {NormalFormKind::Dis, NormalFormKind::Kon}) {
        const TermList canonical = CanonicalForm(table, kind);
        EXPECT_EQ(test::ValuesOf(canonical, table), values);
        for (const Term& term : canonical.terms) EXPECT_EQ(term.Size(), n);
        EXPECT_EQ(MakeTruthTable(canonical, table.variables).values, values);
      }
    }
  }
}

TEST(MinimalForm, RandomFunctionsOfUpToSixVariables) {
  std::mt19937 random(6);
  for (int round = 0; round < 60; ++round) {
    const std::size_t n = 4 + round % 3;
    std::vector<bool> sparse(std::size_t{1} << n);
    for (int k = 0; k < 16; ++k) sparse[random() % sparse.size()] = true;
    SCOPED_TRACE("n=" + std::to_string(n) + " round " + std::to_string(round));
    const Cost expected = DynamicMinimum(sparse, n);
    ExpectMinimal(test::Table(n, sparse), NormalFormKind::Dis, expected, 0);
    ExpectMinimal(test::Table(n, Negated(sparse)), NormalFormKind::Kon, expected, 0);
  }
}

TEST(MinimalForm, TenVariablesAndTheConsensusTerm) {
  // (X1+X2) v (-X1+X3) v (X2+X3): the last term is the consensus of the first two.
  TruthTable table = test::Table(3, std::vector<bool>(8));
  for (std::size_t row = 0; row < 8; ++row)
    table.values[row] = (table.Bit(row, 0) && table.Bit(row, 1)) || (!table.Bit(row, 0) && table.Bit(row, 2));
  const MinimalForms forms = Minimise(table, NormalFormKind::Dis);
  EXPECT_EQ(forms.count, 1U);
  EXPECT_EQ(forms.shown.at(0).FormelText(), "((X1;+X2;)v(-X1;+X3;))");
  // Parity of ten variables: 512 essential primes of ten literals each.
  TruthTable parity = test::Table(10, std::vector<bool>(1024));
  for (std::size_t row = 0; row < 1024; ++row) parity.values[row] = __builtin_popcount(row) % 2;
  const MinimalForms parityForms = Minimise(parity, NormalFormKind::Kon);
  ASSERT_TRUE(parityForms.complete);
  EXPECT_EQ(CostOf(parityForms.shown.at(0)), (Cost{512, 5120}));
  // Random functions of seven to ten variables: every form shown is the function, of primes.
  std::mt19937 random(10);
  for (std::size_t n = 7; n <= 10; ++n) {
    std::vector<bool> values(std::size_t{1} << n);
    for (int k = 0; k < 40; ++k) values[random() % values.size()] = true;
    SCOPED_TRACE("n=" + std::to_string(n));
    for (const auto& [kind, function] :
         {std::pair{NormalFormKind::Dis, values}, {NormalFormKind::Kon, Negated(values)}}) {
      const TruthTable table = test::Table(n, function);
      const MinimalForms forms = Minimise(table, kind);
      ASSERT_TRUE(forms.complete);
      ASSERT_FALSE(forms.shown.empty());
      for (const TermList& form : forms.shown) {
        EXPECT_EQ(test::ValuesOf(form, table), function);
        ExpectPrimeTerms(form, function, table);
      }
    }
  }
}

// A random function of n variables that is not constant.
std::vector<bool> RandomNonConstant(std::size_t n, std::mt19937& random) {
  std::vector<bool> values(std::size_t{1} << n);
  while (std::count(values.begin(), values.end(), true) % static_cast<std::ptrdiff_t>(values.size()) == 0)
    for (std::size_t row = 0; row < values.size(); ++row) values[row] = random() % 2 == 1;
  return values;
}

// Functions of nine and ten variables joined from non-constant pieces on disjoint variables:
// the primes of a disjunction of such pieces are the pieces' primes, so its cheapest
// disjunctive form costs what the pieces' cheapest forms cost together; for a conjunction
// the same holds for the conjunctive forms. The pieces' costs come from trying every set of
// implicants.
TEST(MinimalForm, NineAndTenVariablesFromPiecesOnDisjointVariables) {
  const std::vector<std::vector<std::size_t>> splits = {{3, 3, 3}, {2, 3, 2, 3}, {3, 3, 3}, {3, 2, 3, 2}};
  std::mt19937 random(912);
  for (std::size_t round = 0; round < splits.size(); ++round) {
    const std::vector<std::size_t>& sizes = splits[round];
    std::size_t n = 0;
    for (std::size_t size : sizes) n += size;
    SCOPED_TRACE("round " + std::to_string(round) + " n=" + std::to_string(n));
    std::vector<std::vector<bool>> pieces;
    Cost dis{0, 0};
    Cost kon{0, 0};
    for (std::size_t size : sizes) {
      pieces.push_back(RandomNonConstant(size, random));
      const Cost pieceDis = BruteForceMinimum(pieces.back(), size).first;
      const Cost pieceKon = BruteForceMinimum(Negated(pieces.back()), size).first;
      dis = {dis.first + pieceDis.first, dis.second + pieceDis.second};
      kon = {kon.first + pieceKon.first, kon.second + pieceKon.second};
    }
    std::vector<bool> any(std::size_t{1} << n);
    std::vector<bool> all(std::size_t{1} << n);
    for (std::size_t row = 0; row < any.size(); ++row) {
      std::size_t shift = n;
      bool some = false;
      bool every = true;
      for (std::size_t k = 0; k < sizes.size(); ++k) {
        shift -= sizes[k];
        const bool value = pieces[k][(row >> shift) & ((std::size_t{1} << sizes[k]) - 1)];
        some = some || value;
        every = every && value;
      }
      any[row] = some;
      all[row] = every;
    }
    for (const auto& [kind, values, expected] :
         {std::tuple{NormalFormKind::Dis, any, dis}, std::tuple{NormalFormKind::Kon, all, kon}}) {
      SCOPED_TRACE(kind == NormalFormKind::Dis ? "disjunctive" : "conjunctive");
      const TruthTable table = test::Table(n, values);
      ExpectMinimal(table, kind, expected, 0);
      const MinimalForms forms = Minimise(table, kind);
      ASSERT_FALSE(forms.shown.empty());
      ExpectPrimeTerms(forms.shown.front(), values, table);
    }
  }
}

// Every term is needed: leaving any one out changes the function.
void ExpectIrredundant(const TermList& form, const std::vector<bool>& values, const TruthTable& shape) {
  for (std::size_t t = 0; t < form.terms.size(); ++t) {
    TermList fewer = form;
    fewer.terms.erase(fewer.terms.begin() + static_cast<std::ptrdiff_t>(t));
    EXPECT_NE(test::ValuesOf(fewer, shape), values) << "Term " << t << " entbehrlich";
  }
}

// A dense function of nine variables (nine in ten rows true): its covering problem has more
// than 400 rows and a cheapest cover some terms above the linear relaxation, so the solver's
// quick round leaves it open and the thorough one settles it.
TEST(MinimalForm, DenseNineVariableFunctionIsSolvedExactly) {
  if (!CoverSolverLinked()) GTEST_SKIP() << "no solver library in this build";
  std::mt19937 random(7);
  std::vector<bool> values(512);
  for (std::size_t row = 0; row < values.size(); ++row) values[row] = random() % 10 != 0;
  const TruthTable table = test::Table(9, values);
  const MinimalForms forms = Minimise(table, NormalFormKind::Dis);
  ASSERT_TRUE(forms.complete);
  ASSERT_FALSE(forms.shown.empty());
  for (const TermList& form : forms.shown) {
    EXPECT_EQ(test::ValuesOf(form, table), values);
    ExpectPrimeTerms(form, values, table);
    ExpectIrredundant(form, values, table);
    EXPECT_EQ(CostOf(form), CostOf(forms.shown.front()));
  }
}

using Terms = std::vector<std::vector<int>>;  // variable numbers, negative when negated

TermList Disjunction(const Terms& terms) {
  TermList form{NormalFormKind::Dis, {}};
  for (const std::vector<int>& literals : terms) {
    Term term;
    for (int v : literals) term.AddLiteral({static_cast<std::int16_t>(std::abs(v)), v < 0});
    form.terms.push_back(term);
  }
  return form;
}

// The terms over variables renumbered by offset, after the terms of first.
Terms Joined(Terms first, const Terms& terms, int offset) {
  for (std::vector<int> literals : terms) {
    for (int& v : literals) v += v < 0 ? -offset : offset;
    first.push_back(literals);
  }
  return first;
}

TEST(MinimalForm, CountIsExactUnlessCountingWasCut) {
  // 32 and 2 minimal forms; on disjoint variables the counts of a disjunction multiply.
  const Terms many = {{1, 2, 4}, {1, 3, -4}, {1, -3, 4}, {-1, 2, -4}, {2, -3, 4}, {-2, -3, -4}};
  const Terms cyclic = {{-1, -2}, {2, -3}, {1, 3}};
  const Terms stopsAtEnough = {{1, -2, -3, 5, -6}, {1, -2, 4, 6},  {1, 3, -5, -6}, {1, -3, -5, 6},
                               {-1, 2, 3, -4},     {-1, 3, -4, 6}, {-1, -3, 4, 6}, {-1, -3, -4, -5, -6},
                               {-1, 4, 5, -6},     {-1, -4, 5, 6}, {2, 3, -4, 6},  {2, -3, 4, -5},
                               {-2, -3, -4, -5},   {-2, 4, 5, 6}};
  // x3+x4+x6vx3+x8+x1+(x2)vx5+-x4vx4+-x3+x2+-x8v-x7+x9+-x6v-x9+-x5+-x2vx9+x4+x6+x3v-x2+-x1+x6
  const Terms reported = {{3, 4, 6},   {1, 2, 3, 8}, {5, -4},      {2, 4, -3, -8},
                          {-7, 9, -6}, {-2, -5, -9}, {3, 4, 6, 9}, {-1, -2, 6}};
  struct Case {
    std::string name;
    std::size_t variables;
    Terms terms;
    NormalFormKind kind;
    std::size_t count;  // at least this many when cut
    bool cut;
  };
  const Case cases[] = {
      {"32 forms", 4, many, NormalFormKind::Dis, 32, false},
      {"1024 forms, counted to the end", 8, Joined(many, many, 4), NormalFormKind::Dis, 1024, false},
      {"128 forms", 10, Joined(Joined(many, cyclic, 4), cyclic, 7), NormalFormKind::Dis, 128, false},
      {"counting stops at enough forms", 6, stopsAtEnough, NormalFormKind::Dis, kCountedMinimalForms, true},
      {"counting stops before a second form", 9, reported, NormalFormKind::Kon, 2, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const TruthTable table = MakeTruthTable(Disjunction(c.terms), test::FirstVariables(c.variables));
    const MinimalForms forms = Minimise(table, c.kind);
    ASSERT_TRUE(forms.complete);
    EXPECT_EQ(forms.countCapped, c.cut);
    if (c.cut) {
      EXPECT_GE(forms.count, c.count);
    } else {
      EXPECT_EQ(forms.count, c.count);
    }
    if (c.variables <= 4) {
      EXPECT_EQ(BruteForceMinimum(table.values, c.variables).second, c.count);
    }
    ASSERT_EQ(forms.shown.size(), std::min(forms.count, kShownMinimalForms));
    std::set<std::string> texts;
    for (const TermList& form : forms.shown) {
      SCOPED_TRACE(form.FormelText());
      EXPECT_EQ(test::ValuesOf(form, table), table.values);
      EXPECT_EQ(CostOf(form), CostOf(forms.shown[0]));
      EXPECT_TRUE(texts.insert(form.FormelText()).second) << "shown twice";
    }
  }
}

}  // namespace
}  // namespace umbrix

namespace umbrix {
namespace {

// Cheapest cover of a small problem by trying every set of primes: fewest primes, then fewest
// literals; avoided (a set of primes) may not be chosen whole. Nullopt when nothing covers.
std::optional<Cost> BruteForceCover(const CoverPart& part, const std::vector<std::size_t>& avoided) {
  std::optional<Cost> best;
  const std::size_t primes = part.rowsOfPrime.size();
  for (std::size_t set = 0; set < (std::size_t{1} << primes); ++set) {
    const bool whole = !avoided.empty() && std::all_of(avoided.begin(), avoided.end(),
                                                       [&](std::size_t p) { return (set >> p) & 1U; });
    if (whole) continue;
    std::vector<bool> covered(part.rowCount, false);
    Cost cost{0, 0};
    for (std::size_t p = 0; p < primes; ++p) {
      if (((set >> p) & 1U) == 0) continue;
      ++cost.first;
      cost.second += part.literals[p];
      for (std::uint32_t row : part.rowsOfPrime[p]) covered[row] = true;
    }
    if (std::find(covered.begin(), covered.end(), false) == covered.end() && (!best || cost < *best)) best = cost;
  }
  return best;
}

Cost CostOf(const CoverPart& part, const std::vector<std::size_t>& chosen) {
  Cost cost{chosen.size(), 0};
  for (std::size_t p : chosen) cost.second += part.literals[p];
  return cost;
}

// The solver against trying every set, on random problems, also with the cheapest cover
// ruled out (another one as cheap, a dearer one, or none).
TEST(CoverSolver, AgreesWithTryingEverySetOfPrimes) {
  if (!CoverSolverLinked()) GTEST_SKIP() << "no solver library in this build";
  std::mt19937 random(27);
  for (int round = 0; round < 150; ++round) {
    SCOPED_TRACE(round);
    CoverPart part;
    part.rowCount = 1 + random() % 12;
    const std::size_t primes = 1 + random() % 12;
    for (std::size_t p = 0; p < primes; ++p) {
      std::vector<std::uint32_t> rows;
      for (std::uint32_t row = 0; row < part.rowCount; ++row)
        if (random() % 3 == 0) rows.push_back(row);
      part.rowsOfPrime.push_back(rows);
      part.literals.push_back(1 + random() % 12);
    }
    const std::optional<Cost> best = BruteForceCover(part, {});
    const CoverSolution solution = SolveCover(part);
    ASSERT_EQ(solution.status == CoverSolution::Status::Optimal, best.has_value());
    if (!best) continue;
    EXPECT_EQ(CostOf(part, solution.chosen), *best);
    part.notAllOf = solution.chosen;
    const std::optional<Cost> other = BruteForceCover(part, solution.chosen);
    const CoverSolution second = SolveCover(part);
    ASSERT_EQ(second.status == CoverSolution::Status::Optimal, other.has_value());
    if (other) {
      EXPECT_EQ(CostOf(part, second.chosen), *other);
    }
    // Another cover within the cheapest cost exists exactly when the second best ties.
    const CoverSolution within = FindCoverWithin(part, best->first, best->second);
    ASSERT_EQ(within.status == CoverSolution::Status::Optimal, other == best);
    if (other == best) {
      EXPECT_EQ(CostOf(part, within.chosen), *best);
      EXPECT_NE(within.chosen, solution.chosen);
    } else {
      EXPECT_EQ(within.status, CoverSolution::Status::Infeasible);
    }
  }
}

}  // namespace
}  // namespace umbrix
