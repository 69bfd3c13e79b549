// The one table of law names.
#include "general_formula/gesetz.hpp"

#include <iterator>

namespace umbrix {

namespace {

struct GesetzEintrag {
  Gesetz gesetz;
  std::string_view name;
};

constexpr GesetzEintrag kGesetzNamen[] = {
    {Gesetz::Aequivalenz, "Umformung der Äquivalenz"},
    {Gesetz::FolgtAus, "Umformung von „folgt aus“"},
    {Gesetz::Implikation, "Umformung der Implikation"},
    {Gesetz::DoppelteNegation, "Doppelte Negation"},
    {Gesetz::DeMorgan, "De Morgansches Gesetz"},
    {Gesetz::Assoziativ, "Assoziativgesetz"},
    {Gesetz::Distributiv, "Distributivgesetz"},
    {Gesetz::Kommutativ, "Kommutativgesetz"},
    {Gesetz::Idempotenz, "Idempotenzgesetz"},
    {Gesetz::Komplement, "Komplementgesetz"},
    {Gesetz::Neutral, "Neutralitätsgesetz"},
    {Gesetz::Dominanz, "Dominanzgesetz"},
    {Gesetz::NegierteKonstante, "Negation einer Konstanten"},
    {Gesetz::KlammernWeglassen, "Klammern weglassen"},
    {Gesetz::KlammernSetzen, "Klammern setzen"},
    {Gesetz::Absorption, "Absorptionsgesetz"},
    {Gesetz::KeineAenderung, "keine Änderung"},
};

static_assert(std::size(kGesetzNamen) == static_cast<std::size_t>(Gesetz::KeineAenderung) + 1);

}  // namespace

std::string_view GesetzName(Gesetz gesetz) {
  for (const GesetzEintrag& eintrag : kGesetzNamen)
    if (eintrag.gesetz == gesetz) return eintrag.name;
  return {};
}

void GesetzListe::Report(Gesetz gesetz) {
  if (Contains(gesetz)) return;
  seen_ |= Bit(gesetz);
  gesetze_.push_back(gesetz);
}

}  // namespace umbrix
