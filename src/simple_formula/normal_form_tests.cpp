// NotDis and NotKon: purely structural tests for the two normal forms.
//
// Disjunctive normal form is a literal, a "+" of literals, or a "v" of literals and such "+"
// nodes; conjunctive normal form is the same with "+" and "v" exchanged. A connective nested
// directly in the same connective counts as unfinished.
#include "simple_formula/operators.hpp"

namespace umbrix {

namespace {

// Level of a "-" node's operand; a missing operand reads as the empty node.
Level OperandLevel(const std::vector<SimFormel::Ptr>& members) {
  return members.empty() ? Level::kEmpty : members.front()->Stufe();
}

}  // namespace

bool SimFormel::NotNormal(const Operators& ops) const {
  if (Is(operation::kNot)) return OperandLevel(members_) != Level::kAtom;
  if (Is(ops.inner)) {
    for (const Ptr& member : members_) {
      if ((member->Is(operation::kNot) && OperandLevel(member->members_) != Level::kAtom) ||
          member->Is(ops.outer) || member->Is(ops.inner))
        return true;
    }
    return false;
  }
  if (Is(ops.outer)) {
    for (const Ptr& member : members_) {
      if (((member->Is(operation::kNot) || member->Is(ops.inner)) && member->NotNormal(ops)) ||
          member->Is(ops.outer))
        return true;
    }
  }
  return false;
}

bool SimFormel::NotDis() const { return NotNormal(kDisjunctive); }

bool SimFormel::NotKon() const { return NotNormal(kConjunctive); }

}  // namespace umbrix
