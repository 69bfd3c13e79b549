// Whole documents, byte for byte, against files written by hand.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "test_platform.hpp"
#include "utilities/std_text.hpp"

namespace umbrix {
namespace {

using test::ReadFile;
using test::RunDocument;

std::string Expected(const std::string& name) {
  const std::string bytes = ReadFile(std::string(UMBRIX_TEST_DATA) + "/" + name);
  EXPECT_FALSE(bytes.empty()) << "missing data file " << name;
  return bytes;
}

TEST(Document, SingleVariableIsTheTwentyEightLineFrame) {
  for (const OptionInfo& option : kOptionTable) {
    SCOPED_TRACE(option.caption);
    EXPECT_EQ(RunDocument("x1", option.entry), Expected("X1.TEX"));
  }
}

TEST(Document, EquivalenceWithVieleZwischenschritte) {
  EXPECT_EQ(RunDocument("x1==x2", OptionEntry::kManySteps), Expected("X1EQX2_VIELE.TEX"));
}

TEST(Document, EquivalenceMergesInOneChangingCallWhenFastOrDirect) {
  EXPECT_EQ(RunDocument("x1==x2", OptionEntry::kFastSimplify), Expected("X1EQX2_SCHNELL.TEX"));
  EXPECT_EQ(RunDocument("x1==x2", OptionEntry::kFewSteps), Expected("X1EQX2_SCHNELL.TEX"));
}

TEST(Document, TwoFormulasGetHeadingsAndVerticalSpace) {
  for (const OptionInfo& option : kOptionTable) {
    SCOPED_TRACE(option.caption);
    EXPECT_EQ(RunDocument("x1\r\nx1=>x2", option.entry), Expected("TWO.TEX"));
  }
}

TEST(Document, TrailingLineBreakAddsNoFormula) {
  EXPECT_EQ(RunDocument("x1\r\nx1=>x2\r\n", OptionEntry::kManySteps), Expected("TWO.TEX"));
}

TEST(Document, BlanksAndCaseDoNotMatter) {
  EXPECT_EQ(RunDocument(" X 1 ", OptionEntry::kManySteps), Expected("X1.TEX"));
  EXPECT_EQ(RunDocument("x1\r\n\r\nX1 = > x2", OptionEntry::kManySteps), Expected("TWO.TEX"));
}

TEST(Document, EmptyInputGivesPreambleAndEnd) {
  EXPECT_EQ(RunDocument("", OptionEntry::kManySteps), Expected("EMPTY.TEX"));
  // A lone line break is one empty line between the framing ones: one empty formula.
  EXPECT_NE(RunDocument("\r\n", OptionEntry::kManySteps).find("\\begin{document}\r\n$X_{}$\r\n"),
            std::string::npos);
}

// Letters and symbols as exercise sheets write them; the document shows each letter as it
// first appears in the input.
TEST(Document, ExerciseSheetNotationKeepsItsLetters) {
  const std::vector<std::pair<std::string, std::string>> firstLines = {
      {"(p ∨ q) ∧ ¬r", "$(p\\vee q)\\wedge \\neg r$"},
      {"A -> (B & !C)", "$A\\rightarrow (B\\wedge \\neg C)$"},
      {"a <-> b", "$a\\leftrightarrow b$"},
      {"~x | Y", "$\\neg x\\vee Y$"},
      {"p ⇐ q ⇔ r", "$p\\leftarrow q\\leftrightarrow r$"},
      {"q+p+Q", "$q\\wedge p\\wedge q$"},
      {"p<-q", "$p\\leftarrow \\neg q$"},
      {"¬x1 ∧ x2", "$\\neg X_{1}\\wedge X_{2}$"},
      {"x", "$X_{}$"},
  };
  for (const auto& [input, firstLine] : firstLines) {
    SCOPED_TRACE(input);
    const std::string document = RunDocument(input, OptionEntry::kManySteps);
    EXPECT_NE(document.find("\\begin{document}\r\n" + firstLine + "\r\n"), std::string::npos) << document;
  }
  // Whole documents: a letter line is the line of X-indexes from 11 on, in alphabetical order,
  // with each X_{index} shown as its letter; a line of X-indexes in the same input keeps them.
  for (const OptionInfo& option : kOptionTable) {
    SCOPED_TRACE(option.caption);
    std::string expected = RunDocument("x12v-x11\r\nx1=>x2", option.entry);
    expected = ReplaceAll(expected, {"X_{11}", "a", "X_{12}", "B"});
    EXPECT_EQ(RunDocument("B v ¬a\r\nx1 → x2", option.entry), expected);
  }
}

}  // namespace
}  // namespace umbrix
