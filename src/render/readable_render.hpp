// The derivation as people read it: every formula with the real symbols (¬ ∧ ∨ ← → ↔ ⊥ ⊤) and
// subscript indices, every step numbered within its phase, the German sentences as headings
// and the final normal forms marked. Built from the run's events, as plain UTF-8 text wrapped
// at a width or as HTML.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "render/run_events.hpp"

namespace umbrix {

class VariableNames;

/// A formula's text form with the real symbols and indices as subscript digits (X₁₂), or the
/// variables' names where names gives one; a simple formula loses its outermost parentheses,
/// as in the document.
std::string ReadableFormula(std::string_view formelText, bool simple, const VariableNames* names = nullptr);
/// The same as HTML: indices as X<sub>12</sub>, "<" and ">" never appear unescaped.
std::string ReadableFormulaHtml(std::string_view formelText, bool simple,
                                const VariableNames* names = nullptr);

/// Breaks a readable formula into lines of at most width columns (one column per character),
/// each line ending after a "∧" or "∨". A stretch without a connective that fits stays whole.
std::vector<std::string> WrapFormula(std::string_view readable, std::size_t width);

/// Number of characters (columns) of a UTF-8 text.
std::size_t Columns(std::string_view text);

/// Heading shown above the steps of a phase that the document opens with no sentence of its
/// own; empty for the others.
std::string_view PhaseHeading(Phase phase);

/// Turns a run's events into readable text, handed to a sink piece by piece as the run goes.
class DerivationRenderer : public RunObserver {
 public:
  using Sink = std::function<void(std::string_view piece)>;

  explicit DerivationRenderer(Sink sink) : sink_(std::move(sink)) {}

  void OnFormulaStart(const FormulaStartEvent& event) override;
  void OnStep(const StepEvent& event) override;
  void OnSentence(const SentenceEvent& event) override;
  void OnErgebnis(const ErgebnisEvent& event) override;
  void OnFormulaEnd(const FormulaEndEvent& event) override;

  /// Number of numbered steps rendered so far.
  std::int64_t Steps() const { return steps_; }

 protected:
  virtual void BeginBlock(const FormulaStartEvent& event) = 0;
  virtual void InputFormula(const StepEvent& event) = 0;
  virtual void Heading(std::string_view text) = 0;
  virtual void Step(const StepEvent& event) = 0;
  virtual void Statement(std::string_view text) = 0;
  /// One line of the section "Ergebnis" other than its heading.
  virtual void ErgebnisPart(const ErgebnisLine& line, const ErgebnisEvent& event) = 0;
  /// Closes an open list of steps, if any.
  virtual void EndSteps() = 0;
  virtual void EndBlock() = 0;

  void Emit(std::string_view piece) { sink_(piece); }

 private:
  Sink sink_;
  Phase phase_ = Phase::Input;
  std::int64_t steps_ = 0;
};

/// Plain UTF-8 text, lines ended by "\n" and wrapped at width columns.
class TextDerivation : public DerivationRenderer {
 public:
  TextDerivation(Sink sink, std::size_t width);

 protected:
  void BeginBlock(const FormulaStartEvent& event) override;
  void InputFormula(const StepEvent& event) override;
  void Heading(std::string_view text) override;
  void Step(const StepEvent& event) override;
  void Statement(std::string_view text) override;
  void ErgebnisPart(const ErgebnisLine& line, const ErgebnisEvent& event) override;
  void EndSteps() override {}
  void EndBlock() override;

 private:
  void Line(std::string_view text);
  void WrappedFormula(std::string_view lead, std::string_view formula, std::string_view mark);

  std::size_t width_;
  bool firstBlock_ = true;
};

/// A formula of the section "Ergebnis" as HTML, from its simple-formula text.
using ErgebnisFormulaHtml =
    std::function<std::string(const std::string& formelText, const VariableNames* names)>;

/// How an HTML rendering marks a derivation up. The defaults give a fragment that stands on
/// its own, with readable formulas; the web page names its own classes and writes KaTeX spans.
struct HtmlMarkup {
  std::string_view blockClass = "formel";       ///< the class of each formula's <section>
  std::string_view blockHeading = "h2";         ///< the element of the heading "N. Formel"
  std::string_view phaseHeading = "h3";         ///< the element of the phases' headings
  std::string_view stepClass;                   ///< the class of every step's list item, if any
  std::string_view resultClass = "normalform";  ///< the class added for a final normal form
  bool numberSpan = false;                      ///< the step's number also as <span class="nummer">N.</span>
  /// Between a step's formula, its laws and its mark.
  std::string_view gap = " ";
  /// Around the mark beside a final normal form.
  std::string_view markStart = "<strong>◄ ";
  std::string_view markEnd = "</strong>";
  std::string_view lineEnd = "\n";  ///< after every element
  /// The formula of a step or of the input line; none: readable HTML (ReadableFormulaHtml).
  std::function<std::string(const StepEvent&)> formula;
  /// The formulas of the section "Ergebnis"; none: readable HTML.
  ErgebnisFormulaHtml ergebnisFormula;
};

/// An HTML fragment: one <section> per formula, the steps as an ordered list, the final normal
/// forms as marked list items.
class HtmlDerivation : public DerivationRenderer {
 public:
  explicit HtmlDerivation(Sink sink, HtmlMarkup markup = {});

 protected:
  void BeginBlock(const FormulaStartEvent& event) override;
  void InputFormula(const StepEvent& event) override;
  void Heading(std::string_view text) override;
  void Step(const StepEvent& event) override;
  void Statement(std::string_view text) override;
  void ErgebnisPart(const ErgebnisLine& line, const ErgebnisEvent& event) override;
  void EndSteps() override;
  void EndBlock() override;

 private:
  std::string Formula(const StepEvent& event) const;
  std::string Element(std::string_view name, std::string_view content) const;

  HtmlMarkup markup_;
  bool listOpen_ = false;
};

/// One line of the section "Ergebnis" other than its heading as HTML, formulas in readable form
/// unless formula is given. A line that gives a minimal form has the class "minimal-dnf" or
/// "minimal-knf".
std::string ErgebnisHtml(const ErgebnisLine& line, const ErgebnisEvent& event,
                         const ErgebnisFormulaHtml& formula = {});

/// The mark beside a final normal form ("disjunktive Normalform" or "konjunktive Normalform").
std::string_view ResultMark(Phase phase);

/// Escapes "&", "<", ">" and '"' for HTML.
std::string HtmlEscaped(std::string_view text);

}  // namespace umbrix
