// The readable renderings of a derivation. The formulas are translated from their text forms
// character by character; the layout follows the events: a heading per formula, the phases'
// headings (the German sentences where the document has one), the numbered steps and the
// marked normal forms.
#include "render/readable_render.hpp"

#include <algorithm>

#include "input/variable_names.hpp"
#include "render/ergebnis.hpp"
#include "render/ergebnis_figures.hpp"
#include "render/latex_render.hpp"
#include "render/symbols.hpp"
#include "render/texts.hpp"

namespace umbrix {

namespace {

constexpr std::string_view kAnd = SymbolAt(operation::kAnd, false)->unicode;
constexpr std::string_view kOr = SymbolAt(operation::kOr, false)->unicode;
constexpr std::string_view kResultArrow = "◄ ";
constexpr const char* kSubscriptDigits[] = {"₀", "₁", "₂", "₃", "₄", "₅", "₆", "₇", "₈", "₉"};

bool IsContinuationByte(char c) { return (static_cast<unsigned char>(c) & 0xC0u) == 0x80u; }

// The symbol for the connective or constant at the front of text, and its length there; empty
// when the character stands for itself.
std::string_view Symbol(std::string_view text, bool simple, std::size_t& length) {
  const SymbolInfo* symbol = SymbolAt(text, simple);
  length = symbol == nullptr ? 1 : symbol->text.size();
  return symbol == nullptr ? std::string_view() : symbol->unicode;
}

void AppendIndex(std::string& out, std::string_view digits, bool html) {
  if (digits.empty()) return;
  if (html) {
    out.append("<sub>").append(digits).append("</sub>");
    return;
  }
  for (char digit : digits)
    out += digit >= '0' && digit <= '9' ? kSubscriptDigits[digit - '0'] : std::string(1, digit);
}

void AppendEscaped(std::string& out, char c) {
  switch (c) {
    case '&':
      out += "&amp;";
      break;
    case '<':
      out += "&lt;";
      break;
    case '>':
      out += "&gt;";
      break;
    case '"':
      out += "&quot;";
      break;
    default:
      out += c;
  }
}

// The name of the variable with these index digits, or nullptr when it is shown as X and index.
const std::string* NameOf(std::string_view digits, const VariableNames* names) {
  if (names == nullptr || digits.empty() || digits.size() > 2) return nullptr;
  int index = 0;
  for (char digit : digits) index = index * 10 + (digit - '0');
  return names->Name(index);
}

std::string Translate(std::string_view text, bool simple, bool html, const VariableNames* names) {
  // Only a "+" or "v" node makes a simple formula's text begin with "(": the document drops
  // that outermost pair, and so does this rendering.
  if (simple && text.size() >= 2 && text.front() == '(') text = text.substr(1, text.size() - 2);
  std::string out;
  out.reserve(text.size() * 2);
  while (!text.empty()) {
    if (text.front() == 'X') {
      const std::size_t end = text.find(';');
      const std::size_t digits = end == std::string_view::npos ? text.size() - 1 : end - 1;
      if (const std::string* name = NameOf(text.substr(1, digits), names)) {
        out += *name;
      } else {
        out += 'X';
        AppendIndex(out, text.substr(1, digits), html);
      }
      text.remove_prefix(std::min(text.size(), digits + 2));
      continue;
    }
    std::size_t length = 1;
    if (const std::string_view symbol = Symbol(text, simple, length); !symbol.empty())
      out += symbol;
    else if (html)
      AppendEscaped(out, text.front());
    else
      out += text.front();
    text.remove_prefix(length);
  }
  return out;
}

// Where to end a line: after the least nested connective among those that fill at least half
// the line, the last of them; a line with none that far breaks at its last connective.
template <typename Breaks>
auto BestBreak(Breaks& breaks, std::size_t width) {
  auto best = breaks.end();
  for (auto it = breaks.begin(); it != breaks.end(); ++it)
    if (2 * it->column >= width && (best == breaks.end() || it->depth <= best->depth)) best = it;
  return best != breaks.end() ? best : breaks.end() - 1;
}

// The truth table as text rows: a header of the variables and F, then one row per assignment,
// each value below the start of its variable's name.
std::vector<std::string> TableRows(const TruthTable& table, std::string_view bar,
                                   const VariableNames* names, std::string_view formulaName) {
  std::vector<std::string> rows(1);
  std::vector<std::size_t> widths;
  for (std::int16_t variable : table.variables) {
    const std::string name = ReadableFormula("X" + std::to_string(variable) + ";", true, names);
    rows[0] += name + ' ';
    widths.push_back(Columns(name));
  }
  rows[0].append(bar).append(formulaName);
  for (std::size_t row = 0; row < table.values.size(); ++row) {
    std::string text;
    for (std::size_t column = 0; column < widths.size(); ++column)
      text.append(table.Bit(row, column) ? "1" : "0").append(widths[column], ' ');
    text.append(bar).append(table.values[row] ? "1" : "0");
    rows.push_back(text);
  }
  return rows;
}

std::string HtmlTable(const TruthTable& table, const VariableNames* names, std::string_view formulaName) {
  std::string html = "<table class=\"wahrheitstafel\">\n<tr>";
  for (std::int16_t variable : table.variables)
    html += "<th>" + ReadableFormulaHtml("X" + std::to_string(variable) + ";", true, names) + "</th>";
  html.append("<th>").append(formulaName).append("</th></tr>\n");
  for (std::size_t row = 0; row < table.values.size(); ++row) {
    html += "<tr>";
    for (std::size_t column = 0; column < table.variables.size(); ++column)
      html += table.Bit(row, column) ? "<td>1</td>" : "<td>0</td>";
    html += table.values[row] ? "<td>1</td></tr>\n" : "<td>0</td></tr>\n";
  }
  return html + "</table>\n";
}

}  // namespace

std::string ReadableFormula(std::string_view formelText, bool simple, const VariableNames* names) {
  return Translate(formelText, simple, false, names);
}

std::string ReadableFormulaHtml(std::string_view formelText, bool simple, const VariableNames* names) {
  return Translate(formelText, simple, true, names);
}

std::size_t Columns(std::string_view text) {
  std::size_t columns = 0;
  for (char c : text)
    if (!IsContinuationByte(c)) ++columns;
  return columns;
}

std::vector<std::string> WrapFormula(std::string_view readable, std::size_t width) {
  struct Break {
    std::size_t end;     // just behind the connective
    std::size_t column;  // columns of the line up to there
    int depth;           // open parentheses there
  };
  std::vector<std::string> lines;
  std::vector<Break> breaks;  // the current line's connectives
  std::size_t start = 0;
  std::size_t columns = 0;
  int depth = 0;
  for (std::size_t i = 0; i < readable.size();) {
    std::size_t length = 1;
    while (i + length < readable.size() && IsContinuationByte(readable[i + length])) ++length;
    if (++columns > width && !breaks.empty()) {
      const auto chosen = BestBreak(breaks, width);
      lines.emplace_back(readable.substr(start, chosen->end - start));
      start = chosen->end;
      columns -= chosen->column;
      for (auto later = chosen + 1; later != breaks.end(); ++later) later->column -= chosen->column;
      breaks.erase(breaks.begin(), chosen + 1);
    }
    const std::string_view character = readable.substr(i, length);
    i += length;
    if (character == "(") ++depth;
    if (character == ")") --depth;
    if (character == kAnd || character == kOr) breaks.push_back({i, columns, depth});
  }
  if (start < readable.size() || lines.empty()) lines.emplace_back(readable.substr(start));
  return lines;
}

std::string_view PhaseHeading(Phase phase) { return texts::TextsOf(phase).heading; }

std::string_view ResultMark(Phase phase) {
  return phase == Phase::ConjunctiveMerge ? "konjunktive Normalform" : "disjunktive Normalform";
}

std::string HtmlEscaped(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (char c : text) AppendEscaped(out, c);
  return out;
}

void DerivationRenderer::OnFormulaStart(const FormulaStartEvent& event) {
  phase_ = Phase::Input;
  BeginBlock(event);
}

void DerivationRenderer::OnStep(const StepEvent& event) {
  if (event.phase == Phase::Input) {
    InputFormula(event);
    phase_ = Phase::Input;
    return;
  }
  if (event.phase != phase_) {
    EndSteps();
    if (const std::string_view heading = PhaseHeading(event.phase); !heading.empty()) Heading(heading);
    phase_ = event.phase;
  }
  ++steps_;
  Step(event);
}

// The sentences that open a phase are its heading; the other two close a phase.
void DerivationRenderer::OnSentence(const SentenceEvent& event) {
  EndSteps();
  if (event.sentence == Sentence::Merge || event.sentence == Sentence::TowardsConjunctive)
    Heading(event.text);
  else
    Statement(event.text);
}

void DerivationRenderer::OnErgebnis(const ErgebnisEvent& event) {
  EndSteps();
  for (const ErgebnisLine& line : event.lines) {
    if (line.kind == ErgebnisLine::Kind::Heading)
      Heading(line.text);
    else
      ErgebnisPart(line, event);
  }
}

void DerivationRenderer::OnFormulaEnd(const FormulaEndEvent&) {
  EndSteps();
  EndBlock();
}

TextDerivation::TextDerivation(Sink sink, std::size_t width)
    : DerivationRenderer(std::move(sink)), width_(width < 20 ? 20 : width) {}

void TextDerivation::Line(std::string_view text) {
  std::string line(text);
  line += '\n';
  Emit(line);
}

void TextDerivation::BeginBlock(const FormulaStartEvent& event) {
  if (!firstBlock_) Line("");
  firstBlock_ = false;
  if (event.count > 1) Line(std::to_string(event.number) + ". Formel");
}

void TextDerivation::InputFormula(const StepEvent& event) {
  WrappedFormula("", ReadableFormula(event.formelText, event.simple, event.names), "");
}

void TextDerivation::Heading(std::string_view text) {
  Line("");
  Line(text);
}

// The laws of the step in brackets, then the mark of a final normal form.
void TextDerivation::Step(const StepEvent& event) {
  const std::string lead = "  " + std::to_string(event.number) + ". ";
  std::string mark;
  if (!event.gesetze.empty()) mark = "[" + GesetzeText(event.gesetze) + "]";
  if (event.result)
    mark.append(mark.empty() ? "" : "   ").append(kResultArrow).append(ResultMark(event.phase));
  WrappedFormula(lead, ReadableFormula(event.formelText, event.simple, event.names), mark);
}

void TextDerivation::Statement(std::string_view text) { Line(text); }

void TextDerivation::ErgebnisPart(const ErgebnisLine& line, const ErgebnisEvent& event) {
  const VariableNames* names = event.names;
  switch (line.kind) {
    case ErgebnisLine::Kind::Formula:
      WrappedFormula(line.text.empty() ? "  " : line.text + " ", ReadableFormula(line.formel, true, names),
                     "");
      break;
    case ErgebnisLine::Kind::Absorption:
      WrappedFormula("  ∼ ", ReadableFormula(line.formel, true, names),
                     line.gesetze.empty() ? std::string() : "[" + GesetzeText(line.gesetze) + "]");
      Line("    (" +
           (line.absorbed.empty() ? line.text
                                  : ReadableFormula(line.absorbed, true, names) + " wird von " +
                                        ReadableFormula(line.by, true, names) + " absorbiert") +
           ")");
      break;
    case ErgebnisLine::Kind::Table:
      if (event.table != nullptr)
        for (const std::string& row : TableRows(*event.table, "| ", names, line.text)) Line("  " + row);
      break;
    case ErgebnisLine::Kind::KvDiagrams:
    case ErgebnisLine::Kind::QmRound:
    case ErgebnisLine::Kind::QmPrimes:
    case ErgebnisLine::Kind::QmChart:
      Line(line.text);
      for (const std::string& row : ErgebnisFigureText(line, names, width_ - 2))
        Line(row.empty() ? row : "  " + row);
      break;
    default:
      Line(line.text);
  }
}

void TextDerivation::EndBlock() {}

// The formula behind lead, its further lines indented below its start; a mark goes behind the
// last line when it fits there, else onto a line of its own.
void TextDerivation::WrappedFormula(std::string_view lead, std::string_view formula, std::string_view mark) {
  const std::size_t indent = Columns(lead);
  const std::vector<std::string> lines = WrapFormula(formula, width_ - std::min(indent, width_ - 10));
  std::string text(lead);
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (i > 0) text.append("\n").append(indent, ' ');
    text += lines[i];
  }
  if (!mark.empty()) {
    if (indent + Columns(lines.back()) + 3 + Columns(mark) <= width_)
      text += "   ";
    else
      text.append("\n").append(indent, ' ');
    text.append(mark);
  }
  Line(text);
}

