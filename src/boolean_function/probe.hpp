// The equivalence check of a derivation: every formula written for a block is compared with
// the block's input as a reduced ordered binary decision diagram (BuDDy), which is canonical,
// so two formulas are equivalent exactly when their diagrams are the same node. This works
// for any number of variables as long as the diagrams stay within a fixed node budget. Where
// BuDDy is not linked (the web page), truth tables are compared instead (equivalence.hpp).
#pragma once

#include <cstdint>
#include <memory>

namespace umbrix {

class Formel;
class SimFormel;
struct TermList;

class Probe {
 public:
  /// Starts a check against the input formula. Only one Probe exists at a time; a second one
  /// waits until the first is gone.
  explicit Probe(const Formel& input);
  ~Probe();
  Probe(const Probe&) = delete;
  Probe& operator=(const Probe&) = delete;

  /// Compares one formula of the derivation with the input.
  void Check(const Formel& step);
  void Check(SimFormel& step);
  void Check(const TermList& step);

  /// Formulas compared so far, the input included.
  std::int32_t Checked() const { return checked_; }
  /// The 1-based number of the first formula that is not equivalent to the input, 0 if none.
  std::int32_t FirstFailure() const { return firstFailure_; }
  /// True when a diagram outgrew the budget or a formula held something that is no variable;
  /// the check then stops without a verdict.
  bool Undecided() const { return undecided_; }

 private:
  struct Diagrams;
  template <class Build>
  void CheckWith(Build build);

  std::unique_ptr<Diagrams> diagrams_;
  std::int32_t checked_ = 0;
  std::int32_t firstFailure_ = 0;
  bool undecided_ = false;
};

}  // namespace umbrix
