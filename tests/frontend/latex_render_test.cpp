// The LaTeX rendering of both text forms.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "frontend/latex_render.hpp"
#include "general_formula/formel.hpp"
#include "simple_formula/sim_formel.hpp"

namespace umbrix {
namespace {

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
  for (const auto& [input, expected] : cases) {
    SCOPED_TRACE(input);
    Formel formel;
    formel.SetValue(input);
    EXPECT_EQ(RenderFormel(formel), expected);
  }
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
  for (const auto& [text, expected] : cases) {
    SCOPED_TRACE(text);
    EXPECT_EQ(RenderedSimText(text), expected);
  }
}

TEST(RenderSimFormel, RendersTheFormulasText) {
  SimFormel conjunction("+");
  conjunction.Add(std::make_shared<SimFormel>("10"));
  auto negation = std::make_shared<SimFormel>("-");
  negation->Add(std::make_shared<SimFormel>("T"));
  conjunction.Add(negation);
  EXPECT_EQ(RenderSimFormel(conjunction), "$X_{10}\\wedge \\neg \\top$\r\n");
}

}  // namespace
}  // namespace umbrix
