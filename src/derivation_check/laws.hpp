// The laws as rewriting rules: every way in which one law applied once at a node rewrites it.
// A junction ("+", "v") is taken with all its members however they are parenthesised, and a
// law may take any of them (A + B + -A: the complement of A and -A), which covers the
// commutative and associative laws that students apply without naming them.
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

/// The rewritings of the node by one law.
std::vector<Umformung> Umformungen(const Ausdruck::Ptr& node, Kanon& kanon);

/// What the distributive law makes of member with a junction partner inside the junction
/// operation: A + (B v C) gives (A + B) v (A + C).
Ausdruck::Ptr Ausmultipliziert(std::string_view operation, const Ausdruck::Ptr& member,
                               const Ausdruck::Ptr& partner);

}  // namespace umbrix
