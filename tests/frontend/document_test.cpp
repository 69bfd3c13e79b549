// Whole documents, byte for byte, against files written by hand.
#include <gtest/gtest.h>

#include <string>

#include "test_platform.hpp"

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
  for (int option : {0, 1, 2}) {
    SCOPED_TRACE(option);
    EXPECT_EQ(RunDocument("x1", option), Expected("X1.TEX"));
  }
}

TEST(Document, EquivalenceWithVieleZwischenschritte) {
  EXPECT_EQ(RunDocument("x1==x2", 0), Expected("X1EQX2_VIELE.TEX"));
}

TEST(Document, EquivalenceMergesInOneChangingCallWhenFastOrDirect) {
  EXPECT_EQ(RunDocument("x1==x2", 1), Expected("X1EQX2_SCHNELL.TEX"));
  EXPECT_EQ(RunDocument("x1==x2", 2), Expected("X1EQX2_SCHNELL.TEX"));
}

TEST(Document, TwoFormulasGetHeadingsAndVerticalSpace) {
  for (int option : {0, 1, 2}) {
    SCOPED_TRACE(option);
    EXPECT_EQ(RunDocument("x1\r\nx1=>x2", option), Expected("TWO.TEX"));
  }
}

TEST(Document, TrailingLineBreakAddsNoFormula) {
  EXPECT_EQ(RunDocument("x1\r\nx1=>x2\r\n", 0), Expected("TWO.TEX"));
}

TEST(Document, BlanksAndCaseDoNotMatter) {
  EXPECT_EQ(RunDocument(" X 1 ", 0), Expected("X1.TEX"));
  EXPECT_EQ(RunDocument("x1\r\n\r\nX1 = > x2", 0), Expected("TWO.TEX"));
}

TEST(Document, EmptyInputGivesPreambleAndEnd) {
  EXPECT_EQ(RunDocument("", 0), Expected("EMPTY.TEX"));
  // A lone line break is one empty line between the framing ones: one empty formula.
  EXPECT_NE(RunDocument("\r\n", 0).find("\\begin{document}\r\n$X_{}$\r\n"), std::string::npos);
}

}  // namespace
}  // namespace umbrix