namespace {

// The paragraph's class: a minimal form is marked for a summary to find.
std::string ErgebnisFormulaClass(const ErgebnisLine& line) {
  if (!line.minimal) return "ergebnis";
  return *line.minimal == NormalFormKind::Dis ? "ergebnis minimal-dnf" : "ergebnis minimal-knf";
}

}  // namespace

std::string ErgebnisHtml(const ErgebnisLine& line, const ErgebnisEvent& event,
                         const ErgebnisFormulaHtml& formula) {
  const VariableNames* names = event.names;
  const auto shown = [&](const std::string& formelText) {
    return formula ? formula(formelText, names) : ReadableFormulaHtml(formelText, true, names);
  };
  switch (line.kind) {
    case ErgebnisLine::Kind::Formula:
      return "<p class=\"" + ErgebnisFormulaClass(line) + "\">" + HtmlEscaped(line.text) +
             (line.text.empty() ? "" : " ") + shown(line.formel) + "</p>\n";
    case ErgebnisLine::Kind::Absorption:
      return "<p class=\"absorption\">∼ " + shown(line.formel) + " <small>(" +
             (line.absorbed.empty() ? HtmlEscaped(line.text)
                                    : shown(line.absorbed) + " wird von " + shown(line.by) + " absorbiert") +
             ")</small>" +
             (line.gesetze.empty()
                  ? ""
                  : " <span class=\"gesetze\">" + HtmlEscaped(GesetzeText(line.gesetze)) + "</span>") +
             "</p>\n";
    case ErgebnisLine::Kind::Table:
      return event.table != nullptr ? HtmlTable(*event.table, names, line.text) : std::string();
    case ErgebnisLine::Kind::KvDiagrams:
    case ErgebnisLine::Kind::QmRound:
    case ErgebnisLine::Kind::QmPrimes:
    case ErgebnisLine::Kind::QmChart:
      return ErgebnisFigureHtml(line, names);
    default:
      return "<p class=\"satz\">" + HtmlEscaped(line.text) + "</p>\n";
  }
}

