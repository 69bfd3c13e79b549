// MakeDis and MakeKon: one visible rewrite per call towards a normal form.
//
// A call simplifies its node first, then makes at most one structural rewrite: dissolving
// one nested member of the node's own operator, one negation step handed to a member, one
// distribution of the first inner-normal-form member against the last member, or, on the
// outer operator, a descent into the first member that is not finished. Nothing is copied:
// distribution shares the existing member objects among the new nodes.
#include <utility>

#include "simple_formula/operators.hpp"

namespace umbrix {

void SimFormel::MakeDis(bool& alreadyDone, const SimplifyMode& mode, GesetzSink* gesetze) {
  Simplify(mode, gesetze);
  alreadyDone = false;
  MakeStepwise(alreadyDone, mode, kDisjunctive, gesetze);
}

void SimFormel::MakeKon(bool& alreadyDone, const SimplifyMode& mode, GesetzSink* gesetze) {
  alreadyDone = false;
  Simplify(mode, gesetze);
  MakeStepwise(alreadyDone, mode, kConjunctive, gesetze);
}

void SimFormel::MakeStepwiseFor(bool& alreadyDone, const SimplifyMode& mode, const Operators& ops,
                                GesetzSink* gesetze) {
  if (ops.pushesNegations)
    MakeDis(alreadyDone, mode, gesetze);
  else
    MakeKon(alreadyDone, mode, gesetze);
}

void SimFormel::MakeStepwise(bool& alreadyDone, const SimplifyMode& mode, const Operators& ops,
                             GesetzSink* gesetze) {
  if (Is(operation::kFalse) || Is(operation::kTrue)) {
    alreadyDone = true;
  } else if (Is(operation::kNot)) {
    // Only the disjunctive conversion pushes negations down; for the other one a negation
    // is finished whatever its operand.
    if (ops.pushesNegations)
      NegationStep(alreadyDone, gesetze);
    else
      alreadyDone = true;
  } else if (Is(ops.inner)) {
    if (FlattenOne(ops, gesetze) || HandOffNegation(mode, ops, gesetze)) return;
    // A conjunction of literals (for MakeKon: a disjunction) is finished.
    if (!Distribute(ops, gesetze)) alreadyDone = true;
  } else if (Is(ops.outer)) {
    if (FlattenOne(ops, gesetze) || HandOffNegation(mode, ops, gesetze)) return;
    Descend(alreadyDone, mode, ops, gesetze);
  }
}

// Negation rules of the disjunctive conversion on a "-" node.
void SimFormel::NegationStep(bool& alreadyDone, GesetzSink* gesetze) {
  Ptr operand = SubFormel(0);
  switch (operand->Stufe()) {
    case Level::kAtom:
      alreadyDone = true;
      return;
    case Level::kNot:
      Become(*operand->SubFormel(0));  // --B  ==  B
      Report(gesetze, Gesetz::DoppelteNegation);
      return;
    case Level::kAnd:
    case Level::kOr: {
      // -(A0 + A1 ...)  ==  -A0 v -A1 ...   and   -(A0 v A1 ...)  ==  -A0 + -A1 ...
      std::vector<Ptr> negations;
      for (const Ptr& member : operand->members_) negations.push_back(NewNode(operation::kNot, {member}));
      operation_ = operand->Stufe() == Level::kAnd ? operation::kOr : operation::kAnd;
      SetMembers(std::move(negations));
      Report(gesetze, Gesetz::DeMorgan);
      return;
    }
    default:
      return;
  }
}

// Dissolves the first member of the node's own operator: the last member takes its place
// and the nested members are appended. Returns true when it found one.
bool SimFormel::FlattenOne(const Operators& ops, GesetzSink* gesetze) {
  const Level level = Is(ops.inner) ? ops.innerLevel : ops.outerLevel;
  for (std::size_t i = 0; i < members_.size(); ++i) {
    if (members_[i]->Stufe() != level) continue;
    Ptr nested = members_[i];
    CheckMemberCount(members_.size() - 1 + nested->members_.size());
    members_[i] = members_.back();
    members_.pop_back();
    members_.insert(members_.end(), nested->members_.begin(), nested->members_.end());
    trailing_.reset();
    MarkChanged();
    Report(gesetze, Gesetz::Assoziativ);
    return true;
  }
  return false;
}

// Hands one step to the first negation over a compound operand. Returns true when found.
bool SimFormel::HandOffNegation(const SimplifyMode& mode, const Operators& ops, GesetzSink* gesetze) {
  for (const Ptr& member : members_) {
    if (!member->Is(operation::kNot) || member->SubFormel(0)->Stufe() == Level::kAtom) continue;
    bool memberDone = false;
    member->MakeStepwiseFor(memberDone, mode, ops, gesetze);
    return true;
  }
  return false;
}

// Descends into the members of the inner operator until one is not finished.
void SimFormel::Descend(bool& alreadyDone, const SimplifyMode& mode, const Operators& ops,
                        GesetzSink* gesetze) {
  for (std::size_t i = 0; i < members_.size(); ++i) {
    if (!members_[i]->Is(ops.inner)) continue;
    members_[i]->MakeStepwiseFor(alreadyDone, mode, ops, gesetze);
    if (!alreadyDone) return;
  }
  alreadyDone = true;
}

}  // namespace umbrix
