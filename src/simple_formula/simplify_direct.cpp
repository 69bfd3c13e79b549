// SimplifyDirect: the simplification of "wenig Zwischenschritte".
//
// Bottom-up over the whole tree in one call: every member first, then the node's members are
// sorted completely, and the same merging rules as in Simplify apply once at the node. It
// never reads the option buttons.
#include "simple_formula/operators.hpp"

namespace umbrix {

// A call depends on nothing but the subtree: one that no change has reached since a call
// left it as it was would leave it so again, and is skipped.
void SimFormel::SimplifyDirect(GesetzSink* gesetze) {
  if (LastChangeBelow() <= directStableAt_) return;
  const std::uint64_t start = ChangeClock();
  SimplifyDirectOnce(gesetze);
  if (LastChangeBelow() <= start) directStableAt_ = ChangeClock();
}

void SimFormel::SimplifyDirectOnce(GesetzSink* gesetze) {
  for (std::size_t i = 0; i < members_.size(); ++i) members_[i]->SimplifyDirect(gesetze);
  const bool junction = Is(operation::kOr) || Is(operation::kAnd);
  std::vector<std::string_view> texts;  // the members' kept texts, valid until one changes
  if (junction || members_.size() >= 2) texts = MemberTexts();
  // Bubble passes repeated until none exchanges anything give exactly the stable order.
  if (members_.size() >= 2 && SortMembers(texts)) Report(gesetze, Gesetz::Kommutativ);
  if (Is(operation::kNot)) {
    EvaluateNegatedConstant(gesetze);
    return;
  }
  if (!junction) return;
  bool changed = false;
  if (MergeMembers(texts, changed, gesetze)) return;
  ScanConstants(changed, gesetze);
}

}  // namespace umbrix
