// The laws as rewriting rules: every way in which one law applied once at a node rewrites it.
// A law may take any of a junction's members (A + B + -A: the complement of A and -A), which
// covers the commutative law that students apply without naming it; the members are read as
// written and also taken in from inner junctions of the same kind (the associative law).
#pragma once

#include <vector>

#include "derivation_check/canonical.hpp"
#include "derivation_check/expression.hpp"
#include "general_formula/gesetz.hpp"

namespace umbrix {

struct Umformung {
  Gesetz gesetz;
  Ausdruck::Ptr ergebnis;
  /// A double negation that the rewriting cancelled on the way (-(A + -B) to -A v B).
  bool mitDoppelterNegation = false;
};

/// Most members of a junction whose pairs the laws try; the laws of single members and of
/// the whole junction apply to any size.
inline constexpr std::size_t kMostPairedMembers = 64;

/// The forms of the members that a rewriting of a junction must take: where a step changed
/// only some members, a law that leaves one of them as it is cannot explain it. Empty: any.
using Geaendert = std::vector<Kanon::Id>;

/// One reading of a junction's members (see Lesarten) with their forms, and whether a
/// rewriting of some of them takes every changed member. A member that changed inside a
/// parenthesised group of the reading is none of its members: then any rewriting may do.
class JunctionReading {
 public:
  JunctionReading(std::vector<Ausdruck::Ptr> members, Kanon& kanon, const Geaendert& geaendert);
  const std::vector<Ausdruck::Ptr>& Members() const { return members_; }
  const std::vector<Kanon::Id>& Ids() const { return ids_; }
  bool Takes(const std::vector<std::size_t>& positions) const;

 private:
  std::vector<Ausdruck::Ptr> members_;
  std::vector<Kanon::Id> ids_;
  Geaendert mustTake_;  // the forms of the changed members, each as often as it changed
};

/// The rewritings of the node by one law.
std::vector<Umformung> Umformungen(const Ausdruck::Ptr& node, Kanon& kanon, const Geaendert& geaendert = {});

/// What the distributive law makes of member with the parts of a junction partner inside the
/// junction operation: A + (B v C) gives (A + B) v (A + C).
Ausdruck::Ptr Ausmultipliziert(std::string_view operation, const Ausdruck::Ptr& member,
                               const std::vector<Ausdruck::Ptr>& parts);

}  // namespace umbrix
