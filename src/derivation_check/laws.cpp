// The rewriting rules of the laws, node by node.
#include "derivation_check/laws.hpp"

#include <algorithm>
#include <unordered_map>

namespace umbrix {

namespace {

using Ptr = Ausdruck::Ptr;
using Members = std::vector<Ptr>;

bool AnyNegation(const Members& members) {
  for (const Ptr& member : members)
    if (member->Is(operation::kNot)) return true;
  return false;
}

Members Each(const Members& members, Ptr (*negate)(const Ptr&)) {
  Members result;
  result.reserve(members.size());
  for (const Ptr& member : members) result.push_back(negate(member));
  return result;
}

// -(A + B) gives -A v -B, and with a negated member the double negation may be cancelled too;
// the members as written or taken in from inner junctions of the same kind.
void AtNegation(const Ptr& node, std::vector<Umformung>& out) {
  const Ptr& operand = node->Glieder()[0];
  if (operand->Is(operation::kNot)) out.push_back({Gesetz::DoppelteNegation, operand->Glieder()[0]});
  if (operand->IsKonstante())
    out.push_back({Gesetz::NegierteKonstante, Ausdruck::Konstante(operand->Is(operation::kFalse))});
  if (!IsJunction(operand->Operation())) return;
  const std::string_view dual = Dual(operand->Operation());
  for (const Members& members : Lesarten(operand)) {
    out.push_back({Gesetz::DeMorgan, Ausdruck::Make(dual, Each(members, &Nicht))});
    if (AnyNegation(members))
      out.push_back({Gesetz::DeMorgan, Ausdruck::Make(dual, Each(members, &Verneint)), true});
  }
}

// A => B gives -A v B; A <= B gives B => A, or A v -B at once as exercise sheets write it.
void AtArrow(const Ptr& node, std::vector<Umformung>& out) {
  const Ptr& a = node->Glieder()[0];
  const Ptr& b = node->Glieder()[1];
  if (node->Is(operation::kImplies)) {
    out.push_back({Gesetz::Implikation, Ausdruck::Make(operation::kOr, {Nicht(a), b})});
    if (a->Is(operation::kNot))
      out.push_back({Gesetz::Implikation, Ausdruck::Make(operation::kOr, {Verneint(a), b}), true});
    return;
  }
  out.push_back({Gesetz::FolgtAus, Ausdruck::Make(operation::kImplies, {b, a})});
  out.push_back({Gesetz::FolgtAus, Ausdruck::Make(operation::kOr, {a, Nicht(b)})});
  if (b->Is(operation::kNot))
    out.push_back({Gesetz::FolgtAus, Ausdruck::Make(operation::kOr, {a, Verneint(b)}), true});
}

Ptr Implies(const Ptr& a, const Ptr& b) { return Ausdruck::Make(operation::kImplies, {a, b}); }

// A == B gives (B => A) + (A => B), as Umbrix writes it (a chain: a cycle of implications),
// or for two members the forms (A + B) v (-A + -B) and (-A v B) + (A v -B).
void AtEquivalence(const Ptr& node, std::vector<Umformung>& out) {
  const Members& m = node->Glieder();
  Members cycle{Implies(m.back(), m.front())};
  for (std::size_t k = 0; k + 1 < m.size(); ++k) cycle.push_back(Implies(m[k], m[k + 1]));
  out.push_back({Gesetz::Aequivalenz, Ausdruck::Make(operation::kAnd, std::move(cycle))});
  if (m.size() != 2) return;
  for (Ptr (*negate)(const Ptr&) : {&Nicht, &Verneint}) {
    const bool cancels = negate == &Verneint;
    if (cancels && !AnyNegation(m)) continue;
    const Ptr a = negate(m[0]), b = negate(m[1]);
    out.push_back({Gesetz::Aequivalenz,
                   Ausdruck::Make(operation::kOr, {Ausdruck::Make(operation::kAnd, {m[0], m[1]}),
                                                   Ausdruck::Make(operation::kAnd, {a, b})}),
                   cancels});
    out.push_back({Gesetz::Aequivalenz,
                   Ausdruck::Make(operation::kAnd, {Ausdruck::Make(operation::kOr, {a, m[1]}),
                                                    Ausdruck::Make(operation::kOr, {m[0], b})}),
                   cancels});
  }
}

// The laws that act on the members of a junction.
class JunctionLaws {
 public:
  JunctionLaws(const Ptr& node, Members members, Kanon& kanon, const Geaendert& geaendert,
               std::vector<Umformung>& out)
      : op_(node->Operation()), reading_(std::move(members), kanon, geaendert), kanon_(kanon), out_(out) {}

