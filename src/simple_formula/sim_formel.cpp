// The SimFormel node: members, copy from a general formula, and the text form.
#include "simple_formula/sim_formel.hpp"

#include <algorithm>
#include <atomic>
#include <functional>
#include <stdexcept>

#include "general_formula/formel.hpp"
#include "simple_formula/operators.hpp"
#include "utilities/run_error.hpp"

namespace umbrix {

namespace {

class StepwiseOnly : public SimplifyMode {
 public:
  bool Fast() const override { return false; }
};

// The clock of the change marks. Trees are worked on by one thread at a time, but a run may
// start in another thread than the one that made the driver's nodes.
std::atomic<std::uint64_t> changeClock{1};

}  // namespace

const SimplifyMode& DefaultSimplifyMode() {
  static const StepwiseOnly mode;
  return mode;
}

void SimFormel::CheckMemberCount(std::size_t count) {
  if (count > kMaxMembers) throw MemberLimitError();
}

void SimFormel::Add(Ptr wert) {
  CheckMemberCount(members_.size() + 1);
  members_.push_back(std::move(wert));
  trailing_.reset();
  MarkChanged();
}

SimFormel::Ptr SimFormel::SubFormel(std::int16_t index) {
  if (index < 0 || index > Count()) throw std::out_of_range("SimFormel::SubFormel: Index außerhalb");
  if (index < Count()) return members_[static_cast<std::size_t>(index)];
  if (!trailing_) trailing_ = std::make_shared<SimFormel>();
  return trailing_;
}

void SimFormel::Reset() {
  operation_.clear();
  members_.clear();
  trailing_.reset();
  MarkChanged();
}

std::uint64_t SimFormel::ChangeClock() { return changeClock.load(std::memory_order_relaxed); }

// Dropping a trailing empty position that a caller has read (and may have changed) counts as
// a change of the node.
void SimFormel::DropTrailing() {
  if (!trailing_) return;
  trailing_.reset();
  MarkChanged();
}

void SimFormel::MarkChanged() {
  changed_ = changeClock.fetch_add(1, std::memory_order_relaxed) + 1;
  ++ownMarks_;
}

// True when every change since the clock stood at clock was one of this node's own, given
// its count of own marks at that moment.
bool SimFormel::OnlyOwnChangesSince(std::uint64_t clock, std::uint64_t ownMarks) const {
  return ChangeClock() - clock == ownMarks_ - ownMarks;
}

// A change of this node itself reaches no member's subtree (the graph has no cycles). After
// only such changes, a member's latest mark worked out at checkedAt holds still and is
// carried to the present clock value, so the next check of that member needs no walk.
void SimFormel::KeepMembersChecks(std::uint64_t checkedAt) const {
  const std::uint64_t now = ChangeClock();
  for (const Ptr& member : members_)
    if (member->checkedAt_ == checkedAt) member->checkedAt_ = now;
}

// The latest change mark in the subtree of a node with members; worked out once per clock
// value, so a shared node is visited once between two changes.
std::uint64_t SimFormel::LastChangeAmongMembers() const {
  const std::uint64_t now = ChangeClock();
  if (checkedAt_ == now) return latestBelow_;
  std::uint64_t latest = changed_;
  for (const Ptr& member : members_) latest = std::max(latest, member->LastChangeBelow());
  if (trailing_) latest = std::max(latest, trailing_->LastChangeBelow());
  checkedAt_ = now;
  latestBelow_ = latest;
  return latest;
}

void SimFormel::Become(const SimFormel& other) {
  // Copy first: other may be one of this node's own members.
  std::string operation = other.operation_;
  std::vector<Ptr> members = other.members_;
  operation_ = std::move(operation);
  members_ = std::move(members);
  trailing_.reset();
  MarkChanged();
}

void SimFormel::BecomeAtom(std::string_view atom) {
  operation_ = atom;
  members_.clear();
  trailing_.reset();
  MarkChanged();
}

void SimFormel::SetMembers(std::vector<Ptr> members) {
  CheckMemberCount(members.size());
  members_ = std::move(members);
  trailing_.reset();
  MarkChanged();
}

SimFormel::Ptr SimFormel::NewNode(std::string_view operation, std::vector<Ptr> members) {
  auto node = std::make_shared<SimFormel>(std::string(operation));
  node->SetMembers(std::move(members));
  return node;
}

void SimFormel::MakeCopy(const Formel& wert, GesetzSink* gesetze) { CopyFrom(wert, gesetze, true); }

// The copy writes every "+" and "v" node in parentheses and drops the groups. A group around
// a "+" or "v" node inside the formula therefore stays visible, and only the other groups
// count as parentheses dropped; a "+" node directly inside a "v" node gains parentheses.
void SimFormel::CopyFrom(const Formel& wert, GesetzSink* gesetze, bool root) {
  Reset();
  const std::string& operation = wert.Operation();
  if (operation == operation::kGroup) {
    const Formel& content = wert.SubFormel(0);
    const bool junction = content.Operation() == operation::kOr || content.Operation() == operation::kAnd;
    if (root || !junction) Report(gesetze, Gesetz::KlammernWeglassen);
    CopyFrom(content, gesetze, root);  // groups are dropped, nested ones too
  } else if (operation == operation::kOr || operation == operation::kAnd) {
    std::vector<Ptr> members;
    for (std::int16_t k = 0; k < wert.Count(); ++k) {
      const Formel& sub = wert.SubFormel(k);
      if (operation == operation::kOr && sub.Operation() == operation::kAnd)
        Report(gesetze, Gesetz::KlammernSetzen);
      auto member = std::make_shared<SimFormel>();
      member->CopyFrom(sub, gesetze, false);
      members.push_back(std::move(member));
    }
    SetMembers(std::move(members));
    operation_ = operation;
  } else if (operation == operation::kNot) {
    auto member = std::make_shared<SimFormel>();
    member->CopyFrom(wert.SubFormel(0), gesetze, false);
    operation_ = operation::kNot;
    members_.push_back(std::move(member));
  } else {
    operation_ = operation;
  }
  MarkChanged();
}

// Member k as the text form reads it: a missing member reads as an empty node.
const SimFormel& SimFormel::Member(std::size_t k) const {
  static const SimFormel empty;
  if (k < members_.size()) return *members_[k];
  return trailing_ ? *trailing_ : empty;
}

void SimFormel::AppendText(std::string& out) const {
  if (Is(operation::kNot)) {
    out += operation::kNot;
    out += Member(0).FormelText();
  } else if (Is(operation::kAnd) || Is(operation::kOr)) {
    out += '(';
    out += Member(0).FormelText();
    for (std::size_t k = 1; k < members_.size(); ++k) {
      out += operation_;
      out += Member(k).FormelText();
    }
    out += ')';
  } else if (Is(operation::kFalse) || Is(operation::kTrue)) {
    out += operation_;
  } else {
    out += 'X';
    out += operation_;
    out += ';';
  }
}

const std::string& SimFormel::FormelText() const {
  if (LastChangeBelow() > textAt_) {
    text_.clear();
    AppendText(text_);
    textAt_ = ChangeClock();
  }
  return text_;
}

std::size_t SimFormel::TextHash() const {
  const std::string& text = FormelText();
  if (hashAt_ != textAt_) {
    textHash_ = std::hash<std::string_view>{}(text);
    hashAt_ = textAt_;
  }
  return textHash_;
}

void SimFormel::AppendSpelled(std::string& out, const Spelling& spelling, bool outermost) const {
  if (Is(operation::kNot)) {
    spelling.Append(out, operation::kNot);
    out += Member(0).Spelled(spelling);
  } else if (Is(operation::kAnd) || Is(operation::kOr)) {
    if (!outermost) spelling.Append(out, "(");
    out += Member(0).Spelled(spelling);
    for (std::size_t k = 1; k < members_.size(); ++k) {
      spelling.Append(out, operation_);
      out += Member(k).Spelled(spelling);
    }
    if (!outermost) spelling.Append(out, ")");
  } else if (Is(operation::kFalse) || Is(operation::kTrue)) {
    spelling.Append(out, operation_);
  } else {
    spelling.Append(out, "X" + operation_ + ";");
  }
}

const std::string& SimFormel::Spelled(const Spelling& spelling) const {
  if (spelledWith_ != &spelling || LastChangeBelow() > spelledAt_) {
    spelled_.clear();
    AppendSpelled(spelled_, spelling);
    spelledWith_ = &spelling;
    spelledAt_ = ChangeClock();
  }
  return spelled_;
}

// Views of the members' kept texts, valid until a member changes.
std::vector<std::string_view> SimFormel::MemberTexts() const {
  std::vector<std::string_view> texts;
  texts.reserve(members_.size());
  for (const Ptr& member : members_) texts.emplace_back(member->FormelText());
  return texts;
}

}  // namespace umbrix
