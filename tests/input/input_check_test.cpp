// The check before a run: every bad line is reported with its line and column.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "input/input_check.hpp"

namespace umbrix {
namespace {

TEST(CheckInput, AcceptsTheSyntaxOfTheHelpText) {
  for (const std::string text :
       {"", "-x2+x1\r\nx1v(x2+x3)\r\nx1<=x2vx3\r\nx1==x2+x3\r\nx1=>x2\r\n", "X99", "1+2", "x1 < = x2",
        "x1<x2", "x1>x2", "x1=x2", "X1VX2", "--x1", "-(-x1)", "x1==x2==x3", "(x1=>x2)=>x3", "x1=>(x2=>x3)",
        "x1=>x2==x3=>x4", "\r\n\r\nx1\r\n\r\n", "   ", "((((x1))))",
        // Exercise-sheet notation: letters, symbols, both with blanks; a lone x is the empty formula.
        "(p ∨ q) ∧ ¬r", "A -> (B & !C)", "a<->b", "a==b=c", "(a↔b)↔c", "a↔(b↔c)", "~x | Y", "p ⇐ q ⇔ r", "p ← (q → r)", "¬x1 ∧ x2", "x",
        " X ", "x+y", "(x)", "p<-q", "x1<-x2", "x1 - > x2", "a < - > b", "¬¬p", "p\r\nx1"}) {
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
      // Columns count characters, not bytes.
      {"¬p ∧ ⊕q", 1, 6},
      {"p → q → r", 1, 7},
      {"¬¬¬ ab", 1, 5},
      {"p ∧ x1", 1, 5},
      {"(p ↔ q", 1, 1},
      {"p ∧", 1, 4},
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
  for (const std::string text :
       {"(", "x1+(", "x1===x2", "x0", "x100", "x 100", "x 1 2 3", "xx", "x1=>", "-", "()", "x1<=>x2",
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

// Each mistake is answered with what was typed and, where likely, what to type instead.
TEST(CheckInput, MistakesAreNamedAndExplained) {
  const std::vector<std::pair<std::string, std::vector<std::string>>> cases = {
      {"p xor q", {"\"xor\"", "(a+-b)v(-a+b)"}},
      {"p ⊕ q", {"\"⊕\" (U+2295)", "xor"}},
      {"a NAND b", {"\"NAND\"", "-(a+b)"}},
      {"a nor b", {"\"nor\"", "-(avb)"}},
      {"p and q", {"\"and\"", "+"}},
      {"p + true", {"\"true\"", "Konstanten gibt es in der Eingabe nicht"}},
      {"p ∧ ⊤", {"\"⊤\"", "Konstanten"}},
      {"x1 + 0", {"\"0\"", "Konstanten", "1 bis 99"}},
      {"p + 1", {"\"1\"", "Konstanten", "X1"}},
      {"ab + c", {"\"ab\"", "einzelner Buchstabe", "a+b", "avb"}},
      {"x0", {"\"0\"", "1 bis 99"}},
      {"x100", {"\"100\"", "1 bis 99"}},
      {"x 373", {"\"373\"", "1 bis 99"}},
      {"x07", {"\"07\"", "führende Null"}},
      {"p ∧ x1", {"\"x1\"", "\"p\"", "Buchstaben", "X1 bis X99"}},
      {"p ≡ q", {"\"≡\"", "=="}},
      {"p <=> q", {"\"<=>\"", "=="}},
      {"v + p", {"\"v\"", "oder"}},
      {"p ^ q", {"\"^\"", "und"}},
      {"p\xA0+ q", {"0xA0", "UTF-8"}},
      {"p\u00A0+ q", {"U+00A0", "Leerzeichen"}},
      {"x1\t+x2", {"Tabulator"}},
      {"¬p ¬", {"\"¬\"", "nicht"}},
      {"p →", {"nach \"→\""}},
      {"→ q", {"Vor \"→\""}},
      {"p ← q -> r", {"\"←\" und \"->\"", "Klammern"}},
      // Arrows chained as in logic lessons: both readings are offered.
      {"a↔b↔c", {"\"↔\" und \"↔\"", "(a↔b)↔c", "a==b==c", "alle gleich"}},
      {"p <-> q <-> r", {"\"<->\" und \"<->\"", "(a<->b)<->c", "a==b==c"}},
      {"x1⇔x2⇔x3", {"(X1⇔X2)⇔X3", "X1==X2==X3"}},
      {"a==b↔c", {"\"==\" und \"↔\"", "(a↔b)↔c"}},
      // Notations of other courses.
      {"a' + b", {"\"'\"", "-a"}},
      {"a ↑ b", {"\"↑\"", "nand", "-(a+b)"}},
      {"a ↓ b", {"\"↓\"", "nor", "-(avb)"}},
      {"a, b", {"\",\"", "eigene Zeilen"}},
      {"a Λ b", {"Lambda", "und"}},
      {"(u ∧ v) ∨ w", {"\"v\" ist das Zeichen", "anderen Buchstaben, zum Beispiel y"}},
      {"x" + std::string(1000000, '1'), {"\"" + std::string(40, '1') + "…\""}},
  };
  for (const auto& [text, fragments] : cases) {
    SCOPED_TRACE(text.substr(0, 50));
    const auto problems = CheckInput(text);
    ASSERT_EQ(problems.size(), 1u);
    for (const std::string& fragment : fragments)
      EXPECT_NE(problems[0].message.find(fragment), std::string::npos) << problems[0].message;
    EXPECT_LT(problems[0].message.size(), 400u);
  }
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
