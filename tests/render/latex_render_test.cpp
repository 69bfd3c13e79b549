// The LaTeX rendering of both text forms.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "general_formula/formel.hpp"
#include "input/variable_names.hpp"
#include "render/latex_render.hpp"
#include "render/readable_render.hpp"
#include "simple_formula/sim_formel.hpp"
#include "support/case_table.hpp"
#include "utilities/std_text.hpp"

namespace umbrix {
namespace {

std::string RenderedFormelText(const std::string& input) {
  Formel formel;
  formel.SetValue(input);
  return RenderFormel(formel);
}

std::string RenderedSimText(const std::string& text) {
  std::string out;
  AppendRenderedSimFormel(out, text);
  return out;
}

TEST(RenderFormel, ConnectivesGroupsAndVariables) {
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"x1<=x2vx3", "$X_{1}\\leftarrow X_{2}\\vee X_{3}$\r\n"},
      {"x1v(x2+x3)", "$X_{1}\\vee (X_{2}\\wedge X_{3})$\r\n"},
      {"x12", "$X_{12}$\r\n"},
      {"-(x1vx2)", "$\\neg (X_{1}\\vee X_{2})$\r\n"},
      {"x1==x2", "$X_{1}\\leftrightarrow X_{2}$\r\n"},
      {"x1=>x2", "$X_{1}\\rightarrow X_{2}$\r\n"},
      {"x1<x2", "$X_{1}\\leftarrow X_{2}$\r\n"},
      // The general formula keeps an outermost pair of parentheses.
      {"(x1+x2)", "$(X_{1}\\wedge X_{2})$\r\n"},
      {"", "$X_{}$\r\n"},
  };
  test::ExpectEachRow(cases, RenderedFormelText);
}

TEST(RenderSimFormel, DropsOnlyTheOutermostPairAndTranslatesConstants) {
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"(X1;+-X2;)", "$X_{1}\\wedge \\neg X_{2}$\r\n"},
      {"((X1;vC)+T)", "$(X_{1}\\vee \\bot)\\wedge \\top$\r\n"},
      {"X12;", "$X_{12}$\r\n"},
      {"-(X1;vX2;)", "$\\neg (X_{1}\\vee X_{2})$\r\n"},
      {"C", "$\\bot$\r\n"},
      {"(TvC)", "$\\top\\vee \\bot$\r\n"},
      {"(X1;)", "$X_{1}$\r\n"},
  };
  test::ExpectEachRow(cases, RenderedSimText);
}

TEST(RenderSimFormel, RendersTheFormulasText) {
  SimFormel conjunction("+");
  conjunction.Add(std::make_shared<SimFormel>("10"));
  auto negation = std::make_shared<SimFormel>("-");
  negation->Add(std::make_shared<SimFormel>("T"));
  conjunction.Add(negation);
  EXPECT_EQ(RenderSimFormel(conjunction), "$X_{10}\\wedge \\neg \\top$\r\n");
  // A change below a rendering kept from the last call shows in the next one.
  negation->SubFormel(0)->SetOperation("7");
  EXPECT_EQ(RenderSimFormel(conjunction), "$X_{10}\\wedge \\neg X_{7}$\r\n");
  conjunction.SubFormel(2)->SetOperation("C");  // the trailing position, not a member
  EXPECT_EQ(RenderSimFormel(conjunction), "$X_{10}\\wedge \\neg X_{7}$\r\n");
  SimFormel odd("1<=2");  // a leaf text with a connective is translated as the list says
  EXPECT_EQ(RenderSimFormel(odd), RenderSimFormelText(odd.FormelText()));
}

// The rendering is defined as the ordered replacement list; the one-pass translation must
// give the same bytes for any text, also for texts that hold "<", "=" or ">".
TEST(RenderSimFormel, OnePassAgreesWithTheReplacementList) {
  const ReplacementList list = {"v",  "\\vee ",
                                "+",  "\\wedge ",
                                "-",  "\\neg ",
                                "<=", "\\leftarrow ",
                                "=>", "\\rightarrow ",
                                "==", "\\leftrightarrow ",
                                ";",  "}",
                                "X",  "X_{",
                                "C",  "\\bot",
                                "T",  "\\top"};
  const std::string alphabet = "()+-v;CTX0123456789<=>";
  std::mt19937 random(11);
  for (int round = 0; round < 5000; ++round) {
    std::string text(random() % 24, ' ');
    for (char& c : text) c = alphabet[random() % alphabet.size()];
    std::string expected = ReplaceAll(text, list);
    if (!expected.empty() && expected[0] == '(') expected = expected.substr(1, expected.size() - 2);
    ASSERT_EQ(RenderedSimText(text), "$" + expected + "$\r\n") << text;
  }
}

// Every rendering shows a variable by its name where it has one, by X and index elsewhere.
TEST(RenderSimFormel, VariablesWithANameAreShownByIt) {
  VariableNames names;
  names.Set(11, "p");
  names.Set(12, "Q");
  std::string latex;
  AppendRenderedSimFormel(latex, "((X11;v-X12;)+X3;+T)", &names);
  EXPECT_EQ(latex, "$(p\\vee \\neg Q)\\wedge X_{3}\\wedge \\top$\r\n");
  latex.clear();
  AppendRenderedFormel(latex, "X12;<=-(X11;)", &names);
  EXPECT_EQ(latex, "$Q\\leftarrow \\neg (p)$\r\n");
  EXPECT_EQ(ReadableFormula("(X11;+-X12;)", true, &names), "p∧¬Q");
  EXPECT_EQ(ReadableFormulaHtml("X11;=>X3;", false, &names), "p→X<sub>3</sub>");
}

TEST(WrapLongLine, ShortLinesStayAsTheyAre) {
  const std::string line = "$\\sim$ $X_{1}\\vee X_{2}$\r\n";
  EXPECT_EQ(WrapLongLine(line), line);
  EXPECT_EQ(WrapLongLine(std::string(kLongestTexLine, 'a')), std::string(kLongestTexLine, 'a'));
}

// Lines of a long formula: each at most the longest TeX line, broken after a blank, and
// together the original text; beyond a paragraph's worth the formula is closed after a
// connective and reopened in a new paragraph.
TEST(WrapLongLine, BreaksAfterBlanksAndSplitsHugeFormulasIntoParagraphs) {
  std::string formula = "$\\sim$ $";
  while (formula.size() < 3 * kLongestTexParagraph / 2) formula += "(X_{1}\\wedge \\neg X_{12})\\vee ";
  formula += "X_{3}$";
  const std::string wrapped = WrapLongLine(formula + "\r\n");

  std::size_t paragraphBreaks = 0;
  std::size_t start = 0;
  for (std::size_t end = wrapped.find("\r\n"); end != std::string::npos; end = wrapped.find("\r\n", start)) {
    EXPECT_LE(end - start, kLongestTexLine);
    if (end == start) {
      ++paragraphBreaks;
      EXPECT_EQ(wrapped.substr(start - 8, 6), "\\vee $");
    } else {
      EXPECT_TRUE(wrapped[end - 1] == ' ' || wrapped[end - 1] == '$' || end + 2 == wrapped.size());
    }
    start = end + 2;
  }
  EXPECT_GE(paragraphBreaks, 1u);

  std::string joined = wrapped;
  for (auto pos = joined.find("$\r\n\r\n$"); pos != std::string::npos; pos = joined.find("$\r\n\r\n$"))
    joined.erase(pos, 6);
  std::erase(joined, '\r');
  std::erase(joined, '\n');
  EXPECT_EQ(joined, formula);
}

}  // namespace
}  // namespace umbrix
