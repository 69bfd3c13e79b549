// Property test: every typical mistake, made at a random place of a random formula. The
// step must be judged wrong with a counterexample under which the two lines really differ
// (evaluated here with Umbrix's own parser, independent of the checker), and the mistake's
// class must be named in at least 90 % of the cases. The rate of each class is printed; with
// DEBUG_KLASSEN set in the environment every case not named so is listed.
#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <iomanip>
#include <iostream>
#include <random>
#include <string>
#include <vector>

#include "derivation_check/check_texts.hpp"
#include "derivation_check/derivation.hpp"
#include "general_formula/formel.hpp"
#include "support/formel_value.hpp"

namespace umbrix {
namespace {

using Parts = std::vector<std::string>;  // the random parts A, B, C of a pattern, parenthesised

struct Pattern {
  Fehlerklasse klasse;
  int parts;
  std::function<std::string(const Parts&)> before;
  std::function<std::string(const Parts&)> after;
};

std::string Not(const std::string& a) { return "¬" + a; }

// One row per class: the part before and the part as the mistake writes it.
const std::vector<Pattern>& Patterns() {
  using K = Fehlerklasse;
  static const std::vector<Pattern> patterns = {
      {K::ImplikationOhneNegation, 2, [](const Parts& p) { return p[0] + "→" + p[1]; },
       [](const Parts& p) { return p[0] + "∨" + p[1]; }},
      {K::ImplikationNegationVerschoben, 2, [](const Parts& p) { return p[0] + "→" + p[1]; },
       [](const Parts& p) { return p[0] + "∨" + Not(p[1]); }},
      {K::ImplikationNegationVerschoben, 2, [](const Parts& p) { return p[0] + "→" + p[1]; },
       [](const Parts& p) { return "¬(" + p[0] + "∨" + p[1] + ")"; }},
      {K::ImplikationMitUnd, 2, [](const Parts& p) { return p[0] + "→" + p[1]; },
       [](const Parts& p) { return Not(p[0]) + "∧" + p[1]; }},
      {K::ImplikationUmgedreht, 2, [](const Parts& p) { return p[0] + "→" + p[1]; },
       [](const Parts& p) { return p[1] + "→" + p[0]; }},
      {K::ImplikationUmgedreht, 2, [](const Parts& p) { return p[0] + "←" + p[1]; },
       [](const Parts& p) { return p[0] + "→" + p[1]; }},
      {K::NegationUeberImplikation, 2, [](const Parts& p) { return "¬(" + p[0] + "→" + p[1] + ")"; },
       [](const Parts& p) { return Not(p[0]) + "→" + Not(p[1]); }},
      {K::AequivalenzNegationVerloren, 2, [](const Parts& p) { return p[0] + "↔" + p[1]; },
       [](const Parts& p) { return "(" + p[0] + "∧" + p[1] + ")∨(" + Not(p[0]) + "∧" + p[1] + ")"; }},
      {K::AequivalenzUndOderVertauscht, 2, [](const Parts& p) { return p[0] + "↔" + p[1]; },
       [](const Parts& p) { return "(" + p[0] + "∨" + p[1] + ")∧(" + Not(p[0]) + "∨" + Not(p[1]) + ")"; }},
      {K::AequivalenzNurEineRichtung, 2, [](const Parts& p) { return p[0] + "↔" + p[1]; },
       [](const Parts& p) { return p[0] + "→" + p[1]; }},
      {K::DoppelteNegationUeberKlammer, 2, [](const Parts& p) { return "¬(" + Not(p[0]) + "∧" + p[1] + ")"; },
       [](const Parts& p) { return p[0] + "∧" + p[1]; }},
      {K::DeMorganNichtAlleTeile, 2, [](const Parts& p) { return "¬(" + p[0] + "∧" + p[1] + ")"; },
       [](const Parts& p) { return Not(p[0]) + "∨" + p[1]; }},
      {K::DeMorganVerknuepfungNichtGewechselt, 2,
       [](const Parts& p) { return "¬(" + p[0] + "∧" + p[1] + ")"; },
       [](const Parts& p) { return Not(p[0]) + "∧" + Not(p[1]); }},
      {K::DeMorganAeussereNegationBehalten, 2, [](const Parts& p) { return "¬(" + p[0] + "∨" + p[1] + ")"; },
       [](const Parts& p) { return "¬(" + Not(p[0]) + "∧" + Not(p[1]) + ")"; }},
      {K::NegationKlammerVergessen, 2, [](const Parts& p) { return "¬(" + p[0] + "∧" + p[1] + ")"; },
       [](const Parts& p) { return Not(p[0]) + "∧" + p[1]; }},
      {K::DoppelteNegationFalsch, 1, [](const Parts& p) { return "¬¬" + p[0]; },
       [](const Parts& p) { return Not(p[0]); }},
      {K::DistributionFalscheVerknuepfung, 3,
       [](const Parts& p) { return p[0] + "∧(" + p[1] + "∨" + p[2] + ")"; },
       [](const Parts& p) { return "(" + p[0] + "∨" + p[1] + ")∧(" + p[0] + "∨" + p[2] + ")"; }},
      {K::DistributionTeilVergessen, 3, [](const Parts& p) { return p[0] + "∨(" + p[1] + "∧" + p[2] + ")"; },
       [](const Parts& p) { return p[0] + "∨" + p[1]; }},
      {K::KlammernVerschoben, 3, [](const Parts& p) { return p[0] + "∧(" + p[1] + "∨" + p[2] + ")"; },
       [](const Parts& p) { return "(" + p[0] + "∧" + p[1] + ")∨" + p[2]; }},
      {K::AbsorptionFalscherTeil, 2, [](const Parts& p) { return p[0] + "∨(" + p[0] + "∧" + p[1] + ")"; },
       [](const Parts& p) { return p[0] + "∧" + p[1]; }},
      {K::KomplementVerwechselt, 1, [](const Parts& p) { return p[0] + "∧" + Not(p[0]); },
       [](const Parts&) { return std::string("⊤"); }},
      {K::NeutralDominantVerwechselt, 1, [](const Parts& p) { return p[0] + "∨⊤"; },
       [](const Parts& p) { return p[0]; }},
      {K::NeutralDominantVerwechselt, 1, [](const Parts& p) { return p[0] + "∧⊤"; },
       [](const Parts&) { return std::string("⊤"); }},
      {K::IdempotenzFalsch, 1, [](const Parts& p) { return p[0] + "∨" + p[0]; },
       [](const Parts&) { return std::string("⊤"); }},
      {K::DualGebildet, 3, [](const Parts& p) { return p[0] + "∧(" + p[1] + "∨" + Not(p[2]) + ")"; },
       [](const Parts& p) { return Not(p[0]) + "∨(" + Not(p[1]) + "∧" + p[2] + ")"; }},
  };
  return patterns;
}

// Random formulas over X1 to X5: the parts of a pattern (literals and small junctions) and
// the line around it.
class Maker {
 public:
  explicit Maker(std::uint32_t seed) : random_(seed) {}

