// The verdicts on single steps: every typical mistake on examples as exercise sheets write
// them (letters, X-indexes, the constants 1, 0, w, f, ⊤, ⊥), right steps with the law they
// apply, the counterexample, unreadable lines, the end of a derivation and the next step.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "derivation_check/check_render.hpp"
#include "derivation_check/derivation.hpp"

namespace umbrix {
namespace {

using K = Fehlerklasse;

Schrittbewertung Judge(const std::string& before, const std::string& after) {
  const std::vector<GepruefteHerleitung> checked = PruefeHerleitungen(before + "\n" + after + "\n", {});
  EXPECT_EQ(checked.size(), 1u);
  EXPECT_EQ(checked.at(0).schritte.size(), 1u);
  return checked.at(0).schritte.at(0).bewertung;
}

struct MistakeRow {
  const char* before;
  const char* after;
  K klasse;
};

// At least one row per class.
const MistakeRow kMistakes[] = {
    {"p→q", "p∨q", K::ImplikationOhneNegation},
    {"(a∧b)→c", "(a∧b)∨c", K::ImplikationOhneNegation},
    {"p→q", "p∨¬q", K::ImplikationNegationVerschoben},
    {"a→b", "¬(a∨b)", K::ImplikationNegationVerschoben},
    {"a→b", "¬a∧b", K::ImplikationMitUnd},
    {"a→b", "b→a", K::ImplikationUmgedreht},
    {"a←b", "¬a∨b", K::ImplikationUmgedreht},
    {"x1<=x2", "x1=>x2", K::ImplikationUmgedreht},
    {"¬(p→q)", "¬p→¬q", K::NegationUeberImplikation},
    {"a↔b", "(a∧b)∨(¬a∧b)", K::AequivalenzNegationVerloren},
    {"a<->b", "(¬a∨b)∧(a∨b)", K::AequivalenzNegationVerloren},
    {"a↔b", "(a∨b)∧(¬a∨¬b)", K::AequivalenzUndOderVertauscht},
    {"a↔b", "(a→b)∨(b→a)", K::AequivalenzUndOderVertauscht},
    {"a↔b", "a→b", K::AequivalenzNurEineRichtung},
    {"p==q", "-pvq", K::AequivalenzNurEineRichtung},
    {"¬(¬a∧b)", "a∧b", K::DoppelteNegationUeberKlammer},
    {"¬(a∧b)", "¬a∨b", K::DeMorganNichtAlleTeile},
    {"¬(a∨b∨c)", "¬a∧¬b∧c", K::DeMorganNichtAlleTeile},
    {"¬(a∧b)", "¬a∧¬b", K::DeMorganVerknuepfungNichtGewechselt},
    {"!(a | b) & c", "(!a | !b) & c", K::DeMorganVerknuepfungNichtGewechselt},
    {"¬(a∨b)", "¬(¬a∧¬b)", K::DeMorganAeussereNegationBehalten},
    {"¬(a∧b)", "¬a∧b", K::NegationKlammerVergessen},
    {"¬¬a∧b", "¬a∧b", K::DoppelteNegationFalsch},
    {"a∧(b∨c)", "(a∨b)∧(a∨c)", K::DistributionFalscheVerknuepfung},
    {"x1v(x2+x3)", "(x1+x2)v(x1+x3)", K::DistributionFalscheVerknuepfung},
    {"a∧(b∨c∨d)", "(a∧b)∨(a∧c)", K::DistributionTeilVergessen},
    {"a∧(b∨c)", "(a∧b)∨c", K::KlammernVerschoben},
    {"(a∧b)∨c", "a∧(b∨c)", K::KlammernVerschoben},
    {"a∨(a∧b)", "a∧b", K::AbsorptionFalscherTeil},
    {"a∧(a∨b)", "b", K::AbsorptionFalscherTeil},
    {"(a∧¬a)∨b", "1∨b", K::KomplementVerwechselt},
    {"p∨¬p", "0", K::KomplementVerwechselt},
    {"x1+-x1", "⊤", K::KomplementVerwechselt},
    {"a∨⊤", "a", K::NeutralDominantVerwechselt},
    {"a∧0", "a", K::NeutralDominantVerwechselt},
    {"a∧1", "1", K::NeutralDominantVerwechselt},
    {"a∧a", "⊥", K::IdempotenzFalsch},
    {"a∨b", "¬a∧¬b", K::DualGebildet},
    {"(a∨¬b)∧c", "(¬a∧b)∨¬c", K::DualGebildet},
};

TEST(StepCheck, EveryTypicalMistakeIsWrongAndNamed) {
  std::vector<bool> covered(kFehlerklassen);
  for (const MistakeRow& row : kMistakes) {
    SCOPED_TRACE(std::string(row.before) + "  ->  " + row.after);
    const Schrittbewertung bewertung = Judge(row.before, row.after);
    EXPECT_EQ(bewertung.urteil, Urteil::Falsch);
    EXPECT_TRUE(bewertung.gegenbeispiel);
    ASSERT_TRUE(bewertung.fehler);
    EXPECT_EQ(bewertung.fehler->klasse, row.klasse);
    covered[static_cast<std::size_t>(row.klasse)] = true;
  }
  for (std::size_t k = 0; k < kFehlerklassen; ++k) EXPECT_TRUE(covered[k]) << "no row for class " << k;
}

struct RightRow {
  const char* before;
  const char* after;
  Urteil urteil;
  std::vector<Gesetz> gesetze;
};

const RightRow kRightSteps[] = {
    {"p→q", "¬p∨q", Urteil::Richtig, {Gesetz::Implikation}},
    {"¬p∨q", "¬(p∧¬q)", Urteil::Richtig, {Gesetz::DeMorgan, Gesetz::DoppelteNegation}},
    {"¬p∨q", "p→q", Urteil::Richtig, {Gesetz::Implikation}},
    {"a←b", "b→a", Urteil::Richtig, {Gesetz::FolgtAus}},
    {"a↔b", "(a→b)∧(b→a)", Urteil::Richtig, {Gesetz::Aequivalenz}},
    {"a↔b", "(a∧b)∨(¬a∧¬b)", Urteil::Richtig, {Gesetz::Aequivalenz}},
    {"¬¬a∨b", "a∨b", Urteil::Richtig, {Gesetz::DoppelteNegation}},
    {"¬(a∨b)", "¬a∧¬b", Urteil::Richtig, {Gesetz::DeMorgan}},
    {"a∧(b∨c)", "(a∧b)∨(a∧c)", Urteil::Richtig, {Gesetz::Distributiv}},
    {"(a∧b)∨(a∧c)", "a∧(b∨c)", Urteil::Richtig, {Gesetz::Distributiv}},
    {"(a∨b)∧(c∨d)", "(a∧c)∨(a∧d)∨(b∧c)∨(b∧d)", Urteil::Richtig, {Gesetz::Distributiv}},
    {"c∨a∨(a∧b)", "c∨a", Urteil::Richtig, {Gesetz::Absorption}},
    {"a∧¬a∧b", "0", Urteil::Richtig, {Gesetz::Komplement}},
    {"x1v-x1", "⊤", Urteil::Richtig, {Gesetz::Komplement}},
    {"a∨0", "a", Urteil::Richtig, {Gesetz::Neutral}},
    {"a∧falsch", "falsch", Urteil::Richtig, {Gesetz::Dominanz}},
    {"¬⊤∨a", "⊥∨a", Urteil::Richtig, {Gesetz::NegierteKonstante}},
    {"a∧b∧a", "a∧b", Urteil::Richtig, {Gesetz::Idempotenz}},
    {"a", "a∧a", Urteil::Richtig, {Gesetz::Idempotenz}},
    {"b∧a", "a∧b", Urteil::NurUmgestellt, {Gesetz::Kommutativ}},
    {"(a∧b)∧c", "a∧(b∧c)", Urteil::NurUmgestellt, {Gesetz::Assoziativ}},
    {"((a))∨b", "a∨b", Urteil::NurUmgestellt, {Gesetz::KlammernWeglassen}},
    {"a∨b∧c", "a∨(b∧c)", Urteil::NurUmgestellt, {Gesetz::KlammernSetzen}},
    {"a∧b", "a ∧ b", Urteil::NurUmgestellt, {Gesetz::KeineAenderung}},
    {"¬(a∧b)∨¬(c∨d)", "¬a∨¬b∨(¬c∧¬d)", Urteil::MehrereSchritte, {Gesetz::DeMorgan}},
    {"(a∧a)∨(b∧¬b)", "a∨⊥", Urteil::MehrereSchritte, {Gesetz::Idempotenz, Gesetz::Komplement}},
    {"p→q",
     "¬(p∧¬q)",
     Urteil::MehrereSchritte,
     {Gesetz::Implikation, Gesetz::DeMorgan, Gesetz::DoppelteNegation}},
};

TEST(StepCheck, RightStepsNameTheirLaws) {
  for (const RightRow& row : kRightSteps) {
    SCOPED_TRACE(std::string(row.before) + "  ->  " + row.after);
    const Schrittbewertung bewertung = Judge(row.before, row.after);
    EXPECT_EQ(bewertung.urteil, row.urteil);
    EXPECT_EQ(bewertung.gesetze, row.gesetze);
    EXPECT_FALSE(bewertung.gegenbeispiel);
  }
}

TEST(StepCheck, TheCounterexampleIsTheFirstRowWhereTheLinesDiffer) {
  const Schrittbewertung bewertung = Judge("¬(a∧b)", "¬a∧¬b");
  ASSERT_TRUE(bewertung.gegenbeispiel);
  const std::vector<std::pair<std::int16_t, bool>> expected = {{11, false}, {12, true}};
  EXPECT_EQ(bewertung.gegenbeispiel->belegung, expected);
  EXPECT_TRUE(bewertung.gegenbeispiel->vorher);
  EXPECT_FALSE(bewertung.gegenbeispiel->nachher);
  // A variable that only one line has is part of the assignment too.
  const Schrittbewertung dropped = Judge("a∧b", "a");
  ASSERT_TRUE(dropped.gegenbeispiel);
  EXPECT_EQ(dropped.gegenbeispiel->belegung.size(), 2u);
}

TEST(StepCheck, ConstantsAndNotationsAsExerciseSheetsWriteThem) {
  struct Row {
    const char* derivation;
    Urteil urteil;
  };
  const Row rows[] = {
      {"a∧¬a\n0\n", Urteil::Richtig},         // 0 is false where the variables are letters
      {"a∨¬a\nw\n", Urteil::Richtig},         // w is true
      {"w∨¬w\nw\n", Urteil::Falsch},          // the exercise uses w as a variable
      {"x1+-x1\n⊥\n", Urteil::Richtig},       // with X-indexes: ⊥
      {"x1+-x1\nfalsch\n", Urteil::Richtig},  // or the word
      {"x1vx2\nx2vx1\n", Urteil::NurUmgestellt},
      {"P → Q\n!P | q\n", Urteil::Richtig},  // P and p are the same variable
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.derivation);
    const std::vector<GepruefteHerleitung> checked = PruefeHerleitungen(row.derivation, {});
    ASSERT_EQ(checked.size(), 1u);
    ASSERT_EQ(checked[0].schritte.size(), 1u);
    EXPECT_EQ(checked[0].schritte[0].bewertung.urteil, row.urteil);
  }
}

TEST(StepCheck, AnUnreadableLineIsReportedAndTheOthersAreJudged) {
  const std::vector<GepruefteHerleitung> checked = PruefeHerleitungen("a∧b\n(a∧\nx1∧b\nb∧a\n\np→q\nq\n", {});
  ASSERT_EQ(checked.size(), 2u);
  const std::vector<Herleitungszeile>& zeilen = checked[0].gelesen.zeilen;
  ASSERT_EQ(zeilen.size(), 4u);
  ASSERT_TRUE(zeilen[1].problem);
  EXPECT_EQ(zeilen[1].problem->line, 2);
  EXPECT_EQ(zeilen[1].problem->column, 4);
  ASSERT_TRUE(zeilen[2].problem);  // X-indexes in a derivation of letters
  EXPECT_EQ(zeilen[2].problem->line, 3);
  EXPECT_EQ(zeilen[2].problem->column, 1);
  ASSERT_EQ(checked[0].schritte.size(), 1u);
  EXPECT_EQ(checked[0].schritte[0].vorher, 0u);
  EXPECT_EQ(checked[0].schritte[0].nachher, 3u);
  EXPECT_EQ(checked[0].schritte[0].bewertung.urteil, Urteil::NurUmgestellt);
  EXPECT_FALSE(checked[0].AllesRichtig());
  EXPECT_EQ(checked[1].gelesen.zeilen[0].zeile, 6);
  EXPECT_EQ(checked[1].schritte[0].bewertung.urteil, Urteil::Falsch);
}

TEST(StepCheck, TheEndComparesWithTheNormalAndTheMinimalForm) {
  const std::vector<GepruefteHerleitung> checked =
      PruefeHerleitungen("(a∨b)∧(a∨¬b)\n(a∧a)∨(a∧¬b)∨(b∧a)∨(b∧¬b)\na∨(a∧¬b)∨(a∧b)\n", {std::nullopt, true});
  ASSERT_TRUE(checked[0].abschluss);
  const Abschluss& abschluss = *checked[0].abschluss;
  EXPECT_EQ(abschluss.ziel, Ziel::Dnf);
  EXPECT_TRUE(abschluss.zielErkannt);
  EXPECT_EQ(abschluss.gleichwertigMitAufgabe, true);
  ASSERT_EQ(abschluss.vergleiche.size(), 1u);
  EXPECT_EQ(abschluss.vergleiche[0].terme, 3u);
  EXPECT_EQ(abschluss.vergleiche[0].minimaleTerme, 1u);
  EXPECT_EQ(abschluss.vergleiche[0].tipp, Gesetz::Absorption);
  EXPECT_TRUE(abschluss.hinweisGefragt);
  EXPECT_FALSE(abschluss.hinweis);  // Umbrix's merging leaves this form as it is
  const std::string sentences = PruefungAlsText(checked, 200);
  EXPECT_NE(sentences.find("Deine DNF hat 3 Terme mit 5 Literalen, minimal ist 1 Term mit 1 Literal. Tipp: "
                           "Absorptionsgesetz."),
            std::string::npos)
      << sentences;
  // Asked for both forms: the conjunctive one is still missing.
  const std::vector<GepruefteHerleitung> both = PruefeHerleitungen("a∨(b∧c)\n", {Ziel::Beide, true});
  EXPECT_TRUE(both[0].abschluss->istDnf);
  EXPECT_FALSE(both[0].abschluss->istKnf);
  ASSERT_TRUE(both[0].abschluss->hinweis);
  EXPECT_EQ(LesbarerText(*both[0].abschluss->hinweis->zeile, NamesOf(both[0])), "(b∨a)∧(c∨a)");
  EXPECT_EQ(both[0].abschluss->hinweis->gesetze, std::vector<Gesetz>{Gesetz::Distributiv});
}

TEST(StepCheck, TheNextStepFollowsUmbrixWithConstantsKept) {
  struct Row {
    const char* line;
    const char* next;
  };
  const Row rows[] = {
      {"p→q", "¬(p)∨q"},
      {"(p→⊤)∧q", "(¬(p)∨⊤)∧q"},
      {"¬(p∧q)", "¬p∨¬q"},
      {"¬¬p∨q", "p∨q"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.line);
    const std::vector<GepruefteHerleitung> checked =
        PruefeHerleitungen(std::string(row.line) + "\n", {Ziel::Dnf, true});
    ASSERT_TRUE(checked[0].abschluss->hinweis);
    EXPECT_EQ(LesbarerText(*checked[0].abschluss->hinweis->zeile, NamesOf(checked[0])), row.next);
  }
}

}  // namespace
}  // namespace umbrix
