// The check before a run: every bad line is reported with its line and column.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "frontend/input_check.hpp"

namespace umbrix {
namespace {

TEST(CheckInput, AcceptsTheSyntaxOfTheHelpText) {
  for (const std::string text :
       {"", "-x2+x1\r\nx1v(x2+x3)\r\nx1<=x2vx3\r\nx1==x2+x3\r\nx1=>x2\r\n", "X99", "1+2", "x1 < = x2",
        "x1<x2", "x1>x2", "x1=x2", "X1VX2", "--x1", "-(-x1)", "x1==x2==x3", "(x1=>x2)=>x3", "x1=>(x2=>x3)",
        "x1=>x2==x3=>x4", "\r\n\r\nx1\r\n\r\n", "   ", "((((x1))))"}) {
    SCOPED_TRACE(text);
    EXPECT_TRUE(CheckInput(text).empty()) << DescribeProblems(CheckInput(text));
  }
}

TEST(CheckInput, ReportsLineAndColumnOfTheFirstProblem) {
  struct Case {
    std::string text;
    int line;
    int column;
  };
  const std::vector<Case> cases = {
      {"x1++x2", 1, 4},
      {"x1\r\nx1++x2", 2, 4},
      {"x1)", 1, 3},
      {"x1+a", 1, 4},
      {"x1=>x2=>x3", 1, 7},
      {"x1<=x2=>x3", 1, 7},
      {"x1\r\n\r\nx2+)", 3, 4},
      {"x1x2", 1, 3},
      {"(x1)(x2)", 1, 5},
      {"+x1", 1, 1},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    const auto problems = CheckInput(c.text);
    ASSERT_EQ(problems.size(), 1u);
    EXPECT_EQ(problems[0].line, c.line);
    EXPECT_EQ(problems[0].column, c.column);
    EXPECT_FALSE(problems[0].message.empty());
  }
}

TEST(CheckInput, RejectsWhatTheReductionCannotMeanOrTheParserCannotRead) {
  for (const std::string text : {"(", "x1+(", "x1===x2", "x0", "x100", "x", "x1=>", "-", "()", "x1<=>x2",
                                 "x1=>x2=>x3", "x1<=x2<=x3", "x1vx2=>x3+x4=>x5", "x1\tx2", "x1,x2"}) {
    SCOPED_TRACE(text);
    EXPECT_EQ(CheckInput(text).size(), 1u);
  }
}

TEST(CheckInput, EveryBadLineIsListed) {
  const auto problems = CheckInput("x1+\r\nx2\r\n)x3\r\nx4");
  ASSERT_EQ(problems.size(), 2u);
  EXPECT_EQ(problems[0].line, 1);
  EXPECT_EQ(problems[1].line, 3);
  const std::string message = DescribeProblems(problems);
  EXPECT_NE(message.find("Zeile 1"), std::string::npos);
  EXPECT_NE(message.find("Zeile 3"), std::string::npos);
}

TEST(CheckInput, ChainsAskForParentheses) {
  const auto problems = CheckInput("x1=>x2=>x3");
  ASSERT_EQ(problems.size(), 1u);
  EXPECT_NE(problems[0].message.find("Klammer"), std::string::npos);
}

TEST(CheckInput, NestingIsLimitedToOneHundredLevels) {
  auto nested = [](int depth) { return std::string(depth, '(') + "x1" + std::string(depth, ')'); };
  EXPECT_TRUE(CheckInput(nested(kMaxNesting)).empty());
  const auto problems = CheckInput(nested(kMaxNesting + 1));
  ASSERT_EQ(problems.size(), 1u);
  EXPECT_EQ(problems[0].column, kMaxNesting + 1);
  EXPECT_TRUE(CheckInput(std::string(100000, '(')).size() == 1u);
}

}  // namespace
}  // namespace umbrix
