// The step-wise rewriting of "==", "<=" and "=>" into "-", "+" and "v", and its end on any text.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "general_formula/formel.hpp"
#include "support/case_table.hpp"
#include "utilities/std_text.hpp"

namespace umbrix {
namespace {

// The plain text after every step, as the run writes them.
std::vector<std::string> ReductionSteps(const std::string& input, int limit = 100) {
  Formel formel;
  formel.SetValue(input);
  std::vector<std::string> steps;
  while (formel.NotSimForm() && static_cast<int>(steps.size()) < limit) {
    formel.MakeSimForm();
    steps.push_back(formel.Value());
  }
  return steps;
}

TEST(FormelReduction, StepSequences) {
  struct Case {
    std::string input;
    std::vector<std::string> steps;
  };
  const std::vector<Case> cases = {
      {"x1==x2+x3",
       {"((X2+X3)=>(X1))+((X1)=>(X2+X3))", "(-((X2+X3))v(X1))+((X1)=>(X2+X3))",
        "(-((X2+X3))v(X1))+(-((X1))v(X2+X3))"}},
      {"x1<=x2vx3", {"X2vX3=>X1", "-(X2vX3)vX1"}},
      {"x1=>x2", {"-(X1)vX2"}},
      {"x1==x2",
       {"((X2)=>(X1))+((X1)=>(X2))", "(-((X2))v(X1))+((X1)=>(X2))", "(-((X2))v(X1))+(-((X1))v(X2))"}},
      // "==" goes first although the "<=" stands further left; then "<=", then every "=>".
      {"(x1<=x2)+(x3==x4)",
       {"(X1<=X2)+(((X4)=>(X3))+((X3)=>(X4)))", "(X2=>X1)+(((X4)=>(X3))+((X3)=>(X4)))",
        "(-(X2)vX1)+(((X4)=>(X3))+((X3)=>(X4)))", "(-(X2)vX1)+((-((X4))v(X3))+((X3)=>(X4)))",
        "(-(X2)vX1)+((-((X4))v(X3))+(-((X3))v(X4)))"}},
      // A chain of equivalences becomes a cycle of implications in one step.
      {"x1==x2==x3",
       {"((X3)=>(X1))+((X1)=>(X2))+((X2)=>(X3))", "(-((X3))v(X1))+((X1)=>(X2))+((X2)=>(X3))",
        "(-((X3))v(X1))+(-((X1))v(X2))+((X2)=>(X3))", "(-((X3))v(X1))+(-((X1))v(X2))+(-((X2))v(X3))"}},
      {"-x2+x1", {}},
      {"x1v(x2+x3)", {}},
      {"", {}},
  };
  test::ExpectEachRow(cases, [](const std::string& input) { return ReductionSteps(input); });
}

TEST(FormelReduction, OuterEquivalenceFirstThenEachCopyOfTheInnerOne) {
  const auto steps = ReductionSteps("(x1==x2)==x3");
  ASSERT_GE(steps.size(), 3u);
  EXPECT_EQ(steps[0], "((X3)=>((X1==X2)))+(((X1==X2))=>(X3))");
  EXPECT_EQ(CountOccurrences(steps[1], "=="), 1);
  EXPECT_EQ(CountOccurrences(steps[2], "=="), 0);
  EXPECT_EQ(steps.back().find('='), std::string::npos);
}

TEST(FormelReduction, RewrittenNodeStaysInPlace) {
  Formel formel;
  formel.SetValue("x5+(x1=>x2)");
  const Formel* group = &formel.SubFormel(1);
  formel.MakeSimForm();
  EXPECT_EQ(formel.Value(), "X5+(-(X1)vX2)");
  EXPECT_EQ(&formel.SubFormel(1), group);
}

// Texts that the input check rejects still reach a state where NotSimForm is false.
TEST(FormelReduction, EndsOnMalformedText) {
  for (const std::string text :
       {"(",          "x1+(",           "x1===x2",      "=",      "==",     "<=",      "x1<=>x2", "x1=>",
        "=>x1",       "x1==(",          ")(=",          "x1=<x2", "((=))",  "x1<==x2", "-=",      "v=v",
        "x1=>x2=>x3", "x1<=x2<=x3<=x4", "x1=x2=>x3<x4", "a=b",    "x1=)=x2"}) {
    SCOPED_TRACE(text);
    const auto steps = ReductionSteps(text, 1000);
    EXPECT_LT(steps.size(), 1000u);
  }
}

TEST(FormelReduction, NeverHangsOnRandomText) {
  const std::string alphabet = "x123-+v<=>()= X9";
  std::mt19937 random(20240611);
  for (int round = 0; round < 2000; ++round) {
    std::string text;
    const auto length = std::uniform_int_distribution<int>(0, 14)(random);
    for (int i = 0; i < length; ++i)
      text += alphabet[std::uniform_int_distribution<std::size_t>(0, alphabet.size() - 1)(random)];
    SCOPED_TRACE(text);
    Formel formel;
    formel.SetValue(text);
    (void)formel.FormelText();
    const auto steps = ReductionSteps(text, 1000);
    ASSERT_LT(steps.size(), 1000u);
  }
}

}  // namespace
}  // namespace umbrix
