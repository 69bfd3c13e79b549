// The faulty rules, node by node. Each names the part it changed and the right form of it.
#include "derivation_check/mistakes.hpp"

#include <algorithm>
#include <unordered_map>

#include "derivation_check/laws.hpp"

namespace umbrix {

namespace {

using Ptr = Ausdruck::Ptr;
using Members = std::vector<Ptr>;
using K = Fehlerklasse;

Ptr Or(Ptr a, Ptr b) { return Ausdruck::Make(operation::kOr, {std::move(a), std::move(b)}); }
Ptr And(Ptr a, Ptr b) { return Ausdruck::Make(operation::kAnd, {std::move(a), std::move(b)}); }
Ptr Implies(Ptr a, Ptr b) { return Ausdruck::Make(operation::kImplies, {std::move(a), std::move(b)}); }

class Collector {
 public:
  explicit Collector(std::vector<Fehlanwendung>& out) : out_(out) {}

  /// A mistake that rewrites the whole node.
  void Whole(K klasse, const Ptr& node, const Ptr& falsch, const Ptr& richtig) {
    out_.push_back({klasse, falsch, node, falsch, richtig});
  }
  /// A mistake in part of a junction: the node becomes ergebnis, the part alt becomes falsch.
  void Part(K klasse, const Ptr& ergebnis, const Ptr& alt, const Ptr& falsch, const Ptr& richtig) {
    out_.push_back({klasse, ergebnis, alt, falsch, richtig});
  }

