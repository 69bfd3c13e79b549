// SimFormel: one node of a simple formula over "-", "+", "v", variables and the constants
// "C" (false) and "T" (true). Members are shared by reference on purpose: Add stores the node
// it is given, and the conversions make one object a member of several nodes, so an in-place
// rewrite of a shared node shows at every place where it occurs. The graph has no cycles.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "general_formula/formel.hpp"
#include "general_formula/gesetz.hpp"
#include "simple_formula/operation.hpp"
#include "simple_formula/simplify_mode.hpp"
#include "utilities/run_error.hpp"

namespace umbrix {

class SimFormel {
 public:
  using Ptr = std::shared_ptr<SimFormel>;

  /// Most members a node can hold; the member count is a 16-bit signed number.
  static constexpr std::size_t kMaxMembers = umbrix::kMaxMembers;

  SimFormel() = default;
  explicit SimFormel(std::string operation) : operation_(std::move(operation)) {}
  SimFormel(const SimFormel&) = delete;
  SimFormel& operator=(const SimFormel&) = delete;

  const std::string& Operation() const { return operation_; }
  void SetOperation(std::string operation) {
    operation_ = std::move(operation);
    MarkChanged();
  }

  /// Appends the node itself (not a copy) as the last member.
  void Add(Ptr wert);
  /// "-" 1, "+" 2, "v" 3, atoms 0, the empty node -1.
  Level Stufe() const { return Formel::OperatorLevel(operation_); }
  std::int16_t Count() const { return static_cast<std::int16_t>(members_.size()); }
  /// Member at a 0-based position (the node inside the tree); position Count is the trailing
  /// empty position, filled with a new empty node when read. Throws std::out_of_range beyond.
  Ptr SubFormel(std::int16_t index);

  /// Makes this node the simple-formula copy of a reduced general formula; groups are dropped.
  /// Every rewriting operation reports the laws it applies to gesetze when one is given.
  void MakeCopy(const Formel& wert, GesetzSink* gesetze = nullptr);
  /// Text form: every "+" and "v" node in parentheses, variables as X<index>;. The text is
  /// kept until the subtree changes; the reference is valid until then.
  const std::string& FormelText() const;
  /// The same text as FormelText; equal texts mean equal formulas.
  std::string Value() const { return FormelText(); }

  /// The clock of changes: every in-place change of a node takes its next value.
  static std::uint64_t ChangeClock();
  /// The latest change in the subtree: it is unchanged since the clock stood at c when this
  /// is not later than c. What is worked out from a subtree may be kept until then.
  std::uint64_t LastChange() const { return LastChangeBelow(); }

  /// The text form written in another notation, piece by piece.
  class Spelling {
   public:
    virtual ~Spelling() = default;
    /// Appends the spelling of one piece of the text form: "(", ")", "+", "v", "-", or the
    /// whole text of an atom ("C", "T", "X12;").
    virtual void Append(std::string& out, std::string_view piece) const = 0;
  };
  /// Appends the text form in that spelling, without the root's own parentheses when
  /// outermost is set. Each member's spelled text is kept until its subtree changes.
  void AppendSpelled(std::string& out, const Spelling& spelling, bool outermost = false) const;

  /// True while the formula is not in disjunctive normal form.
  bool NotDis() const;
  /// True while the formula is not in conjunctive normal form.
  bool NotKon() const;

  /// One visible step towards disjunctive normal form.
  void MakeDis(bool& alreadyDone, const SimplifyMode& mode = DefaultSimplifyMode(),
               GesetzSink* gesetze = nullptr);
  /// One visible step towards conjunctive normal form.
  void MakeKon(bool& alreadyDone, const SimplifyMode& mode = DefaultSimplifyMode(),
               GesetzSink* gesetze = nullptr);
  /// One pass of rewriting towards disjunctive normal form, with few intermediate steps.
  void MakeDisDirect(bool simplification, GesetzSink* gesetze = nullptr);
  /// One pass of rewriting towards conjunctive normal form, with few intermediate steps.
  void MakeKonDirect(bool simplification, GesetzSink* gesetze = nullptr);

  /// Orders members, merges duplicates, evaluates constants; one pass or, in fast mode,
  /// repeated passes until the text stops changing.
  void Simplify(const SimplifyMode& mode = DefaultSimplifyMode(), GesetzSink* gesetze = nullptr);
  /// The same rules bottom-up over the whole tree, sorting completely, in one call.
  void SimplifyDirect(GesetzSink* gesetze = nullptr);

  /// The roles of "+" and "v" in one normal form (internal to the conversions).
  struct Operators;

