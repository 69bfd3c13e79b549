// The equivalence check against truth tables computed by brute force, and on a derivation
// with one deliberately altered step.
#include <gtest/gtest.h>

#include <random>
#include <string>

#include "boolean_function/probe.hpp"
#include "boolean_function/truth_table.hpp"
#include "general_formula/formel.hpp"
#include "simple_formula/sim_formel.hpp"
#include "support/formel_value.hpp"

namespace umbrix {
namespace {

// A random formula over X1 to X4 in the parser's syntax, with every connective.
std::string RandomFormula(std::mt19937& random, int depth) {
  if (depth == 0 || random() % 4 == 0) return std::to_string(1 + random() % 4);
  static const char* const connectives[] = {"+", "v", "<=", "=>", "=="};
  const int kind = static_cast<int>(random() % 6);
  if (kind == 5) return "-(" + RandomFormula(random, depth - 1) + ")";
  return "(" + RandomFormula(random, depth - 1) + ")" + connectives[kind] + "(" +
         RandomFormula(random, depth - 1) + ")";
}

bool FormelAt(const Formel& f, unsigned assignment) {
  return test::FormelValue(f, [assignment](int index) { return ((assignment >> index) & 1U) != 0; });
}

bool SameFunction(const Formel& a, const Formel& b) {
  for (unsigned assignment = 0; assignment < 32; assignment += 2)
    if (FormelAt(a, assignment) != FormelAt(b, assignment)) return false;
  return true;
}

TEST(Probe, AgreesWithTruthTablesOnRandomFormulas) {
  std::mt19937 random(11);
  for (int round = 0; round < 150; ++round) {
    Formel input, step;
    input.SetValue(RandomFormula(random, 3));
    step.SetValue(RandomFormula(random, 3));
    SCOPED_TRACE(input.Value() + " / " + step.Value());
    const bool same = SameFunction(input, step);
    Probe probe(input);
    probe.Check(step);
    while (step.NotSimForm()) step.MakeSimForm();
    SimFormel simple;
    simple.MakeCopy(step);
    probe.Check(simple);
    EXPECT_FALSE(probe.Undecided());
    EXPECT_EQ(probe.Checked(), 3);
    EXPECT_EQ(probe.FirstFailure(), same ? 0 : 2);
  }
}

TEST(Probe, FindsOneAlteredStepOfADerivation) {
  Formel input;
  input.SetValue("(1v2)+(1v-2)==3");
  Probe probe(input);
  while (input.NotSimForm()) {
    input.MakeSimForm();
    probe.Check(input);
  }
  SimFormel work;
  work.MakeCopy(input);
  probe.Check(work);
  while (work.NotDis()) {
    work.MakeDisDirect(true);
    probe.Check(work);
  }
  ASSERT_EQ(probe.FirstFailure(), 0);
  const std::int32_t altered = probe.Checked() + 1;
  work.SubFormel(0)->SetOperation(work.SubFormel(0)->Operation() == "+" ? "v" : "+");  // one slip
  probe.Check(work);
  while (work.NotKon()) {
    work.MakeKonDirect(true);
    probe.Check(work);
  }
  EXPECT_EQ(probe.FirstFailure(), altered);
  EXPECT_FALSE(probe.Undecided());
}

bool Evaluate(SimFormel& f, unsigned assignment) {
  const std::string& op = f.Operation();
  if (op == "C" || op == "T") return op == "T";
  if (op == "-") return !Evaluate(*f.SubFormel(0), assignment);
  if (op == "+" || op == "v") {
    bool all = true, any = false;
    for (std::int16_t k = 0; k < f.Count(); ++k) {
      const bool value = Evaluate(*f.SubFormel(k), assignment);
      any = any || value;
      all = all && value;
    }
    return op == "+" ? all : any;
  }
  return (assignment >> std::stoi(op)) & 1U;
}

bool SameFunction(const Formel& a, SimFormel& b, int variables) {
  for (unsigned assignment = 0; assignment < (2U << variables); assignment += 2)
    if (FormelAt(a, assignment) != Evaluate(b, assignment)) return false;
  return true;
}

// A variable deep inside the formula, reached by random turns.
SimFormel::Ptr SomeVariable(SimFormel& root, std::mt19937& random) {
  SimFormel::Ptr node = root.SubFormel(static_cast<std::int16_t>(random() % root.Count()));
  while (node->Count() > 0) node = node->SubFormel(static_cast<std::int16_t>(random() % node->Count()));
  return node;
}

// The diagrams kept from one step to the next follow every change: along derivations of wide
// formulas (whose long member lists keep their pairwise combinations) each step is found
// equivalent, and a slip made in place deep inside kept members, at a random step, is found at
// that step exactly when it changed the function.
TEST(Probe, KeptDiagramsFollowChangesMadeInPlace) {
  struct Case {
    std::string input;
    int variables;
    bool direct;
  };
  std::string wide = "(1v2)";
  for (int k = 3; k <= 9; ++k) wide += "+(" + std::to_string(k) + "v-" + std::to_string(k - 1) + ")";
  const Case cases[] = {
      {"(1v2)+(3v4)+(5v6)+(7v8)", 8, false},
      {"1==2==3==4", 4, false},
      {wide, 9, true},
      {"(1+2)v(3+4)v(5+6)v(7+8)v(1+-3)v(2+-4)v(5+-7)v(6+-8)", 8, true},
  };
  std::mt19937 random(25);
  for (const Case& c : cases) {
    for (int slipAt = 0; slipAt < 6; ++slipAt) {
      SCOPED_TRACE(c.input + " / slip " + std::to_string(slipAt));
      Formel input;
      input.SetValue(c.input);
      Probe probe(input);
      while (input.NotSimForm()) input.MakeSimForm();
      SimFormel work;
      work.MakeCopy(input);
      probe.Check(work);
      std::int32_t expected = 0;
      for (int step = 0; work.NotDis(); ++step) {
        bool done = false;
        if (c.direct)
          work.MakeDisDirect(true);
        else
          work.MakeDis(done);
        if (step == slipAt * 3 && expected == 0) {
          SimFormel::Ptr variable = SomeVariable(work, random);
          variable->SetOperation(variable->Operation() == "1" ? "2" : "1");
          if (!SameFunction(input, work, c.variables)) expected = probe.Checked() + 1;
        }
        probe.Check(work);
      }
      EXPECT_FALSE(probe.Undecided());
      EXPECT_EQ(probe.FirstFailure(), expected);
    }
  }
}

TEST(Probe, ManyVariablesAndTheEmptyFormula) {
  Formel wide, doubled;
  std::string text = "1";
  for (int i = 2; i <= 99; ++i) text += (i % 2 ? "v" : "+") + std::to_string(i);
  wide.SetValue(text);
  doubled.SetValue(text + "+(" + text + ")");  // A + A
  {
    Probe probe(wide);
    probe.Check(doubled);
    EXPECT_EQ(probe.FirstFailure(), 0);
    EXPECT_FALSE(probe.Undecided());
    EXPECT_THROW(Probe{wide}, std::logic_error);
  }
  Formel empty;
  empty.SetValue("");
  EXPECT_TRUE(Probe(empty).Undecided());
}

}  // namespace
}  // namespace umbrix
