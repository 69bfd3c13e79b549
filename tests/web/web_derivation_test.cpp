// The web page's derivation with the section "Ergebnis": every formula of the section is a
// KaTeX span holding the document's own LaTeX, the minimal forms are marked for the summary,
// and the truth table, the KV diagrams and the Quine–McCluskey tables are HTML tables.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/test_platform.hpp"
#include "utilities/run_error.hpp"
#include "web/web_derivation.hpp"

namespace umbrix {
namespace {

struct PageRun {
  std::string document;
  std::string html;
};

PageRun RunForThePage(const std::string& formulas, OptionEntry option, bool gesetze) {
  test::TempFolder folder;
  test::TestPlatform platform(formulas, "doc", option, gesetze);
  platform.SelectErgebnis(true);
  WebDerivation derivation;
  RunDriver driver(platform, test::OpenerIn(folder.Path()));
  driver.SetObserver(&derivation);
  driver.Command1_Click();
  return {test::ReadFile(folder.Path() / "DOC.TEX"), derivation.Html()};
}

std::string Unescaped(std::string text) {
  const std::pair<std::string, std::string> entities[] = {
      {"&lt;", "<"}, {"&gt;", ">"}, {"&quot;", "\""}, {"&amp;", "&"}};
  for (const auto& [entity, character] : entities)
    for (std::size_t at = text.find(entity); at != std::string::npos; at = text.find(entity, at + 1))
      text.replace(at, entity.size(), character);
  return text;
}

// The LaTeX of every formula span between from and to, in order.
std::vector<std::string> TexOf(const std::string& html, std::size_t from, std::size_t to) {
  std::vector<std::string> formulas;
  const std::string attribute = "data-tex=\"";
  for (std::size_t at = html.find(attribute, from); at < to; at = html.find(attribute, at + 1)) {
    const std::size_t start = at + attribute.size();
    formulas.push_back(Unescaped(html.substr(start, html.find('"', start) - start)));
  }
  return formulas;
}

std::size_t Count(const std::string& text, const std::string& piece) {
  std::size_t count = 0;
  for (std::size_t at = text.find(piece); at != std::string::npos; at = text.find(piece, at + 1)) ++count;
  return count;
}

TEST(WebDerivation, TheSectionsFormulasAreTheDocumentsOwn) {
  struct Case {
    std::string formulas;
    OptionEntry option;
    bool gesetze;
    std::size_t minimalDnf;  // lines marked per block
    std::size_t minimalKnf;
    bool absorptionLaw;  // named beside an absorption step
  };
  const Case cases[] = {
      {"(x1vx2)+(x1v-x2)", OptionEntry::kManySteps, false, 1, 1, false},
      {"(x1vx2)+(x1v-x2)", OptionEntry::kFewSteps, true, 1, 1, true},
      {"(-x1+-x2)v(x2+-x3)v(x1+x3)", OptionEntry::kManySteps, false, 2, 1, false},  // two minimal DNFs
      {"(p ∧ q) → ¬r", OptionEntry::kFastSimplify, true, 1, 1, false},  // letters, nothing absorbed
      {"a+b+c+d+e", OptionEntry::kFewSteps, false, 1, 1, false},        // two KV diagrams
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.formulas);
    const PageRun run = RunForThePage(c.formulas, c.option, c.gesetze);
    const std::size_t open = run.html.find("<div class=\"ergebnis-abschnitt\"><h4>Ergebnis</h4>");
    ASSERT_NE(open, std::string::npos) << run.html;
    const std::size_t close = run.html.find("</div></section>", open);
    ASSERT_NE(close, std::string::npos);
    const std::size_t sectionStart = run.document.find("\\textbf{Ergebnis}");
    ASSERT_NE(sectionStart, std::string::npos);
    // Each formula in the order of the document's section, absorption notes included.
    std::size_t at = sectionStart;
    const std::vector<std::string> formulas = TexOf(run.html, open, close);
    EXPECT_GE(formulas.size(), 6U);
    for (const std::string& latex : formulas) {
      at = run.document.find("$" + latex + "$", at);
      ASSERT_NE(at, std::string::npos) << latex;
    }
    const std::string section = run.html.substr(open, close - open);
    EXPECT_EQ(Count(section, "<p class=\"ergebnis minimal-dnf\">"), c.minimalDnf);
    EXPECT_EQ(Count(section, "<p class=\"ergebnis minimal-knf\">"), c.minimalKnf);
    EXPECT_EQ(Count(section, "<table class=\"wahrheitstafel\">"), 1U);
    EXPECT_EQ(Count(section, "<table class=\"kv\">"), c.formulas == "a+b+c+d+e" ? 4U : 2U);
    EXPECT_EQ(Count(section, "<div class=\"kv-diagramm\">"), Count(section, "<table class=\"kv\">"));
    EXPECT_GE(Count(section, "<table class=\"qm\">"), 2U);
    EXPECT_EQ(Count(section, "<table class=\"qm-tafel\">"), 1U);
    EXPECT_EQ(Count(section, "<span class=\"gesetze\">Absorptionsgesetz</span>") > 0, c.absorptionLaw);
  }
}

TEST(WebDerivation, EveryBlockHasItsOwnSection) {
  const PageRun run = RunForThePage("x1=>x2\r\nx1+x2\r\nx1vx2vx3\r\n", OptionEntry::kFewSteps, false);
  EXPECT_EQ(Count(run.html, "<section class=\"herleitung-formel\">"), 3U);
  EXPECT_EQ(Count(run.html, "<div class=\"ergebnis-abschnitt\">"), 3U);
  EXPECT_EQ(Count(run.html, "</div></section>"), 3U);
}

// A derivation stopped at the member limit, whose last steps are too long to typeset, is still
// shown: those steps by their length, the others and the section from the formula as usual.
TEST(WebDerivation, AFormulaTooLongToTypesetLeavesTheRestShown) {
  test::TempFolder folder;
  test::TestPlatform platform("(x1vx2)+(x3vx4)+(x5vx6)+(x7vx8)", "doc", OptionEntry::kFewSteps, false);
  platform.SelectErgebnis(true);
  WebDerivation derivation;
  RunDriver driver(platform, test::OpenerIn(folder.Path()));
  driver.SetObserver(&derivation);
  EXPECT_THROW(driver.Command1_Click(), RunError);
  const std::string html = derivation.Html();
  EXPECT_FALSE(derivation.TooLarge());
  EXPECT_GE(Count(html, "<span class=\"formel-zu-lang\">Formel mit "), 1u);
  EXPECT_EQ(Count(html, "<div class=\"ergebnis-abschnitt\">"), 1u);
  EXPECT_NE(html.find("Die Herleitung ist abgebrochen"), std::string::npos);
  for (const std::string& tex : TexOf(html, 0, html.size())) EXPECT_LE(tex.size(), kLongestShownFormula);
}

}  // namespace
}  // namespace umbrix