 private:
  void Reset();
  void CopyFrom(const Formel& wert, GesetzSink* gesetze, bool root);
  void MarkChanged();
  void DropTrailing();
  std::uint64_t LastChangeBelow() const {
    return members_.empty() && !trailing_ ? changed_ : LastChangeAmongMembers();
  }
  std::uint64_t LastChangeAmongMembers() const;
  bool OnlyOwnChangesSince(std::uint64_t clock, std::uint64_t ownMarks) const;
  void KeepMembersChecks(std::uint64_t checkedAt) const;
  const SimFormel& Member(std::size_t k) const;
  void AppendText(std::string& out) const;
  const std::string& Spelled(const Spelling& spelling) const;
  std::size_t TextHash() const;
  void Become(const SimFormel& other);
  void BecomeAtom(std::string_view atom);
  void SetMembers(std::vector<Ptr> members);
  static Ptr NewNode(std::string_view operation, std::vector<Ptr> members);
  static void CheckMemberCount(std::size_t count);
  std::vector<std::string_view> MemberTexts() const;
  bool KeepsStableShape() const;

  bool NotNormal(const Operators& ops) const;
  /// True when the node's operation is op. The connectives and constants are single
  /// characters, compared without a call to memcmp: these tests run at every node of every step.
  bool Is(std::string_view op) const {
    return operation_.size() == op.size() && (op.size() == 1 ? operation_[0] == op[0] : operation_ == op);
  }

  void MakeStepwise(bool& alreadyDone, const SimplifyMode& mode, const Operators& ops, GesetzSink* gesetze);
  void MakeStepwiseFor(bool& alreadyDone, const SimplifyMode& mode, const Operators& ops,
                       GesetzSink* gesetze);
  void NegationStep(bool& alreadyDone, GesetzSink* gesetze);
  bool FlattenOne(const Operators& ops, GesetzSink* gesetze);
  bool HandOffNegation(const SimplifyMode& mode, const Operators& ops, GesetzSink* gesetze);
  bool Distribute(const Operators& ops, GesetzSink* gesetze);
  void Descend(bool& alreadyDone, const SimplifyMode& mode, const Operators& ops, GesetzSink* gesetze);

  void MakeDirect(bool simplification, const Operators& ops, GesetzSink* gesetze);
  void NegationDirect(GesetzSink* gesetze);
  void FlattenAll(const Operators& ops, GesetzSink* gesetze);
  void HandOffNegationDirect(const Operators& ops, GesetzSink* gesetze);
  void DescendDirect(const Operators& ops, GesetzSink* gesetze);
  void DistributeFirst(const Operators& ops, GesetzSink* gesetze);

  bool SimplifyReporting(const SimplifyMode& mode, GesetzSink* gesetze);
  bool SimplifyPass(const SimplifyMode& mode, bool& settled, GesetzSink* gesetze);
  bool SimplifyNegation(const SimplifyMode& mode, GesetzSink* gesetze);
  bool EvaluateNegatedConstant(GesetzSink* gesetze);
  bool DescendIntoMembers(const SimplifyMode& mode, GesetzSink* gesetze);
  void SimplifyDirectOnce(GesetzSink* gesetze);
  bool MergeMembers(const std::vector<std::string_view>& texts, bool& changed, GesetzSink* gesetze);
  bool SortMembers(std::vector<std::string_view>& texts);
  bool ScanConstants(bool& changed, GesetzSink* gesetze);

  std::string operation_;
  std::vector<Ptr> members_;
  Ptr trailing_;

  // Change marks: every in-place change of the node takes the next value of one clock, so a
  // subtree is unchanged since a moment when no node in it has a later mark. A new node has
  // mark 1, older than anything kept.
  std::uint64_t changed_ = 1;
  std::uint64_t ownMarks_ = 0;             // how many marks the node itself has taken
  mutable std::uint64_t checkedAt_ = 0;    // clock value when latestBelow_ was computed
  mutable std::uint64_t latestBelow_ = 0;  // latest mark in the subtree at that moment
  mutable std::uint64_t textAt_ = 0;       // text_ is the text form as of this clock value
  mutable std::string text_;
  mutable std::uint64_t hashAt_ = 0;  // textHash_ is the hash of text_ as of this clock value
  mutable std::size_t textHash_ = 0;
  mutable std::uint64_t spelledAt_ = 0;  // the same for spelled_, in spelledWith_
  mutable const Spelling* spelledWith_ = nullptr;
  mutable std::string spelled_;
  // Clock values when a Simplify pass, or a SimplifyDirect call, last left the subtree as it
  // was (0: never). Marks are never 0, so a subtree is unchanged since then when its latest
  // mark is not later.
  std::uint64_t stableAt_ = 0;
  std::uint64_t directStableAt_ = 0;
};

}  // namespace umbrix
