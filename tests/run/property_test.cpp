// Property test over seeded random formulas in all three option entries: every formula line
// of the document means the same as the input line, the disjunctive and conjunctive phases end
// in their normal forms, the merging loops end with a repeated line, and every loop ends. The
// run's events and the readable text show exactly the document's formula lines. With laws
// named, every step line names laws that fit its phase and its change, the events carry the
// same laws, and the document is otherwise the same.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <optional>
#include <random>
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "render/latex_render.hpp"
#include "render/readable_render.hpp"
#include "support/formula_maker.hpp"
#include "support/formula_node.hpp"
#include "support/latex_reader.hpp"
#include "support/test_platform.hpp"
#include "utilities/std_text.hpp"

namespace umbrix {
namespace {

using test::FormulaMaker;
using test::FullTable;
using test::IsNormal;
using test::kVariableCount;
using test::LatexReader;
using test::Node;
using test::Slot;

// The letters that stand for the variables in exercise notation, in alphabetical order.
const char* const kLetterNames[] = {"a", "B", "c", "p", "Q", "r", "x", "z"};

std::vector<std::string> Lines(const std::string& document) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  for (std::size_t end; (end = document.find("\r\n", start)) != std::string::npos; start = end + 2)
    lines.push_back(document.substr(start, end - start));
  EXPECT_EQ(start, document.size()) << "every line ends with CR LF";
  return lines;
}

// The formula of a document line, or nothing for a line that holds none.
std::optional<std::string> FormulaOf(const std::string& line) {
  std::string_view text = line;
  if (text.starts_with("$\\sim$ ")) text.remove_prefix(7);
  if (text.size() < 2 || text.front() != '$' || text.back() != '$') return std::nullopt;
  return std::string(text.substr(1, text.size() - 2));
}

void CheckDocument(const Node& input, const std::string& document) {
  const std::vector<std::uint32_t> expected = FullTable(input);
  const std::vector<std::string> lines = Lines(document);
  ASSERT_FALSE(lines.empty());
  ASSERT_EQ(lines.back(), "\\end{document}");

  std::vector<std::string> formulas;  // formula lines read so far
  std::size_t formulaLines = 0;
  auto lastFormula = [&]() -> const std::string& { return formulas.back(); };
  for (const std::string& line : lines) {
    if (auto formula = FormulaOf(line)) {
      SCOPED_TRACE(*formula);
      Node node = LatexReader(*formula).Read();
      ASSERT_EQ(FullTable(node), expected) << "line not equivalent to the input";
      formulas.push_back(*formula);
      ++formulaLines;
      continue;
    }
    if (line == SentenceText(Sentence::DisjunctiveFound)) {
      ASSERT_FALSE(formulas.empty());
      SCOPED_TRACE(lastFormula());
      EXPECT_TRUE(IsNormal(LatexReader(lastFormula()).Read(), 'v', '+')) << "not disjunctive";
    } else if (line == SentenceText(Sentence::TowardsConjunctive) || line == "\\end{document}") {
      ASSERT_GE(formulas.size(), 2u);
      SCOPED_TRACE(lastFormula());
      EXPECT_EQ(formulas[formulas.size() - 2], lastFormula()) << "merging loop must end with a repeat";
      const bool disjunctive = line != "\\end{document}";
      EXPECT_TRUE(disjunctive ? IsNormal(LatexReader(lastFormula()).Read(), 'v', '+')
                              : IsNormal(LatexReader(lastFormula()).Read(), '+', 'v'))
          << "merging must keep the normal form";
    } else if (line.starts_with(SentenceText(Sentence::ConjunctiveFound))) {
      SCOPED_TRACE(lastFormula());
      EXPECT_TRUE(IsNormal(LatexReader(lastFormula()).Read(), '+', 'v')) << "not conjunctive";
    }
  }
  EXPECT_GE(formulaLines, 4u);
}

// The document's formula lines rebuilt from the run's events, and the readable text.
class EventRecorder : public RunObserver {
 public:
  void OnStep(const StepEvent& event) override {
    const bool input = event.phase == Phase::Input;
    EXPECT_EQ(input, event.number == 0);
    lines.push_back((input ? "$" : "$\\sim$ $") + std::string(event.latex) + "$");
    if (event.result) results.push_back(lines.size() - 1);
    text.OnStep(event);
  }
  void OnSentence(const SentenceEvent& event) override { text.OnSentence(event); }
  void OnFormulaStart(const FormulaStartEvent& event) override { text.OnFormulaStart(event); }
  void OnFormulaEnd(const FormulaEndEvent& event) override { text.OnFormulaEnd(event); }