HtmlDerivation::HtmlDerivation(Sink sink, HtmlMarkup markup)
    : DerivationRenderer(std::move(sink)), markup_(std::move(markup)) {}

std::string HtmlDerivation::Formula(const StepEvent& event) const {
  if (markup_.formula) return markup_.formula(event);
  return ReadableFormulaHtml(event.formelText, event.simple, event.names);
}

// <name>content</name>, then the line end.
std::string HtmlDerivation::Element(std::string_view name, std::string_view content) const {
  std::string html;
  html.append("<").append(name).append(">").append(content).append("</").append(name).append(">");
  return html.append(markup_.lineEnd);
}

void HtmlDerivation::BeginBlock(const FormulaStartEvent& event) {
  std::string html;
  html.append("<section class=\"").append(markup_.blockClass).append("\">").append(markup_.lineEnd);
  if (event.count > 1) html += Element(markup_.blockHeading, std::to_string(event.number) + ". Formel");
  Emit(html);
}

void HtmlDerivation::InputFormula(const StepEvent& event) {
  Emit("<p class=\"eingabe\">" + Formula(event) + "</p>" + std::string(markup_.lineEnd));
}

void HtmlDerivation::Heading(std::string_view text) {
  Emit(Element(markup_.phaseHeading, HtmlEscaped(text)));
}