  void All() {
    DeMorganBackwards();
    Idempotence();
    ComplementAndConstants();
    if (members_.size() > kMostPairedMembers) return;
    Absorption();
    Distribution();
  }

 private:
  bool Takes(const std::vector<std::size_t>& positions) const { return reading_.Takes(positions); }

  void Add(Gesetz gesetz, const std::vector<std::size_t>& positions, const Ptr& replacement) {
    if (Takes(positions)) out_.push_back({gesetz, Ersetzt(op_, members_, positions, replacement)});
  }

  // -A + -B gives -(A v B), read from right to left; a member that is no negation gets a double
  // negation (A + B gives -(-A v -B)).
  void DeMorganBackwards() {
    Members inner;
    bool cancels = false;
    for (const Ptr& member : members_) {
      cancels = cancels || !member->Is(operation::kNot);
      inner.push_back(Verneint(member));
    }
    out_.push_back({Gesetz::DeMorgan, Nicht(Ausdruck::Make(Dual(op_), std::move(inner))), cancels});
  }

  void Idempotence() {
    std::unordered_map<Kanon::Id, std::size_t> first;
    std::vector<std::size_t> repeated;
    for (std::size_t k = 0; k < members_.size(); ++k)
      if (!first.emplace(ids_[k], k).second) repeated.push_back(k);
    for (std::size_t k : repeated) Add(Gesetz::Idempotenz, {k}, nullptr);
    if (repeated.size() > 1) Add(Gesetz::Idempotenz, repeated, nullptr);
  }

  // A + -A gives C (A v -A gives T), the pair alone or the whole junction at once; a neutral
  // constant is dropped, one or all; an absorbing one takes the whole junction.
  void ComplementAndConstants() {
    const Ptr absorbing = Ausdruck::Konstante(AbsorbingConstant(op_) == operation::kTrue);
    std::unordered_map<Kanon::Id, std::size_t> position;
    for (std::size_t k = 0; k < members_.size(); ++k) position.emplace(ids_[k], k);
    std::vector<std::size_t> neutral;
    bool dominant = false;
    for (std::size_t k = 0; k < members_.size(); ++k) {
      const Ptr& member = members_[k];
      if (member->Is(operation::kNot)) {
        auto partner = position.find(kanon_.Of(member->Glieder()[0]));
        if (partner != position.end()) {
          Add(Gesetz::Komplement, {partner->second, k}, absorbing);
          if (members_.size() > 2) out_.push_back({Gesetz::Komplement, absorbing});
        }
      }
      if (member->Is(NeutralConstant(op_))) neutral.push_back(k);
      dominant = dominant || member->Is(AbsorbingConstant(op_));
    }
    for (std::size_t k : neutral) Add(Gesetz::Neutral, {k}, nullptr);
    if (neutral.size() > 1) Add(Gesetz::Neutral, neutral, nullptr);
    if (dominant) out_.push_back({Gesetz::Dominanz, absorbing});
  }

  // A v (A + B) gives A: a member that holds all of another's parts goes.
  void Absorption() {
    for (std::size_t j = 0; j < members_.size(); ++j) {
      if (!members_[j]->Is(Dual(op_))) continue;
      for (const Members& reading : Lesarten(members_[j])) {
        std::vector<Kanon::Id> parts;
        for (const Ptr& part : reading) parts.push_back(kanon_.Of(part));
        for (std::size_t i = 0; i < members_.size(); ++i)
          if (i != j && ids_[i] != ids_[j] && Takes({j}) && Contains(parts, PartsOf(i)))
            Add(Gesetz::Absorption, {j}, nullptr);
      }
    }
  }