 private:
  std::vector<Fehlanwendung>& out_;
};

using Negate = Ptr (*)(const Ptr&);

// The two ways of negating a part: -A always, or with a double negation cancelled. A mistake
// is looked for in both spellings; where they agree, once.
template <class Make>
void BothNegations(const std::vector<Ptr>& parts, Make make) {
  bool anyNegated = false;
  for (const Ptr& part : parts) anyNegated = anyNegated || part->Is(operation::kNot);
  make(static_cast<Negate>(&Verneint));
  if (anyNegated) make(static_cast<Negate>(&Nicht));
}

// A => B resolved wrongly, and A <= B read as A => B.
void AtArrow(const Ptr& node, Collector& add) {
  const Ptr& a = node->Glieder()[0];
  const Ptr& b = node->Glieder()[1];
  if (node->Is(operation::kImplies)) {
    const Ptr right = Or(Verneint(a), b);
    add.Whole(K::ImplikationOhneNegation, node, Or(a, b), right);
    add.Whole(K::ImplikationNegationVerschoben, node, Nicht(Or(a, b)), right);
    add.Whole(K::ImplikationUmgedreht, node, Implies(b, a), right);
    BothNegations({a, b}, [&](Negate negate) {
      add.Whole(K::ImplikationNegationVerschoben, node, Or(a, negate(b)), right);
      add.Whole(K::ImplikationMitUnd, node, And(negate(a), b), right);
    });
    return;
  }
  const Ptr right = Or(a, Verneint(b));
  add.Whole(K::ImplikationUmgedreht, node, Implies(a, b), right);
  add.Whole(K::ImplikationOhneNegation, node, Or(a, b), right);
  add.Whole(K::ImplikationNegationVerschoben, node, Nicht(Or(a, b)), right);
  BothNegations({a, b}, [&](Negate negate) {
    add.Whole(K::ImplikationUmgedreht, node, Or(negate(a), b), right);
    add.Whole(K::ImplikationMitUnd, node, And(a, negate(b)), right);
  });
}

// A == B with a negation lost, with + and v exchanged, or as one implication.
void AtEquivalence(const Ptr& node, Collector& add) {
  if (node->Glieder().size() != 2) return;
  const Ptr& a = node->Glieder()[0];
  const Ptr& b = node->Glieder()[1];
  const Ptr cases = Or(And(a, b), And(Verneint(a), Verneint(b)));
  const Ptr clauses = And(Or(Verneint(a), b), Or(a, Verneint(b)));
  const Ptr both = And(Implies(a, b), Implies(b, a));
  add.Whole(K::AequivalenzUndOderVertauscht, node, Or(Implies(a, b), Implies(b, a)), both);
  add.Whole(K::AequivalenzNurEineRichtung, node, Implies(a, b), both);
  add.Whole(K::AequivalenzNurEineRichtung, node, Implies(b, a), both);
  BothNegations({a, b}, [&](Negate negate) {
    const Ptr na = negate(a), nb = negate(b);
    add.Whole(K::AequivalenzNegationVerloren, node, Or(And(a, b), And(a, nb)), cases);
    add.Whole(K::AequivalenzNegationVerloren, node, Or(And(a, b), And(na, b)), cases);
    add.Whole(K::AequivalenzNegationVerloren, node, And(Or(a, b), Or(a, nb)), clauses);
    add.Whole(K::AequivalenzNegationVerloren, node, And(Or(na, b), Or(a, b)), clauses);
    add.Whole(K::AequivalenzUndOderVertauscht, node, And(Or(a, b), Or(na, nb)), cases);
    add.Whole(K::AequivalenzUndOderVertauscht, node, Or(And(na, b), And(a, nb)), clauses);
    add.Whole(K::AequivalenzNurEineRichtung, node, Or(na, b), both);
    add.Whole(K::AequivalenzNurEineRichtung, node, Or(a, nb), both);
  });
}

Members Negated(const Members& members, Negate negate, std::size_t skip = SIZE_MAX,
                std::size_t only = SIZE_MAX) {
  Members result;
  for (std::size_t k = 0; k < members.size(); ++k) {
    const bool negated = only == SIZE_MAX ? k != skip : k == only;
    result.push_back(negated ? negate(members[k]) : members[k]);
  }
  return result;
}

// -(A + B) and the misconceptions about De Morgan and about negations before parentheses, for
// the members of one reading.
void AtNegatedJunction(const Ptr& node, const Members& m, Collector& add) {
  const std::string_view op = node->Glieder()[0]->Operation();
  const std::string_view dual = Dual(op);
  const Ptr right = Ausdruck::Make(dual, Negated(m, &Verneint));
  for (std::size_t k = 0; k < m.size(); ++k) {
    if (!m[k]->Is(operation::kNot)) continue;
    Members cancelled = m;
    cancelled[k] = m[k]->Glieder()[0];
    add.Whole(K::DoppelteNegationUeberKlammer, node, Ausdruck::Make(op, cancelled), right);
  }
  BothNegations(m, [&](Negate negate) {
    for (std::size_t k = 0; k < m.size(); ++k) {
      add.Whole(K::DeMorganNichtAlleTeile, node, Ausdruck::Make(dual, Negated(m, negate, k)), right);
      if (m.size() > 2)
        add.Whole(K::DeMorganNichtAlleTeile, node, Ausdruck::Make(dual, Negated(m, negate, SIZE_MAX, k)),
                  right);
    }
    add.Whole(K::DeMorganVerknuepfungNichtGewechselt, node, Ausdruck::Make(op, Negated(m, negate)), right);
    add.Whole(K::DeMorganAeussereNegationBehalten, node, Nicht(Ausdruck::Make(dual, Negated(m, negate))),
              right);
  });
  Members first = m;
  first[0] = Nicht(m[0]);
  add.Whole(K::NegationKlammerVergessen, node, Ausdruck::Make(op, first), right);
}

void AtNegation(const Ptr& node, Collector& add) {
  const Ptr& inner = node->Glieder()[0];
  if (inner->Is(operation::kNot)) add.Whole(K::DoppelteNegationFalsch, node, inner, inner->Glieder()[0]);
  if (IsJunction(inner->Operation()))
    for (const Members& members : Lesarten(inner)) AtNegatedJunction(node, members, add);
  if (inner->Is(operation::kImplies)) {
    const Ptr& a = inner->Glieder()[0];
    const Ptr& b = inner->Glieder()[1];
    BothNegations({a, b}, [&](Negate negate) {
      add.Whole(K::NegationUeberImplikation, node, Implies(negate(a), negate(b)), And(a, Verneint(b)));
    });
  }
}

// The dual with every literal negated: what swapping "+" and "v" and negating the variables
// makes of a formula, which is its negation.
Ptr DualNegiert(const Ptr& node) {
  if (!IsJunction(node->Operation())) return Verneint(node);
  Members members;
  for (const Ptr& member : FlacheGlieder(node)) members.push_back(DualNegiert(member));
  return Ausdruck::Make(Dual(node->Operation()), std::move(members));
}

// The dual instead of the formula: "+" and "v" swapped everywhere with every variable negated,
// or, as De Morgan without the negation in front, the connective swapped and each member
// negated.
void AtDual(const Ptr& node, Collector& add) {
  const Ptr dual = DualNegiert(node);
  add.Whole(K::DualGebildet, node, dual, Nicht(dual));
  for (const Members& members : Lesarten(node))
    BothNegations(members, [&](Negate negate) {
      const Ptr swapped = Ausdruck::Make(Dual(node->Operation()), Negated(members, negate));
      add.Whole(K::DualGebildet, node, swapped, Nicht(swapped));
    });
}

// The mistakes inside a junction: distribution, absorption, constants, idempotence.
class JunctionMistakes {
 public:
  JunctionMistakes(const Ptr& node, Members members, Kanon& kanon, const Geaendert& geaendert, Collector& add)
      : node_(node),
        op_(node->Operation()),
        reading_(std::move(members), kanon, geaendert),
        kanon_(kanon),
        add_(add) {}

  void All() {
    PairsOfEqualOrComplement();
    Constants();
    if (m_.size() > kMostPairedMembers) return;
    for (std::size_t j = 0; j < m_.size(); ++j) {
      if (!m_[j]->Is(Dual(op_))) continue;
      for (std::size_t i = 0; i < m_.size(); ++i) {
        if (i == j || !Takes({i, j})) continue;
        for (const Members& parts : Lesarten(m_[j])) {
          Distribution(i, j, parts);
          Absorption(i, j, parts);
        }
      }
    }
  }

 private:
  Ptr Pair(std::size_t i, std::size_t j) const { return Ausdruck::Make(op_, {m_[i], m_[j]}); }

