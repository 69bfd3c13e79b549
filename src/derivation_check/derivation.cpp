// The derivations of a text, each judged with one step checker over all its variables.
#include "derivation_check/derivation.hpp"

#include <cctype>

#include "boolean_function/absorption.hpp"
#include "boolean_function/minimal_form.hpp"
#include "boolean_function/truth_table.hpp"

namespace umbrix {

namespace {

bool SameWord(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t k = 0; k < a.size(); ++k)
    if (std::tolower(static_cast<unsigned char>(a[k])) != std::tolower(static_cast<unsigned char>(b[k])))
      return false;
  return true;
}

bool Wants(std::optional<Ziel> ziel, NormalFormKind form) {
  if (!ziel) return false;
  return *ziel == Ziel::Beide || (*ziel == Ziel::Dnf) == (form == NormalFormKind::Dis);
}

std::size_t LiteralCount(const TermList& list) {
  std::size_t count = 0;
  for (const Term& term : list.terms) count += term.literals.size();
  return count;
}

// The law that makes a longer normal form shorter, where one law alone does.
std::optional<Gesetz> ShorteningLaw(const TermList& list) {
  for (const Term& term : list.terms) {
    if (term.literals.size() > term.Size()) return Gesetz::Idempotenz;
    if ((term.positive & term.negative).any()) return Gesetz::Komplement;
  }
  for (std::size_t a = 0; a < list.terms.size(); ++a)
    for (std::size_t b = a + 1; b < list.terms.size(); ++b)
      if (list.terms[a].Contains(list.terms[b]) && list.terms[b].Contains(list.terms[a]))
        return Gesetz::Idempotenz;
  if (!Absorptions(list).empty()) return Gesetz::Absorption;
  return std::nullopt;
}

std::optional<Formvergleich> Compare(const Ausdruck& last, NormalFormKind form) {
  const SimFormel::Ptr simple = ToSimFormel(last);
  if (!simple) return std::nullopt;
  const std::optional<TermList> list = ReadNormalForm(*simple, form);
  if (!list) return std::nullopt;
  const TruthTable table = MakeTruthTable(*list, Indices(Variablen(last)));
  const MinimalForms minimal = Minimise(table, form);
  if (!minimal.complete || minimal.shown.empty()) return std::nullopt;
  Formvergleich vergleich{form,
                          list->terms.size(),
                          LiteralCount(*list),
                          minimal.shown[0].terms.size(),
                          LiteralCount(minimal.shown[0]),
                          std::nullopt};
  if (vergleich.terme > vergleich.minimaleTerme || vergleich.literale > vergleich.minimaleLiterale)
    vergleich.tipp = ShorteningLaw(*list);
  return vergleich;
}

Abschluss Conclude(const GeleseneHerleitung& gelesen, std::size_t first, std::size_t last,
                   const Pruefoptionen& optionen, SchrittPruefer& pruefer) {
  Abschluss abschluss;
  abschluss.letzte = last;
  abschluss.gleichwertigMitAufgabe =
      pruefer.Gleichwertig(gelesen.zeilen[first].formel, gelesen.zeilen[last].formel);
  const Ausdruck& line = *gelesen.zeilen[last].formel;
  if (const SimFormel::Ptr simple = ToSimFormel(line)) {
    abschluss.istDnf = !simple->NotDis();
    abschluss.istKnf = !simple->NotKon();
  }
  abschluss.ziel = optionen.ziel;
  if (!abschluss.ziel && (abschluss.istDnf || abschluss.istKnf)) {
    abschluss.zielErkannt = true;
    abschluss.ziel = abschluss.istDnf && abschluss.istKnf ? Ziel::Beide
                     : abschluss.istDnf                   ? Ziel::Dnf
                                                          : Ziel::Knf;
  }
  abschluss.zuVieleVariablen = Variablen(line).count() > kMostTableVariables;
  for (NormalFormKind form : {NormalFormKind::Dis, NormalFormKind::Kon}) {
    const bool isForm = form == NormalFormKind::Dis ? abschluss.istDnf : abschluss.istKnf;
    if (!Wants(abschluss.ziel, form) || !isForm || abschluss.zuVieleVariablen ||
        abschluss.gleichwertigMitAufgabe != true)
      continue;
    if (std::optional<Formvergleich> vergleich = Compare(line, form))
      abschluss.vergleiche.push_back(*vergleich);
  }
  abschluss.hinweisGefragt = optionen.hinweis;
  if (optionen.hinweis) abschluss.hinweis = NaechsterSchrittVon(gelesen.zeilen[last].formel, abschluss.ziel);
  return abschluss;
}

GepruefteHerleitung Judge(GeleseneHerleitung gelesen, const Pruefoptionen& optionen) {
  GepruefteHerleitung result;
  VariableSet variables;
  for (const Herleitungszeile& zeile : gelesen.zeilen)
    if (zeile.formel) variables |= Variablen(*zeile.formel);
  SchrittPruefer pruefer(variables);
  std::optional<std::size_t> first, previous;
  for (std::size_t k = 0; k < gelesen.zeilen.size(); ++k) {
    if (!gelesen.zeilen[k].formel) continue;
    if (!first) first = k;
    if (previous)
      result.schritte.push_back(
          {*previous, k, pruefer.Pruefe(gelesen.zeilen[*previous].formel, gelesen.zeilen[k].formel)});
    previous = k;
  }
  if (previous) result.abschluss = Conclude(gelesen, *first, *previous, optionen, pruefer);
  result.gelesen = std::move(gelesen);
  return result;
}

}  // namespace

std::optional<Ziel> ZielFuerWort(std::string_view wort) {
  for (const ZielInfo& info : kZielTabelle)
    if (SameWord(wort, info.wort)) return info.ziel;
  return std::nullopt;
}

bool GepruefteHerleitung::AllesRichtig() const {
  for (const Herleitungszeile& zeile : gelesen.zeilen)
    if (!zeile.formel) return false;
  for (const Herleitungsschritt& schritt : schritte)
    if (schritt.bewertung.urteil == Urteil::Falsch || schritt.bewertung.urteil == Urteil::NichtGeprueft)
      return false;
  return true;
}

std::vector<GepruefteHerleitung> PruefeHerleitungen(std::string_view text, const Pruefoptionen& optionen) {
  std::vector<GepruefteHerleitung> result;
  for (GeleseneHerleitung& gelesen : ReadDerivations(text))
    result.push_back(Judge(std::move(gelesen), optionen));
  return result;
}

}  // namespace umbrix
