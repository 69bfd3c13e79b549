// Property test over seeded random formulas in all three option entries: every formula line
// of the document means the same as the input line, the disjunctive and conjunctive phases end
// in their normal forms, the merging loops end with a repeated line, and every loop ends. The
// run's events and the readable text show exactly the document's formula lines.
#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <random>
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "frontend/readable_render.hpp"
#include "support/formula_maker.hpp"
#include "support/formula_node.hpp"
#include "support/latex_reader.hpp"
#include "test_platform.hpp"
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