  std::string Literal() {
    const std::string variable = "X" + std::to_string(Pick(1, 5));
    return Pick(0, 2) == 0 ? Not(variable) : variable;
  }

  std::string Part() {
    if (Pick(0, 2) != 0) return Literal();
    return "(" + Literal() + (Pick(0, 1) ? "∧" : "∨") + Literal() + ")";
  }

  // The part placed in a random line: alone, beside a literal, or under a negation.
  std::string Around(const std::string& part) {
    switch (Pick(0, 4)) {
      case 0:
        return part;
      case 1:
        return "(" + part + ")∧" + Literal();
      case 2:
        return Literal() + "∨(" + part + ")";
      case 3:
        return "(" + part + ")→" + Literal();
      default:
        return Literal() + "∧(" + Literal() + "∨(" + part + "))";
    }
  }

  std::uint32_t Seed() { return random_(); }

 private:
  int Pick(int low, int high) { return std::uniform_int_distribution<int>(low, high)(random_); }
  std::mt19937 random_;
};

// The value of a line under an assignment, through Umbrix's own parser: the constants become
// X99 v -X99 and X99 + -X99.
bool Value(std::string line, const std::vector<std::pair<std::int16_t, bool>>& belegung) {
  const std::pair<std::string, std::string> kSymbols[] = {
      {"¬", "-"},  {"∧", "+"},  {"∨", "v"},          {"→", "=>"},
      {"←", "<="}, {"↔", "=="}, {"⊤", "(X99v-X99)"}, {"⊥", "(X99+-X99)"}};
  for (const auto& [symbol, own] : kSymbols)
    for (std::size_t at; (at = line.find(symbol)) != std::string::npos;) line.replace(at, symbol.size(), own);
  Formel formel;
  formel.SetValue(line);
  return test::FormelValue(formel, [&](int index) {
    for (const auto& [variable, wahr] : belegung)
      if (variable == index) return wahr;
    return false;  // X99
  });
}

bool Equivalent(const std::string& a, const std::string& b) {
  for (unsigned row = 0; row < 32; ++row) {
    std::vector<std::pair<std::int16_t, bool>> belegung;
    for (std::int16_t i = 1; i <= 5; ++i) belegung.emplace_back(i, ((row >> (i - 1)) & 1U) != 0);
    if (Value(a, belegung) != Value(b, belegung)) return false;
  }
  return true;
}

TEST(MistakeProperty, EveryMistakeIsWrongWithACounterexampleAndMostlyNamed) {
  constexpr int kCases = 120;
  Maker maker(2027);
  std::vector<int> named(kFehlerklassen), tried(kFehlerklassen);
  for (const Pattern& pattern : Patterns()) {
    for (int round = 0; round < kCases; ++round) {
      Parts parts;
      for (int k = 0; k < pattern.parts; ++k) parts.push_back(maker.Part());
      Maker around(maker.Seed());
      Maker copy = around;
      const std::string before = around.Around(pattern.before(parts));
      const std::string after = copy.Around(pattern.after(parts));
      if (Equivalent(before, after)) continue;
      SCOPED_TRACE(before + "  ->  " + after);
      const std::vector<GepruefteHerleitung> checked = PruefeHerleitungen(before + "\n" + after + "\n", {});
      ASSERT_EQ(checked.size(), 1u);
      ASSERT_EQ(checked[0].schritte.size(), 1u);
      const Schrittbewertung& bewertung = checked[0].schritte[0].bewertung;
      ASSERT_EQ(bewertung.urteil, Urteil::Falsch);
      ASSERT_TRUE(bewertung.gegenbeispiel);
      EXPECT_EQ(Value(before, bewertung.gegenbeispiel->belegung), bewertung.gegenbeispiel->vorher);
      EXPECT_EQ(Value(after, bewertung.gegenbeispiel->belegung), bewertung.gegenbeispiel->nachher);
      EXPECT_NE(bewertung.gegenbeispiel->vorher, bewertung.gegenbeispiel->nachher);
      const auto k = static_cast<std::size_t>(pattern.klasse);
      ++tried[k];
      if (bewertung.fehler && bewertung.fehler->klasse == pattern.klasse)
        ++named[k];
      else if (std::getenv("DEBUG_KLASSEN"))
        std::cout << "MISS " << pruef_texts::TextOf(pattern.klasse).name << " | " << before << "  ->  "
                  << after << " | "
                  << (bewertung.fehler ? pruef_texts::TextOf(bewertung.fehler->klasse).name : "keine")
                  << "\n";
    }
  }
  for (std::size_t k = 0; k < kFehlerklassen; ++k) {
    const double rate = tried[k] == 0 ? 0.0 : 100.0 * named[k] / tried[k];
    std::cout << "[ Fehlerklasse ] " << std::setw(5) << std::fixed << std::setprecision(1) << rate
              << " % von " << std::setw(3) << tried[k] << "  "
              << pruef_texts::TextOf(static_cast<Fehlerklasse>(k)).name << "\n";
    EXPECT_GT(tried[k], kCases / 3) << pruef_texts::TextOf(static_cast<Fehlerklasse>(k)).name;
    EXPECT_GE(named[k] * 10, tried[k] * 9) << pruef_texts::TextOf(static_cast<Fehlerklasse>(k)).name;
  }
}

}  // namespace
}  // namespace umbrix
