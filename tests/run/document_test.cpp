// Whole documents, byte for byte, against files written by hand.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "support/test_platform.hpp"
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

// The argument of \gesetz on every line that has one, in document order.
std::vector<std::string> StepLaws(const std::string& document) {
  std::vector<std::string> laws;
  const std::string macro = "\\gesetz{";
  for (std::size_t at = document.find("$" + macro); at != std::string::npos;
       at = document.find("$" + macro, at + 1)) {
    const std::size_t start = at + 1 + macro.size();
    laws.push_back(document.substr(start, document.find("}\r\n", start) - start));
  }
  return laws;
}

TEST(Document, LawsOfTheWorkedExamplesStepByStep) {
  const std::string keine = "keine \\\"Anderung";
  const std::string neutral = "Neutralit\\\"atsgesetz";
  struct Case {
    std::string input;
    OptionEntry option;
    std::vector<std::string> laws;  // one entry per step line
  };
  const std::vector<Case> cases = {
      {"(x1vx2)+(x1v-x2)",
       OptionEntry::kManySteps,
       {keine, "Kommutativgesetz, Distributivgesetz",
        // merging the disjunctive form
        "Kommutativgesetz", "Kommutativgesetz", "Komplementgesetz, Idempotenzgesetz",
        "Kommutativgesetz, " + neutral, "Kommutativgesetz", keine,
        // the conjunctive form: the hidden (X1 v X1) merged before the next distribution
        "Distributivgesetz", "Idempotenzgesetz, Distributivgesetz", "Idempotenzgesetz, Assoziativgesetz",
        "Kommutativgesetz, Assoziativgesetz",
        // merging the conjunctive form
        "Kommutativgesetz", "Kommutativgesetz, Idempotenzgesetz, Komplementgesetz", neutral, keine}},
      {"(x1vx2)+(x1v-x2)",
       OptionEntry::kFewSteps,
       {keine, "Kommutativgesetz, Distributivgesetz",
        "Komplementgesetz, Idempotenzgesetz, Kommutativgesetz, " + neutral, keine, "Distributivgesetz",
        "Idempotenzgesetz, Distributivgesetz", "Idempotenzgesetz, Kommutativgesetz, Assoziativgesetz",
        "Kommutativgesetz, Idempotenzgesetz, Komplementgesetz, " + neutral, keine}},
      {"x1==x2",
       OptionEntry::kManySteps,
       {"Umformung der \\\"Aquivalenz", "Umformung der Implikation", "Umformung der Implikation",
        "Klammern weglassen", "Kommutativgesetz, Distributivgesetz", "Komplementgesetz, Kommutativgesetz",
        "Kommutativgesetz, Idempotenzgesetz, " + neutral, keine, "Distributivgesetz", "Komplementgesetz",
        "Kommutativgesetz, Idempotenzgesetz, " + neutral, keine}},
      // "folgt aus" is turned round, then the implication rewritten; the copy drops a group.
      {"x1<=-(x2vx3)",
       OptionEntry::kManySteps,
       {"Umformung von \\glqq{}folgt aus\\grqq{}", "Umformung der Implikation", "Klammern weglassen",
        "Doppelte Negation", "Assoziativgesetz", keine, keine}},
      // De Morgan after the opening sort of the operand, the double negation in the next step.
      {"-(x1+-x2)",
       OptionEntry::kManySteps,
       {keine, "Kommutativgesetz, De Morgansches Gesetz", "Doppelte Negation", "Kommutativgesetz", keine,
        keine}},
      // Fast merging; the copy sets the parentheses that precedence implied.
      {"x1vx2+x3",
       OptionEntry::kFastSimplify,
       {"Klammern setzen", "Kommutativgesetz", keine, "Distributivgesetz", "Kommutativgesetz", keine}},
      // The operand's duplicate merged inside a negation; complementary members.
      {"x1+-(x1vx1)",
       OptionEntry::kManySteps,
       {keine, "Kommutativgesetz, Idempotenzgesetz", "Komplementgesetz", keine, keine}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.input + " option " + std::to_string(EntryNumber(c.option)));
    EXPECT_EQ(StepLaws(RunDocument(c.input, c.option, {.gesetze = true})), c.laws);
  }
}

}  // namespace
}  // namespace umbrix
