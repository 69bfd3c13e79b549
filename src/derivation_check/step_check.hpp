// The verdict on one step of a derivation. A step that keeps the formula's value is right:
// only reordered and regrouped, or one law applied once at one place, or several steps at once
// (with their laws where they can be found: one law at each of several places, or two laws
// one after the other). A step that changes the value is wrong: it gets an assignment under
// which the two lines differ, checked by evaluating both, and the typical mistake that
// explains it where there is one.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <unordered_map>
#include <utility>
#include <vector>

#include "boolean_function/equivalence.hpp"
#include "derivation_check/canonical.hpp"
#include "derivation_check/expression.hpp"
#include "derivation_check/mistakes.hpp"
#include "general_formula/gesetz.hpp"

namespace umbrix {

enum class Urteil {
  Richtig,          // one law, once, at one place
  NurUmgestellt,    // only the order and the parentheses changed, or nothing
  MehrereSchritte,  // right, but more than one law application
  Falsch,           // the value changed
  NichtGeprueft,    // too many variables for the check
};

/// An assignment under which two lines differ, with both values.
struct Gegenbeispiel {
  std::vector<std::pair<std::int16_t, bool>> belegung;  // the variables of both lines, ascending
  bool vorher = false;
  bool nachher = false;
};

/// The typical mistake that explains a wrong step.
struct Fehlerbefund {
  Fehlerklasse klasse;
  Ausdruck::Ptr alt;      // the part that changed, before
  Ausdruck::Ptr falsch;   // the part as the student wrote it
  Ausdruck::Ptr richtig;  // the part as the law makes it
};

struct Schrittbewertung {
  Urteil urteil = Urteil::NichtGeprueft;
  /// The laws: the one applied, those of several steps (each once, in order), or for a step that
  /// only reorders the commutative and associative laws and the parentheses; KeineAenderung
  /// when the line is the same. Empty where none could be named.
  std::vector<Gesetz> gesetze;
  std::optional<Gegenbeispiel> gegenbeispiel;  // every wrong step has one
  std::optional<Fehlerbefund> fehler;
};

/// Judges the steps of one derivation, whose lines share the variables given.
class SchrittPruefer {
 public:
  explicit SchrittPruefer(const VariableSet& variables);
  ~SchrittPruefer();
  SchrittPruefer(const SchrittPruefer&) = delete;
  SchrittPruefer& operator=(const SchrittPruefer&) = delete;

  Schrittbewertung Pruefe(const Ausdruck::Ptr& vorher, const Ausdruck::Ptr& nachher);
  /// Whether the two formulas have the same value under every assignment; nullopt when the
  /// check cannot be made.
  std::optional<bool> Gleichwertig(const Ausdruck::Ptr& a, const Ausdruck::Ptr& b);

  Kanon& Formen() { return kanon_; }

 private:
  struct Wege;
  std::optional<VariableSet> Unterschied(const Ausdruck::Ptr& a, const Ausdruck::Ptr& b, bool& gemacht);
  Schrittbewertung Richtig(const Ausdruck::Ptr& vorher, const Ausdruck::Ptr& nachher);
  Schrittbewertung Falsch(const Ausdruck::Ptr& vorher, const Ausdruck::Ptr& nachher,
                          const VariableSet& belegung);

  Kanon kanon_;
  std::unique_ptr<EquivalenceEngine> engine_;
  std::unique_ptr<Wege> wege_;
};

}  // namespace umbrix
