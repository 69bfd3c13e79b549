// Simplify: the step-wise simplification used between all step-wise conversion steps and in
// the driver's merging loops.
//
// One pass at a node makes one bubble pass over its members, merges duplicates, turns a
// member next to its negation into the absorbing constant, collapses a single member and
// removes neutral constants. With "viele Zwischenschritte" a pass that changed the node does
// not descend into its members, so every call shows a small step; with "schneller
// vereinfachen " passes repeat and always descend until nothing changes.
#include <utility>

#include "simple_formula/duplicate_scan.hpp"
#include "simple_formula/operators.hpp"

namespace umbrix {

namespace {

// "T" absorbs a disjunction and "C" a conjunction; the other constant is neutral.
const char* AbsorbingConstant(const std::string& operation) { return operation == "v" ? "T" : "C"; }
const char* NeutralConstant(const std::string& operation) { return operation == "v" ? "C" : "T"; }

}  // namespace

void SimFormel::Simplify(const SimplifyMode& mode) {
  if (!mode.Fast()) {
    SimplifyPass(mode);
    return;
  }
  for (std::string before = Value();;) {
    SimplifyPass(mode);
    std::string after = Value();
    if (after == before) return;
    before = std::move(after);
  }
}

void SimFormel::SimplifyPass(const SimplifyMode& mode) {
  bool changed = false;
  std::vector<std::string> texts;
  if (members_.size() >= 2) {
    // One bubble pass: a member moves back by any distance but forward by at most one.
    texts = MemberTexts();
    for (std::size_t i = 0; i + 1 < members_.size(); ++i) {
      if (texts[i] > texts[i + 1]) {
        std::swap(members_[i], members_[i + 1]);
        std::swap(texts[i], texts[i + 1]);
        changed = true;
      }
    }
  }
  if (operation_ == "-") {
    const std::string operand = members_.empty() ? std::string() : members_[0]->operation_;
    if (operand == "C") {
      BecomeAtom("T");
    } else if (operand == "T") {
      BecomeAtom("C");
    } else {
      SubFormel(0)->Simplify(mode);
    }
    return;
  }
  if (operation_ != "v" && operation_ != "+") return;
  if (members_.size() < 2) texts = MemberTexts();
  if (MergeMembers(texts, changed)) return;
  if (ScanConstants(changed)) return;
  if (!changed || mode.Fast())
    for (std::size_t i = 0; i < members_.size(); ++i) members_[i]->Simplify(mode);
}

// Duplicate and complement scan, then the single-member collapse. Returns true when the
// node became an atom or took over its only member, which ends the pass.
// texts holds the members' texts, in the members' order.
bool SimFormel::MergeMembers(const std::vector<std::string>& texts, bool& changed) {
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
  const char* absorbing = AbsorbingConstant(operation_);
  const char* neutral = NeutralConstant(operation_);
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
