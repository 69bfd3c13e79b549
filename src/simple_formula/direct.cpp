// MakeDisDirect and MakeKonDirect: conversions with few intermediate steps.
//
// One call dissolves every nested member of the node's own operator, pushes negations down
// to the atoms (disjunctive conversion only), hands the conversion to every member that
// needs it, and multiplies out one inner member per node reached. The direct twins share the
// distribution itself with the step-wise conversions.
#include <utility>

#include "simple_formula/operators.hpp"

namespace umbrix {

void SimFormel::MakeDisDirect(bool simplification, GesetzSink* gesetze) {
  MakeDirect(simplification, kDisjunctive, gesetze);
}

void SimFormel::MakeKonDirect(bool simplification, GesetzSink* gesetze) {
  MakeDirect(simplification, kConjunctive, gesetze);
}

void SimFormel::MakeDirect(bool simplification, const Operators& ops, GesetzSink* gesetze) {
  if (simplification) SimplifyDirect(gesetze);
  if (Is(operation::kNot)) {
    if (ops.pushesNegations) NegationDirect(gesetze);
  } else if (Is(ops.inner)) {
    FlattenAll(ops, gesetze);
    HandOffNegationDirect(ops, gesetze);
    Distribute(ops, gesetze);
  } else if (Is(ops.outer)) {
    FlattenAll(ops, gesetze);
    HandOffNegationDirect(ops, gesetze);
    DescendDirect(ops, gesetze);
  }
}

// Pushes a negation over a compound operand all the way down within this call.
void SimFormel::NegationDirect(GesetzSink* gesetze) {
  Ptr operand = SubFormel(0);
  const Level level = operand->Stufe();
  if (level == Level::kNot) {
    Become(*operand->SubFormel(0));  // --B  ==  B
    Report(gesetze, Gesetz::DoppelteNegation);
    MakeDirect(false, kDisjunctive, gesetze);
  } else if (level == Level::kAnd || level == Level::kOr) {
    // De Morgan; the new negations are placed and converted from the last to the first.
    std::vector<Ptr> operands = operand->members_;
    CheckMemberCount(operands.size());
    members_.resize(operands.size());
    trailing_.reset();
    operation_ = level == Level::kAnd ? operation::kOr : operation::kAnd;
    MarkChanged();
    Report(gesetze, Gesetz::DeMorgan);
    for (std::size_t k = operands.size(); k-- > 0;) {
      members_[k] = NewNode(operation::kNot, {operands[k]});
      members_[k]->MakeDirect(false, kDisjunctive, gesetze);
    }
    MarkChanged();
  }
}

// Dissolves nested members of the node's own operator until none is left.
void SimFormel::FlattenAll(const Operators& ops, GesetzSink* gesetze) {
  while (FlattenOne(ops, gesetze)) {
  }
}

// Every negation over a compound member pushes itself down, in position order.
void SimFormel::HandOffNegationDirect(const Operators& ops, GesetzSink* gesetze) {
  if (!ops.pushesNegations) return;  // the conjunctive conversion leaves negations alone
  const std::size_t count = members_.size();
  for (std::size_t i = 0; i < count; ++i) {
    const Ptr& member = members_[i];
    if (member->Is(operation::kNot) && member->SubFormel(0)->Stufe() != Level::kAtom)
      member->MakeDirect(false, ops, gesetze);
  }
}

// Multiplies the first member of the outer operator with the last member; returns false when
// there is no such member.
bool SimFormel::Distribute(const Operators& ops, GesetzSink* gesetze) {
  std::size_t first = 0;
  while (first < members_.size() && !members_[first]->Is(ops.outer)) ++first;
  if (first == members_.size()) return false;
  if (first != 0) {
    std::swap(members_[0], members_[first]);
    MarkChanged();
  }
  DistributeFirst(ops, gesetze);
  return true;
}

// Every member of the inner operator gets its own conversion pass.
void SimFormel::DescendDirect(const Operators& ops, GesetzSink* gesetze) {
  for (std::size_t i = 0; i < members_.size(); ++i)
    if (members_[i]->Is(ops.inner)) members_[i]->MakeDirect(false, ops, gesetze);
}

// Distribution with the outer-operator member at position 0 against the last member L:
// (D0 v D1) + ... + L  gives  ((D0 + L) v (D1 + L)) + ...; when L is itself (E0 v E1), every
// pair Dj + Ek is built, D-major. A node left with one member takes over the new node; a
// node that had no L takes over its only member.
void SimFormel::DistributeFirst(const Operators& ops, GesetzSink* gesetze) {
  Ptr first = members_[0];
  if (members_.size() == 1) {
    Become(*first);
    Report(gesetze, Gesetz::KlammernWeglassen);
    return;
  }
  Report(gesetze, Gesetz::Distributiv);
  Ptr last = members_.back();
  members_.pop_back();
  MarkChanged();
  const bool crossProduct = last->Is(ops.outer);
  const std::size_t width = crossProduct ? last->members_.size() : 1;
  CheckMemberCount(first->members_.size() * width);
  auto product = std::make_shared<SimFormel>(std::string(ops.outer));
  product->members_.reserve(first->members_.size() * width);
  for (const Ptr& d : first->members_) {
    if (crossProduct) {
      for (const Ptr& e : last->members_) product->members_.push_back(NewNode(ops.inner, {d, e}));
    } else {
      product->members_.push_back(NewNode(ops.inner, {d, last}));
    }
  }
  members_[0] = product;
  trailing_.reset();
  MarkChanged();
  if (members_.size() == 1) Become(*product);
}

}  // namespace umbrix
