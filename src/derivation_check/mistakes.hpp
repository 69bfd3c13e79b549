// The typical mistakes of students who rewrite formulas, as faulty rules: each rewrites a node
// the way a known misconception does, and carries the part it changed, the student's result
// and the right result of that part, so that the explanation can show both. The classes
// follow the published catalogues of such mistakes (implication and equivalence resolved
// wrongly, De Morgan half done, distribution over the wrong connective, constants mixed up,
// the dual formed instead of the formula rewritten, ...).
#pragma once

#include <vector>

#include "derivation_check/canonical.hpp"
#include "derivation_check/expression.hpp"
#include "derivation_check/laws.hpp"

namespace umbrix {

/// The classes in the order in which they are preferred when two explain the same step.
enum class Fehlerklasse {
  ImplikationOhneNegation,
  ImplikationNegationVerschoben,
  ImplikationMitUnd,
  ImplikationUmgedreht,
  NegationUeberImplikation,
  AequivalenzNegationVerloren,
  AequivalenzUndOderVertauscht,
  AequivalenzNurEineRichtung,
  DoppelteNegationUeberKlammer,
  DeMorganNichtAlleTeile,
  DeMorganVerknuepfungNichtGewechselt,
  DeMorganAeussereNegationBehalten,
  NegationKlammerVergessen,
  DoppelteNegationFalsch,
  DistributionFalscheVerknuepfung,
  DistributionTeilVergessen,
  KlammernVerschoben,
  AbsorptionFalscherTeil,
  KomplementVerwechselt,
  NeutralDominantVerwechselt,
  IdempotenzFalsch,
  DualGebildet,
};

inline constexpr std::size_t kFehlerklassen = static_cast<std::size_t>(Fehlerklasse::DualGebildet) + 1;

/// One faulty rewriting of a node.
struct Fehlanwendung {
  Fehlerklasse klasse;
  Ausdruck::Ptr ergebnis;  // what the node becomes
  Ausdruck::Ptr alt;       // the part that changed, before
  Ausdruck::Ptr falsch;    // the part as the mistake makes it
  Ausdruck::Ptr richtig;   // the part as the law makes it
};

/// The faulty rewritings of the node, one per class and way; for a junction only those that
/// take every member whose form is in geaendert (see Umformungen).
std::vector<Fehlanwendung> Fehlanwendungen(const Ausdruck::Ptr& node, Kanon& kanon,
                                           const Geaendert& geaendert = {});

}  // namespace umbrix
