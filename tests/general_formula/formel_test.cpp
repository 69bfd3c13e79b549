// The general formula: the parser's trees, the operator levels and the two text forms.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "general_formula/formel.hpp"
#include "support/case_table.hpp"
#include "utilities/run_error.hpp"

namespace umbrix {
namespace {

// The tree as op[child,child,...]; leaves print their text, the empty leaf as <>.
std::string Tree(const Formel& node) {
  if (node.Count() == 0) return node.Operation().empty() ? "<>" : node.Operation();
  std::string text = node.Operation() + "[";
  for (std::int16_t k = 0; k < node.Count(); ++k) {
    if (k > 0) text += ",";
    text += Tree(node.SubFormel(k));
  }
  return text + "]";
}

std::string ParsedTree(const std::string& text) {
  Formel formel;
  formel.SetValue(text);
  return Tree(formel);
}

struct ParseCase {
  std::string input;
  std::string tree;
};

TEST(FormelParser, SampleFormulasGiveTheirTrees) {
  const std::vector<ParseCase> cases = {
      {"-x2+x1", "+[-[2],1]"},      {"x1v(x2+x3)", "v[1,([+[2,3]]]"},
      {"x1<=x2vx3", "<[1,v[2,3]]"}, {"x1==x2+x3", "=[1,+[2,3]]"},
      {"x1=>x2", ">[1,2]"},
  };
  test::ExpectEachRow(cases, ParsedTree);
}

TEST(FormelParser, PrecedenceFromNegationOutToEquivalence) {
  const std::vector<ParseCase> cases = {
      {"-x1+x2", "+[-[1],2]"},
      {"x1+x2vx3", "v[+[1,2],3]"},
      {"x1vx2+x3", "v[1,+[2,3]]"},
      {"x1=>x2vx3", ">[1,v[2,3]]"},
      {"x1==x2=>x3", "=[1,>[2,3]]"},
      {"x1<=x2==x3", "=[<[1,2],3]"},
      {"x1+x2vx3+x4", "v[+[1,2],+[3,4]]"},
      {"-x1v-x2", "v[-[1],-[2]]"},
      {"-(x1+x2)", "-[([+[1,2]]]"},
  };
  test::ExpectEachRow(cases, ParsedTree);
}

TEST(FormelParser, ChainsOfOneLevelBecomeOneNaryNode) {
  const std::vector<ParseCase> cases = {
      {"x1+x2+x3", "+[1,2,3]"},
      {"x1vx2vx3vx4", "v[1,2,3,4]"},
      {"x1==x2==x3", "=[1,2,3]"},
  };
  test::ExpectEachRow(cases, ParsedTree);
  // The member count is a 16-bit number: one member more than it holds stops the parse.
  for (const char* connective : {"+", "v", "=="}) {
    SCOPED_TRACE(connective);
    std::string chain = "x1";
    for (std::size_t k = 1; k < kMaxMembers; ++k) (chain += connective) += "x1";
    Formel formel;
    formel.SetValue(chain);
    EXPECT_EQ(formel.Count(), static_cast<std::int16_t>(kMaxMembers));
    chain += std::string(connective) + "x2";
    try {
      formel.SetValue(chain);
      ADD_FAILURE() << "a chain beyond the member limit must stop";
    } catch (const RunError& error) {
      EXPECT_EQ(error.kind(), RunError::Kind::TooLarge);
    }
  }
}

TEST(FormelParser, CleaningAndSpellingVariants) {
  const std::vector<ParseCase> cases = {
      {"", "<>"},          {"--x1", "1"},           {"---x1", "-[1]"},   {"-(-x1)", "-[([-[1]]]"},
      {"X1VX2", "v[1,2]"}, {"x1<x2", "<[1,2]"},     {"x1=x2", "=[1,2]"}, {"x1>x2", ">[1,2]"},
      {"(x1)", "([1]"},    {"((x12))", "([([12]]"}, {"12+3", "+[12,3]"},
  };
  test::ExpectEachRow(cases, ParsedTree);
}

TEST(FormelParser, NewValueReplacesTheWholeTree) {
  Formel formel;
  formel.SetValue("x1+x2+x3");
  formel.SetValue("x4");
  EXPECT_EQ(Tree(formel), "4");
  EXPECT_EQ(formel.Count(), 0);
}

TEST(FormelTree, NewNodeIsEmptyAndItsTrailingPositionReadsEmpty) {
  Formel formel;
  EXPECT_EQ(formel.Operation(), "");
  EXPECT_EQ(formel.Count(), 0);
  EXPECT_EQ(formel.Stufe(), Level::kEmpty);
  EXPECT_EQ(formel.SubFormel(0).Operation(), "");
  EXPECT_EQ(formel.Count(), 0);
  EXPECT_THROW(formel.SubFormel(1), std::out_of_range);
}

TEST(FormelTree, LevelsOfParsedNodes) {
  Formel formel;
  formel.SetValue("x12");
  EXPECT_EQ(formel.Operation(), "12");
  EXPECT_EQ(formel.Stufe(), Level::kAtom);

  formel.SetValue("x1==x2+x3");
  EXPECT_EQ(formel.Operation(), "=");
  EXPECT_EQ(formel.Stufe(), Level::kEquivalent);
  EXPECT_EQ(formel.Count(), 2);
  EXPECT_EQ(formel.SubFormel(1).Operation(), "+");
  EXPECT_EQ(formel.SubFormel(1).Stufe(), Level::kAnd);

  formel.SetValue("x1<=x2vx3");
  EXPECT_EQ(formel.Stufe(), Level::kArrow);
  formel.SetValue("x1=>x2");
  EXPECT_EQ(formel.Operation(), ">");
  EXPECT_EQ(formel.Stufe(), Level::kArrow);
  formel.SetValue("(x1)");
  EXPECT_EQ(formel.Stufe(), Level::kAtom);
  formel.SetValue("-x1");
  EXPECT_EQ(formel.Stufe(), Level::kNot);
}

TEST(FormelOperatorLevel, FirstCharacterDecidesAndEqualsLooksAtTheSecond) {
  const std::vector<std::pair<std::string, Level>> cases = {
      {"", Level::kEmpty},       {"-", Level::kNot},         {"+x2", Level::kAnd},
      {"v", Level::kOr},         {"<=x2", Level::kArrow},    {"<", Level::kArrow},
      {">", Level::kArrow},      {"=>x2", Level::kArrow},    {"==x2", Level::kEquivalent},
      {"=", Level::kEquivalent}, {"=x", Level::kEquivalent}, {"(x1)", Level::kAtom},
      {"12", Level::kAtom},      {"V", Level::kAtom},        {"C", Level::kAtom},
      {"T", Level::kAtom},
  };
  test::ExpectEachRow(cases, Formel::OperatorLevel);
}

TEST(FormelText, MarkedAndPlainForms) {
  struct Case {
    const char* input;
    const char* marked;
    const char* plain;
  };
  const Case cases[] = {
      {"-x2+x1", "-X2;+X1;", "-X2+X1"},
      {"x1v(x2+x3)", "X1;v(X2;+X3;)", "X1v(X2+X3)"},
      {"x1<=x2vx3", "X1;<=X2;vX3;", "X1<=X2vX3"},
      {"x1==x2+x3", "X1;==X2;+X3;", "X1==X2+X3"},
      {"x1=>x2", "X1;=>X2;", "X1=>X2"},
      {"x1<x2", "X1;<=X2;", "X1<=X2"},
      {"x1=x2", "X1;==X2;", "X1==X2"},
      {"((x12))", "((X12;))", "((X12))"},
      {"", "X;", "X"},
      {"x1==x2==x3", "X1;==X2;==X3;", "X1==X2==X3"},
      {"---x1", "-X1;", "-X1"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.input);
    Formel formel;
    formel.SetValue(c.input);
    EXPECT_EQ(formel.FormelText(), c.marked);
    EXPECT_EQ(formel.Value(), c.plain);
  }
}

TEST(FormelText, PlainFormParsesBackToTheSameTree) {
  for (const std::string input :
       {"-x2+x1", "x1v(x2+x3)", "x1<x2vx3", "(x1=x2)=>-(x3+x4)", "x1+x2vx3+x4", "((x12))"}) {
    SCOPED_TRACE(input);
    Formel first;
    first.SetValue(input);
    Formel second;
    second.SetValue(first.Value());
    EXPECT_EQ(Tree(second), Tree(first));
    EXPECT_EQ(second.FormelText(), first.FormelText());
  }
}

}  // namespace
}  // namespace umbrix
