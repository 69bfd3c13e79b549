// Simplify: the step-wise simplification used between all step-wise conversion steps and in
// the driver's merging loops.
//
// One pass at a node makes one bubble pass over its members, merges duplicates, turns a
// member next to its negation into the absorbing constant, collapses a single member and
// removes neutral constants. With "viele Zwischenschritte" a pass that changed the node does
// not descend into its members, so every call shows a small step; with "schneller
// vereinfachen " passes repeat and always descend until nothing changes.
#include <algorithm>
#include <numeric>
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

void SimFormel::Simplify(const SimplifyMode& mode, GesetzSink* gesetze) { SimplifyReporting(mode, gesetze); }

// Every change that a pass makes changes the node's text, so a pass that reports no change
// has left the text as it was: the repeating mode stops there without comparing texts.
//
// A pass that changes nothing has gone down into every member and changed nothing there
// either, in both modes. It depends on nothing but the subtree, so a subtree that no change
// has reached since such a pass would be left as it is again: it is skipped.
bool SimFormel::SimplifyReporting(const SimplifyMode& mode, GesetzSink* gesetze) {
  if (KeepsStableShape()) return false;
  bool changedAny = false;
  bool settled = false;  // the pass has already left what further passes would leave
  if (mode.Fast()) {
    while (!settled && SimplifyPass(mode, settled, gesetze)) changedAny = true;
  } else {
    changedAny = SimplifyPass(mode, settled, gesetze);
  }
  if (!changedAny || mode.Fast()) stableAt_ = ChangeClock();
  return changedAny;
}

bool SimFormel::KeepsStableShape() const { return LastChangeBelow() <= stableAt_; }

// One pass at this node; returns true when it changed anything.
bool SimFormel::SimplifyPass(const SimplifyMode& mode, bool& settled, GesetzSink* gesetze) {
  const std::uint64_t readAt = ChangeClock();
  const std::uint64_t ownMarks = ownMarks_;
  bool swapped = false;
  std::vector<std::string_view> texts;  // the members' kept texts, valid until one changes
  if (members_.size() >= 2) {
    // One bubble pass: a member moves back by any distance but forward by at most one.
    texts = MemberTexts();
    for (std::size_t i = 0; i + 1 < members_.size(); ++i) {
      if (texts[i] > texts[i + 1]) {
        std::swap(members_[i], members_[i + 1]);
        std::swap(texts[i], texts[i + 1]);
        swapped = true;
      }
    }
    if (swapped) Report(gesetze, Gesetz::Kommutativ);
  }
  // The exchanges are marked once the members' texts and hashes have been read: a mark moves
  // the clock, after which each member's check would walk its subtree again.
  if (!Is(operation::kOr) && !Is(operation::kAnd)) {
    if (swapped) MarkChanged();
    return Is(operation::kNot) ? SimplifyNegation(mode, gesetze) || swapped : swapped;
  }
  if (members_.size() < 2) texts = MemberTexts();
  bool reduced = false;  // members merged or constants removed
  const bool ended = MergeMembers(texts, reduced, gesetze);
  if (swapped) MarkChanged();
  if (ended || ScanConstants(reduced, gesetze)) return true;
  if ((swapped || reduced) && !mode.Fast()) return true;
  if (OnlyOwnChangesSince(readAt, ownMarks)) KeepMembersChecks(readAt);
  const std::uint64_t descentAt = ChangeClock();
  const bool descentChanged = DescendIntoMembers(mode, gesetze);
  if (swapped && !reduced && ChangeClock() == descentAt) {
    // Nothing changed below and no member can merge: further passes would only go on
    // exchanging neighbours until none is out of order, which a stable sort does at once; the
    // reordering is the one already reported for this pass.
    texts = MemberTexts();
    SortMembers(texts);
    settled = true;
  }
  return descentChanged || swapped || reduced;
}

// Orders the members stably by their texts, as bubble passes repeated until none exchanges
// anything do; texts follow the members. Returns true when the order changed.
bool SimFormel::SortMembers(std::vector<std::string_view>& texts) {
  if (std::is_sorted(texts.begin(), texts.end())) return false;
  std::vector<std::size_t> order(members_.size());
  std::iota(order.begin(), order.end(), 0);
  std::stable_sort(order.begin(), order.end(),
                   [&texts](std::size_t a, std::size_t b) { return texts[a] < texts[b]; });
  std::vector<Ptr> sortedMembers;
  std::vector<std::string_view> sortedTexts;
  sortedMembers.reserve(order.size());
  sortedTexts.reserve(order.size());
  for (std::size_t index : order) {
    sortedMembers.push_back(members_[index]);
    sortedTexts.push_back(texts[index]);
  }
  members_ = std::move(sortedMembers);
  texts = std::move(sortedTexts);
  MarkChanged();
  return true;
}