  std::vector<std::string> lines;
  std::vector<std::size_t> results;  // positions in lines
  std::string rendered;
  TextDerivation text{[this](std::string_view piece) { rendered += piece; }, 60};
};

// Numbered lines of the readable text: "  N. " at the start of a line.
std::size_t NumberedLines(const std::string& text) {
  std::size_t count = 0;
  for (std::size_t start = 0; start < text.size();) {
    std::size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    std::string_view line(text.data() + start, end - start);
    const std::size_t dot = line.find(". ");
    if (line.starts_with("  ") && dot != std::string_view::npos && dot > 2 &&
        line.substr(2, dot - 2).find_first_not_of("0123456789") == std::string_view::npos)
      ++count;
    start = end + 1;
  }
  return count;
}

void CheckEvents(const EventRecorder& events, const std::string& document) {
  std::vector<std::string> formulaLines;
  for (const std::string& line : Lines(document))
    if (FormulaOf(line)) formulaLines.push_back(line);
  EXPECT_EQ(events.lines, formulaLines);
  // Each block has two results: the lines that close its two merging loops.
  ASSERT_EQ(events.results.size(), 2u);
  EXPECT_EQ(events.results[1], formulaLines.size() - 1);
  EXPECT_EQ(NumberedLines(events.rendered), formulaLines.size() - 1) << events.rendered;
  EXPECT_EQ(events.text.Steps(), static_cast<std::int64_t>(formulaLines.size() - 1));
}

// The generated line in exercise-sheet notation (letters, symbols picked at random) and the
// same line with the X-indexes that the letters stand for: 11 on, in alphabetical order.
std::pair<std::string, std::string> ExerciseNotation(const std::string& text, std::mt19937& random) {
  static const std::vector<std::pair<std::string, std::vector<std::string>>> kSymbols = {
      {"<=", {"<=", "←", "⇐"}},    {"=>", {"=>", "→", "⇒", "->"}}, {"==", {"==", "↔", "⇔", "<->"}},
      {"-", {"-", "¬", "!", "~"}}, {"+", {"+", "∧", "&"}},         {"v", {"v", "∨", "|"}}};
  std::string exercise, indexed;
  for (std::size_t i = 0; i < text.size();) {
    if (text[i] == 'x' || text[i] == 'X') {
      std::size_t end = text.find_first_not_of("0123456789", i + 1);
      const int slot = Slot(std::stoi(text.substr(i + 1, end - i - 1)));
      exercise += kLetterNames[slot];
      indexed += "x" + std::to_string(11 + slot);
      i = end;
      continue;
    }
    bool symbol = false;
    for (const auto& [own, choices] : kSymbols) {
      if (text.compare(i, own.size(), own) != 0) continue;
      exercise += choices[std::uniform_int_distribution<std::size_t>(0, choices.size() - 1)(random)];
      indexed += own;
      i += own.size();
      symbol = true;
      break;
    }
    if (symbol) continue;
    exercise += text[i];
    indexed += text[i];
    ++i;
  }
  return {exercise, indexed};
}

std::size_t Count(std::string_view text, std::string_view pattern) {
  std::size_t count = 0;
  for (std::size_t at = text.find(pattern); at != std::string_view::npos; at = text.find(pattern, at + 1))
    ++count;
  return count;
}

std::size_t Atoms(std::string_view f) { return Count(f, "X_{") + Count(f, "\\bot") + Count(f, "\\top"); }
std::size_t Negations(std::string_view f) { return Count(f, "\\neg "); }
std::size_t Groups(std::string_view f) { return Count(f, "("); }
std::size_t Implications(std::string_view f) {
  return Count(f, "\\rightarrow ") - Count(f, "\\leftrightarrow ");
}

// What a step that applied only this law (besides reordering) does to its formula.
struct Effect {
  Gesetz gesetz;
  bool (*holds)(std::string_view before, std::string_view after);
};

const Effect kEffects[] = {
    {Gesetz::Aequivalenz, [](auto b, auto) { return Count(b, "\\leftrightarrow ") > 0; }},
    {Gesetz::FolgtAus,
     [](auto b, auto a) {
       return Count(a, "\\leftarrow ") + 1 == Count(b, "\\leftarrow ") &&
              Implications(a) == Implications(b) + 1;
     }},
    {Gesetz::Implikation, [](auto b, auto a) { return Implications(a) + 1 == Implications(b); }},
    {Gesetz::DoppelteNegation, [](auto b, auto a) { return Negations(a) + 2 <= Negations(b); }},
    {Gesetz::DeMorgan, [](auto b, auto a) { return Negations(a) > Negations(b); }},
    {Gesetz::Assoziativ, [](auto b, auto a) { return Atoms(a) == Atoms(b) && Groups(a) < Groups(b); }},
    {Gesetz::Distributiv, [](auto b, auto a) { return Atoms(a) > Atoms(b); }},
    {Gesetz::Idempotenz, [](auto b, auto a) { return Atoms(a) < Atoms(b); }},
    {Gesetz::Komplement, [](auto b, auto a) { return Negations(a) < Negations(b); }},
    {Gesetz::Neutral,
     [](auto b, auto a) { return Atoms(a) < Atoms(b) && Count(a, "X_{") == Count(b, "X_{"); }},
    {Gesetz::Dominanz, [](auto b, auto a) { return Atoms(a) < Atoms(b); }},
    {Gesetz::NegierteKonstante, [](auto b, auto a) { return Negations(a) < Negations(b); }},
    {Gesetz::KlammernWeglassen,
     [](auto b, auto a) { return Atoms(a) == Atoms(b) && Groups(a) <= Groups(b); }},
    {Gesetz::KlammernSetzen, [](auto b, auto a) { return Atoms(a) == Atoms(b) && Groups(a) > Groups(b); }},
};

bool IsReductionLaw(Gesetz g) {
  return g == Gesetz::Aequivalenz || g == Gesetz::FolgtAus || g == Gesetz::Implikation;
}

const std::vector<Gesetz> kMergeLaws = {
    Gesetz::Kommutativ, Gesetz::Idempotenz,        Gesetz::Komplement,        Gesetz::Neutral,
    Gesetz::Dominanz,   Gesetz::NegierteKonstante, Gesetz::KlammernWeglassen, Gesetz::KeineAenderung};

// The laws of a \gesetz argument, read back through the document's own names.
std::vector<Gesetz> ReadLaws(std::string_view text) {
  std::vector<Gesetz> laws;
  while (!text.empty()) {
    bool found = false;
    for (int k = 0; k <= static_cast<int>(Gesetz::KeineAenderung) && !found; ++k) {
      const auto g = static_cast<Gesetz>(k);
      std::string name;
      AppendLatexGesetze(name, std::span<const Gesetz>(&g, 1));
      name = name.substr(8, name.size() - 9);  // inside "\gesetz{...}"
      if (text.starts_with(name) &&
          (text.size() == name.size() || text.substr(name.size()).starts_with(", "))) {
        laws.push_back(g);
        text.remove_prefix(std::min(text.size(), name.size() + 2));
        found = true;
      }
    }
    if (!found) ADD_FAILURE() << "unknown law in " << text;
    if (!found) break;
  }
  return laws;
}

enum class LawPhase { Reduction, Disjunctive, Merge, Conjunctive };

// Checks one step's laws against its phase and its change from the line before.
void CheckStepLaws(const std::vector<Gesetz>& laws, LawPhase& phase, const std::string& before,
                   const std::string& after) {
  ASSERT_FALSE(laws.empty());
  const bool unchanged = laws == std::vector<Gesetz>{Gesetz::KeineAenderung};
  // The rendering hides the outermost parentheses, so a root that lost them looks the same.
  const bool hiddenParentheses = laws == std::vector<Gesetz>{Gesetz::KlammernWeglassen};
  if (!hiddenParentheses) {
    EXPECT_EQ(unchanged, before == after) << "\"keine Änderung\" exactly on repeated lines";
  }
  auto has = [&](Gesetz g) { return std::find(laws.begin(), laws.end(), g) != laws.end(); };
  if (!unchanged) {
    EXPECT_FALSE(has(Gesetz::KeineAenderung));
  }
  if (phase == LawPhase::Reduction && !(laws.size() == 1 && IsReductionLaw(laws[0]))) {
    for (Gesetz g : laws)
      EXPECT_TRUE(g == Gesetz::KlammernWeglassen || g == Gesetz::KlammernSetzen ||
                  g == Gesetz::KeineAenderung)
          << "the copy only changes parentheses";
    phase = LawPhase::Disjunctive;
    return;
  }
  for (Gesetz g : laws) {
    SCOPED_TRACE(std::string(GesetzName(g)));
    if (phase != LawPhase::Reduction) {
      EXPECT_FALSE(IsReductionLaw(g) || g == Gesetz::KlammernSetzen);
    }
    if (phase == LawPhase::Merge) {
      EXPECT_NE(std::find(kMergeLaws.begin(), kMergeLaws.end(), g), kMergeLaws.end());
    }
    if (phase == LawPhase::Conjunctive) {
      EXPECT_FALSE(g == Gesetz::DeMorgan || g == Gesetz::DoppelteNegation);
    }
  }
  std::vector<Gesetz> main;
  std::copy_if(laws.begin(), laws.end(), std::back_inserter(main),
               [](Gesetz g) { return g != Gesetz::Kommutativ; });
  if (main.empty()) {
    std::string b = before, a = after;
    std::sort(b.begin(), b.end());
    std::sort(a.begin(), a.end());
    EXPECT_EQ(a, b) << "reordering keeps every symbol";
  }
  if (main.size() != 1) return;
  for (const Effect& effect : kEffects)
    if (effect.gesetz == main[0]) {
      EXPECT_TRUE(effect.holds(before, after)) << GesetzName(main[0]) << " does not fit";
    }
}

// The laws of every step as the run's events carry them, written as in the document.
class LawRecorder : public RunObserver {
 public:
  void OnStep(const StepEvent& event) override {
    if (event.phase == Phase::Input) {
      EXPECT_TRUE(event.gesetze.empty());
      return;
    }
    laws.emplace_back();
    AppendLatexGesetze(laws.back(), event.gesetze);
  }
  std::vector<std::string> laws;
};

// The document with laws is the plain one plus the \gesetz macro and one \gesetz per step line.
void CheckLaws(const std::string& plain, const std::string& text, OptionEntry option) {
  test::TempFolder folder;
  test::TestPlatform platform(text, "g", option);
  platform.SetGesetze(true);
  RunDriver driver(platform, test::OpenerIn(folder.Path()));
  LawRecorder events;
  driver.SetObserver(&events);
  driver.Command1_Click();
  std::vector<std::string> lines = Lines(test::ReadFile(folder.Path() / "G.TEX"));
  std::vector<std::string> documentLaws;
  ASSERT_GT(lines.size(), 8u);
  ASSERT_TRUE(lines[7].starts_with("\\newcommand{\\gesetz}"));
  lines.erase(lines.begin() + 7);
  std::string stripped;
  LawPhase phase = LawPhase::Reduction;
  std::string previous;
  for (std::string& line : lines) {
    if (line.starts_with("$\\sim$ ")) {
      const std::size_t at = line.rfind("$\\gesetz{");
      ASSERT_NE(at, std::string::npos) << "step line without laws: " << line;
      documentLaws.push_back(line.substr(at + 1));
      ASSERT_TRUE(line.ends_with("}"));
      const std::vector<Gesetz> laws = ReadLaws(std::string_view(line).substr(at + 9, line.size() - at - 10));
      line.resize(at + 1);
      const std::string formula = *FormulaOf(line);
      SCOPED_TRACE(previous + " ~ " + formula);
      CheckStepLaws(laws, phase, previous, formula);
      previous = formula;
    } else if (auto formula = FormulaOf(line)) {
      previous = *formula;  // the input as parsed: the block begins
      phase = LawPhase::Reduction;
    } else if (line == "Zusammenfassen der mehrfach vorkommenden Literale ergibt:") {
      phase = LawPhase::Merge;
    } else if (line == "Nun zur konjunktiven Umbrix...") {
      phase = LawPhase::Conjunctive;
    }
    EXPECT_EQ(line.find("gesetz"), std::string::npos) << line;
    stripped += line + "\r\n";
  }
  EXPECT_EQ(stripped, plain);
  EXPECT_EQ(events.laws, documentLaws);
}

// With the section "Ergebnis" the document is the same up to the section, which ends the
// block, and its check finds every line equivalent to the input.
void CheckErgebnis(const std::string& text, OptionEntry option, const std::string& plain) {
  const std::string document = test::RunDocument(text, option, {.ergebnis = true});
  const std::size_t section = document.find("\\par\\medskip\\textbf{Ergebnis}");
  ASSERT_NE(section, std::string::npos);
  const std::size_t end = document.rfind("\\end{document}");
  EXPECT_EQ(document.substr(0, section) + document.substr(end), plain);
  EXPECT_NE(document.find("Probe: Alle ", section), std::string::npos) << document.substr(section);
}

TEST(DocumentProperty, RandomFormulasKeepTheirMeaningAndReachBothNormalForms) {
  for (const OptionInfo& info : kOptionTable) {
    const int option = EntryNumber(info.entry);
    FormulaMaker maker(4711u + static_cast<std::uint32_t>(option));
    std::mt19937 random(815u + static_cast<std::uint32_t>(option));
    for (int round = 0; round < 150; ++round) {
      const auto [formula, text] = maker.Make();
      SCOPED_TRACE("option " + std::to_string(option) + ": " + text);

      test::TempFolder folder;
      test::TestPlatform platform(text, "p", info.entry);
      platform.lineLimit = 5000;
      RunDriver driver(platform, test::OpenerIn(folder.Path()));
      EventRecorder events;
      driver.SetObserver(&events);
      try {
        driver.Command1_Click();
      } catch (const RunStopped&) {
        FAIL() << "no end after " << platform.lineLimit << " lines";
      }
      const std::string document = test::ReadFile(folder.Path() / "P.TEX");
      CheckDocument(formula, document);
      CheckEvents(events, document);
      CheckLaws(document, text, info.entry);
      if (HasFatalFailure()) return;
      if (round % 3 == 0 && text != "x10" && text != "X10") {
        // Written as an exercise sheet would, the line has the same document, with letters.
        const auto [exercise, indexed] = ExerciseNotation(text, random);
        SCOPED_TRACE(exercise);
        std::string expected = test::RunDocument(indexed, info.entry);
        for (int slot = 0; slot < kVariableCount; ++slot)
          expected = ReplaceAll(expected, {"X_{" + std::to_string(11 + slot) + "}", kLetterNames[slot]});
        EXPECT_EQ(test::RunDocument(exercise, info.entry), expected);
      }
      if (round % 5 == 0) CheckErgebnis(text, info.entry, document);
    }
  }
}

// Two formulas in one run, the option switched between them: each block stands on its own.
TEST(DocumentProperty, OptionSwitchedBetweenFormulasTakesEffectAtTheNextCall) {
  class SwitchingPlatform : public test::TestPlatform {
   public:
    using TestPlatform::TestPlatform;
    void ProcessEvents() override { SelectOption(OptionEntry::kFewSteps); }
  };
  test::TempFolder folder;
  SwitchingPlatform platform("x1==x2\r\nx1", "p", OptionEntry::kManySteps);
  RunDriver driver(platform, test::OpenerIn(folder.Path()));
  driver.Command1_Click();
  const std::string document = test::ReadFile(folder.Path() / "P.TEX");
  // The first block merges step by step, with the two bottom constants as a visible step.
  EXPECT_NE(document.find("\\vee \\bot\\vee \\bot"), std::string::npos);
}

}  // namespace
}  // namespace umbrix