  bool Takes(const std::vector<std::size_t>& positions) const { return reading_.Takes(positions); }

  void PartOf(K klasse, std::vector<std::size_t> positions, const Ptr& falsch, const Ptr& richtig) {
    if (!Takes(positions)) return;
    Members part;
    for (std::size_t k : positions) part.push_back(m_[k]);
    add_.Part(klasse, Ersetzt(op_, m_, positions, falsch), Verbunden(op_, part), falsch, richtig);
  }

  // A + A made a constant; A + -A made the wrong constant.
  void PairsOfEqualOrComplement() {
    const Ptr absorbing = Ausdruck::Konstante(AbsorbingConstant(op_) == operation::kTrue);
    const Ptr neutral = Ausdruck::Konstante(NeutralConstant(op_) == operation::kTrue);
    std::unordered_map<Kanon::Id, std::size_t> first;
    for (std::size_t k = 0; k < m_.size(); ++k) {
      auto [found, added] = first.emplace(ids_[k], k);
      if (!added) {
        PartOf(K::IdempotenzFalsch, {found->second, k}, absorbing, m_[k]);
        PartOf(K::IdempotenzFalsch, {found->second, k}, neutral, m_[k]);
      }
    }
    for (std::size_t k = 0; k < m_.size(); ++k) {
      if (!m_[k]->Is(operation::kNot)) continue;
      auto partner = first.find(kanon_.Of(m_[k]->Glieder()[0]));
      if (partner == first.end()) continue;
      PartOf(K::KomplementVerwechselt, {partner->second, k}, neutral, absorbing);
      if (m_.size() > 2) add_.Whole(K::KomplementVerwechselt, node_, neutral, absorbing);
    }
  }

  // An absorbing constant dropped as if neutral; a neutral one taken as absorbing.
  void Constants() {
    const std::string_view absorbing = AbsorbingConstant(op_);
    const std::string_view neutral = NeutralConstant(op_);
    for (std::size_t k = 0; k < m_.size(); ++k) {
      const std::size_t other = k == 0 ? 1 : 0;
      if (m_[k]->Is(absorbing)) PartOf(K::NeutralDominantVerwechselt, {other, k}, m_[other], m_[k]);
      if (m_[k]->Is(neutral)) PartOf(K::NeutralDominantVerwechselt, {other, k}, m_[k], m_[other]);
    }
  }

  // A + (B v C) made (A v B) + (A v C), a term left out, or (A + B) v C; the same with + and v
  // exchanged covers (A + B) v C made (A v C) + B.
  void Distribution(std::size_t i, std::size_t j, const Members& b) {
    const Ptr right = Ausmultipliziert(op_, m_[i], b);
    Members swapped, terms;
    for (const Ptr& part : b) {
      swapped.push_back(Ausdruck::Make(Dual(op_), {m_[i], part}));
      terms.push_back(Ausdruck::Make(op_, {m_[i], part}));
    }
    PartOf(K::DistributionFalscheVerknuepfung, {i, j}, Ausdruck::Make(op_, swapped), right);
    for (std::size_t k = 0; k < b.size(); ++k) {
      PartOf(K::DistributionTeilVergessen, {i, j}, Ersetzt(Dual(op_), terms, {k}, nullptr), right);
      Members moved = b;
      moved[k] = Ausdruck::Make(op_, {m_[i], b[k]});
      PartOf(K::KlammernVerschoben, {i, j}, Ausdruck::Make(Dual(op_), moved), right);
    }
  }

  // A v (A + B) made A + B or B.
  void Absorption(std::size_t i, std::size_t j, const Members& parts) {
    Members rest;
    bool found = false;
    for (const Ptr& part : parts) {
      if (!found && kanon_.Of(part) == ids_[i]) {
        found = true;
        continue;
      }
      rest.push_back(part);
    }
    if (!found) return;
    PartOf(K::AbsorptionFalscherTeil, {i, j}, m_[j], m_[i]);
    PartOf(K::AbsorptionFalscherTeil, {i, j}, Verbunden(Dual(op_), rest), m_[i]);
  }

  Ptr node_;
  std::string_view op_;
  JunctionReading reading_;
  const Members& m_ = reading_.Members();
  const std::vector<Kanon::Id>& ids_ = reading_.Ids();
  Kanon& kanon_;
  Collector& add_;
};

}  // namespace

std::vector<Fehlanwendung> Fehlanwendungen(const Ausdruck::Ptr& node, Kanon& kanon,
                                           const Geaendert& geaendert) {
  std::vector<Fehlanwendung> out;
  Collector add(out);
  if (node->Is(operation::kNot))
    AtNegation(node, add);
  else if (node->Is(operation::kImplies) || node->Is(operation::kFollowsFrom))
    AtArrow(node, add);
  else if (node->Is(operation::kEquivalent))
    AtEquivalence(node, add);
  else if (IsJunction(node->Operation())) {
    for (Members& members : Lesarten(node))
      JunctionMistakes(node, std::move(members), kanon, geaendert, add).All();
    if (!HasArrows(*node)) AtDual(node, add);
  }
  return out;
}

}  // namespace umbrix
