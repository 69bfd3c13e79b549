// MakeDisDirect and MakeKonDirect: one pass of rewriting per call, SimplifyDirect only at the top.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "sim_text.hpp"

namespace umbrix {
namespace {

using test::Sim;

struct DirectCase {
  std::string start;
  bool simplification;
  std::vector<std::string> afterCalls;
};

enum class Conversion { Dis, Kon };

void ExpectDirect(const DirectCase& c, Conversion conversion) {
  SCOPED_TRACE(c.start + (c.simplification ? " (true)" : " (false)"));
  auto node = Sim(c.start);
  for (std::size_t call = 0; call < c.afterCalls.size(); ++call) {
    SCOPED_TRACE("call " + std::to_string(call + 1));
    if (conversion == Conversion::Dis)
      node->MakeDisDirect(c.simplification);
    else
      node->MakeKonDirect(c.simplification);
    EXPECT_EQ(node->Value(), c.afterCalls[call]);
  }
}

TEST(MakeDisDirect, WorkedExamplesCallByCall) {
  const std::vector<DirectCase> cases = {
      {"((X1;vX2;)+(X3;vX4;))", true, {"((X1;+X3;)v(X1;+X4;)v(X2;+X3;)v(X2;+X4;))"}},
      {"(X1;+(X2;vX3;)+X4;)",
       true,
       {"(((X2;+X4;)v(X3;+X4;))+X1;)", "(((X2;+X4;)+X1;)v((X3;+X4;)+X1;))", "((X1;+X2;+X4;)v(X1;+X3;+X4;))"}},
      // De Morgan fills from the last position down; --X2 is removed right away.
      {"-(X1;+-X2;)", true, {"(X2;v-X1;)"}},
  };
  for (const auto& c : cases) ExpectDirect(c, Conversion::Dis);
}

TEST(MakeDisDirect, EdgeCasesCallByCall) {
  const std::vector<DirectCase> cases = {
      {"X1;", true, {"X1;"}},
      {"C", true, {"C"}},
      {"-X1;", true, {"-X1;"}},
      {"-C", true, {"T"}},
      {"-C", false, {"-C"}},
      {"---X1;", true, {"-X1;"}},
      {"--(X1;+(X2;vX3;))", true, {"((X2;+X1;)v(X3;+X1;))"}},
      {"(X1;+(X2;+X3;))", false, {"(X1;+X2;+X3;)"}},
      // The flattening repeats until no nested member of the node's operator is left.
      {"((X1;+X2;)+X3;+(X4;+X5;))", false, {"(X2;+X3;+X1;+X4;+X5;)"}},
      {"(X1;+((X2;+X3;)+X4;))", false, {"(X1;+X4;+X2;+X3;)"}},
      // The hand-off creates a nested member that the flattening, run before it, leaves alone.
      {"(X1;+-(X2;vX3;))", true, {"((-X2;+-X3;)+X1;)", "(X1;+-X2;+-X3;)"}},
      // The disjunction at the last position: after the exchange, X1 becomes L.
      {"(X1;+X2;+(X3;vX4;))", false, {"(((X3;+X1;)v(X4;+X1;))+X2;)"}},
      {"(X5;v((X1;vX2;)+X3;))", true, {"(((X1;+X3;)v(X2;+X3;))vX5;)", "(X5;v(X1;+X3;)v(X2;+X3;))"}},
      // Every negated compound member is handed the conversion, pushed down to the atoms.
      // Sorted first: -(-(X4;+X5;)vX3;) comes before -(X1;+X2;). Its De Morgan step removes
      // the double negation at once; the descent then flattens the conjunction it gave.
      {"(-(X1;+X2;)v-(X3;v-(X4;+X5;)))", true, {"((-X3;+X4;+X5;)v(-X1;v-X2;))"}},
      // The descent reaches every conjunction, one distribution in each.
      {"((X1;+(X2;vX3;))v(X4;+(X5;vX6;)))", true, {"(((X2;+X1;)v(X3;+X1;))v((X5;+X4;)v(X6;+X4;)))"}},
      // A "+" node left with a single disjunction after T is removed takes it over.
      {"((X1;v-X1;)+(X2;vX3;))", true, {"(X2;vX3;)"}},
      // SimplifyDirect runs once, at the top: nested nodes stay unsorted with false.
      {"((X2;vX1;)+X3;)", false, {"((X2;+X3;)v(X1;+X3;))"}},
  };
  for (const auto& c : cases) ExpectDirect(c, Conversion::Dis);
}

TEST(MakeDisDirect, DistributionSharesTheFactors) {
  auto node = Sim("((X1;vX2;)+(X3;vX4;))");
  node->MakeDisDirect(true);
  ASSERT_EQ(node->Count(), 4);
  EXPECT_EQ(node->SubFormel(0)->SubFormel(0), node->SubFormel(1)->SubFormel(0));  // X1
  EXPECT_EQ(node->SubFormel(0)->SubFormel(1), node->SubFormel(2)->SubFormel(1));  // X3
  EXPECT_EQ(node->SubFormel(2)->SubFormel(0), node->SubFormel(3)->SubFormel(0));  // X2
}

TEST(MakeDisDirect, SharedFactorSortedLaterShowsAtEveryPlace) {
  // With false nothing is sorted, so (X5;+X4;) enters two new conjunctions unsorted.
  auto node = Sim("((X1;vX2;)+((X5;+X4;)vX3;))");
  node->MakeDisDirect(false);
  ASSERT_EQ(node->Value(), "((X1;+(X5;+X4;))v(X1;+X3;)v(X2;+(X5;+X4;))v(X2;+X3;))");
  node->SubFormel(0)->SubFormel(1)->SimplifyDirect();
  EXPECT_EQ(node->Value(), "((X1;+(X4;+X5;))v(X1;+X3;)v(X2;+(X4;+X5;))v(X2;+X3;))");
}

TEST(MakeKonDirect, WorkedExampleAndEdgeCases) {
  const std::vector<DirectCase> cases = {
      {"((X2;+X3;)vX1;)", true, {"((X2;vX1;)+(X3;vX1;))"}},
      {"((X1;+X2;)v(X3;+X4;))", true, {"((X1;vX3;)+(X1;vX4;)+(X2;vX3;)+(X2;vX4;))"}},
      // No negation rules: a negation over a compound formula stays, also as a member.
      {"-(X1;vX2;)", true, {"-(X1;vX2;)"}},
      {"((-(X1;vX2;)vX3;)+X4;)", true, {"((-(X1;vX2;)vX3;)+X4;)"}},
      {"(X1;+(X2;+X3;))", false, {"(X1;+X2;+X3;)"}},
      {"((X1;v(X2;vX3;))+X4;)", true, {"((X1;vX2;vX3;)+X4;)"}},
      // A conjunction at a later position is exchanged to the front; L is a conjunction,
      // so the cross product is built, D-major; two calls later the descent flattens all.
      {"(X1;v(X2;+X3;)v(X4;+X5;))",
       false,
       {"(((X2;vX4;)+(X2;vX5;)+(X3;vX4;)+(X3;vX5;))vX1;)",
        "(((X2;vX4;)vX1;)+((X2;vX5;)vX1;)+((X3;vX4;)vX1;)+((X3;vX5;)vX1;))",
        "((X1;vX2;vX4;)+(X1;vX2;vX5;)+(X1;vX3;vX4;)+(X1;vX3;vX5;))"}},
      // A "v" node left with a single conjunction after C is removed takes it over.
      {"((X1;+-X1;)v(X2;+X3;))", true, {"(X2;+X3;)"}},
  };
  for (const auto& c : cases) ExpectDirect(c, Conversion::Kon);
}

}  // namespace
}  // namespace umbrix
