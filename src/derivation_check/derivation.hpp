// "Herleitung prüfen": a student's derivations judged step by step, and at the end of each
// whether the last line is the normal form asked for, how it compares with the minimal form,
// and on request the step that Umbrix would take next. Front-end neutral: the results are
// data, and check_render.hpp turns them into sentences, text and LaTeX.
#pragma once

#include <cstddef>
#include <optional>
#include <string_view>
#include <vector>

#include "boolean_function/term_list.hpp"
#include "derivation_check/derivation_reader.hpp"
#include "derivation_check/step_check.hpp"

namespace umbrix {

/// The normal form a derivation is to end in.
enum class Ziel { Dnf, Knf, Beide };

struct ZielInfo {
  Ziel ziel;
  std::string_view wort;  // as --ziel takes it, in any case
};

inline constexpr ZielInfo kZielTabelle[] = {{Ziel::Dnf, "DNF"}, {Ziel::Knf, "KNF"}, {Ziel::Beide, "beide"}};

/// The goal that a word names (DNF, KNF, beide; any case), if any.
std::optional<Ziel> ZielFuerWort(std::string_view wort);

struct Pruefoptionen {
  std::optional<Ziel> ziel;  // none: taken from the last line
  bool hinweis = false;      // the next step as Umbrix would take it
};

struct Herleitungsschritt {
  std::size_t vorher = 0;  // positions in the derivation's lines; an unreadable line is skipped
  std::size_t nachher = 0;
  Schrittbewertung bewertung;
};

/// The last line as a normal form beside the minimal one (both read as terms or clauses).
struct Formvergleich {
  NormalFormKind form = NormalFormKind::Dis;
  std::size_t terme = 0;
  std::size_t literale = 0;
  std::size_t minimaleTerme = 0;
  std::size_t minimaleLiterale = 0;
  /// The law that shortens the form where it is longer than needed: Idempotenz for a repeated
  /// term or literal, Komplement for a term with a variable and its negation, Absorption; none
  /// when terms must be merged (Distributiv and Komplement together).
  std::optional<Gesetz> tipp;
};

/// The step that Umbrix would take next from a line.
struct NaechsterSchritt {
  std::vector<Gesetz> gesetze;
  Ausdruck::Ptr zeile;  // the line it writes
};

struct Abschluss {
  std::size_t letzte = 0;  // position of the last line that was read
  std::optional<Ziel> ziel;
  bool zielErkannt = false;  // taken from the last line, not given
  bool istDnf = false;
  bool istKnf = false;
  /// Whether the last line has the exercise's value under every assignment; none when that
  /// could not be checked. Only then is it compared with the minimal form.
  std::optional<bool> gleichwertigMitAufgabe;
  std::vector<Formvergleich> vergleiche;  // for up to kMostTableVariables variables
  bool zuVieleVariablen = false;          // more than that: no comparison
  bool hinweisGefragt = false;
  std::optional<NaechsterSchritt> hinweis;  // none when nothing is left to do for the goal
};

struct GepruefteHerleitung {
  GeleseneHerleitung gelesen;
  std::vector<Herleitungsschritt> schritte;
  std::optional<Abschluss> abschluss;  // none when no line could be read

  /// Whether no step is wrong and every line could be read and checked.
  bool AllesRichtig() const;
};

/// Every derivation of the text, judged.
std::vector<GepruefteHerleitung> PruefeHerleitungen(std::string_view text, const Pruefoptionen& optionen);

/// The step that Umbrix would take from the line towards the goal (the disjunctive normal
/// form first where there is none), with the laws it names; none when the line is in the
/// goal's normal form and merging would change nothing.
std::optional<NaechsterSchritt> NaechsterSchrittVon(const Ausdruck::Ptr& zeile, std::optional<Ziel> ziel);

}  // namespace umbrix
