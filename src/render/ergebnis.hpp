// The section "Ergebnis" at the end of a formula's block: the final normal forms as the
// derivation left them and after absorption, the minimal forms, the truth table, the
// canonical normal forms, the KV diagrams and the Quine–McCluskey tables, and the equivalence
// check of every formula of the block. It is built as a list of lines that the LaTeX document
// and a text view render alike.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "boolean_function/equivalence.hpp"
#include "boolean_function/probe.hpp"
#include "boolean_function/term_list.hpp"
#include "boolean_function/truth_table.hpp"
#include "general_formula/gesetz.hpp"

namespace umbrix {

class Formel;
class SimFormel;
class VariableNames;
struct KvFigure;
struct MinimalForms;
struct QuineMcCluskey;

struct ErgebnisLine {
  enum class Kind {
    Heading,     // text
    Sentence,    // text
    Formula,     // text, then the formula
    Absorption,  // the formula after the step; absorbed and by name the terms
    Table,       // the section's truth table
    KvDiagrams,  // text, then kv's diagrams with its blocks
    QmRound,     // text, then round number part of qm
    QmPrimes,    // text, then qm's prime implicants
    QmChart,     // text, then qm's prime implicant chart
  };
  Kind kind = Kind::Sentence;
  std::string text;    // UTF-8
  std::string formel;  // simple-formula text
  std::string absorbed;
  std::string by;
  std::vector<Gesetz> gesetze = {};  // the law of an absorption step, when laws are named
  std::shared_ptr<const KvFigure> kv = {};
  std::shared_ptr<const QuineMcCluskey> qm = {};
  std::size_t part = 0;
  /// For a Formula line that gives a minimal form: the form's kind.
  std::optional<NormalFormKind> minimal = {};
};

/// Most variables for the truth table, for the canonical normal forms, and for the KV diagrams
/// and the Quine–McCluskey tables.
inline constexpr std::size_t kMostTableColumns = 6;
inline constexpr std::size_t kMostCanonicalVariables = 4;
inline constexpr std::size_t kMostFigureVariables = 6;
/// Absorption steps shown one by one; the rest form one last step.
inline constexpr std::size_t kShownAbsorptions = 12;

/// Collects what the section needs while the driver runs one formula's block.
class ErgebnisCollector {
 public:
  /// Starts the block with the parsed input; it is the first formula checked. With
  /// withGesetze every absorption step names its law.
  void Start(const Formel& input, bool withGesetze = false);
  /// One more formula of the derivation, compared with the input.
  void CheckStep(const Formel& step);
  void CheckStep(SimFormel& step);
  /// The simple formula right after the copy: it names the block's variables.
  void SetCopy(SimFormel& copy);
  /// The final disjunctive and conjunctive normal forms.
  void SetDisjunctive(SimFormel& form);
  void SetConjunctive(SimFormel& form);

  /// The section's lines; ends the block's check. names: as in RenderErgebnisLatex.
  std::vector<ErgebnisLine> Lines(const VariableNames* names = nullptr);
  /// The section of a block whose derivation stopped: what the input's own function gives,
  /// after a sentence that says so. Ends the block's check.
  std::vector<ErgebnisLine> StoppedLines(const VariableNames* names = nullptr);
  /// Ends a block's check early (a run that stops).
  void Reset() { probe_.reset(); }
  /// The truth table that a Table line stands for.
  const std::optional<TruthTable>& Table() const { return table_; }

 private:
  std::vector<ErgebnisLine> WithoutVariables(std::vector<ErgebnisLine> lines);
  void FunctionLines(std::vector<ErgebnisLine>& lines, const VariableNames* names);
  void AbsorptionLines(const TermList& form, std::vector<ErgebnisLine>& lines);
  void MinimalLines(NormalFormKind kind, std::vector<ErgebnisLine>& lines);
  void TableLines(std::vector<ErgebnisLine>& lines, const VariableNames* names);
  void FigureLines(std::vector<ErgebnisLine>& lines);
  void KvLines(NormalFormKind kind, std::vector<ErgebnisLine>& lines);
  void QmLines(std::vector<ErgebnisLine>& lines);
  void ProbeLine(std::vector<ErgebnisLine>& lines);

  std::unique_ptr<Probe> probe_;
  bool withGesetze_ = false;
  /// The input as gates, for a section computed from its own function.
  Circuit input_;
  std::optional<Circuit::Id> inputGate_;
  std::optional<VariableSet> variables_;
  std::optional<TermList> disjunctive_;
  std::optional<TermList> conjunctive_;
  std::optional<TruthTable> table_;
  /// Per kind, disjunctive first: the first minimal form, and whether there may be others.
  std::optional<TermList> minimal_[2];
  bool severalMinimal_[2] = {false, false};
};

/// The name of the truth table's formula column (a Table line's text): "F", or where a variable
/// of the table is shown as F or f, the first capital letter that no variable is shown as.
std::string TableFormulaName(const TruthTable& table, const VariableNames* names);

/// The lines that give the minimal forms of one kind: the form when it is known to be the
/// only one, else how many there are (at least, when counting was cut) and the first of them.
std::vector<ErgebnisLine> MinimalFormLines(const MinimalForms& forms, NormalFormKind kind);

/// A formula in inline LaTeX math, "$...$"; names as in RenderErgebnisLatex.
std::string InlineFormula(const std::string& formelText, const VariableNames* names);

/// The section as LaTeX paragraphs, each to be written as one line followed by a blank line.
/// Variables that names holds are shown by their names (a formula written with letters).
std::vector<std::string> RenderErgebnisLatex(const std::vector<ErgebnisLine>& lines,
                                             const std::optional<TruthTable>& table,
                                             const VariableNames* names = nullptr);

}  // namespace umbrix