// A negated constant is evaluated; any other operand is simplified.
bool SimFormel::SimplifyNegation(const SimplifyMode& mode, GesetzSink* gesetze) {
  if (EvaluateNegatedConstant(gesetze)) return true;
  return SubFormel(0)->SimplifyReporting(mode, gesetze);
}

// A negation of "C" or "T" becomes the other constant. Returns true when it did.
bool SimFormel::EvaluateNegatedConstant(GesetzSink* gesetze) {
  if (members_.empty()) return false;
  const SimFormel& operand = *members_[0];
  if (!operand.Is(operation::kFalse) && !operand.Is(operation::kTrue)) return false;
  BecomeAtom(operand.Is(operation::kFalse) ? operation::kTrue : operation::kFalse);
  Report(gesetze, Gesetz::NegierteKonstante);
  return true;
}

// Simplifies every member from position 0 upwards, skipping those that a repeating pass left
// as they were and that no change has reached since.
bool SimFormel::DescendIntoMembers(const SimplifyMode& mode, GesetzSink* gesetze) {
  bool changedAny = false;
  for (std::size_t i = 0; i < members_.size(); ++i) {
    if (members_[i]->KeepsStableShape()) continue;
    if (members_[i]->SimplifyReporting(mode, gesetze)) changedAny = true;
  }
  return changedAny;
}

// Duplicate and complement scan, then the single-member collapse. Returns true when the
// node became an atom or took over its only member, which ends the pass.
// texts holds the members' texts, in the members' order.
bool SimFormel::MergeMembers(const std::vector<std::string_view>& texts, bool& changed, GesetzSink* gesetze) {
  std::vector<DuplicateScanEntry> entries;
  entries.reserve(texts.size());
  for (std::size_t k = 0; k < texts.size(); ++k) {
    const SimFormel& member = *members_[k];
    const bool negation = texts[k].starts_with(operation::kNot);  // "-" and the operand's text
    entries.push_back({texts[k], member.TextHash(), negation ? member.Member(0).TextHash() : 0});
  }
  DuplicateScanResult scan = ScanDuplicateEntries(entries);
  if (scan.complementary) {
    BecomeAtom(AbsorbingConstant(operation_));
    Report(gesetze, Gesetz::Komplement);  // A + -A  ==  C,  A v -A  ==  T
    return true;
  }
  const bool merged = scan.kept.size() < members_.size();
  if (merged) {
    Report(gesetze, Gesetz::Idempotenz);  // A + A  ==  A
    std::vector<Ptr> kept;
    kept.reserve(scan.kept.size());
    for (std::size_t position : scan.kept) kept.push_back(members_[position]);
    members_ = std::move(kept);
    changed = true;
    MarkChanged();
  }
  DropTrailing();
  if (members_.size() == 1) {
    Ptr only = members_[0];
    Become(*only);
    // A node that had one member before the scan only loses its parentheses; one whose
    // duplicates were merged into one member is still the idempotence just reported.
    if (!merged) Report(gesetze, Gesetz::KlammernWeglassen);
    return true;
  }
  return false;
}

// Absorbing constants swallow the node, neutral ones are removed (the last member takes the
// hole). Returns true when the node became a constant.
bool SimFormel::ScanConstants(bool& changed, GesetzSink* gesetze) {
  const std::string_view absorbing = AbsorbingConstant(operation_);
  const std::string_view neutral = NeutralConstant(operation_);
  std::size_t i = 0;
  while (i < members_.size()) {
    if (members_[i]->Is(absorbing)) {
      BecomeAtom(absorbing);
      Report(gesetze, Gesetz::Dominanz);  // A + C  ==  C,  A v T  ==  T
      return true;
    }
    if (members_[i]->Is(neutral)) {
      members_[i] = members_.back();  // position i is examined again
      members_.pop_back();
      changed = true;
      MarkChanged();
      Report(gesetze, Gesetz::Neutral);  // A + T  ==  A,  A v C  ==  A
      continue;
    }
    ++i;
  }
  if (members_.empty()) {
    BecomeAtom(neutral);
    Report(gesetze, Gesetz::Neutral);
    return true;
  }
  return false;
}

}  // namespace umbrix
