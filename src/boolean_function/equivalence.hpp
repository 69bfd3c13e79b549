// Exact equivalence of formulas behind one small interface: a formula is first written as a
// circuit of gates, an engine turns a gate into the Boolean function it computes, and two
// functions are compared or the first assignment found under which they differ. Two engines
// implement it: truth tables, 64 assignments per machine word, which need no library and are
// exact up to kMostTruthTableVariables variables; and binary decision diagrams (BuDDy) where
// that library is linked, for any number of variables within a node budget.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <vector>

#include "boolean_function/term_list.hpp"
#include "boolean_function/truth_table.hpp"

namespace umbrix {

class Formel;
class SimFormel;

/// A formula as gates, each gate after its inputs. A sub-formula shared by several parents is
/// one gate.
class Circuit {
 public:
  using Id = std::uint32_t;
  enum class Kind : std::uint8_t { Variable, False, True, Not, And, Or, Implies, Equivalent };
  struct Gate {
    Kind kind;
    std::int16_t variable;  // the index of a Variable gate
    std::uint32_t first;    // position of the first input in Inputs()
    std::uint32_t count;    // number of inputs
  };

  /// The gate of variable index (1 to 99), one per variable.
  Id Variable(std::int16_t index);
  Id Constant(bool value);
  /// Not: one input; And, Or: any number (none: true, false); Implies: two, the first implies
  /// the second; Equivalent: two or more, all of equal value.
  Id Add(Kind kind, std::span<const Id> inputs);

  const std::vector<Gate>& Gates() const { return gates_; }
  std::span<const Id> Inputs(const Gate& gate) const { return {inputs_.data() + gate.first, gate.count}; }
  /// The variables that occur.
  const VariableSet& Variables() const { return variables_; }

 private:
  std::vector<Gate> gates_;
  std::vector<Id> inputs_;
  std::vector<Id> variableGates_ = std::vector<Id>(100, kNone);
  VariableSet variables_;
  static constexpr Id kNone = ~Id{0};
};

/// The gate of a general formula: groups and negations have one member, "<=" and "=>" read
/// their first two, "==" says that all are equivalent. Nullopt when a leaf is no variable.
std::optional<Circuit::Id> AddFormel(Circuit& circuit, const Formel& formel);
/// The gate of a simple formula with its constants; shared nodes become one gate. Nullopt when
/// a leaf is no variable or constant, or a connective has no member.
std::optional<Circuit::Id> AddSimFormel(Circuit& circuit, SimFormel& formel);
/// The gate of a normal form's term list.
Circuit::Id AddTermList(Circuit& circuit, const TermList& list);

/// Most variables whose truth tables are computed: 2^20 assignments, 128 KB per function.
inline constexpr std::size_t kMostTruthTableVariables = 20;

class EquivalenceEngine {
 public:
  /// A function the engine has built; valid while the engine lives.
  using Function = std::size_t;

  virtual ~EquivalenceEngine() = default;
  /// The function that gate output computes; nullopt when the engine's limit does not allow it
  /// (too many variables, too large a diagram), so that the check is not made.
  virtual std::optional<Function> FunctionOf(const Circuit& circuit, Circuit::Id output) = 0;
  virtual bool Equal(Function a, Function b) = 0;
  /// The first assignment under which a and b differ, in the order of a truth table on paper:
  /// variables by ascending index, the lowest index changing slowest, all false first.
  /// Variables that neither function reads are false. Nullopt when they are equal.
  virtual std::optional<VariableSet> FirstDifference(Function a, Function b) = 0;
};

/// Truth tables over the given variables; a circuit that reads another variable, or more than
/// kMostTruthTableVariables of them, gets no function.
std::unique_ptr<EquivalenceEngine> MakeTruthTableEngine(const VariableSet& variables);
/// The truth table of gate output over the circuit's variables; nullopt above
/// kMostTruthTableVariables of them.
std::optional<TruthTable> CircuitTruthTable(const Circuit& circuit, Circuit::Id output);
/// Binary decision diagrams, or nullptr where BuDDy is not linked. BuDDy has one global node
/// table: a process holds one such engine at a time (a second one waits; on the same thread it
/// throws std::logic_error).
std::unique_ptr<EquivalenceEngine> MakeDiagramEngine();
/// The engine for formulas over these variables: truth tables up to their limit, which give
/// the same answers in every build; above it diagrams where linked, otherwise truth tables,
/// which then say that the check was not made.
std::unique_ptr<EquivalenceEngine> MakeEquivalenceEngine(const VariableSet& variables);

}  // namespace umbrix
