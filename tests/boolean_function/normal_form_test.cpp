// Reading final normal forms into term lists, and absorption.
#include <gtest/gtest.h>

#include <optional>
#include <random>
#include <string>

#include "boolean_function/absorption.hpp"
#include "function_support.hpp"
#include "sim_text.hpp"

namespace umbrix {
namespace {

using test::Sim;

struct ReadCase {
  std::string formel;
  NormalFormKind kind;
  std::optional<std::string> read;  // the list's text, nullopt when it is no such normal form
};

TEST(TermList, ReadsFinalNormalFormsAndEvaluatesConstants) {
  const ReadCase cases[] = {
      {"(X1;v(X2;+-X3;))", NormalFormKind::Dis, "(X1;v(X2;+-X3;))"},
      {"(X1;v(X2;+-X3;))", NormalFormKind::Kon, std::nullopt},
      {"((X1;vX2;)+-X3;)", NormalFormKind::Kon, "((X1;vX2;)+-X3;)"},
      {"(X1;+X2;)", NormalFormKind::Dis, "(X1;+X2;)"},
      {"(X1;+X2;)", NormalFormKind::Kon, "(X1;+X2;)"},
      {"-X7;", NormalFormKind::Kon, "-X7;"},
      {"T", NormalFormKind::Dis, "T"},
      {"T", NormalFormKind::Kon, "T"},
      {"C", NormalFormKind::Dis, "C"},
      {"((X1;+T)v(X2;+C))", NormalFormKind::Dis, "X1;"},
      {"(X1;v--X2;)", NormalFormKind::Dis, std::nullopt},
      {"(X1;v(X2;+(X3;vX4;)))", NormalFormKind::Dis, std::nullopt},
      {"(X1;vX;)", NormalFormKind::Dis, std::nullopt},
      {"(X1;vX0;)", NormalFormKind::Dis, std::nullopt},
      {"(X1;vX100;)", NormalFormKind::Dis, std::nullopt},
  };
  for (const ReadCase& c : cases) {
    SCOPED_TRACE(c.formel);
    auto node = Sim(c.formel);
    const std::optional<TermList> list = ReadNormalForm(*node, c.kind);
    ASSERT_EQ(list.has_value(), c.read.has_value());
    if (list) {
      EXPECT_EQ(list->FormelText(), *c.read);
    }
  }
  auto empty = Sim("X;");
  EXPECT_FALSE(CollectVariables(*empty));
  auto shared = Sim("(X3;v(X12;+-X3;))");
  EXPECT_EQ(Indices(*CollectVariables(*shared)), (std::vector<std::int16_t>{3, 12}));
}

struct AbsorptionCase {
  std::string formel;
  NormalFormKind kind;
  std::vector<std::pair<std::size_t, std::size_t>> steps;  // absorbed, by
  std::string result;
};

TEST(Absorption, NamesEachAbsorbedTermAndWhatAbsorbsIt) {
  const AbsorptionCase cases[] = {
      {"((-X2;v-X3;)+(-X2;vX1;)+(-X3;vX1;)+X1;)", NormalFormKind::Kon, {{1, 3}, {2, 3}}, "((-X2;v-X3;)+X1;)"},
      {"((-X2;+X1;)v(X1;+X2;)vX1;)", NormalFormKind::Dis, {{0, 2}, {1, 2}}, "X1;"},
      {"((X1;+X2;)v(X2;+X1;)vX3;)", NormalFormKind::Dis, {{1, 0}}, "((X1;+X2;)vX3;)"},
      {"((X1;+X2;)v(-X1;+X3;)v(X2;+X3;))", NormalFormKind::Dis, {}, "((X1;+X2;)v(-X1;+X3;)v(X2;+X3;))"},
      {"((X1;+X2;+X3;)v(X1;+X2;)vX1;)", NormalFormKind::Dis, {{0, 1}, {1, 2}}, "X1;"},
  };
  for (const AbsorptionCase& c : cases) {
    SCOPED_TRACE(c.formel);
    auto node = Sim(c.formel);
    const TermList list = *ReadNormalForm(*node, c.kind);
    const std::vector<AbsorptionStep> steps = Absorptions(list);
    ASSERT_EQ(steps.size(), c.steps.size());
    for (std::size_t k = 0; k < steps.size(); ++k) {
      EXPECT_EQ(steps[k].absorbed, c.steps[k].first);
      EXPECT_EQ(steps[k].by, c.steps[k].second);
    }
    EXPECT_EQ(AfterAbsorptions(list, steps, steps.size()).FormelText(), c.result);
  }
}

// Against brute force: every step is a true absorption, the value never changes, and the
// result holds no term that contains another.
TEST(Absorption, KeepsTheFunctionAndLeavesNoContainedTerm) {
  std::mt19937 random(16);
  for (int round = 0; round < 2000; ++round) {
    const std::size_t n = 1 + round % 6;
    const TermList list =
        test::RandomTermList(random, n, 8, round % 2 ? NormalFormKind::Dis : NormalFormKind::Kon);
    SCOPED_TRACE(list.FormelText());
    const std::vector<AbsorptionStep> steps = Absorptions(list);
    const TruthTable shape = test::Table(n, std::vector<bool>(std::size_t{1} << n));
    const std::vector<bool> values = test::ValuesOf(list, shape);
    for (std::size_t k = 0; k < steps.size(); ++k) {
      EXPECT_TRUE(list.terms[steps[k].absorbed].Contains(list.terms[steps[k].by]));
      EXPECT_EQ(test::ValuesOf(AfterAbsorptions(list, steps, k + 1), shape), values);
    }
    const TermList result = AfterAbsorptions(list, steps, steps.size());
    for (std::size_t a = 0; a < result.terms.size(); ++a)
      for (std::size_t b = 0; b < result.terms.size(); ++b)
        EXPECT_TRUE(a == b || !result.terms[a].Contains(result.terms[b]));
  }
}

}  // namespace
}  // namespace umbrix
