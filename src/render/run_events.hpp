// What a run reports while it writes the document: one event for every formula heading, every
// formula line and every German sentence, in document order, plus the end of each formula's
// block and of the whole run. The readable renderings (text view, HTML, web page) are built
// from these events instead of reading the LaTeX back. A driver without an observer builds no
// event at all.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

#include "general_formula/gesetz.hpp"

namespace umbrix {

struct ErgebnisLine;
struct TruthTable;
class VariableNames;

/// The stretch of a formula's block that a formula line belongs to.
enum class Phase {
  Input,             ///< the input line as parsed, the block's first formula line
  Reduction,         ///< rewriting "<=", "=>" and "==" into "-", "+" and "v"
  Disjunctive,       ///< the copy into a simple formula, then the steps towards the disjunctive form
  DisjunctiveMerge,  ///< merging repeated literals of the disjunctive normal form
  Conjunctive,       ///< the steps towards the conjunctive normal form
  ConjunctiveMerge,  ///< merging repeated literals of the conjunctive normal form
};

/// The German sentences of a block, in the order in which they first appear.
enum class Sentence {
  DisjunctiveFound,    ///< "Dies ist eine disjunktive Umbrix."
  Merge,               ///< "Zusammenfassen der mehrfach vorkommenden Literale ergibt:"
  TowardsConjunctive,  ///< "Nun zur konjunktiven Umbrix..."
  ConjunctiveFound,    ///< "Damit haben wir auch eine konjunktive Umbrix gefunden."
};

/// The start of formula n of count (a heading is written only when count > 1).
struct FormulaStartEvent {
  std::int32_t number = 0;
  std::int32_t count = 0;
  /// The input line as the driver took it from the normalised input, before parsing.
  std::string_view line;
};

/// One formula line of the document.
struct StepEvent {
  Phase phase = Phase::Input;
  /// 1, 2, ... within the phase; 0 for the input line.
  std::int32_t number = 0;
  /// Whether formelText is a simple formula's text ("(X1;+-X2;)") or a general formula's
  /// marked text ("X1;<=X2;").
  bool simple = false;
  std::string_view formelText;
  /// The formula as typeset in the document, between the two "$" and unbroken.
  std::string_view latex;
  /// The last line of a merging phase: the disjunctive or conjunctive normal form of the block.
  bool result = false;
  /// The names of the formula's variables when it is written with letters, else nullptr.
  const VariableNames* names = nullptr;
  /// The laws that the step applied, each once in the order first applied, or only
  /// Gesetz::KeineAenderung; empty for the input line and when laws are not named.
  std::span<const Gesetz> gesetze;
};

/// One German sentence of the document.
struct SentenceEvent {
  Sentence sentence = Sentence::Merge;
  /// The sentence as the reader sees it (without LaTeX spacing commands).
  std::string_view text;
};

/// The section "Ergebnis" that ends a block when that option is on.
struct ErgebnisEvent {
  std::span<const ErgebnisLine> lines;
  /// The table that a line of kind Table stands for; null when there is none.
  const TruthTable* table = nullptr;
  /// The names of the variables of a formula written with letters; null for X-indexes.
  const VariableNames* names = nullptr;
};

/// The end of formula n's block.
struct FormulaEndEvent {
  std::int32_t number = 0;
  std::int32_t count = 0;
};

/// The end of a run that wrote the whole document.
struct RunEndEvent {
  std::int32_t formulas = 0;
  std::int64_t bytes = 0;
};

/// Receives a run's events on the thread that runs the driver. Every function has an empty
/// default, so an observer overrides only what it shows and new events can be added later.
/// The texts in the events live only during the call. An observer may throw RunStopped to end
/// the run where it is.
class RunObserver {
 public:
  virtual ~RunObserver() = default;
  virtual void OnFormulaStart(const FormulaStartEvent& event) { (void)event; }
  virtual void OnStep(const StepEvent& event) { (void)event; }
  virtual void OnSentence(const SentenceEvent& event) { (void)event; }
  virtual void OnErgebnis(const ErgebnisEvent& event) { (void)event; }
  virtual void OnFormulaEnd(const FormulaEndEvent& event) { (void)event; }
  virtual void OnRunEnd(const RunEndEvent& event) { (void)event; }
};

/// The sentence's text as the reader sees it.
std::string_view SentenceText(Sentence sentence);

}  // namespace umbrix
