// The German texts of "Herleitung prüfen": the verdicts, the typical mistakes with the rule
// that each breaks, the goals and the sentences at the end of a derivation.
#pragma once

#include <iterator>
#include <string_view>

#include "derivation_check/mistakes.hpp"
#include "derivation_check/step_check.hpp"

namespace umbrix::pruef_texts {

struct UrteilText {
  Urteil urteil;
  std::string_view text;
  std::string_view zeichen;  // ✓ or ✗, or nothing for a step that was not checked
};

inline constexpr UrteilText kUrteilTexte[] = {
    {Urteil::Richtig, "richtig", "✓"},
    {Urteil::NurUmgestellt, "richtig (nur umgestellt)", "✓"},
    {Urteil::MehrereSchritte, "richtig, aber mehrere Schritte auf einmal", "✓"},
    {Urteil::Falsch, "falsch", "✗"},
    {Urteil::NichtGeprueft, "nicht geprüft", "?"},
};

inline const UrteilText& TextOf(Urteil urteil) {
  for (const UrteilText& text : kUrteilTexte)
    if (text.urteil == urteil) return text;
  return kUrteilTexte[std::size(kUrteilTexte) - 1];
}

/// A mistake's name and its sentence: the rule that was broken and the right form of the
/// changed part; {alt}, {richtig} and {falsch} stand for the part before, as the law makes it
/// and as the student wrote it.
struct FehlerklassenText {
  Fehlerklasse klasse;
  std::string_view name;
  std::string_view satz;
};

inline constexpr FehlerklassenText kFehlerklassenTexte[] = {
    {Fehlerklasse::ImplikationOhneNegation, "Implikation ohne Verneinung aufgelöst",
     "Beim Auflösen einer Implikation wird das Vorderglied verneint: aus {alt} wird {richtig}, "
     "nicht {falsch}."},
    {Fehlerklasse::ImplikationNegationVerschoben, "Verneinung an der falschen Stelle",
     "Beim Auflösen einer Implikation wird genau das Vorderglied verneint, nicht das Hinterglied "
     "und nicht das Ganze: aus {alt} wird {richtig}, nicht {falsch}."},
    {Fehlerklasse::ImplikationMitUnd, "Implikation mit ∧ statt ∨ aufgelöst",
     "Eine Implikation wird zu einer Disjunktion (∨), nicht zu einer Konjunktion: aus {alt} wird "
     "{richtig}, nicht {falsch}."},
    {Fehlerklasse::ImplikationUmgedreht, "Richtung der Implikation vertauscht",
     "Bei → und ← kommt es auf die Richtung an, A←B heißt B→A: aus {alt} wird {richtig}, "
     "nicht {falsch}."},
    {Fehlerklasse::NegationUeberImplikation, "Verneinung in die Implikation gezogen",
     "Eine verneinte Implikation ist genau dann wahr, wenn das Vorderglied wahr und das "
     "Hinterglied falsch ist: aus {alt} wird {richtig}, nicht {falsch}."},
    {Fehlerklasse::AequivalenzNegationVerloren, "Verneinung bei der Äquivalenz verloren",
     "Eine Äquivalenz ist wahr, wenn beide Seiten wahr oder beide falsch sind, und im zweiten "
     "Fall sind beide verneint: aus {alt} wird {richtig}, nicht {falsch}."},
    {Fehlerklasse::AequivalenzUndOderVertauscht, "∧ und ∨ bei der Äquivalenz vertauscht",
     "Die beiden Fälle einer Äquivalenz werden mit ∨ verbunden, die Seiten in jedem Fall mit "
     "∧ (oder, als Klauseln, umgekehrt): aus {alt} wird {richtig}, nicht {falsch}."},
    {Fehlerklasse::AequivalenzNurEineRichtung, "Äquivalenz nur in eine Richtung aufgelöst",
     "Eine Äquivalenz steht für beide Implikationen zugleich: aus {alt} wird {richtig}, nicht "
     "{falsch}."},
    {Fehlerklasse::DoppelteNegationUeberKlammer, "Verneinung über die Klammer hinweg aufgehoben",
     "Eine Verneinung vor der Klammer hebt keine Verneinung in der Klammer auf, sondern wird nach "
     "De Morgan auf jedes Glied verteilt: aus {alt} wird {richtig}, nicht {falsch}."},
    {Fehlerklasse::DeMorganNichtAlleTeile, "De Morgan: nicht jedes Glied verneint",
     "Nach De Morgan wird jedes Glied der Klammer verneint: aus {alt} wird {richtig}, nicht "
     "{falsch}."},
    {Fehlerklasse::DeMorganVerknuepfungNichtGewechselt, "De Morgan: Verknüpfung nicht gewechselt",
     "Nach De Morgan wird aus ∧ ein ∨ und aus ∨ ein ∧: aus {alt} wird {richtig}, nicht "
     "{falsch}."},
    {Fehlerklasse::DeMorganAeussereNegationBehalten, "De Morgan: äußere Verneinung stehen gelassen",
     "Nach De Morgan tritt die Verneinung der Glieder an die Stelle der Verneinung vor der "
     "Klammer, die wegfällt: aus {alt} wird {richtig}, nicht {falsch}."},
    {Fehlerklasse::NegationKlammerVergessen, "Verneinung nur auf das erste Glied bezogen",
     "Eine Verneinung vor einer Klammer gilt für die ganze Klammer, nicht nur für ihr erstes "
     "Glied: aus {alt} wird {richtig}, nicht {falsch}."},
    {Fehlerklasse::DoppelteNegationFalsch, "Doppelte Verneinung falsch aufgehoben",
     "Zwei Verneinungen hintereinander heben sich beide auf: aus {alt} wird {richtig}, nicht "
     "{falsch}."},
    {Fehlerklasse::DistributionFalscheVerknuepfung, "Beim Ausmultiplizieren die Verknüpfungen vertauscht",
     "Beim Ausmultiplizieren wird das einzelne Glied mit seiner Verknüpfung an jedes Glied der "
     "Klammer gehängt, und die Teile bleiben so verbunden wie in der Klammer: aus {alt} wird "
     "{richtig}, nicht {falsch}."},
    {Fehlerklasse::DistributionTeilVergessen, "Beim Ausmultiplizieren einen Teil vergessen",
     "Beim Ausmultiplizieren wird das einzelne Glied mit jedem Glied der Klammer verbunden: aus "
     "{alt} wird {richtig}, nicht {falsch}."},
    {Fehlerklasse::KlammernVerschoben, "Klammer über verschiedene Verknüpfungen verschoben",
     "Klammern versetzen (Assoziativgesetz) darf man nur innerhalb derselben Verknüpfung, "
     "zwischen ∧ und ∨ gilt das Distributivgesetz: aus {alt} wird {richtig}, nicht {falsch}."},
    {Fehlerklasse::AbsorptionFalscherTeil, "Bei der Absorption den falschen Teil behalten",
     "Bei der Absorption bleibt das Glied stehen, das im anderen ganz enthalten ist: aus {alt} "
     "wird {richtig}, nicht {falsch}."},
    {Fehlerklasse::KomplementVerwechselt, "Komplementgesetz verwechselt",
     "Eine Formel und ihre Verneinung ergeben mit ∧ immer ⊥ (falsch) und mit ∨ immer ⊤ "
     "(wahr): aus {alt} wird {richtig}, nicht {falsch}."},
    {Fehlerklasse::NeutralDominantVerwechselt, "Neutrales und dominantes Element verwechselt",
     "⊤ fällt in einer Konjunktion weg und macht eine Disjunktion wahr, ⊥ fällt in einer "
     "Disjunktion weg und macht eine Konjunktion falsch: aus {alt} wird {richtig}, nicht {falsch}."},
    {Fehlerklasse::IdempotenzFalsch, "Idempotenzgesetz falsch angewandt",
     "Eine Formel mit sich selbst verknüpft ergibt wieder diese Formel, keine Konstante: aus "
     "{alt} wird {richtig}, nicht {falsch}."},
    {Fehlerklasse::DualGebildet, "Duale Formel gebildet statt umgeformt",
     "Wer ∧ und ∨ vertauscht und dazu alle Variablen verneint, erhält die Verneinung der "
     "Formel: {alt} ist gleichwertig mit {richtig}, nicht mit {falsch}."},
};

static_assert(std::size(kFehlerklassenTexte) == kFehlerklassen);

inline const FehlerklassenText& TextOf(Fehlerklasse klasse) {
  return kFehlerklassenTexte[static_cast<std::size_t>(klasse)];
}

constexpr bool TextsFollowClassOrder() {
  for (std::size_t k = 0; k < std::size(kFehlerklassenTexte); ++k)
    if (static_cast<std::size_t>(kFehlerklassenTexte[k].klasse) != k) return false;
  return true;
}
static_assert(TextsFollowClassOrder(), "the mistake texts list the classes in their order");

/// The heading of derivation number n, and of its exercise line.
inline constexpr std::string_view kHerleitung = "Herleitung";
inline constexpr std::string_view kAufgabe = "Aufgabe";
/// Before a counterexample and a mistake's name.
inline constexpr std::string_view kGegenbeispiel = "Gegenbeispiel";
inline constexpr std::string_view kFehler = "Fehler";
inline constexpr std::string_view kWahr = "wahr";
inline constexpr std::string_view kFalsch = "falsch";
/// A step whose lines have more variables than the check can handle.
inline constexpr std::string_view kZuVieleVariablen =
    "Die Zeilen haben zu viele Variablen für die Prüfung (höchstens 20 ohne Entscheidungsdiagramme).";
/// A line that cannot be read: the steps go around it.
inline constexpr std::string_view kUnlesbar = "Diese Zeile kann nicht gelesen werden";
inline constexpr std::string_view kVerglichenMit = "verglichen mit Zeile";

}  // namespace umbrix::pruef_texts
