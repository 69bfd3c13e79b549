// Property test: Umbrix's own derivations, in all three option entries, of seeded random
// formulas, read back as a student's derivation. Every step must be judged right, and where
// "Gesetze angeben" names a single law for a step, the checker must name that law.
#include <gtest/gtest.h>

#include <iostream>
#include <map>
#include <string>
#include <vector>

#include "derivation_check/derivation.hpp"
#include "run/field_platform.hpp"
#include "run/run_driver.hpp"
#include "support/formula_maker.hpp"

namespace umbrix {
namespace {

// A block's lines as a student would write them, with the laws that Umbrix named for each.
struct OwnLine {
  std::string text;
  std::vector<Gesetz> gesetze;
};

// Umbrix's text forms in the notation that a derivation is read in: no ";" marks, the
// constants as ⊤ and ⊥, a simple formula without its outermost parentheses (as the document
// shows it).
std::string StudentText(std::string_view formelText, bool simple) {
  if (simple && formelText.size() >= 2 && formelText.front() == '(')
    formelText = formelText.substr(1, formelText.size() - 2);
  std::string text;
  for (char c : formelText) {
    if (c == ';') continue;
    if (c == 'C')
      text += "⊥";
    else if (c == 'T')
      text += "⊤";
    else
      text += c;
  }
  return text;
}

class LineCollector : public RunObserver {
 public:
  void OnFormulaStart(const FormulaStartEvent&) override { blocks.emplace_back(); }
  void OnStep(const StepEvent& event) override {
    blocks.back().push_back(
        {StudentText(event.formelText, event.simple), {event.gesetze.begin(), event.gesetze.end()}});
  }
  std::vector<std::vector<OwnLine>> blocks;
};

std::vector<std::vector<OwnLine>> OwnDerivations(const std::string& input, OptionEntry option) {
  FieldPlatform platform(input, "doc", option, true);
  RunDriver driver(platform, [](const std::string&) { return OutputFile::Discard(); });
  LineCollector collector;
  driver.SetObserver(&collector);
  driver.Command1_Click();
  return collector.blocks;
}

struct Tally {
  int steps = 0;
  int right = 0;
  int singleLaw = 0;
  int sameLaw = 0;
};

TEST(OwnDerivations, EveryStepIsRightAndASingleNamedLawIsNamedAlike) {
  constexpr int kFormulas = 60;
  std::map<int, Tally> tallies;
  for (const OptionInfo& info : kOptionTable) {
    test::FormulaMaker maker(4242);
    Tally& tally = tallies[static_cast<int>(info.entry)];
    for (int round = 0; round < kFormulas; ++round) {
      const std::string input = maker.Make().second;
      for (const std::vector<OwnLine>& block : OwnDerivations(input, info.entry)) {
        std::string derivation;
        for (const OwnLine& line : block) derivation += line.text + "\n";
        const std::vector<GepruefteHerleitung> checked = PruefeHerleitungen(derivation, {});
        ASSERT_EQ(checked.size(), 1u);
        const GepruefteHerleitung& herleitung = checked[0];
        ASSERT_EQ(herleitung.schritte.size() + 1, block.size()) << derivation;
        for (const Herleitungsschritt& schritt : herleitung.schritte) {
          const OwnLine& before = block[schritt.vorher];
          const OwnLine& after = block[schritt.nachher];
          SCOPED_TRACE(std::string(info.word) + ": " + before.text + "  ->  " + after.text);
          const Urteil urteil = schritt.bewertung.urteil;
          ++tally.steps;
          const bool right = urteil == Urteil::Richtig || urteil == Urteil::NurUmgestellt ||
                             urteil == Urteil::MehrereSchritte;
          EXPECT_TRUE(right);
          tally.right += right;
          if (after.gesetze.size() != 1) continue;
          ++tally.singleLaw;
          // Parentheses of one member that the document does not show leave the line as it looks.
          const std::vector<Gesetz> expected =
              before.text == after.text ? std::vector<Gesetz>{Gesetz::KeineAenderung} : after.gesetze;
          const bool same = schritt.bewertung.gesetze == expected;
          tally.sameLaw += same;
          EXPECT_TRUE(same) << "Umbrix: " << GesetzName(after.gesetze[0]) << ", checker: "
                            << (schritt.bewertung.gesetze.empty()
                                    ? std::string("(none)")
                                    : std::string(GesetzName(schritt.bewertung.gesetze[0])))
                            << " (" << schritt.bewertung.gesetze.size() << ")";
        }
      }
    }
  }
  for (const auto& [entry, tally] : tallies)
    std::cout << "[ Stufe " << entry << " ] " << tally.steps << " Schritte, " << tally.right << " richtig; "
              << tally.singleLaw << " mit einem Gesetz, davon " << tally.sameLaw << " gleich benannt\n";
}

}  // namespace
}  // namespace umbrix
