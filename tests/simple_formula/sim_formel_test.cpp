// The simple formula tree: copy from a reduced general formula, text form, sharing through
// Add, and the two normal form tests.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "general_formula/formel.hpp"
#include "sim_text.hpp"
#include "support/case_table.hpp"

namespace umbrix {
namespace {

using test::Sim;

// Parses and reduces an input line as the run does, then copies it.
std::string CopiedValue(const std::string& line) {
  Formel formel;
  formel.SetValue(line);
  for (int guard = 0; formel.NotSimForm() && guard < 100; ++guard) formel.MakeSimForm();
  SimFormel copy;
  copy.MakeCopy(formel);
  return copy.Value();
}

TEST(SimFormelCopy, ReducedSampleFormulasGiveTheirTextForms) {
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"-x2+x1", "(-X2;+X1;)"},
      {"x1v(x2+x3)", "(X1;v(X2;+X3;))"},
      {"x1=>x2", "(-X1;vX2;)"},
      {"x1<=x2vx3", "(-(X2;vX3;)vX1;)"},
      {"x1==x2+x3", "((-(X2;+X3;)vX1;)+(-X1;v(X2;+X3;)))"},
      {"x1==x2", "((-X2;vX1;)+(-X1;vX2;))"},
  };
  test::ExpectEachRow(cases, CopiedValue);
}

TEST(SimFormelCopy, GroupsAreDroppedButNotFlattened) {
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"((x1))", "X1;"},   {"(x1+x2)+x3", "((X1;+X2;)+X3;)"}, {"x1v(x2vx3)", "(X1;v(X2;vX3;))"},
      {"-(-x1)", "--X1;"}, {"-((x1+x2))", "-(X1;+X2;)"},
  };
  test::ExpectEachRow(cases, CopiedValue);
}

TEST(SimFormelCopy, LeafBecomesVariableWithoutMembers) {
  Formel formel;
  formel.SetValue("x7");
  SimFormel copy;
  copy.MakeCopy(formel);
  EXPECT_EQ(copy.Operation(), "7");
  EXPECT_EQ(copy.Count(), 0);
  EXPECT_EQ(copy.Stufe(), Level::kAtom);
  EXPECT_EQ(copy.Value(), "X7;");
}

TEST(SimFormelCopy, ReplacesThePreviousContentEntirely) {
  SimFormel copy;
  Formel formel;
  formel.SetValue("x1+x2+x3");
  copy.MakeCopy(formel);
  formel.SetValue("x4");
  copy.MakeCopy(formel);
  EXPECT_EQ(copy.Value(), "X4;");
  EXPECT_EQ(copy.Count(), 0);
}

TEST(SimFormelText, NodesPrintAsSpecifiedIncludingDegenerateOnes) {
  SimFormel empty;
  EXPECT_EQ(empty.Value(), "X;");
  EXPECT_EQ(empty.Stufe(), Level::kEmpty);

  SimFormel memberlessAnd("+");
  EXPECT_EQ(memberlessAnd.Value(), "(X;)");
  memberlessAnd.SubFormel(0)->SetOperation("5");  // the text reads the trailing position
  EXPECT_EQ(memberlessAnd.Value(), "(X5;)");
  SimFormel memberlessOr("v");
  EXPECT_EQ(memberlessOr.Value(), "(X;)");

  SimFormel single("+");
  single.Add(std::make_shared<SimFormel>("1"));
  EXPECT_EQ(single.Value(), "(X1;)");

  EXPECT_EQ(SimFormel("C").Value(), "C");
  EXPECT_EQ(SimFormel("T").Value(), "T");
  EXPECT_EQ(SimFormel("C").Stufe(), Level::kAtom);
  EXPECT_EQ(SimFormel("-").Stufe(), Level::kNot);
  EXPECT_EQ(SimFormel("+").Stufe(), Level::kAnd);
  EXPECT_EQ(SimFormel("v").Stufe(), Level::kOr);
}

TEST(SimFormelText, FormelTextAndValueAgreeAndRoundTrip) {
  for (const std::string text : {"((X1;+X2;)v-(X3;vC)vT)", "-X12;", "(X10;vX1;)"}) {
    SCOPED_TRACE(text);
    auto node = Sim(text);
    EXPECT_EQ(node->FormelText(), text);
    EXPECT_EQ(node->Value(), text);
  }
}

TEST(SimFormelAdd, StoresTheNodeItselfSoLaterChangesShow) {
  auto shared = Sim("(X1;+X2;)");
  SimFormel root("v");
  root.Add(shared);
  root.Add(shared);
  EXPECT_EQ(root.SubFormel(0), shared);
  EXPECT_EQ(root.SubFormel(1), shared);
  EXPECT_EQ(root.Value(), "((X1;+X2;)v(X1;+X2;))");
  shared->SetOperation("v");
  EXPECT_EQ(root.Value(), "((X1;vX2;)v(X1;vX2;))");
  shared->SubFormel(0)->SetOperation("7");  // two levels below the text read before
  EXPECT_EQ(root.Value(), "((X7;vX2;)v(X7;vX2;))");
}

TEST(SimFormelSubFormel, TrailingPositionIsEmptyAndBeyondThrows) {
  auto node = Sim("(X1;+X2;)");
  EXPECT_EQ(node->SubFormel(2)->Operation(), "");
  EXPECT_EQ(node->Count(), 2);
  EXPECT_THROW(node->SubFormel(3), std::out_of_range);
}

TEST(SimFormelNormalForms, NotDisAndNotKonJudgeShapesStructurally) {
  struct Case {
    const char* formula;
    bool notDis;
    bool notKon;
  };
  const Case cases[] = {
      {"X1;", false, false},
      {"C", false, false},
      {"T", false, false},
      {"-X1;", false, false},
      {"-C", false, false},
      {"-(X1;vX2;)", true, true},
      {"--X1;", true, true},
      {"(X1;vX2;)", false, false},
      {"(X1;+-X2;)", false, false},
      {"((X1;+X2;)vX3;)", false, true},
      {"((X1;vX2;)+X3;)", true, false},
      {"((X1;+X2;)v(X3;+-X4;))", false, true},
      {"(X1;v(X2;vX3;))", true, true},
      {"((X1;v(X2;+X3;))+X4;)", true, true},
      {"(-(X1;+X2;)vX3;)", true, true},
      {"((X1;+X2;)+X3;)", true, true},
      {"((X1;+--X2;)vX3;)", true, true},
      {"((X1;v-X2;)+(X3;vC))", true, false},
      {"((X1;+(X2;vX3;))vX4;)", true, true},
      {"(X1;+X2;+-X3;)", false, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.formula);
    auto node = Sim(c.formula);
    EXPECT_EQ(node->NotDis(), c.notDis);
    EXPECT_EQ(node->NotKon(), c.notKon);
    EXPECT_EQ(node->Value(), c.formula) << "the tests must not change the tree";
  }
}

}  // namespace
}  // namespace umbrix
