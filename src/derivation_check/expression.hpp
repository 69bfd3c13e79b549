// Ausdruck: a formula of a derivation line as the student wrote it: every connective over its
// members in the written order, the constants, and how many pairs of parentheses stand around
// each part. Nodes are immutable, so one node may be a member of many (the laws build their
// results from the parts they are given).
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "boolean_function/equivalence.hpp"
#include "general_formula/operation.hpp"
#include "simple_formula/operation.hpp"
#include "simple_formula/sim_formel.hpp"

namespace umbrix {

class VariableNames;

class Ausdruck {
 public:
  using Ptr = std::shared_ptr<const Ausdruck>;

  static Ptr Variable(std::int16_t index);
  static Ptr Konstante(bool wahr);
  /// A connective over its members: kNot one, kImplies and kFollowsFrom two, kAnd, kOr and
  /// kEquivalent two or more.
  static Ptr Make(std::string_view operation, std::vector<Ptr> glieder);
  /// The same for a node read from a line: it is shown with the parentheses written, where
  /// a node that the checker made shows a junction inside another in parentheses too.
  static Ptr Geschrieben(std::string_view operation, std::vector<Ptr> glieder);
  /// The same node with klammern pairs of parentheses around it.
  static Ptr InKlammern(const Ptr& node, int klammern);

  /// A connective, kTrue, kFalse, or a variable's index digits.
  const std::string& Operation() const { return operation_; }
  bool Is(std::string_view operation) const { return operation_ == operation; }
  bool IsVariable() const { return index_ != 0; }
  bool IsKonstante() const { return Is(operation::kTrue) || Is(operation::kFalse); }
  std::int16_t Index() const { return index_; }
  Level Stufe() const { return level_; }
  const std::vector<Ptr>& Glieder() const { return glieder_; }
  /// Pairs of parentheses written around the node.
  int Klammern() const { return klammern_; }
  /// Whether the node was read from a line (else the checker made it).
  bool WieGeschrieben() const { return geschrieben_; }

  Ausdruck(std::string operation, std::vector<Ptr> glieder, std::int16_t index, int klammern,
           bool geschrieben);

 private:
  std::string operation_;
  std::vector<Ptr> glieder_;
  std::int16_t index_;
  Level level_;
  int klammern_;
  bool geschrieben_;
};

/// Whether the operation joins members that may be reordered and regrouped ("+" and "v").
bool IsJunction(std::string_view operation);
/// "+" for "v" and "v" for "+".
std::string_view Dual(std::string_view operation);
/// The constant that a junction's member makes the whole junction: false for "+", true for "v".
std::string_view AbsorbingConstant(std::string_view junction);
/// The constant that a junction drops: true for "+", false for "v".
std::string_view NeutralConstant(std::string_view junction);

/// -node.
Ausdruck::Ptr Nicht(const Ausdruck::Ptr& node);
/// The negation with a double negation cancelled: A for -A, -A otherwise.
Ausdruck::Ptr Verneint(const Ausdruck::Ptr& node);
/// The junction over the members; the member itself when there is one, the junction's
/// neutral constant when there is none.
Ausdruck::Ptr Verbunden(std::string_view junction, std::vector<Ausdruck::Ptr> glieder);
/// The junction over members with those at the given positions taken out and, where one is
/// given, replacement put in at the first of them.
Ausdruck::Ptr Ersetzt(std::string_view junction, const std::vector<Ausdruck::Ptr>& members,
                      const std::vector<std::size_t>& positions, const Ausdruck::Ptr& replacement);
/// The members of a junction with the members of equal junctions inside it, however they
/// are parenthesised: a+(b+c) has the members a, b, c. Any other node is its only member.
std::vector<Ausdruck::Ptr> FlacheGlieder(const Ausdruck::Ptr& node);

/// The pairs of parentheses a member stands in: as written, and at least those that the
/// binding of the connectives needs.
int KlammernIn(const Ausdruck& parent, const Ausdruck& member);

/// The ways to read the members of a junction: as written (a+(b+c): a and b+c) and, where
/// that differs, taken in from the equal junctions inside (a, b, c). A law may be applied to
/// either. Any other node has one reading, its members.
std::vector<std::vector<Ausdruck::Ptr>> Lesarten(const Ausdruck::Ptr& node);
/// The node with member k replaced.
Ausdruck::Ptr MitGlied(const Ausdruck::Ptr& node, std::size_t k, const Ausdruck::Ptr& member);

/// The value under an assignment (bit i: variable i is true).
bool Wert(const Ausdruck& formel, const VariableSet& belegung);
/// The variables that occur.
VariableSet Variablen(const Ausdruck& formel);
/// The formula's gate in a circuit.
Circuit::Id AddAusdruck(Circuit& circuit, const Ausdruck& formel);

/// The simple formula of a formula over "-", "+", "v" and constants; nullptr when it holds
/// another connective.
SimFormel::Ptr ToSimFormel(const Ausdruck& formel);
/// Whether the formula holds "<=", "=>" or "==".
bool HasArrows(const Ausdruck& formel);

/// The formula as people read it (¬ ∧ ∨ ← → ↔ ⊤ ⊥, indices as subscripts, letters by their
/// names), with the written parentheses and those that the binding of the connectives needs.
std::string LesbarerText(const Ausdruck& formel, const VariableNames* names);
/// The same as LaTeX mathematics, without the surrounding "$".
std::string LatexFormel(const Ausdruck& formel, const VariableNames* names);

}  // namespace umbrix
