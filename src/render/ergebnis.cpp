// The section "Ergebnis": what it says, and its LaTeX form.
#include "render/ergebnis.hpp"

#include <cctype>

#include "boolean_function/absorption.hpp"
#include "boolean_function/kv_diagram.hpp"
#include "boolean_function/minimal_form.hpp"
#include "boolean_function/quine_mccluskey.hpp"
#include "general_formula/formel.hpp"
#include "input/variable_names.hpp"
#include "render/ergebnis_figures.hpp"
#include "render/ergebnis_texts.hpp"
#include "render/latex_render.hpp"
#include "simple_formula/sim_formel.hpp"
#include "utilities/std_text.hpp"

namespace umbrix {

namespace {

using Kind = ErgebnisLine::Kind;

ErgebnisLine Sentence(std::string text) { return {Kind::Sentence, std::move(text), {}, {}, {}}; }
ErgebnisLine Heading() { return {Kind::Heading, "Ergebnis", {}, {}, {}}; }
ErgebnisLine FigureLine(Kind kind, std::string caption) { return {kind, std::move(caption), {}, {}, {}}; }
ErgebnisLine FormulaLine(std::string text, const TermList& form) {
  return {Kind::Formula, std::move(text), form.FormelText(), {}, {}};
}

std::string TermText(const Term& term, NormalFormKind kind) { return TermList{kind, {term}}.FormelText(); }

// The primes marked in marks, named "P1, P3".
std::string PrimeList(const std::vector<bool>& marks) {
  std::string list;
  for (std::size_t p = 0; p < marks.size(); ++p)
    if (marks[p]) list += (list.empty() ? "" : ", ") + QmPrimeName(p);
  return list;
}

const char* Adjective(NormalFormKind kind) {
  return kind == NormalFormKind::Dis ? "disjunktive" : "konjunktive";
}

std::string LatexTable(const TruthTable& table, const VariableNames* names, const std::string& formulaName) {
  const std::string lineBreak(LineBreak);
  const std::size_t rows = table.values.size();
  const std::size_t blocks = rows > 16 ? 2 : 1;
  std::string out = "{\\footnotesize\\setlength{\\tabcolsep}{4pt}";
  for (std::size_t block = 0; block < blocks; ++block) {
    out += lineBreak + (block > 0 ? "\\qquad" : "") + "\\begin{tabular}[t]{" +
           std::string(table.variables.size(), 'c') + "|c}" + lineBreak;
    for (std::int16_t variable : table.variables)
      out += InlineFormula("X" + std::to_string(variable) + ";", names) + " & ";
    out += "$" + formulaName + "$\\\\ \\hline" + lineBreak;
    for (std::size_t row = block * rows / blocks; row < (block + 1) * rows / blocks; ++row) {
      for (std::size_t column = 0; column < table.variables.size(); ++column)
        out += table.Bit(row, column) ? "1 & " : "0 & ";
      out += table.values[row] ? "1\\\\" : "0\\\\";
      out += lineBreak;
    }
    out += "\\end{tabular}";
  }
  return out + "}";
}

std::string LatexLine(const ErgebnisLine& line, const std::optional<TruthTable>& table,
                      const VariableNames* names) {
  switch (line.kind) {
    case Kind::Heading:
      return "\\par\\medskip\\textbf{" + LatexText(line.text) + "}\\par\\nopagebreak";
    case Kind::Sentence:
      return LatexText(line.text);
    case Kind::Formula:
      return WrapLongLine((line.text.empty() ? "" : LatexText(line.text) + " ") +
                          InlineFormula(line.formel, names));
    case Kind::Absorption: {
      const std::string note = line.absorbed.empty() ? LatexText(line.text)
                                                     : InlineFormula(line.absorbed, names) + " wird von " +
                                                           InlineFormula(line.by, names) + " absorbiert";
      std::string out =
          WrapLongLine("$\\sim$ " + InlineFormula(line.formel, names) + " \\quad{\\small(" + note + ")}");
      if (!line.gesetze.empty()) AppendLatexGesetze(out, line.gesetze);
      return out;
    }
    case Kind::Table:
      return table ? LatexTable(*table, names, line.text) : std::string();
    case Kind::KvDiagrams:
    case Kind::QmRound:
    case Kind::QmPrimes:
    case Kind::QmChart:
      return ErgebnisFigureLatex(line, names);
  }
  return {};
}

}  // namespace

void ErgebnisCollector::Start(const Formel& input, bool withGesetze) {
  withGesetze_ = withGesetze;
  probe_.reset();  // BuDDy holds one check at a time
  probe_ = std::make_unique<Probe>(input);
  input_ = Circuit();
  inputGate_ = AddFormel(input_, input);
  variables_.reset();
  disjunctive_.reset();
  conjunctive_.reset();
  table_.reset();
  for (std::optional<TermList>& form : minimal_) form.reset();
}

void ErgebnisCollector::CheckStep(const Formel& step) { probe_->Check(step); }

void ErgebnisCollector::CheckStep(SimFormel& step) { probe_->Check(step); }

void ErgebnisCollector::SetCopy(SimFormel& copy) { variables_ = CollectVariables(copy); }

void ErgebnisCollector::SetDisjunctive(SimFormel& form) {
  disjunctive_ = ReadNormalForm(form, NormalFormKind::Dis);
}

void ErgebnisCollector::SetConjunctive(SimFormel& form) {
  conjunctive_ = ReadNormalForm(form, NormalFormKind::Kon);
}

std::vector<ErgebnisLine> ErgebnisCollector::Lines(const VariableNames* names) {
  std::vector<ErgebnisLine> lines{Heading()};
  if (!variables_ || variables_->none() || !disjunctive_ || !conjunctive_)
    return WithoutVariables(std::move(lines));
  lines.push_back(FormulaLine("Disjunktive Normalform der Herleitung:", *disjunctive_));
  lines.push_back(FormulaLine("Konjunktive Normalform der Herleitung:", *conjunctive_));
  AbsorptionLines(*disjunctive_, lines);
  AbsorptionLines(*conjunctive_, lines);
  const std::vector<std::int16_t> variables = Indices(*variables_);
  if (variables.size() <= kMostMinimalFormVariables) table_ = MakeTruthTable(*disjunctive_, variables);
  FunctionLines(lines, names);
  return lines;
}

std::vector<ErgebnisLine> ErgebnisCollector::StoppedLines(const VariableNames* names) {
  std::vector<ErgebnisLine> lines{Heading(), Sentence(std::string(texts::kStoppedDerivation))};
  variables_.reset();
  table_.reset();
  for (std::optional<TermList>& form : minimal_) form.reset();
  if (inputGate_) variables_ = input_.Variables();
  if (!variables_ || variables_->none()) return WithoutVariables(std::move(lines));
  if (variables_->count() <= kMostMinimalFormVariables) table_ = CircuitTruthTable(input_, *inputGate_);
  FunctionLines(lines, names);
  return lines;
}

// The section of a formula without a variable: the sentence that says so. Ends the check.
std::vector<ErgebnisLine> ErgebnisCollector::WithoutVariables(std::vector<ErgebnisLine> lines) {
  lines.push_back(Sentence(std::string(texts::kNoVariable)));
  probe_.reset();
  return lines;
}

// What the function itself gives: the minimal forms, the table, the canonical forms, the
// figures and the check of everything against the input.
void ErgebnisCollector::FunctionLines(std::vector<ErgebnisLine>& lines, const VariableNames* names) {
  MinimalLines(NormalFormKind::Dis, lines);
  MinimalLines(NormalFormKind::Kon, lines);
  TableLines(lines, names);
  FigureLines(lines);
  ProbeLine(lines);
}

void ErgebnisCollector::AbsorptionLines(const TermList& form, std::vector<ErgebnisLine>& lines) {
  const bool dis = form.kind == NormalFormKind::Dis;
  const std::vector<AbsorptionStep> steps = Absorptions(form);
  if (steps.empty()) {
    lines.push_back(Sentence(dis ? "In der disjunktiven Normalform wird kein Term absorbiert."
                                 : "In der konjunktiven Normalform wird keine Klausel absorbiert."));
    return;
  }
  lines.push_back(Sentence(std::string("Absorption in der ") + Adjective(form.kind) + "n Normalform:"));
  const std::size_t shown = steps.size() <= kShownAbsorptions ? steps.size() : kShownAbsorptions - 1;
  const std::vector<Gesetz> gesetze =
      withGesetze_ ? std::vector<Gesetz>{Gesetz::Absorption} : std::vector<Gesetz>{};
  for (std::size_t k = 0; k < shown; ++k) {
    const TermList after = AfterAbsorptions(form, steps, k + 1);
    lines.push_back({Kind::Absorption,
                     {},
                     after.FormelText(),
                     TermText(form.terms[steps[k].absorbed], form.kind),
                     TermText(form.terms[steps[k].by], form.kind),
                     gesetze});
  }
  const TermList result = AfterAbsorptions(form, steps, steps.size());
  if (shown < steps.size())
    lines.push_back({Kind::Absorption,
                     "und " + std::to_string(steps.size() - shown) +
                         (dis ? " weitere Terme" : " weitere Klauseln") + " werden absorbiert",
                     result.FormelText(),
                     {},
                     {},
                     gesetze});
  probe_->Check(result);
}

void ErgebnisCollector::MinimalLines(NormalFormKind kind, std::vector<ErgebnisLine>& lines) {
  const std::string adjective = Adjective(kind);
  if (kind == NormalFormKind::Dis)
    lines.push_back(
        Sentence("Minimal heißt: möglichst wenige Terme beziehungsweise Klauseln, bei gleicher Anzahl "
                 "möglichst wenige "
                 "Literale."));
  if (!table_) {
    if (kind == NormalFormKind::Dis)
      lines.push_back(Sentence("Minimale Formen werden nur für Formeln mit höchstens " +
                               std::to_string(kMostMinimalFormVariables) +
                               " Variablen berechnet; diese hat " + std::to_string(variables_->count()) +
                               ", und die Suche wächst mit jeder Variablen auf ein Vielfaches."));
    return;
  }
  const MinimalForms forms = Minimise(*table_, kind);
  if (!forms.complete) {
    lines.push_back(Sentence("Die minimale " + adjective +
                             " Form wurde nicht ermittelt: die exakte Suche bräuchte zu viele Schritte."));
    return;
  }
  const auto k = static_cast<std::size_t>(kind);
  minimal_[k] = forms.shown.front();
  severalMinimal_[k] = forms.count > 1 || forms.countCapped;
  const std::vector<ErgebnisLine> formLines = MinimalFormLines(forms, kind);
  lines.insert(lines.end(), formLines.begin(), formLines.end());
  for (const TermList& form : forms.shown) probe_->Check(form);
}

void ErgebnisCollector::TableLines(std::vector<ErgebnisLine>& lines, const VariableNames* names) {
  const std::size_t n = variables_->count();
  if (n > kMostTableColumns) {
    lines.push_back(Sentence("Die Wahrheitstafel wird nur für höchstens " +
                             std::to_string(kMostTableColumns) + " Variablen gezeigt; diese Formel hat " +
                             std::to_string(n) + ", die Tafel hätte also mehr als 64 Zeilen."));
  } else {
    const std::string formulaName = TableFormulaName(*table_, names);
    lines.push_back(Sentence("Wahrheitstafel (1 wahr, 0 falsch, " + formulaName + " die Formel):"));
    lines.push_back({Kind::Table, formulaName, {}, {}, {}});
  }
  if (n > kMostCanonicalVariables) {
    lines.push_back(Sentence("Die kanonischen Normalformen werden nur für höchstens " +
                             std::to_string(kMostCanonicalVariables) +
                             " Variablen gezeigt; diese Formel hat " + std::to_string(n) + "."));
    return;
  }
  const TermList minterms = CanonicalForm(*table_, NormalFormKind::Dis);
  const TermList maxterms = CanonicalForm(*table_, NormalFormKind::Kon);
  lines.push_back(FormulaLine("Kanonische disjunktive Normalform (Minterme):", minterms));
  lines.push_back(FormulaLine("Kanonische konjunktive Normalform (Maxterme):", maxterms));
  probe_->Check(minterms);
  probe_->Check(maxterms);
}

// The KV diagrams of both minimal forms and the Quine–McCluskey tables of the disjunctive one.
void ErgebnisCollector::FigureLines(std::vector<ErgebnisLine>& lines) {
  const std::size_t n = variables_->count();
  if (n > kMostFigureVariables) {
    lines.push_back(Sentence(texts::FigureLimit(kMostFigureVariables, n)));
    return;
  }
  KvLines(NormalFormKind::Dis, lines);
  KvLines(NormalFormKind::Kon, lines);
  QmLines(lines);
}

// The diagrams under their caption, and for each block its term.
void ErgebnisCollector::KvLines(NormalFormKind kind, std::vector<ErgebnisLine>& lines) {
  const auto k = static_cast<std::size_t>(kind);
  if (!minimal_[k]) return;
  const bool dis = kind == NormalFormKind::Dis;
  auto figure = std::make_shared<const KvFigure>(MakeKvFigure(*table_, *minimal_[k]));
  lines.push_back(
      FigureLine(Kind::KvDiagrams, texts::KvCaption(dis, severalMinimal_[k], figure->diagrams.size())));
  lines.back().kv = figure;
  if (figure->form.terms.empty())
    lines.push_back(Sentence(std::string(dis ? texts::kKvNoBlockDisjunctive : texts::kKvNoBlockConjunctive)));
  for (std::size_t t = 0; t < figure->form.terms.size(); ++t)
    lines.push_back(FormulaLine("Block " + KvBlockName(t) + ":", TermList{kind, {figure->form.terms[t]}}));
}

// The tables of the rounds, the primes and the chart, each under its caption, then the
// essential primes and the cover.
void ErgebnisCollector::QmLines(std::vector<ErgebnisLine>& lines) {
  if (!minimal_[0]) return;
  auto qm = std::make_shared<const QuineMcCluskey>(RunQuineMcCluskey(*table_, *minimal_[0]));
  lines.push_back(Sentence(std::string(texts::kQmHeading)));
  if (qm->minterms.empty()) {
    lines.push_back(Sentence(std::string(texts::kQmNoMinterm)));
    return;
  }
  auto table = [&](Kind kind, std::string caption, std::size_t part = 0) {
    lines.push_back(FigureLine(kind, std::move(caption)));
    lines.back().qm = qm;
    lines.back().part = part;
  };
  for (std::size_t r = 0; r < qm->rounds.size(); ++r) table(Kind::QmRound, texts::QmRoundCaption(r), r);
  table(Kind::QmPrimes, std::string(texts::kQmPrimes));
  table(Kind::QmChart, std::string(texts::kQmChart));
  lines.push_back(Sentence(texts::QmEssential(PrimeList(qm->essential))));
  lines.push_back(Sentence(texts::QmCover(PrimeList(qm->chosen), severalMinimal_[0])));
}

void ErgebnisCollector::ProbeLine(std::vector<ErgebnisLine>& lines) {
  if (probe_->Undecided())
    lines.push_back(
        Sentence("Probe: Die Äquivalenz der Formeln mit der Eingabe konnte nicht geprüft werden, weil "
                 "die Entscheidungsdiagramme zu groß wurden."));
  else if (probe_->FirstFailure() > 0)
    lines.push_back(Sentence("Probe: FEHLER! Die " + std::to_string(probe_->FirstFailure()) +
                             ". geprüfte Formel (von der Eingabe an gezählt) ist nicht äquivalent zur "
                             "Eingabe; ab dort ist die Umformung falsch."));
  else
    lines.push_back(Sentence("Probe: Alle " + std::to_string(probe_->Checked()) +
                             " Formeln der Herleitung und des Ergebnisses sind äquivalent zur Eingabe "
                             "(geprüft mit binären Entscheidungsdiagrammen)."));
  probe_.reset();
}

std::string TableFormulaName(const TruthTable& table, const VariableNames* names) {
  std::string taken;
  if (names != nullptr)
    for (std::int16_t variable : table.variables)
      if (const std::string* name = names->Name(variable); name != nullptr && name->size() == 1)
        taken += static_cast<char>(std::toupper(static_cast<unsigned char>(name->front())));
  for (char letter : std::string_view("FGHKLMNPQRSTUWYZABCDEIJOX"))
    if (taken.find(letter) == std::string::npos) return std::string(1, letter);
  return "Formel";
}

std::string InlineFormula(const std::string& formelText, const VariableNames* names) {
  std::string out;
  AppendRenderedSimFormel(out, formelText, names);
  out.resize(out.size() - std::string_view(LineBreak).size());
  return out;
}

std::vector<ErgebnisLine> MinimalFormLines(const MinimalForms& forms, NormalFormKind kind) {
  const std::string adjective = Adjective(kind);
  std::vector<ErgebnisLine> lines;
  if (forms.count == 1 && !forms.countCapped) {
    lines.push_back(FormulaLine("Minimale " + adjective + " Form:", forms.shown.front()));
    lines.back().minimal = kind;
    return lines;
  }
  if (forms.count == 1) {
    lines.push_back(Sentence("Eine minimale " + adjective +
                             " Form (ob es weitere gibt, wurde nicht ermittelt: die Suche bräuchte zu "
                             "viele Schritte):"));
  } else {
    const std::string count = (forms.countCapped ? "mindestens " : "") + std::to_string(forms.count);
    lines.push_back(Sentence("Es gibt " + count + " minimale " + adjective + " Formen" +
                             (forms.shown.size() == forms.count
                                  ? ":"
                                  : "; die ersten " + std::to_string(forms.shown.size()) + ":")));
  }
  for (const TermList& form : forms.shown) {
    lines.push_back(FormulaLine({}, form));
    lines.back().minimal = kind;
  }
  return lines;
}

std::vector<std::string> RenderErgebnisLatex(const std::vector<ErgebnisLine>& lines,
                                             const std::optional<TruthTable>& table,
                                             const VariableNames* names) {
  std::vector<std::string> paragraphs;
  for (const ErgebnisLine& line : lines) paragraphs.push_back(LatexLine(line, table, names));
  return paragraphs;
}

}  // namespace umbrix
