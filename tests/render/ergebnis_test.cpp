// The section "Ergebnis": its lines for worked examples, the truth tables of the sample
// formulas, the limits of the table and the minimal forms, the count of minimal forms, and a
// check that fails.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "boolean_function/minimal_form.hpp"
#include "general_formula/formel.hpp"
#include "render/ergebnis.hpp"
#include "render/readable_render.hpp"
#include "simple_formula/sim_formel.hpp"
#include "support/test_platform.hpp"

namespace umbrix {
namespace {

// The section of a one-formula document, from its heading to the end of the document.
std::string Section(const std::string& formula, OptionEntry option, bool gesetze = false) {
  const std::string document = test::RunDocument(formula, option, {.gesetze = gesetze, .ergebnis = true});
  const std::size_t start = document.find("\\textbf{Ergebnis}");
  return start == std::string::npos ? std::string() : document.substr(start);
}

// The F column of the section's truth table, top to bottom.
std::string TableColumn(const std::string& section) {
  std::string column;
  for (std::size_t at = section.find("\\\\\r\n"); at != std::string::npos;
       at = section.find("\\\\\r\n", at + 1))
    if (section[at - 1] == '0' || section[at - 1] == '1') column += section[at - 1];
  return column;
}

TEST(Ergebnis, WorkedExamplesGiveTheSolutionSheetsResult) {
  struct Case {
    std::string formula;
    std::vector<std::string> expected;  // in this order
    bool gesetze = false;               // laws named
    bool fewStepsOnly = false;          // the derivation with many steps is too long
  };
  const Case cases[] = {
      {"(x1vx2)+(x1v-x2)",
       {"($X_{1}\\wedge X_{2}$ wird von $X_{1}$ absorbiert)", "Minimale disjunktive Form: $X_{1}$",
        "Minimale konjunktive Form: $X_{1}$",
        "Kanonische disjunktive Normalform (Minterme): $(X_{1}\\wedge \\neg "
        "X_{2})\\vee (X_{1}\\wedge X_{2})$",
        "Probe: Alle "}},
      {"(x1vx2)+(x1v-x2)",  // laws named: each absorption step names its law
       {"($X_{1}\\wedge X_{2}$ wird von $X_{1}$ absorbiert)}\\gesetz{Absorptionsgesetz}\r\n"},
       true},
      {"(x1+x2)v(-x1+x3)v(x2+x3)",
       {"In der disjunktiven Normalform wird kein Term absorbiert.",
        "Minimale disjunktive Form: $(X_{1}\\wedge X_{2})\\vee (\\neg X_{1}\\wedge X_{3})$", "Probe: Alle "}},
      {"(-x1+-x2)v(x2+-x3)v(x1+x3)",  // cyclic: two minimal forms
       {"Es gibt 2 minimale disjunktive Formen:",
        "$(X_{1}\\wedge X_{2})\\vee (\\neg X_{1}\\wedge \\neg X_{3})\\vee (\\neg X_{2}\\wedge X_{3})$",
        "$(X_{1}\\wedge X_{3})\\vee (\\neg X_{1}\\wedge \\neg X_{2})\\vee (X_{2}\\wedge \\neg X_{3})$"}},
      {"x3+x4+x6vx3+x8+x1+(x2)vx5+-x4vx4+-x3+x2+-x8v-x7+x9+-x6v-x9+-x5+-x2vx9+x4+x6+x3v-x2+-x1+x6",
       {"Minimale disjunktive Form:", "Es gibt mindestens 2 minimale konjunktive Formen:\r\n\r\n$",
        "$\r\n\r\n$", "$\r\n\r\nDie Wahrheitstafel", "Probe: Alle "},  // counting stops before a second form
       false,
       true},
      {"x1+x2+x3+x4+x5",
       {"Minimale disjunktive Form: $X_{1}\\wedge X_{2}\\wedge X_{3}\\wedge X_{4}\\wedge X_{5}$",
        "Wahrheitstafel", "\\qquad\\begin{tabular}[t]{ccccc|c}",
        "Die kanonischen Normalformen werden nur f\\\"ur h\\\"ochstens 4 Variablen gezeigt; diese Formel hat "
        "5."}},
      {"x1vx2vx3vx4vx5vx6vx7vx8vx9vx10vx11",
       {"Minimale Formen werden nur f\\\"ur Formeln mit h\\\"ochstens 10 Variablen berechnet; diese hat 11",
        "Die Wahrheitstafel wird nur f\\\"ur h\\\"ochstens 6 Variablen gezeigt; diese Formel hat 11",
        "Probe: Alle "}},
      {"\r\n\r\n\r\nx2", {"F\\\"ur diese Formel gibt es kein Ergebnis: sie enth\\\"alt keine Variable."}},
      {"(avb)+-c",  // columns a b, row c; kvmacros fills its cells in the order a c b
       {"Kanonische konjunktive Normalform",
        "\\ifdefined\\karnaughmap\\else\\IfFileExists{kvmacros.tex}",
        "KV-Diagramm der minimalen disjunktiven Form: ein Block f\\\"ur jeden Term, auf den Feldern mit 1:",
        "\\karnaughmap{3}{$F$}{{$a$}{$c$}{$b$}}{01001100}",
        "\\put(2.04,1.04){\\makebox(0,0)[bl]{\\kvindexsize 6}}",
        "\\put(2.42,1.83){\\line(1,0){1.16}}",
        "\\else (Hier st\\\"unde das KV-Diagramm",
        "Block A: $a\\wedge \\neg c$",
        "Block B: $b\\wedge \\neg c$",
        "KV-Diagramm der minimalen konjunktiven Form",
        "\\put(0.17,0.42){\\line(0,1){1.16}}",
        "Block A: $a\\vee b$",
        "Block B: $\\neg c$",
        "Quine-McCluskey-Verfahren f\\\"ur die minimale disjunktive Form:",
        "2 & 6 & 1 & 1 & 0 & $\\surd$\\\\",
        "1 & 2;6 & -- & 1 & 0 & \\\\",
        "P2 & 4;6 & 1 & -- & 0 & $a\\wedge \\neg c$\\\\",
        "P1$^{*}$ & $\\otimes$ &  & $\\times$\\\\",
        "Wesentliche Primimplikanten: P1, P2.",
        "Gew\\\"ahlte \\\"Uberdeckung: P1, P2; das ist die minimale disjunktive Form.",
        "Probe: Alle "}},
      {"-x2+-x4+(x1v-x1)+(x3v-x3)",  // a block in the four corners: its upper left corner piece
       {"\\put(0,3.17){\\line(1,0){0.58}}\\put(0.83,3.42){\\line(0,1){0.58}}\\put(0.58,3.42){\\oval(0.5,0."
        "5)[br]}"}},
      {"(-x1+-x2)v(x2+-x3)v(x1+x3)",  // cyclic: the first of two minimal forms, no essential prime
       {"KV-Diagramm der ersten minimalen disjunktiven Form", "Es gibt keinen wesentlichen Primimplikanten.",
        "das ist die erste minimale disjunktive Form."}},
      {"x1+x2+x3+x4+x5",
       {"(zwei Diagramme, eines f\\\"ur jeden Wert der ersten Variablen):", "$X_{1}=0$ & $X_{1}=1$\\\\",
        "\\karnaughmap{4}{$F$}{{$X_{4}$}{$X_{2}$}{$X_{5}$}{$X_{3}$}}{0000000000000000}",
        "\\karnaughmap{4}{$F$}{{$X_{4}$}{$X_{2}$}{$X_{5}$}{$X_{3}$}}{0000000000000001}",
        "P1$^{*}$ & $\\otimes$\\\\"}},
      {"x1+x2+x3+x4+x5+-x6",
       {"(vier Diagramme, eines f\\\"ur jede Belegung der ersten beiden Variablen):",
        "$X_{1}=0$, $X_{2}=0$ & $X_{1}=0$, $X_{2}=1$\\\\",
        "\\\\[4mm]$X_{1}=1$, $X_{2}=0$ & $X_{1}=1$, $X_{2}=1$\\\\"}},
      {"x1vx2vx3vx4vx5vx6vx7",
       {"KV-Diagramme und die Tafeln des Quine-McCluskey-Verfahrens werden nur f\\\"ur h\\\"ochstens 6 "
        "Variablen gezeigt; diese Formel hat 7.",
        "Probe: Alle "}},
      {"x1v-x1",
       {"Block A: $\\top$", "Kein Block: die Formel ist immer wahr.", "P1$^{*}$ & $\\otimes$ & $\\otimes$"}},
      {"x1+-x1",
       {"Kein Block: die Formel ist nie wahr.", "Block A: $\\bot$",
        "Die Formel hat keinen Minterm und daher keinen Primimplikanten.\r\n\r\nProbe: Alle "}},
  };
  for (const Case& c : cases) {
    for (OptionEntry option : {OptionEntry::kManySteps, OptionEntry::kFewSteps}) {
      if (c.fewStepsOnly && option != OptionEntry::kFewSteps) continue;
      SCOPED_TRACE(c.formula + " option " + std::to_string(static_cast<int>(option)));
      const std::string section = Section(c.formula, option, c.gesetze);
      std::size_t at = 0;
      for (const std::string& text : c.expected) {
        at = section.find(text, at);
        ASSERT_NE(at, std::string::npos) << text << "\n" << section;
      }
    }
  }
}

TEST(Ergebnis, TheCountOfMinimalFormsSaysWhatIsKnown) {
  TermList form{NormalFormKind::Kon, {Term()}};
  form.terms.front().AddLiteral({1, false});
  struct Case {
    std::size_t count;
    bool cut;
    std::size_t shown;
    std::string sentence;  // the first line
  };
  const Case cases[] = {
      {1, false, 1, "Minimale konjunktive Form:"},
      {1, true, 1,
       "Eine minimale konjunktive Form (ob es weitere gibt, wurde nicht ermittelt: die Suche "
       "bräuchte zu viele Schritte):"},
      {2, true, 2, "Es gibt mindestens 2 minimale konjunktive Formen:"},
      {288, false, 3, "Es gibt 288 minimale konjunktive Formen; die ersten 3:"},
      {132, true, 3, "Es gibt mindestens 132 minimale konjunktive Formen; die ersten 3:"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.sentence);
    const MinimalForms forms{true, std::vector<TermList>(c.shown, form), c.count, c.cut};
    const std::vector<ErgebnisLine> lines = MinimalFormLines(forms, NormalFormKind::Kon);
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(lines.front().text, c.sentence);
    const auto formulas = std::count_if(lines.begin(), lines.end(), [](const ErgebnisLine& line) {
      return line.kind == ErgebnisLine::Kind::Formula;
    });
    EXPECT_EQ(static_cast<std::size_t>(formulas), c.shown);
  }
}

// The same column as the text view shows it: the last character of each row below "| F".
std::string TextTableColumn(const std::string& formula) {
  test::TempFolder folder;
  test::TestPlatform platform(formula, "doc", OptionEntry::kManySteps);
  platform.SelectErgebnis(true);
  std::string text;
  TextDerivation view([&text](std::string_view piece) { text += piece; }, 80);
  RunDriver driver(platform, test::OpenerIn(folder.Path()));
  driver.SetObserver(&view);
  driver.Command1_Click();
  std::string column;
  std::size_t at = text.find("| F\n");
  if (at == std::string::npos) return column;
  for (at = text.find('\n', at); at + 1 < text.size(); at = text.find('\n', at + 1)) {
    const std::size_t end = text.find('\n', at + 1);
    if (end == std::string::npos || text.compare(end - 3, 2, "| ") != 0) break;
    column += text[end - 1];
  }
  return column;
}

TEST(Ergebnis, TruthTablesOfTheSampleFormulas) {
  const std::pair<std::string, std::string> samples[] = {{"-x2+x1", "0010"},
                                                         {"x1v(x2+x3)", "00011111"},
                                                         {"x1<=x2vx3", "10001111"},
                                                         {"x1==x2+x3", "11100001"},
                                                         {"x1=>x2", "1101"}};
  for (const auto& [formula, column] : samples) {
    SCOPED_TRACE(formula);
    EXPECT_EQ(TableColumn(Section(formula, OptionEntry::kFastSimplify)), column);
    EXPECT_EQ(TextTableColumn(formula), column);
  }
}

// The text view and the HTML of a one-formula run with the section.
std::pair<std::string, std::string> TextAndHtml(const std::string& formula) {
  test::TempFolder folder;
  test::TestPlatform platform(formula, "doc", OptionEntry::kManySteps);
  platform.SelectErgebnis(true);
  std::string text;
  std::string html;
  TextDerivation textView([&text](std::string_view piece) { text += piece; }, 80);
  HtmlDerivation htmlView([&html](std::string_view piece) { html += piece; });
  struct Both : RunObserver {
    RunObserver* first;
    RunObserver* second;
    void OnFormulaStart(const FormulaStartEvent& e) override {
      first->OnFormulaStart(e);
      second->OnFormulaStart(e);
    }
    void OnStep(const StepEvent& e) override {
      first->OnStep(e);
      second->OnStep(e);
    }
    void OnSentence(const SentenceEvent& e) override {
      first->OnSentence(e);
      second->OnSentence(e);
    }
    void OnErgebnis(const ErgebnisEvent& e) override {
      first->OnErgebnis(e);
      second->OnErgebnis(e);
    }
    void OnFormulaEnd(const FormulaEndEvent& e) override {
      first->OnFormulaEnd(e);
      second->OnFormulaEnd(e);
    }
    void OnRunEnd(const RunEndEvent& e) override {
      first->OnRunEnd(e);
      second->OnRunEnd(e);
    }
  } both;
  both.first = &textView;
  both.second = &htmlView;
  RunDriver driver(platform, test::OpenerIn(folder.Path()));
  driver.SetObserver(&both);
  driver.Command1_Click();
  return {text, html};
}

// The KV diagrams and the Quine–McCluskey tables in the text view and in the HTML: the same
// cells with the same block letters, the rows of the tables, and a chart cut to the width.
TEST(Ergebnis, TheFiguresInTheTextViewAndTheHtml) {
  struct Case {
    std::string formula;
    std::vector<std::string> text;  // in this order
    std::vector<std::string> html;
  };
  const Case cases[] = {
      {"(avb)+-c",
       {"KV-Diagramm der minimalen disjunktiven Form: ein Block für jeden Term, auf den Feldern mit 1:\n"
        "  c\\ab | 00    01    11    10\n"
        "  -----+------------------------\n"
        "  0    | 0     1 B   1 AB  1 A\n"
        "  1    | 0     0     0     0\n"
        "Block A: a∧¬c\nBlock B: b∧¬c\n",
        "  0    | 0 A   1     1     1\n  1    | 0 AB  0 B   0 B   0 B\nBlock A: a∨b\nBlock B: ¬c\n",
        "  Einsen  Minterme  a b c\n  --------------------------\n  1       2         0 1 0 ✓\n",
        "  1       2;6       - 1 0\n          4;6       1 - 0\n", "  P2  4;6       1 - 0  a∧¬c\n",
        "      2  4  6\n  P1* ⊗     ×\n  P2*    ⊗  ×\n"},
       {"<p class=\"satz\">KV-Diagramm der minimalen disjunktiven Form",
        "<tr><th>c\\ab</th><th>00</th><th>01</th><th>11</th><th>10</th></tr>\n"
        "<tr><th>0</th><td>0</td><td>1 <span class=\"kv-block\">B</span></td><td>1 <span "
        "class=\"kv-block\">AB</span></td>",
        "<tr class=\"gruppe\"><td>1</td><td>2</td><td>0</td><td>1</td><td>0</td><td>✓</td></tr>",
        "<tr><td>P2</td><td>4;6</td><td>1</td><td>-</td><td>0</td><td>a∧¬c</td></tr>",
        "<tr><th>P1*</th><td>⊗</td><td></td><td>×</td></tr>"}},
      {"x1+x2+x3+x4+x5",
       {"  X₁ = 0:\n  X₄X₅\\X₂X₃ | 00   01   11   10\n", "  X₁ = 1:\n", "  11        | 0    0    1 A  0\n"},
       {"<p class=\"kv-belegung\">X<sub>1</sub> = 0:</p>\n<table class=\"kv\">"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.formula);
    const auto [text, html] = TextAndHtml(c.formula);
    std::size_t at = 0;
    for (const std::string& expected : c.text) {
      at = text.find(expected, at);
      ASSERT_NE(at, std::string::npos) << expected << "\n" << text;
    }
    at = 0;
    for (const std::string& expected : c.html) {
      at = html.find(expected, at);
      ASSERT_NE(at, std::string::npos) << expected << "\n" << html;
    }
  }
  // 63 minterms: the chart in three parts, each line within the 80 columns of the view.
  const std::string text = TextAndHtml("x1vx2vx3vx4vx5vx6").first;
  const std::size_t chart = text.find("Primimplikantentafel");
  ASSERT_NE(chart, std::string::npos);
  std::size_t parts = 0;
  for (std::size_t start = text.find('\n', chart) + 1, end;
       (end = text.find('\n', start)) != std::string::npos; start = end + 1) {
    const std::string line = text.substr(start, end - start);
    if (line.rfind("Wesentliche", 0) == 0) break;
    EXPECT_LE(Columns(line), 80U) << line;
    parts += line.rfind("  P1*", 0) == 0 ? 1 : 0;
  }
  EXPECT_EQ(parts, 3U);
}

TEST(Ergebnis, TheFormulaColumnNeverTakesAVariablesName) {
  struct Case {
    std::string formula;
    std::string name;  // of the formula's column
  };
  const Case cases[] = {
      {"x1vx2", "F"},                // X-indexes never clash
      {"a+b", "F"},                  // letters other than F
      {"!B&!M&!x|!B&M|x&F|W", "G"},  // the variable F
      {"f=>g", "H"},                 // f is F; G is taken too
      {"(a+b)v(c+d)v(e+f)", "G"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.formula);
    const std::string section = Section(c.formula, OptionEntry::kManySteps);
    EXPECT_NE(section.find("Wahrheitstafel (1 wahr, 0 falsch, " + c.name + " die Formel):"),
              std::string::npos);
    EXPECT_NE(section.find("$" + c.name + "$\\\\ \\hline"), std::string::npos) << section;
    const auto [text, html] = TextAndHtml(c.formula);
    EXPECT_NE(text.find("| " + c.name + "\n"), std::string::npos) << text;
    EXPECT_NE(html.find("<th>" + c.name + "</th></tr>"), std::string::npos);
  }
}

TEST(Ergebnis, SaysPlainlyWhenAStepIsNotEquivalent) {
  Formel input;
  input.SetValue("1=>2");
  ErgebnisCollector collector;
  collector.Start(input);
  while (input.NotSimForm()) {
    input.MakeSimForm();
    collector.CheckStep(input);
  }
  SimFormel work;
  work.MakeCopy(input);
  collector.SetCopy(work);
  collector.CheckStep(work);
  work.SubFormel(1)->SetOperation("3");  // an altered step: -X1 v X3
  collector.CheckStep(work);
  collector.SetDisjunctive(work);
  collector.SetConjunctive(work);
  const std::vector<ErgebnisLine> lines = collector.Lines();
  EXPECT_EQ(lines.back().text,
            "Probe: FEHLER! Die 4. geprüfte Formel (von der Eingabe an gezählt) ist nicht äquivalent zur "
            "Eingabe; ab dort ist die Umformung falsch.");
}

}  // namespace
}  // namespace umbrix
