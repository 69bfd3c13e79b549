// The readable renderings: formulas with symbols and subscripts, wrapping at connectives, and
// whole derivations of the sample formulas as text and HTML.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "render/readable_render.hpp"
#include "render/texts.hpp"
#include "support/test_platform.hpp"

namespace umbrix {
namespace {

TEST(ReadableFormula, SymbolsSubscriptsAndOuterParentheses) {
  struct Case {
    const char* formelText;
    bool simple;
    const char* text;
    const char* html;
  };
  const std::vector<Case> cases = {
      {"X1;<=X2;vX3;", false, "X₁←X₂∨X₃", "X<sub>1</sub>←X<sub>2</sub>∨X<sub>3</sub>"},
      {"X1;=>X20;==-(X99;)", false, "X₁→X₂₀↔¬(X₉₉)", "X<sub>1</sub>→X<sub>20</sub>↔¬(X<sub>99</sub>)"},
      // The letters C and T are constants only in simple formulas.
      {"((X1;vC)+T)", true, "(X₁∨⊥)∧⊤", "(X<sub>1</sub>∨⊥)∧⊤"},
      {"(C+T)", false, "(C∧T)", "(C∧T)"},
      {"-(X1;vX2;)", true, "¬(X₁∨X₂)", "¬(X<sub>1</sub>∨X<sub>2</sub>)"},
      {"X;", false, "X", "X"},
      {"X12;", true, "X₁₂", "X<sub>12</sub>"},
      {"", true, "", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.formelText);
    EXPECT_EQ(ReadableFormula(c.formelText, c.simple), c.text);
    EXPECT_EQ(ReadableFormulaHtml(c.formelText, c.simple), c.html);
  }
  EXPECT_EQ(HtmlEscaped("a<b & \"c\">"), "a&lt;b &amp; &quot;c&quot;&gt;");
}

TEST(WrapFormula, BreaksAfterTheLeastNestedConnectiveThatFills) {
  struct Case {
    const char* readable;
    std::size_t width;
    std::vector<std::string> lines;
  };
  const std::vector<Case> cases = {
      {"X₁∧X₂", 80, {"X₁∧X₂"}},
      {"X₁∧X₂∧X₃", 6, {"X₁∧X₂∧", "X₃"}},
      // The break inside the parentheses would fill more, the outer one is preferred.
      {"(X₁∨X₂)∧(X₃∨X₄∨X₅)", 14, {"(X₁∨X₂)∧", "(X₃∨X₄∨X₅)"}},
      // Nothing fills half the line at the outer level: the inner break is taken.
      {"X₁∧(X₂∨X₃∨X₄∨X₅)", 10, {"X₁∧(X₂∨X₃∨", "X₄∨X₅)"}},
      // A stretch without connective stays whole even when it is too long.
      {"¬¬¬¬¬¬¬¬X₁∧X₂", 4, {"¬¬¬¬¬¬¬¬X₁∧", "X₂"}},
      {"", 10, {""}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.readable);
    EXPECT_EQ(WrapFormula(c.readable, c.width), c.lines);
  }
}

std::size_t Count(const std::string& text, const std::string& part) {
  std::size_t count = 0;
  for (std::size_t pos = text.find(part); pos != std::string::npos; pos = text.find(part, pos + 1)) ++count;
  return count;
}

// The five samples as text against files checked by hand, in the last run with the laws beside
// the steps; the HTML of the same run has one list item per numbered step, two marked normal
// forms per formula and balanced lists.
TEST(Derivation, SamplesAsTextAndHtmlInAllThreeModes) {
  const char* expected[] = {"SAMPLES_VIELE.txt", "SAMPLES_SCHNELL.txt", "SAMPLES_WENIG.txt",
                            "SAMPLES_VIELE_GESETZE.txt"};
  for (int run : {0, 1, 2, 3}) {
    const OptionEntry entry = kOptionTable[run % 3].entry;
    const bool gesetze = run == 3;
    SCOPED_TRACE(run);
    std::string text, html;
    TextDerivation textView([&text](std::string_view piece) { text += piece; }, 80);
    HtmlDerivation htmlView([&html](std::string_view piece) { html += piece; });
    struct Both : RunObserver {
      std::vector<RunObserver*> views;
      void OnFormulaStart(const FormulaStartEvent& e) override {
        for (auto* v : views) v->OnFormulaStart(e);
      }
      void OnStep(const StepEvent& e) override {
        for (auto* v : views) v->OnStep(e);
      }
      void OnSentence(const SentenceEvent& e) override {
        for (auto* v : views) v->OnSentence(e);
      }
      void OnFormulaEnd(const FormulaEndEvent& e) override {
        for (auto* v : views) v->OnFormulaEnd(e);
      }
    } both;
    both.views = {&textView, &htmlView};
    test::TempFolder folder;
    test::TestPlatform platform(texts::kSampleFormulas, "s", entry);
    platform.SetGesetze(gesetze);
    RunDriver driver(platform, test::OpenerIn(folder.Path()));
    driver.SetObserver(&both);
    driver.Command1_Click();
    EXPECT_EQ(text, test::ReadFile(std::string(UMBRIX_TEST_DATA) + "/" + expected[run]));
    EXPECT_EQ(Count(html, "<li "), static_cast<std::size_t>(textView.Steps()));
    EXPECT_EQ(Count(html, "<span class=\"gesetze\">"), gesetze ? Count(html, "<li ") : 0u);
    EXPECT_EQ(Count(html, "class=\"normalform\""), 10u);
    EXPECT_EQ(Count(html, "<ol"), Count(html, "</ol>"));
    EXPECT_EQ(Count(html, "<section"), 5u);
    EXPECT_EQ(Count(html, "</section>"), 5u);
    EXPECT_NE(
        html.find("<h2>4. Formel</h2>\n<p class=\"eingabe\">X<sub>1</sub>↔X<sub>2</sub>∧X<sub>3</sub></p>"),
        std::string::npos);
  }
}

}  // namespace
}  // namespace umbrix
