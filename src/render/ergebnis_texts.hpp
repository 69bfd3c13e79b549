// The fixed German texts around the KV diagrams and the Quine–McCluskey tables of the
// section "Ergebnis" (UTF-8).
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace umbrix::texts {

/// When the formula has no variable (or no function can be read from it).
inline constexpr std::string_view kNoVariable = "Für diese Formel gibt es kein Ergebnis: sie enthält keine Variable.";

/// Opens the section of a block whose derivation stopped.
inline constexpr std::string_view kStoppedDerivation =
    "Die Herleitung ist abgebrochen. Dieser Abschnitt ist deshalb nicht aus ihren Normalformen, sondern aus "
    "der eingegebenen Formel selbst berechnet (aus ihrer Wahrheitstafel).";

/// Stands in the document in place of a KV diagram where kvmacros.tex is not installed.
inline constexpr std::string_view kKvWithoutKvmacros =
    "(Hier stünde das KV-Diagramm; es braucht das LaTeX-Paket karnaugh mit kvmacros.tex, unter Debian "
    "im Paket texlive-science.)";

/// Above the diagrams of the minimal disjunctive or conjunctive form (the first of several).
inline std::string KvCaption(bool disjunctive, bool several, std::size_t diagrams) {
  std::string caption =
      std::string("KV-Diagramm der ") + (several ? "ersten " : "") + "minimalen " +
      (disjunctive ? "disjunktiven Form: ein Block für jeden Term, auf den Feldern mit 1"
                   : "konjunktiven Form: ein Block für jede Klausel, auf den Feldern mit 0");
  if (diagrams == 2) caption += " (zwei Diagramme, eines für jeden Wert der ersten Variablen)";
  if (diagrams == 4) caption += " (vier Diagramme, eines für jede Belegung der ersten beiden Variablen)";
  return caption + ":";
}

/// When a form has no term: no block.
inline constexpr std::string_view kKvNoBlockDisjunctive = "Kein Block: die Formel ist nie wahr.";
inline constexpr std::string_view kKvNoBlockConjunctive = "Kein Block: die Formel ist immer wahr.";

inline constexpr std::string_view kQmHeading = "Quine-McCluskey-Verfahren für die minimale disjunktive Form:";
inline constexpr std::string_view kQmNoMinterm =
    "Die Formel hat keinen Minterm und daher keinen Primimplikanten.";
inline constexpr std::string_view kQmPrimes = "Primimplikanten (die Terme ohne Haken):";
inline constexpr std::string_view kQmChart =
    "Primimplikantentafel: ein Kreuz, wo der Primimplikant den Minterm enthält; ein Stern markiert die "
    "wesentlichen Primimplikanten, ein Kreis das einzige Kreuz einer Spalte:";

/// Above the table of round r, the minterms being round 0.
inline std::string QmRoundCaption(std::size_t round) {
  if (round == 0)
    return "Die Minterme, nach der Anzahl ihrer Einsen gruppiert; ein Haken markiert jeden Term, der in der "
           "nächsten Tafel zusammengefasst wird:";
  if (round == 1)
    return "1. Zusammenfassung: je zwei Terme benachbarter Gruppen, die sich in genau einer Variablen "
           "unterscheiden, ergeben einen Term mit „-“ an deren Stelle:";
  return std::to_string(round) + ". Zusammenfassung:";
}

/// The essential prime implicants, named "P1, P3"; none when the list is empty.
inline std::string QmEssential(const std::string& primes) {
  return primes.empty() ? "Es gibt keinen wesentlichen Primimplikanten."
                        : "Wesentliche Primimplikanten: " + primes + ".";
}

/// The cover chosen, which is the (first) minimal disjunctive form.
inline std::string QmCover(const std::string& primes, bool several) {
  return "Gewählte Überdeckung: " + primes + "; das ist die " + (several ? "erste " : "") +
         "minimale disjunktive Form.";
}

/// For a formula with more variables than the figures are drawn for.
inline std::string FigureLimit(std::size_t most, std::size_t variables) {
  return "KV-Diagramme und die Tafeln des Quine-McCluskey-Verfahrens werden nur für höchstens " +
         std::to_string(most) + " Variablen gezeigt; diese Formel hat " + std::to_string(variables) + ".";
}

}  // namespace umbrix::texts