void HtmlDerivation::Step(const StepEvent& event) {
  std::string html;
  if (!listOpen_) html.append("<ol class=\"schritte\">").append(markup_.lineEnd);
  listOpen_ = true;
  std::string classes(markup_.stepClass);
  if (event.result) classes.append(classes.empty() ? "" : " ").append(markup_.resultClass);
  const std::string number = std::to_string(event.number);
  html += "<li";
  if (!classes.empty()) html += " class=\"" + classes + "\"";
  html += " value=\"" + number + "\">";
  if (markup_.numberSpan) html += "<span class=\"nummer\">" + number + ".</span>";
  html += Formula(event);
  if (!event.gesetze.empty()) {
    html.append(markup_.gap).append("<span class=\"gesetze\">");
    html.append(HtmlEscaped(GesetzeText(event.gesetze))).append("</span>");
  }
  if (event.result)
    html.append(markup_.gap)
        .append(markup_.markStart)
        .append(ResultMark(event.phase))
        .append(markup_.markEnd);
  html.append("</li>").append(markup_.lineEnd);
  Emit(html);
}

void HtmlDerivation::Statement(std::string_view text) {
  Emit("<p class=\"satz\">" + HtmlEscaped(text) + "</p>" + std::string(markup_.lineEnd));
}

void HtmlDerivation::ErgebnisPart(const ErgebnisLine& line, const ErgebnisEvent& event) {
  Emit(ErgebnisHtml(line, event, markup_.ergebnisFormula));
}

void HtmlDerivation::EndSteps() {
  if (listOpen_) Emit("</ol>" + std::string(markup_.lineEnd));
  listOpen_ = false;
}

void HtmlDerivation::EndBlock() { Emit("</section>" + std::string(markup_.lineEnd)); }

}  // namespace umbrix
