// MakeDis and MakeKon: one visible rewrite per call, each call opening with Simplify.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "sim_text.hpp"
#include "utilities/run_error.hpp"

namespace umbrix {
namespace {

using test::Sim;
using test::StubMode;

enum class Conversion { Dis, Kon };

struct StepCase {
  std::string start;
  std::vector<std::string> afterCalls;
};

void ExpectSteps(const StepCase& c, Conversion conversion, const SimplifyMode& mode) {
  SCOPED_TRACE(c.start);
  auto node = Sim(c.start);
  for (std::size_t call = 0; call < c.afterCalls.size(); ++call) {
    SCOPED_TRACE("call " + std::to_string(call + 1));
    bool alreadyDone = false;
    if (conversion == Conversion::Dis)
      node->MakeDis(alreadyDone, mode);
    else
      node->MakeKon(alreadyDone, mode);
    EXPECT_EQ(node->Value(), c.afterCalls[call]);
  }
}

const StubMode kViele(false);
const StubMode kSchneller(true);

TEST(MakeDis, WorkedExamplesCallByCall) {
  const std::vector<StepCase> cases = {
      // De Morgan on the root; hand-off to the first member; distribution with collapse;
      // descent into the first member, which removes the double negation.
      {"-(X1;v(X2;+-X3;))",
       {"(-(X2;+-X3;)+-X1;)", "((--X3;v-X2;)+-X1;)", "((--X3;+-X1;)v(-X2;+-X1;))",
        "((X3;+-X1;)v(-X1;+-X2;))"}},
      {"((X1;vX2;)+(X3;vX4;))", {"((X1;+X3;)v(X1;+X4;)v(X2;+X3;)v(X2;+X4;))"}},
      {"(X1;+(X2;vX3;)+X4;)",
       {"(((X2;+X4;)v(X3;+X4;))+X1;)", "(((X2;+X4;)+X1;)v((X3;+X4;)+X1;))", "((X1;+X2;+X4;)v((X3;+X4;)+X1;))",
        "((X1;+X3;+X4;)v(X1;+X2;+X4;))"}},
      // The x1==x2 document: one call multiplies the first clause with the last.
      {"((-X2;vX1;)+(-X1;vX2;))", {"((-X1;+-X2;)v(-X1;+X1;)v(X2;+-X2;)v(X2;+X1;))"}},
  };
  for (const auto& c : cases) ExpectSteps(c, Conversion::Dis, kViele);
}

TEST(MakeDis, WorkedExampleOneEndsInDisjunctiveFormAndSimplifiesToTheKnownText) {
  auto node = Sim("-(X1;v(X2;+-X3;))");
  for (int call = 0; call < 4; ++call) {
    bool alreadyDone = false;
    node->MakeDis(alreadyDone, kViele);
  }
  EXPECT_FALSE(node->NotDis());
  std::string before;
  do {
    before = node->Value();
    node->Simplify(kViele);
  } while (node->Value() != before);
  EXPECT_EQ(node->Value(), "((-X1;+-X2;)v(-X1;+X3;))");
}

TEST(MakeDis, EdgeCasesOfOneCall) {
  const std::vector<StepCase> cases = {
      {"X1;", {"X1;"}},
      {"C", {"C"}},
      {"-X1;", {"-X1;"}},
      {"--X1;", {"X1;"}},
      {"--(X1;+X2;)", {"(X1;+X2;)"}},
      {"-(X1;+X2;+X3;)", {"(-X1;v-X2;v-X3;)"}},
      // The operand is sorted by the opening simplification before De Morgan.
      {"-(X2;vX1;)", {"(-X1;+-X2;)"}},
      // Only the first nested member is dissolved; the last member moves into its place.
      {"((X2;+X3;)+(X4;+X5;)+X1;+X6;)", {"(X6;+(X4;+X5;)+X1;+X2;+X3;)"}},
      {"(X1;+(X2;+X3;))", {"(X1;+X2;+X3;)"}},
      {"(X1;v(X2;vX3;))", {"(X1;vX2;vX3;)"}},
      // Only the first disjunction, only against the last member; the rest waits.
      {"((X1;vX2;)+(X3;vX4;)+X5;)", {"(((X1;+X5;)v(X2;+X5;))+(X3;vX4;))"}},
      // One negation step per call, in the first negated compound member only.
      {"(-(X1;vX2;)v-(X3;vX4;))", {"((-X1;+-X2;)v-(X3;vX4;))"}},
      {"(X1;+---X2;)", {"(-X2;+X1;)"}},
      // Descent: a finished member reports True and the next one is visited; the first member
      // that reports False ends the call and later members stay as they are.
      {"((X1;+X2;)v(X3;+X4;+(X5;vX6;))v(X7;+X8;+(X1;vX2;)))",
       {"((X1;+X2;)v(((X5;+X4;)v(X6;+X4;))+X3;)v(X7;+(X1;vX2;)+X8;))"}},
  };
  for (const auto& c : cases) ExpectSteps(c, Conversion::Dis, kViele);
}

TEST(MakeDis, AlreadyDoneReportsFinishedNodes) {
  struct Case {
    const char* start;
    bool alreadyDone;
  };
  const Case cases[] = {
      {"C", true},          {"T", true},
      {"X1;", false},       {"-X1;", true},
      {"(X1;+-X2;)", true}, {"((X1;+X2;)v(-X3;+X4;))", true},
      {"--X1;", false},     {"((X1;vX2;)+X3;)", false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.start);
    auto node = Sim(c.start);
    bool alreadyDone = !c.alreadyDone;
    node->MakeDis(alreadyDone, kViele);
    EXPECT_EQ(alreadyDone, c.alreadyDone);
  }
}

TEST(MakeDis, DoubleNegationRemovalSharesTheOperandsMembers) {
  auto node = Sim("--(X1;+X2;)");
  auto x1 = node->SubFormel(0)->SubFormel(0)->SubFormel(0);
  auto x2 = node->SubFormel(0)->SubFormel(0)->SubFormel(1);
  bool alreadyDone = false;
  node->MakeDis(alreadyDone, kViele);
  ASSERT_EQ(node->Value(), "(X1;+X2;)");
  EXPECT_EQ(node->SubFormel(0), x1);
  EXPECT_EQ(node->SubFormel(1), x2);
}

TEST(MakeDis, SingleDisjunctionLeftByTheOpeningSimplificationIsTakenOver) {
  // Call 1 turns (X3;v-X3;) into T and distributes against X4; call 2's simplification
  // removes T and leaves the "+" node with the disjunction as its only member.
  ExpectSteps({"((X1;vX2;)+(X3;v-X3;)+X4;)", {"(((X1;+X4;)v(X2;+X4;))+T)", "((X1;+X4;)v(X2;+X4;))"}},
              Conversion::Dis, kViele);
}

TEST(MakeDis, SchnellerVereinfachenSortsCompletelyBeforeTheRewrite) {
  const std::vector<StepCase> cases = {
      {"(X4;+(X3;vX2;)+X1;)", {"(((X2;+X4;)v(X3;+X4;))+X1;)"}},
      {"-(X3;vX2;vX1;)", {"(-X1;+-X2;+-X3;)"}},
  };
  for (const auto& c : cases) ExpectSteps(c, Conversion::Dis, kSchneller);
}

TEST(MakeKon, WorkedExampleFourCallByCall) {
  ExpectSteps({"((X1;+X2;)v(X3;+X4;)vX5;)",
               {"(((X1;vX5;)+(X2;vX5;))v(X3;+X4;))",
                "(((X1;vX5;)vX3;)+((X1;vX5;)vX4;)+((X2;vX5;)vX3;)+((X2;vX5;)vX4;))",
                "((X3;vX1;vX5;)+((X1;vX5;)vX4;)+((X2;vX5;)vX3;)+((X2;vX5;)vX4;))",
                "((X4;vX1;vX5;)+((X2;vX5;)vX3;)+((X2;vX5;)vX4;)+(X3;vX1;vX5;))",
                "((X3;vX2;vX5;)+((X2;vX5;)vX4;)+(X3;vX1;vX5;)+(X4;vX1;vX5;))",
                "((X4;vX2;vX5;)+(X3;vX1;vX5;)+(X3;vX2;vX5;)+(X4;vX1;vX5;))"}},
              Conversion::Kon, kViele);
}

TEST(MakeKon, CrossProductSharesTheFactorObject) {
  auto node = Sim("((X1;+X2;)v(X3;+X4;)vX5;)");
  bool alreadyDone = false;
  node->MakeKon(alreadyDone, kViele);
  node->MakeKon(alreadyDone, kViele);
  ASSERT_EQ(node->Count(), 4);
  EXPECT_EQ(node->SubFormel(0)->SubFormel(0), node->SubFormel(1)->SubFormel(0));
  EXPECT_EQ(node->SubFormel(2)->SubFormel(0), node->SubFormel(3)->SubFormel(0));
  EXPECT_NE(node->SubFormel(0)->SubFormel(0), node->SubFormel(2)->SubFormel(0));
}

TEST(MakeKon, EdgeCasesOfOneCall) {
  const std::vector<StepCase> cases = {
      {"X1;", {"X1;"}},
      {"T", {"T"}},
      // Negations are always finished for the conjunctive step.
      {"-(X1;+X2;)", {"-(X1;+X2;)"}},
      {"--X1;", {"--X1;"}},
      // The x1==x2 document: the first conjunction against the last, then the collapse.
      {"((-X1;+-X2;)v(X1;+X2;))", {"((-X1;vX1;)+(-X1;vX2;)+(-X2;vX1;)+(-X2;vX2;))"}},
      {"((X2;+X3;)vX1;)", {"((X2;vX1;)+(X3;vX1;))"}},
      {"((X1;+X2;)+X3;)", {"(X3;+X1;+X2;)"}},
      {"(X1;v(X2;vX3;)v(X4;vX5;))", {"(X1;v(X4;vX5;)vX2;vX3;)"}},
  };
  for (const auto& c : cases) ExpectSteps(c, Conversion::Kon, kViele);
}

TEST(MakeKon, SingleConjunctionLeftByTheOpeningSimplificationIsTakenOver) {
  ExpectSteps({"((X1;+X2;)v(X3;+-X3;)vX4;)", {"(((X1;vX4;)+(X2;vX4;))vC)", "((X1;vX4;)+(X2;vX4;))"}},
              Conversion::Kon, kViele);
}

TEST(MakeKon, NegationOverCompoundReportsFinished) {
  auto node = Sim("-(X1;+X2;)");
  bool alreadyDone = false;
  node->MakeKon(alreadyDone, kViele);
  EXPECT_TRUE(alreadyDone);
}

// The x1==x2 document's simplification loops, call by call.
TEST(Simplify, DocumentOfEquivalenceCallByCall) {
  auto dis = Sim("((-X1;+-X2;)v(-X1;+X1;)v(X2;+-X2;)v(X2;+X1;))");
  const char* disSteps[] = {"((-X1;+-X2;)vCvCv(X1;+X2;))", "((-X1;+-X2;)v(X1;+X2;))",
                            "((-X1;+-X2;)v(X1;+X2;))"};
  for (const char* expected : disSteps) {
    dis->Simplify(kViele);
    EXPECT_EQ(dis->Value(), expected);
  }
  auto kon = Sim("((-X1;vX1;)+(-X1;vX2;)+(-X2;vX1;)+(-X2;vX2;))");
  const char* konSteps[] = {"(T+(-X1;vX2;)+(-X2;vX1;)+T)", "((-X1;vX2;)+(-X2;vX1;))",
                            "((-X1;vX2;)+(-X2;vX1;))"};
  for (const char* expected : konSteps) {
    kon->Simplify(kViele);
    EXPECT_EQ(kon->Value(), expected);
  }
}

TEST(Sharing, ReorderedSharedFactorShowsEverywhereInTheNextText) {
  // The opening simplification sorts the last member to ((X5;+X4;)vX3;) without descending,
  // so the distribution shares the unsorted (X5;+X4;) between two new conjunctions.
  auto node = Sim("((X1;vX2;)+(X3;v(X5;+X4;)))");
  bool alreadyDone = false;
  node->MakeDis(alreadyDone, kViele);
  ASSERT_EQ(node->Value(), "((X1;+(X5;+X4;))v(X1;+X3;)v(X2;+(X5;+X4;))v(X2;+X3;))");
  auto shared = node->SubFormel(0)->SubFormel(1);
  ASSERT_EQ(shared, node->SubFormel(2)->SubFormel(1));
  shared->Simplify(kViele);
  EXPECT_EQ(node->Value(), "((X1;+(X4;+X5;))v(X1;+X3;)v(X2;+(X4;+X5;))v(X2;+X3;))");
}

TEST(Sharing, SharedNodeRewrittenByTheDescentChangesAtBothPlaces) {
  // After the cross product, (X1;vX5;) is one object in two clauses: an in-place change of it
  // shows at both places.
  auto node = Sim("((X2;+X1;)v(X3;+X4;)vX5;)");
  bool alreadyDone = false;
  node->MakeKon(alreadyDone, kSchneller);
  node->MakeKon(alreadyDone, kSchneller);
  ASSERT_EQ(node->Value(), "(((X1;vX5;)vX3;)+((X1;vX5;)vX4;)+((X2;vX5;)vX3;)+((X2;vX5;)vX4;))");
  auto shared = node->SubFormel(0)->SubFormel(0);
  shared->SetOperation("+");
  EXPECT_EQ(node->Value(), "(((X1;+X5;)vX3;)+((X1;+X5;)vX4;)+((X2;vX5;)vX3;)+((X2;vX5;)vX4;))");
}

// (X1v...vX33)+(X34v...vX66)+(X67v...vX99): the first distribution gives 33 * 33 terms,
// the second would give 1089 * 33 > 32767 members to one node.
SimFormel::Ptr ThreeLongDisjunctions() {
  std::string text = "(";
  for (int group = 0; group < 3; ++group) {
    if (group > 0) text += "+";
    text += "(";
    for (int k = 1; k <= 33; ++k) {
      if (k > 1) text += "v";
      text += "X" + std::to_string(group * 33 + k) + ";";
    }
    text += ")";
  }
  return Sim(text + ")");
}

TEST(MemberLimit, StepwiseDistributionStopsWithTooLargeInTheSecondCall) {
  auto node = ThreeLongDisjunctions();
  bool alreadyDone = false;
  ASSERT_NO_THROW(node->MakeDis(alreadyDone, kViele));
  ASSERT_EQ(node->SubFormel(0)->Count(), 33 * 33);
  try {
    node->MakeDis(alreadyDone, kViele);
    FAIL() << "the second distribution must exceed the member limit";
  } catch (const RunError& error) {
    EXPECT_EQ(error.kind(), RunError::Kind::TooLarge);
    EXPECT_NE(std::string(error.what()), "");
  }
}

TEST(MemberLimit, DirectDistributionStopsWithTooLargeInTheSecondCall) {
  auto node = ThreeLongDisjunctions();
  ASSERT_NO_THROW(node->MakeDisDirect(true));
  ASSERT_EQ(node->SubFormel(0)->Count(), 33 * 33);
  try {
    node->MakeDisDirect(true);
    FAIL() << "the second distribution must exceed the member limit";
  } catch (const RunError& error) {
    EXPECT_EQ(error.kind(), RunError::Kind::TooLarge);
  }
}

}  // namespace
}  // namespace umbrix