  std::vector<Kanon::Id> PartsOf(std::size_t i) {
    if (!members_[i]->Is(Dual(op_))) return {ids_[i]};
    std::vector<Kanon::Id> parts;
    for (const Ptr& part : FlacheGlieder(members_[i])) parts.push_back(kanon_.Of(part));
    return parts;
  }

  static bool Contains(std::vector<Kanon::Id> whole, const std::vector<Kanon::Id>& parts) {
    for (Kanon::Id part : parts) {
      auto found = std::find(whole.begin(), whole.end(), part);
      if (found == whole.end()) return false;
      whole.erase(found);
    }
    return true;
  }

  // A + (B v C) gives (A + B) v (A + C): one member into a junction partner (its parts as
  // written or taken in), both multiplied out when both are junctions, or all other members
  // at once.
  void Distribution() {
    for (std::size_t j = 0; j < members_.size(); ++j) {
      if (!members_[j]->Is(Dual(op_))) continue;
      for (const Members& parts : Lesarten(members_[j])) {
        for (std::size_t i = 0; i < members_.size(); ++i) {
          if (i == j || !Takes({i, j})) continue;
          Add(Gesetz::Distributiv, {i, j}, Ausmultipliziert(op_, members_[i], parts));
          if (members_[i]->Is(Dual(op_)) && i < j)
            for (const Members& other : Lesarten(members_[i]))
              Add(Gesetz::Distributiv, {i, j}, CrossProduct(other, parts));
        }
        if (members_.size() > 2) {
          const Ptr others = Ersetzt(op_, members_, {j}, nullptr);
          out_.push_back({Gesetz::Distributiv, Ausmultipliziert(op_, others, parts)});
        }
      }
    }
  }

  Ptr CrossProduct(const Members& left, const Members& right) {
    Members terms;
    for (const Ptr& c : left)
      for (const Ptr& b : right) terms.push_back(Ausdruck::Make(op_, {c, b}));
    return Ausdruck::Make(Dual(op_), std::move(terms));
  }

  std::string_view op_;
  JunctionReading reading_;
  const Members& members_ = reading_.Members();
  const std::vector<Kanon::Id>& ids_ = reading_.Ids();
  Kanon& kanon_;
  std::vector<Umformung>& out_;
};

}  // namespace

JunctionReading::JunctionReading(std::vector<Ausdruck::Ptr> members, Kanon& kanon, const Geaendert& geaendert)
    : members_(std::move(members)), mustTake_(geaendert) {
  for (const Ptr& member : members_) ids_.push_back(kanon.Of(member));
  for (Kanon::Id form : geaendert)
    if (std::find(ids_.begin(), ids_.end(), form) == ids_.end()) mustTake_.clear();
}

bool JunctionReading::Takes(const std::vector<std::size_t>& positions) const {
  std::vector<Kanon::Id> taken;
  for (std::size_t k : positions) taken.push_back(ids_[k]);
  for (Kanon::Id form : mustTake_) {
    auto found = std::find(taken.begin(), taken.end(), form);
    if (found == taken.end()) return false;
    taken.erase(found);
  }
  return true;
}

Ausdruck::Ptr Ausmultipliziert(std::string_view operation, const Ausdruck::Ptr& member,
                               const std::vector<Ausdruck::Ptr>& parts) {
  Members terms;
  for (const Ptr& part : parts) terms.push_back(Ausdruck::Make(operation, {member, part}));
  return Ausdruck::Make(Dual(operation), std::move(terms));
}

std::vector<Umformung> Umformungen(const Ausdruck::Ptr& node, Kanon& kanon, const Geaendert& geaendert) {
  std::vector<Umformung> out;
  if (node->Is(operation::kNot))
    AtNegation(node, out);
  else if (node->Is(operation::kImplies) || node->Is(operation::kFollowsFrom))
    AtArrow(node, out);
  else if (node->Is(operation::kEquivalent))
    AtEquivalence(node, out);
  else if (IsJunction(node->Operation()))
    for (Members& members : Lesarten(node))
      JunctionLaws(node, std::move(members), kanon, geaendert, out).All();
  return out;
}

}  // namespace umbrix
