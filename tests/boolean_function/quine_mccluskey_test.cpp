// The Quine–McCluskey tables against brute force, for every function of up to three
// variables and random ones of up to six: the rounds, the primes, the essential primes and the
// cover, which is the first minimal disjunctive form; and worked examples as sheets write them.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <utility>

#include "boolean_function/minimal_form.hpp"
#include "boolean_function/quine_mccluskey.hpp"
#include "function_support.hpp"

namespace umbrix {
namespace {

using Cube = std::pair<std::uint32_t, std::uint32_t>;  // value, free

bool Inside(std::size_t row, const Cube& cube) { return (row & ~std::size_t{cube.second}) == cube.first; }

bool Implies(const Cube& cube, const std::vector<bool>& values) {
  for (std::size_t row = 0; row < values.size(); ++row)
    if (Inside(row, cube) && !values[row]) return false;
  return true;
}

// Every cube that implies the function while no cube with one more free variable does.
std::set<Cube> BruteForcePrimes(const std::vector<bool>& values, std::size_t n) {
  std::set<Cube> primes;
  const std::uint32_t all = (std::uint32_t{1} << n) - 1;
  for (std::uint32_t free = 0; free <= all; ++free) {
    for (std::uint32_t value = 0; value <= all; ++value) {
      if ((value & free) != 0 || !Implies({value, free}, values)) continue;
      bool prime = true;
      for (std::uint32_t bit = 1; bit <= all; bit <<= 1)
        if ((free & bit) == 0 && Implies({value & ~bit, free | bit}, values)) prime = false;
      if (prime) primes.insert({value, free});
    }
  }
  return primes;
}

// Each round's terms free as many variables as rounds went before, stand in the group of
// their ones, list exactly their cube's rows, appear once, and are used when the next round
// holds a term containing them.
void ExpectRounds(const QuineMcCluskey& qm) {
  for (std::size_t r = 0; r < qm.rounds.size(); ++r) {
    std::set<Cube> seen;
    for (std::size_t k = 0; k < qm.rounds[r].groups.size(); ++k) {
      for (const QmTerm& term : qm.rounds[r].groups[k]) {
        SCOPED_TRACE("round " + std::to_string(r) + " term " + term.MintermList());
        EXPECT_EQ(static_cast<std::size_t>(__builtin_popcount(term.free)), r);
        EXPECT_EQ(term.Ones(), k);
        EXPECT_TRUE(seen.insert({term.value, term.free}).second);
        std::vector<std::size_t> rows;
        for (std::size_t row = 0; row < (std::size_t{1} << qm.variables.size()); ++row)
          if (Inside(row, {term.value, term.free})) rows.push_back(row);
        EXPECT_EQ(term.minterms, rows);
        bool usedLater = false;
        if (r + 1 < qm.rounds.size())
          for (const auto& group : qm.rounds[r + 1].groups)
            for (const QmTerm& later : group)
              usedLater = usedLater || std::all_of(rows.begin(), rows.end(), [&](std::size_t row) {
                            return Inside(row, {later.value, later.free});
                          });
        EXPECT_EQ(term.used, usedLater);
      }
    }
  }
}

TEST(QuineMcCluskey, TablesAgreeWithBruteForce) {
  for (const TruthTable& table : test::SmallFunctions()) {
    const std::size_t n = table.variables.size();
    const TermList minimal = Minimise(table, NormalFormKind::Dis).shown.front();
    SCOPED_TRACE(std::to_string(n) + " variables, minimal form " + minimal.FormelText());
    const QuineMcCluskey qm = RunQuineMcCluskey(table, minimal);
    ExpectRounds(qm);
    std::set<Cube> primes;
    for (const QmTerm& prime : qm.primes) EXPECT_TRUE(primes.insert({prime.value, prime.free}).second);
    EXPECT_EQ(primes, BruteForcePrimes(table.values, n));
    std::vector<std::size_t> minterms;
    for (std::size_t row = 0; row < table.values.size(); ++row)
      if (table.values[row]) minterms.push_back(row);
    EXPECT_EQ(qm.minterms, minterms);
    // Essential: the only prime of some minterm. Chosen: exactly the minimal form's terms.
    std::size_t chosen = 0;
    for (std::size_t p = 0; p < qm.primes.size(); ++p) {
      bool alone = false;
      for (std::size_t m : qm.primes[p].minterms) {
        const auto holders = std::count_if(qm.primes.begin(), qm.primes.end(), [m](const QmTerm& other) {
          return Inside(m, {other.value, other.free});
        });
        alone = alone || holders == 1;
      }
      EXPECT_EQ(qm.essential[p], alone) << qm.primes[p].Pattern(n);
      if (qm.essential[p]) {
        EXPECT_TRUE(qm.chosen[p]) << "an essential prime is in every cover";
      }
      chosen += qm.chosen[p] ? 1 : 0;
    }
    EXPECT_EQ(chosen, minimal.terms.size());
  }
}

// The rows of a round as a sheet writes them: minterms, pattern, used mark.
std::vector<std::string> RoundRows(const QmRound& round, std::size_t n) {
  std::vector<std::string> rows;
  for (const auto& group : round.groups)
    for (const QmTerm& term : group)
      rows.push_back(term.MintermList() + " " + term.Pattern(n) + (term.used ? " v" : ""));
  return rows;
}

TEST(QuineMcCluskey, WorkedExamples) {
  struct Case {
    std::string name;
    std::size_t variables;
    std::vector<std::size_t> minterms;
    std::vector<std::vector<std::string>> rounds;
    std::vector<std::string> essential;  // patterns
  };
  const Case cases[] = {
      {"cyclic: no essential prime",
       3,
       {0, 1, 2, 5, 6, 7},
       {{"0 000 v", "1 001 v", "2 010 v", "5 101 v", "6 110 v", "7 111 v"},
        {"0;1 00-", "0;2 0-0", "1;5 -01", "2;6 -10", "5;7 1-1", "6;7 11-"}},
       {}},
      {"two essential primes of four minterms",
       3,
       {0, 1, 2, 3, 5, 7},
       {{"0 000 v", "1 001 v", "2 010 v", "3 011 v", "5 101 v", "7 111 v"},
        {"0;1 00- v", "0;2 0-0 v", "1;3 0-1 v", "1;5 -01 v", "2;3 01- v", "3;7 -11 v", "5;7 1-1 v"},
        {"0;1;2;3 0--", "1;3;5;7 --1"}},
       {"0--", "--1"}},
      {"5;7 merged as in the exercise sheets", 4, {5, 7}, {{"5 0101 v", "7 0111 v"}, {"5;7 01-1"}}, {"01-1"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TruthTable table = test::Table(c.variables, std::vector<bool>(std::size_t{1} << c.variables));
    for (std::size_t m : c.minterms) table.values[m] = true;
    const QuineMcCluskey qm = RunQuineMcCluskey(table, Minimise(table, NormalFormKind::Dis).shown.front());
    ASSERT_EQ(qm.rounds.size(), c.rounds.size());
    for (std::size_t r = 0; r < c.rounds.size(); ++r)
      EXPECT_EQ(RoundRows(qm.rounds[r], c.variables), c.rounds[r]);
    std::vector<std::string> essential;
    for (std::size_t p = 0; p < qm.primes.size(); ++p)
      if (qm.essential[p]) essential.push_back(qm.primes[p].Pattern(c.variables));
    EXPECT_EQ(essential, c.essential);
  }
}

TEST(QuineMcCluskey, ConstantFunctions) {
  const TruthTable never = test::Table(2, {false, false, false, false});
  const QuineMcCluskey none = RunQuineMcCluskey(never, TermList{});
  EXPECT_TRUE(none.rounds.empty());
  EXPECT_TRUE(none.primes.empty());
  const TruthTable always = test::Table(2, {true, true, true, true});
  const QuineMcCluskey all = RunQuineMcCluskey(always, TermList{NormalFormKind::Dis, {Term()}});
  ASSERT_EQ(all.primes.size(), 1U);
  EXPECT_EQ(all.primes[0].Pattern(2), "--");
  EXPECT_TRUE(all.essential[0]);
  EXPECT_TRUE(all.chosen[0]);
  EXPECT_EQ(TermOf(all.primes[0], always.variables).Size(), 0U);
}

}  // namespace
}  // namespace umbrix
