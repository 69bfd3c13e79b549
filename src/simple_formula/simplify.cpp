// Simplify: the step-wise simplification used between all step-wise conversion steps and in
// the driver's merging loops.
//
// One pass at a node makes one bubble pass over its members, merges duplicates, turns a
// member next to its negation into the absorbing constant, collapses a single member and
// removes neutral constants. With "viele Zwischenschritte" a pass that changed the node does
// not descend into its members, so every call shows a small step; with "schneller
// vereinfachen " passes repeat and always descend until nothing changes.
#include <algorithm>
#include <utility>

#include "simple_formula/duplicate_scan.hpp"
#include "simple_formula/operators.hpp"

namespace umbrix {

namespace {

// "T" absorbs a disjunction and "C" a conjunction; the other constant is neutral.
std::string_view AbsorbingConstant(const std::string& operation) {
  return operation == operation::kOr ? operation::kTrue : operation::kFalse;
}
std::string_view NeutralConstant(const std::string& operation) {
  return operation == operation::kOr ? operation::kFalse : operation::kTrue;
}

}  // namespace

void SimFormel::Simplify(const SimplifyMode& mode) { SimplifyReporting(mode); }

// Every change that a pass makes changes the node's text, so a pass that reports no change
// has left the text as it was: the repeating mode stops there without comparing texts.
// knownUnstable: the caller has just found that the shape differs from the stable one.
bool SimFormel::SimplifyReporting(const SimplifyMode& mode, bool knownUnstable) {
  if (!mode.Fast()) return SimplifyPass(mode);
  // A pass depends on nothing but the subtree's shape: a subtree with the shape it had when
  // a pass last left it unchanged would be left unchanged again.
  if (!knownUnstable && KeepsStableShape()) return false;
  bool changedAny = false;
  while (SimplifyPass(mode)) changedAny = true;
  stableShape_ = ShapeHash();
  stableText_ = FormelText();
  hasStableShape_ = true;
  return changedAny;
}

bool SimFormel::KeepsStableShape() const { return hasStableShape_ && ShapeHash() == stableShape_; }

// One pass at this node; returns true when it changed anything.
bool SimFormel::SimplifyPass(const SimplifyMode& mode) {
  bool changed = false;
  std::vector<const SimFormel*> stable;  // members known to be left unchanged by a pass
  MemberTextList texts;
  if (members_.size() >= 2) {
    // One bubble pass: a member moves back by any distance but forward by at most one.
    texts = MemberTexts(stable);
    std::vector<std::string_view>& views = texts.views;
    for (std::size_t i = 0; i + 1 < members_.size(); ++i) {
      if (views[i] > views[i + 1]) {
        std::swap(members_[i], members_[i + 1]);
        std::swap(views[i], views[i + 1]);
        changed = true;
      }
    }
  }
  if (operation_ == operation::kNot) return SimplifyNegation(mode) || changed;
  if (operation_ != operation::kOr && operation_ != operation::kAnd) return changed;
  if (members_.size() < 2) texts = MemberTexts(stable);
  if (MergeMembers(texts.views, changed)) return true;
  if (ScanConstants(changed)) return true;
  if (changed && !mode.Fast()) return true;
  return DescendIntoMembers(mode, stable) || changed;
}

// A negated constant is evaluated; any other operand is simplified.
bool SimFormel::SimplifyNegation(const SimplifyMode& mode) {
  const std::string operand = members_.empty() ? std::string() : members_[0]->operation_;
  if (operand == operation::kFalse || operand == operation::kTrue) {
    BecomeAtom(operand == operation::kFalse ? operation::kTrue : operation::kFalse);
    return true;
  }
  return SubFormel(0)->SimplifyReporting(mode);
}

// Simplifies every member from position 0 upwards. A member that was found stable when the
// pass began is skipped as long as no member before it has changed anything, since only such
// a change could have reached into it through a shared node.
bool SimFormel::DescendIntoMembers(const SimplifyMode& mode, std::vector<const SimFormel*>& stable) {
  std::sort(stable.begin(), stable.end());
  bool changedAny = false;
  for (std::size_t i = 0; i < members_.size(); ++i) {
    const bool stableAtStart = std::binary_search(stable.begin(), stable.end(), members_[i].get());
    if (!changedAny && stableAtStart) continue;
    if (members_[i]->SimplifyReporting(mode, !changedAny && !stableAtStart)) changedAny = true;
  }
  return changedAny;
}

// Duplicate and complement scan, then the single-member collapse. Returns true when the
// node became an atom or took over its only member, which ends the pass.
// texts holds the members' texts, in the members' order.
bool SimFormel::MergeMembers(const std::vector<std::string_view>& texts, bool& changed) {
  DuplicateScanResult scan = ScanDuplicates(texts);
  if (scan.complementary) {
    BecomeAtom(AbsorbingConstant(operation_));
    return true;
  }
  if (scan.kept.size() < members_.size()) {
    std::vector<Ptr> kept;
    kept.reserve(scan.kept.size());
    for (std::size_t position : scan.kept) kept.push_back(members_[position]);
    members_ = std::move(kept);
    changed = true;
  }
  trailing_.reset();
  if (members_.size() == 1) {
    Ptr only = members_[0];
    Become(*only);
    return true;
  }
  return false;
}

// Absorbing constants swallow the node, neutral ones are removed (the last member takes the
// hole). Returns true when the node became a constant.
bool SimFormel::ScanConstants(bool& changed) {
  const std::string_view absorbing = AbsorbingConstant(operation_);
  const std::string_view neutral = NeutralConstant(operation_);
  std::size_t i = 0;
  while (i < members_.size()) {
    if (members_[i]->operation_ == absorbing) {
      BecomeAtom(absorbing);
      return true;
    }
    if (members_[i]->operation_ == neutral) {
      members_[i] = members_.back();  // position i is examined again
      members_.pop_back();
      changed = true;
      continue;
    }
    ++i;
  }
  if (members_.empty()) {
    BecomeAtom(neutral);
    return true;
  }
  return false;
}

}  // namespace umbrix
