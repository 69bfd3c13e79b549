// The two equivalence engines against evaluation by brute force: the same verdicts and the
// same first differing assignment on random circuits, exactness at the truth tables' limit,
// and an honest "not made" beyond it.
#include <gtest/gtest.h>

#include <random>
#include <string>

#include "boolean_function/equivalence.hpp"
#include "general_formula/formel.hpp"
#include "support/formel_value.hpp"

namespace umbrix {
namespace {

// A random general formula over X1 to Xn in the parser's syntax, with every connective.
std::string RandomFormula(std::mt19937& random, int depth, int n) {
  if (depth == 0 || random() % 4 == 0) return std::to_string(1 + random() % static_cast<unsigned>(n));
  static const char* const connectives[] = {"+", "v", "<=", "=>", "=="};
  const int kind = static_cast<int>(random() % 6);
  if (kind == 5) return "-(" + RandomFormula(random, depth - 1, n) + ")";
  return "(" + RandomFormula(random, depth - 1, n) + ")" + connectives[kind] + "(" +
         RandomFormula(random, depth - 1, n) + ")";
}

bool Evaluate(const Formel& f, const VariableSet& assignment) {
  return test::FormelValue(f, [&](int index) { return assignment.test(static_cast<std::size_t>(index)); });
}

// The assignment of row r over X1 to Xn, X1 changing slowest.
VariableSet Row(unsigned r, int n) {
  VariableSet assignment;
  for (int i = 1; i <= n; ++i)
    if ((r >> (n - i)) & 1U) assignment.set(static_cast<std::size_t>(i));
  return assignment;
}

std::optional<VariableSet> BruteForceFirstDifference(const Formel& a, const Formel& b, int n) {
  for (unsigned r = 0; r < (1U << n); ++r)
    if (Evaluate(a, Row(r, n)) != Evaluate(b, Row(r, n))) return Row(r, n);
  return std::nullopt;
}

std::optional<VariableSet> EngineFirstDifference(EquivalenceEngine& engine, const Formel& a,
                                                 const Formel& b) {
  Circuit circuit;
  const auto first = engine.FunctionOf(circuit, *AddFormel(circuit, a));
  const auto second = engine.FunctionOf(circuit, *AddFormel(circuit, b));
  EXPECT_TRUE(first && second);
  EXPECT_EQ(engine.Equal(*first, *second), !engine.FirstDifference(*first, *second).has_value());
  return engine.FirstDifference(*first, *second);
}

TEST(Equivalence, BothEnginesAgreeWithBruteForceOnRandomFormulas) {
  std::mt19937 random(23);
  for (int n : {1, 3, 6, 7, 9}) {
    VariableSet all;
    for (int i = 1; i <= n; ++i) all.set(static_cast<std::size_t>(i));
    for (int round = 0; round < 60; ++round) {
      Formel a, b;
      a.SetValue(RandomFormula(random, 4, n));
      b.SetValue(round % 3 == 0 ? "(" + a.Value() + ")+(" + RandomFormula(random, 1, n) + "v-(" +
                                      RandomFormula(random, 1, n) + "))"
                                : RandomFormula(random, 4, n));
      SCOPED_TRACE(std::to_string(n) + " variables: " + a.Value() + " / " + b.Value());
      const std::optional<VariableSet> expected = BruteForceFirstDifference(a, b, n);
      EXPECT_EQ(EngineFirstDifference(*MakeTruthTableEngine(all), a, b), expected);
      EXPECT_EQ(EngineFirstDifference(*MakeDiagramEngine(), a, b), expected);
    }
  }
}

// Twenty variables: forms that differ in the first row only, and in the last row only.
TEST(Equivalence, TruthTablesAreExactAtTwentyVariables) {
  std::string conjunction = "1", disjunction = "-1", negated = "-1";
  VariableSet twenty;
  for (int i = 2; i <= 20; ++i) {
    conjunction += "+" + std::to_string(i);
    disjunction += "v-" + std::to_string(i);
    negated += "+-" + std::to_string(i);
  }
  for (int i = 1; i <= 20; ++i) twenty.set(static_cast<std::size_t>(i));
  Formel all, notAny, firstRowAdded, never;
  all.SetValue(conjunction);
  notAny.SetValue("-(" + disjunction + ")");
  firstRowAdded.SetValue("(" + conjunction + ")v(" + negated + ")");
  never.SetValue("1+-1");
  auto engine = MakeTruthTableEngine(twenty);
  Circuit circuit;
  const auto a = engine->FunctionOf(circuit, *AddFormel(circuit, all));
  const auto b = engine->FunctionOf(circuit, *AddFormel(circuit, notAny));
  const auto c = engine->FunctionOf(circuit, *AddFormel(circuit, firstRowAdded));
  const auto d = engine->FunctionOf(circuit, *AddFormel(circuit, never));
  ASSERT_TRUE(a && b && c && d);
  EXPECT_TRUE(engine->Equal(*a, *b));
  EXPECT_EQ(engine->FirstDifference(*a, *c), VariableSet());
  EXPECT_EQ(engine->FirstDifference(*a, *d), twenty);
}

TEST(Equivalence, TruthTablesBeyondTheirLimitOrVariablesSayNotMade) {
  VariableSet many;
  for (int i = 1; i <= 21; ++i) many.set(static_cast<std::size_t>(i));
  Circuit circuit;
  const Circuit::Id x22 = circuit.Variable(22);
  EXPECT_FALSE(MakeTruthTableEngine(many)->FunctionOf(circuit, circuit.Variable(1)));
  EXPECT_FALSE(MakeTruthTableEngine(VariableSet().set(1))->FunctionOf(circuit, x22));
  auto engine = MakeEquivalenceEngine(many);  // diagrams where linked
  EXPECT_TRUE(engine->FunctionOf(circuit, x22));
}

}  // namespace
}  // namespace umbrix
