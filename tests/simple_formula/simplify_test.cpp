// Simplify (one bubble pass per call, or passes until stable when "schneller vereinfachen "
// is selected) and SimplifyDirect (bottom-up, sorting completely), each call by call.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "sim_text.hpp"

namespace umbrix {
namespace {

using test::Sim;
using test::StubMode;

struct CallSequence {
  std::string start;
  std::vector<std::string> afterCalls;  // Value after call 1, 2, ...
};

void ExpectSimplifySequence(const CallSequence& c, bool fast) {
  SCOPED_TRACE(c.start + (fast ? " (schneller vereinfachen)" : ""));
  StubMode mode(fast);
  auto node = Sim(c.start);
  for (std::size_t call = 0; call < c.afterCalls.size(); ++call) {
    SCOPED_TRACE("call " + std::to_string(call + 1));
    node->Simplify(mode);
    EXPECT_EQ(node->Value(), c.afterCalls[call]);
  }
}

void ExpectSimplifyDirectSequence(const CallSequence& c) {
  SCOPED_TRACE(c.start);
  auto node = Sim(c.start);
  for (std::size_t call = 0; call < c.afterCalls.size(); ++call) {
    SCOPED_TRACE("call " + std::to_string(call + 1));
    node->SimplifyDirect();
    EXPECT_EQ(node->Value(), c.afterCalls[call]);
  }
}

TEST(Simplify, OnePassPerCallWithVieleZwischenschritte) {
  const std::vector<CallSequence> cases = {
      {"(X1;+X2;+X1;)", {"(X1;+X2;)", "(X1;+X2;)"}},
      // The member copied into the hole is not compared again.
      {"(X1;+X1;+X1;)", {"(X1;+X1;)", "X1;"}},
      {"(-X2;vX1;vX2;)", {"T"}},
      // Sorted to (T+C+X1;): T is removed, X1 takes its place, then C absorbs.
      {"(X1;+T+C)", {"C"}},
      // The neutral constant goes after the single-member check: the collapse waits a call.
      {"(X1;vC)", {"(X1;)", "X1;"}},
      // A node whose sort pass exchanged something is not descended into.
      {"(X3;v(X2;+X1;))", {"((X2;+X1;)vX3;)", "((X1;+X2;)vX3;)"}},
      {"(X3;vX2;vX1;)", {"(X2;vX1;vX3;)", "(X1;vX2;vX3;)", "(X1;vX2;vX3;)"}},
      {"((X1;+X1;)v(X2;+-X2;))", {"(X1;vC)", "(X1;)", "X1;"}},
      {"-C", {"T"}},
      {"-T", {"C"}},
      // "-" always descends into its operand.
      {"-(X1;vX1;)", {"-X1;"}},
      {"(X1;vX10;)", {"(X10;vX1;)"}},
      {"X1;", {"X1;"}},
      {"C", {"C"}},
      {"(CvC)", {"C"}},
      {"(X1;vX2;vT)", {"T"}},
      {"(X2;+C+X1;)", {"C"}},
      // Complementary compound members.
      {"((X1;+X2;)v-(X1;+X2;))", {"T"}},
      // A complement after an earlier duplicate still ends the pass.
      {"(X1;+X1;+-X1;)", {"C"}},
      // Ordering: compound members, negations (-( before -X), C, T, variables.
      {"(X1;v-X2;)", {"(-X2;vX1;)"}},
      {"(-X1;v-(X2;+X3;))", {"(-(X2;+X3;)v-X1;)"}},
      {"(-X1;v(X2;+X3;))", {"((X2;+X3;)v-X1;)"}},
      {"(X2;v--X1;)", {"(--X1;vX2;)"}},
      // Unchanged at the node: the pass descends and sorts every member in the same call.
      {"((X2;+X1;)v(X4;+X3;))", {"((X1;+X2;)v(X3;+X4;))"}},
      // No absorption and no flattening.
      {"(X1;v(X1;+X2;))", {"((X1;+X2;)vX1;)", "((X1;+X2;)vX1;)"}},
  };
  for (const auto& c : cases) ExpectSimplifySequence(c, false);
}

TEST(Simplify, SchnellerVereinfachenRepeatsAndDescendsUntilStable) {
  const std::vector<CallSequence> cases = {
      {"(X3;v(X2;+X1;))", {"((X1;+X2;)vX3;)"}},
      {"(X1;+X1;+X1;)", {"X1;"}},
      {"(X3;vX2;vX1;)", {"(X1;vX2;vX3;)"}},
      {"((X1;+X1;)v(X2;+-X2;))", {"X1;"}},
      {"(X1;vC)", {"X1;"}},
      {"((X1;+X2;)v-(X1;+X2;))", {"T"}},
      // Passes that only exchange neighbours end in the sorted order at once.
      {"(X5;vX4;vX3;vX2;vX1;vX5;)", {"(X1;vX2;vX3;vX4;vX5;)"}},
      {"((X3;+X2;)v(X2;+X9;)vX1;v(X4;+X3;))", {"((X2;+X3;)v(X2;+X9;)v(X3;+X4;)vX1;)"}},
  };
  for (const auto& c : cases) ExpectSimplifySequence(c, true);
}

TEST(Simplify, MembersWithoutMembersBecomeTheNeutralConstant) {
  StubMode mode(false);
  SimFormel conjunction("+");
  conjunction.Simplify(mode);
  EXPECT_EQ(conjunction.Value(), "T");
  SimFormel disjunction("v");
  disjunction.Simplify(mode);
  EXPECT_EQ(disjunction.Value(), "C");
}

TEST(Simplify, ReadsTheOptionAtEveryCall) {
  StubMode mode(false);
  auto node = Sim("(X4;vX3;vX2;vX1;)");
  node->Simplify(mode);
  EXPECT_EQ(node->Value(), "(X3;vX2;vX1;vX4;)");
  mode.SetFast(true);
  node->Simplify(mode);
  EXPECT_EQ(node->Value(), "(X1;vX2;vX3;vX4;)");
}

TEST(Simplify, DefaultModeIsOnePassPerCall) {
  auto node = Sim("(X3;vX2;vX1;)");
  node->Simplify();
  EXPECT_EQ(node->Value(), "(X2;vX1;vX3;)");
}

TEST(Simplify, CollapseKeepsTheMemberObjects) {
  auto node = Sim("((X1;+X2;)v(X1;+X2;))");
  auto inner = node->SubFormel(0)->SubFormel(0);
  node->Simplify();
  ASSERT_EQ(node->Value(), "(X1;+X2;)");
  EXPECT_EQ(node->SubFormel(0), inner);
}

TEST(SimplifyDirect, WorkedExamplesCallByCall) {
  const std::vector<CallSequence> cases = {
      {"((X2;+X1;+X2;)v(X1;+-X1;)vX3;)", {"((X1;+X2;)vX3;)", "((X1;+X2;)vX3;)"}},
      // After a duplicate the last member stands in the hole, out of order until the next call.
      {"(X1;+X1;+X2;+X3;)", {"(X1;+X3;+X2;)", "(X1;+X2;+X3;)"}},
      {"(X1;+X1;+X1;)", {"(X1;+X1;)", "X1;"}},
      {"(X2;vX10;vX1;)", {"(X10;vX1;vX2;)"}},
  };
  for (const auto& c : cases) ExpectSimplifyDirectSequence(c);
}

TEST(SimplifyDirect, EdgeCases) {
  const std::vector<CallSequence> cases = {
      {"X1;", {"X1;"}},
      {"C", {"C"}},
      {"T", {"T"}},
      {"(X1;vX1;)", {"X1;"}},
      {"(X1;v-X1;vX2;)", {"T"}},
      {"((X1;+X2;)v-(X1;+X2;))", {"T"}},
      {"(X1;+-X1;)", {"C"}},
      // Bottom-up: the operand becomes T, then the negated constant rule applies.
      {"-(X1;v-X1;)", {"C"}},
      {"(CvX1;)", {"(X1;)", "X1;"}},
      // The single-member collapse comes before the constants scan.
      {"(X1;+T)", {"(X1;)", "X1;"}},
      {"(X1;vX2;vT)", {"T"}},
      {"(X1;+X2;+C)", {"C"}},
      {"(CvCvC)", {"C"}},
      {"--X1;", {"--X1;"}},
      {"((X1;vX2;)vX3;)", {"((X1;vX2;)vX3;)"}},
      {"((X1;+X2;)vX1;)", {"((X1;+X2;)vX1;)"}},
      // Sort passes repeat within one call, at every level.
      {"(X3;vX2;vX1;)", {"(X1;vX2;vX3;)"}},
      {"(X3;v(X2;+X1;))", {"((X1;+X2;)vX3;)"}},
      {"(X1;v-(X3;vX2;)vX4;)", {"(-(X2;vX3;)vX1;vX4;)"}},
      {"-(X2;+X1;)", {"-(X1;+X2;)"}},
      {"-C", {"T"}},
  };
  for (const auto& c : cases) ExpectSimplifyDirectSequence(c);
}

}  // namespace
}  // namespace umbrix
